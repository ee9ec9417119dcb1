#include "generator/TeacherHtml.h"

#include "base/ByteScan.h"
#include "base/Cp1252.h"
#include "base/TextHelpers.h"
#include "generator/SpecHTML.h"

#include <array>
#include <cctype>
#include <filesystem>
#include <vector>

namespace tavimor {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

char Lower(char c)
{
    // ASCII only, as HTML names are: no locale, and a byte of Windows-1252 stays itself.
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether two names are the same in ASCII letters of any case, as HTML
// compares tag and attribute names.
bool SameIgnoringCase(std::string_view one, std::string_view other)
{
    if (one.size() != other.size())
        return false;
    for (std::size_t i = 0; i < one.size(); ++i) {
        if (Lower(one[i]) != Lower(other[i]))
            return false;
    }
    return true;
}

// The character a reference such as "amp" or "#233" stands for, or -1.
int ReferenceValue(std::string_view name)
{
    if (name == "amp")
        return '&';
    if (name == "lt")
        return '<';
    if (name == "gt")
        return '>';
    if (name == "quot")
        return '"';
    if (name == "apos")
        return '\'';
    if (name.size() < 2 || name[0] != '#')
        return -1;
    const bool hex = name[1] == 'x' || name[1] == 'X';
    const std::string_view digits = name.substr(hex ? 2 : 1);
    if (digits.empty() || digits.size() > 4)
        return -1;
    int value = 0;
    for (const char c : digits) {
        const int digit = hex ? HexDigitValue(c) : (c >= '0' && c <= '9' ? c - '0' : -1);
        if (digit < 0)
            return -1;
        value = value * (hex ? 16 : 10) + digit;
    }
    return value < 256 ? value : -1;
}

std::string DecodeReferences(std::string_view value)
{
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '&') {
            const std::size_t end = value.find(';', i + 1);
            if (end != std::string_view::npos && end - i <= 8) {
                const int c = ReferenceValue(value.substr(i + 1, end - i - 1));
                if (c >= 0) {
                    out += static_cast<char>(c);
                    i = end;
                    continue;
                }
            }
        }
        out += value[i];
    }
    return out;
}

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Elements whose content the tokenizer reads as text up to their end tag.
bool HoldsRawText(std::string_view tag)
{
    static constexpr std::array<std::string_view, 8> kNames {
        "script", "style", "textarea", "title", "xmp", "iframe", "noembed", "noframes"};
    for (const std::string_view name : kNames) {
        if (SameIgnoringCase(tag, name))
            return true;
    }
    return false;
}

// The position after the end tag "</" + tag (tag and end tag in any case)
// from pos, or npos.
std::size_t AfterEndTag(std::string_view html, std::size_t pos, std::string_view tag)
{
    for (pos = FindByte(html, '<', pos); pos != std::string_view::npos; pos = FindByte(html, '<', pos + 1)) {
        if (pos + 1 == html.size() || html[pos + 1] != '/')
            continue;
        const std::size_t nameEnd = pos + 2 + tag.size();
        if (nameEnd <= html.size() && SameIgnoringCase(html.substr(pos + 2, tag.size()), tag)
            && (nameEnd == html.size() || IsBlank(html[nameEnd]) || html[nameEnd] == '/' || html[nameEnd] == '>')) {
            const std::size_t close = FindByte(html, '>', nameEnd);
            return close == std::string_view::npos ? close : close + 1;
        }
    }
    return std::string_view::npos;
}

