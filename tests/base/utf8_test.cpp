// The UTF-8 check every importer runs first, and the writing of code points.
#include "base/Utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavimor {
namespace {

TEST(Utf8, MalformedSequencesAreFoundOnTheirLine)
{
    EXPECT_EQ(FirstMalformedUtf8Line("caf\xC3\xA9 \xCF\x80 \xF0\x9F\x98\x80"), std::nullopt);
    EXPECT_EQ(FirstMalformedUtf8Line(""), std::nullopt);
    const std::vector<std::string> malformed = {
        "\xC0\xAF", // overlong slash
        "\xE0\x80\xAF", // overlong, three bytes
        "\xED\xA0\x80", // a surrogate
        "\xF4\x90\x80\x80", // past U+10FFFF
        "\xE9t\xE9", // Windows-1252, not UTF-8
        "\xC3", // cut short at the end
        "\x80", // a continuation byte alone
    };
    for (const std::string& bad : malformed) {
        // Line 3: a CR LF and a lone LF before it; CR LF breaks one line only.
        EXPECT_EQ(FirstMalformedUtf8Line("un\r\ndeux\ntrois " + bad + " fin"), 3u) << bad;
    }
}

TEST(Utf8, CodePointsAreWrittenAsTheSequencesTheCheckAccepts)
{
    for (const char32_t cp : {U'\0', U'A', U'\u00E9', U'\u03C0', U'\uFFFD', U'\U0001F600', U'\U0010FFFF'}) {
        std::string out;
        AppendUtf8(out, cp);
        EXPECT_EQ(Utf8SequenceLength(out, 0), out.size()) << static_cast<unsigned>(cp);
    }
    std::string replaced;
    AppendUtf8(replaced, 0xD800);
    AppendUtf8(replaced, 0x110000);
    EXPECT_EQ(replaced, "\xEF\xBF\xBD\xEF\xBF\xBD");
}

} // namespace
} // namespace tavimor
