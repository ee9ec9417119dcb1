// Finding the next byte a text converter has to look at, so that the runs of
// bytes it copies unchanged are passed over sixteen at a time (with SSE2,
// which every x86-64 processor has; elsewhere one byte at a time), the last
// bytes of a text too, taken into a register without reading past it.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tavimor {

#if defined(__x86_64__)
// Whether the processor can shuffle bytes (SSSE3): nearly every x86-64 one,
// not all, so the converters that shuffle ask first.
inline bool CanShuffleBytes()
{
    static const bool can = [] {
        __builtin_cpu_init(); // in case this runs before the constructors
        return __builtin_cpu_supports("ssse3") != 0;
    }();
    return can;
}
#endif

#if defined(__SSE2__)
// The bytes of block from its byte `count` on (0 to 16), moved to its start,
// zeros after them.
inline __m128i DropFront(__m128i block, unsigned count)
{
    if (count >= 8) {
        block = _mm_srli_si128(block, 8);
        count -= 8;
    }
    // Each half moves right by count bytes, and the high half's low bytes
    // go to the top of the low half (a shift by 64 bits gives zero).
    const __m128i moved = _mm_srl_epi64(block, _mm_cvtsi32_si128(static_cast<int>(8 * count)));
    const __m128i carried = _mm_sll_epi64(block, _mm_cvtsi32_si128(static_cast<int>(64 - 8 * count)));
    return _mm_or_si128(moved, _mm_srli_si128(carried, 8));
}

// The count bytes (under 16) before end, at the start of a block with zeros
// after them, read without touching a byte outside the text that starts at
// text: at once when the text has sixteen bytes or more, otherwise in two
// overlapping pieces.
inline __m128i LoadLastBytes(const char* text, const char* end, unsigned count)
{
    if (end - text >= 16) {
        __m128i block;
        std::memcpy(&block, end - 16, sizeof block);
        return DropFront(block, 16 - count);
    }
    const char* const from = end - count;
    std::uint64_t low = 0;
    std::uint64_t high = 0;
    if (count > 8) {
        std::memcpy(&low, from, 8);
        std::memcpy(&high, end - 8, 8);
        high >>= 8 * (16 - count); // the bytes the low half does not hold
    } else if (count >= 4) {
        std::uint32_t first = 0;
        std::uint32_t last = 0;
        std::memcpy(&first, from, 4);
        std::memcpy(&last, end - 4, 4);
        low = first | std::uint64_t {last} << 8 * (count - 4); // the same bytes where they overlap
    } else if (count > 0) {
        const auto byte = [from](unsigned i) { return std::uint64_t {static_cast<unsigned char>(from[i])} << 8 * i; };
        low = byte(0) | byte(count / 2) | byte(count - 1);
    }
    return _mm_set_epi64x(static_cast<long long>(high), static_cast<long long>(low));
}
#endif

// Where byte c first occurs in text from position from on, or npos: as
// text.find(c, from), inline. The readers of teacher HTML look for the next
// "<", ">" or quote many times per text, a few bytes away each time, where a
// call to the C library's search costs more than the search.
inline std::size_t FindByte(std::string_view text, char c, std::size_t from)
{
    if (from >= text.size())
        return std::string_view::npos;
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi8(c);
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    const char* at = begin + from;
    for (; end - at >= 16; at += 16) {
        __m128i block;
        std::memcpy(&block, at, sizeof block);
        const auto mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, wanted)));
        if (mask != 0)
            return static_cast<std::size_t>(at - begin) + static_cast<unsigned>(__builtin_ctz(mask));
    }
    const auto count = static_cast<unsigned>(end - at);
    // The zeros after the last bytes must not count as c.
    const unsigned inText = (1U << count) - 1;
    const auto mask
        = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(LoadLastBytes(begin, end, count), wanted))) & inText;
    return mask == 0 ? std::string_view::npos
                     : static_cast<std::size_t>(at - begin) + static_cast<unsigned>(__builtin_ctz(mask));
#else
    return text.find(c, from);
#endif
}

// Where byte c first occurs from position from on followed by the ASCII
// letter lowerLetter in either case ("<i" or "<I"), or npos.
inline std::size_t FindBeforeLetter(std::string_view text, char c, char lowerLetter, std::size_t from)
{
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    const char* at = begin + std::min(from, text.size());
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi8(c);
    const __m128i letter = _mm_set1_epi8(lowerLetter);
    const __m128i fold = _mm_set1_epi8(0x20); // a capital's bit
    for (; end - at > 16; at += 16) {
        __m128i block;
        __m128i next;
        std::memcpy(&block, at, sizeof block);
        std::memcpy(&next, at + 1, sizeof next);
        const __m128i pairs
            = _mm_and_si128(_mm_cmpeq_epi8(block, wanted), _mm_cmpeq_epi8(_mm_or_si128(next, fold), letter));
        const auto mask = static_cast<unsigned>(_mm_movemask_epi8(pairs));
        if (mask != 0)
            return static_cast<std::size_t>(at - begin) + static_cast<unsigned>(__builtin_ctz(mask));
    }
#endif
    for (; end - at >= 2; ++at) {
        if (at[0] == c && (at[1] | 0x20) == lowerLetter)
            return static_cast<std::size_t>(at - begin);
    }
    return std::string_view::npos;
}

