// The GIFT export and import: the text written for each kind of question,
// what comes back through the reader, the kinds it skips, and the files it
// refuses with the line at fault.
#include "base/TextHelpers.h"
#include "base/Utf8.h"
#include "common/temp_folder.h"
#include "exchange/GiftReader.h"
#include "exchange/GiftWriter.h"
#include "exchange/ImportReport.h"
#include "exchange/MoodleXmlWriter.h"
#include "model/sample_document.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <sstream>

namespace tavimor {
namespace {

using test::Add;
using test::Question;
using testing::HasSubstr;

// Every kind the export knows, with the characters GIFT reserves.
TQuizDocument KindsDocument()
{
    TQuizDocument doc = test::StartupDocument();
    doc.Quests.GenMess[kWrongSide].push_back("Relisez {la} le\xE7on #3.");
    TQuest q1 = Question(TRepType::rKWZ, "Que vaut 1:2 ~ 0,5?", {"0,5", "2"}, 0);
    q1.MessIdx[kWrongSide] = 1;
    q1.UseGenMess[kRightSide] = false;
    q1.Mess[kRightSide] = "Oui\\c'est \xE7"
                          "a";
    Add(doc, q1);
    Add(doc, Question(TRepType::rTrue, "La Terre est plate.", {"Vrai", "Faux"}, 1));
    Add(doc, Question(TRepType::rTrue, "Oui ou non?", {"Oui", "Non"}, 0));
    Add(doc, Question(TRepType::rOList, "Le <option> est <b>rouge</b>.", {"sang", "ciel"}, 0));
    Add(doc, Question(TRepType::rKWZ, "Ligne 1\r\nLigne 2", {"Seule"}, 0));
    Add(doc, Question(TRepType::rKWZ, "Lisez le texte.", {}, -1));
    Add(doc, Question(TRepType::rKWZ, "", {}, -1));
    Add(doc, Question(TRepType::rKWZ, "// pas un commentaire", {"%5", ""}, 1));
    return doc;
}

TEST(GiftExport, EscapesEveryControlCharacterAndLineBreak)
{
    EXPECT_EQ(GiftEscape("a~b=c#d{e}f:g\\h"), "a\\~b\\=c\\#d\\{e\\}f\\:g\\\\h");
    EXPECT_EQ(GiftEscape("1\r\n2\r3\n4"), "1\\n2\\n3\\n4");
    EXPECT_EQ(GiftEscape("<b>caf\xC3\xA9</b> 50%"), "<b>caf\xC3\xA9</b> 50%");
}

TEST(GiftExport, WritesEachKindOfQuestion)
{
    const TPlatformExport exported = GiftText(KindsDocument(), "Cours/1");
    const std::string expected
        = "// Cours//1\r\n$CATEGORY: $course$/top/Cours//1\r\n\r\n"
          "// 1\r\nQue vaut 1\\:2 \\~ 0,5?{\r\n"
          "\t=0,5#Oui\\\\c'est \xC3\xA7"
          "a\r\n"
          "\t~2#Relisez \\{la\\} le\xC3\xA7on \\#3.\r\n}\r\n\r\n"
          "// 2\r\nLa Terre est plate.{F#Cette r\xC3\xA9ponse est fausse.#Cette r\xC3\xA9ponse est la bonne.}\r\n\r\n"
          "// 3\r\nOui ou non?{\r\n\t=Oui#Cette r\xC3\xA9ponse est la bonne.\r\n"
          "\t~Non#Cette r\xC3\xA9ponse est fausse.\r\n}\r\n\r\n"
          "// 4\r\n[html]Le {=sang#Cette r\xC3\xA9ponse est la bonne. ~ciel#Cette r\xC3\xA9ponse est fausse.} "
          "est <b>rouge</b>.\r\n\r\n"
          "// 5\r\nLigne 1\\nLigne 2{\r\n\t~%100%Seule#Cette r\xC3\xA9ponse est la bonne.\r\n"
          "\t####Cette r\xC3\xA9ponse est fausse.\r\n}\r\n\r\n"
          "// 6\r\nLisez le texte.\r\n\r\n"
          "// 8\r\n[html]// pas un commentaire{\r\n\t~%0%%5#Cette r\xC3\xA9ponse est fausse.\r\n"
          "\t=&nbsp;#Cette r\xC3\xA9ponse est la bonne.\r\n}\r\n\r\n";
    EXPECT_EQ(exported.Text, expected);
    EXPECT_THAT(exported.Notes,
        testing::ElementsAre("Question 6: aucun choix de r\xE9ponse, elle est export\xE9"
                             "e comme description.",
            "Question 7: ni texte ni choix de r\xE9ponse, elle est omise."));
}

// A character the code page lacks, kept in the document as a reference, is
// written into the UTF-8 exports as itself and comes back as the reference.
TEST(GiftExport, CharactersKeptAsReferencesAreWrittenAsThemselves)
{
    TQuizDocument doc = test::StartupDocument();
    Add(doc, Question(TRepType::rKWZ, "Le nombre &#960; vaut", {"&#8776; 3,14", "&#8805; 4"}, 0));
    const TPlatformExport gift = GiftText(doc, "Cours");
    EXPECT_THAT(gift.Text, HasSubstr("Le nombre \xCF\x80 vaut{\r\n\t=\xE2\x89\x88 3,14#"));
    EXPECT_THAT(gift.Text, testing::Not(HasSubstr("&")));

    const TImportedBank back = ReadGift(gift.Text);
    ASSERT_EQ(back.Quests.size(), 1u);
    EXPECT_EQ(back.Quests[0].QText, "Le nombre &#960; vaut");
    EXPECT_EQ(back.Quests[0].Reps[1], "&#8805; 4");
}

// The list of a cloze question stays against the punctuation after it, in
// both exports, and the text reads back as it was.
TEST(GiftExport, NoBlankComesBetweenAClozeListAndThePunctuationAfterIt)
{
    TQuizDocument doc = test::StartupDocument();
    Add(doc, Question(TRepType::rOList, "La capitale est <option> .", {"Paris", "Lyon"}, 0));
    Add(doc, Question(TRepType::rOList, "Capitale <option>  ?", {"Paris", "Lyon"}, 0));
    const std::string gift = GiftText(doc, "Cours").Text;
    EXPECT_THAT(gift, HasSubstr("}.\r\n"));
    EXPECT_THAT(gift, HasSubstr("} ?\r\n"));
    const std::string xml = MoodleXml(doc, "Cours.kwz").Text;
    EXPECT_THAT(xml, HasSubstr("}.")) << xml;
    EXPECT_THAT(xml, testing::Not(HasSubstr("} .")));
    const TImportedBank back = ReadGift(gift);
    ASSERT_EQ(back.Quests.size(), 2u);
    EXPECT_EQ(back.Quests[0].QText, "La capitale est <option> .");
    EXPECT_EQ(back.Quests[1].QText, "Capitale <option>  ?");
}

TEST(GiftImport, SkipsOtherKindsAndListsThemByLine)
{
    const std::string gift = "// banque\n$CATEGORY: $course$/top/X\n\n"
                             "::N::Combien?{#4:0}\n\n"
                             "Associez.{\n=chat -> miaou\n=chien -> ouaf\n}\n\n"
                             "Symbole de l'or?{=Au =au}\n\n"
                             "Racontez.{}\n\n"
                             "Simple description.\n\n"
                             "Q{=%50%a ~%50%b ~c}\n\n"
                             "Gard\xC3\xA9"
                             "e?{=oui ~non}\n";
    const TImportedBank bank = ReadGift(gift);
    ASSERT_EQ(bank.Quests.size(), 1u);
    EXPECT_EQ(bank.Quests[0].QText,
        "Gard\xE9"
        "e?");
    EXPECT_EQ(ImportReportText(bank),
        "1 question import\xE9"
        "e, 6 non import\xE9"
        "es.\n"
        "  ligne 2 : cat\xE9gorie \xAB\xA0$course$/top/X\xA0\xBB : les cat\xE9gories ne sont pas gard\xE9"
        "es\n"
        "  ligne 4, \xAB\xA0N\xA0\xBB : non import\xE9"
        "e : num\xE9rique\n"
        "  ligne 6, \xAB\xA0"
        "Associez.\xA0\xBB : non import\xE9"
        "e : appariement\n"
        "  ligne 11, \xAB\xA0Symbole de l'or?\xA0\xBB : non import\xE9"
        "e : r\xE9ponse courte\n"
        "  ligne 13, \xAB\xA0Racontez.\xA0\xBB : non import\xE9"
        "e : composition (r\xE9ponse libre)\n"
        "  ligne 15, \xAB\xA0Simple description.\xA0\xBB : non import\xE9"
        "e : description (pas de r\xE9ponses)\n"
        "  ligne 17, \xAB\xA0Q\xA0\xBB : non import\xE9"
        "e : choix multiple sans r\xE9ponse enti\xE8rement juste");
}

// The faults found with banks written by others: each question either comes
// in faithfully or is listed with what was not carried over.
TEST(GiftImport, NothingIsLostWithoutALineInTheReport)
{
    struct Case {
        const char* name;
        std::string gift;
        std::vector<std::string> reps; // empty: the question is skipped
        int good;
        std::string wrong; // the wrong side's own message, "" for the generic one
        std::string right;
        std::string note; // found in the report
    };
    const std::vector<Case> cases {
        {"each wrong answer keeps its own feedback",
            "Q{~ \\~ # \\~ is a control character. ~ \\= # \\= is a control character. = \\\\ # Correct!}",
            {"~", "=", "\\"}, 2,
            "\xAB\xA0~\xA0\xBB : ~ is a control character.<BR>\r\n\xAB\xA0=\xA0\xBB : = is a control character.",
            "Correct!", "r\xE9unis dans le message \xAB si faux \xBB"},
        {"partial credit", "O\xC3\xB9 est n\xC3\xA9 J\xC3\xA9sus?{~%25%Bethlehem ~%50%Galilee =Nazareth}",
            {"Bethlehem", "Galilee", "Nazareth"}, 2, "", "",
            "cr\xE9"
            "dit partiel ramen\xE9 \xE0 0"},
        {"general feedback with both sides'", "Q{=a#bien ~b#non ####Voir p. 3}", {"a", "b"}, 0, "non<BR>\r\nVoir p. 3",
            "bien<BR>\r\nVoir p. 3", "commentaire g\xE9n\xE9ral"},
        {"a % that opens no weight is text", "Format?{=%d ~%s ~%f}", {"%d", "%s", "%f"}, 0, "", "", ""},
        {"an empty answer is dropped", "Combien?{~=some~a few}", {"some", "a few"}, 0, "", "",
            "une r\xE9ponse vide est ignor\xE9"
            "e"},
        {"two answer blocks", "Two plus {=two ~three} equals {=four ~five}.", {}, -1, "", "",
            "ne peut avoir qu'un bloc de r\xE9ponses"},
        {"small letters are no true/false answer", "La Terre est ronde.{true}", {}, -1, "", "",
            "\xAB\xA0true\xA0\xBB n'est pas une r\xE9ponse vrai/faux"},
        {"a title alone", "::What is 2+2?::{=4 ~5}", {"4", "5"}, 0, "", "", ""},
        {"markdown", "[markdown]Le **gras** et _l'italique_{=a ~b}", {"a", "b"}, 0, "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TImportedBank bank = ReadGift("$CATEGORY: tests\n" + c.gift + "\n\nSuivante?{=oui ~non}\n");
        const std::string report = ImportReportText(bank);
        ASSERT_EQ(bank.Quests.size(), c.reps.empty() ? 1u : 2u) << report;
        EXPECT_EQ(bank.Quests.back().QText, "Suivante?");
        if (!c.note.empty()) {
            EXPECT_THAT(report, HasSubstr(c.note));
        }
        EXPECT_THAT(report, HasSubstr("ligne 1 : cat\xE9gorie"));
        if (c.reps.empty()) {
            EXPECT_THAT(report, HasSubstr("ligne 2, "));
            continue;
        }
        const TQuest& q = bank.Quests.front();
        EXPECT_EQ(q.Reps, c.reps);
        EXPECT_EQ(q.GoodRep, c.good);
        EXPECT_EQ(q.Mess[kWrongSide], c.wrong);
        EXPECT_EQ(q.Mess[kRightSide], c.right);
        EXPECT_EQ(q.UseGenMess[kWrongSide], c.wrong.empty());
    }
    EXPECT_EQ(ReadGift("::What is 2+2?::{=4 ~5}").Quests[0].QText, "What is 2+2?");
    EXPECT_EQ(ReadGift("[markdown]Le **gras** et _l'italique_{=a ~b}").Quests[0].QText,
        "Le <strong>gras</strong> et <em>l'italique</em>");
    for (const char* word : {"T", "TRUE", "F", "FALSE"})
        EXPECT_EQ(ReadGift(std::string("Vrai?{") + word + "}").Quests.size(), 1u) << word;
}

struct ReadCase {
    const char* name;
    std::string gift;
    TRepType type;
    std::string text;
    std::vector<std::string> reps;
    int good;
    std::optional<std::string> wrong; // own message, or nothing for the generic one
    std::optional<std::string> right;
};

TEST(GiftImport, ReadsTextsChoicesAndFeedback)
{
    const auto none = std::nullopt;
    const std::vector<ReadCase> cases {
        {"weights", "Q{=%50%a ~%100%b ~c}", TRepType::rKWZ, "Q", {"a", "b", "c"}, 1, none, none},
        {"missing word before punctuation", "Capitale: {=Paris ~Lyon}.", TRepType::rOList, "Capitale: <option> .",
            {"Paris", "Lyon"}, 0, none, none},
        {"missing word before spaced punctuation", "Capitale {=Paris ~Lyon} ?", TRepType::rOList,
            "Capitale <option>  ?", {"Paris", "Lyon"}, 0, none, none},
        {"general feedback", "Q{=a ~b ####G}", TRepType::rKWZ, "Q", {"a", "b"}, 0, "G", "G"},
        {"one wrong feedback for all", "Q{=a#R ~b#W ~c#W}", TRepType::rKWZ, "Q", {"a", "b", "c"}, 0, "W", "R"},
        {"true/false feedback order", "Q{FALSE#faux!#bien}", TRepType::rTrue, "Q", {"Vrai", "Faux"}, 1, "faux!",
            "bien"},
        {"plain text", "[plain]a<b{=x&y ~z}", TRepType::rKWZ, "a&lt;b", {"x&amp;y", "z"}, 0, none, none},
        {"outside the code page", "Prix en \xE2\x82\xB9?{=\xE2\x82\xB9 ~\xE2\x82\xAC}", TRepType::rKWZ,
            "Prix en &#8377;?", {"&#8377;", "\x80"}, 0, none, none},
        {"missing word", "Le <option> {=a ~b} fin", TRepType::rOList, "Le &lt;option> <option> fin", {"a", "b"}, 0,
            none, none},
        {"missing word first", "{=a ~b} fin.", TRepType::rOList, "<option> fin.", {"a", "b"}, 0, none, none},
        {"title, escapes, CR lines", "::T\\:1::Texte \\{x\\}\r{\r=a\r~b\r}", TRepType::rKWZ, "Texte {x}", {"a", "b"}, 0,
            none, none},
        {"line breaks", "Ligne 1\\nLigne 2\n// commentaire\ncontinue{=a ~b}", TRepType::rKWZ,
            "Ligne 1\r\nLigne 2\r\ncontinue", {"a", "b"}, 0, none, none},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        const TImportedBank bank = ReadGift(c.gift);
        ASSERT_EQ(bank.Quests.size(), 1u);
        const TQuest& q = bank.Quests[0];
        EXPECT_EQ(q.QType, c.type);
        EXPECT_EQ(q.QText, c.text);
        EXPECT_EQ(q.Reps, c.reps);
        EXPECT_EQ(q.GoodRep, c.good);
        EXPECT_EQ(q.UseGenMess[kWrongSide], !c.wrong);
        EXPECT_EQ(q.UseGenMess[kRightSide], !c.right);
        EXPECT_EQ(q.Mess[kWrongSide], c.wrong.value_or(""));
        EXPECT_EQ(q.Mess[kRightSide], c.right.value_or(""));
    }
}

// A question that cannot be read is skipped and listed with its line and
// the reason; the questions around it come in. Only a file that is not UTF-8
// is refused whole.
TEST(GiftImport, UnreadableQuestionsAreSkippedWithTheirLine)
{
    const std::vector<std::pair<std::string, std::string>> cases {
        {"Q{=a ~b", "ligne 3 : \xAB {\xA0\xBB sans \xAB }\xA0\xBB"},
        {"Q\n}{=a ~b}", "ligne 4 : \xAB }\xA0\xBB sans \xAB {\xA0\xBB"},
        {"Q{=a\n{~b}", "ligne 4 : \xAB {\xA0\xBB dans un bloc de r\xE9ponses"},
        {"\n::titre{=a ~b}", "ligne 4 : le titre"},
        {"Q{texte ~b}",
            "ligne 3 : du texte pr\xE9"
            "c\xE8"
            "de la premi\xE8re r\xE9ponse"},
    };
    for (const auto& [gift, message] : cases) {
        SCOPED_TRACE(gift);
        const TImportedBank bank = ReadGift("Avant?{=a ~b}\n\n" + gift + "\n\nApr\xC3\xA8s?{=a ~b}\n");
        ASSERT_EQ(bank.Quests.size(), 2u);
        EXPECT_THAT(ImportReportText(bank),
            HasSubstr("non import\xE9"
                      "e : question illisible, "
                + message));
    }
    for (const std::pair<std::string, std::string>& bad : std::vector<std::pair<std::string, std::string>> {
             {"ok\n\nbad \xC3( ici", "(ligne 3)"},
             {"x\r\r\xC0\x80", "(ligne 3)"},
             {"surrogate \xED\xA0\x80", "(ligne 1)"},
             {"coup\xE9 \xE2\x82", "(ligne 1)"},
         }) {
        try {
            ReadGift(bad.first);
            ADD_FAILURE() << "not refused: " << bad.first;
        } catch (const GiftError& e) {
            EXPECT_THAT(e.what(), HasSubstr(bad.second));
            EXPECT_THAT(e.what(), HasSubstr("Rien n'a \xE9t\xE9 import\xE9."));
        }
    }
}

// Huge lines, thousands of unbalanced braces and control bytes get a
// message or a plain result, in time proportional to their size.
TEST(GiftImport, HostileFilesGetAMessageQuickly)
{
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(ReadGift(std::string(8'000'000, 'a')).Notes.size(), 1u);
    EXPECT_EQ(ReadGift(std::string(2'000'000, '{')).Quests.size(), 0u);
    EXPECT_EQ(ReadGift("Q" + std::string(1'000'000, '}')).Notes.size(), 1u);
    std::string blocks;
    for (int i = 0; i < 100'000; ++i)
        blocks += "Q{=a ~b}\n";
    EXPECT_EQ(ReadGift(blocks).Notes.size(), 1u);
    EXPECT_EQ(ReadGift("::" + std::string(1'000'000, 'x') + "{=a ~b}").Notes.size(), 1u);
    EXPECT_EQ(ReadGift(std::string("Q\0\x01{=a\0b ~\x7F}", 12)).Quests.size(), 1u);

    std::string many;
    for (int i = 0; i < 65'537; ++i)
        many += "Q{=a ~b}\n\n";
    const TImportedBank full = ReadGift(many);
    EXPECT_EQ(full.Quests.size(), 65'535u);
    ASSERT_EQ(full.Notes.size(), 2u);
    EXPECT_THAT(ImportReportText(full),
        HasSubstr("ligne 131071, \xAB\xA0Q\xA0\xBB : non import\xE9"
                  "e : un quiz tient au plus 65535 questions"));
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(30));
}

// Banks written by others: as platforms split a file (paragraphs between
// blank lines, without comment and category lines), every question is either
// imported or named in the report.
TEST(GiftCorpus, EveryQuestionIsImportedOrNoted)
{
    const std::filesystem::path corpus = TAVIMOR_TEST_DATA "/../../shared/corpora/gift";
    ASSERT_TRUE(std::filesystem::exists(corpus)) << "no shared corpus at " << corpus;
    int files = 0;
    std::size_t imported = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(corpus)) {
        if (!entry.is_regular_file() || entry.path().extension() == ".md")
            continue;
        ++files;
        SCOPED_TRACE(entry.path().string());
        std::string bytes = test::ReadBytes(entry.path());
        if (FirstMalformedUtf8Line(bytes)) {
            EXPECT_THROW(ReadGift(bytes), GiftError);
            continue;
        }
        std::size_t paragraphs = 0;
        bool inParagraph = false;
        std::istringstream lines(bytes);
        for (std::string line; std::getline(lines, line);) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            const std::string_view text = TrimmedView(line);
            if (text.empty()) {
                inParagraph = false;
                continue;
            }
            if (text.starts_with("//") || text.starts_with("$CATEGORY:") || text == "\xEF\xBB\xBF")
                continue;
            if (!inParagraph)
                ++paragraphs;
            inParagraph = true;
        }
        const TImportedBank bank = ReadGift(bytes);
        const auto skipped = static_cast<std::size_t>(
            std::count_if(bank.Notes.begin(), bank.Notes.end(), [](const TImportNote& n) { return n.Skipped; }));
        EXPECT_EQ(bank.Quests.size() + skipped, paragraphs);
        imported += bank.Quests.size();
    }
    EXPECT_GT(files, 100);
    // About half of the questions are of kinds a quiz can hold.
    EXPECT_GT(imported, 400u);
}

} // namespace
} // namespace tavimor
