// CommonMark from Debian's libcmark: the reference implementation of the
// syntax, so that what a teacher wrote shows as every Markdown tool shows it.
#include "exchange/MarkdownText.h"

#include <cmark.h>

#include <cstdlib>
#include <memory>

namespace tavimor {

std::string MarkdownToHtml(std::string_view utf8)
{
    const std::unique_ptr<char, decltype(&std::free)> rendered(
        cmark_markdown_to_html(utf8.data(), utf8.size(), CMARK_OPT_UNSAFE), &std::free);
    std::string html = rendered ? rendered.get() : "";
    while (!html.empty() && html.back() == '\n')
        html.pop_back();
    constexpr std::string_view kOpen = "<p>";
    constexpr std::string_view kClose = "</p>";
    if (html.starts_with(kOpen) && html.ends_with(kClose) && html.find(kOpen, kOpen.size()) == std::string::npos)
        html = html.substr(kOpen.size(), html.size() - kOpen.size() - kClose.size());
    return html;
}

} // namespace tavimor
