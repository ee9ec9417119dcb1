#include "base/Cp1252.h"
#include "base/ValueStream.h"

#include <gtest/gtest.h>

#include <random>
#include <string_view>

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

// The reading rules written out one sequence at a time: a lead byte says the
// length, continuation bytes are checked but overlong forms are accepted, and
// a malformed byte becomes the replacement on its own.
std::string ReferenceUtf8ToCp1252(std::string_view utf8)
{
    static const char32_t high[32] = {0x20AC, 0x81, 0x201A, 0x192, 0x201E, 0x2026, 0x2020, 0x2021, 0x2C6, 0x2030, 0x160,
        0x2039, 0x152, 0x8D, 0x17D, 0x8F, 0x90, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x2DC, 0x2122,
        0x161, 0x203A, 0x153, 0x9D, 0x17E, 0x178};
    std::string out;
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead >> 5 == 6 ? 2 : lead >> 4 == 14 ? 3 : lead >> 3 == 30 ? 4 : 0;
        bool valid = length > 0 && i + length <= utf8.size();
        char32_t cp = length == 1 ? lead : length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
        for (std::size_t k = 1; valid && k < length; ++k) {
            valid = (static_cast<unsigned char>(utf8[i + k]) & 0xC0) == 0x80;
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        }
        if (!valid) {
            out += '?';
            ++i;
            continue;
        }
        char byte = '?';
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
            byte = static_cast<char>(cp);
        for (int k = 0; k < 32; ++k)
            if (high[k] == cp)
                byte = static_cast<char>(0x80 + k);
        out += byte;
        i += length;
    }
    return out;
}

TEST(Cp1252, ReadingAgreesWithTheRulesOnRandomInput)
{
    std::mt19937 random(1252);
    // Bytes of every role in UTF-8: ASCII, continuations, leads of 2, 3, 4
    // bytes, and bytes no sequence starts with.
    const std::string_view pool = "aZ \x7F\x80\x8F\xA0\xBF\xC0\xC2\xC3\xC5\xDF\xE0\xE2\xEF\xF0\xF4\xF8\xFF";
    for (int round = 0; round < 3000; ++round) {
        const std::size_t length = round < 2500 ? random() % 60 : 400 + random() % 1200;
        std::string bytes(length, ' ');
        for (char& c : bytes)
            c = random() % 3 ? pool[random() % pool.size()] : static_cast<char>(random() % 256);
        ASSERT_EQ(Utf8ToCp1252(bytes), ReferenceUtf8ToCp1252(bytes)) << testing::PrintToString(bytes);
        // The same where the text stands, the bytes after it untouched.
        std::string inPlace = bytes + "|after";
        const std::size_t size = Utf8ToCp1252InPlace(inPlace.data(), bytes.size());
        ASSERT_EQ(std::string_view(inPlace).substr(bytes.size()), "|after");
        ASSERT_EQ(inPlace.substr(0, size), ReferenceUtf8ToCp1252(bytes)) << testing::PrintToString(bytes);

        // Well-formed text of the code page, long and short.
        std::string text(length, ' ');
        for (char& c : text)
            c = static_cast<char>(random() % 256);
        ASSERT_EQ(Utf8ToCp1252(Cp1252ToUtf8(text)), text);
    }
    // Accented text as most documents hold it, read in blocks of 16 bytes:
    // ASCII and letters of two bytes, now and then a control character of
    // Unicode (C2 80..9F), a letter of three bytes, a malformed byte, or a
    // letter cut by the end of its text.
    const std::string_view rare[] = {"\xC2\x80", "\xC2\x9F", "\xE2\x82\xAC", "\xC3", "\xA9", "\xC4\x80"};
    for (int round = 0; round < 4000; ++round) {
        std::string bytes;
        const std::size_t length = random() % 120;
        while (bytes.size() < length) {
            const unsigned pick = random() % 100;
            if (pick < 70)
                bytes += static_cast<char>(0x20 + random() % 0x5F);
            else if (pick < 98)
                bytes += Cp1252ToUtf8(std::string(1, static_cast<char>(0xA0 + random() % 0x60)));
            else
                bytes += rare[random() % std::size(rare)];
        }
        std::string inPlace = bytes + "|after";
        const std::size_t size = Utf8ToCp1252InPlace(inPlace.data(), bytes.size());
        ASSERT_EQ(std::string_view(inPlace).substr(bytes.size()), "|after");
        ASSERT_EQ(inPlace.substr(0, size), ReferenceUtf8ToCp1252(bytes)) << testing::PrintToString(bytes);
    }
}

