// Versions of the printed exam: each holds every question once with its own
// choices, marks the choice the document holds right, and the same seed
// always gives the same versions.
#include "base/Errors.h"
#include "generator/ExamVersions.h"
#include "model/sample_document.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace tavimor {
namespace {

using test::Add;
using test::Question;

TQuizDocument ClassDocument()
{
    TQuizDocument doc = test::StartupDocument();
    for (int n = 1; n <= 12; ++n)
        Add(doc, Question(TRepType::rKWZ, "Question " + std::to_string(n), {"a", "b", "c", "d", "e"}, n % 5));
    Add(doc, Question(TRepType::rTrue, "L'eau bout \xE0 100 degr\xE9s.", {"Vrai", "Faux"}, 0));
    Add(doc, Question(TRepType::rOList, "Le <option> est rouge.", {"sang", "ciel", "lait"}, 0));
    Add(doc, Question(TRepType::rKWZ, "Sans bonne r\xE9ponse", {"x", "y"}, -1));
    return doc;
}

TEST(ExamVersions, EachVersionHoldsEveryQuestionOnceAndItsKeyMarksTheRightChoice)
{
    const TQuizDocument doc = ClassDocument();
    const auto versions = MakeExamVersions(doc.Quests, {4, 20261208});
    ASSERT_EQ(versions.size(), 4u);
    std::set<std::vector<int>> orders;
    for (std::size_t v = 0; v < versions.size(); ++v) {
        const TExamVersion& version = versions[v];
        EXPECT_EQ(version.Letter, static_cast<char>('A' + v));
        std::vector<int> originals;
        for (const TPrintedQuestion& printed : version.Questions) {
            originals.push_back(printed.Original);
            const TQuest& quest = doc.Quests.Quest(printed.Original);
            std::vector<int> sorted = printed.Choices;
            std::sort(sorted.begin(), sorted.end());
            ASSERT_EQ(sorted.size(), quest.Reps.size());
            for (std::size_t k = 0; k < sorted.size(); ++k)
                EXPECT_EQ(sorted[k], static_cast<int>(k));
            if (quest.GoodRep < 0) {
                EXPECT_FALSE(printed.Right.has_value());
            } else {
                ASSERT_TRUE(printed.Right.has_value());
                EXPECT_EQ(printed.Choices[static_cast<std::size_t>(*printed.Right)], quest.GoodRep);
            }
            if (quest.QType == TRepType::rTrue) {
                EXPECT_EQ(printed.Choices, (std::vector<int> {0, 1}));
            }
        }
        orders.insert(originals);
        std::sort(originals.begin(), originals.end());
        for (std::size_t i = 0; i < originals.size(); ++i)
            EXPECT_EQ(originals[i], static_cast<int>(i) + 1);

        // The document as the version prints it.
        const TQuizDocument printed = VersionDocument(doc, version);
        ASSERT_EQ(printed.Quests.Count(), doc.Quests.Count());
        for (int n = 1; n <= printed.Quests.Count(); ++n) {
            const TQuest& shown = printed.Quests.Quest(n);
            const TQuest& original = doc.Quests.Quest(version.Questions[static_cast<std::size_t>(n - 1)].Original);
            EXPECT_EQ(shown.QText, original.QText);
            if (original.GoodRep >= 0) {
                EXPECT_EQ(shown.Reps[static_cast<std::size_t>(shown.GoodRep)],
                    original.Reps[static_cast<std::size_t>(original.GoodRep)]);
            }
        }
    }
    EXPECT_EQ(orders.size(), 4u) << "four versions in four orders";
}

TEST(ExamVersions, TheSameSeedGivesTheSameVersionsAndTheTeacherMayKeepTheOrder)
{
    const TQuizDocument doc = ClassDocument();
    const auto first = MakeExamVersions(doc.Quests, {3, 42});
    const auto again = MakeExamVersions(doc.Quests, {3, 42});
    const auto more = MakeExamVersions(doc.Quests, {5, 42});
    const auto other = MakeExamVersions(doc.Quests, {3, 43});
    bool differ = false;
    for (std::size_t v = 0; v < first.size(); ++v) {
        for (std::size_t q = 0; q < first[v].Questions.size(); ++q) {
            EXPECT_EQ(first[v].Questions[q].Original, again[v].Questions[q].Original);
            EXPECT_EQ(first[v].Questions[q].Choices, again[v].Questions[q].Choices);
            // More versions leave the first ones as they were.
            EXPECT_EQ(first[v].Questions[q].Choices, more[v].Questions[q].Choices);
            differ = differ || first[v].Questions[q].Original != other[v].Questions[q].Original;
        }
    }
    EXPECT_TRUE(differ) << "another seed, other versions";

    const auto kept = MakeExamVersions(doc.Quests, {2, 7, false, true});
    for (const TExamVersion& version : kept)
        for (std::size_t q = 0; q < version.Questions.size(); ++q)
            EXPECT_EQ(version.Questions[q].Original, static_cast<int>(q) + 1);

    EXPECT_THROW(MakeExamVersions(doc.Quests, {1, 0}), Error);
    EXPECT_THROW(MakeExamVersions(doc.Quests, {27, 0}), Error);
}

} // namespace
} // namespace tavimor
