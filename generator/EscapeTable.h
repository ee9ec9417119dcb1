// The byte tables behind the text converters of the pages and the quiz
// script: what each byte becomes, and the set of bytes that do not stand for
// themselves, so that the runs of those that do are copied sixteen at a time.
#pragma once

#include "base/ByteScan.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

namespace tavimor::escape {

// Named character references of the Latin-1 letters C0..FF (no entry for
// the multiplication and division signs D7 and F7).
inline constexpr std::array<const char*, 64> kEntityNames {
    "Agrave", "Aacute", "Acirc", "Atilde", "Auml", "Aring", "AElig", "Ccedil", // C0
    "Egrave", "Eacute", "Ecirc", "Euml", "Igrave", "Iacute", "Icirc", "Iuml", // C8
    "ETH", "Ntilde", "Ograve", "Oacute", "Ocirc", "Otilde", "Ouml", nullptr, // D0
    "Oslash", "Ugrave", "Uacute", "Ucirc", "Uuml", "Yacute", "THORN", "szlig", // D8
    "agrave", "aacute", "acirc", "atilde", "auml", "aring", "aelig", "ccedil", // E0
    "egrave", "eacute", "ecirc", "euml", "igrave", "iacute", "icirc", "iuml", // E8
    "eth", "ntilde", "ograve", "oacute", "ocirc", "otilde", "ouml", nullptr, // F0
    "oslash", "ugrave", "uacute", "ucirc", "uuml", "yacute", "thorn", "yuml", // F8
};

// What each byte becomes in a converted text: up to eight bytes (the longest
// entity, "&Ccedil;", has eight). The bytes that stand for themselves are
// copied in runs found by the table's ByteSet; for each other one the
// converter copies all eight bytes of its entry and moves on by its length,
// so that no byte needs a branch of its own.
class EscapeTable {
public:
    // Input taken at a time by the converters, so that the room they ask
    // for stays small whatever the length of the text.
    static constexpr std::size_t kPiece = 4096;

    // Every byte stands for itself; scan holds the bytes that Set may change.
    constexpr explicit EscapeTable(ByteSet scan)
        : scan_(scan)
    {
        for (unsigned byte = 0; byte < 256; ++byte) {
            bytes_[byte][0] = static_cast<char>(byte);
            lengths_[byte] = 1;
        }
    }

    constexpr void Set(unsigned char byte, std::string_view text)
    {
        bytes_[byte] = {};
        for (std::size_t i = 0; i < text.size(); ++i)
            bytes_[byte][i] = text[i];
        lengths_[byte] = static_cast<std::uint8_t>(text.size());
        if (text.size() > longest_)
            longest_ = text.size();
    }

    // Named entities for the accented letters.
    constexpr void SetEntities()
    {
        for (unsigned byte = 0xC0; byte < 0x100; ++byte) {
            const char* const name = kEntityNames[byte - 0xC0];
            if (!name)
                continue;
            const std::string_view letters(name);
            std::array<char, 8> text {};
            text[0] = '&';
            for (std::size_t i = 0; i < letters.size(); ++i)
                text[i + 1] = letters[i];
            text[letters.size() + 1] = ';';
            Set(static_cast<unsigned char>(byte), std::string_view(text.data(), letters.size() + 2));
        }
    }

    // Line breaks and backslashes dropped; quotes and parentheses preceded by
    // a backslash.
    constexpr void SetScriptEscapes()
    {
        for (const char dropped : {'\r', '\n', '\\'})
            Set(static_cast<unsigned char>(dropped), "");
        Set('"', "\\\"");
        Set('(', "\\(");
        Set(')', "\\)");
    }

    // True when every byte that does not stand for itself is one that the
    // scan stops at.
    constexpr bool ScanFindsEveryChange() const
    {
        for (unsigned byte = 0; byte < 256; ++byte) {
            const bool same = lengths_[byte] == 1 && bytes_[byte][0] == static_cast<char>(byte);
            if (!same && !scan_.Contains(static_cast<unsigned char>(byte)))
                return false;
        }
        return true;
    }

    // The room Write needs for a text of size bytes (at most kPiece).
    constexpr std::size_t Room(std::size_t size) const { return longest_ * size + 16; }