// Reads the attributes of the start tag whose name ends at pos, up to its
// ">"; returns the position after the tag, or npos when the text ends first.
template <class Visit>
std::size_t ReadStartTag(std::string_view html, std::string_view tag, std::size_t pos, Visit& visit)
{
    const std::size_t size = html.size();
    for (;;) {
        while (pos < size && (IsBlank(html[pos]) || html[pos] == '/'))
            ++pos;
        if (pos >= size)
            return std::string_view::npos;
        if (html[pos] == '>')
            return pos + 1;
        const std::size_t nameStart = pos;
        ++pos; // a first "=" belongs to the name
        while (pos < size && !IsBlank(html[pos]) && html[pos] != '=' && html[pos] != '>' && html[pos] != '/')
            ++pos;
        TagAttribute attribute {tag, html.substr(nameStart, pos - nameStart), {}, nameStart};
        while (pos < size && IsBlank(html[pos]))
            ++pos;
        if (pos < size && html[pos] == '=') {
            ++pos;
            while (pos < size && IsBlank(html[pos]))
                ++pos;
            if (pos >= size)
                return std::string_view::npos;
            if (html[pos] == '"' || html[pos] == '\'') {
                const std::size_t close = FindByte(html, html[pos], pos + 1);
                if (close == std::string_view::npos)
                    return std::string_view::npos;
                attribute.Value = html.substr(pos + 1, close - pos - 1);
                pos = close + 1;
            } else {
                const std::size_t valueStart = pos;
                while (pos < size && !IsBlank(html[pos]) && html[pos] != '>')
                    ++pos;
                attribute.Value = html.substr(valueStart, pos - valueStart);
            }
        }
        visit(attribute);
    }
}

bool IsLetterOrDigit(char c)
{
    return IsLetter(c) || (c >= '0' && c <= '9');
}

// Whether html may hold what AppendQuietHtml edits, at a glance from "<" to
// "<": false only when every "<" followed by a letter starts a bare start
// tag other than STYLE ("<b>", "<br/>"). Only such a "<" can start a tag
// with attributes. What the full reading passes over (end tags, comments,
// the content of a script) the glance reads as text, so it never sees fewer
// tags than that reading does.
bool MayHoldStyleOrHandler(std::string_view html)
{
    const std::size_t size = html.size();
    for (std::size_t at = FindByte(html, '<', 0); at != std::string_view::npos; at = FindByte(html, '<', at + 1)) {
        std::size_t pos = at + 1;
        if (pos == size || !IsLetter(html[pos]))
            continue;
        while (pos < size && IsLetterOrDigit(html[pos]))
            ++pos;
        if (SameIgnoringCase(html.substr(at + 1, pos - at - 1), "style"))
            return true;
        if (pos < size && html[pos] == '/')
            ++pos;
        if (pos == size || html[pos] != '>')
            return true;
        at = pos;
    }
    return false;
}

// Whether html holds "<img" in any case, which every IMG tag starts with.
bool MayHoldImage(std::string_view html)
{
    for (std::size_t at = FindBeforeLetter(html, '<', 'i', 0); at != std::string_view::npos;
         at = FindBeforeLetter(html, '<', 'i', at + 1)) {
        if (SameIgnoringCase(html.substr(at + 1, 3), "img"))
            return true;
    }
    return false;
}

bool HasScheme(std::string_view address)
{
    const std::size_t colon = address.find(':');
    if (colon == std::string_view::npos || colon == 0)
        return false;
    for (std::size_t i = 0; i < colon; ++i) {
        const char c = address[i];
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.')
            return false;
    }
    // A drive letter ("C:\\...") counts as a scheme: such a path is not relative either.
    return true;
}

// ForEachAttribute, with the callers' own functions called directly.
template <class Visit, class RawText> void VisitTags(std::string_view html, Visit&& visit, RawText&& rawText)
{
    std::size_t pos = FindByte(html, '<', 0);
    while (pos != std::string_view::npos && pos + 1 < html.size()) {
        const std::string_view rest = html.substr(pos + 1);
        std::size_t next = pos + 1;
        if (rest.starts_with("!--")) {
            next = html.find("-->", pos + 4);
            next = next == std::string_view::npos ? next : next + 3;
        } else if (rest[0] == '!' || rest[0] == '?' || rest[0] == '/') {
            next = FindByte(html, '>', pos + 1);
            next = next == std::string_view::npos ? next : next + 1;
        } else if (IsLetter(rest[0])) {
            std::size_t nameEnd = pos + 1;
            while (nameEnd < html.size() && !IsBlank(html[nameEnd]) && html[nameEnd] != '/' && html[nameEnd] != '>')
                ++nameEnd;
            const std::string_view tag = html.substr(pos + 1, nameEnd - pos - 1);
            next = ReadStartTag(html, tag, nameEnd, visit);
            if (next != std::string_view::npos && HoldsRawText(tag)) {
                next = AfterEndTag(html, next, tag);
                rawText(RawTextElement {tag, pos, next == std::string_view::npos ? html.size() : next});
            }
        }
        if (next == std::string_view::npos)
            return;
        pos = FindByte(html, '<', next);
    }
}

} // namespace

