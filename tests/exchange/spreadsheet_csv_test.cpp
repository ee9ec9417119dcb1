// The question bank as a spreadsheet: the text written, the very same
// questions read back, the same file as spreadsheet programs save it again,
// the rows skipped with their line and reason, and the files refused.
#include "exchange/SpreadsheetCsv.h"

#include "common/temp_folder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

namespace tavimor {
namespace {

using testing::ElementsAre;
using testing::HasSubstr;

TQuestList ListOf(const std::vector<TQuest>& quests)
{
    TQuestList list;
    for (const TQuest& quest : quests)
        list.Quest(list.AddQuest()) = quest;
    return list;
}

// A new question of the editor, without the captions it shows for an
// attached file not yet chosen: a question from a file without them.
TQuest Fresh(TRepType type, std::string text, std::vector<std::string> reps, int good)
{
    TQuest quest = NewQuestion(type);
    quest.ExtFile.clear();
    quest.ExtLink.clear();
    quest.QText = std::move(text);
    quest.NRep = static_cast<std::uint16_t>(reps.size());
    quest.Reps = std::move(reps);
    quest.GoodRep = good;
    return quest;
}

// Every type and every field away from a new question's, the texts a
// spreadsheet or the file's own keywords could take for something else.
std::vector<TQuest> VariedQuestions()
{
    std::vector<TQuest> quests;
    TQuest q = Fresh(TRepType::rKWZ, "Que vaut &#960; ; au \"centi\xE8me\" pr\xE8s ?\r\n<i>Arrondir.</i>",
        {"3,14", "=3.14", "#1", "'cit\xE9'", "+33", "@moi", "-1", "\tretrait", "\r\nsaut"}, 0);
    q.Points = 2;
    q.Priority = 3;
    q.Columns = 2;
    q.UseGenMess[kRightSide] = false;
    q.Mess[kRightSide] = "Bravo : &#960; \x85 3,14\r\n\x80";
    q.MessIdx[kWrongSide] = 1;
    q.UseExtFile = true;
    q.ExtFile = "cercle.pdf";
    q.ExtLink = "voir|le cercle";
    quests.push_back(q);

    q = Fresh(TRepType::rTrue, "La Terre est plate.", {"Vrai", "Faux"}, 1);
    q.ExtFile = NewQuestion(TRepType::rTrue).ExtFile;
    q.ExtLink = NewQuestion(TRepType::rTrue).ExtLink;
    quests.push_back(q);

    // The editor keeps aside the own text of a side switched to its generic
    // message, and the generic message of a side switched to its own text.
    q = Fresh(TRepType::rTrue, "Oui ou non ?", {"Oui", "Non"}, 0);
    q.Columns = 1;
    q.UseGenMess[kRightSide] = true;
    q.MessIdx[kRightSide] = 2;
    q.Mess[kRightSide] = "#ancien texte";
    q.UseGenMess[kWrongSide] = false;
    q.Mess[kWrongSide] = "";
    q.MessIdx[kWrongSide] = 3;
    quests.push_back(q);

    q = Fresh(TRepType::rOList, "Le <option> est <b>rouge</b>.", {"sang", "ciel"}, 0);
    q.Priority = -2;
    q.Mess[kWrongSide] = "-5 points";
    q.UseGenMess[kWrongSide] = false;
    quests.push_back(q);

    quests.push_back(NewQuestion(TRepType::rKWZ));
    quests.push_back(NewQuestion(TRepType::rOList));

    q = Fresh(TRepType::rKWZ, "#hashtag", {"a", "", ""}, 2);
    q.ShowResum = true;
    q.QReserved = 7;
    q.Points = 65535;
    quests.push_back(q);

    q = Fresh(TRepType::rKWZ, " blancs autour ", {" a ", "b,c"}, -1);
    q.MessIdx = {-1, 2147483647};
    quests.push_back(q);
    return quests;
}

std::vector<TQuest> Read(std::string_view bytes)
{
    const TImportedBank bank = ReadSpreadsheetCsv(bytes);
    EXPECT_TRUE(bank.Notes.empty()) << ImportReportText(bank);
    return bank.Quests;
}

std::string Refusal(std::string_view bytes)
{
    try {
        ReadSpreadsheetCsv(bytes);
    } catch (const ImportError& e) {
        return e.what();
    }
    return "(read)";
}

// The text as spreadsheet programs save it: line feeds alone, inside the
// quoted texts too, and every row padded with empty cells.
std::string Resaved(std::string_view text)
{
    std::string saved;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '"')
            quoted = !quoted;
        if (text.substr(i, 2) == "\r\n") {
            saved += quoted ? "\n" : ";;;\n";
            ++i;
        } else {
            saved += text[i];
        }
    }
    return saved;
}

