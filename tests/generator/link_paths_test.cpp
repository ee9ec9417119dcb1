// The image tag, the picture path relative to the start folder, the link
// address and the attached-file captions of the insertion dialogs.
#include "generator/LinkPaths.h"

#include <gtest/gtest.h>

namespace tavimor {
namespace {

struct RelCase {
    const char* picture;
    const char* start;
    char separator;
    const char* expected;
};

TEST(FixRelPathTest, ClimbsOutOfTheStartFolderAndDownToThePicture)
{
    const RelCase cases[] = {
        {"C:\\cours\\pics\\", "C:\\cours\\site\\", '\\', "../pics/"},
        {"/home/prof/cours/pics/", "/home/prof/cours/site/", '/', "../pics/"},
        {"/home/prof/site/img/", "/home/prof/site/", '/', "img/"},
        {"/home/prof/site/img/gif/", "/home/prof/site/", '/', "img/gif/"},
        {"/home/prof/", "/home/prof/site/", '/', "../"},
        {"/home/prof/a/b/", "/home/prof/site/x/", '/', "../../a/b/"},
        // Case-sensitive: the same folder in other capitals climbs out and back in.
        {"C:\\Cours\\site\\", "C:\\cours\\site\\", '\\', "../../Cours/site/"},
        {"/srv/site/", "/srv/site/", '/', ""},
        // A component is only common when both folders hold it whole.
        {"/srv/sitex/", "/srv/site/", '/', "../sitex/"},
    };
    for (const RelCase& c : cases)
        EXPECT_EQ(FixRelPath(c.picture, c.start, c.separator), c.expected) << c.picture << " from " << c.start;
}

TEST(FixRelPathTest, ConvertSlashKeepsWholeComponentsOnly)
{
    EXPECT_EQ(ConvertSlash("a\\b\\c.gif", '\\'), "a/b/");
    EXPECT_EQ(ConvertSlash("name", '\\'), "");
    EXPECT_EQ(ConvertSlash("a/b/", '/'), "a/b/");
}

TEST(FixRelPathTest, PictureInTheStartFolderItselfHasNoRelativePath)
{
    EXPECT_EQ(RelativeImageFolder("/srv/site/", "/srv/site/"), "");
    EXPECT_EQ(RelativeImageFolder("/srv/pics/", "/srv/site/"), "../pics/");
    EXPECT_EQ(RelativeImageFolder("/srv/Site/", "/srv/site/"), "../Site/");
}

TEST(ImageTagTest, WritesTheOptionalPartsInOrderWhenNotEmpty)
{
    struct Case {
        TImageTagParts parts;
        const char* expected;
    };
    const Case cases[] = {
        {{"../", "img/logo.gif", "1", "40", "", "", "", "LEFT", ""},
            "<IMG SRC=\"../img/logo.gif\" BORDER=1 WIDTH=40 ALIGN=LEFT>"},
        {{"../", "logo.gif", "0", "", "", "", "", "", ""}, "<IMG SRC=\"../logo.gif\" BORDER=0>"},
        {{"../", "../pics/x.jpg", "0", "120", "80", "5", "6", "RIGHT", "Un \xE9t\xE9"},
            "<IMG SRC=\"../../pics/x.jpg\" BORDER=0 WIDTH=120 HEIGHT=80 HSPACE=5 VSPACE=6 ALIGN=RIGHT "
            "ALT=\"Un \xE9t\xE9\">"},
        // What is typed goes in as it stands: no number check, no escaping.
        {{"", "a.gif", "1", "50%", "", "", "x", "", "a<b"},
            "<IMG SRC=\"a.gif\" BORDER=1 WIDTH=50% VSPACE=x ALT=\"a<b\">"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ImageTag(c.parts), c.expected);
}

TEST(LinkAddressTest, QuotesTheFileAndAddsANonBlankTarget)
{
    EXPECT_EQ(LinkAddress("page2.htm", "main"), "\"page2.htm\" TARGET=\"main\"");
    EXPECT_EQ(LinkAddress("page2.htm", ""), "\"page2.htm\"");
    EXPECT_EQ(LinkAddress("page2.htm", " "), "\"page2.htm\"");
    EXPECT_EQ(LinkAddress("/home/prof/site/r\xE9sum\xE9.htm", "_top"),
        "\"/home/prof/site/r\xE9sum\xE9.htm\" TARGET=\"_top\"");
}

TEST(AttachedFileCaptionsTest, SeedFromCaptionsAndBack)
{
    // A question without an attached file yet.
    const TLinkSeed fresh = LinkSeedFromCaptions("voir le fichier: ", "nom du fichier...");
    EXPECT_EQ(fresh.LinkText, "nom_du_lien");
    EXPECT_EQ(fresh.Target, " ");
    EXPECT_EQ(fresh.FileName, "nom du fichier...");

    // The dialog's answer goes into the captions and comes back unchanged.
    const std::string check = CheckCaptionWithLinkText("voir le fichier: ", "Plan");
    const std::string button = LinkAddress("plan.htm", "main");
    EXPECT_EQ(check, "voir le fichier: |Plan");
    const TLinkSeed again = LinkSeedFromCaptions(check, button);
    EXPECT_EQ(again.LinkText, "Plan");
    EXPECT_EQ(again.Target, "main");
    EXPECT_EQ(again.FileName, "plan.htm");
    EXPECT_EQ(CheckCaptionWithLinkText(check, again.LinkText), check);

    // Only the first "|" separates; a file name may hold "=".
    EXPECT_EQ(LinkSeedFromCaptions("lire|a|b", "\"a=b.htm\"").LinkText, "a|b");
    const TLinkSeed equals = LinkSeedFromCaptions("x", "\"a=b.htm\" TARGET=\"_top\"");
    EXPECT_EQ(equals.FileName, "a=b.htm");
    EXPECT_EQ(equals.Target, "_top");
    EXPECT_EQ(LinkSeedFromCaptions("x", "\"a.htm\"").Target, " ");
    EXPECT_EQ(CheckCaptionWithLinkText("lire|ancien|x", "neuf"), "lire|neuf");
}

} // namespace
} // namespace tavimor
