// pugixml reads the XML, Nettle decodes the base64 of the files a text
// carries and MarkdownToHtml (libcmark) turns markdown texts into HTML. The
// sub-questions of a cloze text are found by hand in one pass over the text,
// as platforms find them: "{weight:KIND:alternative~alternative}", where an alternative is
// "[=|%fraction%]answer[#feedback]" and a backslash escapes } # ~ / " \.
//
// Every loop is linear in the size of what it reads, so that a hostile file
// of the largest size read costs time in proportion to it.
#include "exchange/MoodleXmlReader.h"

#include "base/Cp1252.h"
#include "base/TextHelpers.h"
#include "base/Utf8.h"
#include "exchange/MarkdownText.h"

#include <nettle/base64.h>
#include <pugixml.hpp>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>
#include <unordered_map>
#include <unordered_set>

namespace tavimor {
namespace {

constexpr std::size_t kMaxCount = std::numeric_limits<std::uint16_t>::max();
constexpr std::size_t kMaxTitleChars = 60; // as FirstWords
constexpr std::size_t kMaxFileName = 100;
constexpr std::size_t kMaxQuotedChars = 40; // of a name taken from the file into a message

[[noreturn]] void Refuse(const std::string& why)
{
    throw ImportError(why + " Rien n'a \xE9t\xE9 import\xE9.");
}

bool IsAsciiAlnum(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

std::string LowerAscii(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

// A word of the file quoted in a message: Windows-1252, cut short.
std::string Quoted(std::string_view utf8)
{
    std::string text = Utf8ToCp1252(TrimmedView(utf8.substr(0, 4 * kMaxQuotedChars)));
    // A control character (a NUL above all) would cut or garble the message.
    std::replace_if(
        text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < ' '; }, '?');
    if (text.size() > kMaxQuotedChars)
        text = text.substr(0, kMaxQuotedChars) + "...";
    return "\xAB\xA0" + text + "\xA0\xBB";
}

// ---------------------------------------------------------------------------
// Characters and lines

// Line numbers of offsets asked for in increasing order, counted as the UTF-8
// check counts them (a CR LF breaks once), without a table of the lines.
class LineCounter {
public:
    explicit LineCounter(std::string_view text)
        : text_(text)
    {
    }

    int LineAt(std::ptrdiff_t offset)
    {
        if (offset < 0)
            return 0;
        const auto target = std::min(static_cast<std::size_t>(offset), text_.size());
        if (target < at_) {
            at_ = 0;
            line_ = 1;
        }
        for (; at_ < target; ++at_) {
            const char c = text_[at_];
            if (c == '\n' || (c == '\r' && (at_ + 1 == text_.size() || text_[at_ + 1] != '\n')))
                ++line_;
        }
        return line_ > std::numeric_limits<int>::max() ? std::numeric_limits<int>::max() : static_cast<int>(line_);
    }

private:
    std::string_view text_;
    std::size_t at_ = 0;
    std::size_t line_ = 1;
};

[[noreturn]] void NotUtf8(std::size_t line, const char* form)
{
    Refuse(std::string("Le fichier Moodle XML n'est pas un texte ") + form + " valide (ligne " + std::to_string(line)
        + ") : enregistrez-le en UTF-8 puis recommencez.");
}

std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian)
{
    const auto unit = [&](std::size_t at) {
        const auto first = static_cast<unsigned char>(bytes[at]);
        const auto second = static_cast<unsigned char>(bytes[at + 1]);
        return static_cast<char32_t>(bigEndian ? (first << 8 | second) : (second << 8 | first));
    };
    std::string out;
    out.reserve(bytes.size());
    std::size_t line = 1;
    bool afterCr = false;
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        char32_t cp = unit(i);
        if (cp >= 0xDC00 && cp <= 0xDFFF)
            NotUtf8(line, "UTF-16");
        if (cp >= 0xD800 && cp <= 0xDBFF) {
            const char32_t low = i + 3 < bytes.size() ? unit(i + 2) : 0;
            if (low < 0xDC00 || low > 0xDFFF)
                NotUtf8(line, "UTF-16");
            cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
            i += 2;
        }
        if (cp == '\r' || (cp == '\n' && !afterCr))
            ++line;
        afterCr = cp == '\r';
        AppendUtf8(out, cp);
    }
    if (i != bytes.size())
        NotUtf8(line, "UTF-16");
    return out;
}

// The encoding the XML declaration names, in lower case; empty when none.
std::string DeclaredEncoding(std::string_view text)
{
    if (!text.starts_with("<?xml"))
        return {};
    const std::string_view declaration = text.substr(0, text.find("?>"));
    std::size_t at = declaration.find("encoding");
    if (at == std::string_view::npos)
        return {};
    at = declaration.find_first_not_of(" \t\r\n", at + 8);
    if (at == std::string_view::npos || declaration[at] != '=')
        return {};
    at = declaration.find_first_not_of(" \t\r\n", at + 1);
    if (at == std::string_view::npos || (declaration[at] != '"' && declaration[at] != '\''))
        return {};
    const std::size_t close = declaration.find(declaration[at], at + 1);
    if (close == std::string_view::npos)
        return {};
    return LowerAscii(declaration.substr(at + 1, close - at - 1));
}

// The file as UTF-8, whatever it was written in.
std::string Utf8Source(std::string_view bytes)
{
    if (bytes.size() > kMaxMoodleXmlBytes)
        Refuse("Le fichier Moodle XML d\xE9passe " + std::to_string(kMaxMoodleXmlBytes >> 20)
            + " Mio, la plus grande taille que Tavimor lit.");
    std::string text;
    if (bytes.starts_with("\xFF\xFE"))
        text = Utf16ToUtf8(bytes.substr(2), false);
    else if (bytes.starts_with("\xFE\xFF"))
        text = Utf16ToUtf8(bytes.substr(2), true);
    else if (bytes.starts_with(std::string_view("<\0?\0", 4)))
        text = Utf16ToUtf8(bytes, false);
    else if (bytes.starts_with(std::string_view("\0<\0?", 4)))
        text = Utf16ToUtf8(bytes, true);
    else {
        if (bytes.starts_with("\xEF\xBB\xBF"))
            bytes.remove_prefix(3);
        const std::string encoding = DeclaredEncoding(bytes);
        // A text saved in UTF-8 by a program that still declares UTF-16 is
        // read as what it is.
        static const std::unordered_set<std::string> utf8 {"", "utf-8", "utf8", "us-ascii", "ascii", "utf-16", "utf16"};
        static const std::unordered_set<std::string> latin1 {
            "iso-8859-1", "iso8859-1", "iso_8859-1", "latin1", "latin-1", "l1", "iso-ir-100"};
        static const std::unordered_set<std::string> cp1252 {"windows-1252", "cp1252", "x-cp1252"};
        if (utf8.contains(encoding)) {
            if (const auto line = FirstMalformedUtf8Line(bytes))
                NotUtf8(*line, "UTF-8");
            text = bytes;
        } else if (latin1.contains(encoding)) {
            text.reserve(bytes.size());
            for (const char c : bytes)
                AppendUtf8(text, static_cast<unsigned char>(c));
        } else if (cp1252.contains(encoding)) {
            text = Cp1252ToUtf8(bytes);
        } else {
            Refuse("Le fichier Moodle XML est \xE9"
                   "crit dans l'encodage "
                + Quoted(encoding) + ", que Tavimor ne lit pas : enregistrez-le en UTF-8 puis recommencez.");
        }
    }
    if (TrimmedView(text).empty())
        Refuse("Le fichier Moodle XML est vide.");
    return text;
}

const char* ParseProblem(pugi::xml_parse_status status)
{
    switch (status) {
    case pugi::status_out_of_memory:
        return "m\xE9moire insuffisante";
    case pugi::status_unrecognized_tag:
        return "balise illisible";
    case pugi::status_bad_pi:
        return "instruction de traitement mal form\xE9"
               "e (<?...?>)";
    case pugi::status_bad_comment:
        return "commentaire mal form\xE9 (<!-- ... -->)";
    case pugi::status_bad_cdata:
        return "section CDATA mal form\xE9"
               "e (<![CDATA[ ... ]]>)";
    case pugi::status_bad_doctype:
        return "d\xE9"
               "claration DOCTYPE mal form\xE9"
               "e";
    case pugi::status_bad_pcdata:
        return "texte mal form\xE9";
    case pugi::status_bad_start_element:
        return "balise ouvrante mal form\xE9"
               "e";
    case pugi::status_bad_attribute:
        return "attribut mal form\xE9 (valeur sans guillemets ?)";
    case pugi::status_bad_end_element:
        return "balise fermante mal form\xE9"
               "e";
    case pugi::status_end_element_mismatch:
        return "balise fermante qui ne ferme pas la derni\xE8re balise ouverte, ou balise jamais ferm\xE9"
               "e";
    case pugi::status_append_invalid_root:
    case pugi::status_no_document_element:
        return "aucun \xE9l\xE9ment XML";
    default:
        return "erreur de syntaxe XML";
    }
}

// ---------------------------------------------------------------------------
// Texts

enum class Format { Html, Auto, Plain, Markdown };

// A field's format; an unknown name is read as Moodle's auto format, as
// platforms read it.
Format FormatOf(pugi::xml_node field, Format fallback)
{
    const pugi::xml_attribute attribute = field.attribute("format");
    if (!attribute)
        return fallback;
    const std::string name = LowerAscii(TrimmedView(attribute.value()));
    if (name == "html")
        return Format::Html;
    if (name == "plain_text")
        return Format::Plain;
    if (name == "markdown")
        return Format::Markdown;
    return Format::Auto;
}

class StringWriter : public pugi::xml_writer {
public:
    explicit StringWriter(std::string& out)
        : out_(out)
    {
    }
    void write(const void* data, std::size_t size) override { out_.append(static_cast<const char*>(data), size); }

private:
    std::string& out_;
};

// What an element holds as text: its character data and CDATA sections, and
// markup written in it as XML instead of as text (a hand-written <p>).
std::string Content(pugi::xml_node element)
{
    std::string out;
    for (const pugi::xml_node child : element.children()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
            out += child.value();
        } else if (child.type() == pugi::node_element) {
            StringWriter writer(out);
            child.print(writer, "", pugi::format_raw);
        }
    }
    return out;
}

