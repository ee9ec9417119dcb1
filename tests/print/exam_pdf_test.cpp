// The printed exam as PDF, read back as a teacher's printer would show it:
// the text through pdftotext (per page where pages matter), the pictures
// through pdfimages.
#include "base/Errors.h"
#include "common/temp_folder.h"
#include "model/DocumentFile.h"
#include "print/ExamPdf.h"
#include "resources/EmbeddedGifs.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace tavimor {
namespace {

using test::TempFolder;
using test::WriteBytes;

// What a command prints on its standard output.
std::string Output(const std::string& command)
{
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    if (!pipe)
        throw std::runtime_error("cannot run " + command);
    std::string out;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0;)
        out.append(buffer, n);
    return out;
}

// The text of the PDF, or of its page alone (from 1).
std::string PdfText(const std::string& path, int page = 0)
{
    std::string command = "pdftotext -layout -enc UTF-8";
    if (page > 0)
        command += " -f " + std::to_string(page) + " -l " + std::to_string(page);
    return Output(command + " '" + path + "' -");
}

int PageCount(const std::string& path)
{
    const std::string info = Output("pdfinfo '" + path + "'");
    const std::size_t at = info.find("Pages:");
    return at == std::string::npos ? 0 : std::stoi(info.substr(at + 6));
}

// The pictures pdfimages lists (their transparency masks apart).
int ImageCount(const std::string& path)
{
    std::istringstream list(Output("pdfimages -list '" + path + "'"));
    int images = 0;
    for (std::string line; std::getline(list, line);) {
        std::istringstream fields(line);
        std::string page, number, type;
        fields >> page >> number >> type;
        images += type == "image";
    }
    return images;
}

// Each needle found after the one before it.
::testing::AssertionResult InOrder(const std::string& text, const std::vector<std::string>& needles)
{
    std::size_t at = 0;
    for (const std::string& needle : needles) {
        const std::size_t found = text.find(needle, at);
        if (found == std::string::npos)
            return ::testing::AssertionFailure() << "\"" << needle << "\" missing after offset " << at << " in\n"
                                                 << text;
        at = found + needle.size();
    }
    return ::testing::AssertionSuccess();
}

TQuest Question(TRepType type, std::string text, std::vector<std::string> reps, int good)
{
    TQuest quest;
    quest.QType = type;
    quest.QText = std::move(text);
    quest.Reps = std::move(reps);
    quest.NRep = static_cast<std::uint16_t>(quest.Reps.size());
    quest.GoodRep = good;
    return quest;
}

TQuizDocument Document(const std::string& title, const std::vector<TQuest>& quests)
{
    TQuizDocument doc;
    ResetToStartupState(doc, "");
    doc.Pages.SetTitle(0, title);
    for (const TQuest& quest : quests)
        doc.Quests.InsertQuest(doc.Quests.Count() + 1, quest);
    return doc;
}

TQuizDocument ClassDocument()
{
    return Document("G\xE9ographie de l'\xE9t\xE9",
        {Question(TRepType::rKWZ, "Quelle est la capitale de la <b>France</b>&nbsp;?",
             {"Paris", "Lyon",
                 "Orl\xE9"
                 "ans"},
             0),
            Question(TRepType::rTrue,
                "La Loire se jette dans l'oc\xE9"
                "an.",
                {"Vrai", "Faux"}, 0),
            Question(TRepType::rOList,
                "La ville de <option> est surnomm\xE9"
                "e \xAB la Ville rose \xBB.",
                {"Lyon", "Toulouse"}, 1),
            Question(TRepType::rKWZ, "&#960; vaut environ <i>3,14</i> &amp; e &lt; 3 ; x<sup>2</sup>",
                {"Vrai &eacute;videmment", "Faux"}, 1)});
}

