// The HTML parameters file: its bytes, reading it back, and the files it refuses.
#include "base/Errors.h"
#include "base/FileIo.h"
#include "base/ValueStream.h"
#include "common/temp_folder.h"
#include "presentation/HtmlParams.h"

#include <gtest/gtest.h>

#include <string>

namespace tavimor {
namespace {

using test::TempFolder;

THTMPrefs OtherLayout()
{
    THTMPrefs layout;
    layout.MenuLeft = false;
    layout.NoBorder = true;
    layout.DistinctPages = true;
    layout.ImgNames = {"logo", "vert", "nav", "\xE9val", "res", "n", "g", "b", "jaune"};
    return layout;
}

std::string Fields(const THTMPrefs& layout)
{
    std::string text
        = std::to_string(layout.MenuLeft) + std::to_string(layout.NoBorder) + std::to_string(layout.DistinctPages);
    for (const std::string& name : layout.ImgNames)
        text += "|" + name;
    return text;
}

TEST(HtmlParamsTest, StartsWithSignatureNumberAndFlags)
{
    const std::string bytes = HtmlParamsBytes(THTMPrefs {});
    const std::string start = std::string("\x06\x16", 2) + "Tavimor HTMStyle Prefs" + std::string("\x02\x01", 2)
        + std::string("\x09\x08\x08", 3) + std::string("\x06\x0C", 2) + "empty string";
    ASSERT_GE(bytes.size(), start.size());
    EXPECT_EQ(bytes.substr(0, start.size()), start);
    // Five spare strings, then the nine names, and nothing after them.
    std::string tail;
    for (const char* name : {"KWZ", "bGreen", "navBtn", "Eval", "bRes", "nImg", "gImg", "bImg", "bYellow"})
        tail += std::string(1, '\x06') + static_cast<char>(std::string(name).size()) + name;
    EXPECT_EQ(bytes.size(), 24 + 2 + 3 + 5 * 14 + tail.size());
    EXPECT_EQ(bytes.substr(bytes.size() - tail.size()), tail);
}

TEST(HtmlParamsTest, SavedFileLoadsBack)
{
    TempFolder folder;
    const std::string path = folder.File("mise en page.qph");
    SaveHtmlParams(OtherLayout(), path);
    EXPECT_EQ(ReadWholeFile(path), HtmlParamsBytes(OtherLayout()));

    THTMPrefs loaded;
    const HtmlParamsOutcome outcome = LoadHtmlParams(loaded, path);
    EXPECT_TRUE(outcome.Compatible);
    EXPECT_EQ(outcome.Message, "");
    EXPECT_EQ(Fields(loaded), Fields(OtherLayout()));
}

TEST(HtmlParamsTest, ForeignFilesAreRefusedAndChangeNothing)
{
    const auto withHead = [](const std::string& signature, int number) {
        TValueWriter writer;
        writer.WriteString(signature);
        writer.WriteInteger(number);
        THTMPrefs {}.WriteBlock(writer);
        return writer.Bytes();
    };
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"letter case", withHead("Tavimor HTMStyle prefs", 1)},
        {"other text", withHead("Tavimor Style Prefs", 1)},
        {"format 2", withHead("Tavimor HTMStyle Prefs", 2)},
        {"format 0", withHead("Tavimor HTMStyle Prefs", 0)},
        {"signature alone but wrong",
            std::string("\x06\x03"
                        "abc",
                5)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        THTMPrefs layout = OtherLayout();
        const HtmlParamsOutcome outcome = ReadHtmlParams(layout, c.bytes);
        EXPECT_FALSE(outcome.Compatible);
        EXPECT_EQ(outcome.Message, "Ce fichier n'est pas compatible ...");
        EXPECT_EQ(Fields(layout), Fields(OtherLayout()));
    }
}

TEST(HtmlParamsTest, ReadErrors)
{
    {
        SCOPED_TRACE("a document file starts with an integer");
        TValueWriter writer;
        writer.WriteInteger(5);
        writer.WriteString("Nom de l'auteur");
        THTMPrefs layout = OtherLayout();
        try {
            ReadHtmlParams(layout, writer.Bytes());
            ADD_FAILURE() << "no error";
        } catch (const InvalidPropertyValue& e) {
            EXPECT_STREQ(e.what(), "Invalid property value");
        }
        EXPECT_EQ(Fields(layout), Fields(OtherLayout()));
    }
    {
        SCOPED_TRACE("cut short inside the block");
        const std::string bytes = HtmlParamsBytes(THTMPrefs {});
        THTMPrefs layout;
        EXPECT_THROW(ReadHtmlParams(layout, bytes.substr(0, bytes.size() - 3)), StreamReadError);
        EXPECT_THROW(ReadHtmlParams(layout, bytes.substr(0, 10)), StreamReadError);
    }
    {
        SCOPED_TRACE("missing and unwritable files");
        TempFolder folder;
        THTMPrefs layout;
        const std::string missing = folder.File("absent.qph");
        try {
            LoadHtmlParams(layout, missing);
            ADD_FAILURE() << "no error";
        } catch (const FileOpenError& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot open file " + missing);
        }
        const std::string inMissingFolder = folder.File("absent/p.qph");
        try {
            SaveHtmlParams(layout, inMissingFolder);
            ADD_FAILURE() << "no error";
        } catch (const FileCreateError& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot create file " + inMissingFolder);
        }
    }
}

} // namespace
} // namespace tavimor