// The <text> of a field such as <questiontext>, UTF-8.
std::string TextOf(pugi::xml_node field)
{
    return Content(field.child("text"));
}

// Line breaks as <BR> (plain text and Moodle's auto format show each one).
std::string WithBreaks(std::string_view text, bool escape)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (escape && c == '&')
            out += "&amp;";
        else if (escape && c == '<')
            out += "&lt;";
        else if (escape && c == '>')
            out += "&gt;";
        else if (c == '\n')
            out += "<BR>\n";
        else
            out += c;
    }
    return out;
}

// A field's text as HTML, UTF-8.
std::string ToHtml(std::string_view raw, Format format)
{
    const std::string_view text = TrimmedView(raw);
    switch (format) {
    case Format::Html:
        return std::string(text);
    case Format::Auto:
        return WithBreaks(text, false);
    case Format::Plain:
        return WithBreaks(text, true);
    case Format::Markdown:
        return MarkdownToHtml(text);
    }
    return std::string(text);
}

// The name as a report shows it: blanks squeezed, cut after some characters.
std::string SqueezedName(std::string_view utf8)
{
    std::string name;
    std::size_t chars = 0;
    bool blank = false;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        if (static_cast<unsigned char>(c) <= ' ') {
            blank = true;
            continue;
        }
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            if (chars == kMaxTitleChars) {
                name += "...";
                break;
            }
            ++chars;
            if (blank && !name.empty())
                name += ' ';
            blank = false;
        }
        name += c;
    }
    return Utf8ToCp1252Referencing(name);
}

