#include "presentation/NetColors.h"

#include "base/Errors.h"
#include "base/TextHelpers.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace tavimor {

namespace {

// The colour keywords in table order, each with its RRGGBB code.
struct NamedHex {
    const char* name;
    const char* hex;
};

constexpr std::array<NamedHex, TNetColorList::kCount> kNetColorTable = {{
    {"aliceblue", "f0f8ff"},
    {"antiquewhite", "faebd7"},
    {"aqua", "00ffff"},
    {"aquamarine", "7fffd4"},
    {"azure", "f0ffff"},
    {"beige", "f5f5dc"},
    {"bisque", "ffe4c4"},
    {"black", "000000"},
    {"blanchedalmond", "ffebcd"},
    {"blue", "0000ff"},
    {"blueviolet", "8a2be2"},
    {"brown", "a52a2a"},
    {"burlywood", "deb887"},
    {"cadetblue", "5f9ea0"},
    {"chartreuse", "7fff00"},
    {"chocolate", "d2691e"},
    {"coral", "ff7f50"},
    {"cornflowerblue", "6495ed"},
    {"cornsilk", "fff8dc"},
    {"crimson", "dc143c"},
    {"cyan", "00ffff"},
    {"darkblue", "00008b"},
    {"darkcyan", "008b8b"},
    {"darkgoldenrod", "b8860b"},
    {"darkgray", "a9a9a9"},
    {"darkgreen", "006400"},
    {"darkkhaki", "bdb76b"},
    {"darkmagenta", "8b008b"},
    {"darkolivegreen", "556b2f"},
    {"darkorange", "ff8c00"},
    {"darkorchid", "9932cc"},
    {"darkred", "8b0000"},
    {"darksalmon", "e9967a"},
    {"darkseagreen", "8fbc8f"},
    {"darkslateblue", "483d8b"},
    {"darkslategray", "2f4f4f"},
    {"darkturquoise", "00ced1"},
    {"darkviolet", "9400d3"},
    {"deeppink", "ff1493"},
    {"deepskyblue", "00bfff"},
    {"dimgray", "696969"},
    {"dodgerblue", "1e90ff"},
    {"firebrick", "b22222"},
    {"floralwhite", "fffaf0"},
    {"forestgreen", "228b22"},
    {"fuchsia", "ff00ff"},
    {"gainsboro", "dcdcdc"},
    {"ghostwhite", "f8f8ff"},
    {"gold", "ffd700"},
    {"goldenrod", "daa520"},
    {"gray", "808080"},
    {"green", "008000"},
    {"greenyellow", "adff2f"},
    {"honeydew", "f0fff0"},
    {"hotpink", "ff69b4"},
    {"indianred", "cd5c5c"},
    {"indigo", "4b0082"},
    {"ivory", "fffff0"},
    {"khaki", "f0e68c"},
    {"lavender", "e6e6fa"},
    {"lavenderblush", "fff0f5"},
    {"lawngreen", "7cfc00"},
    {"lemonchiffon", "fffacd"},
    {"lightblue", "add8e6"},
    {"lightcoral", "f08080"},
    {"lightcyan", "e0ffff"},
    {"lightgoldenrodyellow", "fafad2"},
    {"lightgreen", "90ee90"},
    {"lightgrey", "d3d3d3"},
    {"lightpink", "ffb6c1"},
    {"lightsalmon", "ffa07a"},
    {"lightseagreen", "20b2aa"},
    {"lightskyblue", "87cefa"},
    {"lightslategray", "778899"},
    {"lightsteelblue", "b0c4de"},
    {"lightyellow", "ffffe0"},
    {"lime", "00ff00"},
    {"limegreen", "32cd32"},
    {"linen", "faf0e6"},
    {"magenta", "ff00ff"},
    {"maroon", "800000"},
    {"mediumaquamarine", "66cdaa"},
    {"mediumblue", "0000cd"},
    {"mediumorchid", "ba55d3"},
    {"mediumpurple", "9370db"},
    {"mediumseagreen", "3cb371"},
    {"mediumslateblue", "7b68ee"},
    {"mediumspringgreen", "00fa9a"},
    {"mediumturquoise", "48d1cc"},
    {"mediumvioletred", "c71585"},
    {"midnightblue", "191970"},
    {"mintcream", "f5fffa"},
    {"mistyrose", "ffe4e1"},
    {"moccasin", "ffe4b5"},
    {"navajowhite", "ffdead"},
    {"navy", "000080"},
    {"oldlace", "fdf5e6"},
    {"olive", "808000"},
    {"olivedrab", "6b8e23"},
    {"orange", "ffa500"},
    {"orangered", "ff4500"},
    {"orchid", "da70d6"},
    {"palegoldenrod", "eee8aa"},
    {"palegreen", "98fb98"},
    {"paleturquoise", "afeeee"},
    {"palevioletred", "db7093"},
    {"papayawhip", "ffefd5"},
    {"peachpuff", "ffdab9"},
    {"peru", "cd853f"},
    {"pink", "ffc0cb"},
    {"plum", "dda0dd"},
    {"powderblue", "b0e0e6"},
    {"purple", "800080"},
    {"red", "ff0000"},
    {"rosybrown", "bc8f8f"},
    {"royalblue", "4169e1"},
    {"saddlebrown", "8b4513"},
    {"salmon", "fa8072"},
    {"sandybrown", "f4a460"},
    {"seagreen", "2e8b57"},
    {"seashell", "fff5ee"},
    {"sienna", "a0522d"},
    {"silver", "c0c0c0"},
    {"skyblue", "87ceeb"},
    {"slateblue", "6a5acd"},
    {"slategray", "708090"},
    {"snow", "fffafa"},
    {"springgreen", "00ff7f"},
    {"steelblue", "4682b4"},
    {"tan", "d2b48c"},
    {"teal", "008080"},
    {"thistle", "d8bfd8"},
    {"tomato", "ff6347"},
    {"turquoise", "40e0d0"},
    {"violet", "ee82ee"},
    {"wheat", "f5deb3"},
    {"white", "ffffff"},
    {"whitesmoke", "f5f5f5"},
    {"yellow", "ffff00"},
    {"yellowgreen", "9acd32"},
}};

constexpr ColorValue kWhite = 0xFFFFFF;

std::string LowerAscii(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

} // namespace

const std::array<BasicColor, kBasicColorCount>& BasicColors()
{
    static constexpr std::array<BasicColor, kBasicColorCount> kBasic = {{
        {"white", 0xFFFFFF},
        {"lightgrey", 0xC0C0C0},
        {"silver", 0xC0C0C0},
        {"darkgray", 0x808080},
        {"gray", 0x808080},
        {"black", 0x000000},
        {"navy", 0x800000},
        {"blue", 0xFF0000},
        {"aqua", 0xFFFF00},
        {"fuchsia", 0xFF00FF},
        {"purple", 0x800080},
        {"red", 0x0000FF},
        {"maroon", 0x000080},
        {"yellow", 0x00FFFF},
        {"lime", 0x00FF00},
        {"green", 0x008000},
        {"olive", 0x008080},
        {"teal", 0x808000},
    }};
    return kBasic;
}

std::string ColorToText(ColorValue value)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "$%08X", static_cast<unsigned>(static_cast<std::uint32_t>(value)));
    return buffer;
}

