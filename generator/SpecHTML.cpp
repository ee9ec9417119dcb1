#include "generator/SpecHTML.h"

#include "model/Errors.h"
#include "model/FileIo.h"

#include <array>
#include <filesystem>
#include <sys/stat.h>

namespace tavimor {
namespace {

// Named character references of the Latin-1 letters C0..FF (no entry for
// the multiplication and division signs D7 and F7).
constexpr std::array<const char*, 64> kEntityNames {
    "Agrave", "Aacute", "Acirc", "Atilde", "Auml", "Aring", "AElig", "Ccedil", // C0
    "Egrave", "Eacute", "Ecirc", "Euml", "Igrave", "Iacute", "Icirc", "Iuml", // C8
    "ETH", "Ntilde", "Ograve", "Oacute", "Ocirc", "Otilde", "Ouml", nullptr, // D0
    "Oslash", "Ugrave", "Uacute", "Ucirc", "Uuml", "Yacute", "THORN", "szlig", // D8
    "agrave", "aacute", "acirc", "atilde", "auml", "aring", "aelig", "ccedil", // E0
    "egrave", "eacute", "ecirc", "euml", "igrave", "iacute", "icirc", "iuml", // E8
    "eth", "ntilde", "ograve", "oacute", "ocirc", "otilde", "ouml", nullptr, // F0
    "oslash", "ugrave", "uacute", "ucirc", "uuml", "yacute", "thorn", "yuml", // F8
};

// Accent folding of link targets; 0 leaves the character as it is.
char FoldedLetter(unsigned char c)
{
    switch (c) {
    case 0xC0:
    case 0xC2:
        return 'A';
    case 0xC7:
    case 0xE7:
        return 'c';
    case 0xC8:
    case 0xC9:
    case 0xCB:
        return 'E';
    case 0xCE:
    case 0xCF:
        return 'I';
    case 0xD4:
        return 'O';
    case 0xD9:
    case 0xDB:
    case 0xDC:
        return 'U';
    case 0xE0:
    case 0xE2:
        return 'a';
    case 0xE8:
    case 0xE9:
    case 0xEA:
    case 0xEB:
        return 'e';
    case 0xEE:
    case 0xEF:
        return 'i';
    case 0xF4:
        return 'o';
    case 0xF9:
    case 0xFB:
    case 0xFC:
        return 'u';
    default:
        return 0;
    }
}

std::string Num(unsigned value)
{
    return std::to_string(value);
}

} // namespace

std::string TitleTag(const std::string& title)
{
    return title.empty() ? std::string() : "<TITLE>" + title + "</TITLE>";
}

std::string PageHead(
    const std::string& extra, const std::string& script, const std::string& css, const std::string& title)
{
    std::string head = "<HTML>\n<HEAD>\n\t";
    if (script.find(".js") != std::string::npos)
        head += "<SCRIPT SRC=\"" + script + "\" LANGUAGE=\"JavaScript\"></SCRIPT>\n";
    else
        head += script;
    head += TAB;
    if (css.find(".css") != std::string::npos)
        head += "<LINK REL=\"stylesheet\" HREF=\"" + css + "\" TYPE=\"text/css\">\n";
    else
        head += css;
    head += TAB;
    if (!extra.empty())
        head += TAB + extra + LF;
    head += TAB;
    head += TitleTag(title);
    head += "\n</HEAD> \n";
    return head;
}

std::string HeadingTag(const std::string& text, const std::string& cssClass, std::uint16_t level)
{
    std::string tag = "<H" + Num(level);
    if (!cssClass.empty())
        tag += " class=" + cssClass;
    return tag + ">" + EntityEncode(text) + "</H" + Num(level) + ">\n";
}

std::string TableTag(std::uint16_t width, std::uint16_t padding, std::uint16_t spacing, bool border)
{
    return "<TABLE width=" + Num(width) + " Align=center cellPadding=" + Num(padding) + " cellSpacing=" + Num(spacing)
        + " border=" + (border ? "1" : "0") + ">";
}

std::string RuleTag(std::uint16_t width)
{
    return "<P> <HR WIDTH=" + Num(width) + "> <P>\n";
}

std::string AnchorTag(const std::string& target, const std::string& text)
{
    return "<A HREF=\"" + FoldAccents(target) + "\">" + EntityEncode(text) + "</A>";
}

std::string BodyEnd()
{
    return "\n</BODY>\n</HTML>";
}

std::string ButtonTag(const std::string& name, const std::string& caption, const std::string& action)
{
    return "<INPUT TYPE=BUTTON NAME=\"" + name + "\" VALUE=\"" + caption + "\" onClick=\"" + action + "\">\n";
}

std::string CheckBoxTag(const std::string& name, const std::string& label, bool checked)
{
    return "<INPUT TYPE=checkbox NAME=\"" + name.substr(0, 255) + "\"" + (checked ? " CHECKED " : "") + ">"
        + label.substr(0, 255);
}

std::string BlankPage(const std::string& headContent)
{
    return "<HTML>\n<HEAD>\n" + headContent + "\n</HEAD>\n<BODY></BODY>\n</HTML>\n";
}

std::string EntityEncode(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        const char* name = byte >= 0xC0 ? kEntityNames[byte - 0xC0] : nullptr;
        if (name) {
            out += '&';
            out += name;
            out += ';';
        } else {
            out += c;
        }
    }
    return out;
}

