// The text form of a quiz: the exported text byte for byte, the export file
// name, and what the import reads back (and what it still ignores).
#include "base/Errors.h"
#include "model/TextExchange.h"
#include "model/sample_document.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace tavimor {
namespace {

using test::Add;
using test::Question;
using test::StartupDocument;

void SetPages(THMPList& pages, const std::vector<std::string>& texts)
{
    for (int page = 0; page < THMPList::kPageCount; ++page) {
        pages.SetTitle(page, texts[static_cast<std::size_t>(2 * page)]);
        pages.SetBody(page, texts[static_cast<std::size_t>(2 * page + 1)]);
    }
}

// A small quiz whose export text is written out by hand below.
TQuizDocument SmallQuiz()
{
    TQuizDocument doc;
    QuizHeader& h = doc.Header;
    h.AuthorName = "Marie Dupont";
    h.Email = "marie@example.org";
    h.Institution = "Coll\xE8ge du Lac";
    h.Url = "http://example.org";
    h.CountSentence = "Ce module compte <Q> questions.";
    h.CertSentence = "Je suis certain(e) de cette r\xE9ponse.";
    doc.Quests.NoAnswerMess = "Pas de r\xE9ponse.";
    h.DefaultPoints = "5";
    doc.Quests.GenMess[0] = {"Faux.",
        "Non, ce n'est pas \xE7"
        "a."};
    doc.Quests.GenMess[1] = {"Bravo!"};
    SetPages(doc.Pages,
        {"Bienvenue", "Bonne chance", "Termin\xE9?", "Revoyez vos r\xE9ponses.", "R\xE9sultats",
            "Voici vos r\xE9sultats."});
    Add(doc, Question(TRepType::rTrue, "La Terre est ronde.", {"Vrai", "Faux"}, 0));
    Add(doc, Question(TRepType::rKWZ, "Sans choix", {}, -1));
    Add(doc, Question(TRepType::rOList, "Paris est la <option> de la France.", {"capitale", "ville"}, 0));
    return doc;
}

const char* const kSmallQuizText = "\r\n"
                                   "#################################################\r\n"
                                   "##       text output of Tavimor version 2.71##\r\n"
                                   "##   ne pas modifier ce fichier ou sinon       ##\r\n"
                                   "##   qu'avec prudence et circonspection        ##\r\n"
                                   "#################################################\r\n"
                                   "\r\n"
                                   "<main section>\r\n"
                                   "Bienvenue\r\n"
                                   "$d1=Marie Dupont\r\n"
                                   "marie@example.org\r\n"
                                   "Coll\xE8ge du Lac\r\n"
                                   "http://example.org\r\n"
                                   "Ce module compte <Q> questions.\r\n"
                                   "Je suis certain(e) de cette r\xE9ponse.\r\n"
                                   "Pas de r\xE9ponse.\r\n"
                                   "5\r\n"
                                   "</main section>\r\n"
                                   "\r\n"
                                   "<GenMessages>\r\n"
                                   "$d2=2$d2Mess=Faux.\r\n"
                                   "Non, ce n'est pas \xE7"
                                   "a.\r\n"
                                   "1$d2Mess=Bravo!\r\n"
                                   "</GenMessages>\r\n"
                                   "\r\n"
                                   "<specMessages>\r\n"
                                   "$d3=Bienvenue\r\n"
                                   "Bonne chance\r\n"
                                   "Termin\xE9?\r\n"
                                   "Revoyez vos r\xE9ponses.\r\n"
                                   "R\xE9sultats\r\n"
                                   "Voici vos r\xE9sultats.\r\n"
                                   "</specMessages>\r\n"
                                   "\r\n"
                                   "<QUESTIONS>\r\n"
                                   "$nQuest=3\r\n"
                                   "<quest>\r\n"
                                   "$qType=1\r\n"
                                   "La Terre est ronde.\r\n"
                                   "$nRep=20\r\n"
                                   "$r1=Vrai$r2=Faux$r\r\n"
                                   "</quest>\r\n"
                                   "<quest>\r\n"
                                   "$qType=0\r\n"
                                   "Sans choix\r\n"
                                   "$nRep=0-1\r\n"
                                   "$r\r\n"
                                   "</quest>\r\n"
                                   "<quest>\r\n"
                                   "$qType=2\r\n"
                                   "Paris est la <option> de la France.\r\n"
                                   "$nRep=20\r\n"
                                   "$r1=capitale$r2=ville$r\r\n"
                                   "</quest>\r\n"
                                   "</QUESTIONS>\r\n"
                                   "\r\n";

TEST(TextExport, WritesTheWholeTextByteForByte)
{
    EXPECT_EQ(ExportText(SmallQuiz()), kSmallQuizText);
}

TEST(TextExport, EmptyDocumentEndsWithAnEmptyQuestionSection)
{
    const std::string text = ExportText(TQuizDocument {});
    const std::string tail = "<QUESTIONS>\r\n$nQuest=0\r\n</QUESTIONS>\r\n\r\n";
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
}

TEST(TextExport, ValuesAreRawAndEveryLineBreakBecomesCrLf)
{
    TQuizDocument doc;
    doc.Header.AuthorName = "Ligne 1\nLigne 2";
    doc.Pages.SetBody(0, "a\rb\r\nc");
    Add(doc, Question(TRepType::rKWZ, "Deux\nlignes", {"x\ny", "z"}, 1));
    const std::string text = ExportText(doc);

    EXPECT_NE(text.find("$d1=Ligne 1\r\nLigne 2\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\na\r\nb\r\nc\r\n"), std::string::npos);
    EXPECT_NE(text.find("$qType=0\r\nDeux\r\nlignes\r\n$nRep=21\r\n$r1=x\r\ny$r2=z$r\r\n"), std::string::npos);
    // No bare CR or LF is left anywhere.
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            ASSERT_EQ(text[i + 1], '\n') << "at " << i;
        }
        if (text[i] == '\n') {
            ASSERT_EQ(text[i - 1], '\r') << "at " << i;
        }
    }
}

