// The HTML builders and text converters: their exact text is what the
// produced pages and the quiz script are made of.
#include "base/Errors.h"
#include "common/temp_folder.h"
#include "generator/SpecHTML.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace tavimor {
namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

using test::TempFolder;

TEST(PageHeadTest, FollowsTheNumberedSteps)
{
    EXPECT_EQ(PageHead("", "", "kwzStyle.css", "Menu"),
        "<HTML>\n<HEAD>\n\t\t<LINK REL=\"stylesheet\" HREF=\"kwzStyle.css\" TYPE=\"text/css\">\n"
        "\t\t<TITLE>Menu</TITLE>\n</HEAD> \n");
    EXPECT_EQ(PageHead("", "", "", ""), "<HTML>\n<HEAD>\n\t\t\t\t\n</HEAD> \n");
    EXPECT_EQ(PageHead("", "quiz.js", "", "Q"),
        "<HTML>\n<HEAD>\n\t<SCRIPT SRC=\"quiz.js\" LANGUAGE=\"JavaScript\"></SCRIPT>\n\t\t\t<TITLE>Q</TITLE>\n"
        "</HEAD> \n");
    // A script or style argument without the file extension is inserted verbatim.
    EXPECT_EQ(
        PageHead("<X>", "menuStr()", "<STYLE>", ""), "<HTML>\n<HEAD>\n\tmenuStr()\t<STYLE>\t\t<X>\n\t\n</HEAD> \n");
}

