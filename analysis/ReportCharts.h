// The class report's charts: inline SVG pictures, each an image with its own
// accessible name (the figures they draw are also given as text beside them).
#pragma once

#include "analysis/Calibration.h"
#include "analysis/ItemStatistics.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tavimor {

// A bar a tenth of the rate, its count above it. id makes the ids inside the
// picture unique in its page; name is its accessible name (UTF-8, escaped
// here).
std::string HistogramSvg(const std::array<std::size_t, kRateBins>& bins, std::string_view id, std::string_view name);

struct TCalibrationRow {
    std::string Label; // UTF-8, shortened here when long
    TCalibration Counts;
};

// Two bars a row: the share right among certain answers and among uncertain
// ones, 0 to 100 %, with the 50 % line past which ticking "certain" pays;
// "aucune" where a row has no answer of a kind.
std::string CalibrationSvg(const std::vector<TCalibrationRow>& rows, std::string_view id, std::string_view name);

} // namespace tavimor