TEST(SpreadsheetCsv, WritesARowAQuestionAndReadsBackTheVerySameQuestions)
{
    TQuest plain = Fresh(TRepType::rKWZ, "Combien font 2 + 2 ; 3 ?", {"4", "5 \"cinq\""}, 0);
    TQuest twoLines = NewQuestion(TRepType::rTrue);
    twoLines.QText = "&#960; &gt; 3\r\nVrai ?";
    twoLines.GoodRep = 0;
    twoLines.UseGenMess[kRightSide] = false;
    twoLines.Mess[kRightSide] = "Oui, &#960; \xE9gale 3,14...";
    twoLines.MessIdx[kWrongSide] = 1;
    EXPECT_EQ(SpreadsheetCsvText(ListOf({plain, twoLines})),
        "\xEF\xBB\xBFtype;question;bonne r\xC3\xA9ponse;message si bon;message si faux;points;priorit\xC3\xA9;"
        "colonnes;fichier joint;texte du lien;lien affich\xC3\xA9;choix 1;choix 2\r\n"
        "standard;\"Combien font 2 + 2 ; 3 ?\";1;#g\xC3\xA9n\xC3\xA9rique 1;#g\xC3\xA9n\xC3\xA9rique 1;0;0;1;;;non;4;"
        "\"5 \"\"cinq\"\"\"\r\n"
        "vrai/faux;\"\xCF\x80 &gt; 3\r\nVrai ?\";1;\"Oui, \xCF\x80 \xC3\xA9gale 3,14...\";#g\xC3\xA9n\xC3\xA9rique 2;0;"
        "0;2;nom du fichier...;\"voir ... \";non;Vrai;Faux\r\n");

    // Every field comes back, and the columns of what the editor keeps aside
    // and of older documents come only with a question that has something in them.
    const std::vector<TQuest> quests = VariedQuestions();
    const std::string text = SpreadsheetCsvText(ListOf(quests));
    EXPECT_THAT(text.substr(0, text.find("\r\n")),
        HasSubstr(";lien affich\xC3\xA9;message si bon (non utilis\xC3\xA9);message si faux (non utilis\xC3\xA9);"
                  "r\xC3\xA9sum\xC3\xA9;r\xC3\xA9serv\xC3\xA9;choix 1;"));
    const TImportedBank bank = ReadSpreadsheetCsv(text);
    EXPECT_TRUE(bank.Notes.empty()) << ImportReportText(bank);
    EXPECT_EQ(bank.Quests, quests);
    // π is itself in the spreadsheet, a reference again in the document.
    EXPECT_THAT(text, HasSubstr("Que vaut \xCF\x80 ;"));
    EXPECT_EQ(bank.References, 2);
}

