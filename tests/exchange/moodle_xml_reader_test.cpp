// The Moodle XML reader: each kind of question read from small files written
// here, the feedback of each side, the text formats, the carried pictures,
// the files refused whole, the limits of the document; then the files others
// wrote (shared corpus) and the program's own export read back.
#include "common/temp_folder.h"
#include "exchange/MoodleXmlReader.h"
#include "exchange/MoodleXmlWriter.h"
#include "model/sample_document.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <algorithm>
#include <filesystem>

namespace tavimor {
namespace {

using testing::ElementsAre;
using testing::HasSubstr;

std::string Quiz(const std::string& questions)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<quiz>\n" + questions + "</quiz>\n";
}

std::string Answer(const std::string& fraction, const std::string& text, const std::string& feedback = "")
{
    return "<answer fraction=\"" + fraction + "\" format=\"html\"><text>" + text + "</text><feedback><text>" + feedback
        + "</text></feedback></answer>\n";
}

std::string Question(const std::string& type, const std::string& name, const std::string& text,
    const std::string& rest = "", const std::string& format = "html")
{
    return "<question type=\"" + type + "\">\n<name><text>" + name + "</text></name>\n<questiontext format=\"" + format
        + "\"><text><![CDATA[" + text + "]]></text></questiontext>\n" + rest + "</question>\n";
}

std::string Whats(const TImportedBank& bank)
{
    std::string whats;
    for (const TImportNote& note : bank.Notes)
        whats += std::to_string(note.Line) + (note.Skipped ? " skipped " : " ") + note.What + "\n";
    return whats;
}

TEST(MoodleXmlReader, MultichoiceNeedsExactlyOneAnswerAtFullCredit)
{
    const TImportedBank bank = ReadMoodleXml(Quiz(
        Question("multichoice", "Capitale", "<p>Capitale ?</p>",
            "<single>false</single>" + Answer("100.0000000", "Paris") + Answer("0", "Lyon") + Answer("-50", "Nice"))
        + Question("multichoice", "Deux", "Deux ?", Answer("100", "a") + Answer("100", "b"))
        + Question("multichoice", "Aucune", "Aucune ?", Answer("50", "a") + Answer("50", "b"))
        + Question("multichoice", "Partiel", "Partiel ?", Answer("100", "a") + Answer("33.3", "b") + Answer("0", ""))));

    ASSERT_EQ(bank.Quests.size(), 2u);
    const TQuest& q = bank.Quests[0];
    EXPECT_EQ(q.QType, TRepType::rKWZ);
    EXPECT_EQ(q.QText, "<p>Capitale ?</p>");
    EXPECT_THAT(q.Reps, ElementsAre("Paris", "Lyon", "Nice"));
    EXPECT_EQ(q.NRep, 3);
    EXPECT_EQ(q.GoodRep, 0);
    EXPECT_EQ(bank.Quests[1].GoodRep, 0);
    EXPECT_THAT(bank.Quests[1].Reps, ElementsAre("a", "b")); // the empty answer is dropped

    // Lines are those of each <question>; the penalty, the two skipped
    // questions, the partial credit and the empty answer are named.
    ASSERT_EQ(bank.Notes.size(), 5u);
    EXPECT_EQ(bank.Notes[0].Line, 3);
    EXPECT_THAT(bank.Notes[0].What, HasSubstr("p\xE9nalit\xE9"));
    EXPECT_TRUE(bank.Notes[1].Skipped);
    EXPECT_EQ(bank.Notes[1].Question, "Deux");
    EXPECT_THAT(bank.Notes[1].What, HasSubstr("plusieurs bonnes r\xE9ponses"));
    EXPECT_EQ(bank.Notes[1].Line, 10);
    EXPECT_TRUE(bank.Notes[2].Skipped);
    EXPECT_THAT(bank.Notes[2].What, HasSubstr("sans r\xE9ponse \xE0 100 %"));
    EXPECT_THAT(bank.Notes[3].What, HasSubstr("vide"));
    EXPECT_EQ(bank.Notes[4].What,
        "cr\xE9"
        "dit partiel ramen\xE9 \xE0 0");
    EXPECT_FALSE(bank.Notes[4].Skipped);
}

TEST(MoodleXmlReader, TrueFalseTakesTheShapeOfTheQuizTrueFalseQuestions)
{
    const TImportedBank bank = ReadMoodleXml(
        Quiz(Question("truefalse", "V", "Vrai ?", Answer("0", "false", "Non") + Answer("100", "true", "Oui"))
            + Question("truefalse", "F", "Faux ?", Answer("100", "false") + Answer("0", "true"))
            + Question("truefalse", "Ancien", "Ordre ?", Answer("0", "oui") + Answer("100", "non"))
            + Question("truefalse", "Deux", "?", Answer("100", "true") + Answer("100", "false"))));

    ASSERT_EQ(bank.Quests.size(), 3u);
    for (const TQuest& q : bank.Quests) {
        EXPECT_EQ(q.QType, TRepType::rTrue);
        EXPECT_THAT(q.Reps, ElementsAre("Vrai", "Faux"));
        EXPECT_EQ(q.NRep, 2);
    }
    EXPECT_EQ(bank.Quests[0].GoodRep, 0);
    EXPECT_EQ(bank.Quests[0].Mess[kRightSide], "Oui");
    EXPECT_EQ(bank.Quests[0].Mess[kWrongSide], "Non");
    EXPECT_EQ(bank.Quests[1].GoodRep, 1);
    EXPECT_TRUE(bank.Quests[1].UseGenMess[kRightSide]);
    // Other labels than true and false: the first answer is "true", as old files have it.
    EXPECT_EQ(bank.Quests[2].GoodRep, 1);
    EXPECT_THAT(Whats(bank), HasSubstr("prise pour \xAB Vrai \xBB"));
    EXPECT_TRUE(bank.Notes.back().Skipped);
}

TEST(MoodleXmlReader, ClozeWithOneDropDownBecomesAClozeQuestion)
{
    const TImportedBank bank = ReadMoodleXml(Quiz(
        Question("cloze", "Capitale", "La capitale : {1:MULTICHOICE:=Paris#Bravo~London#Non~Berlin}. Pas <option>.")
        + Question("cloze", "Pourcent", "{2:MCVS:Rome~%100%Caf\\} &#233;#Oui \\~ &#35;1} fin")
        + Question("cloze", "Deux", "{1:MC:=a~b} et {1:MC:=c~d}")
        + Question("cloze", "Courte", "Nom : {1:SHORTANSWER:=Paris} ou \\frac{1}{2}")
        + Question("cloze", "Rien", "Pas de trou {ici}")));

    ASSERT_EQ(bank.Quests.size(), 2u);
    const TQuest& q = bank.Quests[0];
    EXPECT_EQ(q.QType, TRepType::rOList);
    // The marker stands where the braces were; the one in the text is text.
    EXPECT_EQ(q.QText, "La capitale : <option>. Pas &lt;option>.");
    EXPECT_THAT(q.Reps, ElementsAre("Paris", "London", "Berlin"));
    EXPECT_EQ(q.GoodRep, 0);
    EXPECT_EQ(q.Mess[kRightSide], "Bravo");
    EXPECT_EQ(q.Mess[kWrongSide], "\xAB\xA0London\xA0\xBB : Non");

    const TQuest& p = bank.Quests[1];
    EXPECT_EQ(p.QText, "<option> fin");
    EXPECT_THAT(p.Reps, ElementsAre("Rome", "Caf} &#233;"));
    EXPECT_EQ(p.GoodRep, 1);
    EXPECT_EQ(p.Mess[kRightSide], "Oui ~ &#35;1");

    const std::string whats = Whats(bank);
    EXPECT_THAT(whats, HasSubstr(kCombinedFeedbackNote));
    EXPECT_THAT(whats,
        HasSubstr("skipped non import\xE9"
                  "e : texte \xE0 trous de 2 questions int\xE9gr\xE9"
                  "es"));
    EXPECT_THAT(whats, HasSubstr("r\xE9ponse courte (SHORTANSWER)"));
    EXPECT_THAT(whats,
        HasSubstr("sans question int\xE9gr\xE9"
                  "e"));
}

TEST(MoodleXmlReader, CategoriesAndDescriptionsAreNotedOthersSkippedByKind)
{
    const TImportedBank bank = ReadMoodleXml(
        Quiz("<question type=\"category\"><category><text>$course$/top/Chap 1</text></category></question>\n"
            + Question("description", "Intro", "Lisez.") + Question("shortanswer", "Court", "Nom ?")
            + Question("matching", "App", "?") + Question("stack", "Calcul", "?")
            + "<question><name><text>X</text></name></question>\n"));

    EXPECT_TRUE(bank.Quests.empty());
    ASSERT_EQ(bank.Notes.size(), 6u);
    EXPECT_FALSE(bank.Notes[0].Skipped);
    EXPECT_EQ(bank.Notes[0].Question, "$course$/top/Chap 1");
    EXPECT_THAT(bank.Notes[0].What, HasSubstr("cat\xE9gorie"));
    EXPECT_FALSE(bank.Notes[1].Skipped);
    EXPECT_THAT(bank.Notes[1].What, HasSubstr("description"));
    EXPECT_EQ(bank.Notes[2].What,
        "non import\xE9"
        "e : r\xE9ponse courte");
    EXPECT_EQ(bank.Notes[3].What,
        "non import\xE9"
        "e : appariement");
    EXPECT_THAT(bank.Notes[4].What, HasSubstr("\xAB\xA0stack\xA0\xBB"));
    EXPECT_TRUE(std::all_of(bank.Notes.begin() + 2, bank.Notes.end(), [](const TImportNote& n) { return n.Skipped; }));
}

TEST(MoodleXmlReader, FeedbackFillsEachSideInOrder)
{
    const std::string general = "<generalfeedback format=\"html\"><text>G</text></generalfeedback>";
    const std::string correct = "<correctfeedback><text>Juste</text></correctfeedback>"
                                "<incorrectfeedback><text>Faux</text></incorrectfeedback>";
    const TImportedBank bank = ReadMoodleXml(Quiz(
        Question("multichoice", "A", "?", correct + Answer("100", "a", "Bien") + Answer("0", "b") + Answer("0", "c"))
        + Question("multichoice", "B", "?", general + correct + Answer("100", "a") + Answer("0", "b", "Non"))
        + Question("multichoice", "C", "?", Answer("100", "a") + Answer("0", "b"))));

    ASSERT_EQ(bank.Quests.size(), 3u);
    EXPECT_EQ(bank.Quests[0].Mess[kRightSide], "Bien<BR>\r\nJuste");
    EXPECT_EQ(bank.Quests[0].Mess[kWrongSide], "Faux");
    EXPECT_EQ(bank.Quests[1].Mess[kRightSide], "Juste<BR>\r\nG");
    EXPECT_EQ(bank.Quests[1].Mess[kWrongSide], "Non<BR>\r\nFaux<BR>\r\nG");
    EXPECT_FALSE(bank.Quests[1].UseGenMess[kWrongSide]);
    // Nothing anywhere: both sides stay generic.
    EXPECT_TRUE(bank.Quests[2].UseGenMess[kRightSide]);
    EXPECT_TRUE(bank.Quests[2].UseGenMess[kWrongSide]);
    EXPECT_EQ(bank.Quests[2].Mess, (std::array<std::string, 2> {}));
}

TEST(MoodleXmlReader, TextFormatsBecomeHtmlInWindows1252)
{
    const std::string choices = Answer("100", "x") + Answer("0", "y");
    const TImportedBank bank
        = ReadMoodleXml(Quiz(Question("multichoice", "Plain", "a < b & c\nsuite", choices, "plain_text")
            + Question("multichoice", "Md", "Du **gras**", choices, "markdown")
            + Question("multichoice", "Auto", "ligne\nligne", choices, "moodle_auto_format")
            + Question("multichoice", "Unicode", "\xCF\x80 \xE2\x82\xAC \xF0\x9F\x98\x80", choices)
            + Question("multichoice", "Nom &amp; titre", "", choices)
            + Question("multichoice", "", "<b>Sans</b> nom", Answer("100", "x"))));

    ASSERT_EQ(bank.Quests.size(), 5u);
    EXPECT_EQ(bank.Quests[0].QText, "a &lt; b &amp; c<BR>\r\nsuite");
    EXPECT_EQ(bank.Quests[1].QText, "Du <strong>gras</strong>");
    EXPECT_EQ(bank.Quests[2].QText, "ligne<BR>\r\nligne");
    // The euro is in Windows-1252; pi and the emoji are not.
    EXPECT_EQ(bank.Quests[3].QText, "&#960; \x80 &#128512;");
    EXPECT_EQ(bank.References, 2);
    EXPECT_EQ(bank.Quests[4].QText, "Nom &amp; titre"); // the name stands for an empty text
    ASSERT_EQ(bank.Notes.size(), 1u);
    EXPECT_EQ(bank.Notes[0].Question, "Sans nom"); // the first words stand for an empty name
}

TEST(MoodleXmlReader, CarriedFilesBecomePicturesOfTheBank)
{
    const std::string png = "\x89PNG\r\n\x1A\n-1";
    const std::string other = "GIF89a";
    const auto file = [](const std::string& name, const std::string& base64) {
        return "<file name=\"" + name + "\" path=\"/\" encoding=\"base64\">" + base64 + "</file>";
    };
    const std::string choices = Answer("100", "x") + Answer("0", "y");
    const auto question = [&](const std::string& text, const std::string& files) {
        return "<question type=\"multichoice\"><name><text>Q</text></name><questiontext format=\"html\"><text><![CDATA["
            + text + "]]></text>" + files + "</questiontext>" + choices + "</question>\n";
    };
    const TImportedBank bank = ReadMoodleXml(Quiz(
        question("<img src=\"@@PLUGINFILE@@/mon%20image.png\" alt=\"\">", file("mon image.png", "iVBORw0K\nGgotMQ=="))
        + question("<img src=\"@@PLUGINFILE@@/mon%20image.png\">", file("mon image.png", "R0lGODlh"))
        + question("<img src='@@PLUGINFILE@@/Mon_image.png'>", file("Mon_image.png", "iVBORw0KGgotMQ=="))
        + question(
            "<img src=\"@@PLUGINFILE@@/bad.png\"> <a href=\"@@PLUGINFILE@@/absent.mp3\">", file("bad.png", "i*VB"))
        + "<question type=\"multichoice\"><questiontext><text>&lt;img src=\"@@PLUGINFILE@@/s.png\"&gt;</text>"
        + file("s.png", "AAAA") + "</questiontext>" + Answer("100", "x") + Answer("100", "y") + "</question>"));

    ASSERT_EQ(bank.Quests.size(), 4u);
    ASSERT_EQ(bank.Pictures.size(), 2u);
    EXPECT_EQ(bank.Pictures[0].Name, "mon_image.png");
    EXPECT_EQ(bank.Pictures[0].Bytes, png);
    // Another picture of the same name gets a name of its own; the same
    // picture again (whatever the case of its name) is the same file.
    EXPECT_EQ(bank.Pictures[1].Name, "mon_image-2.png");
    EXPECT_EQ(bank.Pictures[1].Bytes, other);
    EXPECT_EQ(bank.Quests[0].QText, "<img src=\"" + PictureSource("mon_image.png") + "\" alt=\"\">");
    EXPECT_EQ(bank.Quests[1].QText, "<img src=\"" + PictureSource("mon_image-2.png") + "\">");
    EXPECT_EQ(bank.Quests[2].QText, "<img src='" + PictureSource("mon_image.png") + "'>");
    // A file that cannot be decoded or is not there is named; the address stays.
    EXPECT_THAT(bank.Quests[3].QText, HasSubstr("@@PLUGINFILE@@/bad.png"));
    const std::string whats = Whats(bank);
    EXPECT_THAT(whats,
        HasSubstr("\xAB\xA0"
                  "bad.png\xA0\xBB laiss\xE9 de c\xF4t\xE9"));
    EXPECT_THAT(whats,
        HasSubstr("\xAB\xA0"
                  "absent.mp3\xA0\xBB absent"));
    // The skipped question's picture did not come in, nor its notes.
    EXPECT_TRUE(bank.Notes.back().Skipped);
    EXPECT_EQ(bank.Notes.size(), 3u);
}

TEST(MoodleXmlReader, FileNamesAreSafeOnEveryFileSystem)
{
    const auto bank
        = ReadMoodleXml(Quiz("<question type=\"multichoice\"><questiontext><text>"
                             "&lt;img src=\"@@PLUGINFILE@@/d/%C3%A9t%C3%A9%3F.png\"&gt; "
                             "&lt;img src=\"@@PLUGINFILE@@/con.txt\"&gt; &lt;img src=\"@@PLUGINFILE@@/..\"&gt;"
                             "</text><file name=\"\xC3\xA9t\xC3\xA9?.png\" path=\"/d/\">QQ==</file>"
                             "<file name=\"con.txt\">QQ==</file><file name=\"..\">QQ==</file>"
                             "</questiontext>"
            + Answer("100", "x") + Answer("0", "y") + "</question>"));
    ASSERT_EQ(bank.Pictures.size(), 3u);
    EXPECT_EQ(bank.Pictures[0].Name, "_t__.png");
    EXPECT_EQ(bank.Pictures[1].Name, "_con.txt");
    EXPECT_EQ(bank.Pictures[2].Name, "fichier._");
}

TEST(MoodleXmlReader, UnreadableFilesAreRefusedWithTheirLine)
{
    const auto refusal = [](std::string_view bytes) {
        try {
            ReadMoodleXml(bytes);
        } catch (const ImportError& e) {
            EXPECT_THAT(e.what(), HasSubstr("Rien n'a \xE9t\xE9 import\xE9."));
            return std::string(e.what());
        }
        return std::string("(read)");
    };
    EXPECT_THAT(refusal(""), HasSubstr("vide"));
    EXPECT_THAT(refusal(" \n "), HasSubstr("vide"));
    EXPECT_THAT(refusal("<?xml version=\"1.0\"?>\n<quiz>\n<question type=\"truefalse\">\n</quiz>"),
        HasSubstr("ligne 4 : balise fermante"));
    EXPECT_THAT(refusal("<quiz>\n<question a=b>"), HasSubstr("ligne 2 : attribut"));
    EXPECT_THAT(refusal("<catalog/>"), HasSubstr("<catalog>"));
    EXPECT_THAT(refusal("<quiz>\n\n<!-- caf\xE9 -->\n</quiz>"), HasSubstr("UTF-8 valide (ligne 3)"));
    EXPECT_THAT(refusal("<?xml version='1.0' encoding='KOI8-R'?><quiz/>"), HasSubstr("\xAB\xA0koi8-r\xA0\xBB"));
    EXPECT_THAT(refusal(std::string("\xFF\xFE<\0", 4) + std::string("\x00\xD8x\0", 4)), HasSubstr("UTF-16"));
    EXPECT_THAT(refusal(std::string(kMaxMoodleXmlBytes + 1, ' ')), HasSubstr("64 Mio"));
}

TEST(MoodleXmlReader, DeclaredEncodingsAreReadAsDeclared)
{
    const std::string body = Question("truefalse", "Caf\xE9", "\x80?", Answer("100", "true") + Answer("0", "false"));
    const TImportedBank latin1
        = ReadMoodleXml("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><quiz>" + body + "</quiz>");
    ASSERT_EQ(latin1.Quests.size(), 1u);
    EXPECT_EQ(latin1.Quests[0].QText, "&#128;?"); // the C1 control is no Windows-1252 character
    const TImportedBank cp1252
        = ReadMoodleXml("<?xml version=\"1.0\" encoding=\"windows-1252\"?><quiz>" + body + "</quiz>");
    ASSERT_EQ(cp1252.Quests.size(), 1u);
    EXPECT_EQ(cp1252.Quests[0].QText, "\x80?");

    std::string utf16 = "\xFF\xFE";
    for (const char c : std::string("<quiz>\n")
            + Question("truefalse", "N", "T?", Answer("100", "true") + Answer("0", "false")) + "</quiz>")
        utf16 += std::string {c, '\0'};
    const TImportedBank fromUtf16 = ReadMoodleXml(utf16);
    ASSERT_EQ(fromUtf16.Quests.size(), 1u);
    EXPECT_EQ(fromUtf16.Quests[0].QText, "T?");
    // A lone question is a bank of one.
    EXPECT_EQ(
        ReadMoodleXml(Question("truefalse", "N", "T?", Answer("0", "true") + Answer("100", "false"))).Quests.size(),
        1u);
}

TEST(MoodleXmlReader, NeverMoreQuestionsOrAnswersThanTheDocumentCounts)
{
    std::string answers = Answer("100", "r");
    for (int i = 0; i < 65535; ++i)
        answers += "<answer fraction=\"0\"><text>w</text></answer>";
    const std::string truefalse = "<question type=\"truefalse\"><answer fraction=\"100\"><text>true</text></answer>"
                                  "<answer fraction=\"0\"><text>false</text></answer></question>\n";
    std::string many = "<quiz>" + Question("multichoice", "Trop", "?", answers);
    many.reserve(many.size() + truefalse.size() * 65536);
    for (int i = 0; i < 65536; ++i)
        many += truefalse;
    const TImportedBank bank = ReadMoodleXml(many + "</quiz>");
    EXPECT_EQ(bank.Quests.size(), 65535u);
    ASSERT_EQ(bank.Notes.size(), 2u);
    EXPECT_THAT(bank.Notes[0].What, HasSubstr("plus de 65535 r\xE9ponses"));
    EXPECT_THAT(bank.Notes[1].What, HasSubstr("65535 questions"));
    EXPECT_EQ(bank.Notes[1].Line, 65541);
}

// ---------------------------------------------------------------------------
// Files written by others, and the program's own export

const std::filesystem::path kCorpus = TAVIMOR_TEST_DATA "/../../shared/corpora/moodle-xml";

TEST(MoodleXmlCorpus, EveryQuestionIsImportedOrNoted)
{
    ASSERT_TRUE(std::filesystem::exists(kCorpus)) << "no shared corpus at " << kCorpus;
    int files = 0;
    std::size_t imported = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(kCorpus)) {
        if (entry.path().extension() != ".xml")
            continue;
        ++files;
        SCOPED_TRACE(entry.path().string());
        const std::string bytes = test::ReadBytes(entry.path());
        pugi::xml_document doc;
        const bool wellFormed = doc.load_buffer(bytes.data(), bytes.size());
        const std::string root = doc.document_element().name();
        if (!wellFormed || (root != "quiz" && root != "question")) {
            EXPECT_THROW(ReadMoodleXml(bytes), ImportError);
            continue;
        }
        const TImportedBank bank = ReadMoodleXml(bytes);
        std::size_t questions = 0;
        for (const pugi::xml_node q :
            root == "quiz" ? doc.document_element().children("question") : doc.children("question"))
            if (std::string_view(q.attribute("type").value()) != "category")
                ++questions;
        const std::size_t accounted = static_cast<std::size_t>(std::count_if(bank.Notes.begin(), bank.Notes.end(),
            [](const TImportNote& n) { return n.Skipped || n.What.starts_with("description"); }));
        EXPECT_EQ(bank.Quests.size() + accounted, questions);
        for (const TImportNote& note : bank.Notes)
            EXPECT_GT(note.Line, 0);
        for (const TQuest& q : bank.Quests) {
            EXPECT_EQ(q.NRep, q.Reps.size());
            EXPECT_TRUE(q.GoodRep >= 0 && q.GoodRep < static_cast<int>(q.Reps.size()));
        }
        imported += bank.Quests.size();
    }
    EXPECT_GT(files, 60);
    // Most of the real exports are multiple choice the quiz can hold.
    EXPECT_GT(imported, 450u);
}

