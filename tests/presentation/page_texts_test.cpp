#include "base/Errors.h"
#include "base/ValueStream.h"
#include "presentation/PageTexts.h"

#include <gtest/gtest.h>
#include <vector>

using namespace tavimor;

namespace {

TEST(THMPListTest, IndexOutsideTheThreePagesFails)
{
    THMPList pages;
    EXPECT_THROW(pages.GetTitle(3), ListIndexError);
    EXPECT_THROW(pages.SetBody(-1, "x"), ListIndexError);
    try {
        pages.GetBody(5);
        FAIL() << "no error";
    } catch (const ListIndexError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (5)");
    }
}

TEST(THMPListTest, PagesOneAndTwoAreRemembered)
{
    struct Call {
        int page;
        THMPList::TextKind kind;
        std::string text;
    };
    std::vector<Call> calls;
    THMPList pages;
    pages.SetRememberHook([&calls](int page, THMPList::TextKind kind, const std::string& text) {
        calls.push_back({page, kind, text});
    });
    pages.SetTitle(0, "Bienvenue");
    pages.SetBody(0, "Texte");
    pages.SetTitle(1, "Fini?");
    pages.SetBody(2, "Voici vos r\xE9sultats.");
    EXPECT_EQ(pages.GetTitle(0), "Bienvenue");
    EXPECT_EQ(pages.GetTitle(1), "Fini?");
    EXPECT_EQ(pages.GetBody(2), "Voici vos r\xE9sultats.");
    ASSERT_EQ(calls.size(), 2U);
    EXPECT_EQ(calls[0].page, 1);
    EXPECT_EQ(calls[0].kind, THMPList::TextKind::Title);
    EXPECT_EQ(calls[0].text, "Fini?");
    EXPECT_EQ(calls[1].page, 2);
    EXPECT_EQ(calls[1].kind, THMPList::TextKind::Body);
}

TEST(THTMPrefsTest, BodyTag)
{
    EXPECT_EQ(THTMPrefs::BodyTag("SetName()"), "<BODY onLoad=\"SetName()\">");
    EXPECT_EQ(THTMPrefs::BodyTag(""), "<BODY>");
}

std::string String8(const std::string& text)
{
    return "\x06" + std::string(1, static_cast<char>(text.size())) + text;
}

TEST(THTMPrefsTest, DefaultLayoutBlockBytes)
{
    THTMPrefs prefs;
    prefs.NoBorder = true;
    prefs.ResetFlags();
    TValueWriter writer;
    prefs.WriteBlock(writer);
    std::string expected = "\x09\x08\x08";
    for (int i = 0; i < 5; ++i)
        expected += String8("empty string");
    for (const char* name : {"KWZ", "bGreen", "navBtn", "Eval", "bRes", "nImg", "gImg", "bImg", "bYellow"})
        expected += String8(name);
    EXPECT_EQ(writer.Bytes(), expected);
}

TEST(THTMPrefsTest, ReadBlockIgnoresSpareStringsAndCutsNames)
{
    TValueWriter writer;
    writer.WriteBoolean(false);
    writer.WriteBoolean(true);
    writer.WriteBoolean(true);
    for (const char* spare : {"x", "", "caf\xE9", "empty string", "?"})
        writer.WriteString(spare);
    writer.WriteString(std::string(300, 'n'));
    for (int i = 1; i < kImageCount; ++i)
        writer.WriteString("img" + std::to_string(i));

    THTMPrefs prefs;
    TValueReader reader(writer.Bytes());
    prefs.ReadBlock(reader);
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_FALSE(prefs.MenuLeft);
    EXPECT_TRUE(prefs.NoBorder);
    EXPECT_TRUE(prefs.DistinctPages);
    EXPECT_EQ(prefs.ImgNames[0], std::string(255, 'n'));
    EXPECT_EQ(prefs.ImgNames[8], "img8");

    // A block cut short changes nothing.
    THTMPrefs untouched;
    TValueReader shortReader(std::string_view(writer.Bytes()).substr(0, writer.Bytes().size() - 3));
    EXPECT_THROW(untouched.ReadBlock(shortReader), StreamReadError);
    EXPECT_TRUE(untouched.MenuLeft);
    EXPECT_EQ(untouched.ImgNames, DefaultImageNames());
}

TEST(THTMPrefsTest, ReadOldBlock)
{
    TValueWriter writer;
    for (int i = 0; i < 7; ++i)
        writer.WriteString("old" + std::to_string(i));
    writer.WriteInteger(1);
    writer.WriteInteger(70000);
    writer.WriteBoolean(false); // MenuLeft
    writer.WriteBoolean(true); // NoBorder
    for (int i = 0; i < 5; ++i)
        writer.WriteInteger(i);
    writer.WriteBoolean(true); // DistinctPages
    for (int i = 0; i < kImageCount; ++i)
        writer.WriteString("n" + std::to_string(i));

    THTMPrefs prefs;
    TValueReader reader(writer.Bytes());
    prefs.ReadOldBlock(reader);
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_FALSE(prefs.MenuLeft);
    EXPECT_TRUE(prefs.NoBorder);
    EXPECT_TRUE(prefs.DistinctPages);
    EXPECT_EQ(prefs.ImgNames[0], "n0");
    EXPECT_EQ(prefs.ImgNames[8], "n8");
}

} // namespace
