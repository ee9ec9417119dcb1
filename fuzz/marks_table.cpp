// Feeds arbitrary bytes to the marks table reader. Refusing them
// (MarksTableError, with its French message) is the expected failure; any
// other exception, a crash or a sanitizer report is a finding. The
// statistics of a table read must be sound (no NaN or infinity, each figure
// within its range, the weights adding up to 100 %), and its CSV form must
// read back as the same table, to the four decimals written.
#include "analysis/ItemStatistics.h"
#include "analysis/MarksTableCsv.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>

namespace {

constexpr double kRounding = 1e-6;

[[noreturn]] void Finding(const char* what, std::size_t where)
{
    std::fprintf(stderr, "%s (%zu)\n", what, where);
    std::abort();
}

// A figure without a value is fine; a value is finite and within low..high.
void CheckFigure(const std::optional<double>& figure, double low, double high, const char* what, std::size_t where)
{
    if (figure && !(std::isfinite(*figure) && *figure >= low - kRounding && *figure <= high + kRounding))
        Finding(what, where);
}

void CheckItems(const tavimor::TMarksTable& table)
{
    const auto items = tavimor::ComputeItemStatistics(table);
    if (items.size() != table.QuestionCount())
        Finding("one entry a question", items.size());
    double weights = 0;
    bool weighted = false;
    for (std::size_t q = 0; q < items.size(); ++q) {
        const tavimor::TItemStatistics& item = items[q];
        if (item.Facility.has_value() != (table.StudentCount() > 0))
            Finding("facility exactly when there are students", q);
        CheckFigure(item.Facility, 0, 1, "facility", q);
        CheckFigure(item.StandardDeviation, 0, 1, "standard deviation", q);
        CheckFigure(item.DiscriminationIndex, -100, 100, "discrimination index", q);
        CheckFigure(item.DiscriminativeEfficiency, -HUGE_VAL, 100, "discriminative efficiency", q);
        CheckFigure(item.EffectiveWeight, 0, 100, "effective weight", q);
        weighted = weighted || item.EffectiveWeight.has_value();
        weights += item.EffectiveWeight.value_or(0);
    }
    if (weighted && std::fabs(weights - 100) > kRounding)
        Finding("effective weights add up to 100", 0);
}

void CheckClass(const tavimor::TMarksTable& table)
{
    const tavimor::TClassStatistics figures = tavimor::ComputeClassStatistics(table);
    std::size_t counted = 0;
    for (const std::size_t count : figures.RateHistogram)
        counted += count;
    if (figures.Students != table.StudentCount() || (table.QuestionCount() > 0 && counted != figures.Students))
        Finding("every student in the histogram", counted);
    CheckFigure(figures.MeanRate, 0, 1, "mean rate", 0);
    CheckFigure(figures.MedianRate, 0, 1, "median rate", 0);
    CheckFigure(figures.RateStandardDeviation, 0, 1, "rate deviation", 0);
}

void CheckWrittenReadsBack(const tavimor::TMarksTable& table)
{
    const tavimor::TMarksTable again = tavimor::ReadMarksTable(tavimor::MarksTableCsv(table));
    if (again.QuestionNumbers() != table.QuestionNumbers() || again.StudentCount() != table.StudentCount())
        Finding("shape after the round trip", again.StudentCount());
    for (std::size_t student = 0; student < table.StudentCount(); ++student) {
        if (again.StudentName(student) != table.StudentName(student))
            Finding("name after the round trip", student);
        for (std::size_t q = 0; q < table.QuestionCount(); ++q)
            if (std::fabs(again.Mark(student, q) - table.Mark(student, q)) > 0.00005 + 1e-12)
                Finding("mark after the round trip", student);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    tavimor::TMarksTable table;
    try {
        table = tavimor::ReadMarksTable(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const tavimor::MarksTableError&) {
        return 0;
    }
    CheckItems(table);
    CheckClass(table);
    CheckWrittenReadsBack(table);
    return 0;
}