TEST(ExamPdf, ExamShowsTheBlanksEveryQuestionAndChoiceInOrderWithAccents)
{
    TempFolder folder;
    const std::string path = folder.Path() + "Quizexm.pdf";
    WriteExamPdf(ClassDocument(), {false, "", "Quiz", folder.Path(), folder.Path()}, path);
    const std::string text = PdfText(path);
    EXPECT_TRUE(InOrder(text,
        {"G\xC3\xA9ographie de l'\xC3\xA9t\xC3\xA9", "Pr\xC3\xA9nom :", "Nom :", "Groupe :", "1.",
            "Quelle est la capitale de la France", "\xE2\x98\x90 Paris", "\xE2\x98\x90 Lyon",
            "\xE2\x98\x90 Orl\xC3\xA9"
            "ans",
            "2.",
            "La Loire se jette dans l'oc\xC3\xA9"
            "an.",
            "\xE2\x98\x90 Vrai", "\xE2\x98\x90 Faux", "3.", "La ville de ____________",
            "surnomm\xC3\xA9"
            "e \xC2\xAB la Ville rose \xC2\xBB",
            "\xE2\x98\x90 Lyon", "\xE2\x98\x90 Toulouse", "4.", "\xCF\x80 vaut environ 3,14 & e < 3 ; x",
            "\xE2\x98\x90 Vrai \xC3\xA9videmment", "Page 1 / 1"}));
    EXPECT_EQ(text.find("Corrig"), std::string::npos);
    EXPECT_EQ(text.find("<option>"), std::string::npos);
    EXPECT_EQ(text.find("&nbsp;"), std::string::npos);
    EXPECT_EQ(text.find("\xE2\x98\x92"), std::string::npos) << "the exam ticks no box";
    EXPECT_EQ(PageCount(path), 1);
}

TEST(ExamPdf, KeyTicksTheRightChoiceOfEachQuestionUnderItsVersion)
{
    TempFolder folder;
    const std::string path = folder.Path() + "Quizsol-B.pdf";
    WriteExamPdf(ClassDocument(), {true, "B", "Quiz", folder.Path(), ""}, path);
    const std::string text = PdfText(path);
    EXPECT_TRUE(InOrder(text,
        {"Corrig\xC3\xA9", "Version B", "1.", "\xE2\x98\x92 Paris", "\xE2\x98\x90 Lyon", "2.", "\xE2\x98\x92 Vrai",
            "\xE2\x98\x90 Faux", "3.", "\xE2\x98\x90 Lyon", "\xE2\x98\x92 Toulouse", "4.", "\xE2\x98\x90 Vrai",
            "\xE2\x98\x92 Faux"}));
    EXPECT_EQ(text.find("Pr\xC3\xA9nom"), std::string::npos) << "the key has no identification blanks";
    // The right choice is set in bold: its own font.
    EXPECT_NE(Output("pdffonts '" + path + "'").find("Bold"), std::string::npos);
}

// 60 questions of growing length: each question stays on one page, the
// pages are numbered "Page n / N" and nothing is lost or reordered.
TEST(ExamPdf, LongExamNeverSplitsAQuestionAcrossPages)
{
    std::vector<TQuest> quests;
    for (int n = 1; n <= 60; ++n) {
        std::string text = "Intitul\xE9 num\xE9ro " + std::to_string(n) + " :";
        for (int k = 0; k < n % 7 * 12; ++k)
            text += " une phrase longue";
        if (n % 9 == 0)
            text += "<br>suite<p>et paragraphe";
        std::vector<std::string> reps;
        for (int k = 1; k < 3 + n % 4; ++k)
            reps.push_back("Choix " + std::to_string(k) + " de " + std::to_string(n));
        reps.push_back("Dernier choix de " + std::to_string(n) + " fin");
        quests.push_back(Question(TRepType::rKWZ, text, reps, 0));
    }
    TempFolder folder;
    const std::string path = folder.Path() + "long.pdf";
    WriteExamPdf(Document("Long examen", quests), {false, "", "long", folder.Path(), ""}, path);
    const int pages = PageCount(path);
    ASSERT_GE(pages, 4);
    std::vector<std::string> texts;
    for (int p = 1; p <= pages; ++p) {
        texts.push_back(PdfText(path, p));
        EXPECT_NE(texts.back().find("Page " + std::to_string(p) + " / " + std::to_string(pages)), std::string::npos)
            << "page " << p;
    }
    const auto pageOf = [&](const std::string& needle) {
        for (std::size_t p = 0; p < texts.size(); ++p)
            if (texts[p].find(needle) != std::string::npos)
                return static_cast<int>(p) + 1;
        return 0;
    };
    int previous = 1;
    for (int n = 1; n <= 60; ++n) {
        const int start = pageOf("Intitul\xC3\xA9 num\xC3\xA9ro " + std::to_string(n) + " :");
        const int end = pageOf("\xE2\x98\x90 Dernier choix de " + std::to_string(n) + " fin");
        ASSERT_NE(start, 0) << "question " << n;
        EXPECT_EQ(start, end) << "question " << n << " split";
        EXPECT_GE(start, previous) << "question " << n << " out of order";
        previous = start;
    }
    std::string whole;
    for (const std::string& text : texts)
        whole += text;
    std::vector<std::string> questions;
    for (int n = 1; n <= 60; ++n) {
        questions.push_back("Intitul\xC3\xA9 num\xC3\xA9ro " + std::to_string(n) + " :");
        questions.push_back("Dernier choix de " + std::to_string(n) + " fin");
    }
    EXPECT_TRUE(InOrder(whole, questions));
}

