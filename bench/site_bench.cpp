// Producing the quiz site and the exam of documents of growing size: the time
// per question must stay flat, showing that no step grows faster than the
// number of questions.
#include "bench/BenchSupport.h"
#include "bench/BigDocument.h"
#include "generator/PageSet.h"
#include "generator/QuizScript.h"
#include "model/QuestionViews.h"
#include "resources/EmbeddedGifs.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

using tavimor::THKWZ;
using tavimor::TQuizDocument;
using tavimor::bench::BenchFolder;
using tavimor::bench::CountQuestions;

// A big document and a generator set to produce it in a folder of its own.
struct SiteSetup {
    explicit SiteSetup(const benchmark::State& state)
        : doc(tavimor::bench::MakeBigDocument(static_cast<int>(state.range(0))))
        , site(doc, tavimor::EmbeddedGifs())
    {
        site.DocumentPath = folder.Path() + "Banque.kwz";
        site.PrefsDir = folder.Path() + "Prefs/";
        site.ResumBody = doc.Pages.GetBody(0);
    }

    const TQuizDocument doc; // the generator keeps a reference to it
    const BenchFolder folder;
    THKWZ site;
};

// The whole "Produire KWZ": checks, folders, every page, the script, the
// style sheet and the nine images, stored on disk.
void BM_ProduceSite(benchmark::State& state)
{
    SiteSetup setup(state);
    THKWZ& site = setup.site;
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
    SiteSetup setup(state);
    THKWZ& site = setup.site;
    site.SetFolders();
    const tavimor::TJSM script;
    for (auto _ : state) {
        const std::string text = script.MakeScript(setup.doc.Quests, setup.doc.Header.UseCertainty, site.ResumBody);
        benchmark::DoNotOptimize(text.data());
        benchmark::DoNotOptimize(site.MainPage().size() + site.QuestPage().size() + site.ResultPage().size());
    }
    CountQuestions(state);
}

// The script alone, from the document as a production from its file reads
// it: texts viewed in the file's bytes rather than copied one by one.
void BM_ScriptOfReadDocument(benchmark::State& state)
{
    const std::string bytes = tavimor::DocumentBytes(tavimor::bench::MakeBigDocument(static_cast<int>(state.range(0))));
    tavimor::ByteBlock block(bytes.size());
    std::copy(bytes.begin(), bytes.end(), block.Data());
    TQuizDocument doc = tavimor::bench::StartupDocument();
    tavimor::TQuestViews quests(doc.Quests);
    tavimor::ReadDocumentForProduction(doc, quests, std::move(block));
    const std::string resumBody = doc.Pages.GetBody(0);
    const tavimor::TJSM script;
    for (auto _ : state) {
        const std::string text = script.MakeScript(quests, doc.Header.UseCertainty, resumBody);
        benchmark::DoNotOptimize(text.data());
    }
    CountQuestions(state);
}

// "Produire examen": the exam, then its key, stored on disk.
void BM_WriteExamAndKey(benchmark::State& state)
{
    SiteSetup setup(state);
    THKWZ& site = setup.site;
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
BENCHMARK(BM_ScriptOfReadDocument)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteExamAndKey)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
