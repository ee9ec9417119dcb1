// The questionnaire of the answer-sheet scanner, read back as the scanner
// reads it: every markable question with its choices and the right one, in
// the document's order or a version's.
#include "exchange/AmcText.h"
#include "model/sample_document.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tavimor {
namespace {

using test::Add;
using test::Question;

TQuizDocument PaperDocument()
{
    TQuizDocument doc = test::StartupDocument();
    doc.Pages.SetTitle(0,
        "Chimie <b>\xE9l\xE9"
        "mentaire</b>");
    Add(doc,
        Question(TRepType::rTrue,
            "L'eau bout \xE0 100&nbsp;\xB0"
            "C.",
            {"Vrai", "Faux"}, 1));
    Add(doc, Question(TRepType::rKWZ, "Le nombre &#960; vaut<br>environ", {"3,14", "[*gras*]", "2"}, 0));
    Add(doc, Question(TRepType::rOList, "Le symbole <option> d\xE9signe le sodium.", {"So", "Na"}, 1));
    Add(doc, Question(TRepType::rKWZ, "Sans bonne r\xE9ponse", {"x", "y"}, -1));
    Add(doc, Question(TRepType::rKWZ, "Un seul choix", {"x"}, 0));
    return doc;
}

TEST(AmcText, EveryMarkableQuestionComesBackWithItsRightChoice)
{
    const TQuizDocument doc = PaperDocument();
    const TPlatformExport exported = AmcText(doc);
    EXPECT_THAT(exported.Notes,
        testing::ElementsAre(testing::HasSubstr("Question 4: aucune bonne r\xE9ponse"),
            testing::HasSubstr("Question 5: une seule r\xE9ponse")));
    const TAmcContent read = ReadAmcText(exported.Text);
    EXPECT_THAT(read.Options,
        testing::Contains(std::pair<std::string, std::string>("Title", "Chimie \xC3\xA9l\xC3\xA9mentaire")));
    EXPECT_THAT(read.Options, testing::Contains(std::pair<std::string, std::string>("ShuffleQuestions", "1")));
    ASSERT_EQ(read.Questions.size(), 3u);
    EXPECT_EQ(read.Questions[0].Text,
        "L'eau bout \xC3\xA0 100 \xC2\xB0"
        "C.");
    EXPECT_EQ(read.Questions[0].Choices, (std::vector<std::string> {"Vrai", "Faux"}));
    EXPECT_EQ(read.Questions[0].Right, (std::vector<bool> {false, true}));
    // Markup dropped, references resolved, the scanner's brackets kept apart.
    EXPECT_EQ(read.Questions[1].Text, "Le nombre \xCF\x80 vaut environ");
    EXPECT_EQ(read.Questions[1].Choices[1], "[ *gras*]");
    EXPECT_EQ(read.Questions[1].Right, (std::vector<bool> {true, false, false}));
    EXPECT_EQ(read.Questions[2].Text, "Le symbole ___ d\xC3\xA9signe le sodium.");
    // A true/false question keeps "Vrai" before "Faux"; the others are the scanner's to shuffle.
    // Each question is named after its number in the document.
    EXPECT_THAT(exported.Text, testing::HasSubstr("*[id=Q001,ordered] L'eau"));
    EXPECT_THAT(exported.Text, testing::HasSubstr("\n*[id=Q002] Le nombre"));
    EXPECT_EQ(read.Questions[2].Id, "Q003");
}

TEST(AmcText, AVersionKeepsItsOrderForTheScanner)
{
    const TQuizDocument doc = PaperDocument();
    const auto versions = MakeExamVersions(doc.Quests, {2, 99});
    for (const TExamVersion& version : versions) {
        const TAmcContent read = ReadAmcText(AmcText(doc, &version).Text);
        EXPECT_THAT(read.Options, testing::Contains(std::pair<std::string, std::string>("ShuffleQuestions", "0")));
        std::size_t q = 0;
        for (const TPrintedQuestion& printed : version.Questions) {
            const TQuest& quest = doc.Quests.Quest(printed.Original);
            if (quest.GoodRep < 0 || quest.Reps.size() < 2)
                continue;
            ASSERT_LT(q, read.Questions.size());
            const TAmcQuestion& got = read.Questions[q++];
            EXPECT_EQ(got.Id, AmcQuestionId(printed.Original));
            for (std::size_t k = 0; k < printed.Choices.size(); ++k)
                EXPECT_EQ(got.Right[k], printed.Choices[k] == quest.GoodRep);
        }
        EXPECT_EQ(q, read.Questions.size());
    }
}

} // namespace
} // namespace tavimor
