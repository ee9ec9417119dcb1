// Pages stored while they are built: the same bytes as a page stored whole,
// wherever the pieces end, and a page that cannot be written leaves the
// previous one as it was and no temporary file behind.
#include "base/Errors.h"
#include "common/child_process.h"
#include "generator/PageSet.h"
#include "generator/QuizScript.h"
#include "generator/SpecHTML.h"
#include "site_test_support.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <random>
#include <string>

namespace tavimor {
namespace {

using namespace site_test;
using test::RunInChild;

// Every line ended by CR LF, lines split at CR, LF and CR LF, one byte at a time.
std::string ReferenceLines(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            out += "\r\n";
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out += text[i];
        }
    }
    if (!text.empty() && text.back() != '\r' && text.back() != '\n')
        out += "\r\n";
    return out;
}

TEST(PageWriter, PiecesEndingAnywhereGiveThePageStoredWhole)
{
    TempFolder folder;
    const std::string path = folder.File("page.htm");
    std::mt19937 random(42);
    for (int round = 0; round < 300; ++round) {
        std::string text(random() % (round < 250 ? 300 : 400000), ' ');
        for (char& c : text)
            c = "ab\r\n\xE9 "[random() % 6];
        PageWriter page(path);
        std::size_t at = 0;
        while (at < text.size()) {
            const std::size_t piece = std::min<std::size_t>(text.size() - at, 1 + random() % 70000);
            // Appended and stored by Spill, or stored right away by Write.
            if (random() % 2) {
                page.Text() += std::string_view(text).substr(at, piece);
                page.Spill();
            } else {
                page.Write(std::string_view(text).substr(at, piece));
            }
            at += piece;
        }
        page.Commit();
        ASSERT_EQ(ReadBytes(path), ReferenceLines(text)) << "round " << round;
    }
    EXPECT_EQ(folder.Names(), std::vector<std::string> {"page.htm"});
}

// A page of the file's form, stored behind, here or right away, tells its
// length and reads back what it was given so far from any offset.
TEST(PageWriter, APageReadBackWhileItIsBuiltIsWhatItWasGiven)
{
    TempFolder folder;
    const std::string path = folder.File("page.htm");
    std::mt19937 random(7);
    std::string text(3000000, ' ');
    for (char& c : text)
        c = "ab\r\n\xE9 "[random() % 6];
    text.back() = 'x'; // the last line is then ended by the commit
    PageWriter page(path, PageWriter::LineBreaks::CrLf, PageWriter::Length::Long);
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t piece = std::min<std::size_t>(text.size() - at, 1 + random() % 300000);
        const std::string_view given = std::string_view(text).substr(at, piece);
        switch (random() % 3) {
        case 0:
            page.Text() += given;
            page.Spill();
            break;
        case 1:
            page.Text() += given;
            page.SpillHere();
            break;
        default:
            page.Write(given);
        }
        at += piece;
        ASSERT_EQ(page.Offset(), at);
        if (random() % 4 == 0) {
            const std::size_t from = random() % (at + 10);
            std::string seen;
            page.ReadBack(from, [&](std::string_view back) { seen = back; });
            ASSERT_TRUE(seen == std::string_view(text).substr(std::min(from, at), at - std::min(from, at))) << from;
        }
    }
    page.Commit();
    EXPECT_TRUE(ReadBytes(path) == text + "\r\n");
}

TEST(PageWriter, AnUnfinishedPageLeavesThePreviousOne)
{
    TempFolder folder;
    const std::string path = folder.Write("page.htm", "ancienne page\r\n");
    {
        PageWriter page(path);
        page.Write("nouvelle page");
        // No Commit: an error stopped the page.
    }
    EXPECT_EQ(ReadBytes(path), "ancienne page\r\n");
    EXPECT_EQ(folder.Names(), std::vector<std::string> {"page.htm"});
}

