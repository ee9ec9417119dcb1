// How a class answered each question, and which questions deserve a second
// look before the quiz is given again.
#pragma once

#include "analysis/ClassResults.h"
#include "analysis/ItemStatistics.h"

#include <cstddef>
#include <vector>

namespace tavimor {

struct TAnswerCounts {
    // Students per choice, in the document's order. An answer naming no
    // choice of the question (only an altered record counted on request can)
    // is in no count.
    std::vector<int> Chosen;
    // The same among the stronger half of the class.
    std::vector<int> ChosenByStronger;
    int Unanswered = 0;
    // With the certainty option: the answers given as certain, and how many
    // of those were right.
    int Certain = 0;
    int CertainRight = 0;
};

// The stronger half of a class of `students`: the first ceil(students / 2)
// when ranked by total, highest first, a tie kept in the order of the names.
std::size_t StrongerHalfSize(std::size_t students);

// One entry a question of doc, from the answers of the students counted.
std::vector<TAnswerCounts> CountAnswers(const TQuizDocument& doc, const TClassResults& results);

// A question is too hard when fewer than this share of the students gave
// its right answer, too easy when more than kTooEasyShare did. Judged on
// the right answers rather than on the facility (the mean mark): under the
// certainty marking a wrong answer given without certainty earns 0.45, and
// a question nobody got right can have a facility near one half. Without
// that option the two are the same.
inline constexpr double kTooHardShare = 0.3;
inline constexpr double kTooEasyShare = 0.95;
// The discrimination index under which a question tells the stronger
// students from the weaker ones too little, in percent; compared as the
// report shows it (to one decimal), so that a reason never contradicts its
// figure.
inline constexpr double kWeakDiscrimination = 20;

enum class TReviewKind {
    TooHard, // right answers under kTooHardShare of the students
    TooEasy, // right answers over kTooEasyShare of the students
    WeakDiscrimination, // an index under kWeakDiscrimination
    NeverChosen, // a choice no student took
    StrongerPreferWrong, // a wrong choice the stronger half took more often than the right one
};

struct TReviewReason {
    TReviewKind Kind = TReviewKind::TooHard;
    int Choice = -1; // the choice in question, from 0, for the last two kinds
};

struct TQuestionReview {
    int Question = 0; // from 1
    std::vector<TReviewReason> Reasons;
};

// The students who gave question n's right answer (none when the document
// marks no right choice).
int RightAnswers(const TQuizDocument& doc, int n, const TAnswerCounts& counts);

// The questions with at least one reason, in order. Nothing without
// students; the stronger half's preference needs two students and a right
// choice marked in the document.
std::vector<TQuestionReview> QuestionsToReview(const TQuizDocument& doc, const std::vector<TItemStatistics>& items,
    const std::vector<TAnswerCounts>& counts, std::size_t students);

} // namespace tavimor
