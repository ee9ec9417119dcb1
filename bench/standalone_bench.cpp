// The self-contained quiz page of documents of growing size: the page text
// alone (of plain and of styled texts), and the whole production with the
// images and the file on disk. The time per question must stay flat.
#include "bench/BenchSupport.h"
#include "bench/BigDocument.h"
#include "generator/StandaloneQuiz.h"
#include "resources/EmbeddedGifs.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

namespace {

using tavimor::bench::CountQuestions;

// Builds the page of doc in memory, over and over.
void TimePage(benchmark::State& state, const tavimor::TQuizDocument& doc)
{
    tavimor::StandaloneContent content;
    content.QuizName = "Banque";
    content.ResumBody = doc.Pages.GetBody(0);
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string page = tavimor::StandalonePage(doc, content);
        bytes = page.size();
        benchmark::DoNotOptimize(page.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    CountQuestions(state);
}

void BM_StandalonePage(benchmark::State& state)
{
    TimePage(state, tavimor::bench::MakeBigDocument(static_cast<int>(state.range(0))));
}

// The same with the styled texts of a word processor, every one of which
// the page must read tag by tag to quieten its style attributes.
void BM_StandalonePageStyled(benchmark::State& state)
{
    TimePage(state, tavimor::bench::MakeStyledDocument(static_cast<int>(state.range(0))));
}

void BM_ProduceStandalone(benchmark::State& state)
{
    const tavimor::TQuizDocument doc = tavimor::bench::MakeBigDocument(static_cast<int>(state.range(0)));
    const tavimor::bench::BenchFolder folder;
    tavimor::StandaloneJob job;
    job.DocumentPath = folder.Path() + "Banque.kwz";
    job.PrefsDir = folder.Path() + "Prefs/";
    job.ResumBody = doc.Pages.GetBody(0);
    for (auto _ : state) {
        if (!tavimor::ProduceStandalone(doc, tavimor::EmbeddedGifs(), job).Produced)
            state.SkipWithError("the page was refused");
    }
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations() * std::filesystem::file_size(folder.Path() + "Banque.html")));
    CountQuestions(state);
}

} // namespace

BENCHMARK(BM_StandalonePage)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StandalonePageStyled)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ProduceStandalone)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