// What spreadsheet programs do when they save the file again, and what a
// teacher types without the writer's care.
TEST(SpreadsheetCsv, ReadsTheFileAsSpreadsheetProgramsSaveIt)
{
    const std::vector<TQuest> quests = VariedQuestions();
    const std::string written = SpreadsheetCsvText(ListOf(quests));
    // No mark, line feeds alone (inside the texts too), every row padded
    // with empty cells, empty rows at the end.
    ASSERT_THAT(written, HasSubstr("\r\n"));
    EXPECT_EQ(Read(Resaved(written.substr(3)) + ";;;;;;\n;;;;\n\n"), quests);

    // Commas, a quoted header in capitals without accents, columns in another
    // order and some left out, a row shorter than the header.
    const std::vector<TQuest> typed = Read("\"TYPE\",\"Choix 2\",\"Question\",\"BONNE REPONSE\",\"choix1\",\"Lien "
                                           "affiche\",,\n"
                                           "Vrai/Faux,,\"Ligne 1\nLigne 2, suite\",2,,OUI,,\n"
                                           "STANDARD,\"il a dit \"\"non\"\"\",\"Qui a dit \"\"oui\"\" ?\",1,Paul\n"
                                           ",,Sans type ni choix\n");
    TQuest tf = Fresh(TRepType::rTrue, "Ligne 1\r\nLigne 2, suite", {"Vrai", "Faux"}, 1);
    tf.UseExtFile = true;
    TQuest said = Fresh(TRepType::rKWZ, "Qui a dit \"oui\" ?", {"Paul", "il a dit \"non\""}, 0);
    TQuest untyped = Fresh(TRepType::rKWZ, "Sans type ni choix", {}, -1);
    EXPECT_THAT(typed, ElementsAre(tf, said, untyped));

    // Messages, numbers and keywords as a person types them.
    const std::vector<TQuest> loose
        = Read("question;message si bon;message si faux;points;priorite;colonnes;choix 1\r\n"
               "Q;#Generique  3; #g\xC3\xA9n\xC3\xA9rique;1\xC2\xA0"
               "000;-4;2,0;#VIDE\r\n");
    ASSERT_EQ(loose.size(), 1u);
    EXPECT_TRUE(loose[0].UseGenMess[kRightSide]);
    EXPECT_EQ(loose[0].MessIdx[kRightSide], 2);
    // A blank first: a text, not a keyword.
    EXPECT_FALSE(loose[0].UseGenMess[kWrongSide]);
    EXPECT_EQ(loose[0].Mess[kWrongSide], " #g\xE9n\xE9rique");
    EXPECT_EQ(loose[0].Points, 1000);
    EXPECT_EQ(loose[0].Priority, -4);
    EXPECT_EQ(loose[0].Columns, 2);
    EXPECT_THAT(loose[0].Reps, ElementsAre(""));
}

