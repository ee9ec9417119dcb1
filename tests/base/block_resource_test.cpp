// The memory of lists filled once: served from its block while there is
// room, aligned, then from the heap, and every list built on it keeps its
// values whatever it grows to.
#include "base/BlockResource.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory_resource>
#include <string>
#include <string_view>
#include <vector>

namespace tavimor {
namespace {

bool Inside(const void* p, const void* first, std::size_t size)
{
    const auto at = reinterpret_cast<std::uintptr_t>(p);
    const auto start = reinterpret_cast<std::uintptr_t>(first);
    return at >= start && at < start + size;
}

TEST(BlockResource, ServesItsBlockAlignedThenTheHeap)
{
    BlockResource room;
    // No block yet: the heap.
    void* early = room.allocate(24, 8);
    room.deallocate(early, 24, 8);

    room.AddBlock(100);
    void* first = room.allocate(3, 1);
    void* second = room.allocate(16, 16);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(second) % 16, 0u);
    EXPECT_TRUE(Inside(second, first, 100));
    EXPECT_GE(static_cast<char*>(second) - static_cast<char*>(first), 3);
    // More than is left: the heap, and the block's room is kept for what fits.
    void* big = room.allocate(200, 8);
    EXPECT_FALSE(Inside(big, first, 100));
    void* small = room.allocate(8, 8);
    EXPECT_TRUE(Inside(small, first, 100));
    // Giving back memory of the block is a no-op; that of the heap is freed
    // (the sanitized build checks it).
    room.deallocate(big, 200, 8);
    room.deallocate(second, 16, 16);
    room.deallocate(small, 8, 8);
    room.deallocate(first, 3, 1);
}

TEST(BlockResource, ListsKeepTheirValuesWhenTheyOutgrowTheirRoom)
{
    BlockResource room;
    room.AddBlock(sizeof(int) * 100 + sizeof(std::string_view) * 10 + 16);
    std::pmr::vector<int> numbers(&room);
    std::pmr::vector<std::string_view> words(&room);
    numbers.reserve(100);
    words.reserve(10);
    for (int i = 0; i < 1000; ++i) {
        numbers.push_back(i);
        words.push_back(i % 2 ? "impair" : "pair");
    }
    for (int i = 0; i < 1000; ++i) {
        ASSERT_EQ(numbers[static_cast<std::size_t>(i)], i);
        ASSERT_EQ(words[static_cast<std::size_t>(i)], i % 2 ? "impair" : "pair");
    }
    // A second block serves what comes next.
    room.AddBlock(64);
    std::pmr::vector<char> letters(40, 'x', &room);
    EXPECT_EQ(std::string_view(letters.data(), letters.size()), std::string(40, 'x'));
}

} // namespace
} // namespace tavimor
