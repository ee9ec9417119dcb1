// What the self-contained page reads in the teacher's HTML (picture sources,
// the attributes its policy would refuse, picture files) and the encodings it
// carries them in.
#include "generator/InlineData.h"
#include "generator/TeacherHtml.h"
#include "generator/TextBuffer.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace tavimor {
namespace {

std::vector<std::string> Sources(const std::string& html)
{
    std::vector<std::string> found;
    ForEachImageSource(html, [&](const std::string& src) { found.push_back(src); });
    return found;
}

std::string Quiet(const std::string& html)
{
    std::string out = "~";
    return AppendQuietHtml(out, html) ? out.substr(1) : "(unchanged)";
}

TEST(TeacherHtml, FindsPictureSourcesAsABrowserReadsThem)
{
    EXPECT_EQ(Sources("<IMG SRC=\"../a b.gif\" BORDER=0><img\nalt='x>' src='c.png'/><img src=d.jpg>"),
        (std::vector<std::string> {"../a b.gif", "c.png", "d.jpg"}));
    EXPECT_EQ(Sources("<img src=\"a&amp;b&#233;.gif\" SRC=second.gif>"), (std::vector<std::string> {"a&b\xE9.gif"}));
    // A script ends at its end tag in any case, as the picture after it shows.
    EXPECT_EQ(Sources("<SCRIPT>'<img src=a.gif>'</Script ><img src=b.gif>"), std::vector<std::string> {"b.gif"});
    // No picture in a comment, a script, an end tag, another tag, text, or a cut tag.
    EXPECT_EQ(Sources("<!-- <img src=a.gif> --><script>'<img src=b.gif>'</script></img src=c.gif>"
                      "<imgx src=d.gif> 2 <img <img src=\"e.gif"),
        std::vector<std::string> {});
}

TEST(TeacherHtml, QuietensStyleAndEventAttributesAndDropsStyleBlocks)
{
    EXPECT_EQ(Quiet("<p STYLE=\"color:red\" onClick='f()' class=x>a</p>"),
        "<p data-tavimor-STYLE=\"color:red\" data-tavimor-onClick='f()' class=x>a</p>");
    EXPECT_EQ(Quiet("a<style onload=x>p{}</style>b<STYLE>c"), "ab");
    // A style element written in capitals ends at its end tag, in any case,
    // and no more of the text goes with it.
    EXPECT_EQ(Quiet("<STYLE>p{}</STYLE>a<b style=x>b</b><Style>i{}</sTyLe>c"), "a<b data-tavimor-style=x>b</b>c");
    // A "<" that was text before a left-out style element stays text.
    EXPECT_EQ(Quiet("<<style>x</style>p style=1 onclick=f()>a<<STYLE></STYLE><style></style>b>"),
        "&lt;p style=1 onclick=f()>a&lt;b>");
    // Text that only looks like attributes, and a script's content, stay.
    EXPECT_EQ(Quiet("x < 3 style=1 <!-- <b style=y> --> <script>'<i onx=1>'</script> <b on>"), "(unchanged)");
}

// Tag soup made of the pieces that change what the tag reader sees.
std::string RandomSoup(std::mt19937& random)
{
    static constexpr std::array<std::string_view, 41> kPieces {"<", ">", "/", "\"", "'", "=", " ", "\n", "on", "ON",
        "oN", "o", "n", "x", "style", "StYlE", "sty", "le", "img", "IMG", "src", "<!--", "-->", "script", "title",
        "\xE9", "\f", "<img ", "<p ", "<a/", " src=", "on=", "'x'", "<b>", "</b>", "<br/>", "<h1>", "<?", "<STYLE>",
        "</style>", "</Title>"};
    std::string soup;
    const int count = std::uniform_int_distribution<int>(1, 24)(random);
    for (int i = 0; i < count; ++i)
        soup += kPieces[std::uniform_int_distribution<std::size_t>(0, kPieces.size() - 1)(random)];
    return soup;
}

// The text with its ASCII capitals made small, as HTML names compare.
std::string Small(std::string_view text)
{
    std::string small(text);
    for (char& c : small)
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    return small;
}

// Most texts are passed over at a glance; the glance must never miss what a
// reading of every tag finds.
TEST(TeacherHtml, QuickLooksAgreeWithAFullReadingOfTheTags)
{
    std::mt19937 random(20261207);
    int quietened = 0;
    int withPictures = 0;
    for (int round = 0; round < 20000; ++round) {
        const std::string soup = RandomSoup(random);
        bool edits = false;
        std::vector<std::string> pictures;
        std::size_t lastTag = std::string::npos;
        ForEachAttribute(
            soup,
            [&](const TagAttribute& attribute) {
                const bool handler = attribute.Name.size() > 2 && Small(attribute.Name.substr(0, 2)) == "on";
                edits = edits || handler || Small(attribute.Name) == "style";
                const auto tagStart = static_cast<std::size_t>(attribute.Tag.data() - soup.data());
                if (tagStart != lastTag && Small(attribute.Tag) == "img" && Small(attribute.Name) == "src") {
                    lastTag = tagStart;
                    pictures.emplace_back(attribute.Value);
                }
            },
            [&](const RawTextElement& element) { edits = edits || Small(element.Tag) == "style"; });
        std::string out;
        ASSERT_EQ(AppendQuietHtml(out, soup), edits) << soup;
        // What was quietened holds nothing more to quieten.
        std::string again;
        ASSERT_FALSE(AppendQuietHtml(again, out)) << soup << " gave " << out;
        ASSERT_EQ(Sources(soup), pictures) << soup;
        quietened += edits ? 1 : 0;
        withPictures += pictures.empty() ? 0 : 1;
    }
    // The soups reach both sides of both looks.
    EXPECT_GT(quietened, 1000);
    EXPECT_LT(quietened, 19000);
    EXPECT_GT(withPictures, 100);
}

TEST(TeacherHtml, PictureFilesAreRelativeToThePagesFolder)
{
    EXPECT_EQ(PictureFile(" ../img/mon%20logo.png?v=2 ", "/d/quiz/hPages/"), "/d/quiz/img/mon logo.png");
    EXPECT_EQ(PictureFile("b\xE9.gif#x", "/d/quiz/hPages/"), "/d/quiz/hPages/b\xC3\xA9.gif");
    EXPECT_EQ(PictureFile("../../../../x.gif", "/d/quiz/hPages/"), "/x.gif");
    for (const char* foreign :
        {"http://a/b.gif", "data:image/gif;base64,R0", "/etc/x.gif", "\\\\srv\\x.gif", "C:\\x.gif", "", "  "})
        EXPECT_EQ(PictureFile(foreign, "/d/quiz/hPages/"), std::nullopt) << foreign;
}

TEST(InlineData, EncodesAsTheStandardsSay)
{
    // RFC 4648 test vectors.
    const std::vector<std::pair<std::string, std::string>> vectors {{"", ""}, {"f", "Zg=="}, {"fo", "Zm8="},
        {"foo", "Zm9v"}, {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"}};
    for (const auto& [bytes, text] : vectors)
        EXPECT_EQ(Base64(bytes), text) << bytes;
    // SHA-256 of the empty text and of "abc" (FIPS 180-2 example).
    EXPECT_EQ(CspHashSource(""), "'sha256-47DEQpj8HBSa+/TImW+5JCeuQeRkm5NMpJWZG3hSuFU='");
    EXPECT_EQ(CspHashSource("abc"), "'sha256-ungWv48Bz+pBQUDeXa4iI7ADYaOWF3qctBD/YfIAFa0='");

    TextBuffer json;
    AppendJsonString(json, std::string("a\"\\\n\t\x01<>\x80\xE9\xFF", 11));
    EXPECT_EQ(json.View(), "\"a\\\"\\\\\\n\\t\\u0001\\u003c>\xE2\x82\xAC\xC3\xA9\xC3\xBF\"");

    EXPECT_EQ(ImageMediaType("GIF89a...", "x.png"), "image/gif");
    EXPECT_EQ(ImageMediaType("\xFF\xD8\xFF\xE0", ""), "image/jpeg");
    EXPECT_EQ(ImageMediaType("<svg/>", "dessin.SVG"), "image/svg+xml");
    EXPECT_EQ(ImageMediaType("????", "notes.txt"), "");
}

// A long text goes through the writer sixteen bytes at a time, a character
// alone byte by byte: both must write the same.
TEST(InlineData, ALongJsonStringIsItsCharactersOneByOne)
{
    std::mt19937 random(1252);
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        const std::size_t length = random() % 100;
        while (text.size() < length) {
            const unsigned pick = random() % 100;
            if (pick < 60)
                text += static_cast<char>(0x20 + random() % 0x5F); // quote, backslash and "<" among them
            else if (pick < 97)
                text += static_cast<char>(0xA0 + random() % 0x60); // the letters
            else
                text += static_cast<char>(random() % 0xA0); // controls, the euro sign and its kind
        }
        TextBuffer whole;
        AppendJsonString(whole, text);
        std::string apart = "\"";
        for (const char c : text) {
            TextBuffer one;
            AppendJsonString(one, std::string_view(&c, 1));
            apart += one.View().substr(1, one.Size() - 2);
        }
        apart += '"';
        ASSERT_EQ(whole.View(), apart) << testing::PrintToString(text);
    }
}

} // namespace
} // namespace tavimor