TEST(TagBuildersTest, ExactTexts)
{
    struct Case {
        std::string built, expected;
    };
    const Case cases[] = {
        {TitleTag(""), ""},
        {TitleTag("Menu"), "<TITLE>Menu</TITLE>"},
        {HeadingTag("R\xE9sultats", "", 2), "<H2>R&eacute;sultats</H2>\n"},
        {HeadingTag("x", "note", 4), "<H4 class=note>x</H4>\n"},
        {TableTag(400, 5, 5, false), "<TABLE width=400 Align=center cellPadding=5 cellSpacing=5 border=0>"},
        {TableTag(80, 0, 2, true), "<TABLE width=80 Align=center cellPadding=0 cellSpacing=2 border=1>"},
        {RuleTag(300), "<P> <HR WIDTH=300> <P>\n"},
        {AnchorTag("r\xE9sultat.htm", "voir les r\xE9sultats"),
            "<A HREF=\"resultat.htm\">voir les r&eacute;sultats</A>"},
        {BodyEnd(), "\n</BODY>\n</HTML>"},
        {ButtonTag("okBtn", "commencer", "comeIn()"),
            "<INPUT TYPE=BUTTON NAME=\"okBtn\" VALUE=\"commencer\" onClick=\"comeIn()\">\n"},
        {CheckBoxTag("CertCheck", "Je suis certain(e)", false),
            "<INPUT TYPE=checkbox NAME=\"CertCheck\">Je suis certain(e)"},
        {CheckBoxTag("c", "l", true), "<INPUT TYPE=checkbox NAME=\"c\" CHECKED >l"},
        {BlankPage("<LINK>"), "<HTML>\n<HEAD>\n<LINK>\n</HEAD>\n<BODY></BODY>\n</HTML>\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.built, c.expected);
    EXPECT_EQ(
        CheckBoxTag("n", std::string(300, 'x'), false), "<INPUT TYPE=checkbox NAME=\"n\">" + std::string(255, 'x'));
}

TEST(ConvertersTest, EntityEncodeTouchesOnlyAccentedLetters)
{
    EXPECT_EQ(EntityEncode("R\xE9ponse"), "R&eacute;ponse");
    EXPECT_EQ(EntityEncode("\xE0"), "&agrave;");
    EXPECT_EQ(EntityEncode("\xD7\xF7<>&\"'"), "\xD7\xF7<>&\"'");
    EXPECT_EQ(EntityEncode("\xC6\xDF\xFF\xD0\xDE"), "&AElig;&szlig;&yuml;&ETH;&THORN;");
    // All 62 letters have an entity; nothing below C0 does.
    int encoded = 0;
    for (int c = 1; c < 256; ++c)
        encoded += EntityEncode(std::string(1, static_cast<char>(c))).size() > 1;
    EXPECT_EQ(encoded, 62);
}

TEST(ConvertersTest, JsEscapeMakesOneSafeLine)
{
    EXPECT_EQ(JsEscape("Il dit \"oui\"\r\n(enfin) c:\\x"), "Il dit \\\"oui\\\"\\(enfin\\) c:x");
    EXPECT_EQ(JsEscape("a\nb\rc"), "abc");
    EXPECT_EQ(JsEscape("l'apostrophe"), "l'apostrophe");
    // Escaping twice gives the same text: the backslashes are removed, then put back.
    const std::string once = JsEscape("x \"y\" (z)");
    EXPECT_EQ(JsEscape(once), once);
    EXPECT_EQ(JsText("\xC9t\xE9 (chaud)"), "&Eacute;t&eacute; \\(chaud\\)");
}

TEST(ConvertersTest, FoldAccentsForLinkTargets)
{
    EXPECT_EQ(FoldAccents("\xC0\xC2\xC7\xE7\xC8\xC9\xCB\xCE\xCF\xD4\xD9\xDB\xDC"), "AAccEEEIIOUUU");
    EXPECT_EQ(FoldAccents("\xE0\xE2\xE8\xE9\xEA\xEB\xEE\xEF\xF4\xF9\xFB\xFC"), "aaeeeeiiouuu");
    EXPECT_EQ(FoldAccents("plain-file_1.htm"), "plain-file_1.htm");
    // Letters without a plain form in the folding table stay as they are.
    EXPECT_EQ(FoldAccents("\xC1\xD1\xDF"), "\xC1\xD1\xDF");
}

TEST(StringHelpersTest, Examples)
{
    EXPECT_EQ(TextAfterChar('|', "voir: |Corrig\xE9", "nom"), "Corrig\xE9");
    EXPECT_EQ(TextAfterChar('|', "voir ... ", "nom_du_lien"), "nom_du_lien");
    EXPECT_EQ(TextBefore("|", "label|name|x"), "label");
    EXPECT_EQ(TextBefore("|", "label"), "label");
    EXPECT_EQ(StripExtension("  Chimie.copie.kwz "), "Chimie");
    EXPECT_EQ(StripExtension("quiz"), "quiz");
    EXPECT_EQ(RemoveChar('-', "a-b--c"), "abc");
    EXPECT_EQ(ReplaceOrAppend("<Q>", "12", "Ce module compte <Q> questions."), "Ce module compte 12 questions.");
    EXPECT_EQ(ReplaceOrAppend("<Q>", "12", "Nombre de questions:"), "Nombre de questions: 12");
    EXPECT_EQ(ReplaceOrAppend("<Q>", "3", "<Q> et <Q>"), "3 et <Q>");
    EXPECT_EQ(BoolToFlag(true), "1");
    EXPECT_EQ(BoolToFlag(false), "0");
    EXPECT_FALSE(FlagToBool("  0 "));
    EXPECT_TRUE(FlagToBool(""));
    EXPECT_TRUE(FlagToBool("2"));
}

TEST(FileHelpersTest, SavePageWritesCrLfAfterEveryLine)
{
    TempFolder folder;
    const auto path = (folder.Dir() / "page.htm").string();
    SavePage(path, "a\nb\r\nc\rd");
    EXPECT_EQ(Slurp(path), "a\r\nb\r\nc\r\nd\r\n");
    SavePage(path, "a\n\nb\n");
    EXPECT_EQ(Slurp(path), "a\r\n\r\nb\r\n");
    SavePage(path, "");
    EXPECT_EQ(Slurp(path), "");
    EXPECT_THROW(SavePage((folder.Dir() / "missing" / "p.htm").string(), "x"), FileCreateError);
}

TEST(FileHelpersTest, CopyFileToFolderWithOrWithoutSeparator)
{
    TempFolder folder;
    const auto source = folder.Dir() / "img.gif";
    std::ofstream(source, std::ios::binary) << std::string("GIF89a\0\x01", 8);
    const auto target = folder.Dir() / "out";
    fs::create_directory(target);
    CopyFileTo(source.string(), target.string(), Durability::Regenerable);
    EXPECT_EQ(Slurp(target / "img.gif"), std::string("GIF89a\0\x01", 8));
    fs::remove(target / "img.gif");
    CopyFileTo(source.string(), target.string() + "/", Durability::Regenerable);
    EXPECT_EQ(Slurp(target / "img.gif"), std::string("GIF89a\0\x01", 8));
    CopyFileTo(source.string(), (target / "renamed.gif").string(), Durability::Regenerable);
    EXPECT_TRUE(fs::exists(target / "renamed.gif"));

    try {
        CopyFileTo((folder.Dir() / "none.gif").string(), target.string(), Durability::Regenerable);
        FAIL() << "a missing source must not be copied";
    } catch (const FileOpenError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file " + (folder.Dir() / "none.gif").string());
    }
}

TEST(FileHelpersTest, MakeFolderSaysWhetherItWasNew)
{
    TempFolder folder;
    const auto path = (folder.Dir() / "Quiz").string();
    EXPECT_TRUE(MakeFolder(path));
    EXPECT_TRUE(fs::is_directory(path));
    EXPECT_FALSE(MakeFolder(path));
}

class OneGif final : public GifSource {
public:
    std::optional<std::string_view> Find(std::string_view name) const override
    {
        if (name == "KWZ")
            return std::string_view("GIF89a-bytes");
        return std::nullopt;
    }
};

TEST(FileHelpersTest, ExportGifResourceKeepsTheCallersName)
{
    TempFolder folder;
    ExportGifResource(OneGif(), "KWZ", folder.Dir().string() + "/");
    EXPECT_EQ(Slurp(folder.Dir() / "KWZ.gif"), "GIF89a-bytes");
    EXPECT_THROW(ExportGifResource(OneGif(), "nope", folder.Dir().string() + "/"), Error);
}

} // namespace
} // namespace tavimor
