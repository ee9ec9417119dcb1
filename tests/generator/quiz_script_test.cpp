// The quiz script: its data sections are compared with texts written by hand,
// its functions are checked for name, order and fixed fragments, and its logic
// is run in node against fake frames (script_logic.test.mjs).
#include "common/temp_folder.h"
#include "generator/QuizScript.h"
#include "model/QuestModel.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace tavimor {
namespace {

namespace fs = std::filesystem;

struct QuestSpec {
    TRepType type = TRepType::rKWZ;
    std::string text;
    std::vector<std::string> reps;
    int goodRep = -1;
    std::uint16_t columns = 1;
    std::uint16_t points = 0;
};

// Appends a question and returns its number.
int AddQuestion(TQuestList& quiz, const QuestSpec& spec)
{
    const int n = quiz.AddQuest();
    TQuest& q = quiz.Quest(n);
    q.QType = spec.type;
    q.QText = spec.text;
    q.Reps = spec.reps;
    q.NRep = static_cast<std::uint16_t>(spec.reps.size());
    q.GoodRep = spec.goodRep;
    q.Columns = spec.columns;
    q.Points = spec.points;
    return n;
}

void UseOwnMessage(TQuestList& quiz, int n, int side, const std::string& text)
{
    quiz.Quest(n).UseGenMess[side] = false;
    quiz.Quest(n).Mess[side] = text;
}

// The script with LF line breaks, as the expectations below are written. The
// script itself has CR LF and nothing else: no lone CR or LF.
std::string Script(const TQuestList& quiz, bool certainty = false, const std::string& resum = "")
{
    const std::string script = TJSM().MakeScript(quiz, certainty, resum);
    std::string lines;
    for (std::size_t i = 0; i < script.size(); ++i) {
        const bool crlf = script[i] == '\r' && i + 1 < script.size() && script[i + 1] == '\n';
        EXPECT_TRUE(crlf || (script[i] != '\r' && script[i] != '\n')) << "lone line break at " << i;
        if (crlf)
            ++i;
        lines += script[i];
    }
    return lines;
}

// The text from the first occurrence of `from` up to (not including) `to`.
std::string Between(const std::string& text, const std::string& from, const std::string& to)
{
    const auto start = text.find(from);
    if (start == std::string::npos)
        return "<missing " + from + ">";
    const auto end = text.find(to, start);
    if (end == std::string::npos)
        return "<missing " + to + ">";
    return text.substr(start, end - start);
}

const std::string kSlashes(66, '/');

TQuestList TwoQuestions()
{
    TQuestList quiz;
    AddQuestion(quiz, {TRepType::rKWZ, "Un", {"a", "b"}, 0});
    AddQuestion(quiz, {TRepType::rKWZ, "Deux", {"c", "d"}, 1});
    return quiz;
}

TEST(QuizScriptGlobals, WithoutCertainty)
{
    TQuestList quiz;
    AddQuestion(quiz, {TRepType::rKWZ, "Un", {"a", "b"}, 0, 1, 7});
    AddQuestion(quiz, {TRepType::rKWZ, "Deux", {"c", "d"}, 1, 1, 5});
    quiz.NoAnswerMess = "Vous n'avez pas r\xE9pondu \"(ici)\".";
    const std::string script = Script(quiz, false, "Bonne r\xE9vision\nde \"tout\"");

    const std::string expected = "var main= document\n"
                                 "if (parent != null) main=parent.main.document;\n"
                                 "var dataForm = parent.topMenu.dataForm;\n"
                                 "\n"
                                 "var Resum=\"Bonne r&eacute;visionde \\\"tout\\\"\"\n"
                                 "var maxQ=2\n"
                                 "var curQ= dataForm.curQD.value;\n"
                                 "var QMode = dataForm.QModeD.value;\n"
                                 "var resultOn = false \n"
                                 "var maxPnts = 12\n"
                                 "var NAM = \"Vous n'avez pas r\xE9pondu \\\"\\(ici\\)\\\".\"\n"
                                 "var rString = dataForm.rStrD.value;\n"
                                 "var cString = dataForm.cStrD.value;\n"
                                 "var ICertShow = false;\n"
                                 "\n"
                                 "function loadTwo(page2, page3) {\n";
    EXPECT_EQ(script.substr(0, expected.size()), expected);
}

TEST(QuizScriptGlobals, CertaintyLineHasATrailingBlank)
{
    const std::string script = Script(TwoQuestions(), true);
    EXPECT_NE(script.find("\nvar cString = dataForm.cStrD.value;\nvar ICertShow = true; \n\nfunction loadTwo("),
        std::string::npos);
    EXPECT_EQ(script.find("ICertShow = false"), std::string::npos);
}

TEST(QuizScriptGlobals, TotalPointsWrapAt65536)
{
    TQuestList quiz;
    AddQuestion(quiz, {TRepType::rKWZ, "Un", {"a"}, 0, 1, 65535});
    AddQuestion(quiz, {TRepType::rKWZ, "Deux", {"b"}, 0, 1, 3});
    EXPECT_NE(Script(quiz).find("\nvar maxPnts = 2\n"), std::string::npos);
}

// The data sections of a small quiz of every type, written by hand.
TEST(QuizScriptData, MessageAndQuestionSectionsOfASmallQuiz)
{
    TQuestList quiz;
    AddQuestion(quiz, {TRepType::rKWZ, "O\xF9 est \"Rome\" (Italie)?", {"Rome", "Milan", "G\xEAnes"}, 0, 2, 3});
    const int q2 = AddQuestion(quiz, {TRepType::rTrue, "La Terre est ronde.", {"Vrai", "Faux"}, 0, 1, 0});
    UseOwnMessage(quiz, q2, 0, "Relisez le chapitre 1.");
    AddQuestion(quiz, {TRepType::rOList, "Paris est la <option> de la France.", {"capitale", "ville"}, -1, 0, 0});

    const std::string expected
        = "var maxBM = 1; var bMess = new Array(maxBM)\n"
          "var maxGM = 0; var gMess = new Array(maxGM)\n"
          "bMess[0]=\"Cette r\xE9ponse est fausse.\"\n"
          "bMess[1]=\"Relisez le chapitre 1.\"\n"
          "gMess[0]=\"Cette r\xE9ponse est la bonne.\"\n"
          "\n"
          "\n"
          "var Q = new Array(maxQ -1)\n"
          "function TQuest(text, qType, mChx, chx, CGood, CGiven, rCols, rq, CertVal, pnts, ss){}\n"
          "\n"
          "Q[0]= new TQuest()\n"
          "Q[0].text= \"O&ugrave; est \\\"Rome\\\" \\(Italie\\)?\"\n"
          "Q[0].qType =0 ; Q[0].mChx =3 ; Q[0].chx = new Array(Q[0].mChx)\n"
          "Q[0].chx[0] = \"Rome\"\n"
          "Q[0].chx[1] = \"Milan\"\n"
          "Q[0].chx[2] = \"G&ecirc;nes\"\n"
          "Q[0].CGood =0 ; Q[0].CGiven =-1 ; Q[0].rCols =2 ; Q[0].rq = new Array(0,0)\n"
          "Q[0].pnts = 3 ; Q[0].ss = false ; Q[0].CertVal = 0 ; \n"
          "\n"
          "Q[1]= new TQuest()\n"
          "Q[1].text= \"La Terre est ronde.\"\n"
          "Q[1].qType =1 ; Q[1].mChx =2 ; Q[1].chx = new Array(Q[1].mChx)\n"
          "Q[1].chx[0] = \"Vrai\"\n"
          "Q[1].chx[1] = \"Faux\"\n"
          "Q[1].CGood =0 ; Q[1].CGiven =-1 ; Q[1].rCols =1 ; Q[1].rq = new Array(1,0)\n"
          "Q[1].pnts = 0 ; Q[1].ss = false ; Q[1].CertVal = 0 ; \n"
          "\n"
          "Q[2]= new TQuest()\n"
          "Q[2].text= \"Paris est la <select><option><option>capitale<option>ville</select>  "
          "&nbsp;de la France.\"\n"
          "Q[2].qType =2 ; Q[2].mChx =3 ; Q[2].chx = new Array(Q[2].mChx)\n"
          "Q[2].chx[0] = \" \"\n"
          "Q[2].chx[1] = \"capitale\"\n"
          "Q[2].chx[2] = \"ville\"\n"
          "Q[2].CGood =65536 ; Q[2].CGiven =-1 ; Q[2].rCols =0 ; Q[2].rq = new Array(0,0)\n"
          "Q[2].pnts = 0 ; Q[2].ss = false ; Q[2].CertVal = 0 ; \n"
          "\n"
          "\n"
          "\n"
        + kSlashes + "\n";
    const std::string script = Script(quiz);
    EXPECT_EQ(Between(script, "var maxBM", kSlashes) + kSlashes + "\n", expected);
    // The message section follows the two mode functions, each closed by a blank line.
    EXPECT_NE(script.find("\tdataForm.QModeD.value = QMode;\n}\n\nvar maxBM = 1;"), std::string::npos);
}

// How the feedback texts of the questions fill the two banks.
TEST(QuizScriptData, MessageBanks)
{
    const std::string longText(300, 'x');
    struct Case {
        const char* name;
        // Called on a quiz of two questions before the script is made.
        void (*setUp)(TQuestList& quiz, const std::string& longText);
        std::string bankLines; // from "var maxBM" to the empty line ending the section
        std::string rq1;
        std::string rq2;
    };
    const std::string wrong = "Cette r\xE9ponse est fausse.";
    const std::string right = "Cette r\xE9ponse est la bonne.";
    const std::vector<Case> cases = {
        {"two questions share one generic message", [](TQuestList&, const std::string&) {},
            "var maxBM = 0; var bMess = new Array(maxBM)\nvar maxGM = 0; var gMess = new Array(maxGM)\nbMess[0]=\""
                + wrong + "\"\ngMess[0]=\"" + right + "\"\n",
            "(0,0)", "(0,0)"},
        {"an own message identical to a generic one shares its entry",
            [](TQuestList& quiz, const std::string&) { UseOwnMessage(quiz, 2, 1, "Cette r\xE9ponse est la bonne."); },
            "var maxBM = 0; var bMess = new Array(maxBM)\nvar maxGM = 0; var gMess = new Array(maxGM)\nbMess[0]=\""
                + wrong + "\"\ngMess[0]=\"" + right + "\"\n",
            "(0,0)", "(0,0)"},
        {"banks fill in order of first use",
            [](TQuestList& quiz, const std::string&) {
                quiz.GenMess[0].push_back("Non.");
                quiz.Quest(1).MessIdx[0] = 1;
                UseOwnMessage(quiz, 2, 1, "Bravo \"toi\"!");
            },
            "var maxBM = 1; var bMess = new Array(maxBM)\nvar maxGM = 1; var gMess = new Array(maxGM)\n"
            "bMess[0]=\"Non.\"\nbMess[1]=\""
                + wrong + "\"\ngMess[0]=\"" + right + "\"\ngMess[1]=\"Bravo \\\"toi\\\"!\"\n",
            "(0,0)", "(1,1)"},
        {"a long message is cut to 255 characters before the lookup",
            [](TQuestList& quiz, const std::string& text) {
                UseOwnMessage(quiz, 1, 0, text);
                UseOwnMessage(quiz, 2, 0, text + "y");
            },
            "var maxBM = 0; var bMess = new Array(maxBM)\nvar maxGM = 0; var gMess = new Array(maxGM)\nbMess[0]=\""
                + std::string(255, 'x') + "\"\ngMess[0]=\"" + right + "\"\n",
            "(0,0)", "(0,0)"},
        {"a cut that splits an escape drops the lone backslash",
            [](TQuestList& quiz, const std::string&) { UseOwnMessage(quiz, 1, 0, std::string(254, 'x') + "\"z"); },
            "var maxBM = 1; var bMess = new Array(maxBM)\nvar maxGM = 0; var gMess = new Array(maxGM)\nbMess[0]=\""
                + std::string(254, 'x') + "\"\nbMess[1]=\"" + wrong + "\"\ngMess[0]=\"" + right + "\"\n",
            "(0,0)", "(1,0)"},
        {"a cut that left a lone backslash is not the same text as one without it",
            [](TQuestList& quiz, const std::string&) {
                UseOwnMessage(quiz, 1, 0, std::string(254, 'x') + "\"z");
                UseOwnMessage(quiz, 2, 0, std::string(254, 'x'));
            },
            "var maxBM = 1; var bMess = new Array(maxBM)\nvar maxGM = 0; var gMess = new Array(maxGM)\nbMess[0]=\""
                + std::string(254, 'x') + "\"\nbMess[1]=\"" + std::string(254, 'x') + "\"\ngMess[0]=\"" + right
                + "\"\n",
            "(0,0)", "(1,0)"},
        {"a message with an attached file is written as its first question makes it",
            [](TQuestList& quiz, const std::string&) {
                for (int n = 1; n <= 2; ++n) {
                    quiz.Quest(n).UseExtFile = true;
                    quiz.Quest(n).ExtLink = "Voir|la fiche";
                    quiz.Quest(n).ExtFile = n == 1 ? "un.htm" : "deux.htm";
                }
            },
            "var maxBM = 1; var bMess = new Array(maxBM)\nvar maxGM = 1; var gMess = new Array(maxGM)\nbMess[0]=\""
                + wrong + "<P>Voir<A HREF=un.htm> la fiche</A>\"\nbMess[1]=\"" + wrong
                + "<P>Voir<A HREF=deux.htm> la fiche</A>\"\ngMess[0]=\"" + right
                + "<P>Voir<A HREF=un.htm> la fiche</A>\"\ngMess[1]=\"" + right
                + "<P>Voir<A HREF=deux.htm> la fiche</A>\"\n",
            "(0,0)", "(1,1)"},
        {"a message that escaping empties is an entry of its own",
            [](TQuestList& quiz, const std::string&) { UseOwnMessage(quiz, 1, 0, "\r\n\\"); },
            "var maxBM = 1; var bMess = new Array(maxBM)\nvar maxGM = 0; var gMess = new Array(maxGM)\nbMess[0]=\"\"\n"
            "bMess[1]=\""
                + wrong + "\"\ngMess[0]=\"" + right + "\"\n",
            "(0,0)", "(1,0)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TQuestList quiz = TwoQuestions();
        c.setUp(quiz, longText);
        const std::string script = Script(quiz);
        EXPECT_EQ(Between(script, "var maxBM", "\n\n\nvar Q = new Array") + "\n", c.bankLines);
        EXPECT_NE(script.find("Q[0].rq = new Array" + c.rq1 + "\n"), std::string::npos);
        EXPECT_NE(script.find("Q[1].rq = new Array" + c.rq2 + "\n"), std::string::npos);
    }
}

TEST(QuizScriptData, ChoicesAndCorrectEntryByType)
{
    struct Case {
        QuestSpec quest;
        std::string lines; // Q[1] from its choices to its CGood
    };
    const std::vector<Case> cases = {
        {{TRepType::rOList, "Un <option> trois", {"a", "b", "c"}, 1, 0},
            "Q[1].qType =2 ; Q[1].mChx =4 ; Q[1].chx = new Array(Q[1].mChx)\nQ[1].chx[0] = \" \"\nQ[1].chx[1] = "
            "\"a\"\nQ[1].chx[2] = \"b\"\nQ[1].chx[3] = \"c\"\nQ[1].CGood =2 ;"},
        {{TRepType::rOList, "Un <option> trois", {"a", "b", "c"}, -1, 0},
            "Q[1].qType =2 ; Q[1].mChx =4 ; Q[1].chx = new Array(Q[1].mChx)\nQ[1].chx[0] = \" \"\nQ[1].chx[1] = "
            "\"a\"\nQ[1].chx[2] = \"b\"\nQ[1].chx[3] = \"c\"\nQ[1].CGood =65536 ;"},
        {{TRepType::rKWZ, "Un", {"a", "b", "c"}, -1, 3},
            "Q[1].qType =0 ; Q[1].mChx =3 ; Q[1].chx = new Array(Q[1].mChx)\nQ[1].chx[0] = \"a\"\nQ[1].chx[1] = "
            "\"b\"\nQ[1].chx[2] = \"c\"\nQ[1].CGood =65535 ;"},
        {{TRepType::rTrue, "Un", {"Vrai", "Faux"}, 1, 1},
            "Q[1].qType =1 ; Q[1].mChx =2 ; Q[1].chx = new Array(Q[1].mChx)\nQ[1].chx[0] = \"Vrai\"\nQ[1].chx[1] = "
            "\"Faux\"\nQ[1].CGood =1 ;"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines);
        TQuestList quiz;
        AddQuestion(quiz, {TRepType::rKWZ, "Z\xE9ro", {"x"}, 0});
        AddQuestion(quiz, c.quest);
        const std::string script = Script(quiz);
        EXPECT_EQ(Between(script, "Q[1].qType", " Q[1].CGiven"), c.lines);
    }
}

TEST(QuizScriptLayout, FunctionsInOrderEachFollowedByABlankLine)
{
    // Names and argument lists are what the pages call.
    const std::vector<std::string> functions = {"loadTwo(page2, page3)", "setMode(n)", "setQTitle()", "setQuestion(n)",
        "setRChoix()", "resetChoix()", "showQuest(fName)", "getPrevious()", "goNext()", "getChoix()", "EvalNow()",
        "getCGiven()", "checkVisited()", "showMess(n)", "getAnswer()", "setMessage()", "getAllGood()", "comeBack()",
        "loadMenu(n)", "getResults()", "doTotal()", "doTotalIC()", "Evaluate(n)", "doRTable()", "getSName()",
        "fixRString()", "fixCString()", "setAllValues()"};
    for (const bool certainty : {false, true}) {
        SCOPED_TRACE(certainty ? "certainty" : "no certainty");
        const std::string script = Script(TwoQuestions(), certainty);
        std::vector<std::string> found;
        for (auto at = script.find("function "); at != std::string::npos; at = script.find("function ", at + 1)) {
            ASSERT_TRUE(at == 0 || script[at - 1] == '\n');
            const auto brace = script.find('{', at);
            std::string header = script.substr(at + 9, brace - at - 9);
            while (!header.empty() && header.back() == ' ')
                header.pop_back();
            if (header.rfind("TQuest(", 0) == 0)
                continue;
            found.push_back(header);
            // The function ends at the first closing brace alone on its line.
            const auto end = script.find("\n}\n", brace);
            ASSERT_NE(end, std::string::npos);
            EXPECT_EQ(script.substr(end + 3, 1), "\n") << header;
        }
        EXPECT_EQ(found, functions);
        // The start-up statement comes right after the line of slashes, the functions after it.
        const auto slashes = script.find("\n\n\n" + kSlashes + "\nif (QMode == 0) {");
        EXPECT_NE(slashes, std::string::npos);
        EXPECT_LT(slashes, script.find("function setQTitle()"));
        EXPECT_EQ(script.substr(script.size() - 3), "}\n\n");
    }
}

TEST(QuizScriptLayout, CertaintyOption)
{
    const std::string off = Script(TwoQuestions(), false);
    const std::string on = Script(TwoQuestions(), true);

    const std::string resetOff = Between(off, "function resetChoix()", "function showQuest");
    const std::string resetOn = Between(on, "function resetChoix()", "function showQuest");
    EXPECT_NE(resetOff.find("CertVal = 0;\n\n}\n"), std::string::npos) << resetOff;
    EXPECT_EQ(resetOff.find("CertCheck"), std::string::npos);
    EXPECT_NE(resetOn.find("CertVal = 0;\n\tif (f != null && f.CertCheck != null) f.CertCheck.checked = false;\n}\n"),
        std::string::npos)
        << resetOn;

    EXPECT_EQ(Between(off, "function getChoix()", "function EvalNow").find("Cert"), std::string::npos);
    EXPECT_NE(Between(on, "function getChoix()", "function EvalNow").find("q.CertVal = (f.CertCheck.checked)"),
        std::string::npos);

    const std::string icRow = R"("<TR BGCOLOR=\"WHITE\" ALIGN=CENTER>" + "<TH BGCOLOR=\"WHITE\" width=20> IC </TH>")";
    const std::string icCell = R"("<TD><FONT COLOR=DARKGREEN><TT><B>" + Q[k].CertVal + "</B></TT></TD>")";
    EXPECT_EQ(off.find(icRow), std::string::npos);
    EXPECT_NE(on.find(icRow), std::string::npos);
    EXPECT_NE(on.find(icCell), std::string::npos);

    // Nothing else differs: the data sections are the same.
    EXPECT_EQ(Between(off, "var maxBM", "function setQTitle"), Between(on, "var maxBM", "function setQTitle"));
}

// Runs script_logic.test.mjs in node on the script of a quiz that holds a
// choice past the ninth, a single-choice question, a cloze question and a
// true/false question, with and without the certainty option.
TEST(QuizScriptLogic, RunsInNodeAgainstFakeFrames)
{
    TQuestList quiz;
    std::vector<std::string> many;
    for (int i = 1; i <= 14; ++i)
        many.push_back("Choix " + std::to_string(i));
    AddQuestion(quiz, {TRepType::rKWZ, "Beaucoup de choix", many, 12, 2});
    AddQuestion(quiz, {TRepType::rKWZ, "Un seul choix", {"Seul"}, 0});
    AddQuestion(
        quiz, {TRepType::rOList, "Paris est la <option> de la France.", {"ville", "capitale", "r\xE9gion"}, 1, 0});
    AddQuestion(quiz,
        {TRepType::rTrue,
            "L'eau bout \xE0 100 \xB0"
            "C.",
            {"Vrai", "Faux"}, 0});
    UseOwnMessage(quiz, 4, 1, "Exact (au niveau de la mer).");

    const test::TempFolder temp("tavimor-script");
    const fs::path folder = temp.Dir();
    const std::string harness = std::string(TAVIMOR_TEST_DATA) + "/generator/script_logic.test.mjs";
    for (const bool certainty : {false, true}) {
        SCOPED_TRACE(certainty ? "certainty" : "no certainty");
        const fs::path scriptPath = folder / (certainty ? "cert.js" : "plain.js");
        {
            std::ofstream out(scriptPath, std::ios::binary);
            out << Script(quiz, certainty, "R\xE9sum\xE9");
        }
        const std::string command = "node \"" + harness + "\" \"" + scriptPath.string() + "\"";
        const int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status)) << command;
        EXPECT_EQ(WEXITSTATUS(status), 0) << command;
    }
}

} // namespace
} // namespace tavimor
