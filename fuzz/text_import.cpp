// Feeds arbitrary text to the text import on a fresh start-up document. An
// unreadable number is the one expected failure; any other exception, a crash,
// a sanitizer report or a question that breaks the model's rules is a finding.
#include "base/Errors.h"
#include "model/DocumentFile.h"
#include "model/TextExchange.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

const tavimor::TQuizDocument& Startup()
{
    static const tavimor::TQuizDocument startup = [] {
        tavimor::TQuizDocument doc;
        tavimor::ResetToStartupState(doc, "");
        return doc;
    }();
    return startup;
}

// Every question holds as many choices as it counts and a correct index that
// is -1 or names one of them.
void CheckQuestions(const tavimor::TQuizDocument& doc, const char* stage)
{
    for (int n = 1; n <= doc.Quests.Count(); ++n) {
        const tavimor::TQuest& q = doc.Quests.Quest(n);
        const bool countOk = q.NRep == q.Reps.size();
        const bool indexOk = q.GoodRep >= -1 && q.GoodRep < static_cast<std::int32_t>(q.Reps.size());
        if (!countOk || !indexOk) {
            std::fprintf(stderr, "%s: question %d has %zu choices, count %u, correct index %d\n", stage, n,
                q.Reps.size(), static_cast<unsigned>(q.NRep), static_cast<int>(q.GoodRep));
            std::abort();
        }
    }
}

void Import(tavimor::TQuizDocument& doc, std::string_view text)
{
    try {
        tavimor::ImportText(doc, text);
    } catch (const tavimor::ConvertError&) {
        // What was read before the number stays; it must be sound all the same.
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    tavimor::TQuizDocument doc = Startup();
    Import(doc, std::string_view(reinterpret_cast<const char*>(data), size));
    CheckQuestions(doc, "import");

    // The export of whatever was read is text the import takes again.
    tavimor::TQuizDocument again = Startup();
    Import(again, tavimor::ExportText(doc));
    CheckQuestions(again, "import of the export");
    return 0;
}
