#include "app/InformationOptions.h"

#include <string_view>

#ifndef TAVIMOR_VERSION
#error "the build defines TAVIMOR_VERSION"
#endif

namespace tavimor {

namespace {

constexpr std::string_view kHelp = "Usage: tavimor [OPTION] [FILE.kwz]\n"
                                   "Opens the Tavimor quiz editor, on FILE.kwz when it is given. The editor\n"
                                   "writes multiple-choice quizzes, saves them as .kwz documents and\n"
                                   "publishes them as web sites; its interface is in French. \"Aide\" (F1)\n"
                                   "opens the user manual.\n"
                                   "\n"
                                   "Options:\n"
                                   "  -h, --help     print this help and exit\n"
                                   "  -V, --version  print the version and exit\n"
                                   "Qt's own options (-platform NAME, -style NAME, ...) are accepted too.\n"
                                   "\n"
                                   "Files:\n"
                                   "  The settings file tavimor.ini and the Prefs/ folder (style preferences,\n"
                                   "  replacement images, parameter files) are kept beside the program when\n"
                                   "  its folder is writable, otherwise in $XDG_CONFIG_HOME/tavimor/ (by\n"
                                   "  default ~/.config/tavimor/).\n";

} // namespace

std::optional<int> AnswerInformationOption(std::span<char* const> arguments, std::ostream& out)
{
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string_view word = arguments[i];
        if (word == "--")
            break;
        if (word == "-h" || word == "--help") {
            out << kHelp;
            return 0;
        }
        if (word == "-V" || word == "--version") {
            out << "tavimor " TAVIMOR_VERSION "\n";
            return 0;
        }
    }
    return std::nullopt;
}

} // namespace tavimor
