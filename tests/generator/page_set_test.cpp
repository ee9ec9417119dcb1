// The quiz site: every page of the golden cases compared byte for byte with
// pages written by hand, the refusals, the names and folders, the images and
// their replacement through the preferences folder.
#include "generator/PageSet.h"

#include "base/Cp1252.h"
#include "base/Errors.h"
#include "generator/SpecHTML.h"
#include "site_test_support.h"

#include "golden/cert_border/input.h"
#include "golden/plain_count/input.h"

#include <gtest/gtest.h>

#include <ostream>

namespace tavimor {
namespace {

using namespace site_test;

const std::vector<std::string> kImageFiles {
    "KWZ.gif", "bGreen.gif", "navBtn.gif", "Eval.gif", "bRes.gif", "nImg.gif", "gImg.gif", "bImg.gif", "bYellow.gif"};

// A document, a generator set up as the editor runs it, and what it announced.
struct Site {
    explicit Site(const std::string& documentName = "Quiz.kwz")
    {
        ResetToStartupState(doc, folder.Path() + "Prefs/");
        site.DocumentPath = folder.Path() + documentName;
        site.PrefsDir = folder.Path() + "Prefs/";
        site.Notify = [this](const std::string& message) { messages.push_back(message); };
    }

    std::string Out(const std::string& relative) const { return site.OutDir + relative; }

