// The Moodle XML export read back with an XML parser and checked element by
// element against what the question format asks for: a category, then one
// question element per question with its name, HTML texts, grades, answers
// with fractions and feedback, cloze lists, and embedded pictures.
#include "common/temp_folder.h"
#include "exchange/EmbeddedImages.h"
#include "exchange/MoodleXmlWriter.h"
#include "model/sample_document.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <filesystem>

namespace tavimor {
namespace {

using test::Add;
using test::Question;
using testing::ElementsAre;

std::string Text(const pugi::xml_node& node)
{
    return node.child("text").text().get();
}

// The <file> children of a text element as name, path, encoding, content.
std::vector<std::string> Files(const pugi::xml_node& element)
{
    std::vector<std::string> files;
    for (const pugi::xml_node file : element.children("file"))
        files.push_back(std::string(file.attribute("name").value()) + " " + file.attribute("path").value() + " "
            + file.attribute("encoding").value() + " " + file.text().get());
    return files;
}

// One answer as fraction, format, text, feedback format and feedback text.
std::string AnswerOf(const pugi::xml_node& answer)
{
    return std::string(answer.attribute("fraction").value()) + "|" + answer.attribute("format").value() + "|"
        + Text(answer) + "|" + answer.child("feedback").attribute("format").value() + "|"
        + Text(answer.child("feedback"));
}

std::vector<std::string> Answers(const pugi::xml_node& question)
{
    std::vector<std::string> answers;
    for (const pugi::xml_node answer : question.children("answer"))
        answers.push_back(AnswerOf(answer));
    return answers;
}

class MoodleXmlExport : public testing::Test {
protected:
    void SetUp() override
    {
        // The site's folder beside the document holds one picture, the
        // document's folder another; the texts use the image dialog's paths
        // and a tag typed by hand.
        std::filesystem::create_directories(folder_.File("Histoire/img"));
        folder_.Write("Histoire/img/logo.gif", "GIF89a");
        folder_.Write("photo.png", "\x89PNG");
        folder_.Write("notes.txt", "not a picture");
    }

    std::string DocumentPath() const { return folder_.File("Histoire.v2.kwz"); }

    test::TempFolder folder_ {"tavimor-moodle"};
};

TEST_F(MoodleXmlExport, EveryQuestionReadsBackAsTheFormatAsksFor)
{
    TQuizDocument doc = test::StartupDocument();
    TQuest q1 = Question(TRepType::rKWZ, "Voici <IMG SRC=\"../img/logo.gif\" BORDER=0> et\r\n<img src='photo.png'>",
        {"A & B", "C <img src=notes.txt>"}, 1);
    q1.UseGenMess[kRightSide] = false;
    q1.Mess[kRightSide] = "Bien <b>vu</b>";
    Add(doc, q1);
    TQuest q2 = Question(TRepType::rTrue, "Fin ]]> de CDATA\x01?", {"Vrai", "Faux"}, 0);
    q2.UseGenMess[kWrongSide] = false;
    q2.Mess[kWrongSide] = "Non: c'est \"vrai\".";
    Add(doc, q2);
    Add(doc, Question(TRepType::rOList, "Le <option> est <IMG SRC=\"../img/logo.gif\">.", {"sang}", "ci/el"}, 0));
    Add(doc, Question(TRepType::rTrue, "Oui?", {"Oui", "Non"}, 1));
    Add(doc, Question(TRepType::rKWZ, "Voir <img src=\"../img/absent.gif\"> <img src=\"http://x.org/y.gif\">", {}, -1));

    const TPlatformExport exported = MoodleXml(doc, DocumentPath());
    EXPECT_THAT(exported.Notes,
        ElementsAre("Question 1: l'image notes.txt est introuvable, elle n'est pas incluse.",
            "Question 5: aucun choix de r\xE9ponse, elle est export\xE9"
            "e comme description.",
            "Question 5: l'image ../img/absent.gif est introuvable, elle n'est pas incluse."));
    EXPECT_TRUE(exported.Text.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));

    pugi::xml_document xml;
    ASSERT_TRUE(xml.load_string(exported.Text.c_str())) << exported.Text;
    const pugi::xml_node quiz = xml.child("quiz");
    std::vector<pugi::xml_node> questions(quiz.children("question").begin(), quiz.children("question").end());
    ASSERT_EQ(questions.size(), 6u);

    EXPECT_STREQ(questions[0].attribute("type").value(), "category");
    EXPECT_EQ(Text(questions[0].child("category")), "$course$/top/Histoire");