TEST(TextExport, NumbersOfTenAndMoreAreWrittenWhole)
{
    TQuizDocument doc;
    std::vector<std::string> reps;
    for (int k = 1; k <= 12; ++k)
        reps.push_back("c" + std::to_string(k));
    Add(doc, Question(TRepType::rKWZ, "Douze", reps, 11));
    doc.Quests.GenMess[0] = {};
    const std::string text = ExportText(doc);

    EXPECT_NE(text.find("\r\n$nRep=1211\r\n$r1=c1$r2=c2$r3=c3"), std::string::npos);
    EXPECT_NE(text.find("$r12=c12$r\r\n"), std::string::npos);
    // An empty bank still gives its count line.
    EXPECT_NE(text.find("<GenMessages>\r\n$d2=0$d2Mess=\r\n1$d2Mess="), std::string::npos);
}

TEST(TextExport, PathIsTheDocumentNameUpToItsFirstPoint)
{
    const std::map<std::string, std::string> cases {
        {"/home/prof/Quiz/quiz.kwz", "/home/prof/Quiz/quiz.txt"},
        {"/home/prof/mes.quiz/quiz.kwz", "/home/prof/mes.quiz/quiz.txt"},
        {"/home/prof/quiz.copie.kwz", "/home/prof/quiz.txt"},
        {"/home/prof/v1.2/sans", "/home/prof/v1.2/sans.txt"},
        {"quiz.kwz", "quiz.txt"},
        {"./quiz.kwz", "./quiz.txt"},
    };
    for (const auto& [document, expected] : cases)
        EXPECT_EQ(ExportTextPath(document), expected) << document;
    EXPECT_EQ(ExportTextMessage("/home/prof/mes.quiz/quiz.txt"),
        "Un fichier du nom de quiz.txt vient d'\xEAtre produit dans le dossier de Tavimor.");
}

// ---- import ---------------------------------------------------------------

void ExpectSameImportedQuestion(const TQuest& got, const TQuest& want, int n)
{
    SCOPED_TRACE("question " + std::to_string(n));
    EXPECT_EQ(got.QType, want.QType);
    EXPECT_EQ(got.QText, want.QText);
    EXPECT_EQ(got.Reps, want.Reps);
    EXPECT_EQ(got.NRep, want.Reps.size());
    EXPECT_EQ(got.GoodRep, want.GoodRep);
}

