// Feeds arbitrary bytes to the Aiken reader. Refusing the file (ImportError,
// with its message) is the expected failure; any other exception, a crash or
// a sanitizer report is a finding. What was read must be sound questions and
// notes that name a line of the file, and the questions must come back the
// same through the spreadsheet form.
#include "exchange/AikenReader.h"
#include "exchange/SpreadsheetCsv.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

[[noreturn]] void Finding(const char* what, std::size_t n)
{
    std::fprintf(stderr, "%s (%zu)\n", what, n);
    std::abort();
}

void CheckSound(const tavimor::TImportedBank& bank, std::string_view bytes)
{
    for (std::size_t n = 0; n < bank.Quests.size(); ++n) {
        const tavimor::TQuest& q = bank.Quests[n];
        if (q.QType != tavimor::TRepType::rKWZ)
            Finding("type", n);
        if (q.Reps.size() < 2 || q.Reps.size() > 26 || q.NRep != q.Reps.size())
            Finding("choice count", n);
        if (q.GoodRep < 0 || q.GoodRep >= static_cast<std::int32_t>(q.Reps.size()))
            Finding("right choice", n);
        if (q.QText.empty()
            || std::any_of(q.Reps.begin(), q.Reps.end(), [](const std::string& r) { return r.empty(); }))
            Finding("empty text", n);
        // Plain text: the only markup is the line breaks the reader writes.
        std::string text = q.QText;
        for (std::size_t at = text.find("<BR>"); at != std::string::npos; at = text.find("<BR>", at))
            text.erase(at, 4);
        if (text.find_first_of("<>") != std::string::npos)
            Finding("markup in a plain text", n);
    }
    // A line break ends a line; CR LF counts once.
    const std::size_t lines = 1 + static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n'))
        + static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\r'));
    for (const tavimor::TImportNote& note : bank.Notes)
        if (note.Line < 1 || static_cast<std::size_t>(note.Line) > lines || note.What.empty())
            Finding("note", static_cast<std::size_t>(note.Line));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    tavimor::TImportedBank bank;
    try {
        bank = tavimor::ReadAiken(bytes);
    } catch (const tavimor::ImportError&) {
        return 0;
    }
    CheckSound(bank, bytes);

    tavimor::TQuestList list;
    for (const tavimor::TQuest& quest : bank.Quests)
        list.Quest(list.AddQuest()) = quest;
    const tavimor::TImportedBank again = tavimor::ReadSpreadsheetCsv(tavimor::SpreadsheetCsvText(list));
    if (!again.Notes.empty())
        Finding("note on the spreadsheet form", again.Notes.size());
    if (again.Quests != bank.Quests)
        Finding("questions after the spreadsheet form", again.Quests.size());
    return 0;
}
