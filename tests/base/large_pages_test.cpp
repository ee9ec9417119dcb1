// The memory of the big buffers: whole where it is written, wholly given
// back, and untouched by the advice for large pages.
#include "base/LargePages.h"

#include <gtest/gtest.h>

#include <sys/mman.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace tavimor {
namespace {

// True when every page of [from, from+length) is mapped.
bool AllMapped(char* from, std::size_t length)
{
    for (std::size_t at = 0; at < length; at += 4096) {
        unsigned char resident = 0;
        if (::mincore(from + at, 1, &resident) != 0)
            return false;
    }
    return true;
}

// True when no page of [from, from+length) is mapped any more.
bool NothingMapped(char* from, std::size_t length)
{
    for (std::size_t at = 0; at < length; at += 4096) {
        unsigned char resident = 0;
        if (::mincore(from + at, 1, &resident) == 0 || errno != ENOMEM)
            return false;
    }
    return true;
}

TEST(LargePages, BlocksAreWritableToTheirLastByteAndGivenBackWhole)
{
    // Each size with the span it is known to take, all of it its own: a
    // block a little short of a large page's end is mapped to that end.
    const struct {
        std::size_t size;
        std::size_t span;
    } cases[] = {
        {1, 4096},
        {kLargePage - 1, kLargePage},
        {kLargePage, kLargePage},
        {kLargePage + 1, kLargePage + 4096},
        {2 * kLargePage - 4096, 2 * kLargePage},
        {2 * kLargePage - kLargePage / 16, 2 * kLargePage},
        {2 * kLargePage + kLargePage / 2, 2 * kLargePage + kLargePage / 2},
    };
    for (const auto& [size, span] : cases) {
        char* const block = MapPopulatedPages(size);
        EXPECT_EQ(block[0], 0) << size;
        EXPECT_EQ(block[size - 1], 0) << size;
        std::memset(block, 'a', size);
        EXPECT_EQ(std::count(block, block + size, 'a'), static_cast<std::ptrdiff_t>(size)) << size;
        EXPECT_TRUE(AllMapped(block, span)) << size;
        UnmapPages(block, size);
        EXPECT_TRUE(NothingMapped(block, span)) << size;
    }
}

TEST(LargePages, ABlockMappedToALargePagesEndIsItsOwnWhereverItFalls)
{
    // Wherever the system places it: a mapping of the test's own, made
    // before each block, moves the block by 64 KB more each time, over a
    // whole large page, and must be left whole.
    const std::size_t size = 2 * kLargePage - kLargePage / 5; // a fifth short of the end
    for (std::size_t shift = 1; shift <= kLargePage / (64 * 1024); ++shift) {
        void* const spacer = ::mmap(nullptr, shift * 64 * 1024, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        ASSERT_NE(spacer, MAP_FAILED);
        char* const block = MapPopulatedPages(size);
        EXPECT_TRUE(AllMapped(block, 2 * kLargePage)) << shift;
        UnmapPages(block, size);
        EXPECT_TRUE(NothingMapped(block, 2 * kLargePage)) << shift;
        EXPECT_TRUE(AllMapped(static_cast<char*>(spacer), shift * 64 * 1024)) << shift;
        ::munmap(spacer, shift * 64 * 1024);
    }
}

TEST(LargePages, AdviceKeepsWhatIsWritten)
{
    // Off any boundary, on memory partly written already.
    std::vector<char> text(3 * kLargePage + 123, 'q');
    AdviseLargePages(text.data() + 1, text.size() - 1);
    AdviseLargePages(text.data(), 10);
    EXPECT_EQ(std::count(text.begin(), text.end(), 'q'), static_cast<std::ptrdiff_t>(text.size()));
}

} // namespace
} // namespace tavimor
