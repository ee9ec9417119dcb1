#include "generator/PlainText.h"

#include "base/Cp1252.h"
#include "base/TextHelpers.h"
#include "base/Utf8.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <utility>

namespace tavimor {
namespace {

constexpr std::string_view kBlank = " ___ ";
constexpr std::string_view kEllipsis = "\xE2\x80\xA6";

bool IsAsciiLetter(char c)
{
    return std::isalpha(static_cast<unsigned char>(c)) != 0;
}

std::string LowerAscii(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

// Tags after which a browser starts a new line or box: the words on either
// side do not run together.
bool PartsWords(std::string_view name)
{
    static constexpr std::array<std::string_view, 19> kBlocks {"br", "p", "div", "li", "ul", "ol", "tr", "td", "th",
        "table", "h1", "h2", "h3", "h4", "h5", "h6", "hr", "img", "blockquote"};
    return std::find(kBlocks.begin(), kBlocks.end(), name) != kBlocks.end();
}

// The position just past the ">" that ends the tag starting at `at` (a "<"),
// quoted attribute values skipped; npos when the text ends first.
std::size_t TagEnd(std::string_view html, std::size_t at)
{
    char quote = 0;
    for (std::size_t i = at + 1; i < html.size(); ++i) {
        const char c = html[i];
        if (quote != 0) {
            quote = c == quote ? 0 : quote;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return i + 1;
        }
    }
    return std::string_view::npos;
}

// Where the end tag of a raw-text element (script, style) starts, or the end.
std::size_t RawTextEnd(std::string_view html, std::size_t from, std::string_view name)
{
    const std::string lower = LowerAscii(html.substr(from));
    const std::size_t found = lower.find("</" + std::string(name));
    return found == std::string::npos ? html.size() : from + found;
}

// The text of html with its markup gone, references left as written.
std::string WithoutTags(std::string_view html)
{
    std::string out;
    std::size_t i = 0;
    while (i < html.size()) {
        const char c = html[i];
        const char next = i + 1 < html.size() ? html[i + 1] : '\0';
        if (c != '<' || !(IsAsciiLetter(next) || next == '/' || next == '!' || next == '?')) {
            out += c;
            ++i;
            continue;
        }
        if (html.substr(i).starts_with("<!--")) {
            const std::size_t end = html.find("-->", i + 4);
            i = end == std::string_view::npos ? html.size() : end + 3;
            continue;
        }
        const std::size_t end = TagEnd(html, i);
        if (end == std::string_view::npos)
            break; // a tag cut off by the end of the text shows nothing
        const bool closing = next == '/';
        std::size_t nameEnd = i + (closing ? 2 : 1);
        while (nameEnd < end && std::isalnum(static_cast<unsigned char>(html[nameEnd])))
            ++nameEnd;
        const std::string name = LowerAscii(html.substr(i + (closing ? 2 : 1), nameEnd - i - (closing ? 2 : 1)));
        i = end;
        if (!closing && name == "option")
            out += kBlank;
        else if (!closing && (name == "script" || name == "style"))
            i = RawTextEnd(html, i, name);
        else if (PartsWords(name))
            out += ' ';
    }
    return out;
}

// The named references a French text is likely to hold.
std::optional<char32_t> NamedCharacter(std::string_view name)
{
    static constexpr std::array<std::pair<std::string_view, char32_t>, 40> kNames {{
        {"amp", U'&'},
        {"lt", U'<'},
        {"gt", U'>'},
        {"quot", U'"'},
        {"apos", U'\''},
        {"nbsp", U'\u00A0'},
        {"eacute", U'\u00E9'},
        {"Eacute", U'\u00C9'},
        {"egrave", U'\u00E8'},
        {"Egrave", U'\u00C8'},
        {"ecirc", U'\u00EA'},
        {"euml", U'\u00EB'},
        {"agrave", U'\u00E0'},
        {"Agrave", U'\u00C0'},
        {"acirc", U'\u00E2'},
        {"ccedil", U'\u00E7'},
        {"Ccedil", U'\u00C7'},
        {"icirc", U'\u00EE'},
        {"iuml", U'\u00EF'},
        {"ocirc", U'\u00F4'},
        {"ugrave", U'\u00F9'},
        {"ucirc", U'\u00FB'},
        {"uuml", U'\u00FC'},
        {"oelig", U'\u0153'},
        {"aelig", U'\u00E6'},
        {"laquo", U'\u00AB'},
        {"raquo", U'\u00BB'},
        {"lsquo", U'\u2018'},
        {"rsquo", U'\u2019'},
        {"ldquo", U'\u201C'},
        {"rdquo", U'\u201D'},
        {"hellip", U'\u2026'},
        {"ndash", U'\u2013'},
        {"mdash", U'\u2014'},
        {"euro", U'\u20AC'},
        {"deg", U'\u00B0'},
        {"times", U'\u00D7'},
        {"le", U'\u2264'},
        {"ge", U'\u2265'},
        {"pi", U'\u03C0'},
    }};
    for (const auto& [known, cp] : kNames)
        if (known == name)
            return cp;
    return std::nullopt;
}

// The reference at text[at] (a "&"): its character and length, or nothing
// when none is written there.
std::optional<std::pair<char32_t, std::size_t>> Reference(std::string_view text, std::size_t at)
{
    std::size_t i = at + 1;
    if (i < text.size() && text[i] == '#') {
        const bool hex = i + 1 < text.size() && (text[i + 1] == 'x' || text[i + 1] == 'X');
        i += hex ? 2 : 1;
        const std::size_t digits = i;
        char32_t value = 0;
        while (i < text.size() && i - digits < 8) {
            const int digit = hex ? HexDigitValue(text[i])
                                  : (std::isdigit(static_cast<unsigned char>(text[i])) ? text[i] - '0' : -1);
            if (digit < 0)
                break;
            value = value * (hex ? 16 : 10) + static_cast<char32_t>(digit);
            ++i;
        }
        if (i == digits)
            return std::nullopt;
        if (i < text.size() && text[i] == ';')
            ++i;
        return std::pair {value, i - at};
    }
    std::size_t end = i;
    while (end < text.size() && end - i < 8 && std::isalnum(static_cast<unsigned char>(text[end])))
        ++end;
    if (end >= text.size() || text[end] != ';')
        return std::nullopt;
    const auto cp = NamedCharacter(text.substr(i, end - i));
    if (!cp)
        return std::nullopt;
    return std::pair {*cp, end + 1 - at};
}

std::string DecodedReferences(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto reference = utf8[i] == '&' ? Reference(utf8, i) : std::nullopt;
        if (!reference) {
            out += utf8[i++];
            continue;
        }
        // &#0; names no character a text may hold.
        AppendUtf8(out, reference->first == 0 ? U'\uFFFD' : reference->first);
        i += reference->second;
    }
    return out;
}

// Blanks (ASCII ones, control characters and no-break spaces) collapsed into
// one space, none at either end.
std::string Collapsed(std::string_view utf8)
{
    std::string out;
    bool blank = false;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        const bool noBreak = c == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) == 0xA0;
        if (c <= ' ' || c == 0x7F || noBreak) {
            blank = !out.empty();
            i += noBreak ? 1 : 0;
            continue;
        }
        if (blank)
            out += ' ';
        blank = false;
        out += static_cast<char>(c);
    }
    return out;
}

bool IsContinuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

} // namespace

std::string PlainTextUtf8(std::string_view html)
{
    return Collapsed(DecodedReferences(Cp1252ToUtf8(WithoutTags(html))));
}

std::string ShortenedUtf8(std::string_view utf8, std::size_t maxChars)
{
    if (maxChars == 0)
        return {};
    std::size_t chars = 0;
    std::size_t cut = 0; // the byte where the (maxChars - 1)th character ends
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (IsContinuationByte(utf8[i]))
            continue;
        if (chars == maxChars - 1)
            cut = i;
        if (++chars > maxChars)
            break;
    }
    if (chars <= maxChars)
        return std::string(utf8);
    std::string_view kept = utf8.substr(0, cut);
    const std::size_t blank = kept.rfind(' ');
    if (blank != std::string_view::npos && blank >= kept.size() / 2)
        kept = kept.substr(0, blank);
    while (!kept.empty() && kept.back() == ' ')
        kept.remove_suffix(1);
    return std::string(kept) + std::string(kEllipsis);
}

} // namespace tavimor