// A question taller than a page starts a page of its own and runs on to the
// next; the question after it follows.
TEST(ExamPdf, QuestionTallerThanAPageRunsOnWithoutLosingALine)
{
    std::string text = "D\xE9"
                       "but de la longue question";
    for (int line = 1; line <= 90; ++line)
        text += "<br>Ligne " + std::to_string(line);
    TempFolder folder;
    const std::string path = folder.Path() + "tall.pdf";
    WriteExamPdf(Document("Grande question",
                     {Question(TRepType::rKWZ, "Courte", {"a"}, 0), Question(TRepType::rKWZ, text, {"oui", "non"}, 0),
                         Question(TRepType::rKWZ, "Apr\xE8s", {"b"}, 0)}),
        {false, "", "tall", folder.Path(), ""}, path);
    ASSERT_EQ(PageCount(path), 3);
    EXPECT_NE(PdfText(path, 1).find("Courte"), std::string::npos);
    EXPECT_EQ(PdfText(path, 1).find("D\xC3\xA9"
                                    "but"),
        std::string::npos)
        << "the tall question starts a page";
    std::vector<std::string> lines {"D\xC3\xA9"
                                    "but de la longue question"};
    for (int line = 1; line <= 90; ++line)
        lines.push_back("Ligne " + std::to_string(line) + "\n");
    lines.push_back("oui");
    lines.push_back("Apr\xC3\xA8s");
    EXPECT_TRUE(InOrder(PdfText(path, 2) + PdfText(path, 3), lines));
}

// The image dialog's addresses start from the site's hPages folder; a
// picture found nowhere shows its alternative text, or its file name.
TEST(ExamPdf, PicturesAreDrawnAndMissingOnesNamed)
{
    TempFolder folder;
    const std::string site = folder.Path() + "Quiz/";
    std::filesystem::create_directories(site + "hPages");
    WriteBytes(site + "carte.png",
        std::string("\x89\x50\x4E\x47\x0D\x0A\x1A\x0A\x00\x00\x00\x0D\x49\x48\x44\x52\x00\x00\x00\x08\x00\x00\x00\x06"
                    "\x08\x02\x00\x00\x00\x71\x67\x48\xAC\x00\x00\x00\x11\x49\x44\x41\x54\x78\x9C\x63\x38\x21\x27"
                    "\x87\x15\x31\x0C\xA4\x04\x00\x69\x88\x30\xC1\x64\x85\xA2\xE2\x00\x00\x00\x00\x49\x45\x4E\x44"
                    "\xAE\x42\x60\x82",
            74));
    WriteBytes(folder.Path() + "logo.gif", std::string(EmbeddedGifList()[0].bytes));
    WriteBytes(folder.Path() + "abîmé.png", "not a picture");
    const TQuizDocument doc = Document("Images",
        {Question(TRepType::rKWZ, "Voici la carte :<IMG SRC=\"../carte.png\" BORDER=0 WIDTH=4000 ALT=\"Carte\"> fin",
             {"a <img src='logo.gif'>", "b"}, 0),
            Question(TRepType::rKWZ,
                "Absente <img src=\"../absente.jpg\" alt=\"Sch&eacute;ma du c\x9C"
                "ur\"> puis <img src=\"rien.gif\"> "
                "et <img src=\"ab\xEEm\xE9.png\"> et <img src=\"http://exemple.fr/x.png\">",
                {"c"}, 0)});
    const std::string path = site + "Quizexm.pdf";
    WriteExamPdf(doc, {false, "", "Quiz", site, folder.Path()}, path);
    EXPECT_EQ(ImageCount(path), 2);
    const std::string text = PdfText(path);
    EXPECT_TRUE(InOrder(text,
        {"Voici la carte :", "fin", "\xE2\x98\x90 a", "\xE2\x98\x90 b", "Absente", "[Sch\xC3\xA9ma du c\xC5\x93ur]",
            "puis", "[rien.gif]", "[ab\xC3\xAEm\xC3\xA9.png]", "[x.png]"}));
    EXPECT_EQ(PageCount(path), 1) << "a picture 4000 pixels wide is scaled to the page";
}

