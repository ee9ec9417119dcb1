// The printed exam as PDF for documents of growing size: the time per
// question must stay flat (the pages are laid out once, then drawn), and
// the 26 versions of a 1,000-question exam, each with its key, take a few
// seconds.
#include "bench/BenchSupport.h"
#include "bench/BigDocument.h"
#include "generator/ExamVersions.h"
#include "model/DocumentFile.h"
#include "print/ExamPdf.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using tavimor::TQuizDocument;

void BM_ExamPdf(benchmark::State& state)
{
    const TQuizDocument doc = tavimor::bench::MakeBigDocument(static_cast<int>(state.range(0)));
    const tavimor::bench::BenchFolder folder;
    const tavimor::TExamPdfOptions options {false, "", "big", folder.Path(), folder.Path()};
    for (auto _ : state)
        tavimor::WriteExamPdf(doc, options, folder.Path() + "bigexm.pdf");
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations() * std::filesystem::file_size(folder.Path() + "bigexm.pdf")));
    tavimor::bench::CountQuestions(state);
}

// What `exam --variants 26 --pdf` adds to the pages: every version's exam
// and key as PDF.
void BM_ExamPdfVersions(benchmark::State& state)
{
    const TQuizDocument doc = tavimor::bench::MakeBigDocument(static_cast<int>(state.range(0)));
    const tavimor::bench::BenchFolder folder;
    tavimor::TExamVersionOptions choices;
    choices.Count = tavimor::kMaxExamVersions;
    choices.Seed = 2026;
    const auto versions = tavimor::MakeExamVersions(doc.Quests, choices);
    std::vector<TQuizDocument> printed;
    for (const auto& version : versions)
        printed.push_back(tavimor::VersionDocument(doc, version));
    for (auto _ : state) {
        for (std::size_t v = 0; v < printed.size(); ++v) {
            const std::string letter(1, versions[v].Letter);
            for (const bool key : {false, true})
                tavimor::WriteExamPdf(printed[v], {key, letter, "big", folder.Path(), folder.Path()},
                    folder.Path() + (key ? "bigsol-" : "bigexm-") + letter + ".pdf");
        }
    }
    tavimor::bench::CountQuestions(state);
}

} // namespace

BENCHMARK(BM_ExamPdf)->Arg(100)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ExamPdfVersions)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
