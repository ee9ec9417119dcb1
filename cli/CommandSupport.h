// What the commands of tavimor-cli share: reading their arguments, printing
// the core's messages, and the session they drive.
#pragma once

#include "cli/Commands.h"
#include "session/QuizSession.h"

#include <iosfwd>
#include <memory>
#include <string>

namespace tavimor::cli {

// DOC [OUT] [--prefs DIR], as each command allows.
struct DocumentArgs {
    std::string document;
    std::string output; // empty when not given
    std::string prefsDir; // ends with "/"; the editor's own preferences folder by default
};

enum class Takes { DocumentOnly, Output, OutputAndPrefs, Prefs };
DocumentArgs ParseDocumentArgs(const Args& args, Takes takes, const char* command);

// A message of the core (Windows-1252) on one line of out, in UTF-8.
void Say(std::ostream& out, const std::string& cp1252);

// A session on the preferences folder, announcing new folders on stdout.
std::unique_ptr<QuizSession> MakeSession(const std::string& prefsDir);

// Opens the document; a version no longer read is refused on stderr and
// gives false.
bool OpenOrRefuse(QuizSession& session, const std::string& path);

} // namespace tavimor::cli
