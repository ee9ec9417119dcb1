// The editor's --help and --version, answered before any window exists so
// that they work without a display (the manual page is made from them).
#pragma once

#include <optional>
#include <ostream>
#include <span>

namespace tavimor {

// When the command line asks for the help or the version (-h, --help,
// -V, --version, before a "--"), writes it to out and gives the exit code;
// otherwise nothing. arguments are the program's, its name first.
std::optional<int> AnswerInformationOption(std::span<char* const> arguments, std::ostream& out);

} // namespace tavimor
