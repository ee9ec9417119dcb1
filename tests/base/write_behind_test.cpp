// The writing thread of long pages: chunks arrive in order and whole, the
// producer gets storage back to fill, and a failing sink stops the writing
// and reaches the producer.
#include "base/WriteBehind.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace tavimor {
namespace {

TEST(WriteBehind, ChunksReachTheSinkInOrder)
{
    std::string written;
    std::size_t calls = 0;
    {
        WriteBehind behind([&](std::string_view chunk) {
            written += chunk;
            ++calls;
        });
        std::string expected;
        std::string chunk;
        for (int i = 0; i < 500; ++i) {
            // The storage given back holds stale bytes: it is written over.
            chunk.assign(static_cast<std::size_t>(i % 7) * 100 + 1, static_cast<char>('a' + i % 26));
            expected += chunk;
            behind.Push(chunk);
        }
        behind.Finish();
        EXPECT_EQ(written, expected);
        EXPECT_EQ(calls, 500u);
    }
    EXPECT_EQ(calls, 500u);
}

TEST(WriteBehind, AFailingSinkStopsTheWritingAndReachesTheProducer)
{
    std::vector<std::string> written;
    WriteBehind behind([&](std::string_view chunk) {
        if (chunk == "casse")
            throw std::runtime_error("Stream write error");
        written.emplace_back(chunk);
    });
    std::string chunk = "un";
    behind.Push(chunk);
    chunk = "casse";
    behind.Push(chunk);
    bool thrown = false;
    try {
        // The error shows at a later push at the latest, or at the end.
        for (int i = 0; i < 1000; ++i) {
            chunk = "apres";
            behind.Push(chunk);
        }
        behind.Finish();
    } catch (const std::runtime_error& e) {
        thrown = true;
        EXPECT_STREQ(e.what(), "Stream write error");
    }
    EXPECT_TRUE(thrown);
    EXPECT_THROW(behind.Finish(), std::runtime_error);
    // Nothing after the error.
    EXPECT_EQ(written, std::vector<std::string> {"un"});
}

} // namespace
} // namespace tavimor