TEST(MoodleXmlCorpus, KnownFilesReadAsTheirQuestionsAre)
{
    ASSERT_TRUE(std::filesystem::exists(kCorpus)) << "no shared corpus at " << kCorpus;
    const auto read = [](const char* name) { return ReadMoodleXml(test::ReadBytes(kCorpus / name)); };
    const TImportedBank tf = read("moodle/truefalse.xml");
    ASSERT_EQ(tf.Quests.size(), 2u);
    // Both questions carry the same four pictures: each comes in once.
    ASSERT_EQ(tf.Pictures.size(), 4u);
    EXPECT_EQ(tf.Pictures[0].Name, "logo.jpg");
    for (const TImportedPicture& picture : tf.Pictures)
        EXPECT_TRUE(picture.Bytes.starts_with("\xFF\xD8")) << picture.Name; // JPEG
    for (const TQuest& q : tf.Quests)
        EXPECT_THAT(q.QText, HasSubstr("<img src=\"" + PictureSource("logo.jpg") + "\""));
    const TImportedBank cloze = read("moodle/multianswer.xml");
    EXPECT_TRUE(cloze.Quests.empty());
    EXPECT_THAT(Whats(cloze),
        HasSubstr("5 questions int\xE9gr\xE9"
                  "es"));
    const TImportedBank hungarian = read("other/PROGmastersBootcamp_160as.xml");
    EXPECT_EQ(hungarian.Quests.size(), 160u);
    EXPECT_EQ(hungarian.Notes.size(), 160u); // one category each
}

