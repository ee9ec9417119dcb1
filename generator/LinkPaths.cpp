#include "generator/LinkPaths.h"

#include "base/TextHelpers.h"
#include "generator/SpecHTML.h"

namespace tavimor {

namespace {

constexpr std::string_view kTargetPart = " TARGET=";

void AppendOptional(std::string& tag, std::string_view name, const std::string& value)
{
    if (!value.empty())
        tag.append(name).append(value);
}

std::string WithoutQuotes(std::string_view text)
{
    std::string result;
    for (const char c : text) {
        if (c != '"')
            result += c;
    }
    return result;
}

} // namespace

std::string ImageTag(const TImageTagParts& parts)
{
    std::string tag = "<IMG SRC=\"" + parts.OutPath + parts.ImgName + "\" BORDER=" + parts.Border;
    AppendOptional(tag, " WIDTH=", parts.Width);
    AppendOptional(tag, " HEIGHT=", parts.Height);
    AppendOptional(tag, " HSPACE=", parts.HSpace);
    AppendOptional(tag, " VSPACE=", parts.VSpace);
    AppendOptional(tag, " ALIGN=", parts.Align);
    if (!parts.Alt.empty())
        tag += " ALT=\"" + parts.Alt + '"';
    return tag + '>';
}

std::string ConvertSlash(std::string_view rest, char separator)
{
    std::string result;
    for (std::size_t end = rest.find(separator); end != std::string_view::npos; end = rest.find(separator)) {
        result.append(rest.substr(0, end)).append("/");
        rest.remove_prefix(end + 1);
    }
    return result;
}

std::string FixRelPath(std::string_view pictureFolder, std::string_view startFolder, char separator)
{
    for (;;) {
        const std::size_t a = pictureFolder.find(separator);
        const std::size_t b = startFolder.find(separator);
        if (a == std::string_view::npos || b == std::string_view::npos
            || pictureFolder.substr(0, a) != startFolder.substr(0, b))
            break;
        pictureFolder.remove_prefix(a + 1);
        startFolder.remove_prefix(b + 1);
    }
    std::string result;
    for (const char c : startFolder) {
        if (c == separator)
            result += "../";
    }
    return result + ConvertSlash(pictureFolder, separator);
}

std::string RelativeImageFolder(std::string_view pictureFolder, std::string_view startFolder, char separator)
{
    return pictureFolder == startFolder ? std::string() : FixRelPath(pictureFolder, startFolder, separator);
}

std::string LinkAddress(std::string_view fileName, std::string_view target)
{
    std::string address = '"' + std::string(fileName) + '"';
    // A target of blanks would name a new window " ": it means no target.
    const std::string frame = TrimBlanks(target);
    if (!frame.empty())
        address.append(kTargetPart).append("\"").append(frame).append("\"");
    return address;
}

TLinkSeed LinkSeedFromCaptions(std::string_view checkCaption, std::string_view buttonCaption)
{
    TLinkSeed seed;
    const std::size_t bar = checkCaption.find('|');
    seed.LinkText = bar == std::string_view::npos ? "nom_du_lien" : std::string(checkCaption.substr(bar + 1));
    // The target is read after " TARGET=" rather than after the first "=",
    // so that a file name holding "=" stays whole.
    const std::size_t target = buttonCaption.find(kTargetPart);
    seed.Target
        = target == std::string_view::npos ? " " : WithoutQuotes(buttonCaption.substr(target + kTargetPart.size()));
    seed.FileName = WithoutQuotes(buttonCaption.substr(0, target));
    return seed;
}

std::string CheckCaptionWithLinkText(std::string_view checkCaption, std::string_view linkText)
{
    return std::string(checkCaption.substr(0, checkCaption.find('|'))) + '|' + std::string(linkText);
}

} // namespace tavimor
