// The texts of a question as the produced pages show them.
#include "generator/QuestionTexts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavimor {
namespace {

TEST(QuestionTexts, FeedbackTakesTheMessageAndTheLink)
{
    struct Case {
        bool useGeneric;
        bool useLink;
        std::string link;
        int side;
        std::string feedback;
    };
    const Case cases[] = {
        {true, false, "", 0, "Vraiment faux."},
        {true, false, "", 1, "Bien."},
        {false, false, "", 0, "Mon texte: \\\"guillemets\\\" \\(ici\\) et  barre."},
        {true, true, "voir le fichier: |Corrig\xE9", 0,
            "Vraiment faux.<P>voir le fichier: <A HREF=corr.htm> Corrig\xE9</A>"},
        {true, true, "voir ... ", 1, "Bien.<P>voir ... <A HREF=corr.htm> nom_du_lien</A>"},
        {true, true, "a|b|c", 1, "Bien.<P>a<A HREF=corr.htm> b|c</A>"},
    };
    for (const Case& c : cases) {
        TQuestList list;
        list.GenMess[0] = {"Faux.", "Vraiment faux."};
        list.GenMess[1] = {"Bien."};
        list.AddQuest();
        TQuest& q = list.Current();
        q.MessIdx = {1, 0};
        q.UseGenMess = {c.useGeneric, c.useGeneric};
        q.Mess[0] = "Mon texte:\r\n \"guillemets\" (ici) et \\ barre.";
        q.UseExtFile = c.useLink;
        q.ExtLink = c.link;
        q.ExtFile = "corr.htm";
        EXPECT_EQ(GetFeedback(list, 1, c.side), c.feedback) << c.link;
    }
}

TEST(QuestionTexts, ClozeTextForPagesAndExam)
{
    struct Case {
        TRepType type;
        std::string text;
        std::vector<std::string> choices;
        std::string html;
        std::string exam;
    };
    const Case cases[] = {
        {TRepType::rOList, "Paris est la <option> de la France.", {"capitale", "ville"},
            "Paris est la <select><option><option>capitale<option>ville</select>  &nbsp;de la France.",
            "Paris est la ____________de la France."},
        {TRepType::rOList, "Sans marqueur", {"a"}, "", ""},
        {TRepType::rOList, "x<option>", {}, "x<select><option></select>  &nbsp;", "x____________"},
        {TRepType::rOList, "<option>yz <option>", {"1"}, "<select><option><option>1</select>  &nbsp;z <option>",
            "____________z <option>"},
        {TRepType::rKWZ, "Texte <option> gard\xE9", {"a"}, "Texte <option> gard\xE9", "Texte <option> gard\xE9"},
        {TRepType::rTrue, "Vrai?", {"Vrai", "Faux"}, "Vrai?", "Vrai?"},
    };
    for (const Case& c : cases) {
        TQuestList list;
        list.AddQuest();
        list.Current().QType = c.type;
        list.Current().QText = c.text;
        list.Current().Reps = c.choices;
        EXPECT_EQ(GetHtmlText(list, 1), c.html) << c.text;
        EXPECT_EQ(GetExamText(list, 1), c.exam) << c.text;
    }
}

} // namespace
} // namespace tavimor
