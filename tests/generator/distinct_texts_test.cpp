// The message banks of the quiz script and of the self-contained page: each
// distinct text once, in order of first use, found again however many came
// after it.
#include "generator/DistinctTexts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavimor {
namespace {

TEST(DistinctTexts, EachTextKeepsItsFirstPositionAsTheTableGrows)
{
    std::vector<std::string> lasting;
    for (int i = 0; i < 3000; ++i)
        lasting.push_back("Message " + std::to_string(i) + " r\xE9ponse");
    DistinctTexts bank;
    bank.Reserve(10);
    for (std::size_t i = 0; i < lasting.size(); ++i) {
        ASSERT_EQ(bank.Position(lasting[i], true), i);
        // A text seen before, asked for again after more came in.
        ASSERT_EQ(bank.Position(lasting[i / 2], true), i / 2);
    }
    // A copy of a text that does not last is found by its content too, and
    // outlives what it was made from.
    std::string passing = "une copie";
    EXPECT_EQ(bank.Position(passing, false), 3000u);
    passing.assign("autre chose");
    EXPECT_EQ(bank.Position("une copie", false), 3000u);
    EXPECT_EQ(bank.Text(3000), "une copie");
    EXPECT_EQ(bank.Position("", false), 3001u);
    EXPECT_EQ(bank.Position(std::string_view(), true), 3001u);
    EXPECT_EQ(bank.Size(), 3002u);
    EXPECT_EQ(bank.Text(1234), lasting[1234]);
}

} // namespace
} // namespace tavimor
