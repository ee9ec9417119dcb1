// The inline searches the HTML readers use in place of the C library's: the
// same answers as a plain search, from every position, in texts of every
// length around the sixteen bytes they take at a time, never reading past the
// text's end (each text is its own heap block, which the sanitizer build
// watches).
#include "base/ByteScan.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <random>
#include <string_view>

namespace tavimor {
namespace {

// The plain answer FindBeforeLetter must give.
std::size_t PlainFindBeforeLetter(std::string_view text, char c, char lowerLetter, std::size_t from)
{
    for (std::size_t at = from; at + 1 < text.size(); ++at) {
        if (text[at] == c && (text[at + 1] == lowerLetter || text[at + 1] == lowerLetter - 'a' + 'A'))
            return at;
    }
    return std::string_view::npos;
}

TEST(ByteScan, SearchesAgreeWithAPlainSearchFromEveryPosition)
{
    // The bytes searched for, "i" in both cases, an accented capital and
    // bytes that fill.
    static constexpr std::array<char, 8> kAlphabet {'<', 'i', 'I', 'a', '\xC9', ' ', '\0', '>'};
    std::mt19937 random(20261208);
    std::uniform_int_distribution<std::size_t> pick(0, kAlphabet.size() - 1);
    int found = 0;
    for (std::size_t length = 0; length <= 50; ++length) {
        for (int round = 0; round < 40; ++round) {
            const auto bytes = std::make_unique<char[]>(length == 0 ? 1 : length);
            for (std::size_t i = 0; i < length; ++i)
                bytes[i] = kAlphabet[pick(random)];
            const std::string_view text(bytes.get(), length);
            for (std::size_t from = 0; from <= length + 1; ++from) {
                for (const char c : {'<', '>', '\0'}) {
                    ASSERT_EQ(FindByte(text, c, from), text.find(c, from)) << length << ' ' << from;
                    found += FindByte(text, c, from) != std::string_view::npos ? 1 : 0;
                }
                ASSERT_EQ(FindBeforeLetter(text, '<', 'i', from), PlainFindBeforeLetter(text, '<', 'i', from))
                    << length << ' ' << from;
            }
        }
    }
    EXPECT_GT(found, 10000); // both answers are reached
}

} // namespace
} // namespace tavimor
