// produce, exam and standalone: the quiz site, the printable exam and the
// self-contained quiz page of a document, as the editor's HTML menu makes them.
#include "cli/CommandSupport.h"

#include "model/FileIo.h"

#include <iostream>

namespace tavimor::cli {

int Produce(const Args& args)
{
    const DocumentArgs parsed = ParseDocumentArgs(args, Takes::Prefs, "produce");
    const auto session = MakeSession(parsed.prefsDir);
    if (!OpenOrRefuse(*session, parsed.document))
        return 1;
    EnsureFolder(parsed.prefsDir);
    const ProduceOutcome outcome = session->ProduceSite(session->Document().Pages.GetBody(0));
    Say(outcome.Produced ? std::cout : std::cerr, outcome.Message);
    return outcome.Produced ? 0 : 1;
}

// The exam needs no choices, so a document the site production refuses still
// gets its exam as long as it has a question.
int Exam(const Args& args)
{
    const DocumentArgs parsed = ParseDocumentArgs(args, Takes::Prefs, "exam");
    const auto session = MakeSession(parsed.prefsDir);
    if (!OpenOrRefuse(*session, parsed.document))
        return 1;
    const ExamOutcome outcome = session->WriteExam();
    Say(outcome.Written ? std::cout : std::cerr, outcome.Message);
    return outcome.Written ? 0 : 1;
}

// The same checks and messages as produce; the final message also names the
// pictures the page could not take in.
int Standalone(const Args& args)
{
    const DocumentArgs parsed = ParseDocumentArgs(args, Takes::OutputAndPrefs, "standalone");
    const auto session = MakeSession(parsed.prefsDir);
    if (!OpenOrRefuse(*session, parsed.document))
        return 1;
    const StandaloneOutcome outcome = session->ProduceStandalone(session->Document().Pages.GetBody(0), parsed.output);
    Say(outcome.Produced ? std::cout : std::cerr, outcome.Message);
    return outcome.Produced ? 0 : 1;
}

} // namespace tavimor::cli
