// The colour keywords that browsers recognise, with their values, and the 18
// basic colours of the style preferences and the picker's primary row.
//
// Colour values are 32-bit integers laid out as hex 00BBGGRR (red in the low byte).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavimor {

using ColorValue = std::int32_t;

struct TNetColor {
    std::uint16_t Number = 0; // position in the table, from 1
    std::string Name; // keyword, lower case
    std::string Hex; // six lower-case digits, RRGGBB
    ColorValue Value = 0;
    ColorValue RGB = 0;
};

struct BasicColor {
    const char* Name;
    ColorValue Value;
};
inline constexpr int kBasicColorCount = 18;
// "white", "lightgrey", ... "teal", indexed from 0.
const std::array<BasicColor, kBasicColorCount>& BasicColors();

// The platform's notation of a colour value that has no name: "$" and eight
// upper-case hex digits, 00BBGGRR ("$000000FF" is red).
std::string ColorToText(ColorValue value);
// The reverse of ColorToText; plain decimal text is read too. Any other text
// is "'%s' is not a valid integer value" (ConvertError).
ColorValue TextToColor(const std::string& text);

class TNetColorList {
public:
    static constexpr int kCount = 140;

    TNetColorList();

    const std::vector<TNetColor>& Colors() const { return colors_; }
    // A position outside 0..139 is "List index out of bounds (%d)" here and
    // in HexOf and RGBTextOf.
    const TNetColor& At(int position) const;

    // "f0f8ff" gives hex 00FFF8F0.
    static ColorValue HexToColor(std::string_view hex);
    int IndexOfName(std::string_view name) const; // exact; -1 if none
    ColorValue ColorByName(std::string_view name) const; // trimmed, exact; white if none
    std::string NameOfColor(ColorValue value) const; // first match, else ColorToText
    const std::string& HexOf(int position) const;
    std::string RGBTextOf(int position) const;
    std::string NameOfHex(std::string_view hex) const; // exact; empty if none

    // Fills SortedNames and SortedIndex: sort type 1 by the decimal text of
    // RGB, any other type by the hex text; both in case-insensitive text order.
    void SortBy(int sortType);
    std::array<std::string, kCount> SortedNames;
    std::array<int, kCount> SortedIndex {};

private:
    std::vector<TNetColor> colors_;
};

// Value by name in the 140-colour table (trimmed, exact, case-sensitive);
// hex FFFFFF for a name that is not there.
ColorValue ColorByName(std::string_view name);

} // namespace tavimor
