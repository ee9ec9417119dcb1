#include "model/Cp1252.h"

#include <array>
#include <cstdint>
#include <unordered_map>

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

char FromCodePoint(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<char>(cp);
    static const std::unordered_map<char32_t, char> reverse = [] {
        std::unordered_map<char32_t, char> map;
        for (unsigned i = 0; i < kHighControls.size(); ++i)
            map.emplace(kHighControls[i], static_cast<char>(0x80 + i));
        return map;
    }();
    const auto found = reverse.find(cp);
    return found == reverse.end() ? kCp1252Replacement : found->second;
}

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

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

std::string Cp1252ToUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    for (const char c : text)
        AppendUtf8(out, CodePointOf(static_cast<unsigned char>(c)));
    return out;
}

std::string Utf8ToCp1252(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        // A run of ASCII is the same bytes in both encodings.
        std::size_t run = i;
        while (run < utf8.size() && static_cast<unsigned char>(utf8[run]) < 0x80)
            ++run;
        out.append(utf8.data() + i, run - i);
        i = run;
        if (i == utf8.size())
            break;
        const auto lead = static_cast<unsigned char>(utf8[i]);
        std::size_t length = 0;
        char32_t cp = 0;
        if (lead < 0x80) {
            length = 1;
            cp = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2;
            cp = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            cp = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            cp = lead & 0x07;
        }
        bool valid = length > 0 && i + length <= utf8.size();
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            valid = (next & 0xC0) == 0x80;
            cp = (cp << 6) | (next & 0x3F);
        }
        if (!valid) {
            out += kCp1252Replacement;
            ++i; // resynchronise on the next byte
            continue;
        }
        out += FromCodePoint(cp);
        i += length;
    }
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
