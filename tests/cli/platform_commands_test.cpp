// The exports to and imports from question banks (GIFT, Moodle XML, Aiken,
// spreadsheet), run as the built program on files.
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
        {"Q{=a ~b\n",
            "ligne 1, \xC2\xAB\xC2\xA0Q\xC2\xA0\xC2\xBB : non import\xC3\xA9"
            "e : question illisible"},
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

// A bank made in a spreadsheet comes back as the very questions it was
// written from; every import adds to an existing document with --into.
TEST_F(PlatformCommands, ImportsMakeANewDocumentOrAddToOne)
{
    const TQuizDocument doc = ExportableDocument();
    const std::string in = Write("quiz.kwz", DocumentBytes(doc));
    ASSERT_EQ(Run({"export-csv", in}).exitCode, 0);
    // Into a document with the same generic messages, which the rows name by number.
    TQuizDocument empty = doc;
    empty.Quests.Clear();
    Write("copie.kwz", DocumentBytes(empty));
    const test::CliRun fromCsv = Run({"import-csv", Path("quiz.csv"), "--into", Path("copie.kwz")});
    ASSERT_EQ(fromCsv.exitCode, 0) << fromCsv.err;
    TQuizDocument copy;
    LoadDocument(copy, Path("copie.kwz"));
    ASSERT_EQ(copy.Quests.Count(), doc.Quests.Count());
    for (int n = 1; n <= doc.Quests.Count(); ++n)
        EXPECT_TRUE(copy.Quests.Quest(n) == doc.Quests.Quest(n)) << "question " << n;
    // A new document has only the first generic messages: the others are replaced, and said.
    const test::CliRun fresh = Run({"import-csv", Path("quiz.csv"), Path("neuf.kwz")});
    ASSERT_EQ(fresh.exitCode, 0) << fresh.err;
    EXPECT_NE(fresh.out.find("n'existent pas dans ce quiz"), std::string::npos) << fresh.out;

    const std::string aiken
        = Write("banque.txt", "Quelle couleur ?\nA. Rouge\nB. Vert\nANSWER: B\n\nSans r\xC3\xA9ponse\nA. x\n");
    const test::CliRun added = Run({"import-aiken", aiken, "--into", Path("copie.kwz")});
    ASSERT_EQ(added.exitCode, 0) << added.err;
    EXPECT_NE(added.out.find("1 question import\xC3\xA9"
                             "e, 1 non import\xC3\xA9"
                             "e."),
        std::string::npos)
        << added.out;
    EXPECT_NE(added.out.find("ligne 6, \xC2\xAB\xC2\xA0Sans r\xC3\xA9ponse"), std::string::npos) << added.out;
    LoadDocument(copy = TQuizDocument(), Path("copie.kwz"));
    ASSERT_EQ(copy.Quests.Count(), doc.Quests.Count() + 1);
    EXPECT_EQ(copy.Quests.Quest(copy.Quests.Count()).QText, "Quelle couleur ?");
    EXPECT_EQ(copy.Quests.Quest(copy.Quests.Count()).GoodRep, 1);

    // The pictures of a Moodle XML file land beside the new document.
    fs::create_directory(Path("classe"));
    const std::string xml = Write("banque.xml",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<quiz>\n<question type=\"truefalse\">\n"
        "<name><text>Carte</text></name>\n<questiontext format=\"html\"><text><![CDATA[<p>Vrai ? "
        "<img src=\"@@PLUGINFILE@@/carte.png\"></p>]]></text>\n"
        "<file name=\"carte.png\" path=\"/\" encoding=\"base64\">UE5H</file></questiontext>\n"
        "<answer fraction=\"100\"><text>true</text></answer>\n<answer fraction=\"0\"><text>false</text></answer>\n"
        "</question>\n</quiz>\n");
    const test::CliRun moodle = Run({"import-moodle", xml, Path("classe/carte.kwz")});
    ASSERT_EQ(moodle.exitCode, 0) << moodle.err;
    EXPECT_EQ(ReadWholeFile(Path("classe/carte.png")), "PNG");
    EXPECT_EQ(Run({"import-moodle", xml}).exitCode, 1);
    EXPECT_EQ(Run({"import-moodle", xml, Path("a.kwz"), "--into", Path("b.kwz")}).exitCode, 1);
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