// Up to six ASCII bytes and, optionally, every byte that has all
// the bits of highBits set (0x80: every byte from 0x80 on; 0xC0: every byte
// from 0xC0 on; 0: none of them).
class ByteSet {
    // A byte sixteen times over: what a block is compared with, made once
    // rather than for every text.
    using Wide = std::array<char, 16>;

public:
    static constexpr std::size_t kMaxAscii = 6;

    constexpr ByteSet(std::string_view ascii, unsigned char highBits)
    {
        // Unused places repeat a byte of the set, so that a search compares
        // all six without a count.
        const char filler = ascii.empty() ? static_cast<char>(highBits) : ascii.front();
        for (std::size_t i = 0; i < kMaxAscii; ++i)
            ascii_[i].fill(i < ascii.size() ? ascii[i] : filler);
        high_.fill(static_cast<char>(highBits));
        for (unsigned byte = 0; byte < 256; ++byte)
            member_[byte] = highBits != 0 && (byte & highBits) == highBits;
        for (const char c : ascii)
            member_[static_cast<unsigned char>(c)] = true;
    }

    constexpr bool Contains(unsigned char byte) const { return member_[byte]; }

    // A copier of runs, its comparisons held in registers for one text: the
    // text may be written through char pointers, which the compiler must
    // assume could change the set itself.
    class Runs {
    public:
        explicit Runs(const ByteSet& set)
#if defined(__SSE2__)
            : high_(Load(set.high_))
            , hasHigh_(set.high_[0] != 0)
#else
            : member_(&set.member_)
#endif
        {
#if defined(__SSE2__)
            for (std::size_t i = 0; i < kMaxAscii; ++i)
                ascii_[i] = Load(set.ascii_[i]);
#endif
        }

        // One bit per byte of the 16 at `from` that is in the set, the
        // first byte in the lowest bit.
        unsigned Mask(const char* from) const
        {
#if defined(__SSE2__)
            __m128i block;
            std::memcpy(&block, from, sizeof block);
            return Mask(block);
#else
            unsigned mask = 0;
            for (unsigned i = 0; i < 16; ++i)
                mask |= static_cast<unsigned>((*member_)[static_cast<unsigned char>(from[i])]) << i;
            return mask;
#endif
        }

#if defined(__SSE2__)
        // The same for a block in a register.
        unsigned Mask(__m128i block) const
        {
            __m128i hits = hasHigh_ ? _mm_cmpeq_epi8(_mm_and_si128(block, high_), high_) : _mm_setzero_si128();
            for (const __m128i& c : ascii_)
                hits = _mm_or_si128(hits, _mm_cmpeq_epi8(block, c));
            return static_cast<unsigned>(_mm_movemask_epi8(hits));
        }
#endif

        // Copies the 16 bytes at `from` to `to` and returns how many of them
        // come before the first one in the set (16 when none is).
        unsigned CopyBlock(const char* from, char* to) const
        {
            std::memcpy(to, from, 16);
            const unsigned mask = Mask(from);
            return mask == 0 ? 16 : static_cast<unsigned>(__builtin_ctz(mask));
        }

    private:
#if defined(__SSE2__)
        static __m128i Load(const Wide& bytes)
        {
            __m128i block;
            std::memcpy(&block, bytes.data(), sizeof block);
            return block;
        }

        __m128i high_;
        bool hasHigh_;
        __m128i ascii_[kMaxAscii];
#else
        const std::array<bool, 256>* member_;
#endif
    };

    // Copies [from, end) to `to`, which has room for the copy and sixteen
    // bytes more: the runs of bytes outside the set sixteen at a time, and
    // at each byte in the set special(from, end, to), which writes what that
    // byte (and those it takes after it) becomes and moves both on.
    template <class Special> char* CopyRuns(const char* from, const char* end, char* to, Special special) const
    {
        const Runs runs(*this);
        while (from != end) {
            if (end - from >= 16) {
                const unsigned run = runs.CopyBlock(from, to);
                from += run;
                to += run;
                if (run == 16)
                    continue;
            } else if (!Contains(static_cast<unsigned char>(*from))) {
                *to++ = *from++;
                continue;
            }
            special(from, end, to);
        }
        return to;
    }

private:
    std::array<bool, 256> member_ {};
    std::array<Wide, kMaxAscii> ascii_ {};
    Wide high_ {};
};

} // namespace tavimor