// A quiz whose script is several chunks long, with every kind of text.
TQuizDocument LongQuiz()
{
    TQuizDocument doc;
    ResetToStartupState(doc, "");
    for (int k = 1; k <= 3000; ++k) {
        AddQuestion(doc,
            {k % 4 == 0 ? TRepType::rOList : TRepType::rKWZ,
                "Question " + std::to_string(k) + " : \xE9t\xE9 \"chaud\" (<option>) ?",
                {"R\xE9ponse (a)", "R\xE9ponse \"b\"", "c\\d"}, k % 3, 1 + k % 3});
        TQuest& q = doc.Quests.Quest(k);
        q.UseGenMess[0] = false;
        q.Mess[0] = "Non (" + std::to_string(k) + ") : voir \xE0 nouveau" + std::string(k % 300, 'x');
    }
    return doc;
}

TEST(PageWriter, StreamedScriptAndExamAreThePagesStoredWhole)
{
    TempFolder folder;
    const TQuizDocument doc = LongQuiz();
    const NamedGifs gifs;
    THKWZ site(doc, gifs);
    site.DocumentPath = folder.File("Long.kwz");
    site.PrefsDir = folder.File("Prefs/");
    ASSERT_TRUE(site.Produce(true).Produced);

    const std::string script = TJSM().MakeScript(doc.Quests, doc.Header.UseCertainty, site.ResumBody);
    ASSERT_GT(script.size(), 1000000u);
    EXPECT_EQ(ReadBytes(site.PagesDir + "Long.js"), ReferenceLines(script));

    for (const bool key : {false, true}) {
        ASSERT_TRUE(site.WriteExam(key));
        EXPECT_EQ(ReadBytes(site.ExamPath(key)), ReferenceLines(site.ExamPage(key)));
    }
}

TEST(PageWriter, AFailedWriteKeepsThePreviousPagesAndLeavesNoTemporaryFile)
{
    TempFolder folder;
    TQuizDocument small;
    ResetToStartupState(small, "");
    AddSimpleQuestions(small, 3);
    const NamedGifs gifs;
    THKWZ site(small, gifs);
    site.DocumentPath = folder.File("Quiz.kwz");
    site.PrefsDir = folder.File("Prefs/");
    ASSERT_TRUE(site.Produce(true).Produced);
    const std::vector<std::string> files = FilesUnder(folder.File("Quiz"));
    const std::string script = ReadBytes(site.PagesDir + "Quiz.js");
    const std::string quest = ReadBytes(site.PagesDir + "quest.htm");

    // The same site again from a document whose script is past the size
    // limit of the process: the write fails half-way.
    const TQuizDocument big = LongQuiz();
    // 0: "Stream write error"; 1: another error; 2: reported as produced.
    const int status = RunInChild([&] {
        const rlimit limit {256 * 1024, 256 * 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, SIG_IGN);
        THKWZ again(big, gifs);
        again.DocumentPath = site.DocumentPath;
        again.PrefsDir = site.PrefsDir;
        try {
            again.Produce(true);
        } catch (const Error& e) {
            return std::string(e.what()) == "Stream write error" ? 0 : 1;
        }
        return 2;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(FilesUnder(folder.File("Quiz")), files); // no temporary file is left
    EXPECT_EQ(ReadBytes(site.PagesDir + "Quiz.js"), script);
    EXPECT_EQ(ReadBytes(site.PagesDir + "quest.htm"), quest);

    // A single page too long for the limit, over one that exists.
    const std::string page = folder.Write("page.htm", "ancienne page\r\n");
    const int single = RunInChild([&] {
        const rlimit limit {4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, SIG_IGN);
        try {
            SavePage(page, std::string(10000, 'x'));
        } catch (const StreamWriteError&) {
            return 0;
        }
        return 2;
    });
    EXPECT_EQ(single, 0);
    EXPECT_EQ(ReadBytes(page), "ancienne page\r\n");
    EXPECT_EQ(folder.Names(), (std::vector<std::string> {"Prefs", "Quiz", "page.htm"}));
}

} // namespace
} // namespace tavimor
