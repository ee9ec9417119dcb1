#include "analysis/QuestionReview.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>

namespace tavimor {
namespace {

// The right choice of question n, when one within its choices is marked.
std::optional<int> RightChoice(const TQuizDocument& doc, int n)
{
    const int good = doc.Quests.GetGoodRep(n);
    if (good >= static_cast<int>(doc.Quests.Quest(n).Reps.size()))
        return std::nullopt;
    return good;
}

// Which students make the stronger half, by their place in results.Students.
std::vector<bool> StrongerHalf(const TClassResults& results)
{
    const std::vector<TStudentResult>& students = results.Students;
    std::vector<std::size_t> ranked(students.size());
    std::iota(ranked.begin(), ranked.end(), std::size_t {0});
    std::stable_sort(ranked.begin(), ranked.end(),
        [&](std::size_t a, std::size_t b) { return students[a].Total > students[b].Total; });
    std::vector<bool> stronger(students.size(), false);
    for (std::size_t i = 0; i < StrongerHalfSize(students.size()); ++i)
        stronger[ranked[i]] = true;
    return stronger;
}

void Count(TAnswerCounts& counts, const TRecordAnswer* answer, std::optional<int> right, bool stronger)
{
    if (answer == nullptr || !answer->Choice) {
        ++counts.Unanswered;
        return;
    }
    const int choice = *answer->Choice;
    if (choice >= 0 && choice < static_cast<int>(counts.Chosen.size())) {
        ++counts.Chosen[static_cast<std::size_t>(choice)];
        counts.ChosenByStronger[static_cast<std::size_t>(choice)] += stronger ? 1 : 0;
    }
    if (answer->Certain.value_or(false)) {
        ++counts.Certain;
        counts.CertainRight += choice == right ? 1 : 0;
    }
}

void AddChoiceReasons(
    TQuestionReview& review, const TAnswerCounts& counts, std::optional<int> right, std::size_t students)
{
    for (std::size_t choice = 0; choice < counts.Chosen.size(); ++choice)
        if (counts.Chosen[choice] == 0)
            review.Reasons.push_back({TReviewKind::NeverChosen, static_cast<int>(choice)});
    if (!right || students < 2)
        return;
    const int rightByStronger = counts.ChosenByStronger[static_cast<std::size_t>(*right)];
    for (std::size_t choice = 0; choice < counts.ChosenByStronger.size(); ++choice)
        if (static_cast<int>(choice) != *right && counts.ChosenByStronger[choice] > rightByStronger)
            review.Reasons.push_back({TReviewKind::StrongerPreferWrong, static_cast<int>(choice)});
}

} // namespace

std::size_t StrongerHalfSize(std::size_t students)
{
    return (students + 1) / 2;
}

int RightAnswers(const TQuizDocument& doc, int n, const TAnswerCounts& counts)
{
    const std::optional<int> right = RightChoice(doc, n);
    return right ? counts.Chosen[static_cast<std::size_t>(*right)] : 0;
}

std::vector<TAnswerCounts> CountAnswers(const TQuizDocument& doc, const TClassResults& results)
{
    const int questions = doc.Quests.Count();
    std::vector<TAnswerCounts> all(static_cast<std::size_t>(questions));
    for (int n = 1; n <= questions; ++n) {
        const std::size_t choices = doc.Quests.Quest(n).Reps.size();
        all[static_cast<std::size_t>(n - 1)].Chosen.assign(choices, 0);
        all[static_cast<std::size_t>(n - 1)].ChosenByStronger.assign(choices, 0);
    }
    const std::vector<bool> stronger = StrongerHalf(results);
    for (std::size_t s = 0; s < results.Students.size(); ++s) {
        const std::vector<TRecordAnswer>& answers = results.Students[s].Record.Answers;
        for (int n = 1; n <= questions; ++n) {
            const std::size_t i = static_cast<std::size_t>(n - 1);
            Count(all[i], i < answers.size() ? &answers[i] : nullptr, RightChoice(doc, n), stronger[s]);
        }
    }
    return all;
}

std::vector<TQuestionReview> QuestionsToReview(const TQuizDocument& doc, const std::vector<TItemStatistics>& items,
    const std::vector<TAnswerCounts>& counts, std::size_t students)
{
    std::vector<TQuestionReview> reviews;
    if (students == 0)
        return reviews;
    const int questions
        = std::min({doc.Quests.Count(), static_cast<int>(items.size()), static_cast<int>(counts.size())});
    for (int n = 1; n <= questions; ++n) {
        const TItemStatistics& item = items[static_cast<std::size_t>(n - 1)];
        TQuestionReview review {n, {}};
        const double right = RightAnswers(doc, n, counts[static_cast<std::size_t>(n - 1)]);
        if (right < kTooHardShare * static_cast<double>(students))
            review.Reasons.push_back({TReviewKind::TooHard});
        if (right > kTooEasyShare * static_cast<double>(students))
            review.Reasons.push_back({TReviewKind::TooEasy});
        if (item.DiscriminationIndex && std::round(*item.DiscriminationIndex * 10) / 10 < kWeakDiscrimination)
            review.Reasons.push_back({TReviewKind::WeakDiscrimination});
        AddChoiceReasons(review, counts[static_cast<std::size_t>(n - 1)], RightChoice(doc, n), students);
        if (!review.Reasons.empty())
            reviews.push_back(std::move(review));
    }
    return reviews;
}

} // namespace tavimor
