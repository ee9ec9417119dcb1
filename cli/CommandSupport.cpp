#include "cli/CommandSupport.h"

#include "base/Cp1252.h"
#include "platform/AppFolders.h"
#include "resources/EmbeddedGifs.h"

#include <iostream>

namespace tavimor::cli {

DocumentArgs ParseDocumentArgs(const Args& args, Takes takes, const char* command)
{
    const bool withOutput = takes == Takes::Output || takes == Takes::OutputAndPrefs;
    const bool withPrefs = takes == Takes::Prefs || takes == Takes::OutputAndPrefs;
    DocumentArgs parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (withPrefs && args[i] == "--prefs") {
            if (i + 1 == args.size())
                throw UsageError {"--prefs needs a folder"};
            parsed.prefsDir = args[++i];
        } else if (parsed.document.empty()) {
            parsed.document = args[i];
        } else if (withOutput && parsed.output.empty()) {
            parsed.output = args[i];
        } else {
            throw UsageError {std::string(command) + ": unexpected argument '" + args[i] + "'"};
        }
    }
    if (parsed.document.empty())
        throw UsageError {std::string(command) + " needs a document"};
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

std::unique_ptr<QuizSession> MakeSession(const std::string& prefsDir)
{
    SessionOptions options;
    options.Defaults.PrefsDir = prefsDir;
    options.Gifs = &EmbeddedGifs();
    options.Notify = [](const std::string& message) { Say(std::cout, message); };
    return std::make_unique<QuizSession>(std::move(options));
}

bool OpenOrRefuse(QuizSession& session, const std::string& path)
{
    const LoadOutcome outcome = session.Open(path);
    if (outcome.refusal)
        Say(std::cerr, *outcome.refusal);
    return !outcome.refusal;
}

} // namespace tavimor::cli
