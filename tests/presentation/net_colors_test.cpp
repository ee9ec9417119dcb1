#include "base/Errors.h"
#include "presentation/NetColors.h"

#include <algorithm>
#include <gtest/gtest.h>

#include <ostream>

using namespace tavimor;

namespace {

struct TableRow {
    int number;
    const char* name;
    const char* hex;
    ColorValue value;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const TableRow& c, std::ostream* os)
{
    *os << c.number << " " << c.name;
}

class NetColorTableTest : public ::testing::TestWithParam<TableRow> { };

TEST_P(NetColorTableTest, RowHoldsNameHexAndValue)
{
    const TNetColorList list;
    const TableRow& row = GetParam();
    const TNetColor& color = list.At(row.number - 1);
    EXPECT_EQ(color.Number, row.number);
    EXPECT_EQ(color.Name, row.name);
    EXPECT_EQ(color.Hex, row.hex);
    EXPECT_EQ(color.Value, row.value);
    EXPECT_EQ(color.RGB, row.value);
}

INSTANTIATE_TEST_SUITE_P(TellingRows, NetColorTableTest,
    ::testing::Values(TableRow {1, "aliceblue", "f0f8ff", 0xFFF8F0}, TableRow {3, "aqua", "00ffff", 0xFFFF00},
        TableRow {8, "black", "000000", 0}, TableRow {21, "cyan", "00ffff", 0xFFFF00},
        TableRow {46, "fuchsia", "ff00ff", 0xFF00FF}, TableRow {69, "lightgrey", "d3d3d3", 0xD3D3D3},
        TableRow {80, "magenta", "ff00ff", 0xFF00FF}, TableRow {104, "palegreen", "98fb98", 10025880},
        TableRow {114, "red", "ff0000", 255}, TableRow {137, "white", "ffffff", 0xFFFFFF},
        TableRow {140, "yellowgreen", "9acd32", 0x32CD9A}));

TEST(NetColorListTest, HoldsExactlyTheKeywordsOfTheTable)
{
    const TNetColorList list;
    ASSERT_EQ(list.Colors().size(), 140U);
    for (const char* leftOut :
        {"grey", "darkgrey", "dimgrey", "slategrey", "darkslategrey", "lightslategrey", "lightgray"})
        EXPECT_EQ(list.IndexOfName(leftOut), -1) << leftOut;
    EXPECT_THROW(list.At(140), ListIndexError);
    EXPECT_THROW(list.HexOf(-1), ListIndexError);
}

TEST(NetColorListTest, Lookups)
{
    const TNetColorList list;
    EXPECT_EQ(TNetColorList::HexToColor("f0f8ff"), 0x00FFF8F0);
    EXPECT_EQ(list.IndexOfName("aqua"), 2);
    EXPECT_EQ(list.IndexOfName("Aqua"), -1);
    EXPECT_EQ(list.IndexOfName(" aqua"), -1);
    EXPECT_EQ(list.NameOfHex("00ffff"), "aqua");
    EXPECT_EQ(list.NameOfHex("00FFFF"), "");
    EXPECT_EQ(list.HexOf(0), "f0f8ff");
    EXPECT_EQ(list.RGBTextOf(103), "10025880");
    // Shared values give the first name in table order.
    EXPECT_EQ(list.NameOfColor(0xFFFF00), "aqua");
    EXPECT_EQ(list.NameOfColor(0xFF00FF), "fuchsia");
}

TEST(NetColorListTest, ColorByNameTrimsAndMatchesCaseSensitively)
{
    const TNetColorList list;
    struct Case {
        const char* name;
        ColorValue expected;
    };
    for (const Case& c : {Case {"  navy ", 0x800000}, Case {"\tnavy", 0x800000}, Case {"Navy", 0xFFFFFF},
             Case {"grey", 0xFFFFFF}, Case {"", 0xFFFFFF}, Case {"red", 255}, Case {"transparent", 0xFFFFFF}}) {
        EXPECT_EQ(list.ColorByName(c.name), c.expected) << c.name;
        EXPECT_EQ(ColorByName(c.name), c.expected) << c.name;
    }
}

TEST(NetColorListTest, UnnamedValueTurnsBackIntoTheSameValue)
{
    const TNetColorList list;
    EXPECT_EQ(ColorToText(255), "$000000FF");
    for (const ColorValue value : {0x123456, 0x00000001, -1, static_cast<ColorValue>(0x80000000)}) {
        const std::string text = list.NameOfColor(value);
        EXPECT_EQ(TextToColor(text), value) << text;
    }
    EXPECT_EQ(TextToColor("16711680"), 0xFF0000);
    try {
        TextToColor("bleu");
        FAIL() << "no error";
    } catch (const ConvertError& e) {
        EXPECT_STREQ(e.what(), "'bleu' is not a valid integer value");
    }
}

TEST(NetColorListTest, SortByHexRunsFromBlackToWhiteWithSharedValuesUnderTheFirstName)
{
    TNetColorList list;
    list.SortBy(0);
    EXPECT_EQ(list.SortedNames.front(), "black");
    EXPECT_EQ(list.SortedNames.back(), "white");
    const auto count
        = [&list](const char* name) { return std::count(list.SortedNames.begin(), list.SortedNames.end(), name); };
    EXPECT_EQ(count("aqua"), 2);
    EXPECT_EQ(count("fuchsia"), 2);
    EXPECT_EQ(count("cyan"), 0);
    EXPECT_EQ(count("magenta"), 0);
    for (int i = 0; i < TNetColorList::kCount; ++i) {
        const int index = list.SortedIndex[static_cast<std::size_t>(i)];
        EXPECT_EQ(list.At(index).Name, list.SortedNames[static_cast<std::size_t>(i)]);
        if (i > 0) {
            EXPECT_LE(list.At(list.SortedIndex[static_cast<std::size_t>(i - 1)]).Hex, list.At(index).Hex);
        }
    }
}

TEST(NetColorListTest, SortByRgbOrdersTheDecimalDigitsAsText)
{
    TNetColorList list;
    list.SortBy(1);
    const auto position = [&list](const char* name) {
        return std::find(list.SortedNames.begin(), list.SortedNames.end(), name) - list.SortedNames.begin();
    };
    EXPECT_EQ(list.SortedNames.front(), "black"); // "0"
    EXPECT_LT(position("palegreen"), position("red")); // "10025880" before "255"
    EXPECT_LT(position("red"), position("navy")); // "255" before "8388608"
}

} // namespace
