// The printable exam and its answer key: choice columns, the bold right choice
// of the key, entities, and where the pages and their style sheet land.
#include "generator/PageSet.h"

#include "site_test_support.h"

#include <gtest/gtest.h>

#include <ostream>

namespace tavimor {
namespace {

using namespace site_test;

struct ExamSite {
    ExamSite()
    {
        site.DocumentPath = folder.Path() + "Examen.kwz";
        site.PrefsDir = folder.Path() + "Prefs/";
        site.Notify = [this](const std::string& message) { messages.push_back(message); };
    }

    TempFolder folder;
    TQuizDocument doc;
    NamedGifs gifs;
    THKWZ site {doc, gifs};
    std::vector<std::string> messages;
};

// The number of choices in each column of the first question's table.
std::vector<int> ColumnSizes(const std::string& questions)
{
    std::vector<int> sizes {0};
    const std::string table = questions.substr(0, questions.find("</ul></TD></TR></TABLE>"));
    std::istringstream lines(table.substr(table.find("<ul>\n") + 5));
    for (std::string line; std::getline(lines, line);) {
        if (line == "</UL></TD><TD vAlign=top><UL>")
            sizes.push_back(0);
        else if (line.rfind("<LI> ", 0) == 0)
            ++sizes.back();
    }
    if (sizes == std::vector<int> {0})
        return {};
    return sizes;
}

struct ColumnCase {
    int choices;
    int columns;
    std::vector<int> sizes;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const ColumnCase& c, std::ostream* os)
{
    *os << c.choices << " choices in " << c.columns << " columns";
}

class ExamColumns : public ::testing::TestWithParam<ColumnCase> { };

TEST_P(ExamColumns, SplitTheChoices)
{
    const ColumnCase& c = GetParam();
    ExamSite s;
    std::vector<std::string> reps;
    for (int i = 0; i < c.choices; ++i)
        reps.push_back("choix " + std::to_string(i));
    AddQuestion(s.doc, {TRepType::rKWZ, "Q", reps, 0, c.columns});
    EXPECT_EQ(ColumnSizes(s.site.ExamQuestions(false)), c.sizes);
    EXPECT_EQ(ColumnSizes(s.site.ExamQuestions(true)), c.sizes);
}

INSTANTIATE_TEST_SUITE_P(Cases, ExamColumns,
    ::testing::Values(ColumnCase {3, 1, {3}}, ColumnCase {3, 0, {3}}, ColumnCase {4, 2, {2, 2}},
        ColumnCase {5, 2, {2, 3}}, ColumnCase {6, 3, {2, 3, 1}}, ColumnCase {7, 3, {2, 3, 2}}, ColumnCase {2, 3, {2}},
        ColumnCase {0, 1, {}}));

TEST(Exam, KeyMarksTheRightChoiceInBold)
{
    ExamSite s;
    AddQuestion(s.doc, {TRepType::rKWZ, "Q1", {"un", "deux", "trois"}, 1, 1});
    AddQuestion(s.doc, {TRepType::rKWZ, "Q2", {"oui", "non"}, -1, 1});
    const std::string key = s.site.ExamQuestions(true);
    EXPECT_NE(key.find("<LI> un<BR>\n<LI> <b>deux</b><BR>\n<LI> trois<BR>\n"), std::string::npos);
    EXPECT_NE(key.find("<LI> oui<BR>\n<LI> non<BR>\n"), std::string::npos);
    EXPECT_EQ(key.find("<b>", key.find("Q2")), std::string::npos);
    EXPECT_EQ(s.site.ExamQuestions(false).find("<b>"), std::string::npos);
}

TEST(Exam, TextsBecomeEntitiesAndKeepTheirMarkup)
{
    ExamSite s;
    AddQuestion(s.doc, {TRepType::rKWZ, "R\xE9ponse <I>\xE0</I> \xD7 2", {"\xC9t\xE9", "<B>hiver</B>"}, 0, 1});
    AddQuestion(s.doc, {TRepType::rOList, "Le <option> est lent.", {"tr\xE8s", "peu"}, 0, 0});
    const std::string exam = s.site.ExamQuestions(true);
    EXPECT_NE(exam.find("<LI>R&eacute;ponse <I>&agrave;</I> \xD7 2\n"), std::string::npos);
    EXPECT_NE(exam.find("<LI> <b>&Eacute;t&eacute;</b><BR>\n<LI> <B>hiver</B><BR>\n"), std::string::npos);
    EXPECT_NE(exam.find("<LI>Le ____________est lent.\n"), std::string::npos);
    EXPECT_NE(exam.find("<LI> <b>tr&egrave;s</b><BR>\n<LI> peu<BR>\n"), std::string::npos);
}

TEST(Exam, EachQuestionHasItsCommentAndTable)
{
    ExamSite s;
    AddQuestion(s.doc, {TRepType::rKWZ, "Sans choix", {}, -1, 1});
    AddQuestion(s.doc, {TRepType::rKWZ, "Deux", {"a"}, 0, 1});
    EXPECT_EQ(s.site.ExamQuestions(false),
        "<P>\n<!-- question 1 -->\n\n<LI>Sans choix\n<br>\n<TABLE WIDTH=80% CELLSPACING=4><TR>\n"
        "<TD vAlign=top>\n<ul>\n</ul></TD></TR></TABLE>\n<br>"
        "\n<!-- question 2 -->\n\n<LI>Deux\n<br>\n<TABLE WIDTH=80% CELLSPACING=4><TR>\n"
        "<TD vAlign=top>\n<ul>\n<LI> a<BR>\n</ul></TD></TR></TABLE>\n<br>\n");
}

TEST(Exam, OnlyTheExamHasTheIdentificationBlanks)
{
    ExamSite s;
    AddSimpleQuestions(s.doc, 1);
    s.site.SetFolders();
    const std::string exam = s.site.ExamPage(false);
    const std::string key = s.site.ExamPage(true);
    EXPECT_NE(exam.find("<FORM NAME=\"ExamForm\">\n<TABLE ALIGN=CENTER><TR><TD WIDTH=350>\n"), std::string::npos);
    EXPECT_NE(key.find("<FORM NAME=\"ExamForm\">\n<P><hr><P>\n"), std::string::npos);
    EXPECT_EQ(key.find("Groupe"), std::string::npos);
}

TEST(Exam, WithoutAProductionTheFoldersAreMadeFirst)
{
    ExamSite s;
    AddQuestion(s.doc, {TRepType::rKWZ, "Seule question sans choix", {}, -1, 1});
    s.site.WriteExam(false);
    s.site.WriteExam(true);

    const std::string out = s.folder.Path() + "Examen/";
    EXPECT_EQ(s.site.OutDir, out);
    EXPECT_EQ(s.messages,
        (std::vector<std::string> {"Le r\xE9pertoire " + out + " vient d'\xEAtre cr\xE9\xE9.",
            "Le r\xE9pertoire " + out + "hPages/ vient d'\xEAtre cr\xE9\xE9."}));
    EXPECT_EQ(FilesUnder(out),
        (std::vector<std::string> {"Examenexm.htm", "Examensol.htm", "hPages/kwzStyle.css", "kwzStyle.css"}));
    const std::string css = s.doc.Style.MakeStyleSheet();
    EXPECT_EQ(ReadBytes(out + "kwzStyle.css"), css);
    EXPECT_EQ(ReadBytes(out + "hPages/kwzStyle.css"), css);
    EXPECT_NE(ReadBytes(out + "Examenexm.htm").find("Groupe"), std::string::npos);
    EXPECT_EQ(ReadBytes(out + "Examensol.htm").find("Groupe"), std::string::npos);
}

TEST(Exam, GoesToTheFolderOfTheLastProduction)
{
    ExamSite s;
    AddSimpleQuestions(s.doc, 2);
    ASSERT_TRUE(s.site.Produce(true).Produced);
    s.site.DocumentPath = s.folder.Path() + "Autre.kwz"; // another document opened since
    s.site.WriteExam(false);
    EXPECT_TRUE(fs::exists(s.folder.Path() + "Examen/Examenexm.htm"));
    EXPECT_FALSE(fs::exists(s.folder.Path() + "Autre"));
}

} // namespace
} // namespace tavimor
