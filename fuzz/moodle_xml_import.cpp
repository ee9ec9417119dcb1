// Feeds arbitrary bytes to the Moodle XML reader. Refusing the file
// (ImportError, with its message) is the expected failure; any other
// exception, a crash, a hang or a sanitizer report is a finding. What was read
// must be sound questions, every <question> of the file must be imported or
// named by a note, and the pictures must have distinct names safe on disk.
#include "base/Utf8.h"
#include "exchange/MoodleXmlReader.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>

namespace {

[[noreturn]] void Finding(const char* what, std::size_t n)
{
    std::fprintf(stderr, "item %zu: %s\n", n, what);
    std::abort();
}

std::size_t Count(std::string_view text, std::string_view what)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(what); at != std::string_view::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

void CheckQuestions(const tavimor::TImportedBank& bank)
{
    for (std::size_t n = 0; n < bank.Quests.size(); ++n) {
        const tavimor::TQuest& q = bank.Quests[n];
        if (q.Reps.size() < 2 || q.NRep != q.Reps.size())
            Finding("choice count", n);
        if (q.GoodRep < 0 || q.GoodRep >= static_cast<std::int32_t>(q.Reps.size()))
            Finding("right choice", n);
        if (std::any_of(q.Reps.begin(), q.Reps.end(), [](const std::string& r) { return r.empty(); }))
            Finding("empty choice", n);
        if (q.QType == tavimor::TRepType::rOList && Count(q.QText, tavimor::kOptionMarker) != 1)
            Finding("cloze text without exactly one marker", n);
        if (q.QType == tavimor::TRepType::rTrue && q.Reps != std::vector<std::string> {"Vrai", "Faux"})
            Finding("true/false choices", n);
        for (int side : {tavimor::kWrongSide, tavimor::kRightSide})
            if (!q.UseGenMess[side] && q.Mess[side].empty())
                Finding("own message left empty", n);
    }
    if (bank.Quests.size() > 65535)
        Finding("more questions than the document counts", bank.Quests.size());
}

void CheckPictures(const tavimor::TImportedBank& bank)
{
    std::set<std::string> names;
    for (std::size_t n = 0; n < bank.Pictures.size(); ++n) {
        const tavimor::TImportedPicture& picture = bank.Pictures[n];
        std::string lower = picture.Name;
        for (char& c : lower) {
            const bool safe = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-'
                || c == '_' || c == '.';
            if (!safe)
                Finding("unsafe picture name", n);
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        }
        if (lower.empty() || lower.front() == '.' || lower.back() == '.' || !names.insert(lower).second)
            Finding("picture name empty, dotted or taken twice", n);
        if (picture.Bytes.empty())
            Finding("empty picture", n);
    }
}

// The questions of a file in plain UTF-8, counted by pugixml on its own, are
// the questions imported and those named by a note.
void CheckAccounted(std::string_view bytes, const tavimor::TImportedBank& bank)
{
    if (tavimor::FirstMalformedUtf8Line(bytes) || bytes.find('\0') != std::string_view::npos
        || bytes.starts_with("\xEF\xBB\xBF"))
        return;
    pugi::xml_document doc;
    if (!doc.load_buffer(bytes.data(), bytes.size(), pugi::parse_default, pugi::encoding_utf8))
        Finding("read a file pugixml refuses", 0);
    const pugi::xml_node root = doc.document_element();
    std::size_t questions = 0;
    if (std::string_view(root.name()) == "question")
        questions = 1;
    else
        for ([[maybe_unused]] const pugi::xml_node q : root.children("question"))
            ++questions;
    std::size_t accounted = bank.Quests.size();
    for (const tavimor::TImportNote& note : bank.Notes) {
        if (note.Line < 1)
            Finding("note without its line", 0);
        if (note.Skipped || note.What.starts_with("description") || note.What.starts_with("cat\xE9gorie"))
            ++accounted;
    }
    if (accounted != questions)
        Finding("questions neither imported nor noted", questions);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    tavimor::TImportedBank bank;
    try {
        bank = tavimor::ReadMoodleXml(bytes);
    } catch (const tavimor::ImportError& e) {
        if (!std::string_view(e.what()).ends_with("Rien n'a \xE9t\xE9 import\xE9."))
            Finding("refusal without its last sentence", 0);
        return 0;
    }
    CheckQuestions(bank);
    CheckPictures(bank);
    CheckAccounted(bytes, bank);
    return 0;
}
