#include "model/Cp1252.h"
#include "model/ValueStream.h"

#include <gtest/gtest.h>

namespace tavimor {
namespace {

std::string AllBytes()
{
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes += static_cast<char>(b);
    return bytes;
}

TEST(Cp1252, EveryByteSurvivesUtf8AndBack)
{
    const std::string bytes = AllBytes();
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(bytes)), bytes);
    for (int b = 0; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(one)), one) << b;
    }

    // Through the value stream, as the document file carries text.
    TValueWriter writer;
    writer.WriteString(bytes);
    TValueReader reader(writer.Bytes());
    EXPECT_EQ(reader.ReadString(), bytes);
}

TEST(Cp1252, KnownCharacters)
{
    struct Case {
        std::string cp1252;
        std::string utf8;
    };
    const Case cases[] = {
        {"\x80", "\xE2\x82\xAC"}, // euro sign
        {"\x92", "\xE2\x80\x99"}, // right single quotation mark
        {"\x81", "\xC2\x81"}, // undefined in the code page: the C1 control of the same value
        {"\xA0", "\xC2\xA0"},
        {"\xE9t\xE9", "\xC3\xA9t\xC3\xA9"},
        {"\xFF", "\xC3\xBF"},
        {"abc", "abc"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Cp1252ToUtf8(c.cp1252), c.utf8);
        EXPECT_EQ(Utf8ToCp1252(c.utf8), c.cp1252);
    }
}

TEST(Cp1252, UnrepresentableAndMalformedInputBecomesTheReplacement)
{
    EXPECT_EQ(Utf8ToCp1252("\xCE\xA9"), "?"); // Greek omega
    EXPECT_EQ(Utf8ToCp1252("\xF0\x9F\x98\x80x"), "?x"); // outside the BMP
    EXPECT_EQ(Utf8ToCp1252("a\xC3"), "a?"); // cut sequence
    EXPECT_EQ(Utf8ToCp1252("\xFF"
                           "b"),
        "?b");
    EXPECT_EQ(Utf8ToCp1252("\xE2\x82"
                           "c"),
        "??c");
    EXPECT_EQ(Utf16LeToCp1252(std::string("\x00\xD8", 2)), "?"); // lone high surrogate
    EXPECT_EQ(Utf16LeToCp1252(std::string("\x41\x00\x53\x01", 4)), "A\x9C"); // oe ligature
}

TEST(Cp1252, AsciiTest)
{
    EXPECT_TRUE(IsAscii(""));
    EXPECT_TRUE(IsAscii(std::string("\x7F\x00", 2)));
    EXPECT_FALSE(IsAscii("caf\xE9"));
}

} // namespace
} // namespace tavimor
