// tavimor-cli produce / exam / standalone: the quiz site, the printable exam and
// the self-contained quiz page of a document.
#include "cli/Commands.h"

#include "generator/PageSet.h"
#include "generator/StandaloneQuiz.h"
#include "model/Cp1252.h"
#include "model/DocumentFile.h"
#include "presentation/AppFolders.h"
#include "resources/EmbeddedGifs.h"

#include <iostream>
#include <memory>

namespace tavimor::cli {

namespace {

struct SiteArgs {
    std::string document;
    std::string prefsDir;
    std::string output; // only for the commands that take one
};

// DOC.kwz [OUT] [--prefs DIR]; OUT only when withOutput.
SiteArgs ParseSiteArgs(const Args& args, bool withOutput = false)
{
    SiteArgs parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--prefs") {
            if (i + 1 == args.size())
                throw UsageError {"--prefs needs a folder"};
            parsed.prefsDir = args[++i];
        } else if (parsed.document.empty()) {
            parsed.document = args[i];
        } else if (withOutput && parsed.output.empty()) {
            parsed.output = args[i];
        } else {
            throw UsageError {"unexpected argument '" + args[i] + "'"};
        }
    }
    if (parsed.document.empty())
        throw UsageError {"a document is needed"};
    if (parsed.prefsDir.empty())
        parsed.prefsDir = PrefsFolder();
    else if (parsed.prefsDir.back() != '/')
        parsed.prefsDir += '/';
    return parsed;
}

void Say(std::ostream& out, const std::string& cp1252)
{
    out << Cp1252ToUtf8(cp1252) << '\n';
}

// The document as the editor has it after opening the file; nullptr when the
// file's version is refused (the refusal is printed).
std::unique_ptr<TQuizDocument> OpenDocument(const SiteArgs& args)
{
    auto doc = std::make_unique<TQuizDocument>();
    ResetToStartupState(*doc, args.prefsDir);
    const LoadOutcome loaded = LoadDocument(*doc, args.document);
    if (loaded.refusal) {
        Say(std::cerr, *loaded.refusal);
        return nullptr;
    }
    return doc;
}

// A generator set up as the editor's "Produire KWZ" would run it.
THKWZ MakeGenerator(const TQuizDocument& doc, const SiteArgs& args)
{
    THKWZ site(doc, EmbeddedGifs());
    site.DocumentPath = args.document;
    site.PrefsDir = args.prefsDir;
    site.ResumBody = doc.Pages.GetBody(0);
    site.Notify = [](const std::string& message) { Say(std::cout, message); };
    return site;
}

} // namespace

int Produce(const Args& args)
{
    const SiteArgs parsed = ParseSiteArgs(args);
    const auto doc = OpenDocument(parsed);
    if (!doc)
        return 1;
    EnsureFolder(parsed.prefsDir);
    THKWZ site = MakeGenerator(*doc, parsed);
    const ProduceOutcome outcome = site.Produce(true);
    Say(outcome.Produced ? std::cout : std::cerr, outcome.Message);
    return outcome.Produced ? 0 : 1;
}

// The exam needs no choices, so a document the site production refuses still
// gets its exam as long as it has a question; only the folders of the site are
// made, as a production would make them.
int Exam(const Args& args)
{
    const SiteArgs parsed = ParseSiteArgs(args);
    const auto doc = OpenDocument(parsed);
    if (!doc)
        return 1;
    if (doc->Quests.Count() == 0) {
        Say(std::cerr, "Le document n'a aucune question: impossible de produire l'examen!");
        return 1;
    }
    THKWZ site = MakeGenerator(*doc, parsed);
    if (!site.SetFolders()) {
        Say(std::cerr, THKWZ::kNoFileName);
        return 1;
    }
    site.WriteExam(false);
    site.WriteExam(true);
    Say(std::cout, site.ExamAnnouncement(false));
    return 0;
}

// The self-contained quiz page: the same checks and messages as "produce"; the
// final message also names the pictures the page could not take in.
int Standalone(const Args& args)
{
    const SiteArgs parsed = ParseSiteArgs(args, true);
    const auto doc = OpenDocument(parsed);
    if (!doc)
        return 1;
    StandaloneJob job;
    job.DocumentPath = parsed.document;
    job.PrefsDir = parsed.prefsDir;
    job.ResumBody = doc->Pages.GetBody(0);
    job.OutputPath = parsed.output;
    const StandaloneOutcome outcome = ProduceStandalone(*doc, EmbeddedGifs(), job);
    Say(outcome.Produced ? std::cout : std::cerr, outcome.Message);
    return outcome.Produced ? 0 : 1;
}

} // namespace tavimor::cli
