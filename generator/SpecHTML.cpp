#include "generator/SpecHTML.h"

#include "base/ByteScan.h"
#include "base/Errors.h"
#include "base/FileIo.h"
#include "base/TextHelpers.h"
#include "generator/EscapeTable.h"

#include <sys/stat.h>

#include <array>
#include <cstring>
#include <filesystem>
#include <utility>

namespace tavimor {
namespace {

// Accent folding of link targets: the letters that lose their accent.
constexpr std::pair<const char*, char> kFoldedLetters[] = {
    {"\xC0\xC2", 'A'},
    {"\xC7\xE7", 'c'},
    {"\xC8\xC9\xCB", 'E'},
    {"\xCE\xCF", 'I'},
    {"\xD4", 'O'},
    {"\xD9\xDB\xDC", 'U'},
    {"\xE0\xE2", 'a'},
    {"\xE8\xE9\xEA\xEB", 'e'},
    {"\xEE\xEF", 'i'},
    {"\xF4", 'o'},
    {"\xF9\xFB\xFC", 'u'},
};

constexpr ByteSet kLineBreaks("\r\n", 0);

// A byte-for-byte replacement: each byte becomes one byte.
constexpr std::array<char, 256> kFoldTable = [] {
    std::array<char, 256> table {};
    for (unsigned byte = 0; byte < 256; ++byte)
        table[byte] = static_cast<char>(byte);
    for (const auto& [letters, folded] : kFoldedLetters)
        for (const char letter : std::string_view(letters))
            table[static_cast<unsigned char>(letter)] = folded;
    return table;
}();

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

void AppendEntityEncode(std::string& out, std::string_view text)
{
    escape::kEntities.Append(out, text);
}

void AppendJsEscape(std::string& out, std::string_view text)
{
    escape::kScript.Append(out, text);
}

void AppendJsText(std::string& out, std::string_view text)
{
    escape::kScriptText.Append(out, text);
}

void AppendFoldAccents(std::string& out, std::string_view text)
{
    const std::size_t start = out.size();
    out.resize(start + text.size());
    char* to = out.data() + start;
    for (const char c : text)
        *to++ = kFoldTable[static_cast<unsigned char>(c)];
}

std::string EntityEncode(std::string_view text)
{
    std::string out;
    AppendEntityEncode(out, text);
    return out;
}

std::string JsEscape(std::string_view text)
{
    std::string out;
    AppendJsEscape(out, text);
    return out;
}

std::string JsText(std::string_view text)
{
    std::string out;
    AppendJsText(out, text);
    return out;
}

std::string FoldAccents(std::string_view text)
{
    std::string out;
    AppendFoldAccents(out, text);
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

std::string StripExtension(const std::string& s)
{
    return TextBefore(".", TrimBlanks(s));
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
    return TrimBlanks(s) != "0";
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
    // The image goes into the preferences folder, where its presence means
    // "use this one" from then on: an image left empty by a crash would be
    // copied into every later site, so it is synced like the user's files.
    WriteFileAtomically(folder + name + ".gif", *bytes, Durability::Durable);
}

void CopyFileTo(const std::string& source, const std::string& destination, Durability durability)
{
    namespace fs = std::filesystem;
    std::error_code ignored;
    fs::path target = fs::absolute(fs::path(destination), ignored);
    if (fs::is_directory(target, ignored))
        target /= fs::path(source).filename();
    const std::string bytes = ReadWholeFile(source);
    WriteFileAtomically(target.string(), bytes, durability);
}

PageWriter::PageWriter(const std::string& path, LineBreaks breaks, Length length)
    : file_(path, Durability::Regenerable)
    , breaks_(breaks)
{
    if (length == Length::Long)
        text_.Reserve(kChunkRoom);
}

PageWriter::~PageWriter() = default;

void PageWriter::Store()
{
    if (behind_) {
        StoreBehind();
        behind_->Finish();
        behind_.reset();
        return;
    }
    if (text_.Empty())
        return;
    stored_ += text_.Size();
    Convert(text_.View());
    text_.Clear();
}

void PageWriter::StoreBehind()
{
    if (text_.Empty())
        return;
    stored_ += text_.Size();
    if (!behind_)
        behind_ = std::make_unique<WriteBehind>([this](std::string_view chunk) { Convert(chunk); });
    std::string chunk = text_.Take(std::move(spare_));
    // Made in one step where no written chunk gives its room back.
    text_.Reserve(kChunkRoom);
    behind_->Push(chunk);
    spare_ = std::move(chunk);
}

void PageWriter::Write(std::string_view text)
{
    Store();
    stored_ += text.size();
    Convert(text);
}

void PageWriter::ReadBack(std::size_t offset, const std::function<void(std::string_view)>& use)
{
    Store();
    file_.ReadBack(offset, use);
}

void PageWriter::Convert(std::string_view text)
{
    if (text.empty())
        return;
    if (breaks_ == LineBreaks::CrLf) {
        lineOpen_ = text.back() != '\n';
        file_.Write(text);
        return;
    }
    // Each byte gives at most two, and the run copies need sixteen spare.
    if (lines_.size() < 2 * text.size() + 16)
        lines_.resize(2 * text.size() + 16);
    const char* from = text.data();
    if (pendingCr_ && *from == '\n')
        ++from;
    // Every line break (CR LF, CR or LF) becomes CR LF.
    const char* const to = kLineBreaks.CopyRuns(
        from, text.data() + text.size(), lines_.data(), [](const char*& at, const char* end, char*& out) {
            const char c = *at++;
            *out++ = '\r';
            *out++ = '\n';
            if (c == '\r' && at != end && *at == '\n')
                ++at;
        });
    const char last = text.back();
    pendingCr_ = last == '\r';
    lineOpen_ = last != '\r' && last != '\n';
    file_.Write(std::string_view(lines_.data(), static_cast<std::size_t>(to - lines_.data())));
}

void PageWriter::Commit()
{
    Store();
    if (lineOpen_)
        file_.Write("\r\n");
    file_.Commit();
}

void SavePage(const std::string& path, std::string_view text)
{
    PageWriter page(path);
    page.Write(text);
    page.Commit();
}

} // namespace tavimor
