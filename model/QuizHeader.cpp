#include "model/QuizHeader.h"

#include "base/TextHelpers.h"

namespace tavimor {

int DefaultPointsValue(const std::string& text)
{
    constexpr int kFallback = 10;
    // The same whole-number notation as the presentation files.
    return TryParseInteger(text).value_or(kFallback);
}

} // namespace tavimor
