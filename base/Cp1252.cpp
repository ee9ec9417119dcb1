#include "base/Cp1252.h"

#include "base/ByteScan.h"
#include "base/Utf8.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>

#if defined(__x86_64__)
#include <tmmintrin.h>
#endif

namespace tavimor {
namespace {

// Unicode code points of the bytes 80..9F; the undefined ones keep their own value.
constexpr std::array<char32_t, 32> kHighControls {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t CodePointOf(unsigned char byte)
{
    return (byte >= 0x80 && byte < 0xA0) ? kHighControls[byte - 0x80] : char32_t {byte};
}

// The characters of the bytes 80..9F, sorted by code point, for the way back.
struct HighControl {
    char32_t codePoint;
    char byte;
};
constexpr std::array<HighControl, 32> kSortedHighControls = [] {
    std::array<HighControl, 32> sorted {};
    for (unsigned i = 0; i < kHighControls.size(); ++i)
        sorted[i] = {kHighControls[i], static_cast<char>(0x80 + i)};
    std::sort(sorted.begin(), sorted.end(), [](HighControl a, HighControl b) { return a.codePoint < b.codePoint; });
    return sorted;
}();

char FromCodePoint(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<char>(cp);
    const auto found = std::lower_bound(kSortedHighControls.begin(), kSortedHighControls.end(), cp,
        [](HighControl entry, char32_t value) { return entry.codePoint < value; });
    return found != kSortedHighControls.end() && found->codePoint == cp ? found->byte : kCp1252Replacement;
}

// The Unicode scalar value of the well-formed UTF-8 sequence at utf8[at], and
// its length; a length of 0 for a malformed one (an overlong form, a
// surrogate, past U+10FFFF, cut short).
std::pair<char32_t, std::size_t> ScalarAt(std::string_view utf8, std::size_t at)
{
    const auto lead = static_cast<unsigned char>(utf8[at]);
    if (lead < 0x80)
        return {lead, 1};
    std::size_t length = 0;
    char32_t cp = 0;
    char32_t least = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        cp = lead & 0x1F;
        least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        cp = lead & 0x0F;
        least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        cp = lead & 0x07;
        least = 0x10000;
    }
    if (length == 0 || length > utf8.size() - at)
        return {0, 0};
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(utf8[at + k]);
        if ((next & 0xC0) != 0x80)
            return {0, 0};
        cp = (cp << 6) | (next & 0x3F);
    }
    if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return {0, 0};
    return {cp, length};
}

constexpr std::string_view kReferenceOpening = "&#";

} // namespace

std::optional<char> Cp1252Byte(char32_t cp)
{
    const char byte = FromCodePoint(cp);
    if (byte == kCp1252Replacement && cp != static_cast<unsigned char>(kCp1252Replacement))
        return std::nullopt;
    return byte;
}

bool IsAscii(std::string_view text)
{
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

std::string Utf8ToCp1252Referencing(std::string_view utf8, std::size_t* references)
{
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto [cp, length] = ScalarAt(utf8, i);
        if (length == 0) {
            out += kCp1252Replacement;
            ++i; // resynchronise on the next byte
            continue;
        }
        i += length;
        if (const std::optional<char> byte = Cp1252Byte(cp)) {
            out += *byte;
            continue;
        }
        out += kReferenceOpening;
        out += std::to_string(static_cast<std::uint32_t>(cp));
        out += ';';
        if (references)
            ++*references;
    }
    return out;
}

std::string Cp1252ToUtf8ResolvingReferences(std::string_view text)
{
    std::string out;
    std::size_t done = 0;
    for (std::size_t at = text.find(kReferenceOpening); at != std::string_view::npos;
         at = text.find(kReferenceOpening, at + 1)) {
        // Only the form written above: decimal digits without a leading
        // zero, at most seven of them, then ';'.
        std::size_t end = at + kReferenceOpening.size();
        std::uint32_t cp = 0;
        while (end < text.size() && end - at - kReferenceOpening.size() < 8 && text[end] >= '0' && text[end] <= '9')
            cp = cp * 10 + static_cast<std::uint32_t>(text[end++] - '0');
        const std::size_t digits = end - at - kReferenceOpening.size();
        if (digits == 0 || digits > 7 || text[at + kReferenceOpening.size()] == '0' || end >= text.size()
            || text[end] != ';')
            continue;
        if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF) || Cp1252Byte(cp))
            continue;
        out += Cp1252ToUtf8(text.substr(done, at - done));
        AppendUtf8(out, cp);
        done = end + 1;
    }
    if (done == 0)
        return Cp1252ToUtf8(text);
    out += Cp1252ToUtf8(text.substr(done));
    return out;
}

