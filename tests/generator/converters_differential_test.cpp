// The table-driven converters against plain byte-by-byte versions of the same
// rules: every byte value at every place of a sixteen-byte block, and random
// texts of every length up to past the converters' piece size, through the
// returning, the appending and the buffer forms; the JSON strings of the
// self-contained quiz likewise.
#include "base/Cp1252.h"
#include "generator/InlineData.h"
#include "generator/SpecHTML.h"
#include "generator/TextBuffer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <string_view>

namespace tavimor {
namespace {

// The rules written out one byte at a time.
const char* EntityName(unsigned char byte)
{
    static const char* const names[64] = {"Agrave", "Aacute", "Acirc", "Atilde", "Auml", "Aring", "AElig", "Ccedil",
        "Egrave", "Eacute", "Ecirc", "Euml", "Igrave", "Iacute", "Icirc", "Iuml", "ETH", "Ntilde", "Ograve", "Oacute",
        "Ocirc", "Otilde", "Ouml", nullptr, "Oslash", "Ugrave", "Uacute", "Ucirc", "Uuml", "Yacute", "THORN", "szlig",
        "agrave", "aacute", "acirc", "atilde", "auml", "aring", "aelig", "ccedil", "egrave", "eacute", "ecirc", "euml",
        "igrave", "iacute", "icirc", "iuml", "eth", "ntilde", "ograve", "oacute", "ocirc", "otilde", "ouml", nullptr,
        "oslash", "ugrave", "uacute", "ucirc", "uuml", "yacute", "thorn", "yuml"};
    return byte >= 0xC0 ? names[byte - 0xC0] : nullptr;
}

std::string ReferenceEntityEncode(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        if (const char* name = EntityName(static_cast<unsigned char>(c)))
            out += std::string("&") + name + ";";
        else
            out += c;
    }
    return out;
}

std::string ReferenceJsEscape(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        if (c == '\r' || c == '\n' || c == '\\')
            continue;
        if (c == '"' || c == '(' || c == ')')
            out += '\\';
        out += c;
    }
    return out;
}

std::string ReferenceFoldAccents(std::string_view text)
{
    const std::string_view from = "\xC0\xC2\xC7\xE7\xC8\xC9\xCB\xCE\xCF\xD4\xD9\xDB\xDC\xE0\xE2\xE8\xE9\xEA\xEB\xEE\xEF"
                                  "\xF4\xF9\xFB\xFC";
    const std::string_view to = "AAccEEEIIOUUUaaeeeeiiouuu";
    std::string out(text);
    for (char& c : out)
        if (const auto at = from.find(c); at != std::string_view::npos)
            c = to[at];
    return out;
}

// Every form of every converter on text, compared with the references; the
// appending forms add to a text that is already there.
void ExpectAllFormsAgree(const std::string& text)
{
    const std::string entities = ReferenceEntityEncode(text);
    const std::string script = ReferenceJsEscape(text);
    const std::string scriptText = ReferenceJsEscape(entities);
    const std::string folded = ReferenceFoldAccents(text);

    ASSERT_EQ(EntityEncode(text), entities) << testing::PrintToString(text);
    ASSERT_EQ(JsEscape(text), script) << testing::PrintToString(text);
    ASSERT_EQ(JsText(text), scriptText) << testing::PrintToString(text);
    ASSERT_EQ(FoldAccents(text), folded) << testing::PrintToString(text);

    const std::string before = "d\xE9j\xE0 l\xE0 ";
    std::string out = before;
    AppendEntityEncode(out, text);
    AppendJsEscape(out, text);
    AppendJsText(out, text);
    AppendFoldAccents(out, text);
    ASSERT_EQ(out, before + entities + script + scriptText + folded);

    TextBuffer buffer;
    buffer += before;
    buffer.AppendEntityEncode(text);
    buffer.AppendJsEscape(text);
    buffer.AppendJsText(text);
    ASSERT_EQ(buffer.View(), before + entities + script + scriptText);

    // The text alone in memory of its own, as the texts of a document read
    // for a production are views into it: a sanitizer then reports any byte
    // read before or after it.
    const auto alone = std::make_unique<char[]>(text.size());
    std::copy(text.begin(), text.end(), alone.get());
    const std::string_view view(alone.get(), text.size());
    buffer.Clear();
    buffer.AppendEntityEncode(view);
    buffer.AppendJsEscape(view);
    buffer.AppendJsText(view);
    ASSERT_EQ(buffer.View(), entities + script + scriptText);
}

TEST(ConvertersDifferential, EveryByteAtEveryPlaceOfABlock)
{
    for (int byte = 0; byte < 256; ++byte) {
        for (std::size_t place = 0; place < 34; ++place) {
            std::string text(40, 'a');
            text[place] = static_cast<char>(byte);
            ExpectAllFormsAgree(text.substr(0, place + 1)); // the byte last
            ExpectAllFormsAgree(text); // the byte amid plain letters
            ExpectAllFormsAgree(std::string(place, static_cast<char>(byte))); // a run of it
        }
    }
}

