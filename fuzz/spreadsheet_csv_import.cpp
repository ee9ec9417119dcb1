// Feeds arbitrary bytes to the spreadsheet reader. Refusing the file
// (ImportError, with its message) is the expected failure; any other
// exception, a crash or a sanitizer report is a finding. What was read must
// be sound questions and notes that name a line of the file, and writing
// them must give a text that reads back as the very same questions.
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
        if (q.NRep != q.Reps.size())
            Finding("choice count", n);
        if (q.GoodRep < -1 || q.GoodRep >= static_cast<std::int32_t>(q.Reps.size()))
            Finding("right choice", n);
        if (q.QType == tavimor::TRepType::rOList && q.QText.find(tavimor::kOptionMarker) == std::string::npos)
            Finding("cloze text without its marker", n);
        // Line breaks as the editor keeps them.
        for (std::size_t at = q.QText.find_first_of("\r\n"); at != std::string::npos;
             at = q.QText.find_first_of("\r\n", at + 2))
            if (q.QText.compare(at, 2, "\r\n") != 0)
                Finding("line break", n);
    }
    const std::size_t lines = 1 + static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n'))
        + static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\r'));
    for (const tavimor::TImportNote& note : bank.Notes)
        if (note.Line < 2 || static_cast<std::size_t>(note.Line) > lines || note.What.empty())
            Finding("note", static_cast<std::size_t>(note.Line));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    tavimor::TImportedBank bank;
    try {
        bank = tavimor::ReadSpreadsheetCsv(bytes);
    } catch (const tavimor::ImportError&) {
        return 0;
    }
    CheckSound(bank, bytes);

    tavimor::TQuestList list;
    for (const tavimor::TQuest& quest : bank.Quests)
        list.Quest(list.AddQuest()) = quest;
    const tavimor::TImportedBank again = tavimor::ReadSpreadsheetCsv(tavimor::SpreadsheetCsvText(list));
    if (!again.Notes.empty())
        Finding("note on the written text", again.Notes.size());
    if (again.Quests != bank.Quests)
        Finding("questions after the round trip", again.Quests.size());
    return 0;
}