void ForEachAttribute(std::string_view html, const std::function<void(const TagAttribute&)>& visit,
    const std::function<void(const RawTextElement&)>& rawText)
{
    const auto raw = [&rawText](const RawTextElement& element) {
        if (rawText)
            rawText(element);
    };
    VisitTags(html, visit, raw);
}

void ForEachImageSourceSpan(
    std::string_view html, const std::function<void(const std::string& src, std::string_view written)>& found)
{
    if (!MayHoldImage(html))
        return; // most texts hold no picture, many no tag at all
    // The first src attribute of a tag counts, as in a browser.
    std::size_t lastTag = std::string_view::npos;
    const auto noRawText = [](const RawTextElement&) {};
    VisitTags(
        html,
        [&](const TagAttribute& attribute) {
            const auto tagStart = static_cast<std::size_t>(attribute.Tag.data() - html.data());
            if (tagStart != lastTag && SameIgnoringCase(attribute.Tag, "img")
                && SameIgnoringCase(attribute.Name, "src")) {
                lastTag = tagStart;
                found(DecodeReferences(attribute.Value), attribute.Value);
            }
        },
        noRawText);
}

void ForEachImageSource(std::string_view html, const std::function<void(const std::string& src)>& found)
{
    ForEachImageSourceSpan(html, [&](const std::string& src, std::string_view) { found(src); });
}

bool AppendQuietHtml(std::string& out, std::string_view html)
{
    static constexpr std::string_view kPrefix = "data-tavimor-";
    if (!MayHoldStyleOrHandler(html))
        return false;
    // Edits in text order: a renamed attribute (Begin == End) or a left-out
    // element (Begin < End).
    std::vector<RawTextElement> edits;
    VisitTags(
        html,
        [&](const TagAttribute& attribute) {
            const std::string_view name = attribute.Name;
            const bool event = name.size() > 2 && SameIgnoringCase(name.substr(0, 2), "on");
            if (event || SameIgnoringCase(name, "style"))
                edits.push_back({name, attribute.NameOffset, attribute.NameOffset});
        },
        [&](const RawTextElement& element) {
            if (!SameIgnoringCase(element.Tag, "style"))
                return;
            // The start tag's own attributes go with the element.
            while (!edits.empty() && edits.back().Begin >= element.Begin)
                edits.pop_back();
            edits.push_back(element);
        });
    if (edits.empty())
        return false;
    const std::size_t start = out.size();
    std::size_t copied = 0;
    for (const RawTextElement& edit : edits) {
        out.append(html.substr(copied, edit.Begin - copied));
        if (edit.Begin == edit.End) {
            out.append(kPrefix);
        } else if (out.size() > start && out.back() == '<') {
            // A "<" before a style element is text ("<" then "<style>"):
            // without the element it would open a tag with what follows
            // ("<<style>...</style>p style=x>"), so it is written as a
            // reference, which stays text.
            out.pop_back();
            out.append("&lt;");
        }
        copied = edit.End;
    }
    out.append(html.substr(copied));
    return true;
}

std::optional<std::string> PictureFile(std::string_view address, const std::string& pagesFolder)
{
    std::string path = TrimBlanks(address);
    path = path.substr(0, path.find_first_of("?#"));
    if (path.empty() || path[0] == '/' || path[0] == '\\' || HasScheme(path))
        return std::nullopt;
    const std::filesystem::path file
        = (std::filesystem::path(pagesFolder) / PercentDecoded(Cp1252ToUtf8(path))).lexically_normal();
    return file.string();
}

} // namespace tavimor