// A document none of whose exported values is a default, with the counts and
// indexes the old one-digit reading got wrong.
TQuizDocument VariedQuiz()
{
    TQuizDocument doc;
    QuizHeader& h = doc.Header;
    h.AuthorName = "Jos\xE9 \xC9lo\xEFse";
    h.Email = "jose@example.org";
    h.Institution = "Lyc\xE9"
                    "e $ & <b>";
    h.Url = "https://example.org/~jose";
    h.CountSentence = "<Q> questions en tout.";
    h.CertSentence = "S\xFBr?";
    doc.Quests.NoAnswerMess = "Rien \x96 dommage.";
    h.DefaultPoints = "abc";
    SetPages(doc.Pages,
        {"Entr\xE9"
         "e",
            "Corps <i>0</i>", "Fini?", "Corps 1", "Bilan", "Corps 2"});

    std::vector<std::string> ten;
    std::vector<std::string> twelve;
    for (int k = 1; k <= 12; ++k) {
        const std::string choice = "Choix n\xB0" + std::to_string(k);
        if (k <= 10)
            ten.push_back(choice);
        twelve.push_back(choice);
    }
    Add(doc, Question(TRepType::rKWZ, "Dix choix, le dernier bon", ten, 9));
    Add(doc, Question(TRepType::rKWZ, "Douze choix, le onzi\xE8me bon", twelve, 10));
    Add(doc, Question(TRepType::rKWZ, "Douze choix, aucun bon", twelve, -1));
    Add(doc, Question(TRepType::rTrue, "Vrai ou faux?", {"Vrai", "Faux"}, 1));
    Add(doc, Question(TRepType::rOList, "Le <option> est bleu.", {"ciel", "sol", "mur"}, 0));
    Add(doc, Question(TRepType::rKWZ, "Premi\xE8re ligne\r\nseconde ligne", {"a", "b"}, -1));
    Add(doc, Question(TRepType::rKWZ, "", {}, -1));
    return doc;
}

TEST(TextImport, ExportThenImportGivesBackEveryExportedField)
{
    const TQuizDocument original = VariedQuiz();
    TQuizDocument doc = StartupDocument();
    ImportText(doc, ExportText(original));

    const QuizHeader& got = doc.Header;
    const QuizHeader& want = original.Header;
    EXPECT_EQ(got.AuthorName, want.AuthorName);
    EXPECT_EQ(got.Email, want.Email);
    EXPECT_EQ(got.Institution, want.Institution);
    EXPECT_EQ(got.Url, want.Url);
    EXPECT_EQ(got.CountSentence, want.CountSentence);
    EXPECT_EQ(got.CertSentence, want.CertSentence);
    EXPECT_EQ(got.DefaultPoints, want.DefaultPoints);
    EXPECT_EQ(doc.Quests.NoAnswerMess, original.Quests.NoAnswerMess);
    for (int page = 0; page < THMPList::kPageCount; ++page) {
        EXPECT_EQ(doc.Pages.GetTitle(page), original.Pages.GetTitle(page)) << page;
        EXPECT_EQ(doc.Pages.GetBody(page), original.Pages.GetBody(page)) << page;
    }
    ASSERT_EQ(doc.Quests.Count(), original.Quests.Count());
    for (int n = 1; n <= doc.Quests.Count(); ++n)
        ExpectSameImportedQuestion(doc.Quests.Quest(n), original.Quests.Quest(n), n);
    EXPECT_EQ(doc.Quests.CurQ, doc.Quests.Count());
}

