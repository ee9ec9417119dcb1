#include "cli/AnalysisOutput.h"

#include "analysis/DecimalText.h"
#include "base/Cp1252.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <charconv>

namespace tavimor::cli {
namespace {

constexpr const char* kNoValue = "\x97"; // an em dash
// "Écart-type", the escape apart: "\xC9ca" would read as one hex number.
constexpr const char* kDeviationHeader = "\xC9"
                                         "cart-type";

Row ItemRow(const TItemStatistics& item)
{
    return {"Q" + std::to_string(item.Question), Figure(item.Facility, 3), Figure(item.StandardDeviation, 3),
        Figure(item.DiscriminationIndex, 1, " %"), Figure(item.DiscriminativeEfficiency, 1, " %"),
        Figure(item.EffectiveWeight, 1, " %")};
}

} // namespace

std::string JsonNumber(const std::optional<double>& value)
{
    if (!value)
        return "null";
    char buffer[32];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, *value);
    return error == std::errc() ? std::string(buffer, end) : "null";
}

std::string JsonText(std::string_view cp1252)
{
    return nlohmann::json(Cp1252ToUtf8ResolvingReferences(cp1252)).dump();
}

std::string ItemStatisticsJson(const std::vector<TItemStatistics>& items)
{
    std::string json = "[";
    for (std::size_t i = 0; i < items.size(); ++i) {
        const TItemStatistics& item = items[i];
        json += i == 0 ? "" : ", ";
        json += "{\"question\": " + std::to_string(item.Question) + ", \"facility\": " + JsonNumber(item.Facility)
            + ", \"sd\": " + JsonNumber(item.StandardDeviation)
            + ", \"discrimination_index\": " + JsonNumber(item.DiscriminationIndex)
            + ", \"discriminative_efficiency\": " + JsonNumber(item.DiscriminativeEfficiency)
            + ", \"effective_weight\": " + JsonNumber(item.EffectiveWeight) + "}";
    }
    return json + "]";
}

std::string StudentCount(std::size_t students)
{
    return std::to_string(students) + (students == 1 ? " \xE9l\xE8ve" : " \xE9l\xE8ves");
}

std::string Figure(const std::optional<double>& value, int decimals, const char* unit)
{
    return value ? DecimalText(*value, decimals, ',', TrailingZeros::Keep) + unit : kNoValue;
}

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

std::string ItemStatisticsTable(const std::vector<TItemStatistics>& items)
{
    std::vector<Row> rows {{"Question", "Facilit\xE9", kDeviationHeader, "Indice de discrimination",
        "Efficacit\xE9 discriminante", "Poids effectif"}};
    for (const TItemStatistics& item : items)
        rows.push_back(ItemRow(item));
    return Aligned(rows);
}

} // namespace tavimor::cli
