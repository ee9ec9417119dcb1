#include "analysis/ReportCharts.h"

#include "analysis/DecimalText.h"
#include "analysis/ReportMarkup.h"
#include "generator/PlainText.h"

#include <algorithm>

namespace tavimor {
namespace {

// A coordinate as SVG reads it.
std::string At(double value)
{
    return DecimalText(value, 1, '.', TrailingZeros::Drop);
}

std::string OpenSvg(double width, double height, std::string_view id, std::string_view name)
{
    const std::string title = std::string(id) + "-titre";
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " + At(width) + " " + At(height)
        + "\" role=\"img\" aria-labelledby=\"" + title + "\"><title id=\"" + title + "\">" + Escaped(name)
        + "</title>\n";
}

std::string Text(double x, double y, std::string_view escaped, std::string_view attributes = "")
{
    return "<text x=\"" + At(x) + "\" y=\"" + At(y) + "\"" + (attributes.empty() ? "" : " ") + std::string(attributes)
        + ">" + std::string(escaped) + "</text>\n";
}

std::string Rect(double x, double y, double width, double height, std::string_view attributes)
{
    return "<rect x=\"" + At(x) + "\" y=\"" + At(y) + "\" width=\"" + At(width) + "\" height=\"" + At(height) + "\" "
        + std::string(attributes) + "/>\n";
}

std::string Line(double x1, double y1, double x2, double y2, std::string_view attributes)
{
    return "<line x1=\"" + At(x1) + "\" y1=\"" + At(y1) + "\" x2=\"" + At(x2) + "\" y2=\"" + At(y2) + "\" "
        + std::string(attributes) + "/>\n";
}

// Histogram geometry.
constexpr double kHistWidth = 640;
constexpr double kHistHeight = 290;
constexpr double kHistLeft = 52;
constexpr double kHistRight = 628;
constexpr double kHistTop = 34;
constexpr double kHistBottom = 240;

// The step between the count axis' ticks: at most five of them, whole numbers.
std::size_t TickStep(std::size_t highest)
{
    return std::max<std::size_t>(1, (highest + 4) / 5);
}

std::string HistogramAxes(std::size_t top, std::size_t step)
{
    std::string svg;
    for (std::size_t tick = 0; tick <= top; tick += step) {
        const double y = kHistBottom - (kHistBottom - kHistTop) * static_cast<double>(tick) / static_cast<double>(top);
        svg += Line(kHistLeft, y, kHistRight, y, "class=\"grille\"");
        svg += Text(kHistLeft - 8, y + 4, std::to_string(tick), "text-anchor=\"end\"");
    }
    const double bin = (kHistRight - kHistLeft) / static_cast<double>(kRateBins);
    for (std::size_t edge = 0; edge <= kRateBins; ++edge)
        svg += Text(kHistLeft + bin * static_cast<double>(edge), kHistBottom + 18, std::to_string(edge * 10),
            "text-anchor=\"middle\"");
    svg += Text((kHistLeft + kHistRight) / 2, kHistBottom + 42, Shown("Taux pond\xE9r\xE9 (%)"),
        "text-anchor=\"middle\" class=\"titre-axe\"");
    svg += Text(kHistLeft - 8, kHistTop - 16, Shown("\xC9l\xE8ves"), "text-anchor=\"start\" class=\"titre-axe\"");
    return svg;
}

// Calibration geometry.
constexpr double kCalWidth = 700;
constexpr double kCalLabelRight = 168;
constexpr double kCalBarLeft = 176;
constexpr double kCalBarWidth = 340;
constexpr double kCalTop = 62; // the first row
constexpr double kCalRow = 36;
constexpr double kCalBar = 12;
constexpr std::size_t kCalLabelChars = 24;

std::string CalibrationBar(
    double y, std::optional<double> share, int right, int count, std::string_view fill, std::string_view kind)
{
    // The figures stand in a column of their own, right of the scale, where
    // neither a bar nor the 50 % line runs over them.
    const double textX = kCalBarLeft + kCalBarWidth + 10;
    if (!share)
        return Text(textX, y + kCalBar - 2, Shown("aucune r\xE9ponse " + std::string(kind)), "class=\"aucune\"");
    return Rect(kCalBarLeft, y, std::max(1.0, kCalBarWidth * *share), kCalBar, fill)
        + Text(textX, y + kCalBar - 2,
            PercentText(share, 0) + " (" + std::to_string(right) + " sur " + std::to_string(count) + ")");
}

std::string CalibrationLegend(std::string_view hatch)
{
    return Rect(kCalBarLeft, 6, 14, 12, "class=\"certaines\"")
        + Text(kCalBarLeft + 20, 16, Shown("justes parmi les r\xE9ponses certaines"))
        + Rect(kCalBarLeft, 24, 14, 12, "fill=\"url(#" + std::string(hatch) + ")\" class=\"incertaines\"")
        + Text(kCalBarLeft + 20, 34, Shown("justes parmi les r\xE9ponses incertaines"));
}

std::string CalibrationScale(double bottom)
{
    std::string svg;
    for (int percent = 0; percent <= 100; percent += 25) {
        const double x = kCalBarLeft + kCalBarWidth * percent / 100.0;
        svg += Line(x, kCalTop - 8, x, bottom, percent == 50 ? "class=\"moitie\"" : "class=\"grille\"");
        svg += Text(x, kCalTop - 12, std::to_string(percent) + kNoBreakSpace + "%",
            percent == 50 ? "text-anchor=\"middle\" class=\"titre-axe\"" : "text-anchor=\"middle\"");
    }
    return svg;
}

} // namespace

std::string HistogramSvg(const std::array<std::size_t, kRateBins>& bins, std::string_view id, std::string_view name)
{
    const std::size_t highest = *std::max_element(bins.begin(), bins.end());
    const std::size_t step = TickStep(highest);
    const std::size_t top = std::max<std::size_t>(1, (highest + step - 1) / step) * step;
    std::string svg = OpenSvg(kHistWidth, kHistHeight, id, name) + HistogramAxes(top, step);
    const double bin = (kHistRight - kHistLeft) / static_cast<double>(kRateBins);
    for (std::size_t i = 0; i < kRateBins; ++i) {
        if (bins[i] == 0)
            continue;
        const double height = (kHistBottom - kHistTop) * static_cast<double>(bins[i]) / static_cast<double>(top);
        const double x = kHistLeft + bin * static_cast<double>(i);
        svg += Rect(x + 5, kHistBottom - height, bin - 10, height, "class=\"barre\"");
        svg += Text(x + bin / 2, kHistBottom - height - 5, std::to_string(bins[i]), "text-anchor=\"middle\"");
    }
    svg += Line(kHistLeft, kHistBottom, kHistRight, kHistBottom, "class=\"axe\"");
    return svg + "</svg>";
}

std::string CalibrationSvg(const std::vector<TCalibrationRow>& rows, std::string_view id, std::string_view name)
{
    const double bottom = kCalTop + kCalRow * static_cast<double>(rows.size());
    const std::string hatch = std::string(id) + "-hachures";
    std::string svg = OpenSvg(kCalWidth, bottom + 8, id, name);
    svg += "<defs><pattern id=\"" + hatch
        + "\" width=\"6\" height=\"6\" patternUnits=\"userSpaceOnUse\" patternTransform=\"rotate(45)\">"
          "<rect width=\"6\" height=\"6\" class=\"fond-hachures\"/>"
          "<line x1=\"0\" y1=\"0\" x2=\"0\" y2=\"6\" class=\"hachure\"/></pattern></defs>\n";
    svg += CalibrationLegend(hatch) + CalibrationScale(bottom);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const TCalibration& c = rows[i].Counts;
        const double y = kCalTop + kCalRow * static_cast<double>(i) + 4;
        svg += Text(kCalLabelRight, y + kCalBar + 4, Escaped(ShortenedUtf8(rows[i].Label, kCalLabelChars)),
            "text-anchor=\"end\"");
        svg += CalibrationBar(y, c.CertainRightShare(), c.CertainRight, c.Certain, "class=\"certaines\"", "certaine");
        svg += CalibrationBar(y + kCalBar + 2, c.UncertainRightShare(), c.UncertainRight, c.Uncertain,
            "fill=\"url(#" + hatch + ")\" class=\"incertaines\"", "incertaine");
    }
    // The line is drawn last, over the bars it compares.
    svg += Line(
        kCalBarLeft + kCalBarWidth / 2, kCalTop - 8, kCalBarLeft + kCalBarWidth / 2, bottom, "class=\"moitie\"");
    return svg + "</svg>";
}

} // namespace tavimor
