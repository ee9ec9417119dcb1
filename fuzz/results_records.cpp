// Feeds arbitrary bytes, as a results file or a saved e-mail, to the results
// reader and gathers them against a small quiz. Refusing a file (with its
// French reason) is the expected failure: GatherResults must never throw,
// and whatever it counts must be sound: one mark a question, each 0..1,
// totals and rates that agree, and a marks table the statistics take.
#include "analysis/ClassResults.h"
#include "analysis/ItemStatistics.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

[[noreturn]] void Finding(const char* what)
{
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

// Three questions, right choices 0, 1 and 2, with the certainty option: the
// quiz of the seeds in fuzz/corpus/results_records/.
const tavimor::TQuizDocument& Quiz()
{
    static const tavimor::TQuizDocument doc = [] {
        tavimor::TQuizDocument d;
        d.Header.UseCertainty = true;
        const std::vector<std::vector<std::string>> choices {{"Paris", "Lyon"}, {"Vrai", "Faux"}, {"a", "b", "c"}};
        for (std::size_t i = 0; i < choices.size(); ++i) {
            d.Quests.AddQuest();
            d.Quests.Current().QText = "Question " + std::to_string(i + 1);
            d.Quests.Current().Reps = choices[i];
            d.Quests.Current().NRep = static_cast<std::uint16_t>(choices[i].size());
            d.Quests.Current().GoodRep = static_cast<std::int32_t>(i);
        }
        return d;
    }();
    return doc;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    for (const bool includeAltered : {false, true}) {
        const tavimor::TClassResults results = tavimor::GatherResults(
            Quiz(), "quiz", {{"fuzz.json", bytes}}, {tavimor::TAttemptChoice::Best, includeAltered});
        for (const tavimor::TStudentResult& student : results.Students) {
            if (student.Marks.size() != 3)
                Finding("one mark a question");
            double total = 0;
            for (const double mark : student.Marks) {
                if (!(mark >= 0 && mark <= 1))
                    Finding("a mark outside 0..1");
                total += mark;
            }
            if (std::abs(total - student.Total) > 1e-9 || student.Right < 0 || student.Right > 3)
                Finding("totals that disagree with the marks");
        }
        (void)tavimor::ComputeItemStatistics(results.Marks());
    }
    return 0;
}
