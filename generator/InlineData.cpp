#include "generator/InlineData.h"

#include "base/ByteScan.h"
#include "generator/TextBuffer.h"

#include <nettle/base64.h>
#include <nettle/sha2.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__)
#include <tmmintrin.h>
#endif

namespace tavimor {

namespace {

// How each byte is written inside a JSON string: size 1 with the byte itself
// for the bytes copied as they are.
struct JsonForm {
    std::array<char, 8> text {}; // copied whole, used up to size
    std::uint8_t size = 0;
};

JsonForm Escaped(std::string_view text)
{
    JsonForm form;
    std::copy(text.begin(), text.end(), form.text.begin());
    form.size = static_cast<std::uint8_t>(text.size());
    return form;
}

JsonForm Utf8Form(char32_t cp)
{
    JsonForm form;
    if (cp < 0x800) {
        form.text[0] = static_cast<char>(0xC0 | (cp >> 6));
        form.text[1] = static_cast<char>(0x80 | (cp & 0x3F));
        form.size = 2;
    } else {
        form.text[0] = static_cast<char>(0xE0 | (cp >> 12));
        form.text[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        form.text[2] = static_cast<char>(0x80 | (cp & 0x3F));
        form.size = 3;
    }
    return form;
}

JsonForm UnicodeEscape(unsigned value)
{
    static constexpr char kHex[] = "0123456789abcdef";
    JsonForm form;
    form.text = {'\\', 'u', '0', '0', kHex[(value >> 4) & 0xF], kHex[value & 0xF]};
    form.size = 6;
    return form;
}

// Unicode code points of the bytes 80..9F; the five undefined ones keep their
// own value, as the core's conversion does.
constexpr std::array<char32_t, 32> kHighControls {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The escapes shared by both tables: control characters, quote, backslash, "<".
void SetAsciiEscapes(std::array<JsonForm, 256>& table)
{
    for (unsigned c = 0; c < 0x100; ++c) {
        table[c].text[0] = static_cast<char>(c);
        table[c].size = 1;
    }
    for (unsigned c = 0; c < 0x20; ++c)
        table[c] = UnicodeEscape(c);
    table['\n'] = Escaped("\\n");
    table['\r'] = Escaped("\\r");
    table['\t'] = Escaped("\\t");
    table['"'] = Escaped("\\\"");
    table['\\'] = Escaped("\\\\");
    table['<'] = UnicodeEscape('<');
}

const std::array<JsonForm, 256>& Cp1252Table()
{
    static const std::array<JsonForm, 256> table = [] {
        std::array<JsonForm, 256> t {};
        SetAsciiEscapes(t);
        for (unsigned c = 0x80; c < 0x100; ++c)
            t[c] = Utf8Form(c < 0xA0 ? kHighControls[c - 0x80] : char32_t {c});
        return t;
    }();
    return table;
}

const std::array<JsonForm, 256>& Utf8Table()
{
    static const std::array<JsonForm, 256> table = [] {
        std::array<JsonForm, 256> t {};
        SetAsciiEscapes(t);
        return t;
    }();
    return table;
}

// Finds, sixteen bytes at a time, the bytes a JSON string cannot hold as
// they are: control characters, quote, backslash, "<" and, for text of the
// code page, every byte from 0x80 on (which becomes UTF-8).
class SpecialBytes {
public:
    SpecialBytes(const std::array<JsonForm, 256>& table, bool highBytes)
        : table_(table)
        , highBytes_(highBytes)
    {
    }

    // One bit per byte of the 16 at `from` that the table changes.
    unsigned Mask(const char* from) const
    {
#if defined(__SSE2__)
        __m128i block;
        std::memcpy(&block, from, sizeof block);
        const __m128i lastControl = _mm_set1_epi8(0x1F);
        __m128i hits = _mm_cmpeq_epi8(_mm_max_epu8(block, lastControl), lastControl);
        for (const char c : {'"', '\\', '<'})
            hits = _mm_or_si128(hits, _mm_cmpeq_epi8(block, _mm_set1_epi8(c)));
        const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hits));
        return highBytes_ ? mask | static_cast<unsigned>(_mm_movemask_epi8(block)) : mask;
#else
        unsigned mask = 0;
        for (unsigned i = 0; i < 16; ++i)
            mask |= static_cast<unsigned>(Changes(from[i])) << i;
        return mask;
#endif
    }

    bool Changes(char c) const
    {
        const JsonForm& form = table_[static_cast<unsigned char>(c)];
        return form.size != 1 || form.text[0] != c;
    }

private:
    const std::array<JsonForm, 256>& table_;
    bool highBytes_;
};

// The longest form a byte takes, and the spare bytes the fixed-width copies
// below may write past the text before it is cut to its length.
constexpr std::size_t kLongestForm = 6;
constexpr std::size_t kSpare = 16;

// The writer's way with a block of 16 bytes that holds bytes to change:
// Convert() writes the block at p and returns past it, or returns nullptr
// to leave it to the byte-by-byte way.
struct ByteByByte {
    static char* Convert(char*, const char*, unsigned) { return nullptr; }
};

#if defined(__x86_64__)
// For each set of letters among eight bytes (a bit per byte), where each of
// the eight goes in UTF-8: its position, twice for a letter (lead and
// follower); 0xFF where a lead goes; and the length of the whole.
struct LetterSpread {
    std::array<std::array<std::uint8_t, 16>, 256> positions {};
    std::array<std::array<std::uint8_t, 16>, 256> leads {};
    std::array<std::uint8_t, 256> size {};
};
constexpr LetterSpread kLetterSpread = [] {
    LetterSpread spread;
    for (unsigned letters = 0; letters < 256; ++letters) {
        unsigned at = 0;
        for (unsigned byte = 0; byte < 8; ++byte) {
            if ((letters & (1u << byte)) != 0) {
                spread.leads[letters][at] = 0xFF;
                spread.positions[letters][at++] = static_cast<std::uint8_t>(byte);
            }
            spread.positions[letters][at++] = static_cast<std::uint8_t>(byte);
        }
        spread.size[letters] = static_cast<std::uint8_t>(at);
        while (at < 16)
            spread.positions[letters][at++] = 0x80; // a zero byte
    }
    return spread;
}();

// Most accented text is ASCII and letters from A0 to FF, each of which is two
// bytes in UTF-8 (C2 or C3, then the letter's six low bits): a block of them
// is written in two steps of eight bytes, spread with a byte shuffle (SSSE3,
// which the caller checks the processor has).
struct LetterBlocks {
    __attribute__((target("ssse3"))) static char* Spread(char* p, __m128i eight, unsigned letters)
    {
        const __m128i spread = _mm_shuffle_epi8(
            eight, _mm_loadu_si128(reinterpret_cast<const __m128i*>(kLetterSpread.positions[letters].data())));
        const __m128i leads = _mm_loadu_si128(reinterpret_cast<const __m128i*>(kLetterSpread.leads[letters].data()));
        const __m128i followers = _mm_slli_si128(leads, 1);
        const __m128i leadBytes = _mm_or_si128(
            _mm_and_si128(_mm_srli_epi16(spread, 6), _mm_set1_epi8(0x03)), _mm_set1_epi8(static_cast<char>(0xC0)));
        const __m128i followerBytes = _mm_and_si128(spread, _mm_set1_epi8(static_cast<char>(0xBF)));
        const __m128i written
            = _mm_or_si128(_mm_or_si128(_mm_and_si128(leads, leadBytes), _mm_and_si128(followers, followerBytes)),
                _mm_andnot_si128(_mm_or_si128(leads, followers), spread));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p), written);
        return p + kLetterSpread.size[letters];
    }

