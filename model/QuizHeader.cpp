#include "model/QuizHeader.h"

#include <charconv>

namespace tavimor {

int DefaultPointsValue(const std::string& text)
{
    constexpr int kFallback = 10;
    // Leading blanks are allowed, as the platform's number conversion allows them.
    std::size_t start = text.find_first_not_of(' ');
    if (start == std::string::npos)
        return kFallback;
    if (text[start] == '+' && start + 1 < text.size() && text[start + 1] != '-')
        ++start; // from_chars takes a minus sign but not a plus sign
    int value = 0;
    const char* const end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data() + start, end, value, 10);
    if (error != std::errc() || stop != end)
        return kFallback;
    return value;
}

} // namespace tavimor
