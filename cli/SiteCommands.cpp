// produce, exam, standalone and export-scorm: the quiz site, the printable
// exam, the self-contained quiz page and the SCORM package of a document, as
// the editor's HTML menu makes them.
#include "cli/CommandSupport.h"

#include <charconv>
#include <iostream>
#include <memory>

namespace tavimor::cli {

int Produce(const Args& args)
{
    const DocumentArgs parsed = ParseDocumentArgs(args, Takes::Prefs, "produce");
    // Nothing is edited: the document is read for the production alone.
    const auto production = MakeSession(parsed.prefsDir)->ProduceSiteOfFile(parsed.document);
    if (production.refusal) {
        Say(std::cerr, *production.refusal);
        return 1;
    }
    const ProduceOutcome& outcome = production.produced;
    Say(outcome.Produced ? std::cout : std::cerr, outcome.Message);
    return outcome.Produced ? 0 : 1;
}

// The exam needs no choices, so a document the site production refuses still
// gets its exam as long as it has a question.
int Exam(const Args& args)
{
    const DocumentArgs parsed = ParseDocumentArgs(args, Takes::Prefs, "exam");
    const auto written = MakeSession(parsed.prefsDir)->WriteExamOfFile(parsed.document);
    if (written.refusal) {
        Say(std::cerr, *written.refusal);
        return 1;
    }
    const ExamOutcome& outcome = written.produced;
    Say(outcome.Written ? std::cout : std::cerr, outcome.Message);
    return outcome.Written ? 0 : 1;
}

// The same checks and messages as produce; the final message also names the
// pictures the page could not take in.
int Standalone(const Args& args)
{
    const DocumentArgs parsed = ParseDocumentArgs(args, Takes::OutputAndPrefs, "standalone");
    const auto production = MakeSession(parsed.prefsDir)->ProduceStandaloneOfFile(parsed.document, parsed.output);
    if (production.refusal) {
        Say(std::cerr, *production.refusal);
        return 1;
    }
    const StandaloneOutcome& outcome = production.produced;
    Say(outcome.Produced ? std::cout : std::cerr, outcome.Message);
    return outcome.Produced ? 0 : 1;
}

namespace {

// A pass mark: a whole number of percent from 0 to 100.
int ParsePassMark(const std::string& text)
{
    int value = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 0 || value > 100)
        throw UsageError {"--pass-mark takes a whole number of percent from 0 to 100, not '" + text + "'"};
    return value;
}

} // namespace

// The SCORM 1.2 package: the self-contained quiz with the platform adapter,
// checked and refused as standalone is. --pass-mark N may stand anywhere.
int ExportScorm(const Args& args)
{
    Args rest;
    int passMark = kDefaultPassMark;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--pass-mark") {
            rest.push_back(args[i]);
            continue;
        }
        if (i + 1 == args.size())
            throw UsageError {"--pass-mark needs a number"};
        passMark = ParsePassMark(args[++i]);
    }
    const DocumentArgs parsed = ParseDocumentArgs(rest, Takes::OutputAndPrefs, "export-scorm");
    const auto session = MakeSession(parsed.prefsDir);
    if (!OpenOrRefuse(*session, parsed.document))
        return 1;
    const TScormOutcome outcome
        = session->ProduceScormPackage(session->Document().Pages.GetBody(0), passMark, parsed.output);
    Say(outcome.Produced ? std::cout : std::cerr, outcome.Message);
    return outcome.Produced ? 0 : 1;
}

} // namespace tavimor::cli
