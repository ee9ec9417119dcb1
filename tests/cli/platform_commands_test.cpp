// export-gift, export-moodle and import-gift, run as the built program on files.
#include "base/FileIo.h"
#include "cli_runner.h"
#include "exchange/GiftWriter.h"
#include "exchange/MoodleXmlWriter.h"
#include "model/DocumentFile.h"
#include "model/sample_document.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tavimor {
namespace {

namespace fs = std::filesystem;

class PlatformCommands : public test::CliTest { };

// The rich document with a generic message that exists for its cloze question
// (a missing one stops the exports as it stops the site).
TQuizDocument ExportableDocument()
{
    TQuizDocument doc = test::RichDocument();
    doc.Quests.Quest(3).MessIdx[kWrongSide] = 1;
    return doc;
}

TEST_F(PlatformCommands, ExportsLandBesideTheDocumentUnderTheQuizName)
{
    const TQuizDocument doc = ExportableDocument();
    fs::create_directory(Path("mes.quiz"));
    const std::string in = Write("mes.quiz/quiz.copie.kwz", DocumentBytes(doc));

    const test::CliRun gift = Run({"export-gift", in});
    ASSERT_EQ(gift.exitCode, 0) << gift.err;
    EXPECT_EQ(ReadWholeFile(Path("mes.quiz/quiz.gift")), GiftText(doc, "quiz").Text);
    // The rich document has a question without choices: the teacher is told.
    EXPECT_NE(gift.out.find("export\xC3\xA9"
                            "e comme description"),
        std::string::npos)
        << gift.out;

    const test::CliRun moodle = Run({"export-moodle", in});
    ASSERT_EQ(moodle.exitCode, 0) << moodle.err;
    EXPECT_EQ(ReadWholeFile(Path("mes.quiz/quiz.xml")), MoodleXml(doc, in).Text);

    const std::string broken = Write("casse.kwz", DocumentBytes(test::RichDocument()));
    EXPECT_EQ(Run({"export-gift", broken}).err, "List index out of bounds (-1)\n");
    EXPECT_FALSE(fs::exists(Path("casse.gift")));

    ASSERT_EQ(Run({"export-gift", in, Path("autre.gift")}).exitCode, 0);
    ASSERT_EQ(Run({"export-moodle", in, Path("autre.xml")}).exitCode, 0);
    EXPECT_TRUE(fs::exists(Path("autre.gift")));
    EXPECT_TRUE(fs::exists(Path("autre.xml")));
}

// A refused file writes nothing: a document already at the output path stays.
TEST_F(PlatformCommands, RefusedFilesLeaveTheOutputAlone)
{
    const std::string kept = Write("garde.kwz", DocumentBytes(test::RichDocument()));
    const std::vector<std::pair<std::string, std::string>> cases {
        {"Q{=a ~b\n", "Fichier GIFT mal form\xC3\xA9, ligne 1: \xC2\xAB {\xC2\xA0\xC2\xBB sans"},
        {"\n\nCaf\xE9{=a ~b}\n", "n'est pas un texte UTF-8 valide (ligne 3)"},
        {"Combien?{#4}\n", "ne contient aucune question \xC3\xA0 importer"},
    };
    for (const auto& [gift, message] : cases) {
        SCOPED_TRACE(message);
        const test::CliRun result = Run({"import-gift", Write("in.gift", gift), kept});
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_NE(result.err.find(message), std::string::npos) << result.err;
        EXPECT_EQ(ReadWholeFile(kept), DocumentBytes(test::RichDocument()));
    }
    EXPECT_EQ(Run({"import-gift", Path("absent.gift"), kept}).err, "Cannot open file " + Path("absent.gift") + "\n");
    EXPECT_EQ(Run({"export-gift"}).exitCode, 1);
}

// export-scorm writes QuizName-scorm.zip beside the document; the pass mark is
// a whole number of percent, refused otherwise before anything is written.
TEST_F(PlatformCommands, ScormPackageLandsBesideTheDocument)
{
    fs::create_directory(Path("mes.quiz"));
    const std::string in = Write("mes.quiz/quiz.copie.kwz", DocumentBytes(ExportableDocument()));
    for (const char* mark : {"101", "-1", "5x", ""}) {
        const test::CliRun bad = Run({"export-scorm", in, "--pass-mark", mark});
        EXPECT_EQ(bad.exitCode, 1);
        EXPECT_NE(bad.err.find("--pass-mark takes a whole number of percent from 0 to 100"), std::string::npos)
            << bad.err;
    }
    EXPECT_FALSE(fs::exists(Path("mes.quiz/quiz-scorm.zip")));
    EXPECT_EQ(Run({"standalone", in, "--pass-mark", "60"}).exitCode, 1);

    const test::CliRun result = Run({"export-scorm", in, "--prefs", Path("prefs"), "--pass-mark", "70"});
    // The rich document has a question without choices: refused as the site refuses it.
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("Impossible de produire le test!"), std::string::npos) << result.err;

    TQuizDocument doc = test::StartupDocument();
    for (const char* text : {"Capitale?", "Fleuve?"}) {
        doc.Quests.Quest(doc.Quests.AddQuest()).QText = text;
        doc.Quests.Current().Reps = {"a", "b"};
        doc.Quests.Current().GoodRep = 1;
    }
    Write("mes.quiz/quiz.copie.kwz", DocumentBytes(doc));
    const test::CliRun made = Run({"export-scorm", in, "--prefs", Path("prefs"), "--pass-mark", "70"});
    ASSERT_EQ(made.exitCode, 0) << made.err;
    EXPECT_EQ(
        made.out, "Le paquet SCORM " + Path("mes.quiz/quiz-scorm.zip") + " vient d'\xC3\xAAtre cr\xC3\xA9\xC3\xA9.\n");
    const std::string zip = ReadWholeFile(Path("mes.quiz/quiz-scorm.zip"));
    EXPECT_TRUE(zip.starts_with("PK\x03\x04"));
    EXPECT_NE(zip.find("imsmanifest.xml"), std::string::npos);
}

} // namespace
} // namespace tavimor