TEST(ExamPdf, UnwritableTargetThrowsAndLeavesNothing)
{
    TempFolder folder;
    const std::string path = folder.Path() + "absent/Quizexm.pdf";
    EXPECT_THROW(WriteExamPdf(ClassDocument(), {false, "", "Quiz", folder.Path(), ""}, path), Error);
    EXPECT_FALSE(std::filesystem::exists(folder.Path() + "absent"));
}

// The paragraphs and pictures of a text: well-formed Pango markup whatever
// the HTML.
TEST(HtmlToPrintPieces, FormatTagsBecomeMarkupAndTheRestIsText)
{
    const auto markup = [](std::string_view html) {
        const auto pieces = HtmlToPrintPieces(html);
        std::string joined;
        for (const TPrintPiece& piece : pieces)
            joined += piece.Type == TPrintPiece::Kind::Text ? "{" + piece.Markup + "}" : "[" + piece.Source + "]";
        return joined;
    };
    EXPECT_EQ(markup("<B>gras</B> <strong>fort</strong> <EM>em</EM> <u>u</u> x<SUB>2</SUB>"),
        "{<b>gras</b> <b>fort</b> <i>em</i> <u>u</u> x<sub>2</sub>}");
    EXPECT_EQ(markup("a &amp; b &lt;c&gt; &eacute;&#233;&#xE9; &laquo;&nbsp;x&nbsp;&raquo; &#150; &bogus; &"),
        "{a &amp; b &lt;c&gt; \xC3\xA9\xC3\xA9\xC3\xA9 \xC2\xAB\xC2\xA0x\xC2\xA0\xC2\xBB \xE2\x80\x93 &amp;bogus; "
        "&amp;}");
    EXPECT_EQ(markup("  un \n\t deux  <br>trois<br><br>quatre<p>cinq</p><p></p><div>six</div>  "),
        "{un deux\ntrois\n\nquatre\ncinq\nsix}");
    EXPECT_EQ(markup("<ul><li>un<li>deux</ul>fin"), "{\xE2\x80\xA2 un\n\xE2\x80\xA2 deux\nfin}");
    // Crossed and unclosed tags are closed and opened again.
    EXPECT_EQ(markup("<b>a<i>b</b>c</i>d<u>e"), "{<b>a<i>b</i></b><i>c</i>d<u>e</u>}");
    EXPECT_EQ(markup("</b>x</i>"), "{x}");
    EXPECT_EQ(markup("<font color=red>rouge</font><script>alert('<b>')</script><style>p{}</style><!-- note -->!"),
        "{rouge!}");
    EXPECT_EQ(
        markup("1 < 2 et 3 <4 mais <a href=\"x\">lien</a> <broken"), "{1 &lt; 2 et 3 &lt;4 mais lien &lt;broken}");
    EXPECT_EQ(markup("<b>avant<img src=\"a.png\">apr\xC3\xA8s</b>"), "{<b>avant</b>}[a.png]{<b>apr\xC3\xA8s</b>}");
    EXPECT_EQ(markup("<p><br></p>"), "");
}

TEST(HtmlToPrintPieces, PicturesKeepTheirSourceTextAndSize)
{
    const auto pieces = HtmlToPrintPieces("<IMG BORDER=0 SRC=\"../images/a&amp;b.png\" WIDTH=120 HEIGHT='50%' "
                                          "ALT=\"Le c&oelig;ur\">");
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0].Type, TPrintPiece::Kind::Picture);
    EXPECT_EQ(pieces[0].Source, "../images/a&b.png");
    EXPECT_EQ(pieces[0].Alt, "Le c\xC5\x93ur");
    EXPECT_EQ(pieces[0].Width, 120);
    EXPECT_EQ(pieces[0].Height, 0) << "a percentage is no size";
}

TEST(ExamPdfPath, ReplacesThePageExtension)
{
    EXPECT_EQ(ExamPdfPath("/d/Quiz.v2/Quizexm-A.htm"), "/d/Quiz.v2/Quizexm-A.pdf");
    EXPECT_EQ(ExamPdfPath("/d/Quiz.v2/Quizsol"), "/d/Quiz.v2/Quizsol.pdf");
}

} // namespace
} // namespace tavimor