    TempFolder folder;
    TQuizDocument doc;
    NamedGifs gifs;
    THKWZ site {doc, gifs};
    std::vector<std::string> messages;
};

// ---------------------------------------------------------------- golden cases

struct GoldenCase {
    const char* name;
    void (*build)(TQuizDocument&);
    const char* documentName;
    const char* quizName; // Windows-1252
    const char* folderName; // UTF-8
    std::vector<std::string> scriptLines; // lines the script must hold
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const GoldenCase& c, std::ostream* os)
{
    *os << c.name;
}

class GoldenSite : public ::testing::TestWithParam<GoldenCase> { };

TEST_P(GoldenSite, ProducesEveryPageAsWrittenByHand)
{
    const GoldenCase& golden = GetParam();
    Site s(golden.documentName);
    golden.build(s.doc);
    s.site.ResumBody = s.doc.Pages.GetBody(0);

    const ProduceOutcome outcome = s.site.Produce(false);
    s.site.WriteExam(false);
    s.site.WriteExam(true);

    ASSERT_TRUE(outcome.Produced) << outcome.Message;
    const std::string outDir = s.folder.Path() + golden.folderName + "/";
    EXPECT_EQ(s.site.QuizName, golden.quizName);
    EXPECT_EQ(s.site.OutDir, outDir);
    EXPECT_EQ(s.site.PagesDir, outDir + "hPages/");
    EXPECT_EQ(s.site.ScriptName, std::string(golden.quizName) + ".js");
    // The final message; questions without a right answer are named after it.
    const std::string done = std::string("Le Test ") + golden.quizName + " vient d'\xEAtre cr\xE9\xE9.";
    EXPECT_EQ(outcome.Message.substr(0, done.size()), done);
    const std::vector<std::string> expectedMessages {
        "Le r\xE9pertoire " + Utf8ToCp1252(outDir) + " vient d'\xEAtre cr\xE9\xE9.",
        "Le r\xE9pertoire " + Utf8ToCp1252(outDir) + "hPages/ vient d'\xEAtre cr\xE9\xE9.", outcome.Message};
    EXPECT_EQ(s.messages, expectedMessages);

    // Every hand-written page, byte for byte.
    const fs::path expectedRoot = fs::path(TAVIMOR_TEST_DATA) / "generator/golden" / golden.name / "expected";
    const std::vector<std::string> expectedFiles = FilesUnder(expectedRoot);
    ASSERT_EQ(expectedFiles.size(), 11u);
    for (const auto& file : expectedFiles) {
        SCOPED_TRACE(file);
        ASSERT_TRUE(fs::exists(outDir + file));
        EXPECT_EQ(ReadBytes(outDir + file), ReadBytes(expectedRoot / file));
    }

    // Nothing else but the script, the style sheets and the images.
    std::vector<std::string> all = expectedFiles;
    all.push_back("kwzStyle.css");
    all.push_back("hPages/kwzStyle.css");
    all.push_back(std::string("hPages/") + golden.folderName + ".js");
    for (const auto& image : kImageFiles)
        all.push_back("hPages/" + image);
    std::sort(all.begin(), all.end());
    EXPECT_EQ(FilesUnder(outDir), all);

    // The style sheet in the site and beside the exam.
    const std::string css = s.doc.Style.MakeStyleSheet();
    ASSERT_FALSE(css.empty());
    EXPECT_EQ(ReadBytes(outDir + "hPages/kwzStyle.css"), css);
    EXPECT_EQ(ReadBytes(outDir + "kwzStyle.css"), css);

    // The script is stored with CR LF and carries this document's options.
    const std::string script = ReadBytes(outDir + "hPages/" + golden.folderName + ".js");
    for (std::size_t at = script.find('\n'); at != std::string::npos; at = script.find('\n', at + 1))
        ASSERT_TRUE(at > 0 && script[at - 1] == '\r') << "bare LF at " << at;
    for (const auto& line : golden.scriptLines)
        EXPECT_NE(script.find("\r\n" + line + "\r\n"), std::string::npos) << line;

    // The images come from the preferences folder.
    for (const auto& image : kImageFiles)
        EXPECT_EQ(ReadBytes(outDir + "hPages/" + image), NamedGifs::BytesOf(image.substr(0, image.size() - 4)));
}

void BuildCertBorder(TQuizDocument& doc)
{
    golden::cert_border::Build(doc);
}
void BuildPlainCount(TQuizDocument& doc)
{
    golden::plain_count::Build(doc);
}

INSTANTIATE_TEST_SUITE_P(Cases, GoldenSite,
    ::testing::Values(GoldenCase {"cert_border", BuildCertBorder, golden::cert_border::kDocumentName, "G\xE9ographie",
                          "G\xC3\xA9ographie",
                          {"var Resum=\"R&eacute;sum&eacute; du module\"", "var maxQ=3", "var ICertShow = true; "}},
        GoldenCase {"plain_count", BuildPlainCount, golden::plain_count::kDocumentName, "Chimie", "Chimie",
            {"var Resum=\"\"", "var maxQ=2", "var ICertShow = false;"}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- refusals

struct RefusalCase {
    const char* name;
    std::vector<std::size_t> choiceCounts; // one entry per question
    int linesWithoutChoices;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const RefusalCase& c, std::ostream* os)
{
    *os << c.name;
}

class Refusal : public ::testing::TestWithParam<RefusalCase> { };

TEST_P(Refusal, WritesNothingAndExplains)
{
    const RefusalCase& refusal = GetParam();
    for (const bool quiet : {false, true}) {
        Site s("Refus.kwz");
        for (const std::size_t count : refusal.choiceCounts)
            AddQuestion(s.doc, {TRepType::rKWZ, "Q", std::vector<std::string>(count, "choix"), -1, 1});

        std::string expected;
        for (int i = 0; i < refusal.linesWithoutChoices; ++i)
            expected += "Une ou des questions n'ont pas de r\xE9ponse. \n";
        expected += "Impossible de produire le test!";

        const ProduceOutcome outcome = s.site.Produce(quiet);
        EXPECT_FALSE(outcome.Produced);
        EXPECT_EQ(outcome.Message, expected);
        EXPECT_EQ(s.messages, quiet ? std::vector<std::string> {} : std::vector<std::string> {expected});
        EXPECT_FALSE(fs::exists(s.folder.Path() + "Refus"));
        EXPECT_FALSE(fs::exists(s.folder.Path() + "Prefs"));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, Refusal,
    ::testing::Values(RefusalCase {"NoQuestion", {}, 0}, RefusalCase {"OneQuestion", {3}, 0},
        RefusalCase {"OneQuestionWithoutChoices", {0}, 1}, RefusalCase {"OneOfTwoWithoutChoices", {2, 0}, 1},
        RefusalCase {"ThreeOfFourWithoutChoices", {0, 2, 0, 0}, 3}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PageSet, TwoQuestionsWithOneChoiceEachAreProduced)
{
    Site s;
    AddQuestion(s.doc, {TRepType::rKWZ, "Q1", {"seul"}, 0, 1});
    AddQuestion(s.doc, {TRepType::rOList, "<option>", {"seul"}, 0, 0});
    EXPECT_TRUE(s.site.Produce(true).Produced);
}

// ---------------------------------------------------------------- names and folders

struct NameCase {
    const char* documentPath; // relative to the temporary folder, UTF-8
    const char* quizName; // Windows-1252
    const char* outDir; // relative to the temporary folder, UTF-8
    const char* scriptFile; // in hPages, UTF-8
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const NameCase& c, std::ostream* os)
{
    *os << c.documentPath;
}

class QuizNames : public ::testing::TestWithParam<NameCase> { };

TEST_P(QuizNames, ComeFromTheDocumentFileName)
{
    const NameCase& name = GetParam();
    Site s(name.documentPath);
    fs::create_directories(fs::path(s.site.DocumentPath).parent_path());
    AddSimpleQuestions(s.doc, 2);
    ASSERT_TRUE(s.site.Produce(true).Produced);
    EXPECT_EQ(s.site.QuizName, name.quizName);
    EXPECT_EQ(s.site.OutDir, s.folder.Path() + name.outDir);
    EXPECT_TRUE(fs::is_regular_file(s.folder.Path() + name.outDir + "hPages/" + name.scriptFile));
    EXPECT_TRUE(fs::is_regular_file(s.folder.Path() + name.outDir + "index.html"));
    EXPECT_NE(ReadBytes(s.site.OutDir + "index.html").find(std::string("<TITLE>") + name.quizName + "</TITLE>"),
        std::string::npos);
    EXPECT_NE(ReadBytes(s.site.PagesDir + "quest.htm").find(std::string("SRC=\"") + name.quizName + ".js\""),
        std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Cases, QuizNames,
    ::testing::Values(NameCase {"Chimie.copie.kwz", "Chimie", "Chimie/", "Chimie.js"},
        NameCase {"cours/Bio.kwz", "Bio", "cours/Bio/", "Bio.js"},
        NameCase {"sans_extension", "sans_extension", "sans_extension/", "sans_extension.js"},
        NameCase {"R\xC3\xA9vision.kwz", "R\xE9vision", "R\xC3\xA9vision/", "R\xC3\xA9vision.js"}));

// An untitled document would have put its site into the root folder; a
// file named ".kwz" shows the same rule without any risk to the root folder.
TEST(PageSet, ADocumentWithoutFileNameIsNotProduced)
{
    Site s;
    AddSimpleQuestions(s.doc, 2);
    s.site.DocumentPath = s.folder.Path() + ".kwz";
    const ProduceOutcome outcome = s.site.Produce(false);
    EXPECT_FALSE(outcome.Produced);
    EXPECT_EQ(outcome.Message, std::string(THKWZ::kNoFileName) + "\nImpossible de produire le test!");
    EXPECT_EQ(s.messages, std::vector<std::string> {outcome.Message});
    EXPECT_EQ(s.site.OutDir, "");
    EXPECT_FALSE(s.site.WriteExam(false));
    EXPECT_EQ(s.messages.back(), THKWZ::kNoFileName);
    EXPECT_TRUE(FilesUnder(s.folder.Path()).empty());
}

TEST(PageSet, ARelativeDocumentPathProducesBesideItInTheCurrentFolder)
{
    Site s;
    AddSimpleQuestions(s.doc, 2);
    const fs::path before = fs::current_path();
    fs::current_path(s.folder.Path());
    s.site.DocumentPath = "Relatif.kwz";
    const bool produced = s.site.Produce(true).Produced;
    fs::current_path(before);
    EXPECT_TRUE(produced);
    EXPECT_EQ(s.site.OutDir, "Relatif/");
    EXPECT_TRUE(fs::is_regular_file(s.folder.Path() + "Relatif/hPages/mess.htm"));
}

TEST(PageSet, ProducingAgainOverwritesEveryFileAndAnnouncesNoFolder)
{
    Site s("Deux.kwz");
    AddSimpleQuestions(s.doc, 2);
    ASSERT_TRUE(s.site.Produce(true).Produced);
    const std::vector<std::string> files = FilesUnder(s.site.OutDir);
    for (const auto& file : files)
        WriteBytes(s.Out(file), "abime");

    s.doc.Layout.NoBorder = true;
    s.doc.Header.UseCertainty = true;
    s.messages.clear();
    ASSERT_TRUE(s.site.Produce(false).Produced);
    EXPECT_EQ(s.messages, std::vector<std::string> {"Le Test Deux vient d'\xEAtre cr\xE9\xE9."});
    EXPECT_EQ(FilesUnder(s.site.OutDir), files);
    for (const auto& file : files)
        EXPECT_NE(ReadBytes(s.Out(file)), "abime") << file;
    EXPECT_NE(ReadBytes(s.Out("index.html")).find("FRAMEBORDER=1 FRAMESPACING=0 BORDER=1>"), std::string::npos);
    EXPECT_NE(ReadBytes(s.Out("hPages/quest.htm")).find("NAME=\"CertCheck\""), std::string::npos);
}

// ---------------------------------------------------------------- page pieces

struct CountCase {
    bool show;
    const char* sentence;
    const char* line;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const CountCase& c, std::ostream* os)
{
    *os << (c.show ? "shown: " : "hidden: ") << c.sentence;
}

class CountLine : public ::testing::TestWithParam<CountCase> { };

TEST_P(CountLine, FollowsTheOptionAndTheToken)
{
    const CountCase& count = GetParam();
    Site s;
    AddSimpleQuestions(s.doc, 12);
    s.doc.Header.ShowCount = count.show;
    s.doc.Header.CountSentence = count.sentence;
    EXPECT_EQ(s.site.CountLine(), count.line);
    // The main page holds the line (or an empty line) between its heading and the form.
    EXPECT_NE(
        s.site.MainPage().find(std::string("</H1>\n") + count.line + "\n<H3>Identification</H3>"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Cases, CountLine,
    ::testing::Values(CountCase {true, "Ce module compte <Q> questions.", "Ce module compte 12 questions.\n<P>"},
        CountCase {true, "Questions :", "Questions : 12\n<P>"}, CountCase {true, "<Q> et <Q>", "12 et <Q>\n<P>"},
        CountCase {true, "", ""}, CountCase {false, "Ce module compte <Q> questions.", ""}));

TEST(PageSet, CertaintyLabelIsCutTo255Characters)
{
    Site s;
    AddSimpleQuestions(s.doc, 2);
    s.doc.Header.UseCertainty = true;
    s.doc.Header.CertSentence = std::string(300, 'x');
    EXPECT_NE(s.site.QuestPage().find("<INPUT TYPE=checkbox NAME=\"CertCheck\">" + std::string(255, 'x') + "\n"),
        std::string::npos);
}

// ---------------------------------------------------------------- images

TEST(PageSetImages, MissingImagesAreExportedToThePreferencesFolderThenCopied)
{
    Site s;
    AddSimpleQuestions(s.doc, 2);
    ASSERT_TRUE(s.site.Produce(true).Produced);
    for (const auto& image : kImageFiles) {
        const std::string bytes = NamedGifs::BytesOf(image.substr(0, image.size() - 4));
        EXPECT_EQ(ReadBytes(s.site.PrefsDir + image), bytes) << image;
        EXPECT_EQ(ReadBytes(s.site.PagesDir + image), bytes) << image;
    }
}

TEST(PageSetImages, AnImageOfThePreferencesFolderReplacesTheBuiltInOne)
{
    Site s;
    AddSimpleQuestions(s.doc, 2);
    ASSERT_TRUE(s.site.Produce(true).Produced);
    EXPECT_EQ(ReadBytes(s.site.PagesDir + "navBtn.gif"), NamedGifs::BytesOf("navBtn"));

    // The teacher drops a picture of their own into the preferences folder.
    WriteBytes(s.site.PrefsDir + "navBtn.gif", "GIF89a mine");
    ASSERT_TRUE(s.site.Produce(true).Produced);
    EXPECT_EQ(ReadBytes(s.site.PagesDir + "navBtn.gif"), "GIF89a mine");
    EXPECT_EQ(ReadBytes(s.site.PrefsDir + "navBtn.gif"), "GIF89a mine"); // not exported over it
    EXPECT_EQ(ReadBytes(s.site.PagesDir + "Eval.gif"), NamedGifs::BytesOf("Eval"));
}

TEST(PageSetImages, ImagesAlreadyInThePreferencesFolderAreNotExported)
{
    Site s;
    AddSimpleQuestions(s.doc, 2);
    fs::create_directories(s.site.PrefsDir);
    for (const auto& image : kImageFiles)
        WriteBytes(s.site.PrefsDir + image, "own " + image);
    ASSERT_TRUE(s.site.Produce(true).Produced);
    for (const auto& image : kImageFiles) {
        EXPECT_EQ(ReadBytes(s.site.PrefsDir + image), "own " + image);
        EXPECT_EQ(ReadBytes(s.site.PagesDir + image), "own " + image);
    }
}

TEST(PageSetImages, NamesComeFromTheLayoutPreferences)
{
    Site s;
    AddSimpleQuestions(s.doc, 2);
    s.doc.Layout.ImgNames[0] = "monLogo";
    fs::create_directories(s.site.PrefsDir);
    WriteBytes(s.site.PrefsDir + "monLogo.gif", "logo");
    ASSERT_TRUE(s.site.Produce(true).Produced);
    EXPECT_EQ(ReadBytes(s.site.PagesDir + "monLogo.gif"), "logo");
    EXPECT_FALSE(fs::exists(s.site.PagesDir + "KWZ.gif"));

    // Without such a file there is no built-in image to fall back on.
    s.doc.Layout.ImgNames[0] = "inconnu";
    EXPECT_THROW(s.site.Produce(true), Error);
}

} // namespace
} // namespace tavimor
