// The HTML of question texts and choices as Pango markup and pictures.
#include "base/Cp1252.h"
#include "generator/EscapeTable.h"
#include "print/ExamPdf.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tavimor {

namespace {

struct NamedCharacter {
    std::string_view name;
    char32_t code;
};

// The named references authors type besides the Latin-1 letters
// (escape::kEntityNames).
constexpr NamedCharacter kNamedCharacters[] = {
    {"amp", U'&'},
    {"lt", U'<'},
    {"gt", U'>'},
    {"quot", U'"'},
    {"apos", U'\''},
    {"nbsp", 0xA0},
    {"iexcl", 0xA1},
    {"cent", 0xA2},
    {"pound", 0xA3},
    {"curren", 0xA4},
    {"yen", 0xA5},
    {"brvbar", 0xA6},
    {"sect", 0xA7},
    {"uml", 0xA8},
    {"copy", 0xA9},
    {"ordf", 0xAA},
    {"laquo", 0xAB},
    {"not", 0xAC},
    {"shy", 0xAD},
    {"reg", 0xAE},
    {"macr", 0xAF},
    {"deg", 0xB0},
    {"plusmn", 0xB1},
    {"sup2", 0xB2},
    {"sup3", 0xB3},
    {"acute", 0xB4},
    {"micro", 0xB5},
    {"para", 0xB6},
    {"middot", 0xB7},
    {"cedil", 0xB8},
    {"sup1", 0xB9},
    {"ordm", 0xBA},
    {"raquo", 0xBB},
    {"frac14", 0xBC},
    {"frac12", 0xBD},
    {"frac34", 0xBE},
    {"iquest", 0xBF},
    {"times", 0xD7},
    {"divide", 0xF7},
    {"OElig", 0x152},
    {"oelig", 0x153},
    {"Scaron", 0x160},
    {"scaron", 0x161},
    {"Yuml", 0x178},
    {"fnof", 0x192},
    {"circ", 0x2C6},
    {"tilde", 0x2DC},
    {"Alpha", 0x391},
    {"Beta", 0x392},
    {"Gamma", 0x393},
    {"Delta", 0x394},
    {"Theta", 0x398},
    {"Lambda", 0x39B},
    {"Pi", 0x3A0},
    {"Sigma", 0x3A3},
    {"Phi", 0x3A6},
    {"Psi", 0x3A8},
    {"Omega", 0x3A9},
    {"alpha", 0x3B1},
    {"beta", 0x3B2},
    {"gamma", 0x3B3},
    {"delta", 0x3B4},
    {"epsilon", 0x3B5},
    {"zeta", 0x3B6},
    {"eta", 0x3B7},
    {"theta", 0x3B8},
    {"iota", 0x3B9},
    {"kappa", 0x3BA},
    {"lambda", 0x3BB},
    {"mu", 0x3BC},
    {"nu", 0x3BD},
    {"xi", 0x3BE},
    {"omicron", 0x3BF},
    {"pi", 0x3C0},
    {"rho", 0x3C1},
    {"sigma", 0x3C3},
    {"tau", 0x3C4},
    {"upsilon", 0x3C5},
    {"phi", 0x3C6},
    {"chi", 0x3C7},
    {"psi", 0x3C8},
    {"omega", 0x3C9},
    {"ensp", 0x2002},
    {"emsp", 0x2003},
    {"thinsp", 0x2009},
    {"ndash", 0x2013},
    {"mdash", 0x2014},
    {"lsquo", 0x2018},
    {"rsquo", 0x2019},
    {"sbquo", 0x201A},
    {"ldquo", 0x201C},
    {"rdquo", 0x201D},
    {"bdquo", 0x201E},
    {"dagger", 0x2020},
    {"Dagger", 0x2021},
    {"bull", 0x2022},
    {"hellip", 0x2026},
    {"permil", 0x2030},
    {"prime", 0x2032},
    {"Prime", 0x2033},
    {"lsaquo", 0x2039},
    {"rsaquo", 0x203A},
    {"euro", 0x20AC},
    {"trade", 0x2122},
    {"larr", 0x2190},
    {"uarr", 0x2191},
    {"rarr", 0x2192},
    {"darr", 0x2193},
    {"harr", 0x2194},
    {"rArr", 0x21D2},
    {"hArr", 0x21D4},
    {"forall", 0x2200},
    {"part", 0x2202},
    {"exist", 0x2203},
    {"empty", 0x2205},
    {"nabla", 0x2207},
    {"isin", 0x2208},
    {"notin", 0x2209},
    {"sum", 0x2211},
    {"minus", 0x2212},
    {"radic", 0x221A},
    {"infin", 0x221E},
    {"and", 0x2227},
    {"or", 0x2228},
    {"cap", 0x2229},
    {"cup", 0x222A},
    {"int", 0x222B},
    {"asymp", 0x2248},
    {"ne", 0x2260},
    {"equiv", 0x2261},
    {"le", 0x2264},
    {"ge", 0x2265},
    {"sub", 0x2282},
    {"sup", 0x2283},
    {"sube", 0x2286},
    {"supe", 0x2287},
};

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

std::string Lower(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

// The character of the reference at text[at] ("&...;") as UTF-8, and the
// length of the reference; nothing when there is no reference there.
std::pair<std::string, std::size_t> Reference(std::string_view text, std::size_t at)
{
    const std::size_t semicolon = text.find(';', at + 1);
    if (semicolon == std::string_view::npos || semicolon - at > 12)
        return {};
    const std::string_view name = text.substr(at + 1, semicolon - at - 1);
    std::string utf8;
    if (name.size() >= 2 && name[0] == '#') {
        const bool hex = name[1] == 'x' || name[1] == 'X';
        const std::string_view digits = name.substr(hex ? 2 : 1);
        std::uint32_t code = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), code, hex ? 16 : 10);
        if (digits.empty() || error != std::errc() || end != digits.data() + digits.size())
            return {};
        if (code >= 0x80 && code <= 0x9F) // the code page's characters, as browsers read them
            return {Cp1252ToUtf8(std::string(1, static_cast<char>(code))), semicolon - at + 1};
        if (code == 0 || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
            code = 0xFFFD;
        AppendUtf8(utf8, code);
        return {utf8, semicolon - at + 1};
    }
    for (std::size_t i = 0; i < escape::kEntityNames.size(); ++i) {
        if (escape::kEntityNames[i] != nullptr && name == escape::kEntityNames[i]) {
            AppendUtf8(utf8, static_cast<char32_t>(0xC0 + i));
            return {utf8, semicolon - at + 1};
        }
    }
    for (const NamedCharacter& named : kNamedCharacters) {
        if (name == named.name) {
            AppendUtf8(utf8, named.code);
            return {utf8, semicolon - at + 1};
        }
    }
    return {};
}

std::string ResolveReferences(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            auto [utf8, length] = Reference(text, i);
            if (length != 0) {
                out += utf8;
                i += length - 1;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// A tag's name and attributes, the attribute names in lower case.
struct Tag {
    std::string name; // lower case
    bool closing = false;
    std::vector<std::pair<std::string, std::string>> attributes;

    std::string Attribute(std::string_view wanted) const
    {
        for (const auto& [key, value] : attributes)
            if (key == wanted)
                return value;
        return {};
    }
};

// The tag of text[at] ("<" then a letter, or "</" then a letter) to its ">",
// quotes respected; its length, 0 when it is no tag (the "<" is text then).
std::size_t ParseTag(std::string_view text, std::size_t at, Tag& tag)
{
    std::size_t i = at + 1;
    if (i < text.size() && text[i] == '/') {
        tag.closing = true;
        ++i;
    }
    if (i >= text.size() || !std::isalpha(static_cast<unsigned char>(text[i])))
        return 0;
    const std::size_t nameStart = i;
    while (i < text.size() && (std::isalnum(static_cast<unsigned char>(text[i])) || text[i] == '-' || text[i] == ':'))
        ++i;
    tag.name = Lower(text.substr(nameStart, i - nameStart));
    while (i < text.size()) {
        while (i < text.size() && (IsSpace(text[i]) || text[i] == '/'))
            ++i;
        if (i >= text.size())
            return 0;
        if (text[i] == '>')
            return i + 1 - at;
        const std::size_t keyStart = i;
        while (i < text.size() && !IsSpace(text[i]) && text[i] != '=' && text[i] != '>' && text[i] != '/')
            ++i;
        std::string key = Lower(text.substr(keyStart, i - keyStart));
        while (i < text.size() && IsSpace(text[i]))
            ++i;
        std::string value;
        if (i < text.size() && text[i] == '=') {
            ++i;
            while (i < text.size() && IsSpace(text[i]))
                ++i;
            if (i < text.size() && (text[i] == '"' || text[i] == '\'')) {
                const std::size_t close = text.find(text[i], i + 1);
                if (close == std::string_view::npos)
                    return 0;
                value = ResolveReferences(text.substr(i + 1, close - i - 1));
                i = close + 1;
            } else {
                const std::size_t valueStart = i;
                while (i < text.size() && !IsSpace(text[i]) && text[i] != '>')
                    ++i;
                value = ResolveReferences(text.substr(valueStart, i - valueStart));
            }
        }
        if (key.empty()) // a stray character: skipped
            ++i;
        else
            tag.attributes.emplace_back(std::move(key), std::move(value));
    }
    return 0;
}

// A WIDTH or HEIGHT in pixels; 0 for a percentage or no number.
double PixelSize(const std::string& text)
{
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || value <= 0 || value > 100000 || (end != text.data() + text.size() && *end == '%'))
        return 0;
    return value;
}

// Builds the markup of one paragraph after another. The format tags open
// in the text are kept on a stack: an end tag closes down to its own and
// opens the others again, a paragraph ends with all of them closed and the
// next one starts with them open again, so that the markup is always well
// formed. Spaces collapse as in a browser and line breaks wait for the next
// character, so that no paragraph starts or ends with an empty line.
class MarkupBuilder {
public:
    void Character(std::string_view utf8)
    {
        if (utf8.size() == 1 && IsSpace(utf8[0])) {
            pendingSpace_ = !lineStart_;
            return;
        }
        if (utf8.size() == 1 && static_cast<unsigned char>(utf8[0]) < 0x20)
            return; // control characters: GMarkup refuses them
        if (pendingBreaks_ > 0 && hasText_) {
            for (int i = 0; i < pendingBreaks_; ++i)
                text_ += '\n';
        }
        pendingBreaks_ = 0;
        if (pendingSpace_)
            text_ += ' ';
        pendingSpace_ = false;
        lineStart_ = false;
        hasText_ = true;
        if (utf8 == "&")
            text_ += "&amp;";
        else if (utf8 == "<")
            text_ += "&lt;";
        else if (utf8 == ">")
            text_ += "&gt;";
        else
            text_ += utf8;
    }
    void Text(std::string_view utf8)
    {
        for (std::size_t i = 0; i < utf8.size();) {
            std::size_t length = 1;
            const auto lead = static_cast<unsigned char>(utf8[i]);
            if (lead >= 0xF0)
                length = 4;
            else if (lead >= 0xE0)
                length = 3;
            else if (lead >= 0xC0)
                length = 2;
            length = std::min(length, utf8.size() - i);
            Character(utf8.substr(i, length));
            i += length;
        }
    }
    // A hard break (br) adds a line each time; a soft one (p, div, li...)
    // only ends the line when it has text.
    void Break(bool hard)
    {
        if (hard)
            ++pendingBreaks_;
        else if (!lineStart_)
            pendingBreaks_ = std::max(pendingBreaks_, 1);
        lineStart_ = true;
        pendingSpace_ = false;
    }
    void Open(const std::string& tag)
    {
        // The space before the tag stays outside it.
        if (pendingSpace_ && hasText_ && pendingBreaks_ == 0)
            text_ += ' ';
        pendingSpace_ = false;
        open_.push_back(tag);
        text_ += "<" + tag + ">";
    }
    void Close(const std::string& tag)
    {
        const auto found = std::find(open_.rbegin(), open_.rend(), tag);
        if (found == open_.rend())
            return;
        const std::size_t keep = static_cast<std::size_t>(open_.rend() - found) - 1;
        for (std::size_t i = open_.size(); i-- > keep;)
            text_ += "</" + open_[i] + ">";
        std::vector<std::string> reopen(open_.begin() + static_cast<std::ptrdiff_t>(keep) + 1, open_.end());
        open_.resize(keep);
        for (const std::string& again : reopen)
            Open(again);
    }
    void Picture(TPrintPiece picture)
    {
        EndParagraph();
        pieces_.push_back(std::move(picture));
    }
    std::vector<TPrintPiece> Finish()
    {
        EndParagraph();
        return std::move(pieces_);
    }

private:
    void EndParagraph()
    {
        for (std::size_t i = open_.size(); i-- > 0;)
            text_ += "</" + open_[i] + ">";
        if (hasText_) {
            TPrintPiece piece;
            piece.Markup = std::move(text_);
            pieces_.push_back(std::move(piece));
        }
        text_.clear();
        for (const std::string& tag : open_)
            text_ += "<" + tag + ">";
        hasText_ = false;
        lineStart_ = true;
        pendingSpace_ = false;
        pendingBreaks_ = 0;
    }

    std::vector<TPrintPiece> pieces_;
    std::string text_;
    std::vector<std::string> open_;
    bool hasText_ = false;
    bool lineStart_ = true;
    bool pendingSpace_ = false;
    int pendingBreaks_ = 0;
};

// The Pango tag of an HTML format tag, empty for the others.
std::string FormatTag(const std::string& name)
{
    if (name == "b" || name == "strong")
        return "b";
    if (name == "i" || name == "em" || name == "cite" || name == "var")
        return "i";
    if (name == "u" || name == "ins")
        return "u";
    if (name == "s" || name == "strike" || name == "del")
        return "s";
    if (name == "sub" || name == "sup" || name == "tt")
        return name;
    if (name == "code" || name == "kbd" || name == "samp")
        return "tt";
    return {};
}

bool BreaksLine(const std::string& name)
{
    static constexpr std::string_view kBlocks[] = {"p", "div", "ul", "ol", "li", "dl", "dt", "dd", "tr", "table",
        "blockquote", "center", "h1", "h2", "h3", "h4", "h5", "h6", "hr", "pre", "address", "form"};
    return std::find(std::begin(kBlocks), std::end(kBlocks), name) != std::end(kBlocks);
}

} // namespace

std::vector<TPrintPiece> HtmlToPrintPieces(std::string_view html)
{
    MarkupBuilder builder;
    for (std::size_t i = 0; i < html.size();) {
        const char c = html[i];
        if (c == '<' && html.substr(i, 4) == "<!--") {
            const std::size_t end = html.find("-->", i + 4);
            i = end == std::string_view::npos ? html.size() : end + 3;
            continue;
        }
        if (c == '<' && i + 1 < html.size() && (html[i + 1] == '!' || html[i + 1] == '?')) {
            const std::size_t end = html.find('>', i);
            i = end == std::string_view::npos ? html.size() : end + 1;
            continue;
        }
        if (c == '<') {
            Tag tag;
            const std::size_t length = ParseTag(html, i, tag);
            if (length != 0) {
                i += length;
                if (!tag.closing && (tag.name == "script" || tag.name == "style")) {
                    const std::string end = "</" + tag.name;
                    std::size_t at = i;
                    while (at < html.size() && !EqualsNoCase(html.substr(at, end.size()), end))
                        ++at;
                    const std::size_t close = at < html.size() ? html.find('>', at) : std::string_view::npos;
                    i = close == std::string_view::npos ? html.size() : close + 1;
                } else if (const std::string format = FormatTag(tag.name); !format.empty()) {
                    if (tag.closing)
                        builder.Close(format);
                    else
                        builder.Open(format);
                } else if (tag.name == "br") {
                    builder.Break(true);
                } else if (tag.name == "img" && !tag.closing) {
                    TPrintPiece picture;
                    picture.Type = TPrintPiece::Kind::Picture;
                    picture.Source = tag.Attribute("src");
                    picture.Alt = tag.Attribute("alt");
                    picture.Width = PixelSize(tag.Attribute("width"));
                    picture.Height = PixelSize(tag.Attribute("height"));
                    builder.Picture(std::move(picture));
                } else if (BreaksLine(tag.name)) {
                    builder.Break(false);
                    if (tag.name == "li" && !tag.closing) {
                        builder.Character("\xE2\x80\xA2"); // a bullet
                        builder.Character(" ");
                    }
                } else if (tag.name == "td" || tag.name == "th") {
                    builder.Character(" ");
                }
                continue;
            }
        }
        if (c == '&') {
            const auto [utf8, length] = Reference(html, i);
            if (length != 0) {
                builder.Text(utf8);
                i += length;
                continue;
            }
        }
        // One character, all its bytes at once.
        std::size_t length = 1;
        const auto lead = static_cast<unsigned char>(c);
        if (lead >= 0xF0)
            length = 4;
        else if (lead >= 0xE0)
            length = 3;
        else if (lead >= 0xC0)
            length = 2;
        length = std::min(length, html.size() - i);
        builder.Character(html.substr(i, length));
        i += length;
    }
    return builder.Finish();
}

} // namespace tavimor
