#include "base/Errors.h"
#include "base/FileIo.h"
#include "base/ValueStream.h"
#include "common/temp_folder.h"
#include "presentation/StylePrefs.h"

#include <gtest/gtest.h>

#include <ostream>

using namespace tavimor;

namespace {

using tavimor::test::TempFolder;

TStylePrefs StartupPrefs()
{
    TStylePrefs prefs;
    prefs.SetStartupElements("/prefs/");
    return prefs;
}

// A read element equals the written one; when transparent its background
// value is the page background of the preferences that read it.
void ExpectSameSpecs(const TStyleSpecs& read, const TStyleSpecs& written, ColorValue pageBackground)
{
    EXPECT_EQ(read.ToText(), written.ToText());
    EXPECT_EQ(read.Size, written.Size);
    EXPECT_EQ(read.BGValue, written.Transparent ? pageBackground : written.BGValue) << written.Selector;
}

// A conversion error naming the offending text.
template <typename F> void ExpectConvertError(F&& action, const std::string& text)
{
    try {
        action();
        FAIL() << "no error for " << text;
    } catch (const ConvertError& e) {
        EXPECT_EQ(std::string(e.what()), "'" + text + "' is not a valid integer value");
    }
}

TEST(StylePrefsTest, StartupElementTexts)
{
    const TStylePrefs prefs = StartupPrefs();
    EXPECT_EQ(prefs.StyleSpecs[2].ToText(), "H2;white;Arial;18;2;navy;8388608;1;;;;");
    EXPECT_EQ(prefs.StyleSpecs[0].ToText(), "Body;WHITE;Arial;10;3;black;0;1;2%,7%;;;");
    EXPECT_EQ(prefs.StyleSpecs[5].ToText(), "H6;white;Arial;8;2;green;32768;1;;;;");
    EXPECT_EQ(prefs.StyleSpecs[12].ToText(), ";white;Arial;11;0;black;0;1;;;;");
    EXPECT_EQ(prefs.LinkStylesToText(), "blue;16711680;0;red;255;0;purple;8388736;0;");
    EXPECT_EQ(prefs.ElemTitle[7], "R\xE9ponses");
    EXPECT_EQ(prefs.ElemInfo[0], "Texte courant, utilis\xE9 partout, couleur g\xE9n\xE9rale");
    EXPECT_EQ(prefs.PrefsDir, "/prefs/");
}

TEST(StylePrefsTest, WithoutStartupTableTheBuiltInElementsApply)
{
    const TStylePrefs prefs;
    EXPECT_EQ(prefs.StyleSpecs[5].ToText(), "H5;white;Arial;14;0;green;32768;1;;;;");
    EXPECT_EQ(prefs.StyleSpecs[9].Selector, "BLOCKQUOTE");
    EXPECT_EQ(prefs.ElemSelector[11], ".citation");
}

TEST(StylePrefsTest, SetDefaultsReturnsToTheStartupTable)
{
    TStylePrefs prefs = StartupPrefs();
    prefs.StyleSpecs[5].FromText("X;navy;Times;30;1;red;255;0;1em;2em;a:b#;", prefs.BGSysCol);
    prefs.PMargin = "1%";
    prefs.LinkStyles[0].Underline = true;
    prefs.SetDefaults();
    EXPECT_EQ(prefs.StyleSpecs[5].ToText(), "H6;white;Arial;8;2;green;32768;1;;;;");
    EXPECT_EQ(prefs.StyleSpecs[0].Margin, "2%,7%");
    EXPECT_EQ(prefs.LinkStylesToText(), "blue;16711680;0;red;255;0;purple;8388736;0;");
}

struct OptionsCase {
    const char* options;
    const char* field; // field 11 as written
    const char* readBack;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const OptionsCase& c, std::ostream* os)
{
    *os << "options \"" << c.field << "\"";
}

class OptionsEncodingTest : public ::testing::TestWithParam<OptionsCase> { };

TEST_P(OptionsEncodingTest, EncodesIntoOneFieldAndDecodes)
{
    const OptionsCase& c = GetParam();
    TStyleSpecs specs = TStyleSpecs::Create(1, "Arial", "H1");
    specs.Options = c.options;
    const std::string text = specs.ToText();
    EXPECT_EQ(text, std::string("H1;transparent;Arial;20;2;black;0;1;;;") + c.field + ";");
    TStyleSpecs read;
    read.FromText(text, 0);
    EXPECT_EQ(read.Options, c.readBack);
}

INSTANTIATE_TEST_SUITE_P(Literal, OptionsEncodingTest,
    ::testing::Values(OptionsCase {"border:1px;\r\npadding-top:2px;", "border:1px#padding-top:2px;",
                          "border:1px;\r\npadding-top:2px"},
        OptionsCase {"a:b\r\nc:d;", "a:b;c:d;", "a:b"}, OptionsCase {"", "", ""},
        OptionsCase {"a:1;\r\nb:2;\r\nc:3", "a:1#b:2#c:3", "a:1;\r\nb:2;\r\nc:3"}));

TEST(StyleSpecsTest, FromTextFields)
{
    TStyleSpecs specs;
    specs.FromText("TD; navy ;Verdana;12;1;red;255;0;3px;4px;x:y#z:w;", 0x123456);
    EXPECT_EQ(specs.Selector, "TD");
    EXPECT_EQ(specs.BGName, " navy ");
    EXPECT_EQ(specs.FontFamily, "Verdana");
    EXPECT_EQ(specs.SizeText, "12");
    EXPECT_EQ(specs.Size, 12);
    EXPECT_EQ(specs.AlignIndex, 1);
    EXPECT_EQ(specs.FontColorName, "red");
    EXPECT_EQ(specs.FontColor, 255);
    EXPECT_FALSE(specs.Transparent);
    EXPECT_EQ(specs.BGValue, 0x800000); // looked up by the trimmed name
    EXPECT_EQ(specs.Margin, "3px");
    EXPECT_EQ(specs.Padding, "4px");
    EXPECT_EQ(specs.Options, "x:y;\r\nz:w");

    // Text after the last ";" is dropped; missing fields are empty.
    specs.FromText("H3;white;Arial;16;2;navy;8388608;", 0x123456);
    EXPECT_TRUE(specs.Transparent);
    EXPECT_EQ(specs.BGValue, 0x123456);
    EXPECT_EQ(specs.Margin, "");
    EXPECT_EQ(specs.Options, "");
}

TEST(StyleSpecsTest, TransparencyIsClearedOnlyByZero)
{
    struct Case {
        const char* field;
        bool transparent;
    };
    for (const Case& c : {Case {"", true}, Case {"0", false}, Case {" 0 ", false}, Case {"1", true}, Case {"no", true},
             Case {"00", true}}) {
        TStyleSpecs specs;
        specs.FromText(std::string("H1;red;Arial;10;0;black;0;") + c.field + ";;;;", 7);
        EXPECT_EQ(specs.Transparent, c.transparent) << "'" << c.field << "'";
        EXPECT_EQ(specs.BGValue, c.transparent ? 7 : 255);
    }
}

TEST(StyleSpecsTest, NonNumericFieldFailsAndLeavesTheElement)
{
    const TStyleSpecs original = TStyleSpecs::Create(2, "Arial", "H2");
    struct Case {
        const char* text;
        const char* offending;
    };
    for (const Case& c :
        {Case {"H2;white;Arial;18;x;navy;0;1;;;;", "x"}, Case {"H2;white;Arial;18;2;navy;navy;1;;;;", "navy"},
            Case {"H2;white;Arial;12pt;2;navy;0;1;;;;", "12pt"}, Case {"H2;white", ""}}) {
        TStyleSpecs specs = original;
        ExpectConvertError([&] { specs.FromText(c.text, 0); }, c.offending);
        ExpectSameSpecs(specs, original, original.BGValue);
    }
    TStyleSpecs specs = original;
    specs.FromText("", 0);
    ExpectSameSpecs(specs, original, original.BGValue);
}

TEST(StylePrefsTest, LinkStylesFromText)
{
    TStylePrefs prefs;
    prefs.LinkStylesFromText(" green ; 32768 ; 1 ;red;255;0;purple;8388736;;");
    EXPECT_EQ(prefs.LinkStyles[0].ColorName, "green");
    EXPECT_EQ(prefs.LinkStyles[0].ColorValue, 32768);
    EXPECT_TRUE(prefs.LinkStyles[0].Underline);
    EXPECT_FALSE(prefs.LinkStyles[1].Underline);
    EXPECT_TRUE(prefs.LinkStyles[2].Underline); // empty is not "0"
    EXPECT_EQ(prefs.LinkStyles[2].State, "visited");

    const std::string before = prefs.LinkStylesToText();
    ExpectConvertError([&] { prefs.LinkStylesFromText("blue;bleu;0;red;255;0;purple;1;0;"); }, "bleu");
    EXPECT_EQ(prefs.LinkStylesToText(), before);
}

TEST(StylePrefsTest, CopySpecsCopiesTheWholeElement)
{
    TStylePrefs prefs = StartupPrefs();
    prefs.StyleSpecs[2].Options = "border:1px;\r\nx:y;";
    prefs.StyleSpecs[2].Transparent = false;
    prefs.StyleSpecs[2].BGName = "navy";
    prefs.CopySpecs(2, 10);
    EXPECT_EQ(prefs.StyleSpecs[10].Selector, "H2");
    EXPECT_EQ(prefs.StyleSpecs[10].BGValue, 0x800000);
    EXPECT_EQ(prefs.StyleSpecs[10].Options, "border:1px;\r\nx:y");
    EXPECT_THROW(prefs.CopySpecs(16, 0), ListIndexError);
    EXPECT_THROW(prefs.CopySpecs(0, -1), ListIndexError);
}

// Preferences that differ from the start-up state in every stored value.
TStylePrefs ChangedPrefs()
{
    TStylePrefs prefs = StartupPrefs();
    prefs.BGColor = "ivory";
    prefs.BodyColor = "navy";
    prefs.LinkColor = "blue";
    prefs.ALinkColor = "lime";
    prefs.VLinkColor = "teal";
    prefs.BGSysCol = 0xF0FFFF;
    prefs.BodySysCol = 0x800000;
    prefs.LinkSysColor = 0xFF0000;
    prefs.ALinkSysColor = 0xFF00;
    prefs.VLinkSysColor = 0x808000;
    prefs.DefFontFace = "Verdana";
    prefs.sFileName = "autre.css";
    prefs.PMargin = "1% 3%";
    prefs.StyleSpecs[3].FromText(".big;navy;Georgia;24;1;red;255;0;5%;2px;border:1px#color:red;", prefs.BGSysCol);
    prefs.StyleSpecs[14].FromText(".extra;white;Courier;9;3;black;0;1;;;;", prefs.BGSysCol);
    prefs.StyleSpecs[0].FromText("Body;ivory;Verdana;11;2;navy;8388608;1;1% 3%;;;", prefs.BGSysCol);
    prefs.LinkStylesFromText("navy;8388608;1;lime;65280;1;teal;8421376;1;");
    return prefs;
}

TEST(StylePrefsTest, DocumentBlockRoundTrip)
{
    const TStylePrefs written = ChangedPrefs();
    TValueWriter writer;
    written.WriteTo(writer);

    // 30 values: PMargin comes before sFileName.
    TValueReader layout(writer.Bytes());
    for (int i = 0; i < 5; ++i)
        layout.ReadString();
    for (int i = 0; i < 5; ++i)
        layout.ReadInteger();
    EXPECT_EQ(layout.ReadString(), "Verdana");
    EXPECT_EQ(layout.ReadString(), "1% 3%");
    EXPECT_EQ(layout.ReadString(), "autre.css");
    for (int i = 0; i < 17; ++i)
        layout.ReadString();
    EXPECT_TRUE(layout.AtEnd());

    TStylePrefs read = StartupPrefs();
    TValueReader reader(writer.Bytes());
    read.ReadFrom(reader);
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(read.BGColor, "ivory");
    EXPECT_EQ(read.VLinkColor, "teal");
    EXPECT_EQ(read.BGSysCol, 0xF0FFFF);
    EXPECT_EQ(read.VLinkSysColor, 0x808000);
    EXPECT_EQ(read.PMargin, "1% 3%");
    EXPECT_EQ(read.sFileName, "autre.css");
    for (std::size_t n = 0; n < kStyleSlots; ++n)
        ExpectSameSpecs(read.StyleSpecs[n], written.StyleSpecs[n], 0xF0FFFF);
    EXPECT_EQ(read.LinkStylesToText(), written.LinkStylesToText());
    EXPECT_EQ(read.MakeStyleSheet(), written.MakeStyleSheet());
}

TEST(StylePrefsTest, DocumentBlockWithBadSlotKeepsTheSlotsReadBeforeIt)
{
    TValueWriter writer;
    for (const char* text : {"WHITE", "BLACK", "PURPLE", "RED", "GREEN"})
        writer.WriteString(text);
    for (const int value : {0xFFFFFF, 0, 0x800080, 255, 0x8000})
        writer.WriteInteger(value);
    writer.WriteString("Arial");
    writer.WriteString(std::string(300, 'm'));
    writer.WriteString("cStyle.css");
    writer.WriteString("Body;WHITE;Arial;10;3;black;0;1;;;;");
    writer.WriteString(".new;white;Arial;10;0;black;0;1;;;;");
    writer.WriteString("H2;white;Arial;huge;2;navy;8388608;1;;;;");

    TStylePrefs prefs = StartupPrefs();
    const std::string slot3 = prefs.StyleSpecs[3].ToText();
    TValueReader reader(writer.Bytes());
    ExpectConvertError([&] { prefs.ReadFrom(reader); }, "huge");
    EXPECT_EQ(prefs.PMargin, std::string(255, 'm'));
    EXPECT_EQ(prefs.StyleSpecs[1].Selector, ".new");
    EXPECT_EQ(prefs.StyleSpecs[2].SizeText, "18");
    EXPECT_EQ(prefs.StyleSpecs[3].ToText(), slot3);
}

TEST(StylePrefsTest, PreferencesFileRestoresSlotsButNotLinks)
{
    const TempFolder folder;
    const std::string path = folder.File("mine.sprf");
    const TStylePrefs saved = ChangedPrefs();
    saved.SaveToFile(path);

    const std::string text = ReadWholeFile(path);
    const std::string head = "[STYLEPREFS]\r\nBGColor=ivory\r\nBodyColor=navy\r\nLinkColor=blue\r\nALinkColor=lime\r\n"
                             "VLinkColor=teal\r\nBGSysCol=15794175\r\nBodySysCol=8388608\r\n";
    EXPECT_EQ(text.substr(0, head.size()), head);
    EXPECT_NE(text.find("\r\nDefFontFace=Verdana\r\nsFileName=autre.css\r\nPMargin=1% 3%\r\nStyleSpecs0=Body;"),
        std::string::npos);
    EXPECT_NE(text.find("\r\nStyleSpecs15=;white;Arial;10;0;black;0;1;;;;\r\n"), std::string::npos);

    TStylePrefs loaded = StartupPrefs();
    loaded.LinkStyles[1].Underline = true;
    const std::string links = loaded.LinkStylesToText();
    loaded.LoadFromFile(path);
    for (std::size_t n = 0; n < kStyleSlots; ++n)
        ExpectSameSpecs(loaded.StyleSpecs[n], saved.StyleSpecs[n], 0xF0FFFF);
    EXPECT_EQ(loaded.LinkStylesToText(), links);
    EXPECT_EQ(loaded.BGSysCol, 0xF0FFFF);
    EXPECT_EQ(loaded.PMargin, "1% 3%");
    EXPECT_EQ(loaded.ElemSelector[3], "H3"); // the slot tables are not stored
}

TEST(StylePrefsTest, SavingOverAFileUpdatesItsKeysInPlace)
{
    const TempFolder folder;
    const std::string path = folder.File("mine.sprf");
    WriteFileAtomically(
        path, "; notes\r\n[Other]\r\nK=v;w\r\n\r\n[STYLEPREFS]\r\nPMargin=old\r\n", Durability::Durable);
    StartupPrefs().SaveToFile(path);
    const std::string text = ReadWholeFile(path);
    const std::string head = "; notes\r\n[Other]\r\nK=v;w\r\n\r\n[STYLEPREFS]\r\nPMargin=2%,7%\r\nBGColor=WHITE\r\n";
    EXPECT_EQ(text.substr(0, head.size()), head);
    EXPECT_EQ(text.find("PMargin=", head.size()), std::string::npos);
}

TEST(StylePrefsTest, MissingKeysGiveTheFileDefaults)
{
    const TempFolder folder;
    const std::string path = folder.File("part.sprf");
    TStylePrefs prefs = ChangedPrefs();
    const std::string slot3 = prefs.StyleSpecs[3].ToText();
    prefs.LoadFromFile(folder.File("absent.sprf"));
    EXPECT_EQ(prefs.PMargin, "7%");
    EXPECT_EQ(prefs.BGColor, "WHITE");
    EXPECT_EQ(prefs.VLinkSysColor, 0x8000);
    EXPECT_EQ(prefs.sFileName, "cStyle.css");
    EXPECT_EQ(prefs.StyleSpecs[3].ToText(), slot3);

    // Only slot 2 present: read into its slot, with the file's default page
    // background for a transparent element.
    WriteFileAtomically(
        path, "[stylePrefs]\nstylespecs2=.x;white;Arial;10;0;black;0;;;;;\nBGSysCol=oops\n", Durability::Durable);
    prefs.LoadFromFile(path);
    EXPECT_EQ(prefs.StyleSpecs[2].Selector, ".x");
    EXPECT_EQ(prefs.StyleSpecs[2].BGValue, 0xFFFFFF);
    EXPECT_EQ(prefs.StyleSpecs[3].ToText(), slot3);
}

TEST(StylePrefsTest, PreferencesFileThatCannotBeWritten)
{
    const TempFolder folder;
    const std::string path = folder.File("missing/mine.sprf");
    try {
        StartupPrefs().SaveToFile(path);
        FAIL() << "no error";
    } catch (const IniWriteError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + path);
    }
}

TEST(StylePrefsTest, PageMarginIsCutTo255Characters)
{
    TStylePrefs prefs;
    prefs.SetPMargin(std::string(300, '5'));
    EXPECT_EQ(prefs.PMargin.size(), 255U);
    const TempFolder folder;
    WriteFileAtomically(
        folder.File("m.sprf"), "[STYLEPREFS]\r\nPMargin=" + std::string(300, '%') + "\r\n", Durability::Durable);
    prefs.LoadFromFile(folder.File("m.sprf"));
    EXPECT_EQ(prefs.PMargin, std::string(255, '%'));
}

} // namespace
