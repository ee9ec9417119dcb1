// Markdown texts of question banks (GIFT's [markdown], Moodle XML's
// format="markdown") as the HTML the pages show.
#pragma once

#include <string>
#include <string_view>

namespace tavimor {

// The HTML of a CommonMark text, UTF-8 in and out. Raw HTML in the text is
// kept, as the other formats keep theirs; a text of one paragraph loses its
// <p> and </p>, so that a question or a choice reads as one line.
std::string MarkdownToHtml(std::string_view utf8);

} // namespace tavimor