    const pugi::xml_node mc = questions[1];
    EXPECT_STREQ(mc.attribute("type").value(), "multichoice");
    EXPECT_EQ(Text(mc.child("name")), "1. Voici et");
    EXPECT_STREQ(mc.child("questiontext").attribute("format").value(), "html");
    EXPECT_EQ(Text(mc.child("questiontext")),
        "Voici <IMG SRC=\"@@PLUGINFILE@@/logo.gif\" BORDER=0> et\n<img src='@@PLUGINFILE@@/photo.png'>");
    EXPECT_THAT(
        Files(mc.child("questiontext")), ElementsAre("logo.gif / base64 R0lGODlh", "photo.png / base64 iVBORw=="));
    EXPECT_STREQ(mc.child_value("defaultgrade"), "1");
    EXPECT_STREQ(mc.child_value("single"), "true");
    EXPECT_STREQ(mc.child_value("shuffleanswers"), "false");
    EXPECT_STREQ(mc.child_value("answernumbering"), "none");
    EXPECT_THAT(Answers(mc),
        ElementsAre("0|html|A & B|html|Cette r\xC3\xA9ponse est fausse.",
            "100|html|C <img src=notes.txt>|html|Bien <b>vu</b>"));

    const pugi::xml_node tf = questions[2];
    EXPECT_STREQ(tf.attribute("type").value(), "truefalse");
    EXPECT_EQ(Text(tf.child("questiontext")), "Fin ]]> de CDATA?");
    EXPECT_THAT(Answers(tf),
        ElementsAre("100|moodle_auto_format|true|html|Cette r\xC3\xA9ponse est la bonne.",
            "0|moodle_auto_format|false|html|Non: c'est \"vrai\"."));

    const pugi::xml_node cloze = questions[3];
    EXPECT_STREQ(cloze.attribute("type").value(), "cloze");
    EXPECT_EQ(Text(cloze.child("name")), "3. Le ____________est .");
    EXPECT_EQ(Text(cloze.child("questiontext")),
        "Le {1:MULTICHOICE:=sang\\}#Cette r\xC3\xA9ponse est la bonne.~ci\\/el#Cette r\xC3\xA9ponse est fausse.} "
        "est <IMG SRC=\"@@PLUGINFILE@@/logo.gif\">.");
    EXPECT_THAT(Files(cloze.child("questiontext")), ElementsAre("logo.gif / base64 R0lGODlh"));
    EXPECT_TRUE(cloze.child("answer").empty());

    EXPECT_STREQ(questions[4].attribute("type").value(), "multichoice");
    EXPECT_THAT(Answers(questions[4]),
        ElementsAre("0|html|Oui|html|Cette r\xC3\xA9ponse est fausse.",
            "100|html|Non|html|Cette r\xC3\xA9ponse est la bonne."));

    const pugi::xml_node description = questions[5];
    EXPECT_STREQ(description.attribute("type").value(), "description");
    EXPECT_STREQ(description.child_value("defaultgrade"), "0");
    EXPECT_EQ(Text(description.child("questiontext")),
        "Voir <img src=\"../img/absent.gif\"> <img src=\"http://x.org/y.gif\">");
    EXPECT_TRUE(Files(description.child("questiontext")).empty());
}

// Two different pictures of one name in one text keep both; the same picture
// twice is carried once.
TEST_F(MoodleXmlExport, CharactersKeptAsReferencesAreWrittenAsThemselves)
{
    TQuizDocument doc = test::StartupDocument();
    Add(doc, Question(TRepType::rKWZ, "Le nombre &#960; vaut", {"&#8776; 3,14", "4"}, 0));
    pugi::xml_document xml;
    ASSERT_TRUE(xml.load_string(MoodleXml(doc, DocumentPath()).Text.c_str()));
    const pugi::xml_node question = xml.child("quiz").find_child_by_attribute("question", "type", "multichoice");
    // The name is plain text: a reference would show as such.
    EXPECT_EQ(Text(question.child("name")), "1. Le nombre \xCF\x80 vaut");
    EXPECT_EQ(Text(question.child("questiontext")), "Le nombre \xCF\x80 vaut");
}

TEST_F(MoodleXmlExport, PicturesOfTheSameNameStayApart)
{
    folder_.Write("logo.gif", "GIF87a");
    ImageEmbedder images(DocumentPath(), "@@PLUGINFILE@@/");
    std::vector<TEmbeddedFile> files;
    std::vector<std::string> missing;
    const std::string html = images.Embed(
        "<img src=../img/logo.gif><img src=logo.gif><img src=\"../img/logo.gif\"><img src=\"../img/a b.gif\">", files,
        missing);
    EXPECT_EQ(html,
        "<img src=@@PLUGINFILE@@/logo.gif><img src=@@PLUGINFILE@@/logo-2.gif><img src=\"@@PLUGINFILE@@/logo.gif\">"
        "<img src=\"../img/a b.gif\">");
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[1].Bytes, "GIF87a");
    EXPECT_THAT(missing, ElementsAre("../img/a b.gif"));
}

} // namespace
} // namespace tavimor