    // Writes the converted text at `to`, which has Room(text.size()) bytes
    // of room, and returns the end of what it wrote.
    char* Write(char* to, std::string_view text) const
    {
        const ByteSet::Runs runs(scan_);
        const char* from = text.data();
        const char* const end = from + text.size();
        // Blocks of sixteen with sixteen more bytes after them, read in
        // place.
        for (; end - from >= 32; from += 16) {
            const auto copyFrom = [from](unsigned done, char* at) { std::memcpy(at, from + done, 16); };
            to = WriteBlock(from, runs.Mask(from), 16, to, copyFrom);
        }
#if defined(__SSE2__)
        // The last bytes (the whole text when it is short, as most texts of
        // a quiz are) the same way, from a register, so that nothing after
        // the text is read: sixteen of them, then the rest.
        if (end - from >= 16) {
            __m128i block;
            std::memcpy(&block, from, sizeof block);
            to = WriteHeldBlock(runs, block, from, 16, to);
            from += 16;
        }
        if (from != end) {
            const auto count = static_cast<unsigned>(end - from);
            to = WriteHeldBlock(runs, LoadLastBytes(text.data(), end, count), from, count, to);
        }
#else
        while (end - from >= 16) {
            const unsigned run = runs.CopyBlock(from, to);
            from += run;
            to += run;
            if (run < 16)
                Replace(*from++, to);
        }
        while (from != end)
            Replace(*from++, to);
#endif
        return to;
    }

    // Appends the converted text to out, piece by piece.
    void Append(std::string& out, std::string_view text) const
    {
        std::size_t at = out.size();
        while (!text.empty()) {
            const std::string_view piece = text.substr(0, kPiece);
            text.remove_prefix(piece.size());
            out.resize(at + Room(piece.size()));
            at = static_cast<std::size_t>(Write(out.data() + at, piece) - out.data());
        }
        out.resize(at);
    }

private:
    // Converts the first count (1 to 16) bytes of the block at `from`, the
    // bits of mask marking those to convert: the block is copied whole, and
    // after each byte to convert the rest of it again, one place further on.
    // copyFrom(done, at) copies sixteen bytes of the block from its byte
    // done on (what runs past the block is written over next).
    template <class CopyFrom>
    char* WriteBlock(const char* from, unsigned mask, unsigned count, char* to, CopyFrom copyFrom) const
    {
        copyFrom(0u, to);
        unsigned done = 0; // bytes of the block in place
        while (mask != 0) {
            const auto at = static_cast<unsigned>(__builtin_ctz(mask));
            to += at - done;
            Replace(from[at], to);
            done = at + 1;
            mask &= mask - 1;
            copyFrom(done, to);
        }
        return to + (count - done);
    }

#if defined(__SSE2__)
    // The same for a block held in a register, whose first count bytes are
    // those at `from`: nothing is read after them.
    char* WriteHeldBlock(const ByteSet::Runs& runs, __m128i block, const char* from, unsigned count, char* to) const
    {
        const auto copyFrom = [block](unsigned done, char* at) {
            const __m128i rest = DropFront(block, done);
            std::memcpy(at, &rest, 16);
        };
        return WriteBlock(from, runs.Mask(block) & (0xFFFFu >> (16 - count)), count, to, copyFrom);
    }
#endif

    void Replace(char c, char*& to) const
    {
        const auto byte = static_cast<unsigned char>(c);
        std::memcpy(to, bytes_[byte].data(), 8);
        to += lengths_[byte];
    }

    alignas(8) std::array<std::array<char, 8>, 256> bytes_ {};
    std::array<std::uint8_t, 256> lengths_ {};
    std::size_t longest_ = 1;
    ByteSet scan_;
};

// The bytes the converters may change: the accented letters from C0 on, and
// the bytes a script literal cannot hold as they are.
inline constexpr ByteSet kLetterBytes("", 0xC0);
inline constexpr ByteSet kScriptBytes("\r\n\\\"()", 0);
inline constexpr ByteSet kScriptTextBytes("\r\n\\\"()", 0xC0);

inline constexpr EscapeTable kEntities = [] {
    EscapeTable table(kLetterBytes);
    table.SetEntities();
    return table;
}();

inline constexpr EscapeTable kScript = [] {
    EscapeTable table(kScriptBytes);
    table.SetScriptEscapes();
    return table;
}();

// The entity names hold no byte that the script escapes touch, so one table
// does both conversions in one pass.
inline constexpr EscapeTable kScriptText = [] {
    EscapeTable table(kScriptTextBytes);
    table.SetEntities();
    table.SetScriptEscapes();
    return table;
}();

static_assert(kEntities.ScanFindsEveryChange());
static_assert(kScript.ScanFindsEveryChange());
static_assert(kScriptText.ScanFindsEveryChange());

} // namespace tavimor::escape