    // special: the block's bytes to change, as SpecialBytes finds them.
    __attribute__((target("ssse3"))) static char* Convert(char* p, const char* from, unsigned special)
    {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
        const auto letters = static_cast<unsigned>(_mm_movemask_epi8(block));
        // No byte to change but those from 0x80 on, and none of them below A0.
        const __m128i below = _mm_cmpeq_epi8(
            _mm_and_si128(block, _mm_set1_epi8(static_cast<char>(0xE0))), _mm_set1_epi8(static_cast<char>(0x80)));
        if (special != letters || _mm_movemask_epi8(below) != 0)
            return nullptr;
        p = Spread(p, block, letters & 0xFF);
        return Spread(p, _mm_srli_si128(block, 8), letters >> 8);
    }
};
#endif

// Writes text as a JSON string at p, in one pass over the runs of bytes that
// stay as they are, sixteen at a time, and returns the end. The room at p
// holds kLongestForm bytes for each byte of text, the two quotes and kSpare:
// each copy below writes a whole block or form, of which only the leading
// bytes count.
template <class Blocks>
char* WriteWithTable(
    char* p, std::string_view text, const std::array<JsonForm, 256>& table, const SpecialBytes& special)
{
    const char* from = text.data();
    const char* const end = from + text.size();
    *p++ = '"';
    const auto put = [&p, &table](char c) {
        const JsonForm& form = table[static_cast<unsigned char>(c)];
        std::memcpy(p, form.text.data(), form.text.size());
        p += form.size;
    };
    // A block with a byte to change is copied here first, so that a whole
    // copy from any of its bytes reads no further than this.
    std::array<char, 32> block {};
    for (; end - from >= 16; from += 16) {
        unsigned mask = special.Mask(from);
        if (mask == 0) {
            std::memcpy(p, from, 16);
            p += 16;
            continue;
        }
        if (char* const after = Blocks::Convert(p, from, mask)) {
            p = after;
            continue;
        }
        std::memcpy(block.data(), from, 16);
        unsigned done = 0; // bytes of the block written
        for (; mask != 0; mask &= mask - 1) {
            const auto at = static_cast<unsigned>(__builtin_ctz(mask));
            std::memcpy(p, block.data() + done, 16);
            p += at - done;
            put(block[at]);
            done = at + 1;
        }
        std::memcpy(p, block.data() + done, 16);
        p += 16 - done;
    }
    for (; from != end; ++from)
        put(*from);
    *p++ = '"';
    return p;
}

