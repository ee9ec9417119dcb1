// The small pieces of markup the class report is made of: escaped texts and
// French figures, in UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tavimor {

// utf8 as HTML text or a double-quoted attribute value: "&", "<", ">" and the
// double quote as references, control characters (which no name or text
// needs) as blanks.
std::string Escaped(std::string_view utf8);
// A core text (Windows-1252, characters beyond it as references: a student
// may have typed any) as Escaped shows it, the references resolved first.
std::string Shown(std::string_view cp1252);

// The dash that stands for a figure without a value.
inline constexpr char kNoFigure[] = "\xE2\x80\x94";
// A no-break space, between a figure and its unit.
inline constexpr char kNoBreakSpace[] = "\xC2\xA0";

// value with `decimals` decimals and a decimal comma, or the dash.
std::string FigureText(const std::optional<double>& value, int decimals);
// share (0..1) in percent: "62,5 %" with a no-break space, or the dash.
std::string PercentText(const std::optional<double>& share, int decimals);
// part / whole as a share, nothing when whole is 0.
std::optional<double> ShareOf(int part, int whole);

} // namespace tavimor
