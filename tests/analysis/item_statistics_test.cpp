// The item statistics: the platform's fixture reproduced to its printed
// precision, a case worked by hand, every figure that cannot be computed,
// and the class figures with the edges of the histogram.
#include "analysis/ItemStatistics.h"
#include "platform_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>

namespace tavimor {
namespace {

// A table of marks given question by question: columns[q][student].
TMarksTable TableOfColumns(const std::vector<std::vector<double>>& columns)
{
    std::vector<int> numbers;
    for (std::size_t q = 0; q < columns.size(); ++q)
        numbers.push_back(static_cast<int>(q) + 1);
    TMarksTable table(numbers);
    const std::size_t students = columns.empty() ? 0 : columns[0].size();
    for (std::size_t student = 0; student < students; ++student) {
        std::vector<double> row;
        for (const std::vector<double>& column : columns)
            row.push_back(column.at(student));
        table.AddStudent("\xC9l\xE8ve " + std::to_string(student + 1), row);
    }
    return table;
}

// Every figure given is a finite number.
void ExpectFinite(const TItemStatistics& item)
{
    for (const std::optional<double>& figure : {item.Facility, item.StandardDeviation, item.DiscriminationIndex,
             item.DiscriminativeEfficiency, item.EffectiveWeight}) {
        if (figure) {
            EXPECT_TRUE(std::isfinite(*figure)) << "question " << item.Question;
        }
    }
}

TEST(ItemStatistics, ReproduceThePlatformFixture)
{
    const std::optional<test::PlatformFixture> fixture = test::LoadPlatformFixture();
    ASSERT_TRUE(fixture.has_value()) << test::MissingFixtureReason();
    const std::size_t slots = fixture->expected.size();
    std::vector<std::vector<double>> columns(slots);
    for (const std::vector<std::string>& attempt : fixture->marks)
        for (std::size_t slot = 0; slot < slots; ++slot)
            columns[slot].push_back(std::stod(attempt.at(slot)));
    ASSERT_EQ(columns[0].size(), 25u);

    const std::vector<TItemStatistics> items = ComputeItemStatistics(TableOfColumns(columns));
    ASSERT_EQ(items.size(), slots);
    for (std::size_t slot = 0; slot < slots; ++slot) {
        const TItemStatistics& item = items[slot];
        const auto& expected = fixture->expected[slot];
        const std::string where = "slot " + std::to_string(slot + 1) + " ";
        EXPECT_EQ(item.Question, static_cast<int>(slot) + 1);
        test::ExpectAsPrinted(item.Facility, expected.at("facility"), where + "facility");
        test::ExpectAsPrinted(item.StandardDeviation, expected.at("sd"), where + "sd");
        test::ExpectAsPrinted(item.DiscriminationIndex, expected.at("discriminationindex"), where + "index");
        test::ExpectAsPrinted(
            item.DiscriminativeEfficiency, expected.at("discriminativeefficiency"), where + "efficiency");
        test::ExpectAsPrinted(item.EffectiveWeight, expected.at("effectiveweight"), where + "weight");
    }
}

// Q1 = 1 1 0 0 and Q2 = 1 ½ ½ 0. var(Q1) = 1/3, var(Q2) = 1/6 and
// cov(Q1, Q2) = 1/6, so each question's index against the other (its rest)
// is (1/6) / sqrt(1/18) = 1/sqrt(2); sorted or not, the marks pair the same
// way, so the efficiency is 100 %. cov(Q1, total) = 1/2 and cov(Q2, total)
// = 1/3 give the weights sqrt(1/2) : sqrt(1/3).
TEST(ItemStatistics, SmallCaseWorkedByHand)
{
    const std::vector<TItemStatistics> items = ComputeItemStatistics(TableOfColumns({{1, 1, 0, 0}, {1, 0.5, 0.5, 0}}));
    ASSERT_EQ(items.size(), 2u);
    const double weight1 = 100 * std::sqrt(0.5) / (std::sqrt(0.5) + std::sqrt(1.0 / 3));
    const struct {
        double facility, sd, index, efficiency, weight;
    } expected[] = {{0.5, std::sqrt(1.0 / 3), 100 / std::sqrt(2.0), 100, weight1},
        {0.5, std::sqrt(1.0 / 6), 100 / std::sqrt(2.0), 100, 100 - weight1}};
    for (std::size_t q = 0; q < 2; ++q) {
        SCOPED_TRACE(q + 1);
        EXPECT_DOUBLE_EQ(*items[q].Facility, expected[q].facility);
        EXPECT_DOUBLE_EQ(*items[q].StandardDeviation, expected[q].sd);
        EXPECT_DOUBLE_EQ(*items[q].DiscriminationIndex, expected[q].index);
        EXPECT_DOUBLE_EQ(*items[q].DiscriminativeEfficiency, expected[q].efficiency);
        EXPECT_DOUBLE_EQ(*items[q].EffectiveWeight, expected[q].weight);
    }
}

// Q1 = 1 0 0 against Q2 = 0 ½ 1: the student who got Q1 did worst on the
// rest. cov = -1/4, var(Q1) = 1/3, var(Q2) = 1/4: index -100 sqrt(3)/2.
// Q1 sorted (0 0 1) against Q2 sorted (0 ½ 1) has cov 1/4, so the
// efficiency is -100 %.
TEST(ItemStatistics, AQuestionTheWeakerStudentsGetHasNegativeFigures)
{
    const std::vector<TItemStatistics> items = ComputeItemStatistics(TableOfColumns({{1, 0, 0}, {0, 0.5, 1}}));
    EXPECT_DOUBLE_EQ(*items[0].DiscriminationIndex, -100 * std::sqrt(3.0) / 2);
    EXPECT_DOUBLE_EQ(*items[0].DiscriminativeEfficiency, -100);
    // cov(Q1, total) = 1/3 - 1/4 > 0 and cov(Q2, total) = 1/4 - 1/4 = 0.
    EXPECT_NEAR(*items[0].EffectiveWeight, 100, 1e-4);
    EXPECT_NEAR(*items[1].EffectiveWeight, 0, 1e-4);
}

TEST(ItemStatistics, FiguresThatCannotBeComputedHaveNoValue)
{
    // No student: nothing at all.
    for (const TItemStatistics& item : ComputeItemStatistics(TableOfColumns({{}, {}}))) {
        EXPECT_FALSE(item.Facility || item.StandardDeviation || item.DiscriminationIndex
            || item.DiscriminativeEfficiency || item.EffectiveWeight);
    }
    // One student: the facility alone.
    for (const TItemStatistics& item : ComputeItemStatistics(TableOfColumns({{0.25}, {1}}))) {
        EXPECT_TRUE(item.Facility);
        EXPECT_FALSE(item.StandardDeviation || item.DiscriminationIndex || item.DiscriminativeEfficiency
            || item.EffectiveWeight);
    }
    // A question everyone got equally: no spread, so nothing to compare, and
    // no share in ranking the class; the others share it all.
    {
        const auto items = ComputeItemStatistics(TableOfColumns({{0.5, 0.5, 0.5}, {1, 0, 1}, {0, 1, 1}}));
        EXPECT_DOUBLE_EQ(*items[0].Facility, 0.5);
        EXPECT_EQ(items[0].StandardDeviation, 0.0);
        EXPECT_FALSE(items[0].DiscriminationIndex || items[0].DiscriminativeEfficiency);
        EXPECT_EQ(items[0].EffectiveWeight, 0.0);
        EXPECT_NEAR(*items[1].EffectiveWeight + *items[2].EffectiveWeight, 100, 1e-9);
    }
    // One question: its rest is 0 for everyone.
    {
        const auto items = ComputeItemStatistics(TableOfColumns({{1, 0, 0.5}}));
        EXPECT_FALSE(items[0].DiscriminationIndex || items[0].DiscriminativeEfficiency);
        EXPECT_DOUBLE_EQ(*items[0].EffectiveWeight, 100);
    }
    // Every student with the same total: no question ranks anyone.
    {
        const auto items = ComputeItemStatistics(TableOfColumns({{1, 0, 1, 0}, {0, 1, 0, 1}}));
        for (const TItemStatistics& item : items) {
            EXPECT_FALSE(item.EffectiveWeight);
            EXPECT_DOUBLE_EQ(*item.DiscriminationIndex, -100); // the rest is the other question
        }
    }
    // Q2 + Q3 is 0.3 for everyone, but the sums round differently
    // (0.1 + 0.2 is not 0.3 in binary): the rest of Q1 has no spread, and no
    // figure may come from dividing by the rounding.
    {
        const auto items
            = ComputeItemStatistics(TableOfColumns({{1, 0, 0.5, 0.3}, {0.1, 0.2, 0.3, 0.25}, {0.2, 0.1, 0, 0.05}}));
        EXPECT_FALSE(items[0].DiscriminationIndex || items[0].DiscriminativeEfficiency);
        for (const TItemStatistics& item : items)
            ExpectFinite(item);
    }
}

TEST(ClassStatistics, RatesOfTheClass)
{
    // Totals 2, 1.5, 0.5 and 0 out of 2.
    const TClassStatistics figures = ComputeClassStatistics(TableOfColumns({{1, 1, 0, 0}, {1, 0.5, 0.5, 0}}));
    EXPECT_EQ(figures.Students, 4u);
    EXPECT_DOUBLE_EQ(*figures.MeanRate, 0.5);
    EXPECT_DOUBLE_EQ(*figures.MedianRate, 0.5); // (0.25 + 0.75) / 2
    EXPECT_DOUBLE_EQ(*figures.RateStandardDeviation, std::sqrt(0.625 / 3));
    const std::array<std::size_t, 10> histogram {1, 0, 1, 0, 0, 0, 0, 1, 0, 1};
    EXPECT_EQ(figures.RateHistogram, histogram);

    const TClassStatistics odd = ComputeClassStatistics(TableOfColumns({{0.9, 0.1, 0.2}}));
    EXPECT_DOUBLE_EQ(*odd.MedianRate, 0.2);
}

TEST(ClassStatistics, EachRateFallsInItsTenth)
{
    // Ten questions; each student's marks are all the same value, so the
    // rate is that value, reached through a sum that rounds (ten times 0.3
    // is 2.9999999999999996).
    const double values[] = {0, 0.0999, 0.1, 0.3, 0.7, 0.8999, 0.9, 0.999, 1};
    std::vector<std::vector<double>> columns(10);
    for (const double value : values)
        for (std::vector<double>& column : columns)
            column.push_back(value);
    const TClassStatistics figures = ComputeClassStatistics(TableOfColumns(columns));
    const std::array<std::size_t, 10> histogram {2, 1, 0, 1, 0, 0, 0, 1, 1, 3};
    EXPECT_EQ(figures.RateHistogram, histogram);
}

TEST(ClassStatistics, FiguresThatCannotBeComputedHaveNoValue)
{
    const TClassStatistics none = ComputeClassStatistics(TableOfColumns({{}}));
    EXPECT_EQ(none.Students, 0u);
    EXPECT_FALSE(none.MeanRate || none.MedianRate || none.RateStandardDeviation);
    EXPECT_EQ(none.RateHistogram, (std::array<std::size_t, 10> {}));

    const TClassStatistics one = ComputeClassStatistics(TableOfColumns({{0.4}}));
    EXPECT_DOUBLE_EQ(*one.MeanRate, 0.4);
    EXPECT_DOUBLE_EQ(*one.MedianRate, 0.4);
    EXPECT_FALSE(one.RateStandardDeviation);

    TMarksTable noQuestion;
    noQuestion.AddStudent("Seul", {});
    const TClassStatistics empty = ComputeClassStatistics(noQuestion);
    EXPECT_EQ(empty.Students, 1u);
    EXPECT_FALSE(empty.MeanRate);
}

TEST(MarksTable, RefusesRowsThatBreakItsShape)
{
    TMarksTable table({3, 1});
    table.AddStudent("Ana", std::vector<double> {1, 0.5});
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const std::vector<double>& marks :
        std::vector<std::vector<double>> {{1}, {1, 0.5, 0}, {1.5, 0}, {-0.1, 0}, {nan, 0}})
        EXPECT_THROW(table.AddStudent("Bad", marks), std::invalid_argument);
    EXPECT_EQ(table.StudentCount(), 1u);
    EXPECT_EQ(table.StudentMarks(0).size(), 2u);
    EXPECT_DOUBLE_EQ(table.Total(0), 1.5);
    EXPECT_EQ(table.QuestionMarks(1), std::vector<double> {0.5});
    EXPECT_THROW(table.Mark(0, 2), std::out_of_range);
    EXPECT_THROW(table.Mark(1, 0), std::out_of_range);
    EXPECT_THROW(TMarksTable({1, 2, 1}), std::invalid_argument);
}

} // namespace
} // namespace tavimor
