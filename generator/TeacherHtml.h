// Reading the HTML a teacher typed into a quiz, for a page that must carry
// its pictures inside itself and run under a strict content-security policy:
// the attributes of its start tags, the pictures its IMG tags name, and the
// files those pictures are.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tavimor {

// One attribute of a start tag, as a browser's tokenizer splits it.
struct TagAttribute {
    std::string_view Tag; // the tag's name as written
    std::string_view Name; // the attribute's name as written
    std::string_view Value; // its value without quotes, character references left as they are
    std::size_t NameOffset = 0; // where Name starts in the text
};

// An element whose content the tokenizer reads as text (script, style,
// textarea, title...): its extent from its start tag to the end of its end
// tag, or to the end of the text when it is not closed.
struct RawTextElement {
    std::string_view Tag;
    std::size_t Begin = 0;
    std::size_t End = 0;
};

// Calls visit for every attribute of every start tag of html in order, and
// rawText (when given) for each raw-text element after its start tag's
// attributes. As in a browser: comments, end tags and declarations hold no
// attributes, the content of script, style, textarea and title elements is
// text, a value is quoted with " or ' or unquoted, and a tag cut off by the
// end of the text is dropped.
void ForEachAttribute(std::string_view html, const std::function<void(const TagAttribute&)>& visit,
    const std::function<void(const RawTextElement&)>& rawText = {});

// Calls found with the src value of every IMG tag of html, the character
// references &amp; &lt; &gt; &quot; &apos; and numeric ones below 256 decoded.
void ForEachImageSource(std::string_view html, const std::function<void(const std::string& src)>& found);
// The same, with the value as written in html (a view into it, without its
// quotes), for a writer that puts another address in its place.
void ForEachImageSourceSpan(
    std::string_view html, const std::function<void(const std::string& src, std::string_view written)>& found);

// Appends html with every style attribute renamed data-tavimor-style, every
// event attribute (a name starting with "on") renamed data-tavimor-on..., and
// every style element left out: a page whose policy forbids inline styles
// and handlers can parse the text without a violation, then apply the styles
// itself. Nothing is appended and false is returned when html has none of them.
bool AppendQuietHtml(std::string& out, std::string_view html);

// The file a relative picture address (Windows-1252, as the teacher typed it)
// points to from pagesFolder (ending with "/"): blanks trimmed, a query or
// fragment dropped, %XX escapes decoded, "." and ".." resolved without asking
// the file system (the folder may not exist). Nothing for an empty address or
// one that is not relative: a scheme ("http:", "data:"), "/" or "\" first.
std::optional<std::string> PictureFile(std::string_view address, const std::string& pagesFolder);

} // namespace tavimor
