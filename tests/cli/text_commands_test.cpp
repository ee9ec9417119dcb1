// export-text and import-text, run as the built program on files.
#include "model/DocumentFile.h"
#include "model/FileIo.h"
#include "model/TextExchange.h"
#include "model/ValueStream.h"
#include "model/sample_document.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace tavimor {
namespace {

namespace fs = std::filesystem;

struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};

class TextCommands : public testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = testing::TempDir() + "tavimor-text-XXXXXX";
        folder_ = ::mkdtemp(pattern.data());
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string Path(const std::string& name) const { return folder_ + "/" + name; }

    std::string Write(const std::string& name, const std::string& bytes) const
    {
        const std::string path = Path(name);
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    RunResult Run(const std::vector<std::string>& args) const
    {
        std::string command = std::string("'") + TAVIMOR_CLI + "'";
        for (const std::string& arg : args)
            command += " '" + arg + "'";
        command += " >'" + Path("stdout") + "' 2>'" + Path("stderr") + "'";
        const int status = std::system(command.c_str());
        RunResult result;
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.out = ReadWholeFile(Path("stdout"));
        result.err = ReadWholeFile(Path("stderr"));
        return result;
    }

    std::string folder_;
};

TEST_F(TextCommands, ExportWritesBesideTheDocumentByDefault)
{
    const TQuizDocument doc = test::RichDocument();
    fs::create_directory(Path("mes.quiz"));
    const std::string in = Write("mes.quiz/quiz.copie.kwz", DocumentBytes(doc));

    const RunResult result = Run({"export-text", in});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(ReadWholeFile(Path("mes.quiz/quiz.txt")), ExportText(doc));

    ASSERT_EQ(Run({"export-text", in, Path("ailleurs.txt")}).status, 0);
    EXPECT_EQ(ReadWholeFile(Path("ailleurs.txt")), ExportText(doc));
}

TEST_F(TextCommands, ImportMakesANewDocumentFromTheText)
{
    const TQuizDocument original = test::RichDocument();
    const std::string text = Write("quiz.txt", ExportText(original));

    const RunResult result = Run({"import-text", text, Path("nouveau.kwz")});
    ASSERT_EQ(result.status, 0) << result.err;

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
        const RunResult result = Run(c.args);
        EXPECT_EQ(result.status, 1);
        EXPECT_NE(result.err.find(c.error), std::string::npos) << result.err;
    }
    EXPECT_FALSE(fs::exists(Path("bad.kwz")));
    EXPECT_FALSE(fs::exists(Path("v2.txt")));
}

} // namespace
} // namespace tavimor
