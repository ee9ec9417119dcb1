// The whole numbers, trimmed ends and line breaks every reader relies on.
#include "base/TextHelpers.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace tavimor {
namespace {

TEST(TextHelpers, WholeNumbersInEveryNotationTheFilesUse)
{
    const std::vector<std::pair<std::string, std::optional<std::int32_t>>> cases = {
        {"42", 42},
        {"  -7", -7},
        {"+3", 3},
        {"$FF", 255},
        {"0x10", 16},
        {"$FFFFFFFF", -1},
        {"-2147483648", INT32_MIN},
        {"2147483648", std::nullopt},
        {"$100000000", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"$", std::nullopt},
        {"12 ", std::nullopt},
        {"1e3", std::nullopt},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(TryParseInteger(text), value) << '"' << text << '"';
}

TEST(TextHelpers, TrimBlanksTakesControlCharactersButNotAccents)
{
    EXPECT_EQ(TrimBlanks(" \t\r\n a b \x01"), "a b");
    EXPECT_EQ(TrimBlanks("\xA0"
                         "caf\xE9\xA0"),
        "\xA0"
        "caf\xE9\xA0");
    EXPECT_EQ(TrimBlanks("   "), "");
}

TEST(TextHelpers, EveryKindOfLineBreakIsOneBreak)
{
    const std::string text = "a\r\nb\nc\rd\n\r";
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t at = 0; at <= text.size(); ++at) {
        const std::size_t length = LineBreakLength(text, at);
        if (length == 0 && at < text.size())
            continue;
        lines.push_back(text.substr(start, at - start));
        at += length == 0 ? 0 : length - 1;
        start = at + 1;
    }
    EXPECT_EQ(lines, (std::vector<std::string> {"a", "b", "c", "d", "", ""}));
    EXPECT_EQ(LineBreakLength(text, text.size() + 5), 0u);
}

} // namespace
} // namespace tavimor
