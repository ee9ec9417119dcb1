#include "analysis/DecimalText.h"

#include <algorithm>
#include <charconv>

namespace tavimor {

std::string DecimalText(double value, int decimals, char point, TrailingZeros zeros)
{
    decimals = std::clamp(decimals, 0, 17);
    // Fixed notation of a double needs at most 309 digits before the point.
    char buffer[400];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    std::string text(buffer, error == std::errc() ? end : buffer);
    const std::size_t dot = text.find('.');
    if (dot != std::string::npos) {
        text[dot] = point;
        if (zeros == TrailingZeros::Drop) {
            text.erase(text.find_last_not_of('0') + 1);
            if (text.back() == point)
                text.pop_back();
        }
    }
    const char zeroCharacters[] = {'-', '0', point, '\0'};
    const bool roundsToZero = text.find_first_not_of(zeroCharacters) == std::string::npos;
    if (roundsToZero && !text.empty() && text[0] == '-')
        text.erase(0, 1);
    return text;
}

} // namespace tavimor