std::string Cp1252ToUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    for (const char c : text)
        AppendUtf8(out, CodePointOf(static_cast<unsigned char>(c)));
    return out;
}

namespace {

// Decodes the sequence at from, whose lead byte is not ASCII, into one byte
// at to, and moves both on. (The letters of two bytes from A0 to FF, most of
// the accented text, are taken by the caller without a call.)
void DecodeSequence(const char*& from, const char* end, char*& to)
{
    const auto lead = static_cast<unsigned char>(*from);
    const std::size_t left = static_cast<std::size_t>(end - from);
    std::size_t length = 0;
    char32_t cp = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        cp = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        cp = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        cp = lead & 0x07;
    }
    bool valid = length > 0 && length <= left;
    for (std::size_t k = 1; valid && k < length; ++k) {
        const auto next = static_cast<unsigned char>(from[k]);
        valid = (next & 0xC0) == 0x80;
        cp = (cp << 6) | (next & 0x3F);
    }
    if (!valid) {
        *to++ = kCp1252Replacement;
        ++from; // resynchronise on the next byte
        return;
    }
    *to++ = FromCodePoint(cp);
    from += length;
}

// The Word-sized bytes at `from`.
template <class Word> Word WordAt(const char* from)
{
    Word word;
    std::memcpy(&word, from, sizeof word);
    return word;
}

// Moves count bytes (from sizeof(Word) to twice that) as two words that may
// overlap, the first and the last of them, both read before either is written.
template <class Word> void MoveHeadAndTail(char* to, const char* from, unsigned count)
{
    const auto head = WordAt<Word>(from);
    const auto tail = WordAt<Word>(from + count - sizeof(Word));
    std::memcpy(to, &head, sizeof head);
    std::memcpy(to + count - sizeof(Word), &tail, sizeof tail);
}

// Moves count bytes (at most 16) to `to`, at or before `from`, writing
// nothing past to + count: every byte moved is read before any is written.
void MoveBack(char* to, const char* from, unsigned count)
{
    if (count >= 8) {
        MoveHeadAndTail<std::uint64_t>(to, from, count);
    } else if (count >= 4) {
        MoveHeadAndTail<std::uint32_t>(to, from, count);
    } else {
        for (unsigned i = 0; i < count; ++i)
            to[i] = from[i];
    }
}

// True when a byte of the first or the last word of the count bytes at
// `from` (from sizeof(Word) to twice that) is from 0x80 on.
template <class Word> bool HeadOrTailHigh(const char* from, unsigned count)
{
    constexpr auto kHighBits = static_cast<Word>(0x8080808080808080u);
    return ((WordAt<Word>(from) | WordAt<Word>(from + count - sizeof(Word))) & kHighBits) != 0;
}

// True when one of the count bytes at `from` (fewer than 16) is from 0x80 on.
bool AnyHighByte(const char* from, unsigned count)
{
    if (count >= 8)
        return HeadOrTailHigh<std::uint64_t>(from, count);
    if (count >= 4)
        return HeadOrTailHigh<std::uint32_t>(from, count);
    for (unsigned i = 0; i < count; ++i)
        if (static_cast<unsigned char>(from[i]) >= 0x80)
            return true;
    return false;
}

// One bit per byte of the 16 at `from` that is not ASCII.
unsigned NonAsciiMask(const char* from)
{
#if defined(__SSE2__)
    __m128i block;
    std::memcpy(&block, from, sizeof block);
    return static_cast<unsigned>(_mm_movemask_epi8(block));
#else
    // The bytes from 0x80 on: where a UTF-8 sequence of more than one byte starts.
    static constexpr ByteSet kNonAscii("", 0x80);
    return ByteSet::Runs(kNonAscii).Mask(from);
#endif
}

} // namespace

