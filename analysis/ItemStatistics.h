// The item analysis of a marks table: for each question how easy it was and
// how well it told the stronger students from the weaker ones, and the
// figures of the class as a whole. Sample statistics (divided by N - 1).
//
// A figure that cannot be computed (too few students, a question or a rest
// of the test on which everyone has the same mark, a zero denominator) has no
// value: never NaN or infinity.
#pragma once

#include "analysis/MarksTable.h"

#include <array>
#include <cstddef>
#include <optional>
#include <vector>

namespace tavimor {

struct TItemStatistics {
    int Question = 0; // the question's number in the table
    // The mean mark, 0..1 (needs one student).
    std::optional<double> Facility;
    // The sample standard deviation of the marks (needs two students; 0 when
    // every student has the same mark).
    std::optional<double> StandardDeviation;
    // With rest = the student's total less this question's mark:
    // 100 cov(q, rest) / sqrt(var(q) var(rest)), -100..100.
    std::optional<double> DiscriminationIndex;
    // 100 cov(q, rest) / cov(q sorted, rest sorted), both sorted ascending
    // and paired in that order: the index against the highest it could reach
    // with these marks.
    std::optional<double> DiscriminativeEfficiency;
    // 100 sqrt(max(0, cov(q, total))) / the sum of the same over all the
    // questions, in percent: the share the question takes in ranking the class.
    std::optional<double> EffectiveWeight;
};

// One entry a question, in column order.
std::vector<TItemStatistics> ComputeItemStatistics(const TMarksTable& table);

inline constexpr std::size_t kRateBins = 10;

// The students' rates: total / number of questions, 0..1.
struct TClassStatistics {
    std::size_t Students = 0;
    std::optional<double> MeanRate; // needs one student and one question
    std::optional<double> MedianRate; // the mean of the two middle ones for an even count
    std::optional<double> RateStandardDeviation; // sample; needs two students
    // Students per tenth of the rate: 0-10 %, 10-20 %, ..., 90-100 %, a rate
    // on an edge counting in the bin above it, and 100 % in the last one.
    std::array<std::size_t, kRateBins> RateHistogram {};
};

TClassStatistics ComputeClassStatistics(const TMarksTable& table);

} // namespace tavimor
