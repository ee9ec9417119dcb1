// Exporting and importing the text form of documents of growing size: the
// time per question must stay flat, showing that the import never copies the
// rest of the text per question.
#include "bench/BenchSupport.h"
#include "bench/BigDocument.h"
#include "model/DocumentFile.h"
#include "model/TextExchange.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using tavimor::TQuizDocument;
using tavimor::bench::CountQuestions;
using tavimor::bench::StartupDocument;

void BM_ExportText(benchmark::State& state)
{
    const TQuizDocument doc = tavimor::bench::MakeBigDocument(static_cast<int>(state.range(0)));
    std::size_t size = 0;
    for (auto _ : state) {
        const std::string text = tavimor::ExportText(doc);
        size = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
    CountQuestions(state);
}

// "Importer(.txt)": the text read into a document emptied as for "Nouveau".
void BM_ImportText(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    const std::string text = tavimor::ExportText(tavimor::bench::MakeBigDocument(count));
    const TQuizDocument startup = StartupDocument();
    for (auto _ : state) {
        TQuizDocument doc = startup;
        tavimor::ImportText(doc, text);
        if (doc.Quests.Count() != count)
            state.SkipWithError("the import did not give back every question");
        benchmark::DoNotOptimize(doc.Quests.Count());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    CountQuestions(state);
}

} // namespace

BENCHMARK(BM_ExportText)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ImportText)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