TEST(TextImport, FieldsTheTextDoesNotCarryKeepTheirNewDocumentValues)
{
    TQuizDocument original;
    TQuest rich = Question(TRepType::rKWZ, "Q", {"a", "b"}, 1);
    rich.Points = 7;
    rich.Priority = 2;
    rich.Columns = 3;
    rich.UseGenMess = {false, false};
    rich.Mess = {"faux!", "bon!"};
    rich.MessIdx = {1, 1};
    rich.UseExtFile = true;
    rich.ExtFile = "corr.htm";
    rich.ExtLink = "voir|Corrig\xE9";
    Add(original, rich);
    original.Quests.GenMess[0] = {"autre faux"};
    original.Pages.SetTitle(0, "Titre du module");

    TQuizDocument doc = StartupDocument();
    const auto banks = doc.Quests.GenMess;
    const QuizHeader labels = doc.Header;
    ImportText(doc, ExportText(original));

    ASSERT_EQ(doc.Quests.Count(), 1);
    TQuest expected = Question(TRepType::rKWZ, "Q", {"a", "b"}, 1);
    EXPECT_EQ(test::Fields(doc.Quests.Quest(1)), test::Fields(expected));
    // The generic messages are not read, nor are the labels or the flags.
    EXPECT_EQ(doc.Quests.GenMess, banks);
    EXPECT_EQ(doc.Header.AuthorLabel, labels.AuthorLabel);
    EXPECT_EQ(doc.Header.ShowCount, labels.ShowCount);
    EXPECT_EQ(doc.Header.UseCertainty, labels.UseCertainty);
}

TEST(TextImport, PageTextsGoThroughTheRememberingSetters)
{
    TQuizDocument doc = StartupDocument();
    std::map<std::pair<int, THMPList::TextKind>, std::string> remembered;
    doc.Pages.SetRememberHook([&remembered](int page, THMPList::TextKind kind, const std::string& text) {
        remembered[{page, kind}] = text;
    });
    ImportText(doc, ExportText(SmallQuiz()));

    using Kind = THMPList::TextKind;
    EXPECT_EQ((remembered[{1, Kind::Title}]), "Termin\xE9?");
    EXPECT_EQ((remembered[{1, Kind::Body}]), "Revoyez vos r\xE9ponses.");
    EXPECT_EQ((remembered[{2, Kind::Title}]), "R\xE9sultats");
    EXPECT_EQ((remembered[{2, Kind::Body}]), "Voici vos r\xE9sultats.");
}

// A text with the given question section and a minimal head.
std::string TextWithQuestions(const std::string& section)
{
    return "$d1=A\r\nB\r\nC\r\nD\r\nE\r\nF\r\nG\r\n10\r\n$d3=T0\r\nB0\r\nT1\r\nB1\r\nT2\r\nB2\r\n<QUESTIONS>\r\n"
        + section + "</QUESTIONS>\r\n";
}

std::string Block(
    const std::string& type, const std::string& text, const std::string& count, const std::string& choices)
{
    return "<quest>\r\n$qType=" + type + "\r\n" + text + "\r\n$nRep=" + count + "\r\n" + choices + "\r\n</quest>\r\n";
}

