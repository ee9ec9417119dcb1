// What the stats and results commands print of an item analysis: the JSON
// that other programs read and the French table a person reads.
#pragma once

#include "analysis/ItemStatistics.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavimor::cli {

// The shortest text that reads back as the same double; null without a value.
std::string JsonNumber(const std::optional<double>& value);
// A JSON string of a core text (Windows-1252, characters beyond it as
// references), in UTF-8.
std::string JsonText(std::string_view cp1252);
// [{"question": 1, "facility": ..., "sd": ..., "discrimination_index": ...,
//   "discriminative_efficiency": ..., "effective_weight": ...}, ...]
std::string ItemStatisticsJson(const std::vector<TItemStatistics>& items);

// "12 élèves", in the code page.
std::string StudentCount(std::size_t students);
// A figure with its decimals and a decimal comma, or a dash without a value.
std::string Figure(const std::optional<double>& value, int decimals, const char* unit = "");

using Row = std::vector<std::string>;
// The first column to the left, the others to the right, two blanks apart;
// the cells in the code page (one byte a character, so that they line up).
std::string Aligned(const std::vector<Row>& rows);
// One row a question under the French column names.
std::string ItemStatisticsTable(const std::vector<TItemStatistics>& items);

} // namespace tavimor::cli
