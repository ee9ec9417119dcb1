// Small text helpers shared by every layer: whole numbers written as text,
// markup escapes, blanks at the ends of a text, line breaks.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tavimor {

// Whole numbers: decimal with an optional sign, or hex after "$" (the
// platform's colour notation) or "0x". Leading blanks are allowed, nothing
// may follow the digits. The value, or nothing when the text is not a whole
// number that fits 32 bits.
// Hex takes up to eight digits as a bit pattern, so "$FFFFFFFF" is -1.
std::optional<std::int32_t> TryParseInteger(std::string_view text);

// As TryParseInteger; "'%s' is not a valid integer value" (ConvertError) on failure.
std::int32_t ParseInteger(const std::string& text);

// The value of a hexadecimal digit, or -1.
int HexDigitValue(char c);

// The text as HTML or XML text or attribute value: "&", "<", ">" and the
// double quote as references, any other byte as it is.
void AppendMarkupEscaped(std::string& out, std::string_view text);

// The text with each "%" followed by two hexadecimal digits replaced by
// the byte they give, as in a link address ("carte%20A.png").
std::string PercentDecoded(std::string_view text);

// The text with blanks and control characters removed from both ends.
std::string_view TrimmedView(std::string_view text);
std::string TrimBlanks(std::string_view text);

// The length of the line break at text[at]: 2 for CR LF, 1 for a CR or LF
// alone, 0 when no line break starts there. Every text the program reads
// from a person (the text exchange, GIFT) breaks its lines this way.
inline std::size_t LineBreakLength(std::string_view text, std::size_t at)
{
    if (at >= text.size())
        return 0;
    if (text[at] == '\n')
        return 1;
    if (text[at] != '\r')
        return 0;
    return at + 1 < text.size() && text[at + 1] == '\n' ? 2 : 1;
}

} // namespace tavimor
