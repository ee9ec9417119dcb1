#include "base/Errors.h"
#include "base/ValueStream.h"
#include "model/hex_bytes.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace tavimor {
namespace {

using test::Hex;

std::string Bytes(std::initializer_list<int> values)
{
    std::string bytes;
    for (const int v : values)
        bytes += static_cast<char>(v);
    return bytes;
}

struct IntegerCase {
    std::int32_t value;
    std::string bytes;
};

TEST(ValueStream, IntegersUseTheSmallestTag)
{
    const std::vector<IntegerCase> cases {
        {127, "02 7F"},
        {128, "03 80 00"},
        {-128, "02 80"},
        {-129, "03 7F FF"},
        {32767, "03 FF 7F"},
        {32768, "04 00 80 00 00"},
        {-32769, "04 FF 7F FF FF"},
        {-1, "02 FF"},
        {0, "02 00"},
        {65535, "04 FF FF 00 00"},
        {INT32_MIN, "04 00 00 00 80"},
    };
    for (const auto& c : cases) {
        TValueWriter writer;
        writer.WriteInteger(c.value);
        EXPECT_EQ(Hex(writer.Bytes()), c.bytes) << c.value;
        TValueReader reader(writer.Bytes());
        EXPECT_EQ(reader.ReadInteger(), c.value);
        EXPECT_TRUE(reader.AtEnd());
    }
}

TEST(ValueStream, StringsChooseTheirTagFromContentAndLength)
{
    struct Case {
        std::string text;
        std::string start; // the first bytes written
        std::size_t size;
    };
    std::string longAccented(300, 'a');
    longAccented[150] = '\xE9';
    const std::vector<Case> cases {
        {"", "06 00", 2},
        {"abc", "06 03 61 62 63", 5},
        {std::string(255, 'x'), "06 FF 78", 257},
        {std::string(256, 'x'), "0C 00 01 00 00 78", 261},
        {"\xE9", "14 02 00 00 00 C3 A9", 7},
        {longAccented, "14 2D 01 00 00 61", 306}, // 299 ASCII bytes and the two of the accent
        {"\x80", "14 03 00 00 00 E2 82 AC", 8},
    };
    for (const auto& c : cases) {
        TValueWriter writer;
        writer.WriteString(c.text);
        EXPECT_EQ(Hex(writer.Bytes().substr(0, (c.start.size() + 1) / 3)), c.start) << c.text.size();
        EXPECT_EQ(writer.Bytes().size(), c.size);
        TValueReader reader(writer.Bytes());
        EXPECT_EQ(reader.ReadString(), c.text);
        EXPECT_TRUE(reader.AtEnd());
    }
}

TEST(ValueStream, BooleansAreOneTagByte)
{
    TValueWriter writer;
    writer.WriteBoolean(true);
    writer.WriteBoolean(false);
    EXPECT_EQ(Hex(writer.Bytes()), "09 08");

    // Any tag but 9 reads as false, and only the tag byte is taken.
    const std::string readerBytes = Bytes({0x09, 0x08, 0x02, 0x05});
    TValueReader reader(readerBytes);
    EXPECT_TRUE(reader.ReadBoolean());
    EXPECT_FALSE(reader.ReadBoolean());
    EXPECT_FALSE(reader.ReadBoolean());
    EXPECT_EQ(reader.Position(), 3u);
    EXPECT_EQ(reader.ReadBoolean(), false);
    EXPECT_TRUE(reader.AtEnd());
}

TEST(ValueStream, ReadsTheOtherStringEncodings)
{
    // Tag 18: UTF-16LE "é€" and a character Windows-1252 lacks (Greek omega).
    const std::string wideBytes = Bytes({0x12, 0x03, 0, 0, 0, 0xE9, 0x00, 0xAC, 0x20, 0xA9, 0x03});
    TValueReader wide(wideBytes);
    EXPECT_EQ(wide.ReadString(), "\xE9\x80?");
    // A surrogate pair is one character outside the code page.
    const std::string pairBytes = Bytes({0x12, 0x02, 0, 0, 0, 0x3D, 0xD8, 0x00, 0xDE});
    TValueReader pair(pairBytes);
    EXPECT_EQ(pair.ReadString(), "?");
    // Tag 20 with a character outside the code page.
    const std::string utf8Bytes = Bytes({0x14, 0x04, 0, 0, 0, 'a', 0xCE, 0xA9, 'b'});
    TValueReader utf8(utf8Bytes);
    EXPECT_EQ(utf8.ReadString(), "a?b");
    // Tag 12 keeps its bytes as they are.
    const std::string rawBytes = Bytes({0x0C, 0x02, 0, 0, 0, 0xE9, 0x41});
    TValueReader raw(rawBytes);
    EXPECT_EQ(raw.ReadString(),
        "\xE9"
        "A");
}

TEST(ValueStream, IntegerWidthsAreSignExtended)
{
    const std::string readerBytes = Bytes({0x02, 0xFE, 0x03, 0x00, 0x80, 0x04, 0xFF, 0xFF, 0xFF, 0x7F});
    TValueReader reader(readerBytes);
    EXPECT_EQ(reader.ReadInteger(), -2);
    EXPECT_EQ(reader.ReadInteger(), -32768);
    EXPECT_EQ(reader.ReadInteger(), INT32_MAX);
}

struct BadInput {
    const char* what;
    std::string bytes;
    std::function<void(TValueReader&)> read;
    std::string error;
};

TEST(ValueStream, BadInputStopsWithTheReadError)
{
    const auto readInteger = [](TValueReader& r) { r.ReadInteger(); };
    const auto readString = [](TValueReader& r) { r.ReadString(); };
    const auto readBoolean = [](TValueReader& r) { r.ReadBoolean(); };
    const std::string invalid = "Invalid property value";
    const std::string truncated = "Stream read error";
    const std::vector<BadInput> cases {
        {"integer from a string tag", Bytes({0x06, 0x00}), readInteger, invalid},
        {"integer from a boolean tag", Bytes({0x09}), readInteger, invalid},
        {"string from an integer tag", Bytes({0x02, 0x00}), readString, invalid},
        {"string from an unknown tag", Bytes({0x07, 0x00}), readString, invalid},
        {"nothing left for an integer", "", readInteger, truncated},
        {"nothing left for a boolean", "", readBoolean, truncated},
        {"short 16-bit integer", Bytes({0x03, 0x80}), readInteger, truncated},
        {"short 32-bit integer", Bytes({0x04, 1, 2, 3}), readInteger, truncated},
        {"short length of tag 12", Bytes({0x0C, 1, 0}), readString, truncated},
        {"short text of tag 6", Bytes({0x06, 0x03, 'a', 'b'}), readString, truncated},
        {"4 GiB announced by tag 12", Bytes({0x0C, 0xFF, 0xFF, 0xFF, 0xFF, 'a'}), readString, truncated},
        {"4 GiB announced by tag 20", Bytes({0x14, 0xFF, 0xFF, 0xFF, 0xFF, 'a'}), readString, truncated},
        {"8 GiB announced by tag 18", Bytes({0x12, 0xFF, 0xFF, 0xFF, 0xFF, 'a', 0}), readString, truncated},
        {"odd byte count of tag 18", Bytes({0x12, 0x02, 0, 0, 0, 'a', 0, 'b'}), readString, truncated},
    };
    for (const auto& c : cases) {
        TValueReader reader(c.bytes);
        try {
            c.read(reader);
            ADD_FAILURE() << c.what << ": no error";
        } catch (const Error& e) {
            EXPECT_EQ(e.what(), c.error) << c.what;
        }
    }
}

} // namespace
} // namespace tavimor
