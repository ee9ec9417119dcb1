// export-text and import-text, run as the built program on files.
#include "base/FileIo.h"
#include "base/ValueStream.h"
#include "cli_runner.h"
#include "model/DocumentFile.h"
#include "model/TextExchange.h"
#include "model/sample_document.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tavimor {
namespace {

namespace fs = std::filesystem;

class TextCommands : public test::CliTest { };

TEST_F(TextCommands, ExportWritesBesideTheDocumentByDefault)
{
    const TQuizDocument doc = test::RichDocument();
    fs::create_directory(Path("mes.quiz"));
    const std::string in = Write("mes.quiz/quiz.copie.kwz", DocumentBytes(doc));

    const test::CliRun result = Run({"export-text", in});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(ReadWholeFile(Path("mes.quiz/quiz.txt")), ExportText(doc));

    ASSERT_EQ(Run({"export-text", in, Path("ailleurs.txt")}).exitCode, 0);
    EXPECT_EQ(ReadWholeFile(Path("ailleurs.txt")), ExportText(doc));
}

// A teacher's folder may hold quotes, spaces and dollar signs: the paths
// reach the program unchanged and the text lands beside the document.
TEST_F(TextCommands, PathsWithQuotesAndSpacesArePassedUnchanged)
{
    const TQuizDocument doc = test::RichDocument();
    const std::string folder = "L'histoire \"moderne\" $HOME `x`";
    fs::create_directory(Path(folder));
    const std::string in = Write(folder + "/quiz d'ete.kwz", DocumentBytes(doc));

    const test::CliRun result = Run({"export-text", in});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(ReadWholeFile(Path(folder + "/quiz d'ete.txt")), ExportText(doc));
}

TEST_F(TextCommands, ImportMakesANewDocumentFromTheText)
{
    const TQuizDocument original = test::RichDocument();
    const std::string text = Write("quiz.txt", ExportText(original));

    const test::CliRun result = Run({"import-text", text, Path("nouveau.kwz")});
    ASSERT_EQ(result.exitCode, 0) << result.err;

    TQuizDocument expected = test::StartupDocument();
    ImportText(expected, ExportText(original));
    TQuizDocument loaded = test::StartupDocument();
    LoadDocument(loaded, Path("nouveau.kwz"));
    EXPECT_EQ(DocumentBytes(loaded), DocumentBytes(expected));
    EXPECT_EQ(loaded.Header.AuthorName, original.Header.AuthorName);
    EXPECT_EQ(loaded.Quests.Count(), original.Quests.Count());
    // Everything the text does not carry is the editor's start-up state.
    EXPECT_EQ(loaded.Header.AuthorLabel, "Nom de l'auteur");
    EXPECT_EQ(loaded.Quests.GenMess, test::StartupDocument().Quests.GenMess);
}

TEST_F(TextCommands, FailuresExitWithTheErrorText)
{
    struct Case {
        const char* name;
        std::vector<std::string> args;
        std::string error;
    };
    const std::string badCount = Write("bad.txt", "$d1=A\r\n$d3=T\r\n$nQuest=beaucoup\r\n");
    TValueWriter oldVersion;
    oldVersion.WriteInteger(2);
    const std::string v2 = Write("v2.kwz", oldVersion.Bytes());
    const std::vector<Case> cases {
        {"unreadable count", {"import-text", badCount, Path("bad.kwz")}, "'beaucoup' is not a valid integer value\n"},
        {"missing text", {"import-text", Path("absent.txt"), Path("x.kwz")}, "Cannot open file " + Path("absent.txt")},
        {"missing document", {"export-text", Path("absent.kwz")}, "Cannot open file " + Path("absent.kwz")},
        {"old version", {"export-text", v2},
            "La version 2 n'est plus support\xC3\xA9"
            "e...\n"},
        {"no argument", {"export-text"}, "usage:"},
        {"one argument", {"import-text", badCount}, "usage:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const test::CliRun result = Run(c.args);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_NE(result.err.find(c.error), std::string::npos) << result.err;
    }
    EXPECT_FALSE(fs::exists(Path("bad.kwz")));
    EXPECT_FALSE(fs::exists(Path("v2.txt")));
}

} // namespace
} // namespace tavimor
