// What a person reads of the teacher's HTML, for a short mention of a
// question or an answer in a report that shows none of its markup.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tavimor {

// The text of html (Windows-1252, as the document keeps it) in UTF-8: tags
// and comments dropped, the content of script and style elements too, a
// cloze marker shown as a blank "___", character references decoded (numeric
// ones and the named ones French texts use; others are left as written),
// blanks collapsed and trimmed. A block tag (p, br, li...) parts the words
// on either side of it.
std::string PlainTextUtf8(std::string_view html);

// At most maxChars characters of utf8, ending with "…" when cut: at the last
// blank of the kept part when there is one in its second half, else within
// the word. A character is never cut in two.
std::string ShortenedUtf8(std::string_view utf8, std::size_t maxChars);

} // namespace tavimor
