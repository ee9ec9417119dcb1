// Whole numbers written as text in the presentation files: decimal with an
// optional sign, or hex after "$" (the platform's colour notation) or "0x".
// Leading blanks are allowed, nothing may follow the digits.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tavimor {

// The value, or nothing when the text is not a whole number that fits 32 bits.
// Hex takes up to eight digits as a bit pattern, so "$FFFFFFFF" is -1.
std::optional<std::int32_t> TryParseInteger(std::string_view text);

// As TryParseInteger; "'%s' is not a valid integer value" (ConvertError) on failure.
std::int32_t ParseInteger(const std::string& text);

// The text with blanks and control characters removed from both ends.
std::string TrimBlanks(std::string_view text);

} // namespace tavimor
