// The marks table's CSV form: the bytes written, what the reader takes
// (either separator and decimal style, quotes, names, the columns it keeps
// or ignores), everything it refuses with its French message, and its limits.
#include "analysis/DecimalText.h"
#include "analysis/MarksTableCsv.h"
#include "common/temp_folder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

namespace tavimor {
namespace {

using testing::HasSubstr;

const std::string kBom = "\xEF\xBB\xBF";

// The message a refused table gives, or "read" when the reader took it.
std::string Refusal(const std::string& bytes)
{
    try {
        ReadMarksTable(bytes);
        return "read";
    } catch (const MarksTableError& e) {
        return e.what();
    }
}

std::vector<std::string> Names(const TMarksTable& table)
{
    std::vector<std::string> names;
    for (std::size_t student = 0; student < table.StudentCount(); ++student)
        names.push_back(table.StudentName(student));
    return names;
}

std::vector<std::vector<double>> Rows(const TMarksTable& table)
{
    std::vector<std::vector<double>> rows;
    for (std::size_t student = 0; student < table.StudentCount(); ++student) {
        const std::span<const double> marks = table.StudentMarks(student);
        rows.emplace_back(marks.begin(), marks.end());
    }
    return rows;
}

TEST(DecimalText, RoundsAndDropsTrailingZerosOnRequest)
{
    struct Case {
        double value;
        int decimals;
        char point;
        TrailingZeros zeros;
        const char* text;
    };
    const Case cases[] = {
        {1, 4, ',', TrailingZeros::Drop, "1"},
        {0.55, 4, ',', TrailingZeros::Drop, "0,55"},
        {1.0 / 3, 4, ',', TrailingZeros::Drop, "0,3333"},
        {0.99996, 4, ',', TrailingZeros::Drop, "1"},
        {200.0 / 3, 4, ',', TrailingZeros::Drop, "66,6667"},
        {0, 4, ',', TrailingZeros::Drop, "0"},
        {100, 4, ',', TrailingZeros::Drop, "100"},
        {0.5, 3, '.', TrailingZeros::Keep, "0.500"},
        {-7.065, 1, ',', TrailingZeros::Keep, "-7,1"},
        {-0.04, 1, ',', TrailingZeros::Keep, "0,0"},
        {-0.00001, 4, ',', TrailingZeros::Drop, "0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecimalText(c.value, c.decimals, c.point, c.zeros), c.text) << c.value;
}

// Names that need quoting, one from outside the code page, marks of many decimals.
TMarksTable ClassOfFive()
{
    TMarksTable table({1, 2, 3});
    table.AddStudent("Ana", std::vector<double> {1, 0.55, 0});
    table.AddStudent("Dupont; Jean", std::vector<double> {0.5, 1.0 / 3, 1});
    table.AddStudent("Le \"Grand\"", std::vector<double> {0, 0, 0});
    table.AddStudent("Zo\xE9 &#960;", std::vector<double> {0.25, 0.125, 0.0625});
    table.AddStudent("deux\r\nlignes", std::vector<double> {1, 1, 1});
    return table;
}

TEST(MarksTableCsv, WritesTheSpreadsheetForm)
{
    const std::string expected = kBom
        + "\xC3\x89l\xC3\xA8ve;Q1;Q2;Q3;Total;Taux\r\n"
          "Ana;1;0,55;0;1,55;51,6667\r\n"
          "\"Dupont; Jean\";0,5;0,3333;1;1,8333;61,1111\r\n"
          "\"Le \"\"Grand\"\"\";0;0;0;0;0\r\n"
          "Zo\xC3\xA9 \xCF\x80;0,25;0,125;0,0625;0,4375;14,5833\r\n"
          "\"deux\r\nlignes\";1;1;1;3;100\r\n";
    EXPECT_EQ(MarksTableCsv(ClassOfFive()), expected);
}

TEST(MarksTableCsv, NamesThatLookLikeFormulasAreWrittenAsText)
{
    TMarksTable table({1});
    const double mark[] = {1};
    for (const char* name : {"=1+1", "+33 6", "-Lou", "@x", "\tTab", "Anne-Lise"})
        table.AddStudent(name, mark);
    EXPECT_EQ(MarksTableCsv(table),
        kBom
            + "\xC3\x89l\xC3\xA8ve;Q1;Total;Taux\r\n'=1+1;1;1;100\r\n'+33 6;1;1;100\r\n'-Lou;1;1;100\r\n"
              "'@x;1;1;100\r\n'\tTab;1;1;100\r\nAnne-Lise;1;1;100\r\n");
}

TEST(MarksTableCsv, WhatIsWrittenReadsBack)
{
    const TMarksTable written = ClassOfFive();
    const TMarksTable read = ReadMarksTable(MarksTableCsv(written));
    EXPECT_EQ(read.QuestionNumbers(), written.QuestionNumbers());
    EXPECT_EQ(Names(read), Names(written));
    ASSERT_EQ(read.StudentCount(), written.StudentCount());
    for (std::size_t student = 0; student < read.StudentCount(); ++student)
        for (std::size_t question = 0; question < read.QuestionCount(); ++question)
            EXPECT_NEAR(read.Mark(student, question), written.Mark(student, question), 0.00005);

    // Through a file too.
    test::TempFolder folder("tavimor-marks");
    WriteMarksTableCsv(folder.File("notes.csv"), written);
    EXPECT_EQ(Names(ReadMarksTableFile(folder.File("notes.csv"))), Names(written));
}

TEST(MarksTableCsv, ReadsEitherSeparatorAndDecimalStyle)
{
    // ";": a decimal comma or point, questions found among other columns and
    // ordered by number, a byte-order mark, CR LF.
    const TMarksTable semicolons
        = ReadMarksTable(kBom + "Nom;Q2;Remarque;Q1;Total\r\nAna;0,5;bien;1;1,5\r\nBob;.25;;,75;\r\n");
    EXPECT_EQ(semicolons.QuestionNumbers(), (std::vector<int> {1, 2}));
    EXPECT_EQ(Names(semicolons), (std::vector<std::string> {"Ana", "Bob"}));
    EXPECT_EQ(Rows(semicolons), (std::vector<std::vector<double>> {{1, 0.5}, {0.75, 0.25}}));

    // ",": a decimal point, LF, blanks around the headers and the marks.
    const TMarksTable commas = ReadMarksTable("Student, q10 ,Q9,Email\nAna, 1 ,0.5,a@example.org\nBob,,1.,\n");
    EXPECT_EQ(commas.QuestionNumbers(), (std::vector<int> {9, 10}));
    EXPECT_EQ(Rows(commas), (std::vector<std::vector<double>> {{0.5, 1}, {1, 0}}));

    // A lone CR ends lines too.
    EXPECT_EQ(Rows(ReadMarksTable("Q1;Q2\r0,5;1\r1;0")), (std::vector<std::vector<double>> {{0.5, 1}, {1, 0}}));

    // With "," between fields a comma is no decimal, even quoted.
    EXPECT_EQ(Refusal("Nom,Q1\nAna,\"0,5\"\n"), "Ligne 2, colonne Q1 : \xAB 0,5 \xBB n'est pas une note entre 0 et 1.");
}

TEST(MarksTableCsv, ReadsQuotedFieldsAndCountsTheirLines)
{
    const std::string bytes = "\"Nom\";\"Q1\";\"Q2\"\n"
                              "\"Dupont; Jean\";\"0,5\";1\n"
                              "\"Le \"\"Grand\"\"\nsur deux lignes\";0;0\n"
                              "\"Zo\xC3\xA9\"x;1;1\n";
    const TMarksTable table = ReadMarksTable(bytes);
    EXPECT_EQ(Names(table), (std::vector<std::string> {"Dupont; Jean", "Le \"Grand\"\nsur deux lignes", "Zo\xE9x"}));
    EXPECT_EQ(Rows(table), (std::vector<std::vector<double>> {{0.5, 1}, {0, 0}, {1, 1}}));

    // A name unquoted into the reader's buffer survives the quoted fields after it.
    EXPECT_EQ(Names(ReadMarksTable("Nom;Q1;Remarque\n\"Le \"\"Grand\"\"\";1;\"tr\"\"es\"\"\"x\n")),
        std::vector<std::string> {"Le \"Grand\""});

    // The line break inside quotes counts: Bob is on line 6.
    EXPECT_EQ(Refusal(bytes + "Bob;2;0\n"), "Ligne 6, colonne Q1 : \xAB 2 \xBB n'est pas une note entre 0 et 1.");
    EXPECT_EQ(
        Refusal("Nom;Q1\r\n\"a\r\nb\";1\r\n\"Ana;1\r\n"), "Ligne 4 : un guillemet ouvert n'est jamais referm\xE9.");
}

TEST(MarksTableCsv, NamesComeFromTheirColumnOrTheRowNumber)
{
    for (const char* header :
        {"\xC3\x89l\xC3\xA8ve", "\xC3\x89L\xC3\x88VE", "Eleve", "el\xC3\xA8ve", " Nom ", "NAME", "student"}) {
        SCOPED_TRACE(header);
        EXPECT_EQ(Names(ReadMarksTable(std::string("Q1;") + header + "\n1;Ana\n")), std::vector<std::string> {"Ana"});
    }
    // Without a name column, and for an empty name, the student's number;
    // rows with nothing in them are no students.
    EXPECT_EQ(Names(ReadMarksTable("Q1;Q2\n1;0\n;\n\n0;1\n")), (std::vector<std::string> {"1", "2"}));
    EXPECT_EQ(Names(ReadMarksTable("Nom;Q1\nAna;1\n;0\n")), (std::vector<std::string> {"Ana", "2"}));
    // The first name column counts; characters the code page lacks become references.
    EXPECT_EQ(Names(ReadMarksTable("Nom,Name,Q1\n\xCF\x80,Bob,1\n")), std::vector<std::string> {"&#960;"});
}

TEST(MarksTableCsv, KeepsOnlyQuestionColumns)
{
    // None of these headers is a question; a short row reads its missing
    // cells as 0, and empty cells past the header are nothing.
    const TMarksTable table = ReadMarksTable("Q;Q1a;Question 1;QQ1;Q-1;Q 1;Q1;Total\n"
                                             "x;x;x;x;x;x;0,5;x\n"
                                             "x\n"
                                             "x;x;x;x;x;x;1;x; ;;\n");
    EXPECT_EQ(table.QuestionNumbers(), std::vector<int> {1});
    EXPECT_EQ(Rows(table), (std::vector<std::vector<double>> {{0.5}, {0}, {1}}));

    // A cell past the header is no mark of anything: in a file separated by
    // commas it is most likely the decimals of a mark written with a comma.
    EXPECT_EQ(Refusal("Q1;Q2\n1;1;x\n"), "Ligne 2 : la ligne a plus de cellules que l'en-t\xEAte n'a de colonnes.");
    EXPECT_THAT(Refusal("Nom,Q1,Q2\nAna,1,0,5\n"),
        testing::StartsWith(
            "Ligne 2 : la ligne a plus de cellules que l'en-t\xEAte n'a de colonnes. Quand l'en-t\xEAte "
            "ne contient aucun \xAB ; \xBB, les champs sont s\xE9par\xE9s par \xAB , \xBB"));
    EXPECT_THAT(Refusal("Q1\n0,25\n"), testing::StartsWith("Ligne 2 : la ligne a plus de cellules"));
}

TEST(MarksTableCsv, RefusesWhatIsNoMarksTable)
{
    const std::string empty = "Le fichier est vide : il n'a ni en-t\xEAte ni notes.";
    const std::string noQuestion = "Aucune colonne de questions : la premi\xE8re ligne doit nommer chaque question Q1, "
                                   "Q2, Q3\x85 (colonnes s\xE9par\xE9"
                                   "es par \xAB ; \xBB ou \xAB , \xBB).";
    struct Case {
        std::string bytes;
        std::string message;
    };
    const Case cases[] = {
        {"", empty},
        {kBom, empty},
        {"\n \r\n\t\n", empty},
        {";;;\n;;\n", empty},
        {"Nom;Total\nAna;3\n", noQuestion},
        {"Q1;Q2;q01\n", "Les colonnes \xAB Q1 \xBB et \xAB q01 \xBB portent le m\xEAme num\xE9ro de question."},
        {"Nom;Q1\nZo\xE9;1\n",
            "Le fichier n'est pas un texte UTF-8 valide (ligne 2) : enregistrez-le au format \xAB CSV UTF-8 \xBB "
            "puis recommencez."},
        {"Nom;Q1\r\n\r\nAna;\xED\xA0\x80\r\n", // a surrogate's code
            "Le fichier n'est pas un texte UTF-8 valide (ligne 3) : enregistrez-le au format \xAB CSV UTF-8 \xBB "
            "puis recommencez."},
        {"Nom;Q1;Q2;Q3\nA;1;1;1\nB;1;1;1\nC;1;1;1\nD;1;1;1\nE;1;1;1\nF;1;0;1,5\n",
            "Ligne 7, colonne Q3 : \xAB 1,5 \xBB n'est pas une note entre 0 et 1."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Refusal(c.bytes), c.message) << c.bytes;
}

TEST(MarksTableCsv, RefusesMarksThatAreNotFractions)
{
    for (const char* cell : {"abc", "-0,5", "+1", "1e-1", "0,5,", "50%", "1.2", "0.2.3", "0,2,3", "nan", "inf", ".",
             ",", "2", "1,0001", "0x1", "\xC2\xBD", "0 5"}) {
        SCOPED_TRACE(cell);
        EXPECT_EQ(Refusal(std::string("Q1;Q2\n0;\"") + cell + "\"\n"),
            "Ligne 2, colonne Q2 : \xAB " + Utf8ToCp1252(cell) + " \xBB n'est pas une note entre 0 et 1.");
    }
    // A long cell is shown cut short.
    EXPECT_EQ(Refusal("Q1\n" + std::string(100, '7') + "\n"),
        "Ligne 2, colonne Q1 : \xAB " + std::string(40, '7') + "\x85 \xBB n'est pas une note entre 0 et 1.");
    // Every form of a fraction within 0..1 is taken.
    EXPECT_EQ(Rows(ReadMarksTable("Q1;Q2;Q3;Q4;Q5;Q6\n1,0000;0;0.000;,5;1.;0,333333333333333333333333\n")),
        (std::vector<std::vector<double>> {{1, 0, 0, 0.5, 1, 1.0 / 3}}));
}

TEST(MarksTableCsv, RefusesTablesPastItsLimits)
{
    std::string rows = "Q1\n";
    for (std::size_t student = 0; student < kMaxMarksStudents; ++student)
        rows += "1\n";
    EXPECT_EQ(ReadMarksTable(rows).StudentCount(), kMaxMarksStudents);
    EXPECT_EQ(Refusal(rows + "0\n"), "Le tableau a plus de 100 000 \xE9l\xE8ves, le plus grand nombre lu.");

    std::string header;
    for (std::size_t question = 1; question <= kMaxMarksQuestions; ++question)
        header += "Q" + std::to_string(question) + ",";
    EXPECT_EQ(ReadMarksTable(header + "\n").QuestionCount(), kMaxMarksQuestions);
    EXPECT_EQ(Refusal(header + "Q0\n"), "Le tableau a plus de 10 000 colonnes de questions, le plus grand nombre lu.");

    // 10,000 questions make 10,000,000 marks at the 1,000th student.
    const std::string row = "1" + std::string(kMaxMarksQuestions - 1, ',') + "\n";
    std::string many = header + "\n";
    for (std::size_t student = 0; student <= kMaxMarks / kMaxMarksQuestions; ++student)
        many += row;
    EXPECT_EQ(Refusal(many), "Le tableau a plus de 10 000 000 notes, le plus grand nombre lu.");

    const std::string tooBig = "Le fichier fait plus de 64 Mo, la plus grande taille lue pour un tableau de notes.";
    EXPECT_EQ(Refusal(std::string(kMaxMarksFileBytes + 1, '\n')), tooBig);
    test::TempFolder folder("tavimor-marks");
    const std::string path = folder.Write("grand.csv", "Q1\n1\n");
    std::filesystem::resize_file(path, kMaxMarksFileBytes + 1); // sparse: refused before it is read
    try {
        ReadMarksTableFile(path);
        ADD_FAILURE() << "a file past the size limit was read";
    } catch (const MarksTableError& e) {
        EXPECT_EQ(e.what(), tooBig);
    }
    EXPECT_THROW(ReadMarksTableFile(folder.File("absent.csv")), FileOpenError);
}

} // namespace
} // namespace tavimor
