#include "presentation/PageTexts.h"

#include "base/Errors.h"
#include "base/ValueStream.h"

namespace tavimor {

namespace {

constexpr int kSpareStrings = 5;
constexpr const char* kSpareText = "empty string";
constexpr std::size_t kMaxImageNameLength = 255;

ImageNames ReadImageNames(TValueReader& reader)
{
    ImageNames names;
    for (std::string& name : names)
        name = reader.ReadString().substr(0, kMaxImageNameLength);
    return names;
}

} // namespace

THMessPage& THMPList::Page(int page)
{
    if (page < 0 || page >= kPageCount)
        throw ListIndexError(page);
    return pages_[static_cast<std::size_t>(page)];
}

const THMessPage& THMPList::Page(int page) const
{
    if (page < 0 || page >= kPageCount)
        throw ListIndexError(page);
    return pages_[static_cast<std::size_t>(page)];
}

const std::string& THMPList::GetTitle(int page) const
{
    return Page(page).Title;
}

const std::string& THMPList::GetBody(int page) const
{
    return Page(page).Body;
}

void THMPList::SetTitle(int page, const std::string& text)
{
    Page(page).Title = text;
    if (page != 0 && remember_)
        remember_(page, TextKind::Title, text);
}

void THMPList::SetBody(int page, const std::string& text)
{
    Page(page).Body = text;
    if (page != 0 && remember_)
        remember_(page, TextKind::Body, text);
}

const ImageNames& DefaultImageNames()
{
    static const ImageNames kDefaults = {"KWZ", "bGreen", "navBtn", "Eval", "bRes", "nImg", "gImg", "bImg", "bYellow"};
    return kDefaults;
}

std::string THTMPrefs::BodyTag(const std::string& action)
{
    if (action.empty())
        return "<BODY>";
    return "<BODY onLoad=\"" + action + "\">";
}

void THTMPrefs::ResetFlags()
{
    MenuLeft = true;
    NoBorder = false;
    DistinctPages = false;
}

void THTMPrefs::WriteBlock(TValueWriter& writer) const
{
    writer.WriteBoolean(MenuLeft);
    writer.WriteBoolean(NoBorder);
    writer.WriteBoolean(DistinctPages);
    for (int i = 0; i < kSpareStrings; ++i)
        writer.WriteString(kSpareText);
    for (const std::string& name : ImgNames)
        writer.WriteString(name);
}

void THTMPrefs::ReadBlock(TValueReader& reader)
{
    const bool menuLeft = reader.ReadBoolean();
    const bool noBorder = reader.ReadBoolean();
    const bool distinctPages = reader.ReadBoolean();
    for (int i = 0; i < kSpareStrings; ++i)
        reader.ReadString();
    ImageNames names = ReadImageNames(reader);

    MenuLeft = menuLeft;
    NoBorder = noBorder;
    DistinctPages = distinctPages;
    ImgNames = std::move(names);
}

void THTMPrefs::ReadOldBlock(TValueReader& reader)
{
    for (int i = 0; i < 7; ++i)
        reader.ReadString();
    for (int i = 0; i < 2; ++i)
        reader.ReadInteger();
    const bool menuLeft = reader.ReadBoolean();
    const bool noBorder = reader.ReadBoolean();
    for (int i = 0; i < 5; ++i)
        reader.ReadInteger();
    const bool distinctPages = reader.ReadBoolean();
    ImageNames names = ReadImageNames(reader);

    MenuLeft = menuLeft;
    NoBorder = noBorder;
    DistinctPages = distinctPages;
    ImgNames = std::move(names);
}

} // namespace tavimor
