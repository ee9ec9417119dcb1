// Certainty calibration: the counts behind it and the verdict, with its
// edges (half right, fewer than five answers of a kind, no certainty).
#include "analysis/Calibration.h"

#include <gtest/gtest.h>

namespace tavimor {
namespace {

struct Answer {
    bool answered;
    bool certain;
    bool right;
};

TStudentResult Student(const std::vector<Answer>& answers)
{
    TStudentResult student;
    for (const Answer& a : answers) {
        TRecordAnswer answer;
        if (a.answered)
            answer.Choice = 0;
        answer.Certain = a.certain;
        student.Record.Answers.push_back(answer);
        student.Marks.push_back(!a.answered ? 0 : a.right ? (a.certain ? 1 : 0.55) : (a.certain ? 0 : 0.45));
    }
    return student;
}

std::vector<Answer> Repeat(int count, Answer answer)
{
    return std::vector<Answer>(static_cast<std::size_t>(count), answer);
}

std::vector<Answer> operator+(std::vector<Answer> a, const std::vector<Answer>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(Calibration, CountsAnsweredQuestionsByCertainty)
{
    const TCalibration c = CalibrationOf(Student({{true, true, true}, {true, true, false}, {true, false, true},
        {false, true, false}, {true, false, false}, {true, false, false}}));
    EXPECT_EQ(c.Certain, 2);
    EXPECT_EQ(c.CertainRight, 1);
    EXPECT_EQ(c.Uncertain, 3);
    EXPECT_EQ(c.UncertainRight, 1);
    EXPECT_DOUBLE_EQ(*c.CertainRightShare(), 0.5);
    EXPECT_DOUBLE_EQ(*c.UncertainRightShare(), 1.0 / 3);
    EXPECT_FALSE(TCalibration().CertainRightShare());
}

TEST(Calibration, VerdictNeedsFiveAnswersOfAKindAndPaysAboveOneHalf)
{
    const Answer certainRight {true, true, true}, certainWrong {true, true, false};
    const Answer unsureRight {true, false, true}, unsureWrong {true, false, false};
    struct Case {
        std::vector<Answer> answers;
        TCalibrationVerdict verdict;
    };
    const Case cases[] = {
        {Repeat(3, certainRight) + Repeat(2, certainWrong) + Repeat(1, unsureRight) + Repeat(4, unsureWrong),
            TCalibrationVerdict::WellCalibrated},
        // Right exactly half the time when sure: sureness did not pay.
        {Repeat(3, certainRight) + Repeat(3, certainWrong), TCalibrationVerdict::OverConfident},
        {Repeat(3, unsureRight) + Repeat(2, unsureWrong), TCalibrationVerdict::UnderConfident},
        {Repeat(5, unsureWrong), TCalibrationVerdict::WellCalibrated},
        {Repeat(2, certainWrong) + Repeat(4, unsureRight) + Repeat(4, unsureWrong),
            TCalibrationVerdict::WellCalibrated},
        // Wrong when sure and right when not: over-confidence is said first.
        {Repeat(5, certainWrong) + Repeat(5, unsureRight), TCalibrationVerdict::OverConfident},
        {Repeat(4, certainWrong) + Repeat(4, unsureRight), TCalibrationVerdict::TooFew},
        {{}, TCalibrationVerdict::TooFew},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(CalibrationOf(Student(cases[i].answers)).Verdict(), cases[i].verdict) << "case " << i;
    EXPECT_EQ(VerdictText(TCalibrationVerdict::OverConfident), "trop s\xFBr(e) de soi");
}

TEST(Calibration, TheClassAddsItsStudentsUp)
{
    TClassResults results;
    results.Students = {Student(Repeat(3, {true, true, true})), Student(Repeat(3, {true, true, false}))};
    const TCalibration c = ClassCalibration(results);
    EXPECT_EQ(c.Certain, 6);
    EXPECT_EQ(c.CertainRight, 3);
    EXPECT_EQ(c.Verdict(), TCalibrationVerdict::OverConfident);
}

} // namespace
} // namespace tavimor