std::string JsEscape(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (const char c : text) {
        if (c == '\r' || c == '\n' || c == '\\')
            continue;
        if (c == '"' || c == '(' || c == ')')
            out += '\\';
        out += c;
    }
    return out;
}

std::string JsText(std::string_view text)
{
    return JsEscape(EntityEncode(text));
}

std::string FoldAccents(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (const char folded = FoldedLetter(static_cast<unsigned char>(c)))
            c = folded;
    return out;
}

std::string TextAfterChar(char c, const std::string& s, const std::string& fallback)
{
    const auto at = s.find(c);
    return at == std::string::npos ? fallback : s.substr(at + 1);
}

std::string TextBefore(const std::string& sub, const std::string& s)
{
    const auto at = s.find(sub);
    return at == std::string::npos ? s : s.substr(0, at);
}

std::string Trim(std::string_view s)
{
    const auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return std::string(s);
}

std::string StripExtension(const std::string& s)
{
    return TextBefore(".", Trim(s));
}

std::string RemoveChar(char c, const std::string& s)
{
    std::string out;
    out.reserve(s.size());
    for (const char x : s)
        if (x != c)
            out += x;
    return out;
}

std::string ReplaceOrAppend(const std::string& token, const std::string& value, const std::string& s)
{
    const auto at = s.find(token);
    if (at == std::string::npos)
        return s + " " + value;
    std::string out = s;
    out.replace(at, token.size(), value);
    return out;
}

std::string BoolToFlag(bool b)
{
    return b ? "1" : "0";
}

bool FlagToBool(const std::string& s)
{
    return Trim(s) != "0";
}

bool MakeFolder(const std::string& path)
{
    struct stat info { };
    if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
        return false;
    ::mkdir(path.c_str(), 0777);
    return true;
}

void ExportGifResource(const GifSource& gifs, const std::string& name, const std::string& folder)
{
    const auto bytes = gifs.Find(name);
    if (!bytes)
        throw Error("Resource " + name + " not found");
    WriteFileAtomically(folder + name + ".gif", *bytes);
}

void CopyFileTo(const std::string& source, const std::string& destination)
{
    namespace fs = std::filesystem;
    std::error_code ignored;
    fs::path target = fs::absolute(fs::path(destination), ignored);
    if (fs::is_directory(target, ignored))
        target /= fs::path(source).filename();
    const std::string bytes = ReadWholeFile(source);
    WriteFileAtomically(target.string(), bytes);
}

void SavePage(const std::string& path, std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 16 + 2);
    std::size_t start = 0;
    while (start < text.size()) {
        const auto end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            out.append(text.substr(start));
            out += "\r\n";
            break;
        }
        out.append(text.substr(start, end - start));
        out += "\r\n";
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n')
            ++start;
    }
    WriteFileAtomically(path, out);
}

} // namespace tavimor