TEST(TextImport, AppendsOnlyTheQuestionsTheTextHolds)
{
    struct Case {
        const char* name;
        std::string section;
        int expectedCount;
    };
    const std::string two = Block("0", "Un", "21", "$r1=a$r2=b$r") + Block("1", "Deux", "20", "$r1=Vrai$r2=Faux$r");
    const std::vector<Case> cases {
        {"announces more", "$nQuest=5\r\n" + two, 2},
        {"announces fewer", "$nQuest=1\r\n" + two, 1},
        {"announces none", "$nQuest=0\r\n" + two, 0},
        {"negative count", "$nQuest=-3\r\n" + two, 0},
        {"holds none", "$nQuest=4\r\n", 0},
        {"count with blanks", "$nQuest=  2 \t\r\n" + two, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TQuizDocument doc = StartupDocument();
        ImportText(doc, TextWithQuestions(c.section));
        ASSERT_EQ(doc.Quests.Count(), c.expectedCount);
        if (c.expectedCount >= 1) {
            EXPECT_EQ(doc.Quests.Quest(1).QText, "Un");
            EXPECT_EQ(doc.Quests.Quest(1).Reps, (std::vector<std::string> {"a", "b"}));
            EXPECT_EQ(doc.Quests.Quest(1).GoodRep, 1);
        }
        if (c.expectedCount >= 2) {
            EXPECT_EQ(doc.Quests.Quest(2).QType, TRepType::rTrue);
            EXPECT_EQ(doc.Quests.Quest(2).Reps, (std::vector<std::string> {"Vrai", "Faux"}));
            EXPECT_EQ(doc.Quests.Quest(2).GoodRep, 0);
        }
    }
}

TEST(TextImport, ReadsTheCountAndCorrectIndexFromTheChoiceLine)
{
    struct Case {
        const char* count;
        const char* choices;
        std::vector<std::string> reps;
        int goodRep;
    };
    const std::vector<Case> cases {
        {"0-1", "$r", {}, -1},
        {"21", "$r1=a$r2=b$r", {"a", "b"}, 1},
        {"2-1", "$r1=a$r2=b$r", {"a", "b"}, -1},
        {"11", "$r1= a  $r", {"a"}, -1}, // index 1 of one choice names none
        {"1010", "$r1=1$r2=2$r3=3$r4=4$r5=5$r6=6$r7=7$r8=8$r9=9$r10=10$r",
            {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}, -1},
        {"109", "$r1=1$r2=2$r3=3$r4=4$r5=5$r6=6$r7=7$r8=8$r9=9$r10=10$r",
            {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}, 9},
        // More choices announced than written: those written are kept.
        {"30", "$r1=a$r2=b$r", {"a", "b"}, 0},
        // Fewer announced than written: only those announced.
        {"10", "$r1=a$r2=b$r", {"a"}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.count) + " " + c.choices);
        TQuizDocument doc = StartupDocument();
        ImportText(doc, TextWithQuestions("$nQuest=1\r\n" + Block("0", "Q", c.count, c.choices)));
        ASSERT_EQ(doc.Quests.Count(), 1);
        EXPECT_EQ(doc.Quests.Quest(1).Reps, c.reps);
        EXPECT_EQ(doc.Quests.Quest(1).NRep, c.reps.size());
        EXPECT_EQ(doc.Quests.Quest(1).GoodRep, c.goodRep);
    }
}

