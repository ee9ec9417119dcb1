// The message banks of the quiz script and of the self-contained page: each
// distinct text once, in order of first use, found again however many came
// after it, the texts made again by the caller from their first occurrence.
#include "generator/DistinctTexts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavimor {
namespace {

TEST(DistinctTexts, EachTextKeepsItsFirstPositionAsTheTableGrows)
{
    // Occurrence k holds the text of message k / 2: every text comes twice.
    std::vector<std::string> occurrences;
    for (int i = 0; i < 6000; ++i)
        occurrences.push_back("Message " + std::to_string(i / 2) + " r\xE9ponse");
    int madeAgain = 0;
    const auto textAt = [&](std::uint32_t at) {
        ++madeAgain;
        return std::string_view(occurrences.at(at));
    };
    DistinctTexts bank;
    bank.Reserve(10);
    for (std::uint32_t at = 0; at < occurrences.size(); ++at) {
        // A copy, so that the bank can only compare through textAt.
        const std::string text = occurrences[at];
        ASSERT_EQ(bank.Position(text, at, textAt), at / 2);
        // A text seen before, asked for again after more came in.
        ASSERT_EQ(bank.Position(occurrences[at / 4], 1u << 30, textAt), at / 8);
    }
    EXPECT_EQ(bank.Size(), 3000u);
    EXPECT_EQ(bank.FirstOccurrence(1234), 2468u);
    // Earlier texts are made again only to confirm a match of hashes: once
    // for each text found again, never for a new one.
    EXPECT_EQ(madeAgain, 3000 + 6000);

    // Texts that differ in their last byte only, and the empty text.
    EXPECT_EQ(bank.Position("", 7000, textAt), 3000u);
    occurrences.resize(7002);
    occurrences[7001] = "Message 1 r\xE9ponsE";
    EXPECT_EQ(bank.Position(occurrences[7001], 7001, textAt), 3001u);
    EXPECT_EQ(bank.Position("Message 1 r\xE9ponse", 7002, textAt), 1u);
    EXPECT_EQ(bank.FirstOccurrence(3001), 7001u);
}

} // namespace
} // namespace tavimor