ColorValue TextToColor(const std::string& text)
{
    return ParseInteger(text);
}

TNetColorList::TNetColorList()
{
    colors_.reserve(kCount);
    for (std::size_t i = 0; i < kNetColorTable.size(); ++i) {
        TNetColor color;
        color.Number = static_cast<std::uint16_t>(i + 1);
        color.Name = kNetColorTable[i].name;
        color.Hex = kNetColorTable[i].hex;
        color.Value = HexToColor(color.Hex);
        // Every table colour is a plain RGB value, so the platform's
        // colour-to-RGB conversion leaves it as it is.
        color.RGB = color.Value;
        colors_.push_back(std::move(color));
    }
}

const TNetColor& TNetColorList::At(int position) const
{
    if (position < 0 || position >= static_cast<int>(colors_.size()))
        throw ListIndexError(position);
    return colors_[static_cast<std::size_t>(position)];
}

ColorValue TNetColorList::HexToColor(std::string_view hex)
{
    // Characters 1-2 are red, 3-4 green, 5-6 blue; the value puts blue high.
    const auto piece = [hex](std::size_t from) { return from < hex.size() ? hex.substr(from, 2) : std::string_view(); };
    std::string text = "$0";
    text += piece(4);
    text += piece(2);
    text += piece(0);
    return ParseInteger(text);
}

int TNetColorList::IndexOfName(std::string_view name) const
{
    for (std::size_t i = 0; i < colors_.size(); ++i)
        if (colors_[i].Name == name)
            return static_cast<int>(i);
    return -1;
}

ColorValue TNetColorList::ColorByName(std::string_view name) const
{
    const int index = IndexOfName(TrimBlanks(name));
    return index < 0 ? kWhite : colors_[static_cast<std::size_t>(index)].Value;
}

std::string TNetColorList::NameOfColor(ColorValue value) const
{
    for (const TNetColor& color : colors_)
        if (color.Value == value)
            return color.Name;
    return ColorToText(value);
}

const std::string& TNetColorList::HexOf(int position) const
{
    return At(position).Hex;
}

std::string TNetColorList::RGBTextOf(int position) const
{
    return std::to_string(At(position).RGB);
}

std::string TNetColorList::NameOfHex(std::string_view hex) const
{
    for (const TNetColor& color : colors_)
        if (color.Hex == hex)
            return color.Name;
    return {};
}

void TNetColorList::SortBy(int sortType)
{
    const bool byRgb = sortType == 1;
    std::array<std::string, kCount> keys;
    for (std::size_t i = 0; i < colors_.size(); ++i)
        keys[i] = byRgb ? std::to_string(colors_[i].RGB) : colors_[i].Hex;
    std::stable_sort(keys.begin(), keys.end(),
        [](const std::string& a, const std::string& b) { return LowerAscii(a) < LowerAscii(b); });

    // Lookups return the first entry of a shared value, so "aqua" and
    // "fuchsia" come out twice and "cyan" and "magenta" not at all.
    for (std::size_t i = 0; i < keys.size(); ++i) {
        SortedNames[i] = byRgb ? NameOfColor(ParseInteger(keys[i])) : NameOfHex(keys[i]);
        SortedIndex[i] = IndexOfName(SortedNames[i]);
    }
}

ColorValue ColorByName(std::string_view name)
{
    // The table never changes: build it once for every lookup of the run.
    static const TNetColorList table;
    return table.ColorByName(name);
}

} // namespace tavimor
