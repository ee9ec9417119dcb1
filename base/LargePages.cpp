#include "base/LargePages.h"

#include <sys/mman.h>

#include <cstdint>
#include <new>

// Linux 5.14; the C library's headers may be older than the kernel.
#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23
#endif

namespace tavimor {

namespace {

constexpr std::uintptr_t kSmallPage = 4096;

std::uintptr_t RoundUp(std::uintptr_t value, std::uintptr_t step)
{
    return (value + step - 1) & ~(step - 1);
}

std::uintptr_t RoundDown(std::uintptr_t value, std::uintptr_t step)
{
    return value & ~(step - 1);
}

char* MapOrThrow(std::size_t size, int extra_flags)
{
    void* const pages = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | extra_flags, -1, 0);
    if (pages == MAP_FAILED)
        throw std::bad_alloc();
    return static_cast<char*>(pages);
}

// The span of memory that holds size bytes: to the end of the large page
// the last byte falls in where that wastes little (up to an eighth of the
// size), else to the end of its small page, the tail then on small pages.
std::uintptr_t SpanFor(std::size_t size)
{
    const std::uintptr_t large = RoundUp(size, kLargePage);
    return large - size <= size / 8 ? large : RoundUp(size, kSmallPage);
}

} // namespace

char* MapPopulatedPages(std::size_t size)
{
    if (size < kLargePage)
        return MapOrThrow(size, MAP_POPULATE);
    if (size > SIZE_MAX - 2 * kLargePage)
        throw std::bad_alloc();
    // A large page more than the span, so that the span can start on a
    // large page's boundary; what lies outside it is given back.
    const std::uintptr_t span = SpanFor(size);
    const std::uintptr_t mapped = reinterpret_cast<std::uintptr_t>(MapOrThrow(span + kLargePage, 0));
    const std::uintptr_t start = RoundUp(mapped, kLargePage);
    if (start > mapped)
        ::munmap(reinterpret_cast<void*>(mapped), start - mapped);
    // Always some left after the span: start is less than a large page on.
    ::munmap(reinterpret_cast<void*>(start + span), mapped + kLargePage - start);
    char* const data = reinterpret_cast<char*>(start);
    AdviseLargePages(data, span);
    // Where the kernel cannot populate on request, the pages are made as
    // they are first written, as with any memory.
    ::madvise(data, size, MADV_POPULATE_WRITE);
    return data;
}

void UnmapPages(char* data, std::size_t size)
{
    ::munmap(data, size < kLargePage ? size : SpanFor(size));
}

void AdviseLargePages(void* from, std::size_t length)
{
    const std::uintptr_t begin = RoundUp(reinterpret_cast<std::uintptr_t>(from), kLargePage);
    const std::uintptr_t end = RoundDown(reinterpret_cast<std::uintptr_t>(from) + length, kLargePage);
    if (begin < end)
        ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}

} // namespace tavimor