TEST(TextImport, UnreadableNumbersStopWithTheIntegerError)
{
    struct Case {
        const char* name;
        std::string section;
        const char* message;
        int questionsLeft;
    };
    const std::string good = Block("0", "Bon", "21", "$r1=a$r2=b$r");
    const std::vector<Case> cases {
        {"count", "$nQuest=deux\r\n" + good, "'deux' is not a valid integer value", 0},
        {"empty count", "$nQuest=\r\n" + good, "'' is not a valid integer value", 0},
        {"type", "$nQuest=2\r\n" + good + Block("x", "Q", "21", "$r1=a$r2=b$r"), "'x' is not a valid integer value", 2},
        {"choice count", "$nQuest=2\r\n" + good + Block("0", "Q", "z1", "$r1=a$r2=b$r"),
            "'z' is not a valid integer value", 2},
        {"correct index", "$nQuest=2\r\n" + good + Block("0", "Q", "2", "$r1=a$r2=b$r"),
            "'' is not a valid integer value", 2},
        {"index sign only", "$nQuest=2\r\n" + good + Block("0", "Q", "2-", "$r1=a$r2=b$r"),
            "'-' is not a valid integer value", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TQuizDocument doc = StartupDocument();
        try {
            ImportText(doc, TextWithQuestions(c.section));
            ADD_FAILURE() << "no error";
        } catch (const ConvertError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
        // What came before the error stays.
        EXPECT_EQ(doc.Header.AuthorName, "A");
        EXPECT_EQ(doc.Pages.GetBody(2), "B2");
        EXPECT_EQ(doc.Quests.Count(), c.questionsLeft);
        if (c.questionsLeft >= 1) {
            EXPECT_EQ(doc.Quests.Quest(1).QText, "Bon");
        }
    }
}

TEST(TextImport, StopsWhereAMarkerIsMissing)
{
    {
        SCOPED_TRACE("no $d1=");
        TQuizDocument doc = StartupDocument();
        const TQuizDocument before = StartupDocument();
        ImportText(doc, "<main section>\r\nauteur\r\n$d3=T\r\n$nQuest=1\r\n<quest>\r\n$qType=0\r\nQ\r\n</quest>\r\n");
        EXPECT_EQ(test::Fields(doc.Header), test::Fields(before.Header));
        EXPECT_EQ(doc.Pages.GetTitle(1), before.Pages.GetTitle(1));
        EXPECT_EQ(doc.Quests.Count(), 0);
    }
    {
        SCOPED_TRACE("empty text");
        TQuizDocument doc = StartupDocument();
        ImportText(doc, "");
        EXPECT_EQ(doc.Quests.Count(), 0);
    }
    {
        SCOPED_TRACE("no $d3=");
        TQuizDocument doc = StartupDocument();
        ImportText(doc, "$d1=Nom\r\nmail\r\n$nQuest=1\r\n<quest>\r\n$qType=0\r\nQ\r\n$nRep=0-1\r\n$r\r\n</quest>\r\n");
        EXPECT_EQ(doc.Header.AuthorName, "Nom");
        EXPECT_EQ(doc.Header.Email, "mail");
        EXPECT_EQ(doc.Pages.GetTitle(1), "Termin\xE9?");
        EXPECT_EQ(doc.Quests.Count(), 0);
    }
}

TEST(TextImport, ReadsBareLineFeedsAsLineBreaks)
{
    std::string text = ExportText(SmallQuiz());
    std::string bare;
    for (const char c : text)
        if (c != '\r')
            bare += c;
    TQuizDocument doc = StartupDocument();
    ImportText(doc, bare);
    EXPECT_EQ(doc.Quests.NoAnswerMess, "Pas de r\xE9ponse.");
    EXPECT_EQ(doc.Pages.GetBody(2), "Voici vos r\xE9sultats.");
    ASSERT_EQ(doc.Quests.Count(), 3);
    EXPECT_EQ(doc.Quests.Quest(3).QText, "Paris est la <option> de la France.");
    EXPECT_EQ(doc.Quests.Quest(3).Reps, (std::vector<std::string> {"capitale", "ville"}));
}

// What the text form cannot carry is still lost the way it always was.
TEST(TextImport, KeepsTheLimitsOfTheTextForm)
{
    {
        SCOPED_TRACE("a header value with a line break shifts the ones after it");
        TQuizDocument original = SmallQuiz();
        original.Header.AuthorName = "Marie\r\nDupont";
        TQuizDocument doc = StartupDocument();
        ImportText(doc, ExportText(original));
        EXPECT_EQ(doc.Header.AuthorName, "Marie");
        EXPECT_EQ(doc.Header.Email, "Dupont");
        EXPECT_EQ(doc.Header.Institution, "marie@example.org");
        EXPECT_EQ(doc.Header.DefaultPoints, "Pas de r\xE9ponse.");
    }
    {
        SCOPED_TRACE("a choice holding $r is cut there; texts are trimmed");
        TQuizDocument original;
        Add(original, Question(TRepType::rKWZ, "  Prix en $ ?  ", {"10 $rond", " b "}, 1));
        TQuizDocument doc = StartupDocument();
        ImportText(doc, ExportText(original));
        ASSERT_EQ(doc.Quests.Count(), 1);
        EXPECT_EQ(doc.Quests.Quest(1).QText, "Prix en $ ?");
        EXPECT_EQ(doc.Quests.Quest(1).Reps, (std::vector<std::string> {"10", "b"}));
    }
    {
        SCOPED_TRACE("the entry-page title of the main section is not read");
        const std::string text = "<main section>\r\nIgnor\xE9\r\n$d1=A\r\nB\r\nC\r\nD\r\nE\r\nF\r\nG\r\nH\r\n"
                                 "$d3=Lu\r\nb0\r\nt1\r\nb1\r\nt2\r\nb2\r\n$nQuest=0\r\n";
        TQuizDocument doc = StartupDocument();
        ImportText(doc, text);
        EXPECT_EQ(doc.Pages.GetTitle(0), "Lu");
        EXPECT_EQ(doc.Header.DefaultPoints, "H");
    }
}

} // namespace
} // namespace tavimor
