// The nine built-in GIF images: present under their names (found without regard to case),
// GIF89a files of the sizes the produced pages are laid out for, and well-formed down to the
// compressed pixels.
#include "resources/EmbeddedGifs.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tavimor {
namespace {

struct ImageSize {
    const char* name;
    int width;
    int height;
};

// Names as they are spelled in resources/, sizes as the pages expect them.
constexpr ImageSize kImages[] = {
    {"KWZ", 34, 37},
    {"bGreen", 20, 20},
    {"navBtn", 68, 32},
    {"Eval", 19, 19},
    {"bRes", 23, 26},
    {"nImg", 18, 18},
    {"gImg", 19, 18},
    {"bImg", 18, 18},
    {"bYellow", 20, 20},
};

class Reader {
public:
    explicit Reader(std::string_view data)
        : data_(data)
    {
    }
    std::uint8_t Byte()
    {
        if (pos_ >= data_.size())
            throw std::runtime_error("data ends at byte " + std::to_string(pos_));
        return static_cast<std::uint8_t>(data_[pos_++]);
    }
    int Word()
    {
        const int low = Byte();
        return low | (Byte() << 8);
    }
    void Skip(std::size_t count)
    {
        for (std::size_t i = 0; i < count; ++i)
            Byte();
    }
    // Reads a chain of data sub-blocks up to its empty terminator and returns their payload.
    std::string SubBlocks()
    {
        std::string payload;
        for (std::uint8_t size = Byte(); size != 0; size = Byte())
            for (int i = 0; i < size; ++i)
                payload += static_cast<char>(Byte());
        return payload;
    }
    bool AtEnd() const { return pos_ == data_.size(); }

private:
    std::string_view data_;
    std::size_t pos_ = 0;
};

struct GifImage {
    int left = 0, top = 0, width = 0, height = 0;
    bool localTable = false;
    int minCodeSize = 0;
    std::string lzw;
};

struct GifFile {
    int width = 0, height = 0;
    int paletteSize = 0; // 0 without a global colour table
    std::optional<int> transparent;
    std::vector<GifImage> images;
};

// Walks the blocks of a GIF89a file up to its trailer; throws on anything malformed.
GifFile WalkGif(std::string_view data)
{
    Reader in(data);
    std::string signature;
    for (int i = 0; i < 6; ++i)
        signature += static_cast<char>(in.Byte());
    if (signature != "GIF89a")
        throw std::runtime_error("signature is not GIF89a");
    GifFile gif;
    gif.width = in.Word();
    gif.height = in.Word();
    const std::uint8_t packed = in.Byte();
    in.Skip(2); // background colour index, aspect ratio
    if (packed & 0x80) {
        gif.paletteSize = 1 << ((packed & 7) + 1);
        in.Skip(3 * static_cast<std::size_t>(gif.paletteSize));
    }
    for (;;) {
        const std::uint8_t block = in.Byte();
        if (block == 0x3B)
            break;
        if (block == 0x21) {
            const std::uint8_t label = in.Byte();
            const std::string payload = in.SubBlocks();
            if (label == 0xF9) {
                if (payload.size() != 4)
                    throw std::runtime_error("graphic control extension of the wrong size");
                if (payload[0] & 1)
                    gif.transparent = static_cast<std::uint8_t>(payload[3]);
            }
        } else if (block == 0x2C) {
            GifImage image;
            image.left = in.Word();
            image.top = in.Word();
            image.width = in.Word();
            image.height = in.Word();
            const std::uint8_t flags = in.Byte();
            image.localTable = (flags & 0x80) != 0;
            if (image.localTable)
                in.Skip(3 * (std::size_t {1} << ((flags & 7) + 1)));
            image.minCodeSize = in.Byte();
            image.lzw = in.SubBlocks();
            gif.images.push_back(image);
        } else {
            throw std::runtime_error("unknown block " + std::to_string(block));
        }
    }
    if (!in.AtEnd())
        throw std::runtime_error("bytes after the trailer");
    return gif;
}

// Expands GIF LZW data into colour indices; throws when a code is impossible or the end code is missing.
std::vector<int> DecodeLzw(const std::string& data, int minCodeSize)
{
    if (minCodeSize < 2 || minCodeSize > 8)
        throw std::runtime_error("bad LZW minimum code size");
    const int clear = 1 << minCodeSize;
    const int end = clear + 1;
    std::vector<std::vector<int>> table;
    int codeSize = minCodeSize + 1;
    std::size_t bit = 0;
    std::vector<int> out;
    std::vector<int> previous;
    bool started = false;
    while (bit + static_cast<std::size_t>(codeSize) <= data.size() * 8) {
        int code = 0;
        for (int k = 0; k < codeSize; ++k, ++bit)
            code |= ((static_cast<std::uint8_t>(data[bit / 8]) >> (bit % 8)) & 1) << k;
        if (code == clear) {
            table.assign(static_cast<std::size_t>(end) + 1, {});
            for (int i = 0; i < clear; ++i)
                table[static_cast<std::size_t>(i)] = {i};
            codeSize = minCodeSize + 1;
            previous.clear();
            started = true;
            continue;
        }
        if (!started)
            throw std::runtime_error("LZW data does not start with a clear code");
        if (code == end)
            return out;
        std::vector<int> entry;
        const auto size = static_cast<int>(table.size());
        if (code < clear || (code > end && code < size)) {
            entry = table[static_cast<std::size_t>(code)];
        } else if (code == size && !previous.empty()) {
            entry = previous;
            entry.push_back(previous.front());
        } else {
            throw std::runtime_error("impossible LZW code " + std::to_string(code));
        }
        if (!previous.empty() && table.size() < 4096) {
            previous.push_back(entry.front());
            table.push_back(previous);
        }
        out.insert(out.end(), entry.begin(), entry.end());
        previous = entry;
        if (static_cast<int>(table.size()) >= (1 << codeSize) && codeSize < 12)
            ++codeSize;
    }
    throw std::runtime_error("LZW data ends without an end code");
}

std::string_view Bytes(const char* name)
{
    const auto found = EmbeddedGifs().Find(name);
    if (!found)
        throw std::runtime_error(std::string("no built-in image ") + name);
    return *found;
}

TEST(GifImages, EveryImageIsAGif89aOfItsSize)
{
    for (const auto& image : kImages) {
        SCOPED_TRACE(image.name);
        const auto bytes = EmbeddedGifs().Find(image.name);
        ASSERT_TRUE(bytes.has_value());
        ASSERT_GE(bytes->size(), 13u);
        EXPECT_EQ(bytes->substr(0, 6), "GIF89a");
        const auto byteAt = [&](std::size_t i) { return static_cast<std::uint8_t>((*bytes)[i]); };
        EXPECT_EQ(byteAt(6) | (byteAt(7) << 8), image.width);
        EXPECT_EQ(byteAt(8) | (byteAt(9) << 8), image.height);
    }
}

TEST(GifImages, EveryImageParsesToOneFullFrameOfValidPixels)
{
    for (const auto& image : kImages) {
        SCOPED_TRACE(image.name);
        GifFile gif;
        ASSERT_NO_THROW(gif = WalkGif(Bytes(image.name)));
        ASSERT_GT(gif.paletteSize, 0) << "a global colour table is expected";
        ASSERT_EQ(gif.images.size(), 1u);
        const GifImage& frame = gif.images.front();
        EXPECT_EQ(frame.left, 0);
        EXPECT_EQ(frame.top, 0);
        EXPECT_EQ(frame.width, image.width);
        EXPECT_EQ(frame.height, image.height);
        EXPECT_FALSE(frame.localTable);
        if (gif.transparent) {
            EXPECT_LT(*gif.transparent, gif.paletteSize);
        }

        std::vector<int> pixels;
        ASSERT_NO_THROW(pixels = DecodeLzw(frame.lzw, frame.minCodeSize));
        ASSERT_EQ(pixels.size(), static_cast<std::size_t>(image.width * image.height));
        for (const int index : pixels)
            ASSERT_LT(index, gif.paletteSize);
    }
}

// The menu's image map sends clicks on 1,1-30,30 to "previous" and on 32,1-66,30 to "next":
// both areas are drawn, and the column between them shows the page.
TEST(GifImages, NavigationStripMatchesTheImageMapAreas)
{
    const GifFile gif = WalkGif(Bytes("navBtn"));
    ASSERT_TRUE(gif.transparent.has_value());
    const GifImage& frame = gif.images.at(0);
    const std::vector<int> pixels = DecodeLzw(frame.lzw, frame.minCodeSize);
    const auto at = [&](int x, int y) { return pixels.at(static_cast<std::size_t>(y * frame.width + x)); };
    for (int y = 0; y < frame.height; ++y)
        EXPECT_EQ(at(31, y), *gif.transparent) << "row " << y;
    for (int y = 4; y <= 27; ++y) {
        EXPECT_NE(at(4, y), *gif.transparent) << "previous button, row " << y;
        EXPECT_NE(at(63, y), *gif.transparent) << "next button, row " << y;
    }
}

TEST(GifImages, NamesAreFoundWithoutRegardToCase)
{
    const struct {
        const char* asked;
        const char* stored;
    } cases[] = {
        {"kwz", "KWZ"},
        {"NAVBTN", "navBtn"},
        {"eval", "Eval"},
        {"BIMG", "bImg"},
        {"GiMg", "gImg"},
        {"byellow", "bYellow"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.asked);
        const auto found = EmbeddedGifs().Find(c.asked);
        ASSERT_TRUE(found.has_value());
        EXPECT_EQ(found->data(), Bytes(c.stored).data());
        EXPECT_EQ(found->size(), Bytes(c.stored).size());
    }
}

TEST(GifImages, UnknownNamesGiveNothing)
{
    for (const char* name : {"", "unknown", "KWZ.gif", "KW", "KWZZ", "navBtn ", "Img", "bGreen2"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(EmbeddedGifs().Find(name).has_value());
    }
}

TEST(GifImages, ListHoldsExactlyTheNineImages)
{
    const auto list = EmbeddedGifList();
    ASSERT_EQ(list.size(), std::size(kImages));
    for (const auto& image : kImages) {
        SCOPED_TRACE(image.name);
        int matches = 0;
        for (const auto& gif : list)
            if (gif.name == image.name) {
                ++matches;
                EXPECT_EQ(gif.bytes.data(), Bytes(image.name).data());
            }
        EXPECT_EQ(matches, 1);
    }
}

TEST(GifImages, MarksOfTheResultsTableDiffer)
{
    const std::string_view none = Bytes("nImg"), right = Bytes("gImg"), wrong = Bytes("bImg");
    EXPECT_NE(none, right);
    EXPECT_NE(none, wrong);
    EXPECT_NE(right, wrong);
}

// The checks above are only worth something if the walker and decoder refuse broken data.
TEST(GifImages, WalkerRefusesBrokenFiles)
{
    const std::string good(Bytes("Eval"));
    EXPECT_NO_THROW(WalkGif(good));
    EXPECT_THROW(WalkGif(good.substr(0, good.size() - 1)), std::runtime_error) << "no trailer";
    EXPECT_THROW(WalkGif(good + "x"), std::runtime_error) << "bytes after the trailer";
    EXPECT_THROW(WalkGif("GIF87a" + good.substr(6)), std::runtime_error) << "old signature";
    const GifFile gif = WalkGif(good);
    ASSERT_TRUE(gif.transparent.has_value());
    const std::size_t descriptor = 13 + 3 * static_cast<std::size_t>(gif.paletteSize) + 8; // after the control block
    ASSERT_EQ(good.at(descriptor), '\x2C');
    std::string badBlock = good;
    badBlock[descriptor] = '\x2D';
    EXPECT_THROW(WalkGif(badBlock), std::runtime_error) << "unknown block";

    const GifImage& frame = gif.images.at(0);
    EXPECT_THROW(DecodeLzw(frame.lzw.substr(0, frame.lzw.size() / 2), frame.minCodeSize), std::runtime_error)
        << "no end code";
}

} // namespace
} // namespace tavimor
