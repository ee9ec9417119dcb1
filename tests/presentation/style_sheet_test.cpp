#include "base/FileIo.h"
#include "presentation/StylePrefs.h"

#include <gtest/gtest.h>

using namespace tavimor;

namespace {

TStylePrefs StartupPrefs()
{
    TStylePrefs prefs;
    prefs.SetStartupElements("/prefs/");
    return prefs;
}

// The rule of one selector, from its first line to the empty line after it.
std::string RuleOf(const std::string& css, const std::string& selector)
{
    const std::size_t start = css.find("\r\n" + selector + " {\r\n");
    if (start == std::string::npos)
        return {};
    const std::size_t end = css.find("\r\n\r\n", start + 2);
    return css.substr(start + 2, end + 4 - (start + 2));
}

TEST(StyleSheetTest, StartupSheetMatchesTheGoldenFile)
{
    const std::string golden = ReadWholeFile(std::string(TAVIMOR_TEST_DATA) + "/presentation/golden/startup.css");
    EXPECT_EQ(StartupPrefs().MakeStyleSheet(), golden);
}

TEST(StyleSheetTest, StartupSheetBeginsAsDescribed)
{
    const std::string expected = "/* Mivo's style Prefs generated StyleSheet */\r\n\r\n"
                                 "Body {\r\n\tbackground:WHITE;\r\n\tmargin:2%,7%;\r\n\tcolor:black;\r\n"
                                 "\tfont-family:\"Arial\";\r\n\tfont-size:10pt;\r\n\ttext-align:justify;\r\n\t}\r\n\r\n"
                                 "H1 {\r\n\tcolor:black;\r\n\tfont-family:\"Arial\";\r\n\tfont-size:20pt;\r\n"
                                 "\ttext-align:center;\r\n\t}\r\n\r\n";
    const std::string css = StartupPrefs().MakeStyleSheet();
    EXPECT_EQ(css.substr(0, expected.size()), expected);
    EXPECT_NE(
        css.find("\r\n\r\na:link {\r\n\tcolor:blue;\r\n\ttext-decoration:none;\r\n\t}\r\n\r\n"), std::string::npos);
    EXPECT_EQ(css.substr(css.size() - 28), "\r\nHR {text-align:center}\r\n\r\n");
}

TEST(StyleSheetTest, EmptySelectorLeavesNoTrace)
{
    TStylePrefs prefs = StartupPrefs();
    const std::string full = prefs.MakeStyleSheet();
    const std::string h3 = RuleOf(full, "H3");
    ASSERT_FALSE(h3.empty());
    prefs.StyleSpecs[3].Selector.clear();
    std::string expected = full;
    expected.erase(expected.find(h3), h3.size());
    EXPECT_EQ(prefs.MakeStyleSheet(), expected);
}

TEST(StyleSheetTest, ElementRuleLines)
{
    struct Case {
        const char* name;
        const char* elementText; // read into slot 2 (selector H2)
        const char* rule;
    };
    const Case cases[] = {
        {"margin equal to the page margin", "H2;white;Arial;18;2;navy;0;1;2%,7%;;;",
            "H2 "
            "{\r\n\tcolor:navy;\r\n\tfont-family:\"Arial\";\r\n\tfont-size:18pt;\r\n\ttext-align:center;\r\n\t}"
            "\r\n\r\n"},
        {"trailing blank makes the margin differ", "H2;white;Arial;18;0;navy;0;1;2%,7% ;;;",
            "H2 {\r\n\tmargin:2%,7% "
            ";\r\n\tcolor:navy;\r\n\tfont-family:\"Arial\";\r\n\tfont-size:18pt;\r\n\t}\r\n\r\n"},
        {"own background, margin and padding", "H2;navy;Times New Roman;9;1;white;0;0;1em;3px;;",
            "H2 {\r\n\tbackground:navy;\r\n\tmargin:1em;\r\n\tpadding:3px;\r\n\tcolor:white;\r\n"
            "\tfont-family:\"Times New Roman\";\r\n\tfont-size:9pt;\r\n\ttext-align:right;\r\n\t}\r\n\r\n"},
        {"options ending with a line break", "H2;white;Arial;18;3;navy;0;1;;;border:1px#padding-top:2px#;",
            "H2 {\r\n\tcolor:navy;\r\n\tfont-family:\"Arial\";\r\n\tfont-size:18pt;\r\n\ttext-align:justify;\r\n"
            "\tborder:1px;\r\n\tpadding-top:2px;\r\n\t}\r\n\r\n"},
        {"alignment outside 0..3 counts as left", "H2;white;Arial;18;7;navy;0;1;;;;",
            "H2 {\r\n\tcolor:navy;\r\n\tfont-family:\"Arial\";\r\n\tfont-size:18pt;\r\n\t}\r\n\r\n"},
    };
    for (const Case& c : cases) {
        TStylePrefs prefs = StartupPrefs();
        prefs.StyleSpecs[2].FromText(c.elementText, prefs.BGSysCol);
        EXPECT_EQ(RuleOf(prefs.MakeStyleSheet(), "H2"), c.rule) << c.name;
    }
}

TEST(StyleSheetTest, OptionsCloseTheRule)
{
    TStylePrefs prefs = StartupPrefs();
    prefs.StyleSpecs[1].Options = "border:1px;\r\npadding-top:2px;";
    EXPECT_EQ(RuleOf(prefs.MakeStyleSheet(), "H1"),
        "H1 {\r\n\tcolor:black;\r\n\tfont-family:\"Arial\";\r\n\tfont-size:20pt;\r\n\ttext-align:center;\r\n"
        "\tborder:1px;\r\n\tpadding-top:2px;}\r\n\r\n");
}

TEST(StyleSheetTest, BodyAlwaysCarriesPageBackgroundAndMargin)
{
    TStylePrefs prefs = StartupPrefs();
    prefs.BGColor = "ivory";
    prefs.PMargin = "3%";
    prefs.StyleSpecs[0].FromText("Body;navy;Arial;10;0;black;0;0;9%;4px;;", prefs.BGSysCol);
    const std::string css = prefs.MakeStyleSheet();
    EXPECT_EQ(RuleOf(css, "Body"),
        "Body {\r\n\tbackground:ivory;\r\n\tmargin:3%;\r\n\tcolor:black;\r\n\tfont-family:\"Arial\";\r\n"
        "\tfont-size:10pt;\r\n\t}\r\n\r\n");
    EXPECT_EQ(RuleOf(css, "DIR"), "DIR {\r\n\t}\r\n\r\n"); // left: no alignment line

    prefs.StyleSpecs[0].AlignIndex = 1;
    EXPECT_EQ(RuleOf(prefs.MakeStyleSheet(), "DIR"), "DIR {\r\n\ttext-align:right;\r\n\t}\r\n\r\n");
    prefs.StyleSpecs[0].AlignIndex = -4;
    EXPECT_EQ(RuleOf(prefs.MakeStyleSheet(), "DIR"), "DIR {\r\n\t}\r\n\r\n");
}

TEST(StyleSheetTest, UnderlinedLink)
{
    TStylePrefs prefs = StartupPrefs();
    prefs.LinkStylesFromText("blue;16711680;0;red;255;1;purple;8388736;0;");
    EXPECT_EQ(RuleOf(prefs.MakeStyleSheet(), "a:active"),
        "a:active {\r\n\tcolor:red;\r\n\ttext-decoration:underline;\r\n\t}\r\n\r\n");
}

} // namespace