// \} \# \~ \/ \" \\ in a cloze alternative stand for the character.
std::string ClozeUnescape(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()
            && std::string_view("}#~/\"\\").find(text[i + 1]) != std::string_view::npos)
            ++i;
        out += text[i];
    }
    return out;
}

std::optional<std::string> DecodeBase64(std::string_view text)
{
    base64_decode_ctx context;
    base64_decode_init(&context);
    std::string bytes(BASE64_DECODE_LENGTH(text.size()), '\0');
    std::size_t length = bytes.size();
    // Nettle skips the blanks and line breaks that split the text in lines.
    if (base64_decode_update(&context, &length, reinterpret_cast<std::uint8_t*>(bytes.data()), text.size(), text.data())
            == 0
        || base64_decode_final(&context) == 0)
        return std::nullopt;
    bytes.resize(length);
    return bytes;
}

// A file name safe on every file system: the base name, ASCII letters,
// digits, '-', '_' and '.' kept, anything else (one character, however many
// bytes) as '_'; no leading or trailing dot, no name Windows keeps for a device.
std::string SafeFileName(std::string_view original)
{
    const std::size_t slash = original.find_last_of("/\\");
    if (slash != std::string_view::npos)
        original.remove_prefix(slash + 1);
    std::string name;
    for (const char c : original) {
        if (IsAsciiAlnum(c) || c == '-' || c == '_' || c == '.')
            name += c;
        else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            name += '_';
    }
    if (name.size() > kMaxFileName) {
        const std::size_t dot = name.rfind('.');
        const std::size_t extension = dot == std::string::npos || name.size() - dot > 10 ? 0 : name.size() - dot;
        name = name.substr(0, kMaxFileName - extension) + name.substr(name.size() - extension);
    }
    if (name.find_first_not_of("._") == std::string::npos)
        name = "fichier" + name;
    if (name.front() == '.')
        name.front() = '_';
    if (name.back() == '.')
        name.back() = '_';
    static const std::unordered_set<std::string> devices {"con", "prn", "aux", "nul", "com1", "com2", "com3", "com4",
        "com5", "com6", "com7", "com8", "com9", "lpt1", "lpt2", "lpt3", "lpt4", "lpt5", "lpt6", "lpt7", "lpt8", "lpt9"};
    if (devices.contains(LowerAscii(name.substr(0, name.find('.')))))
        name = "_" + name;
    return name;
}

