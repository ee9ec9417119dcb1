// Certainty calibration: whether a student knows how well they know. Under
// the certainty marking (right and certain 20, right 11, wrong 9, wrong and
// certain 0) ticking "certain" pays when the student is right more than half
// the time: a well calibrated student ticks it on the answers they are right
// on more often than not, and leaves it on the others.
#pragma once

#include "analysis/ClassResults.h"

#include <optional>
#include <string>

namespace tavimor {

// Fewer answers of a kind than this give no verdict on that kind.
inline constexpr int kCalibrationMinimum = 5;

enum class TCalibrationVerdict {
    TooFew, // fewer than kCalibrationMinimum answers of each kind, or no certainty option
    WellCalibrated,
    OverConfident, // certain answers right half the time or less
    UnderConfident, // uncertain answers right more than half the time
};

struct TCalibration {
    // Answered questions only: an unanswered one says nothing of certainty.
    int Certain = 0;
    int CertainRight = 0;
    int Uncertain = 0;
    int UncertainRight = 0;

    std::optional<double> CertainRightShare() const;
    std::optional<double> UncertainRightShare() const;
    // Over-confidence wins when a student is both (right less often when sure).
    TCalibrationVerdict Verdict() const;

    TCalibration& operator+=(const TCalibration& other);
};

// One student's answers, from the record marked again by GatherResults.
TCalibration CalibrationOf(const TStudentResult& student);
// The whole class's answers together.
TCalibration ClassCalibration(const TClassResults& results);

// "bien calibré", "trop sûr(e) de soi", "pas assez sûr(e) de soi", or why
// there is none; Windows-1252.
std::string VerdictText(TCalibrationVerdict verdict);

} // namespace tavimor
