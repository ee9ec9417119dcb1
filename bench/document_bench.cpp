// Saving and loading documents of growing size: the time per question must
// stay flat, showing that both directions grow linearly.
#include "bench/BenchSupport.h"
#include "bench/BigDocument.h"
#include "model/DocumentFile.h"
#include "model/QuestionViews.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>

namespace {

using tavimor::TQuizDocument;
using tavimor::bench::CountQuestions;
using tavimor::bench::StartupDocument;

// The whole file image in memory.
void BM_DocumentBytes(benchmark::State& state)
{
    const TQuizDocument doc = tavimor::bench::MakeBigDocument(static_cast<int>(state.range(0)));
    std::size_t size = 0;
    for (auto _ : state) {
        const std::string bytes = tavimor::DocumentBytes(doc);
        size = bytes.size();
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
    CountQuestions(state);
}

// Reading a file image into a document as "Ouvrir" finds it: just reset.
void BM_ReadDocument(benchmark::State& state)
{
    const std::string bytes = tavimor::DocumentBytes(tavimor::bench::MakeBigDocument(static_cast<int>(state.range(0))));
    const TQuizDocument startup = StartupDocument();
    for (auto _ : state) {
        TQuizDocument doc = startup;
        tavimor::ReadDocument(doc, bytes);
        benchmark::DoNotOptimize(doc.Quests.Count());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
    CountQuestions(state);
}

// Reading the same image for a production: its questions as views of it.
void BM_ReadForProduction(benchmark::State& state)
{
    const std::string bytes = tavimor::DocumentBytes(tavimor::bench::MakeBigDocument(static_cast<int>(state.range(0))));
    const TQuizDocument startup = StartupDocument();
    for (auto _ : state) {
        tavimor::ByteBlock block(bytes.size());
        std::copy(bytes.begin(), bytes.end(), block.Data());
        TQuizDocument doc = startup;
        tavimor::TQuestViews quests(doc.Quests);
        tavimor::ReadDocumentForProduction(doc, quests, std::move(block));
        benchmark::DoNotOptimize(quests.Count());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
    CountQuestions(state);
}

// Save to a real file (temporary file, sync, rename) and load it back.
void BM_SaveLoadRoundTrip(benchmark::State& state)
{
    const TQuizDocument doc = tavimor::bench::MakeBigDocument(static_cast<int>(state.range(0)));
    const TQuizDocument startup = StartupDocument();
    const tavimor::bench::BenchFolder folder;
    const std::string path = folder.Path() + "Banque.kwz";
    for (auto _ : state) {
        tavimor::SaveDocument(doc, path);
        TQuizDocument loaded = startup;
        tavimor::LoadDocument(loaded, path);
        if (loaded.Quests.Count() != doc.Quests.Count())
            state.SkipWithError("the document read back differs");
    }
    CountQuestions(state);
}

} // namespace

BENCHMARK(BM_DocumentBytes)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadDocument)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadForProduction)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SaveLoadRoundTrip)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