TEST(MoodleXmlCorpus, OwnExportReadsBackAsTheSameQuestions)
{
    TQuizDocument doc = test::StartupDocument();
    TQuest choice = test::Question(TRepType::rKWZ, "Combien <b>font</b> 2 + 2 ?", {"3", "4 &amp; plus", "5"}, 1);
    choice.UseGenMess = {false, false};
    choice.Mess = {"Non", "Oui \x80"};
    test::Add(doc, choice);
    TQuest truth = test::Question(TRepType::rTrue, "La Terre est ronde.", {"Vrai", "Faux"}, 0);
    truth.UseGenMess = {false, false};
    truth.Mess = {"Si", "Bien"};
    test::Add(doc, truth);
    TQuest cloze = test::Question(TRepType::rOList, "Le chat <option> la souris.", {"mange", "cha}sse #1 ~"}, 1);
    cloze.UseGenMess = {false, false};
    cloze.Mess = {"Relisez", "Oui"};
    test::Add(doc, cloze);

    test::TempFolder folder {"tavimor-moodle-read"};
    const TImportedBank bank = ReadMoodleXml(MoodleXml(doc, folder.File("Chat.kwz")).Text);
    ASSERT_EQ(bank.Quests.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        const TQuest& written = doc.Quests.Quest(static_cast<int>(i + 1));
        const TQuest& read = bank.Quests[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(read.QType, written.QType);
        EXPECT_EQ(read.QText, written.QText);
        EXPECT_EQ(read.Reps, written.Reps);
        EXPECT_EQ(read.GoodRep, written.GoodRep);
        EXPECT_EQ(read.Mess, written.Mess);
    }
}

} // namespace
} // namespace tavimor