TEST(ConvertersDifferential, RandomTexts)
{
    std::mt19937 random(20240607);
    // Half of the bytes are ones the converters change, so that runs of
    // every length occur.
    const std::string_view special = "\r\n\\\"()\xC0\xC7\xC9\xD7\xE0\xE7\xE9\xEA\xF7\xFF";
    for (int round = 0; round < 400; ++round) {
        const std::size_t length = round < 300 ? random() % 200 : 3900 + random() % 9000;
        std::string text(length, ' ');
        for (char& c : text)
            c = random() % 2 ? special[random() % special.size()] : static_cast<char>(random() % 256);
        ExpectAllFormsAgree(text);

        // A text converted piece by piece is the text converted whole.
        const std::size_t cut = length == 0 ? 0 : random() % length;
        TextBuffer pieces;
        pieces.AppendJsText(std::string_view(text).substr(0, cut));
        pieces.AppendJsText(std::string_view(text).substr(cut));
        ASSERT_EQ(pieces.View(), JsText(text));
    }
}

TEST(ConvertersDifferential, EscapingAnEscapedTextAgainChangesNothing)
{
    // The script's message banks escape texts that are escaped already.
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        std::string text(random() % 100, ' ');
        for (char& c : text)
            c = "ab\\\"()\r\n"[random() % 8];
        const std::string once = JsEscape(text);
        ASSERT_EQ(JsEscape(once), once) << testing::PrintToString(text);
    }
}

// A JSON string of the self-contained quiz, one byte at a time: the text in
// UTF-8, control characters, quote, backslash and "<" escaped.
std::string ReferenceJsonString(std::string_view utf8)
{
    std::string out = "\"";
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        char escape[8];
        if (c == '\n' || c == '\r' || c == '\t')
            out += c == '\n' ? "\\n" : c == '\r' ? "\\r" : "\\t";
        else if (c == '"' || c == '\\')
            out += std::string("\\") + c;
        else if (byte < 0x20 || c == '<')
            out += std::string(escape, static_cast<std::size_t>(std::snprintf(escape, sizeof escape, "\\u%04x", byte)));
        else
            out += c;
    }
    return out + "\"";
}

TEST(ConvertersDifferential, JsonStringsOfEveryLength)
{
    std::mt19937 random(1998);
    const std::string_view special = "\"\\<>\n\r\t\x01\x1F\x7F\x80\x9F\xC3\xE9\xFF ";
    for (int round = 0; round < 2000; ++round) {
        std::string text(round < 1800 ? random() % 70 : 1000 + random() % 5000, ' ');
        for (char& c : text)
            c = random() % 3 ? special[random() % special.size()] : static_cast<char>(random() % 256);
        TextBuffer fromCodePage;
        fromCodePage += "head:";
        AppendJsonString(fromCodePage, text);
        ASSERT_EQ(fromCodePage.View(), "head:" + ReferenceJsonString(Cp1252ToUtf8(text)))
            << testing::PrintToString(text);
        TextBuffer fromUtf8;
        AppendJsonStringUtf8(fromUtf8, text);
        ASSERT_EQ(fromUtf8.View(), ReferenceJsonString(text)) << testing::PrintToString(text);
    }
}

TEST(ConvertersDifferential, JsonStringsOneAfterTheOtherInOneBuffer)
{
    // As the self-contained page writes them: each string in the room left by
    // the ones before, the buffer growing on the way.
    std::mt19937 random(2024);
    const std::string_view special = "\"\\<\n\x01\xE9\x80 ";
    TextBuffer buffer;
    std::string expected;
    for (int round = 0; round < 3000; ++round) {
        std::string text(random() % 40, 'a');
        for (char& c : text)
            c = random() % 4 ? static_cast<char>('a' + random() % 26) : special[random() % special.size()];
        if (round % 2 == 0) {
            AppendJsonString(buffer, text);
            expected += ReferenceJsonString(Cp1252ToUtf8(text));
        } else {
            AppendJsonStringUtf8(buffer, text);
            expected += ReferenceJsonString(text);
        }
        buffer += ',';
        expected += ',';
    }
    EXPECT_EQ(buffer.View(), expected);
}

TEST(TextBufferTest, GrowsAndGivesItsTextAway)
{
    TextBuffer buffer;
    EXPECT_TRUE(buffer.Empty());
    std::string expected;
    for (int i = 0; i < 5000; ++i) {
        buffer += "Q[";
        buffer.AppendNumber(i - 2500);
        buffer += ']';
        expected += "Q[" + std::to_string(i - 2500) + "]";
    }
    for (const long long far : {std::numeric_limits<long long>::min(), std::numeric_limits<long long>::max()}) {
        buffer.AppendNumber(far);
        expected += std::to_string(far);
    }
    // A short piece copied with the bytes after it, which stay out.
    const char key[16] = "Q[9999|ignored";
    buffer.AppendPrefix(key, 6);
    buffer.AppendPrefix(key, 0);
    expected += "Q[9999";
    EXPECT_EQ(buffer.Size(), expected.size());
    EXPECT_EQ(buffer.View(), expected);
    EXPECT_EQ(buffer.Take(), expected);
    EXPECT_TRUE(buffer.Empty());
    buffer += "encore";
    buffer.Clear();
    buffer += "x";
    EXPECT_EQ(buffer.Take(), "x");
}

} // namespace
} // namespace tavimor
