// stats: the item analysis of a marks table, as a French table for a person
// or as JSON for a program.
#include "analysis/DecimalText.h"
#include "analysis/ItemStatistics.h"
#include "analysis/MarksTableCsv.h"
#include "base/Cp1252.h"
#include "cli/Commands.h"

#include <charconv>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace tavimor::cli {
namespace {

struct StatsArgs {
    std::string table;
    bool json = false;
};

StatsArgs ParseStatsArgs(const Args& args)
{
    StatsArgs parsed;
    for (const std::string& arg : args) {
        if (arg == "--json")
            parsed.json = true;
        else if (parsed.table.empty() && !arg.starts_with("--"))
            parsed.table = arg;
        else
            throw UsageError {"stats: unexpected argument '" + arg + "'"};
    }
    if (parsed.table.empty())
        throw UsageError {"stats needs a marks table (MARKS.csv)"};
    return parsed;
}

// ---------------------------------------------------------------------------
// JSON

// The shortest text that reads back as the same double; null without a value.
std::string JsonNumber(const std::optional<double>& value)
{
    if (!value)
        return "null";
    char buffer[32];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, *value);
    return error == std::errc() ? std::string(buffer, end) : "null";
}

std::string StatisticsJson(std::size_t students, const std::vector<TItemStatistics>& items)
{
    std::string json = "{\"students\": " + std::to_string(students) + ", \"questions\": [";
    for (std::size_t i = 0; i < items.size(); ++i) {
        const TItemStatistics& item = items[i];
        json += i == 0 ? "" : ", ";
        json += "{\"question\": " + std::to_string(item.Question) + ", \"facility\": " + JsonNumber(item.Facility)
            + ", \"sd\": " + JsonNumber(item.StandardDeviation)
            + ", \"discrimination_index\": " + JsonNumber(item.DiscriminationIndex)
            + ", \"discriminative_efficiency\": " + JsonNumber(item.DiscriminativeEfficiency)
            + ", \"effective_weight\": " + JsonNumber(item.EffectiveWeight) + "}";
    }
    return json + "]}\n";
}

// ---------------------------------------------------------------------------
// The French table, made in the code page (one byte a character, so that
// the columns line up by size) and printed in UTF-8.

constexpr const char* kNoValue = "\x97"; // an em dash
// "Écart-type", the escape apart: "\xC9ca" would read as one hex number.
constexpr const char* kDeviationHeader = "\xC9"
                                         "cart-type";

std::string Figure(const std::optional<double>& value, int decimals, const char* unit = "")
{
    return value ? DecimalText(*value, decimals, ',', TrailingZeros::Keep) + unit : kNoValue;
}

using Row = std::vector<std::string>;

Row ItemRow(const TItemStatistics& item)
{
    return {"Q" + std::to_string(item.Question), Figure(item.Facility, 3), Figure(item.StandardDeviation, 3),
        Figure(item.DiscriminationIndex, 1, " %"), Figure(item.DiscriminativeEfficiency, 1, " %"),
        Figure(item.EffectiveWeight, 1, " %")};
}

// The first column to the left, the figures to the right, two blanks apart.
std::string Aligned(const std::vector<Row>& rows)
{
    std::vector<std::size_t> widths(rows.front().size(), 0);
    for (const Row& row : rows)
        for (std::size_t column = 0; column < row.size(); ++column)
            widths[column] = std::max(widths[column], row[column].size());
    std::string text;
    for (const Row& row : rows) {
        for (std::size_t column = 0; column < row.size(); ++column) {
            const std::string padding(widths[column] - row[column].size(), ' ');
            text += column == 0 ? row[column] + padding : "  " + padding + row[column];
        }
        text += '\n';
    }
    return text;
}

std::string StatisticsTable(std::size_t students, const std::vector<TItemStatistics>& items)
{
    std::string text = std::to_string(students) + (students == 1 ? " \xE9l\xE8ve" : " \xE9l\xE8ves") + "\n";
    std::vector<Row> rows {{"Question", "Facilit\xE9", kDeviationHeader, "Indice de discrimination",
        "Efficacit\xE9 discriminante", "Poids effectif"}};
    for (const TItemStatistics& item : items)
        rows.push_back(ItemRow(item));
    return text + Aligned(rows);
}

} // namespace

int Stats(const Args& args)
{
    const StatsArgs parsed = ParseStatsArgs(args);
    const TMarksTable table = ReadMarksTableFile(parsed.table);
    const std::vector<TItemStatistics> items = ComputeItemStatistics(table);
    if (parsed.json)
        std::cout << StatisticsJson(table.StudentCount(), items);
    else
        std::cout << Cp1252ToUtf8(StatisticsTable(table.StudentCount(), items));
    std::cout.flush();
    return std::cout ? 0 : 1;
}

} // namespace tavimor::cli