// A fraction attribute as a percentage; nothing when it is not a number.
std::optional<double> Fraction(std::string_view text)
{
    std::string number(TrimmedView(text));
    std::replace(number.begin(), number.end(), ',', '.');
    if (number.starts_with('+'))
        number.erase(0, 1);
    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (number.empty() || error != std::errc() || end != number.data() + number.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

bool IsFull(double fraction)
{
    return fraction >= 100 - 1e-6;
}

// ---------------------------------------------------------------------------
// Cloze sub-questions

struct ClozeKind {
    std::string_view Name;
    const char* French; // nullptr: a drop-down list the quiz can hold
};

constexpr ClozeKind kClozeKinds[] {
    {"MULTICHOICE", nullptr},
    {"MC", nullptr},
    {"MULTICHOICE_V", nullptr},
    {"MCV", nullptr},
    {"MULTICHOICE_H", nullptr},
    {"MCH", nullptr},
    {"MULTICHOICE_S", nullptr},
    {"MCS", nullptr},
    {"MULTICHOICE_VS", nullptr},
    {"MCVS", nullptr},
    {"MULTICHOICE_HS", nullptr},
    {"MCHS", nullptr},
    {"SHORTANSWER", "une r\xE9ponse courte"},
    {"SA", "une r\xE9ponse courte"},
    {"MW", "une r\xE9ponse courte"},
    {"SHORTANSWER_C", "une r\xE9ponse courte sensible \xE0 la casse"},
    {"SAC", "une r\xE9ponse courte sensible \xE0 la casse"},
    {"MWC", "une r\xE9ponse courte sensible \xE0 la casse"},
    {"NUMERICAL", "une r\xE9ponse num\xE9rique"},
    {"NM", "une r\xE9ponse num\xE9rique"},
    {"MULTIRESPONSE", "un choix \xE0 plusieurs r\xE9ponses"},
    {"MR", "un choix \xE0 plusieurs r\xE9ponses"},
    {"MULTIRESPONSE_H", "un choix \xE0 plusieurs r\xE9ponses"},
    {"MRH", "un choix \xE0 plusieurs r\xE9ponses"},
    {"MULTIRESPONSE_S", "un choix \xE0 plusieurs r\xE9ponses"},
    {"MRS", "un choix \xE0 plusieurs r\xE9ponses"},
    {"MULTIRESPONSE_HS", "un choix \xE0 plusieurs r\xE9ponses"},
    {"MRHS", "un choix \xE0 plusieurs r\xE9ponses"},
};

struct SubQuestion {
    std::size_t Begin = 0; // the "{"
    std::size_t End = 0; // past the "}"
    const ClozeKind* Kind = nullptr;
    std::string_view Body; // the alternatives
};

// The sub-questions of a cloze text: how many, and the first one.
class SubQuestionFinder {
public:
    explicit SubQuestionFinder(std::string_view text)
        : text_(text)
    {
        std::size_t at = text_.find('{');
        while (at != std::string_view::npos) {
            if (const std::optional<SubQuestion> sub = At(at)) {
                if (Count++ == 0)
                    First = *sub;
                at = text_.find('{', sub->End);
            } else {
                at = text_.find('{', at + 1);
            }
        }
    }

    std::size_t Count = 0;
    SubQuestion First;

private:
    std::optional<SubQuestion> At(std::size_t open)
    {
        std::size_t at = open + 1;
        while (at < text_.size() && text_[at] >= '0' && text_[at] <= '9')
            ++at;
        if (at == text_.size() || text_[at] != ':')
            return std::nullopt;
        const std::size_t kindAt = ++at;
        while (at < text_.size() && ((text_[at] >= 'A' && text_[at] <= 'Z') || text_[at] == '_'))
            ++at;
        if (at == text_.size() || text_[at] != ':')
            return std::nullopt;
        const std::string_view name = text_.substr(kindAt, at - kindAt);
        const auto kind = std::find_if(
            std::begin(kClozeKinds), std::end(kClozeKinds), [&](const ClozeKind& k) { return k.Name == name; });
        if (kind == std::end(kClozeKinds))
            return std::nullopt;
        const std::size_t close = CloseAfter(at + 1);
        if (close == std::string_view::npos)
            return std::nullopt;
        return SubQuestion {open, close + 1, kind, text_.substr(at + 1, close - at - 1)};
    }

    // The first "}" at or after from that no backslash escapes. The calls
    // come with from increasing: the last answer serves until passed.
    std::size_t CloseAfter(std::size_t from)
    {
        if (!searched_ || from < searchedFrom_ || (close_ != std::string_view::npos && from > close_)) {
            close_ = from;
            while (close_ < text_.size() && (text_[close_] != '}' || text_[close_ - 1] == '\\'))
                ++close_;
            if (close_ == text_.size())
                close_ = std::string_view::npos;
            searchedFrom_ = from;
            searched_ = true;
        }
        return close_;
    }

    std::string_view text_;
    bool searched_ = false;
    std::size_t searchedFrom_ = 0;
    std::size_t close_ = 0;
};

// The first of chars at or after from that no backslash escapes (nor "&" or
// "&amp;" before a "#": a character reference such as &#8364; is text).
std::size_t FindClozeSeparator(std::string_view text, std::size_t from, std::string_view chars)
{
    for (std::size_t i = from; i < text.size(); ++i) {
        if (text[i] == '\\') {
            ++i;
            continue;
        }
        if (chars.find(text[i]) == std::string_view::npos)
            continue;
        if (text[i] == '#' && i > 0 && (text[i - 1] == '&' || text.substr(0, i).ends_with("&amp;")))
            continue;
        return i;
    }
    return std::string_view::npos;
}

struct RawChoice {
    double Fraction = 0;
    std::string Text; // UTF-8, unescaped
    std::string Feedback;
};

std::vector<RawChoice> ClozeAlternatives(std::string_view body)
{
    std::vector<RawChoice> choices;
    std::size_t at = 0;
    while (at <= body.size() && choices.size() <= kMaxCount) {
        std::size_t end = FindClozeSeparator(body, at, "~");
        if (end == std::string_view::npos)
            end = body.size();
        std::string_view alternative = body.substr(at, end - at);
        RawChoice choice;
        if (alternative.starts_with('=')) {
            choice.Fraction = 100;
            alternative.remove_prefix(1);
        } else if (alternative.starts_with('%')) {
            const std::size_t close = alternative.find('%', 1);
            const std::optional<double> fraction
                = close == std::string_view::npos ? std::nullopt : Fraction(alternative.substr(1, close - 1));
            if (fraction) {
                choice.Fraction = *fraction;
                alternative.remove_prefix(close + 1);
            }
        }
        const std::size_t hash = FindClozeSeparator(alternative, 0, "#");
        choice.Text = ClozeUnescape(alternative.substr(0, hash));
        if (hash != std::string_view::npos)
            choice.Feedback = ClozeUnescape(alternative.substr(hash + 1));
        choices.push_back(std::move(choice));
        at = end + 1;
    }
    return choices;
}

// The placeholder standing for the sub-question while the text around it is
// converted: letters and digits that no conversion touches, and that the
// text does not hold already.
std::string Placeholder(std::string_view text)
{
    constexpr std::string_view kStem = "TAVIMORTROU";
    std::unordered_set<std::string_view> taken;
    for (std::size_t at = text.find(kStem); at != std::string_view::npos; at = text.find(kStem, at + 1)) {
        std::size_t end = at + kStem.size();
        while (end < text.size() && text[end] >= '0' && text[end] <= '9')
            ++end;
        taken.insert(text.substr(at + kStem.size(), end - at - kStem.size()));
    }
    for (std::size_t n = 1;; ++n) {
        const std::string number = std::to_string(n);
        if (!taken.contains(number))
            return std::string(kStem) + number + "X";
    }
}

// ---------------------------------------------------------------------------
// Questions

const char* KindName(std::string_view type)
{
    static const std::unordered_map<std::string_view, const char*> names {
        {"shortanswer", "r\xE9ponse courte"},
        {"numerical", "num\xE9rique"},
        {"matching", "appariement"},
        {"match", "appariement"},
        {"randomsamatch",
            "appariement al\xE9"
            "atoire de r\xE9ponses courtes"},
        {"essay", "composition (r\xE9ponse libre)"},
        {"calculated",
            "calcul\xE9"
            "e"},
        {"calculatedsimple",
            "calcul\xE9"
            "e simple"},
        {"calculatedmulti",
            "calcul\xE9"
            "e \xE0 choix multiple"},
        {"ddwtos", "glisser-d\xE9poser dans le texte"},
        {"gapselect", "mots manquants \xE0 choisir"},
        {"ddimageortext", "glisser-d\xE9poser sur une image"},
        {"ddmarker", "marqueurs \xE0 glisser-d\xE9poser"},
        {"ordering", "mise en ordre"},
        {"random",
            "question tir\xE9"
            "e au hasard"},
    };
    const auto found = names.find(type);
    return found == names.end() ? nullptr : found->second;
}

struct Choice {
    double Fraction = 0;
    std::string Text; // the core's text
    std::string Feedback;
};

class BankReader {
public:
    explicit BankReader(std::string_view text)
        : lines_(text)
    {
    }

    void Read(pugi::xml_node question)
    {
        question_ = question;
        line_ = lines_.LineAt(question.offset_debug());
        picturesMark_ = bank_.Pictures.size();
        notesMark_ = bank_.Notes.size();
        referencesMark_ = bank_.References;
        questionText_ = question.child("questiontext");
        format_ = FormatOf(questionText_, Format::Auto);
        name_ = TextOf(question.child("name"));
        title_ = SqueezedName(name_);
        if (title_.empty())
            title_ = FirstWords(Utf8ToCp1252Referencing(TextOf(questionText_)));

        const std::string type = LowerAscii(TrimmedView(question.attribute("type").value()));
        if (type == "multichoice")
            ReadMultichoice();
        else if (type == "truefalse")
            ReadTrueFalse();
        else if (type == "cloze" || type == "multianswer")
            ReadCloze();
        else if (type == "category")
            bank_.Notes.push_back({line_, SqueezedName(TextOf(question.child("category"))),
                "cat\xE9gorie, non import\xE9"
                "e (les questions import\xE9"
                "es ne gardent pas leur cat\xE9gorie)",
                false});
        else if (type == "description")
            Note("description (texte sans question), non import\xE9"
                 "e");
        else if (type.empty())
            Skip("question sans type");
        else if (const char* kind = KindName(type))
            Skip(kind);
        else
            Skip("type de question " + Quoted(type) + " inconnu de Tavimor");
    }

    TImportedBank Take() { return std::move(bank_); }

private:
    void Note(std::string what) { bank_.Notes.push_back({line_, title_, std::move(what), false}); }

    // The question does not come in: what it brought is taken back.
    void Skip(std::string_view reason)
    {
        for (std::size_t i = picturesMark_; i < bank_.Pictures.size(); ++i)
            taken_.erase(LowerAscii(bank_.Pictures[i].Name));
        bank_.Pictures.resize(picturesMark_);
        bank_.Notes.resize(notesMark_);
        bank_.References = referencesMark_;
        bank_.Notes.push_back(SkippedQuestion(line_, title_, reason));
    }

    // ---- Texts

    // The core's text from HTML in UTF-8: CR LF line breaks, Windows-1252
    // with references.
    std::string CoreText(std::string_view html)
    {
        std::string text;
        text.reserve(html.size());
        const std::string_view trimmed = TrimmedView(html);
        for (std::size_t i = 0; i < trimmed.size(); ++i) {
            if (trimmed[i] == '\r' || trimmed[i] == '\n') {
                i += LineBreakLength(trimmed, i) - 1;
                text += "\r\n";
            } else {
                text += trimmed[i];
            }
        }
        std::size_t references = 0;
        std::string cp1252 = Utf8ToCp1252Referencing(text, &references);
        bank_.References += static_cast<int>(std::min<std::size_t>(
            references, static_cast<std::size_t>(std::numeric_limits<int>::max() - bank_.References)));
        return cp1252;
    }

    // A field's text in the core's form, the files it carries brought in.
    std::string Convert(pugi::xml_node field, Format fallback)
    {
        if (!field)
            return {};
        return CoreText(ToHtml(WithFiles(TextOf(field), field), FormatOf(field, fallback)));
    }

    // The text with each @@PLUGINFILE@@ address of a file the field carries
    // replaced by the picture's address in the document's folder.
    std::string WithFiles(const std::string& raw, pugi::xml_node field)
    {
        constexpr std::string_view kPluginFile = "@@PLUGINFILE@@";
        std::size_t at = raw.find(kPluginFile);
        if (at == std::string::npos)
            return raw;
        std::unordered_map<std::string, pugi::xml_node> files;
        for (const pugi::xml_node file : field.children("file")) {
            std::string path = TrimBlanks(file.attribute("path").as_string("/"));
            if (!path.starts_with('/'))
                path.insert(0, "/");
            if (!path.ends_with('/'))
                path += '/';
            files.try_emplace(path + file.attribute("name").as_string(), file);
        }
        std::unordered_map<std::string, std::optional<std::string>> names; // address: picture name
        std::string out;
        std::size_t done = 0;
        while (at != std::string::npos) {
            std::size_t end = at + kPluginFile.size();
            while (end < raw.size() && std::string_view("\"'<>() \t\r\n?#").find(raw[end]) == std::string_view::npos)
                ++end;
            const std::string address
                = PercentDecoded(raw.substr(at + kPluginFile.size(), end - at - kPluginFile.size()));
            auto [known, added] = names.try_emplace(address);
            if (added)
                known->second = FileFor(address, files);
            out.append(raw, done, at - done);
            if (known->second)
                out += PictureSource(*known->second);
            else
                out.append(raw, at, end - at);
            done = end;
            at = raw.find(kPluginFile, end);
        }
        out.append(raw, done);
        return out;
    }

    // The name in the bank of the file at address, decoded and added.
    std::optional<std::string> FileFor(
        const std::string& address, const std::unordered_map<std::string, pugi::xml_node>& files)
    {
        const std::string shown = Quoted(address.substr(address.starts_with('/') ? 1 : 0));
        const auto file = files.find(address);
        if (file == files.end()) {
            Note("fichier " + shown + " absent du fichier Moodle XML : le texte le montre sans lui");
            return std::nullopt;
        }
        const std::string encoding = LowerAscii(TrimmedView(file->second.attribute("encoding").as_string("base64")));
        const std::optional<std::string> bytes
            = encoding == "base64" ? DecodeBase64(Content(file->second)) : std::nullopt;
        if (!bytes || bytes->empty()) {
            Note("fichier " + shown + " laiss\xE9 de c\xF4t\xE9 : son contenu base64 est illisible");
            return std::nullopt;
        }
        return AddPicture(file->second.attribute("name").as_string(), *bytes);
    }

    // The picture under a name no other picture of the bank has (whatever
    // the case), or the name of the same picture brought in already.
    std::string AddPicture(std::string_view original, const std::string& bytes)
    {
        const std::string name = SafeFileName(original);
        const auto sameOrFree = [&](const std::string& candidate) -> std::optional<std::string> {
            const auto found = taken_.find(LowerAscii(candidate));
            if (found == taken_.end()) {
                taken_.emplace(LowerAscii(candidate), bank_.Pictures.size());
                bank_.Pictures.push_back({candidate, bytes});
                return candidate;
            }
            const TImportedPicture& picture = bank_.Pictures[found->second];
            if (picture.Bytes == bytes)
                return picture.Name;
            return std::nullopt;
        };
        if (auto kept = sameOrFree(name))
            return *kept;
        const std::size_t dot = name.rfind('.');
        const std::string stem = dot == std::string::npos ? name : name.substr(0, dot);
        const std::string extension = dot == std::string::npos ? "" : name.substr(dot);
        std::size_t& next = nextSuffix_[LowerAscii(name)];
        for (next = std::max<std::size_t>(next, 2);; ++next)
            if (auto kept = sameOrFree(stem + "-" + std::to_string(next) + extension))
                return *kept;
    }

    // The question's text; its name when it has none. A picture given the
    // old way (<image> and <image_base64>) follows it.
    std::string QuestionText()
    {
        std::string text = Convert(questionText_, Format::Auto);
        if (text.empty())
            text = CoreText(WithBreaks(TrimmedView(name_), true));
        return WithOldPicture(std::move(text));
    }

    std::string WithOldPicture(std::string text)
    {
        const std::string image(TrimmedView(Content(question_.child("image"))));
        const std::string base64 = Content(question_.child("image_base64"));
        if (image.empty() && TrimmedView(base64).empty())
            return text;
        const std::string shown = Quoted(image.empty() ? "image" : image);
        if (TrimmedView(base64).empty()) {
            Note("image " + shown
                + " nomm\xE9"
                  "e mais absente du fichier Moodle XML");
            return text;
        }
        const std::optional<std::string> bytes = DecodeBase64(base64);
        if (!bytes || bytes->empty()) {
            Note("image " + shown
                + " laiss\xE9"
                  "e de c\xF4t\xE9 : son contenu base64 est illisible");
            return text;
        }
        const std::string name = AddPicture(image.empty() ? "image" : image, *bytes);
        return text + (text.empty() ? "" : "<BR>\r\n") + PictureTag(name, "");
    }

    // ---- Kinds

    // The right choice when the quiz can hold the choices as they are; else
    // the question is skipped. Partial credit and penalties become plain
    // wrong answers, with a note.
    std::optional<std::size_t> RightChoice(const std::vector<Choice>& choices, std::string_view kind)
    {
        if (choices.size() < 2) {
            Skip(std::string(kind) + " de moins de deux choix");
            return std::nullopt;
        }
        const auto full
            = std::count_if(choices.begin(), choices.end(), [](const Choice& c) { return IsFull(c.Fraction); });
        if (full != 1) {
            Skip(
                std::string(kind) + (full == 0 ? " sans r\xE9ponse \xE0 100 %" : " \xE0 plusieurs bonnes r\xE9ponses"));
            return std::nullopt;
        }
        if (std::any_of(
                choices.begin(), choices.end(), [](const Choice& c) { return c.Fraction > 0 && !IsFull(c.Fraction); }))
            Note("cr\xE9"
                 "dit partiel ramen\xE9 \xE0 0");
        if (std::any_of(choices.begin(), choices.end(), [](const Choice& c) { return c.Fraction < 0; }))
            Note("p\xE9nalit\xE9 de mauvaise r\xE9ponse ramen\xE9"
                 "e \xE0 0");
        return static_cast<std::size_t>(std::find_if(choices.begin(), choices.end(), [](const Choice& c) {
            return IsFull(c.Fraction);
        }) - choices.begin());
    }

    void DroppedEmpty(std::size_t count)
    {
        if (count == 1)
            Note("une r\xE9ponse vide laiss\xE9"
                 "e de c\xF4t\xE9");
        else if (count > 1)
            Note(std::to_string(count)
                + " r\xE9ponses vides laiss\xE9"
                  "es de c\xF4t\xE9");
    }

    void ReadMultichoice()
    {
        std::vector<Choice> choices;
        std::size_t empty = 0;
        for (const pugi::xml_node answer : question_.children("answer")) {
            if (choices.size() + empty >= kMaxCount)
                return Skip("choix multiple de plus de 65535 r\xE9ponses");
            const Format format = FormatOf(answer, format_);
            Choice choice;
            choice.Text = CoreText(ToHtml(WithFiles(TextOf(answer), answer), format));
            if (choice.Text.empty()) {
                ++empty;
                continue;
            }
            const pugi::xml_attribute fraction = answer.attribute("fraction");
            const std::optional<double> value = Fraction(fraction.value());
            if (!value && !TrimmedView(fraction.value()).empty())
                Note("note de r\xE9ponse illisible " + Quoted(fraction.value())
                    + ", compt\xE9"
                      "e 0");
            choice.Fraction = value.value_or(0);
            choice.Feedback = Convert(answer.child("feedback"), format_);
            choices.push_back(std::move(choice));
        }
        DroppedEmpty(empty);
        KeepChoices(std::move(choices), "choix multiple", TRepType::rKWZ, QuestionText());
    }

    void ReadTrueFalse()
    {
        std::vector<pugi::xml_node> answers;
        for (const pugi::xml_node answer : question_.children("answer"))
            if (answers.size() < 3)
                answers.push_back(answer);
        if (answers.size() != 2)
            return Skip(answers.size() < 2 ? "vrai/faux de moins de deux r\xE9ponses"
                                           : "vrai/faux de plus de deux r\xE9ponses");
        // The answers are "true" and "false"; files of old versions give
        // other texts, and the first answer is then "true".
        std::array<bool, 2> isTrue {true, false};
        bool byOrder = false;
        for (std::size_t i = 0; i < 2; ++i) {
            const std::string label = LowerAscii(TrimmedView(TextOf(answers[i])));
            if (label == "true" || label == "false")
                isTrue[i] = label == "true";
            else
                byOrder = true;
        }
        if (byOrder)
            isTrue = {true, false};
        else if (isTrue[0] == isTrue[1])
            return Skip("vrai/faux dont les deux r\xE9ponses disent " + std::string(isTrue[0] ? "vrai" : "faux"));
        std::array<bool, 2> full {};
        for (std::size_t i = 0; i < 2; ++i)
            full[i] = IsFull(Fraction(answers[i].attribute("fraction").value()).value_or(0));
        if (full[0] == full[1])
            return Skip(
                full[0] ? "vrai/faux dont les deux r\xE9ponses sont justes" : "vrai/faux sans r\xE9ponse \xE0 100 %");
        if (byOrder)
            Note("r\xE9ponses autres que \xAB true \xBB et \xAB false \xBB : la premi\xE8re est prise pour \xAB Vrai "
                 "\xBB");
        const std::size_t right = full[0] ? 0 : 1;

        TQuest quest;
        quest.QType = TRepType::rTrue;
        quest.QText = QuestionText();
        quest.Reps = {"Vrai", "Faux"};
        quest.GoodRep = isTrue[right] ? 0 : 1;
        Keep(std::move(quest), Convert(answers[right].child("feedback"), format_),
            Convert(answers[1 - right].child("feedback"), format_));
    }

    void ReadCloze()
    {
        const std::string raw = WithFiles(TextOf(questionText_), questionText_);
        const SubQuestionFinder found(raw);
        if (found.Count == 0)
            return Skip("texte \xE0 trous sans question int\xE9gr\xE9"
                        "e");
        if (found.Count > 1)
            return Skip("texte \xE0 trous de " + std::to_string(found.Count)
                + " questions int\xE9gr\xE9"
                  "es (Tavimor n'en tient qu'une par question)");
        const SubQuestion& sub = found.First;
        if (sub.Kind->French != nullptr)
            return Skip(std::string("texte \xE0 trous dont la question int\xE9gr\xE9"
                                    "e est ")
                + sub.Kind->French + " (" + std::string(sub.Kind->Name) + ")");

        std::vector<Choice> choices;
        std::size_t empty = 0;
        for (RawChoice& alternative : ClozeAlternatives(sub.Body)) {
            if (choices.size() + empty >= kMaxCount)
                return Skip("texte \xE0 trous de plus de 65535 r\xE9ponses");
            Choice choice {alternative.Fraction, CoreText(ToHtml(alternative.Text, format_)),
                CoreText(ToHtml(alternative.Feedback, format_))};
            if (choice.Text.empty())
                ++empty;
            else
                choices.push_back(std::move(choice));
        }
        DroppedEmpty(empty);

        // The text around the braces is converted whole (a markdown
        // paragraph may hold them), a placeholder standing for them; a marker
        // already in the text would take the list's place, so it is text.
        const std::string placeholder = Placeholder(raw);
        std::string text = CoreText(ToHtml(raw.substr(0, sub.Begin) + placeholder + raw.substr(sub.End), format_));
        for (std::size_t m = text.find(kOptionMarker); m != std::string::npos; m = text.find(kOptionMarker, m))
            text.replace(m, 1, "&lt;");
        const std::size_t at = text.find(placeholder);
        if (at != std::string::npos)
            text.replace(at, placeholder.size(), kOptionMarker);
        else // the conversion lost it (markdown code, say): the list ends the text
            text += std::string(text.empty() ? "" : " ") + kOptionMarker;
        KeepChoices(std::move(choices), "texte \xE0 trous", TRepType::rOList, WithOldPicture(std::move(text)));
    }

    void KeepChoices(std::vector<Choice> choices, std::string_view kind, TRepType type, std::string text)
    {
        const std::optional<std::size_t> right = RightChoice(choices, kind);
        if (!right)
            return;
        TQuest quest;
        quest.QType = type;
        quest.QText = std::move(text);
        quest.GoodRep = static_cast<std::int32_t>(*right);
        std::vector<TAnswerFeedback> wrong;
        for (std::size_t i = 0; i < choices.size(); ++i) {
            if (i != *right)
                wrong.push_back({choices[i].Text, choices[i].Feedback});
            quest.Reps.push_back(std::move(choices[i].Text));
        }
        bool combined = false;
        std::string wrongMessage = WrongSideMessage(wrong, &combined);
        if (combined)
            Note(kCombinedFeedbackNote);
        Keep(std::move(quest), std::move(choices[*right].Feedback), std::move(wrongMessage));
    }

    // Adds the question with its messages: the answers' own, then the
    // question's feedback for a right or a wrong answer, then its general
    // feedback on both sides.
    void Keep(TQuest quest, std::string right, std::string wrong)
    {
        if (bank_.Quests.size() >= kMaxCount)
            return Skip("au-del\xE0 de 65535 questions, le plus qu'un questionnaire puisse tenir");
        const std::string correct = Convert(question_.child("correctfeedback"), format_);
        const std::string incorrect = Convert(question_.child("incorrectfeedback"), format_);
        const std::string general = Convert(question_.child("generalfeedback"), format_);
        right = WithGeneralFeedback(WithGeneralFeedback(right, correct), general);
        wrong = WithGeneralFeedback(WithGeneralFeedback(wrong, incorrect), general);
        quest.NRep = static_cast<std::uint16_t>(quest.Reps.size());
        if (!wrong.empty())
            SetOwnMessage(quest, kWrongSide, std::move(wrong));
        if (!right.empty())
            SetOwnMessage(quest, kRightSide, std::move(right));
        bank_.Quests.push_back(std::move(quest));
    }

    static void SetOwnMessage(TQuest& quest, int side, std::string message)
    {
        quest.UseGenMess[static_cast<std::size_t>(side)] = false;
        quest.Mess[static_cast<std::size_t>(side)] = std::move(message);
    }

    LineCounter lines_;
    TImportedBank bank_;
    std::unordered_map<std::string, std::size_t> taken_; // lower-case picture name: index in Pictures
    std::unordered_map<std::string, std::size_t> nextSuffix_; // lower-case name: next "-n" to try

    // The question being read, and what the bank held before it.
    pugi::xml_node question_;
    pugi::xml_node questionText_;
    Format format_ = Format::Auto;
    int line_ = 0;
    std::string name_; // UTF-8
    std::string title_;
    std::size_t picturesMark_ = 0;
    std::size_t notesMark_ = 0;
    int referencesMark_ = 0;
};

} // namespace

TImportedBank ReadMoodleXml(std::string_view bytes)
{
    const std::string text = Utf8Source(bytes);

    pugi::xml_document doc;
    const pugi::xml_parse_result parsed
        = doc.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_utf8);
    if (!parsed) {
        LineCounter lines(text);
        Refuse("Le fichier n'est pas du XML bien form\xE9, ligne " + std::to_string(lines.LineAt(parsed.offset)) + " : "
            + ParseProblem(parsed.status) + ".");
    }
    const pugi::xml_node root = doc.document_element();
    const std::string rootName = root.name();
    if (rootName != "quiz" && rootName != "question")
        Refuse("Ce fichier XML n'est pas une banque de questions Moodle XML : son \xE9l\xE9ment principal est <"
            + Utf8ToCp1252(rootName.substr(0, kMaxQuotedChars)) + "> et non <quiz>.");

    BankReader reader(text);
    if (rootName == "question")
        reader.Read(root);
    else
        for (const pugi::xml_node question : root.children("question"))
            reader.Read(question);
    return reader.Take();
}

} // namespace tavimor