using TableWriter = char* (*)(char*, std::string_view, const std::array<JsonForm, 256>&, const SpecialBytes&);

#if defined(__x86_64__)
__attribute__((target("ssse3"), flatten)) char* WriteWithLetterBlocks(
    char* p, std::string_view text, const std::array<JsonForm, 256>& table, const SpecialBytes& special)
{
    return WriteWithTable<LetterBlocks>(p, text, table, special);
}
#endif

// The writer for text of the code page: its letters shuffled into place
// where the processor can. (In UTF-8 they are already what they become.)
TableWriter CodePageWriter()
{
#if defined(__x86_64__)
    if (CanShuffleBytes())
        return WriteWithLetterBlocks;
#endif
    return WriteWithTable<ByteByByte>;
}

void AppendWithTable(TextBuffer& out, std::string_view text, const std::array<JsonForm, 256>& table,
    const SpecialBytes& special, TableWriter write)
{
    out.AppendThrough(
        kLongestForm * text.size() + 2 + kSpare, [&](char* at) { return write(at, text, table, special); });
}

bool StartsWith(std::string_view bytes, std::string_view head)
{
    return bytes.substr(0, head.size()) == head;
}

std::string LowerExtension(std::string_view fileName)
{
    const std::size_t slash = fileName.find_last_of('/');
    const std::size_t dot = fileName.find_last_of('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return {};
    std::string extension(fileName.substr(dot + 1));
    for (char& c : extension)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return extension;
}

} // namespace

// Nettle rather than OpenSSL: a far smaller library for every program of the
// project to load at its start.
std::string Base64(std::string_view bytes)
{
    std::string out(BASE64_ENCODE_RAW_LENGTH(bytes.size()), '\0');
    base64_encode_raw(out.data(), bytes.size(), reinterpret_cast<const std::uint8_t*>(bytes.data()));
    return out;
}

std::string CspHashSource(std::string_view text)
{
    sha256_ctx context;
    sha256_init(&context);
    sha256_update(&context, text.size(), reinterpret_cast<const std::uint8_t*>(text.data()));
    std::array<std::uint8_t, SHA256_DIGEST_SIZE> digest {};
    sha256_digest(&context, digest.size(), digest.data());
    const std::string_view raw(reinterpret_cast<const char*>(digest.data()), digest.size());
    return "'sha256-" + Base64(raw) + "'";
}

std::string ImageMediaType(std::string_view bytes, std::string_view fileName)
{
    if (StartsWith(bytes, "GIF87a") || StartsWith(bytes, "GIF89a"))
        return "image/gif";
    if (StartsWith(bytes, "\xFF\xD8\xFF"))
        return "image/jpeg";
    if (StartsWith(bytes, "\x89PNG\r\n\x1A\n"))
        return "image/png";
    if (StartsWith(bytes, "RIFF") && bytes.substr(8, 4) == "WEBP")
        return "image/webp";
    if (StartsWith(bytes, "BM"))
        return "image/bmp";
    if (StartsWith(bytes, std::string_view("\0\0\1\0", 4)))
        return "image/x-icon";
    const std::string extension = LowerExtension(fileName);
    if (extension == "svg")
        return "image/svg+xml";
    if (extension == "gif")
        return "image/gif";
    if (extension == "jpg" || extension == "jpeg")
        return "image/jpeg";
    if (extension == "png")
        return "image/png";
    if (extension == "webp")
        return "image/webp";
    return {};
}

std::string DataAddress(std::string_view mediaType, std::string_view bytes)
{
    return "data:" + std::string(mediaType) + ";base64," + Base64(bytes);
}

void AppendJsonString(TextBuffer& out, std::string_view cp1252)
{
    static const SpecialBytes special(Cp1252Table(), true);
    static const TableWriter write = CodePageWriter();
    AppendWithTable(out, cp1252, Cp1252Table(), special, write);
}

void AppendJsonStringUtf8(TextBuffer& out, std::string_view utf8)
{
    static const SpecialBytes special(Utf8Table(), false);
    AppendWithTable(out, utf8, Utf8Table(), special, WriteWithTable<ByteByByte>);
}

} // namespace tavimor
