// The runtime of the self-contained quiz page, kept in the repository as
// resources/standalone/quiz.js and quiz.css and built into the program byte
// for byte. Both texts are UTF-8 with LF line breaks.
#pragma once

#include <string_view>

namespace tavimor {

std::string_view StandaloneScript();
std::string_view StandaloneStyle();

} // namespace tavimor