TEST(SpreadsheetCsv, SkipsEachUnreadableRowWithItsLineAndReason)
{
    const TImportedBank bank = ReadSpreadsheetCsv(
        "type;question;bonne r\xC3\xA9ponse;points;;message si bon;message si faux;colonnes;lien affich\xC3\xA9;"
        "choix 1;choix 2;choix 3\r\n"
        "standard;Bonne;1;;;;;;;a;b\r\n" // 2
        "qcm;Type inconnu;1;;;;;;;a;b\r\n" // 3
        "standard;Trop loin;3;;;;;;;a;b\r\n" // 4
        "standard;\"Sur deux\r\nlignes\";x;;;;;;;a;b\r\n" // 5-6
        "standard;Points;1;1,5;;;;;;a;b\r\n" // 7
        "standard;Mot-cl\xC3\xA9;1;;;#bravo;;;;a;b\r\n" // 8
        "standard;Trou;1;;;;;;;a;;c\r\n" // 9
        "standard;Sans titre;1;;oups;;;;;a;b\r\n" // 10
        "standard;Au-del\xC3\xA0;1;;;;;;;a;b;c;d\r\n" // 11
        "texte \xC3\xA0 trous;Sans marque;1;;;;;;;a;b\r\n" // 12
        "standard;G\xC3\xA9n\xC3\xA9rique;1;;;#G\xC3\xA9n\xC3\xA9rique 2;#generique  3;;;a;b\r\n" // 13
        "vrai/faux;Non oui;;;;;;;peut-\xC3\xAAtre;Vrai;Faux\r\n" // 14
        "standard;Colonnes;;;;;;-1;;a\r\n" // 15
        "standard;Aucun choix;1\r\n"); // 16

    ASSERT_EQ(bank.Quests.size(), 3u);
    EXPECT_EQ(bank.Quests[1].QText, "Sans marque <option>");
    EXPECT_EQ(bank.Quests[2].MessIdx, (std::array<std::int32_t, 2> {2, 1}));
    std::vector<std::string> notes;
    for (const TImportNote& note : bank.Notes)
        notes.push_back(std::to_string(note.Line)
            + (note.Skipped ? " "
                            : " (import\xE9"
                              "e) ")
            + note.What);
    const std::string skipped = " non import\xE9"
                                "e : ";
    EXPECT_THAT(notes,
        ElementsAre("3" + skipped + "type \xAB\xA0qcm\xA0\xBB inconnu (standard, vrai/faux ou texte \xE0 trous)",
            "4" + skipped
                + "\xAB\xA0"
                  "bonne r\xE9ponse\xA0\xBB \xAB\xA0"
                  "3\xA0\xBB : un num\xE9ro de choix de 1 \xE0 2 est attendu",
            "5" + skipped
                + "\xAB\xA0"
                  "bonne r\xE9ponse\xA0\xBB \xAB\xA0x\xA0\xBB : un num\xE9ro de choix de 1 \xE0 2 est attendu",
            "7" + skipped
                + "\xAB\xA0points\xA0\xBB \xAB\xA0"
                  "1,5\xA0\xBB : un nombre entier de 0 \xE0 65535 est attendu",
            "8" + skipped
                + "\xAB\xA0message si bon\xA0\xBB : \xAB\xA0#bravo\xA0\xBB n'est pas un mot-cl\xE9 connu (#vide, "
                  "#g\xE9n\xE9rique N) ; un texte qui commence par # s'\xE9"
                  "crit avec une apostrophe devant : '#",
            "9" + skipped
                + "\xAB choix 2 \xBB est vide alors que \xAB choix 3 \xBB ne l'est pas (\xE9"
                  "crivez #vide pour un "
                  "choix sans texte)",
            "10" + skipped + "du texte dans la colonne E, qui n'a pas de titre",
            "11" + skipped + "du texte dans la colonne M, qui n'a pas de titre",
            "12 (import\xE9"
            "e) le texte n'avait pas de marque <option> : la liste des choix est mise \xE0 sa fin",
            "14" + skipped + "\xAB\xA0lien affich\xE9\xA0\xBB \xAB\xA0peut-\xEAtre\xA0\xBB : oui ou non est attendu",
            "15" + skipped
                + "\xAB\xA0"
                  "colonnes\xA0\xBB \xAB\xA0-1\xA0\xBB : un nombre entier de 0 \xE0 65535 est attendu",
            "16" + skipped
                + "\xAB\xA0"
                  "bonne r\xE9ponse\xA0\xBB \xAB\xA0"
                  "1\xA0\xBB : la question n'a aucun choix"));
    EXPECT_EQ(bank.Notes[2].Question, "Sur deux lignes");

    // Both messages of a side in use at once cannot be told apart.
    const TImportedBank conflict = ReadSpreadsheetCsv("question;message si bon;message si bon (non utilis\xC3\xA9)\n"
                                                      "A;propre;autre propre\n"
                                                      "B;#g\xC3\xA9n\xC3\xA9rique 2;#g\xC3\xA9n\xC3\xA9rique 3\n");
    ASSERT_EQ(conflict.Notes.size(), 2u);
    EXPECT_THAT(conflict.Notes[0].What, HasSubstr("a d\xE9j\xE0 un texte propre"));
    EXPECT_THAT(conflict.Notes[1].What, HasSubstr("le message g\xE9n\xE9rique est d\xE9j\xE0 celui de"));
}

