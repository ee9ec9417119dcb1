// tavimor-cli --help, --version and help COMMAND, run as the built program.
// The commands are taken from the usage the program prints for a mistake,
// so that a command added to the table without its help is caught here.
#include "cli_runner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace tavimor {
namespace {

class HelpCommands : public test::CliTest {
protected:
    struct Listed {
        std::string name;
        std::string synopsis; // "tavimor-cli produce DOC.kwz [--prefs DIR]"
    };

    // The commands of the usage that a call without arguments prints.
    std::vector<Listed> UsageCommands() const
    {
        const test::CliRun run = Run({});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.out, "");
        std::vector<Listed> commands;
        std::istringstream lines(run.err);
        std::string line;
        std::getline(lines, line);
        EXPECT_EQ(line, "usage:");
        while (std::getline(lines, line)) {
            const std::string prefix = "  tavimor-cli ";
            EXPECT_EQ(line.rfind(prefix, 0), 0u) << line;
            const std::string rest = line.substr(prefix.size());
            commands.push_back({rest.substr(0, rest.find(' ')), line.substr(2)});
        }
        return commands;
    }
};

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

TEST_F(HelpCommands, EveryCommandOfTheUsageHasItsOwnHelp)
{
    const std::vector<Listed> commands = UsageCommands();
    ASSERT_GE(commands.size(), 7u);
    const test::CliRun full = Run({"--help"});
    ASSERT_EQ(full.exitCode, 0) << full.err;
    for (const Listed& command : commands) {
        SCOPED_TRACE(command.name);
        const test::CliRun help = Run({"help", command.name});
        ASSERT_EQ(help.exitCode, 0) << help.err;
        EXPECT_EQ(help.err, "");
        const std::vector<std::string> lines = Lines(help.out);
        ASSERT_GE(lines.size(), 3u) << help.out;
        EXPECT_EQ(lines[0], "Usage: " + command.synopsis);
        EXPECT_EQ(lines[1], "");
        EXPECT_FALSE(lines[2].empty());
        for (const std::string& line : lines)
            EXPECT_LE(line.size(), 80u) << line;
        // "COMMAND --help" says the same, and the full help holds the same text.
        EXPECT_EQ(Run({command.name, "--help"}).out, help.out);
        EXPECT_NE(full.out.find("      " + lines[2] + "\n"), std::string::npos) << lines[2];
    }
}

TEST_F(HelpCommands, FullHelpAndVersionGoToStandardOutput)
{
    for (const char* option : {"--help", "-h", "help"}) {
        SCOPED_TRACE(option);
        const test::CliRun run = Run({option});
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(run.out.rfind("Usage: tavimor-cli COMMAND ARGUMENTS...\n", 0), 0u) << run.out;
        EXPECT_NE(run.out.find("\nCommands:\n  produce DOC.kwz [--prefs DIR]\n"), std::string::npos);
        EXPECT_NE(run.out.find("\nOptions:\n  -h, --help "), std::string::npos);
        EXPECT_NE(run.out.find("\nExit status:\n"), std::string::npos);
    }
    for (const char* option : {"--version", "-V"}) {
        const test::CliRun run = Run({option});
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.out, "tavimor-cli " TAVIMOR_VERSION "\n");
        EXPECT_EQ(run.err, "");
    }
}

TEST_F(HelpCommands, HelpMistakesAreUsageErrors)
{
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const Case cases[] = {
        {{"help", "nosuch"}, "tavimor-cli: unknown command 'nosuch'\nusage:\n"},
        {{"help", "produce", "exam"}, "tavimor-cli: help takes one command name\nusage:\n"},
        {{"--helpme"}, "tavimor-cli: unknown command '--helpme'\nusage:\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.back());
        const test::CliRun run = Run(c.args);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.rfind(c.message, 0), 0u) << run.err;
    }
}

// "--help" is the help only as the one argument of a command: a command
// asked for help does nothing else, and with other arguments the word goes
// to the command as before.
TEST_F(HelpCommands, CommandHelpDoesNotRunTheCommand)
{
    const std::string doc = Write("quiz.kwz", "not a document");
    const test::CliRun help = Run({"produce", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(Path("")))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string> {"quiz.kwz"});

    const test::CliRun run = Run({"produce", doc, "--help"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("unexpected argument '--help'"), std::string::npos) << run.err;
}

} // namespace
} // namespace tavimor
