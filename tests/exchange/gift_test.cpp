// The GIFT export and import: the text written for each kind of question,
// what comes back through the reader, the kinds it skips, and the files it
// refuses with the line at fault.
#include "exchange/GiftReader.h"
#include "exchange/GiftWriter.h"
#include "model/sample_document.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>

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

    TQuizDocument back = test::StartupDocument();
    ImportGift(back, gift.Text);
    ASSERT_EQ(back.Quests.Count(), 1);
    EXPECT_EQ(back.Quests.GetQText(0), "Le nombre &#960; vaut");
    EXPECT_EQ(back.Quests.Current().Reps[1], "&#8805; 4");
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
                             "Gardée?{=oui ~non}\n";
    const TGiftContent content = ReadGift(gift);
    ASSERT_EQ(content.Quests.size(), 1u);
    EXPECT_EQ(content.Quests[0].QText,
        "Gard\xE9"
        "e?");
    EXPECT_EQ(GiftImportNotice(content),
        "6 questions n'ont pas \xE9t\xE9 import\xE9"
        "es (Tavimor ne lit que les questions \xE0 choix multiple, "
        "vrai/faux et mots manquants):\n"
        "  ligne 4: num\xE9rique\n  ligne 6: appariement\n  ligne 11: r\xE9ponse courte\n"
        "  ligne 13: composition (r\xE9ponse libre)\n  ligne 15: description\n"
        "  ligne 17: choix multiple sans bonne r\xE9ponse unique");

    TQuizDocument doc = test::StartupDocument();
    try {
        ImportGift(doc, "Combien?{#4}\n");
        FAIL() << "a file without any question the quiz can hold was imported";
    } catch (const GiftError& e) {
        EXPECT_THAT(e.what(), HasSubstr("ne contient aucune question \xE0 importer"));
        EXPECT_THAT(e.what(), HasSubstr("ligne 1: num\xE9rique"));
    }
    EXPECT_EQ(doc.Quests.Count(), 0);
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
        {"general feedback", "Q{=a ~b ####G}", TRepType::rKWZ, "Q", {"a", "b"}, 0, "G", "G"},
        {"first wrong feedback", "Q{=a#R ~b# ~c#W1 ~d#W2}", TRepType::rKWZ, "Q", {"a", "b", "c", "d"}, 0, "W1", "R"},
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
        const TGiftContent content = ReadGift(c.gift);
        ASSERT_EQ(content.Quests.size(), 1u);
        const TQuest& q = content.Quests[0];
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

TEST(GiftImport, MalformedFilesStopAtTheirLine)
{
    const std::vector<std::pair<std::string, std::string>> cases {
        {"Q{=a ~b", "ligne 1: \xAB {\xA0\xBB sans \xAB }\xA0\xBB"},
        {"Q\n}{=a ~b}", "ligne 2: \xAB }\xA0\xBB sans \xAB {\xA0\xBB"},
        {"Q{=a ~b}\nx{=c ~d}", "ligne 2: une question n'a qu'un bloc"},
        {"Q{=a\n{~b}", "ligne 2: \xAB {\xA0\xBB dans un bloc de r\xE9ponses"},
        {"A{=a ~b}\n\nQ{=a\n~  #x}", "ligne 4: r\xE9ponse vide"},
        {"Q{=%abc%a ~b}", "ligne 1: poids de r\xE9ponse illisible"},
        {"Q{=%150%a ~b}", "ligne 1: poids de r\xE9ponse illisible"},
        {"\n::titre{=a ~b}", "ligne 2: le titre"},
        {"Q{texte ~b}",
            "ligne 1: du texte pr\xE9"
            "c\xE8"
            "de la premi\xE8re r\xE9ponse"},
        {"ok\n\nbad \xC3( ici", "(ligne 3)"},
        {"x\r\r\xC0\x80", "(ligne 3)"},
        {"surrogate \xED\xA0\x80", "(ligne 1)"},
        {"coup\xE9 \xE2\x82", "(ligne 1)"},
    };
    for (const auto& [gift, message] : cases) {
        SCOPED_TRACE(gift);
        TQuizDocument doc = test::StartupDocument();
        try {
            ImportGift(doc, gift);
            ADD_FAILURE() << "not refused";
        } catch (const GiftError& e) {
            EXPECT_THAT(e.what(), HasSubstr(message));
            EXPECT_THAT(e.what(), HasSubstr("Rien n'a \xE9t\xE9 import\xE9."));
        }
        EXPECT_EQ(doc.Quests.Count(), 0);
    }
}

// Huge lines, thousands of unbalanced braces and control bytes get a
// message or a plain result, in time proportional to their size.
TEST(GiftImport, HostileFilesGetAMessageQuickly)
{
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(ReadGift(std::string(8'000'000, 'a')).Skipped.size(), 1u);
    EXPECT_THROW(ReadGift(std::string(2'000'000, '{')), GiftError);
    EXPECT_THROW(ReadGift("Q" + std::string(1'000'000, '}')), GiftError);
    std::string blocks;
    for (int i = 0; i < 100'000; ++i)
        blocks += "Q{=a ~b}\n";
    EXPECT_THROW(ReadGift(blocks), GiftError);
    EXPECT_THROW(ReadGift("::" + std::string(1'000'000, 'x') + "{=a ~b}"), GiftError);
    EXPECT_EQ(ReadGift(std::string("Q\0\x01{=a\0b ~\x7F}", 12)).Quests.size(), 1u);

    std::string many;
    for (int i = 0; i < 65'536; ++i)
        many += "Q{=a ~b}\n\n";
    try {
        ReadGift(many);
        ADD_FAILURE() << "more questions than a document holds were read";
    } catch (const GiftError& e) {
        EXPECT_THAT(e.what(), HasSubstr("ligne 131071: plus de 65535 questions"));
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(30));
}

} // namespace
} // namespace tavimor
