// Finding the next byte a text converter has to look at, so that the runs of
// bytes it copies unchanged are passed over sixteen at a time (with SSE2,
// which every x86-64 processor has; elsewhere one byte at a time).
#pragma once

#include <array>
#include <cstddef>
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

// Up to six ASCII bytes and, optionally, every byte that has all
// the bits of highBits set (0x80: every byte from 0x80 on; 0xC0: every byte
// from 0xC0 on; 0: none of them).
class ByteSet {
public:
    static constexpr std::size_t kMaxAscii = 6;

    constexpr ByteSet(std::string_view ascii, unsigned char highBits)
        : high_(highBits)
    {
        // Unused places repeat a byte of the set, so that a search compares
        // all six without a count.
        const char filler = ascii.empty() ? static_cast<char>(highBits) : ascii.front();
        for (std::size_t i = 0; i < kMaxAscii; ++i)
            ascii_[i] = i < ascii.size() ? ascii[i] : filler;
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
            : high_(_mm_set1_epi8(static_cast<char>(set.high_)))
            , hasHigh_(set.high_ != 0)
#else
            : member_(&set.member_)
#endif
        {
#if defined(__SSE2__)
            for (std::size_t i = 0; i < kMaxAscii; ++i)
                ascii_[i] = _mm_set1_epi8(set.ascii_[i]);
#endif
        }

        // One bit per byte of the 16 at `from` that is in the set, the
        // first byte in the lowest bit.
        unsigned Mask(const char* from) const
        {
#if defined(__SSE2__)
            __m128i block;
            std::memcpy(&block, from, sizeof block);
            __m128i hits = hasHigh_ ? _mm_cmpeq_epi8(_mm_and_si128(block, high_), high_) : _mm_setzero_si128();
            for (const __m128i& c : ascii_)
                hits = _mm_or_si128(hits, _mm_cmpeq_epi8(block, c));
            return static_cast<unsigned>(_mm_movemask_epi8(hits));
#else
            unsigned mask = 0;
            for (unsigned i = 0; i < 16; ++i)
                mask |= static_cast<unsigned>((*member_)[static_cast<unsigned char>(from[i])]) << i;
            return mask;
#endif
        }

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
    std::array<char, kMaxAscii> ascii_ {};
    unsigned char high_;
};

} // namespace tavimor