namespace {

template <class Blocks> std::size_t ConvertInPlace(char* text, std::size_t size)
{
    const char* from = text;
    const char* const end = text + size;
    char* to = text;
    while (from != end) {
        if (end - from >= 16) {
            // The bytes are read before anything is written over them, and
            // the writing never passes them: `to` never runs ahead of `from`.
            const unsigned mask = NonAsciiMask(from);
            if (mask != 0) {
                if (char* const after = Blocks::Convert(to, from)) {
                    to = after;
                    from += 16;
                    continue;
                }
            }
            const unsigned run = mask == 0 ? 16 : static_cast<unsigned>(__builtin_ctz(mask));
            if (to != from)
                MoveBack(to, from, run);
            from += run;
            to += run;
            if (run == 16)
                continue;
        } else if (const auto left = static_cast<unsigned>(end - from); !AnyHighByte(from, left)) {
            if (to != from)
                MoveBack(to, from, left);
            to += left;
            break;
        } else if (static_cast<unsigned char>(*from) < 0x80) {
            *to++ = *from++;
            continue;
        }
        // Most of what is not ASCII is a letter of two bytes from A0 to FF,
        // taken here without a call.
        const auto lead = static_cast<unsigned char>(from[0]);
        if ((lead == 0xC2 || lead == 0xC3) && end - from >= 2) {
            const auto next = static_cast<unsigned char>(from[1]);
            const unsigned cp = ((lead & 0x1Fu) << 6) | (next & 0x3Fu);
            if ((next & 0xC0) == 0x80 && cp >= 0xA0) {
                *to++ = static_cast<char>(cp);
                from += 2;
                continue;
            }
        }
        // Copies of the positions, so that the loop's own stay in registers.
        const char* sequence = from;
        char* into = to;
        DecodeSequence(sequence, end, into);
        from = sequence;
        to = into;
    }
    return static_cast<std::size_t>(to - text);
}

// The converter's way with a block of 16 bytes that holds more than ASCII:
// Convert() writes its characters at `to` (at or before `from`) and returns
// past them, or returns nullptr to leave the block to the byte-by-byte way.
struct ByteByByte {
    static char* Convert(char*, const char*) { return nullptr; }
};

#if defined(__x86_64__)
// For each set of bytes to drop among eight (a bit per byte), the positions
// of the bytes kept, in order, then 0x80 (which makes a zero byte); and how
// many are kept (a count that takes no instruction the processor may lack).
struct KeptBytes {
    std::array<std::array<std::uint8_t, 8>, 256> positions {};
    std::array<std::uint8_t, 256> count {};
};
constexpr KeptBytes kKeptBytes = [] {
    KeptBytes kept;
    for (unsigned drop = 0; drop < 256; ++drop) {
        unsigned count = 0;
        for (unsigned at = 0; at < 8; ++at) {
            if ((drop & (1u << at)) == 0)
                kept.positions[drop][count++] = static_cast<std::uint8_t>(at);
        }
        kept.count[drop] = static_cast<std::uint8_t>(count);
        while (count < 8)
            kept.positions[drop][count++] = 0x80;
    }
    return kept;
}();

// Most accented text is ASCII and letters of two bytes from A0 to FF (lead
// C2 or C3): a block of them is converted in one step, the letters made
// from their two bytes and the followers squeezed out with a byte shuffle
// (SSSE3, which the caller checks the processor has).
struct TwoByteLetterBlocks {
    __attribute__((target("ssse3"))) static char* Convert(char* to, const char* from)
    {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
        const __m128i next = _mm_srli_si128(block, 1); // each byte's follower, 0 after the last
        const __m128i leads = _mm_cmpeq_epi8(
            _mm_and_si128(block, _mm_set1_epi8(static_cast<char>(0xFE))), _mm_set1_epi8(static_cast<char>(0xC2)));
        const auto leadBits = static_cast<unsigned>(_mm_movemask_epi8(leads));
        const auto followerBits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(
            _mm_and_si128(block, _mm_set1_epi8(static_cast<char>(0xC0))), _mm_set1_epi8(static_cast<char>(0x80)))));
        const auto highBits = static_cast<unsigned>(_mm_movemask_epi8(block));
        // C2 before 80..9F is a control character of Unicode, not in the code page.
        const __m128i controls = _mm_and_si128(_mm_cmpeq_epi8(block, _mm_set1_epi8(static_cast<char>(0xC2))),
            _mm_cmpeq_epi8(
                _mm_and_si128(next, _mm_set1_epi8(static_cast<char>(0xE0))), _mm_set1_epi8(static_cast<char>(0x80))));
        // Every byte from 0x80 on a lead or its follower, and no lead last.
        if (followerBits != leadBits << 1 || highBits != (leadBits | followerBits) || _mm_movemask_epi8(controls) != 0)
            return nullptr;
        // A letter is its lead's two low bits, then its follower's six.
        const __m128i letters = _mm_or_si128(
            _mm_slli_epi16(_mm_and_si128(block, _mm_set1_epi8(0x03)), 6), _mm_and_si128(next, _mm_set1_epi8(0x3F)));
        const __m128i text = _mm_or_si128(_mm_and_si128(leads, letters), _mm_andnot_si128(leads, block));
        const unsigned lowDrop = followerBits & 0xFF;
        const unsigned highDrop = followerBits >> 8;
        const __m128i kept = _mm_add_epi8(
            _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(kKeptBytes.positions[lowDrop].data())),
                _mm_loadl_epi64(reinterpret_cast<const __m128i*>(kKeptBytes.positions[highDrop].data()))),
            _mm_set_epi64x(0x0808080808080808, 0));
        const __m128i squeezed = _mm_shuffle_epi8(text, kept);
        // Each half lands within the 16 bytes already read.
        _mm_storel_epi64(reinterpret_cast<__m128i*>(to), squeezed);
        to += kKeptBytes.count[lowDrop];
        _mm_storel_epi64(reinterpret_cast<__m128i*>(to), _mm_unpackhi_epi64(squeezed, squeezed));
        return to + kKeptBytes.count[highDrop];
    }
};

