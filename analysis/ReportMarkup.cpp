#include "analysis/ReportMarkup.h"

#include "analysis/DecimalText.h"
#include "base/Cp1252.h"
#include "base/TextHelpers.h"

#include <algorithm>
#include <cmath>

namespace tavimor {

std::string Escaped(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    AppendMarkupEscaped(out, utf8);
    // Control characters have no place in a page's text.
    std::replace_if(
        out.begin(), out.end(), [](char c) { return static_cast<unsigned char>(c) < ' ' || c == '\x7F'; }, ' ');
    return out;
}

std::string Shown(std::string_view cp1252)
{
    return Escaped(Cp1252ToUtf8ResolvingReferences(cp1252));
}

std::string FigureText(const std::optional<double>& value, int decimals)
{
    if (!value || !std::isfinite(*value))
        return std::string(kNoFigure);
    return DecimalText(*value, decimals, ',', TrailingZeros::Keep);
}

std::string PercentText(const std::optional<double>& share, int decimals)
{
    if (!share || !std::isfinite(*share))
        return std::string(kNoFigure);
    return FigureText(*share * 100, decimals) + kNoBreakSpace + "%";
}

std::optional<double> ShareOf(int part, int whole)
{
    if (whole <= 0)
        return std::nullopt;
    return static_cast<double>(part) / whole;
}

} // namespace tavimor
