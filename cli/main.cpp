// tavimor-cli: the document commands of the editor, without a window.
#include "cli/Commands.h"
#include "model/Cp1252.h"
#include "model/Errors.h"

#include <cstdio>
#include <exception>
#include <iostream>
#include <map>
#include <string_view>

namespace {

using Command = int (*)(const tavimor::cli::Args&);

const std::map<std::string_view, Command>& CommandTable()
{
    static const std::map<std::string_view, Command> table {
        {"produce", tavimor::cli::Produce},
        {"exam", tavimor::cli::Exam},
        {"standalone", tavimor::cli::Standalone},
        {"upgrade", tavimor::cli::Upgrade},
        {"to-json", tavimor::cli::ToJson},
        {"from-json", tavimor::cli::FromJson},
        {"export-text", tavimor::cli::ExportTextCommand},
        {"import-text", tavimor::cli::ImportTextCommand},
    };
    return table;
}

constexpr const char* kUsage = "usage:\n"
                               "  tavimor-cli produce DOC.kwz [--prefs DIR]\n"
                               "  tavimor-cli exam DOC.kwz [--prefs DIR]\n"
                               "  tavimor-cli standalone DOC.kwz [OUT.html] [--prefs DIR]\n"
                               "  tavimor-cli export-text DOC.kwz [OUT.txt]\n"
                               "  tavimor-cli import-text IN.txt OUT.kwz\n"
                               "  tavimor-cli upgrade IN.kwz OUT.kwz\n"
                               "  tavimor-cli to-json DOC.kwz\n"
                               "  tavimor-cli from-json IN.json OUT.kwz\n";

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::cerr << kUsage;
        return 1;
    }
    const auto found = CommandTable().find(argv[1]);
    if (found == CommandTable().end()) {
        std::cerr << "tavimor-cli: unknown command '" << argv[1] << "'\n" << kUsage;
        return 1;
    }
    try {
        return found->second(tavimor::cli::Args(argv + 2, argv + argc));
    } catch (const tavimor::cli::UsageError& e) {
        std::cerr << "tavimor-cli: " << e.message << '\n' << kUsage;
    } catch (const std::exception& e) {
        std::cerr << tavimor::Cp1252ToUtf8(e.what()) << '\n';
    }
    return 1;
}