__attribute__((target("ssse3"), flatten)) std::size_t ConvertWithLetterBlocks(char* text, std::size_t size)
{
    return ConvertInPlace<TwoByteLetterBlocks>(text, size);
}
#endif

} // namespace

std::size_t Utf8ToCp1252InPlace(char* text, std::size_t size)
{
#if defined(__x86_64__)
    if (CanShuffleBytes())
        return ConvertWithLetterBlocks(text, size);
#endif
    return ConvertInPlace<ByteByByte>(text, size);
}

std::string Utf8ToCp1252(std::string_view utf8)
{
    // A usual text is decoded on the stack and then copied once into a
    // string of its exact size, so that the document's many texts hold no
    // spare capacity (and short ones none of the heap).
    constexpr std::size_t kStackText = 512;
    if (utf8.size() <= kStackText) {
        char buffer[kStackText];
        std::copy(utf8.begin(), utf8.end(), buffer);
        return std::string(buffer, Utf8ToCp1252InPlace(buffer, utf8.size()));
    }
    std::string out(utf8);
    out.resize(Utf8ToCp1252InPlace(out.data(), out.size()));
    out.shrink_to_fit();
    return out;
}

std::string Utf16LeToCp1252(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() / 2);
    const std::size_t units = bytes.size() / 2;
    for (std::size_t i = 0; i < units; ++i) {
        const auto unit = static_cast<char16_t>(
            static_cast<unsigned char>(bytes[2 * i]) | (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
        if (unit >= 0xD800 && unit <= 0xDFFF) {
            // A surrogate pair stands for one character outside the code page.
            const bool paired = unit <= 0xDBFF && i + 1 < units && static_cast<unsigned char>(bytes[2 * i + 3]) >= 0xDC
                && static_cast<unsigned char>(bytes[2 * i + 3]) <= 0xDF;
            if (paired)
                ++i;
            out += kCp1252Replacement;
            continue;
        }
        out += FromCodePoint(unit);
    }
    return out;
}

} // namespace tavimor