// What a person types goes into the core with the characters the code page
// lacks as references, and comes back exactly as typed.
TEST(Cp1252, CharactersBeyondTheCodePageTravelAsReferencesAndComeBack)
{
    struct Case {
        std::string utf8;
        std::string core;
        std::size_t references;
    };
    const Case cases[] = {
        {"Le nombre \xCF\x80 vaut environ 3,14", "Le nombre &#960; vaut environ 3,14", 1},
        {"x \xE2\x89\xA4 y \xE2\x88\x9A"
         "2",
            "x &#8804; y &#8730;2", 2},
        {"\xF0\x9F\x98\x80!", "&#128512;!", 1}, // outside the BMP
        {"\xC3\xA9t\xC3\xA9 \xE2\x82\xAC", "\xE9t\xE9 \x80", 0}, // in the code page: its bytes
        {"\xD0\x96&#233;", "&#1046;&#233;", 1}, // a reference typed by hand stays as typed
        {"", "", 0},
    };
    for (const Case& c : cases) {
        std::size_t references = 0;
        EXPECT_EQ(Utf8ToCp1252Referencing(c.utf8, &references), c.core) << c.utf8;
        EXPECT_EQ(references, c.references) << c.utf8;
        EXPECT_EQ(Cp1252ToUtf8ResolvingReferences(c.core), c.utf8) << c.core;
    }
    // Malformed UTF-8 still becomes the replacement, one per bad byte.
    EXPECT_EQ(Utf8ToCp1252Referencing("a\xC3(\xED\xA0\x80"
                                      "b"),
        "a?(???b");
    EXPECT_EQ(Utf8ToCp1252Referencing("\xC0\xAF"), "??"); // overlong
}

TEST(Cp1252, OnlyTheReferencesWrittenForTheEditorAreResolved)
{
    // The form the editor writes, of a character the code page lacks: resolved.
    EXPECT_EQ(Cp1252ToUtf8ResolvingReferences("&#960;&#960;"), "\xCF\x80\xCF\x80");
    EXPECT_EQ(Cp1252ToUtf8ResolvingReferences("&&#960;;"), "&\xCF\x80;");
    // Anything else stays as it is, so that storing it again gives the same bytes.
    for (const std::string kept : {"&#233;", "&#0960;", "&#960", "&#x3C0;", "&#;", "&#55296;", "&#1114112;",
             "&#99999999;", "&#38;", "&#", "&", "&#9601234567;"}) {
        EXPECT_EQ(Cp1252ToUtf8ResolvingReferences(kept), Cp1252ToUtf8(kept)) << kept;
        EXPECT_EQ(Utf8ToCp1252Referencing(Cp1252ToUtf8ResolvingReferences(kept)), kept) << kept;
    }
    // Every byte of the code page still comes back.
    const std::string bytes = AllBytes();
    EXPECT_EQ(Utf8ToCp1252Referencing(Cp1252ToUtf8ResolvingReferences(bytes)), bytes);
}

TEST(Cp1252, AsciiTest)
{
    EXPECT_TRUE(IsAscii(""));
    EXPECT_TRUE(IsAscii(std::string("\x7F\x00", 2)));
    EXPECT_FALSE(IsAscii("caf\xE9"));
}

} // namespace
} // namespace tavimor
