// Producing the quiz site and the exam of documents of growing size: the time
// per question must stay flat, showing that no step grows faster than the
// number of questions.
#include "bench/BigDocument.h"
#include "generator/PageSet.h"
#include "generator/QuizScript.h"
#include "resources/EmbeddedGifs.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

using tavimor::THKWZ;
using tavimor::TQuizDocument;

// Reports the time per question next to the time per iteration.
void CountQuestions(benchmark::State& state)
{
    state.counters["per_question"] = benchmark::Counter(static_cast<double>(state.range(0)),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// A folder of its own under the temporary folder, removed afterwards.
class BenchFolder {
public:
    BenchFolder()
        : path_(fs::temp_directory_path() / ("tavimor-site-bench-" + std::to_string(::getpid())))
    {
        fs::create_directories(path_);
    }
    ~BenchFolder()
    {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;
    std::string Path() const { return path_.string() + "/"; }

private:
    fs::path path_;
};

THKWZ MakeGenerator(const TQuizDocument& doc, const BenchFolder& folder)
{
    THKWZ site(doc, tavimor::EmbeddedGifs());
    site.DocumentPath = folder.Path() + "Banque.kwz";
    site.PrefsDir = folder.Path() + "Prefs/";
    site.ResumBody = doc.Pages.GetBody(0);
    return site;
}

// The whole "Produire KWZ": checks, folders, every page, the script, the
// style sheet and the nine images, stored on disk.
void BM_ProduceSite(benchmark::State& state)
{
    const TQuizDocument doc = tavimor::bench::MakeBigDocument(static_cast<int>(state.range(0)));
    const BenchFolder folder;
    THKWZ site = MakeGenerator(doc, folder);
    for (auto _ : state) {
        if (!site.Produce(true).Produced)
            state.SkipWithError("the site was refused");
    }
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations() * fs::file_size(site.PagesDir + site.ScriptName)));
    CountQuestions(state);
}

// The texts alone, without the disk: the script and the pages that depend on
// the document.
void BM_SiteTexts(benchmark::State& state)
{
    const TQuizDocument doc = tavimor::bench::MakeBigDocument(static_cast<int>(state.range(0)));
    const BenchFolder folder;
    THKWZ site = MakeGenerator(doc, folder);
    site.SetFolders();
    const tavimor::TJSM script;
    for (auto _ : state) {
        const std::string text = script.MakeScript(doc.Quests, doc.Header.UseCertainty, site.ResumBody);
        benchmark::DoNotOptimize(text.data());
        benchmark::DoNotOptimize(site.MainPage().size() + site.QuestPage().size() + site.ResultPage().size());
    }
    CountQuestions(state);
}

// "Produire examen": the exam, then its key, stored on disk.
void BM_WriteExamAndKey(benchmark::State& state)
{
    const TQuizDocument doc = tavimor::bench::MakeBigDocument(static_cast<int>(state.range(0)));
    const BenchFolder folder;
    THKWZ site = MakeGenerator(doc, folder);
    site.SetFolders();
    for (auto _ : state) {
        site.WriteExam(false);
        site.WriteExam(true);
    }
    CountQuestions(state);
}

} // namespace

BENCHMARK(BM_ProduceSite)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SiteTexts)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteExamAndKey)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
