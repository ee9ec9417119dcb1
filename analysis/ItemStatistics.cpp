#include "analysis/ItemStatistics.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <span>

namespace tavimor {
namespace {

// Values closer together than this share of their magnitude count as equal.
// Rests and totals are sums, whose rounding leaves a series that is constant
// a few units apart in the last place; a figure divided by that spread would
// be made of rounding alone. Marks typed by hand never differ this little.
constexpr double kSpreadTolerance = 1e-9;

bool HasSpread(std::span<const double> values)
{
    if (values.size() < 2)
        return false;
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    const double magnitude = std::max({1.0, std::fabs(*low), std::fabs(*high)});
    return *high - *low > kSpreadTolerance * magnitude;
}

// values is not empty.
double Mean(std::span<const double> values)
{
    return std::accumulate(values.begin(), values.end(), 0.0) / static_cast<double>(values.size());
}

// The sample covariance of two series of the same length (at least two),
// from their deviations to their means.
double Covariance(std::span<const double> x, std::span<const double> y)
{
    const double meanX = Mean(x);
    const double meanY = Mean(y);
    double sum = 0.0;
    for (std::size_t i = 0; i < x.size(); ++i)
        sum += (x[i] - meanX) * (y[i] - meanY);
    return sum / static_cast<double>(x.size() - 1);
}

std::vector<double> Sorted(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values;
}

std::vector<double> Totals(const TMarksTable& table)
{
    std::vector<double> totals(table.StudentCount());
    for (std::size_t student = 0; student < totals.size(); ++student)
        totals[student] = table.Total(student);
    return totals;
}

// The figures that compare a question's marks with the rest of the test.
void SetDiscrimination(TItemStatistics& item, const std::vector<double>& marks, const std::vector<double>& rest)
{
    if (!HasSpread(marks) || !HasSpread(rest))
        return;
    const double covariance = Covariance(marks, rest);
    const double varianceProduct = Covariance(marks, marks) * Covariance(rest, rest);
    if (varianceProduct > 0.0)
        item.DiscriminationIndex = 100.0 * covariance / std::sqrt(varianceProduct);
    const double highest = Covariance(Sorted(marks), Sorted(rest));
    if (highest > 0.0)
        item.DiscriminativeEfficiency = 100.0 * covariance / highest;
}

// sqrt(max(0, cov(q, total))) of each question; 0 when either series has no spread.
std::vector<double> RankingWeights(const TMarksTable& table, const std::vector<double>& totals)
{
    std::vector<double> weights(table.QuestionCount(), 0.0);
    if (!HasSpread(totals))
        return weights;
    for (std::size_t question = 0; question < weights.size(); ++question) {
        const std::vector<double> marks = table.QuestionMarks(question);
        if (HasSpread(marks))
            weights[question] = std::sqrt(std::max(0.0, Covariance(marks, totals)));
    }
    return weights;
}

void SetEffectiveWeights(std::vector<TItemStatistics>& items, const std::vector<double>& weights)
{
    const double sum = std::accumulate(weights.begin(), weights.end(), 0.0);
    if (!(sum > 0.0))
        return;
    for (std::size_t question = 0; question < items.size(); ++question)
        items[question].EffectiveWeight = 100.0 * weights[question] / sum;
}

std::optional<double> SampleStandardDeviation(std::span<const double> values)
{
    if (values.size() < 2)
        return std::nullopt;
    return HasSpread(values) ? std::sqrt(Covariance(values, values)) : 0.0;
}

double Median(std::vector<double> values)
{
    const std::size_t middle = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(middle), values.end());
    const double upper = values[middle];
    if (values.size() % 2 == 1)
        return upper;
    const double lower = *std::max_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(middle));
    return (lower + upper) / 2.0;
}

// The bin of a rate in 0..1. A rate that the rounding of a sum leaves a hair
// under an edge counts where its exact value belongs.
std::size_t RateBin(double rate)
{
    const double tenths = std::floor(rate * static_cast<double>(kRateBins) + kSpreadTolerance);
    return std::min(kRateBins - 1, static_cast<std::size_t>(std::max(0.0, tenths)));
}

} // namespace

std::vector<TItemStatistics> ComputeItemStatistics(const TMarksTable& table)
{
    const std::vector<double> totals = Totals(table);
    std::vector<TItemStatistics> items(table.QuestionCount());
    for (std::size_t question = 0; question < items.size(); ++question) {
        TItemStatistics& item = items[question];
        item.Question = table.QuestionNumbers()[question];
        const std::vector<double> marks = table.QuestionMarks(question);
        if (marks.empty())
            continue;
        item.Facility = Mean(marks);
        item.StandardDeviation = SampleStandardDeviation(marks);
        std::vector<double> rest(marks.size());
        for (std::size_t student = 0; student < marks.size(); ++student)
            rest[student] = totals[student] - marks[student];
        SetDiscrimination(item, marks, rest);
    }
    SetEffectiveWeights(items, RankingWeights(table, totals));
    return items;
}

TClassStatistics ComputeClassStatistics(const TMarksTable& table)
{
    TClassStatistics figures;
    figures.Students = table.StudentCount();
    if (table.StudentCount() == 0 || table.QuestionCount() == 0)
        return figures;
    std::vector<double> rates = Totals(table);
    for (double& rate : rates) {
        rate /= static_cast<double>(table.QuestionCount());
        ++figures.RateHistogram[RateBin(rate)];
    }
    figures.MeanRate = Mean(rates);
    figures.MedianRate = Median(rates);
    figures.RateStandardDeviation = SampleStandardDeviation(rates);
    return figures;
}

} // namespace tavimor
