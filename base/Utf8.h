// UTF-8 as the readers of other programs' files meet it: checking it
// sequence by sequence and writing code points.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tavimor {

// The length of the UTF-8 sequence at text[at], or 0 when it is not valid
// (overlong forms, surrogates, code points above U+10FFFF, cut short).
std::size_t Utf8SequenceLength(std::string_view text, std::size_t at);

// The line (from 1; a CR LF breaks once) of the first byte that does not
// start a valid UTF-8 sequence, or nothing when all of text is UTF-8.
std::optional<std::size_t> FirstMalformedUtf8Line(std::string_view text);

// Appends the UTF-8 form of cp; surrogates and values past U+10FFFF, which
// no text may hold, become U+FFFD.
void AppendUtf8(std::string& out, char32_t cp);

} // namespace tavimor