TEST(SpreadsheetCsv, RefusesAFileItCannotReadAsAWholeAndNeverHangs)
{
    const std::string nothing = " Rien n'a \xE9t\xE9 import\xE9.";
    const std::string unknown = Refusal("type;question;bonne reponse;r\xC3\xA9ponse 1\r\nstandard;Q;1;a\r\n");
    EXPECT_THAT(unknown,
        HasSubstr("La ligne 1 n'est pas la ligne des titres d'une banque de questions : la colonne "
                  "\xAB\xA0r\xE9ponse 1\xA0\xBB (colonne D) n'est pas connue. Colonnes attendues"));
    EXPECT_THAT(unknown, HasSubstr("type, question, bonne r\xE9ponse, message si bon, message si faux, points, "));
    EXPECT_THAT(unknown, HasSubstr("choix 1, choix 2...." + nothing));
    EXPECT_THAT(Refusal("\r\n;;\r\ntype;bonne r\xC3\xA9ponse;choix 1\r\n"),
        HasSubstr("La ligne 3 n'est pas la ligne des titres d'une banque de questions : la colonne \xAB question \xBB "
                  "manque."));
    EXPECT_THAT(Refusal("question;Question\r\n"), HasSubstr("(colonne B) appara\xEEt deux fois"));
    EXPECT_THAT(Refusal("question;choix 1;choix 3\r\n"), HasSubstr("\xAB choix 2 \xBB manque avant \xAB choix 3 \xBB"));
    EXPECT_THAT(Refusal("question;choix 65536\n"), HasSubstr("n'est pas connue"));
    EXPECT_EQ(Refusal("\xEF\xBB\xBF;;;\r\n;;\r\n"), "Le fichier ne contient que des lignes vides." + nothing);
    EXPECT_EQ(Refusal("question;choix 1\r\nQ;a\r\nR;\xE9t\xE9\r\n"),
        "Le fichier n'est pas un texte UTF-8 valide (ligne 3) : enregistrez-le au format \xAB CSV UTF-8 \xBB puis "
        "recommencez."
            + nothing);
    EXPECT_EQ(Refusal("question;choix 1\r\nQ;\"a\r\nR;b\r\n"),
        "Ligne 2 : un guillemet ouvert n'est jamais referm\xE9." + nothing);
    EXPECT_THAT(Refusal(std::string(kMaxSpreadsheetCsvBytes + 1, ';')), HasSubstr("plus de 16 Mo"));
    // Only a header: a bank without questions, which the caller refuses.
    EXPECT_TRUE(ReadSpreadsheetCsv(SpreadsheetCsvText(TQuestList())).Quests.empty());

    const auto started = std::chrono::steady_clock::now();
    // Every choice column a quiz allows, many short rows and one full row under them.
    std::string rows = "question";
    for (int i = 1; i <= 65'535; ++i)
        rows += ";choix " + std::to_string(i);
    rows += "\nQ";
    for (int i = 0; i < 65'535; ++i)
        rows += ";a";
    for (int i = 0; i < 60'000; ++i)
        rows += "\nQ;a";
    const TImportedBank wide = ReadSpreadsheetCsv(rows);
    ASSERT_EQ(wide.Quests.size(), 60'001u);
    EXPECT_EQ(wide.Quests[0].Reps.size(), 65'535u);
    // A row of separators past the header, a field of doubled quotes, too many rows.
    EXPECT_EQ(ReadSpreadsheetCsv("question;choix 1\nQ" + std::string(4'000'000, ';') + "x\n").Notes.size(), 1u);
    EXPECT_EQ(ReadSpreadsheetCsv("question\n\"" + std::string(4'000'000, '"') + "\"\n").Quests.size(), 1u);
    std::string many = "question\n";
    for (int i = 0; i < 65'536; ++i)
        many += "Q\n";
    EXPECT_THAT(Refusal(many),
        HasSubstr("plus de 65\xA0"
                  "535 questions"));
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(30));
}

// The example shipped with the program is what the writer writes, and reads.
TEST(SpreadsheetCsv, TheExampleBankIsTheWritersOwnText)
{
    const std::filesystem::path example
        = std::filesystem::path(TAVIMOR_TEST_DATA).parent_path() / "examples" / "banque-tableur.csv";
    const std::string bytes = test::ReadBytes(example);
    const std::vector<TQuest> quests = Read(bytes);
    EXPECT_GE(quests.size(), 8u);
    EXPECT_LE(quests.size(), 12u);
    for (const TRepType type : {TRepType::rKWZ, TRepType::rTrue, TRepType::rOList})
        EXPECT_TRUE(std::any_of(quests.begin(), quests.end(), [&](const TQuest& q) { return q.QType == type; }));
    EXPECT_EQ(SpreadsheetCsvText(ListOf(quests)), bytes);
}

} // namespace
} // namespace tavimor
