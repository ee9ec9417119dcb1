// The Aiken reader: the questions it takes in each way of writing them, the
// ones it skips with their line and reason, the files it refuses, and the
// files others wrote (shared/corpora/aiken beside the repository, described
// by its SOURCES.md).
#include "exchange/AikenReader.h"

#include "common/temp_folder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <map>
#include <sstream>

namespace tavimor {
namespace {

using testing::ElementsAre;
using testing::HasSubstr;

std::string Refusal(std::string_view bytes)
{
    try {
        ReadAiken(bytes);
    } catch (const ImportError& e) {
        return e.what();
    }
    return "(read)";
}

TEST(AikenImport, ReadsEachWayOfWritingAQuestion)
{
    const TImportedBank bank = ReadAiken("\xEF\xBB\xBFQuelle est la capitale\r\nde l'Italie ?\r\n"
                                         "A. Milan\r\nB) Rome\r\n\r\nC.\tTurin\r\n\r\nanswer : b\r\n"
                                         "  Si a < b & b > c, que vaut \xCF\x80 ?  \n\n"
                                         "A)<b>caf\xC3\xA9</b>\nB)\xE2\x82\xAC\nANSWER:A\r" // CR alone ends a line
                                         "Qui a dit :\nI. Newton\nB) ou Leibniz ?\nA.D. 1687\n"
                                         "A. Newton\nB. Leibniz\nANSWER: A"); // no line break at the end
    ASSERT_EQ(bank.Quests.size(), 3u);
    EXPECT_TRUE(bank.Notes.empty());
    const TQuest& first = bank.Quests[0];
    EXPECT_EQ(first.QType, TRepType::rKWZ);
    EXPECT_EQ(first.QText, "Quelle est la capitale<BR>\r\nde l'Italie ?");
    EXPECT_THAT(first.Reps, ElementsAre("Milan", "Rome", "Turin"));
    EXPECT_EQ(first.NRep, 3);
    EXPECT_EQ(first.GoodRep, 1);
    // Nothing in the file says otherwise: the sides keep a new question's generic message.
    EXPECT_EQ(first.UseGenMess, (std::array<bool, 2> {true, true}));
    EXPECT_EQ(first.MessIdx, (std::array<std::int32_t, 2> {0, 0}));

    // Plain text as the core's HTML; π is a reference.
    EXPECT_EQ(bank.Quests[1].QText, "Si a &lt; b &amp; b &gt; c, que vaut &#960; ?");
    EXPECT_THAT(bank.Quests[1].Reps, ElementsAre("&lt;b&gt;caf\xE9&lt;/b&gt;", "\x80"));
    EXPECT_EQ(bank.References, 1);

    // Only a line labelled A starts the choices, and "A." needs a blank after it.
    EXPECT_EQ(bank.Quests[2].QText, "Qui a dit :<BR>\r\nI. Newton<BR>\r\nB) ou Leibniz ?<BR>\r\nA.D. 1687");
    EXPECT_THAT(bank.Quests[2].Reps, ElementsAre("Newton", "Leibniz"));
}

// Each broken question is named by its first line and words, and the reading
// goes on: the good questions among them all come in.
TEST(AikenImport, SkipsEachBrokenQuestionWithItsLineAndReason)
{
    const TImportedBank bank = ReadAiken("Sans choix\n\n" // 1
                                         "Un seul choix\nA. seul\nANSWER: A\n" // 3
                                         "Bon 1\nA. a\nB. b\nANSWER: B\n" // 6
                                         "Choix vide\nA. a\nB.\nANSWER: A\n" // 10
                                         "Dans le d\xC3\xA9sordre\nA. a\nC. c\nB. b\nANSWER: A\n" // 14
                                         "Sans ANSWER\nA. a\nB. b\n" // 19
                                         "Pas une lettre\nA. a\nB. b\nANSWER: A, B\n" // 22
                                         "Lettre en trop\nA. a\nB. b\nANSWER: C\n" // 26
                                         "ANSWER: A\n" // 30
                                         "A. sans question\nB. b\nANSWER: A\n" // 31
                                         "Texte seul\nANSWER: A\n" // 34
                                         "Bon 2\nA. a\nB. b\nANSWER: a\n" // 36
                                         "Fin sans ANSWER\nA. a\n"); // 40
    ASSERT_EQ(bank.Quests.size(), 2u);
    EXPECT_EQ(bank.Quests[1].QText, "Bon 2");
    std::map<int, std::string> notes;
    for (const TImportNote& note : bank.Notes)
        notes[note.Line] = note.Question + " | " + note.What;
    const std::string skipped = " | non import\xE9"
                                "e : ";
    const std::string noAnswer = "pas de ligne \xAB ANSWER: \xBB apr\xE8s les choix";
    EXPECT_EQ(notes,
        (std::map<int, std::string> {{1, "Sans choix" + skipped + "aucun choix apr\xE8s le texte de la question"},
            {3, "Un seul choix" + skipped + "un seul choix (il en faut au moins deux)"},
            {10, "Choix vide" + skipped + "le choix B n'a pas de texte"},
            {14, "Dans le d\xE9sordre" + skipped + "les lettres des choix ne se suivent pas (C au lieu de B)"},
            {19, "Sans ANSWER" + skipped + noAnswer},
            {22, "Pas une lettre" + skipped + "\xAB ANSWER: A, B \xBB ne donne pas une lettre"},
            {26, "Lettre en trop" + skipped + "la r\xE9ponse C ne d\xE9signe aucun des choix A \xE0 B"},
            {30,
                " | ligne \xAB ANSWER: A \xBB hors d'une question, ignor\xE9"
                "e"},
            {31, "sans question" + skipped + "les choix n'ont pas de question au-dessus d'eux"},
            {34, "Texte seul" + skipped + "aucun choix avant la ligne \xAB ANSWER: \xBB"},
            {40, "Fin sans ANSWER" + skipped + noAnswer}}));
    // The stray ANSWER line is no question.
    EXPECT_THAT(ImportReportText(bank),
        HasSubstr("2 questions import\xE9"
                  "es, 10 non import\xE9"
                  "es."));
}

TEST(AikenImport, RefusesOnlyAFileWithNothingToReadAndNeverHangs)
{
    EXPECT_EQ(Refusal("Q\nA. a\nB. \xE9t\xE9\nANSWER: A\n"),
        "Le fichier Aiken n'est pas un texte UTF-8 valide (ligne 3) : enregistrez-le en UTF-8 puis recommencez. "
        "Rien n'a \xE9t\xE9 import\xE9.");
    EXPECT_EQ(Refusal("\xEF\xBB\xBF \r\n\t\n"), "Le fichier Aiken est vide. Rien n'a \xE9t\xE9 import\xE9.");
    EXPECT_THAT(Refusal(std::string(kMaxAikenFileBytes + 1, '\n')), HasSubstr("plus de 16 Mo"));
    // A file without a question that comes in is a bank without questions.
    EXPECT_TRUE(ReadAiken("Juste une phrase.\n").Quests.empty());

    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(ReadAiken(std::string(8'000'000, 'a')).Notes.size(), 1u);
    EXPECT_EQ(ReadAiken("Q\nA. " + std::string(8'000'000, 'x') + "\nB. b\nANSWER: B").Quests.size(), 1u);
    std::string choices = "Q\n";
    for (int i = 0; i < 500'000; ++i)
        choices += "A. a\n";
    EXPECT_EQ(ReadAiken(choices).Notes.size(), 1u);
    std::string many;
    for (int i = 0; i < 70'000; ++i)
        many += "Q\n\n";
    EXPECT_THAT(Refusal(many),
        HasSubstr("plus de 65\xA0"
                  "535 questions"));
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(30));
}

// Every file others wrote reads, every question it holds comes in sound or
// is named by a note (each ANSWER line ends one of them), and the files in
// the plain form come in whole.
TEST(AikenImport, ReadsEveryFileOthersWrote)
{
    const std::filesystem::path corpus
        = std::filesystem::path(TAVIMOR_TEST_DATA).parent_path().parent_path() / "shared" / "corpora" / "aiken";
    const std::map<std::string, std::size_t> whole {{"JKL453_aiken-to-tex_A_Temperatur.txt", 8},
        {"JKL453_aiken-to-tex_B_Blutfluss.txt", 4}, {"JKL453_aiken-to-tex_J_Wissensfragen.txt", 10},
        {"JKL453_aiken-to-tex_J_J-Abbildungen.txt", 9}, {"JKL453_aiken-to-tex_K_Rechnen.txt", 5},
        {"fisdap_Aiken-Parser_aiken.txt", 3}, {"questions.aiken.txt", 2}};
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(corpus)) {
        if (entry.path().extension() != ".txt")
            continue;
        ++files;
        SCOPED_TRACE(entry.path().string());
        const std::string bytes = test::ReadBytes(entry.path());
        TImportedBank bank;
        ASSERT_NO_THROW(bank = ReadAiken(bytes));
        std::size_t answers = 0;
        int lines = 0;
        std::istringstream in(bytes);
        for (std::string line; std::getline(in, line); ++lines) {
            std::string start = line.substr(0, 6);
            std::transform(start.begin(), start.end(), start.begin(),
                [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
            answers += start == "ANSWER" && line.find(':') != std::string::npos ? 1 : 0;
        }
        EXPECT_GE(bank.Quests.size() + bank.Notes.size(), answers);
        for (const TQuest& quest : bank.Quests) {
            EXPECT_FALSE(quest.QText.empty());
            EXPECT_GE(quest.Reps.size(), 2u);
            EXPECT_LT(quest.GoodRep, static_cast<std::int32_t>(quest.Reps.size()));
        }
        for (const TImportNote& note : bank.Notes) {
            EXPECT_GE(note.Line, 1);
            EXPECT_LE(note.Line, lines);
        }
        if (const auto it = whole.find(entry.path().filename().string()); it != whole.end()) {
            EXPECT_EQ(bank.Quests.size(), it->second);
            EXPECT_TRUE(bank.Notes.empty()) << ImportReportText(bank);
        }
    }
    EXPECT_EQ(files, 10);

    // Choices without a blank after ")", markup as text, broken questions by line.
    const TImportedBank errors = ReadAiken(test::ReadBytes(corpus / "moodle" / "aiken_errors.txt"));
    ASSERT_EQ(errors.Quests.size(), 3u);
    EXPECT_THAT(errors.Quests[1].Reps, ElementsAre("Incorrect (No space)", "Correct (No space)"));
    EXPECT_EQ(errors.Quests[2].Reps[0], "Correct (&lt; &gt; &amp;)");
    ASSERT_EQ(errors.Notes.size(), 3u);
    EXPECT_EQ(errors.Notes[2].Line, 14);
}

} // namespace
} // namespace tavimor
