// The quiz key that results records carry: fixed by the record's format, the
// same whether the document is read as the editor's model or as views of its
// file, and changed by exactly what changes the marking.
#include "generator/QuizKey.h"

#include "model/DocumentFile.h"
#include "model/QuestionViews.h"
#include "model/sample_document.h"

#include <gtest/gtest.h>

#include <functional>

namespace tavimor {
namespace {

using test::Add;
using test::Question;

TQuizDocument TwoQuestions()
{
    TQuizDocument doc = test::StartupDocument();
    Add(doc, Question(TRepType::rKWZ, "Capitale de la France ?", {"Paris", "Lyon"}, 0));
    Add(doc, Question(TRepType::rTrue, "La Loire est un fleuve.", {"Vrai", "Faux"}, 0));
    return doc;
}

TEST(QuizKey, IsTheDigestOfTheDocumentedFields)
{
    // Computed outside the program from the record format's definition:
    // printf '0\x1f0\x1fCapitale de la France ?\x1fParis\x1fLyon\x1f0\x1f\x1e'
    //        '1\x1fLa Loire est un fleuve.\x1fVrai\x1fFaux\x1f0\x1f\x1e' | sha256sum | cut -c1-16
    EXPECT_EQ(QuizKey(TwoQuestions().Quests, false), "8afbaf6acc6ca168");
    EXPECT_EQ(QuizKey(TQuizDocument().Quests, false).size(), 16u);
}

TEST(QuizKey, ViewsOfTheFileGiveTheModelsKey)
{
    TQuizDocument doc = test::RichDocument();
    const std::string bytes = DocumentBytes(doc);
    TQuizDocument viewed;
    TQuestViews views(viewed.Quests);
    ByteBlock block(bytes.size());
    std::copy(bytes.begin(), bytes.end(), block.Data());
    ReadDocumentForProduction(viewed, views, std::move(block));
    ASSERT_EQ(views.Count(), doc.Quests.Count());
    EXPECT_EQ(QuizKey(views, true), QuizKey(doc.Quests, true));
}

TEST(QuizKey, ChangesWithTheMarkingOnly)
{
    const std::string original = QuizKey(TwoQuestions().Quests, true);
    const std::function<void(TQuizDocument&)> changesTheKey[] = {
        [](TQuizDocument& d) { d.Quests.Quest(1).QText += "!"; },
        [](TQuizDocument& d) { d.Quests.Quest(1).Reps[1] = "Lille"; },
        [](TQuizDocument& d) { d.Quests.Quest(1).GoodRep = 1; },
        [](TQuizDocument& d) { d.Quests.Quest(2).QType = TRepType::rKWZ; },
        [](TQuizDocument& d) { d.Quests.Quest(1).Reps.push_back("Nice"); },
        // Moving text from one field to the next is another quiz too.
        [](TQuizDocument& d) {
            d.Quests.Quest(1).Reps = {"ParisLyon", ""};
        },
    };
    for (std::size_t i = 0; i < std::size(changesTheKey); ++i) {
        TQuizDocument changed = TwoQuestions();
        changesTheKey[i](changed);
        EXPECT_NE(QuizKey(changed.Quests, true), original) << "change " << i;
    }
    EXPECT_NE(QuizKey(TwoQuestions().Quests, false), original);

    TQuizDocument same = TwoQuestions();
    same.Quests.Quest(1).Mess[kWrongSide] = "Non.";
    same.Quests.Quest(1).UseGenMess[kWrongSide] = false;
    same.Quests.Quest(2).Priority = 3;
    same.Pages.SetTitle(0, "Autre titre");
    EXPECT_EQ(QuizKey(same.Quests, true), original);
}

} // namespace
} // namespace tavimor
