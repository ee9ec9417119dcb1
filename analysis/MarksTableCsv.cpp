#include "analysis/MarksTableCsv.h"

#include "analysis/DecimalText.h"
#include "base/Cp1252.h"
#include "base/CsvRecords.h"
#include "base/FileIo.h"
#include "base/TextHelpers.h"
#include "base/Utf8.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <vector>

namespace tavimor {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// ---------------------------------------------------------------------------
// Writing

// A text field. The names are typed by students: one that a spreadsheet
// would take for a formula ("=", "+", "-", "@", or a tab or carriage return
// before them) gets an apostrophe in front, which spreadsheets show as text.
std::string CsvField(std::string_view utf8)
{
    std::string text;
    if (!utf8.empty() && std::string_view("=+-@\t\r").find(utf8.front()) != std::string_view::npos)
        text = "'";
    text += utf8;
    if (text.find_first_of(";\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string CsvNumber(double value)
{
    return DecimalText(value, 4, ',', TrailingZeros::Drop);
}

// ---------------------------------------------------------------------------
// Reading

// "100 000": the thousands apart, as French writes them.
std::string Thousands(std::size_t count)
{
    std::string digits = std::to_string(count);
    for (std::size_t at = digits.size(); at > 3; at -= 3)
        digits.insert(at - 3, " ");
    return digits;
}

[[noreturn]] void Refuse(const std::string& message)
{
    throw MarksTableError(message);
}

[[noreturn]] void RefuseTooBig()
{
    Refuse("Le fichier fait plus de " + std::to_string(kMaxMarksFileBytes >> 20)
        + " Mo, la plus grande taille lue pour un tableau de notes.");
}

void CheckUtf8(std::string_view text)
{
    if (const auto line = FirstMalformedUtf8Line(text))
        Refuse("Le fichier n'est pas un texte UTF-8 valide (ligne " + std::to_string(*line)
            + ") : enregistrez-le au format \xAB CSV UTF-8 \xBB puis recommencez.");
}

// 3 for "Q3", " q03 " or "Q3 "; nothing for any other header.
std::optional<int> QuestionNumber(std::string_view header)
{
    if (header.size() < 2 || header.size() > 10 || (header[0] != 'Q' && header[0] != 'q'))
        return std::nullopt;
    const std::string_view digits = header.substr(1);
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    int number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    return number;
}

// Élève, Eleve, ÉLÈVE, Nom, Name, Student...: compared in the code page with
// the case and the accents of the e folded.
bool IsNameHeader(std::string_view utf8)
{
    std::string folded = Utf8ToCp1252(utf8);
    for (char& c : folded) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 'A' && byte <= 'Z')
            c = static_cast<char>(byte - 'A' + 'a');
        else if ((byte >= 0xC8 && byte <= 0xCB) || (byte >= 0xE8 && byte <= 0xEB))
            c = 'e';
    }
    return folded == "eleve" || folded == "nom" || folded == "name" || folded == "student";
}

struct QuestionColumn {
    std::size_t column = 0;
    int number = 0;
    std::string header; // as written, Windows-1252, for the messages
    std::size_t index = 0; // the question's place in the table, by number
};

struct Layout {
    std::vector<QuestionColumn> questions; // in column order
    std::optional<std::size_t> nameColumn;
    std::size_t width = 0; // the header's number of columns
};

// The columns of the first record that holds anything.
Layout ReadHeader(CsvRecords& records)
{
    while (records.NextRecord()) {
        Layout layout;
        bool blank = true;
        std::size_t column = 0;
        for (auto field = records.NextField(); field; field = records.NextField(), ++column) {
            const std::string_view header = TrimmedView(*field);
            blank = blank && header.empty();
            if (const std::optional<int> number = QuestionNumber(header)) {
                if (layout.questions.size() == kMaxMarksQuestions)
                    Refuse("Le tableau a plus de " + Thousands(kMaxMarksQuestions)
                        + " colonnes de questions, le plus grand nombre lu.");
                layout.questions.push_back({column, *number, Utf8ToCp1252(header), 0});
            } else if (!layout.nameColumn && IsNameHeader(header)) {
                layout.nameColumn = column;
            }
        }
        if (!blank) {
            layout.width = column;
            return layout;
        }
    }
    Refuse("Le fichier est vide : il n'a ni en-t\xEAte ni notes.");
}

// Sets each column's place in the table and returns the question numbers in
// that order; two columns of the same number are refused.
std::vector<int> OrderQuestions(Layout& layout)
{
    if (layout.questions.empty())
        Refuse("Aucune colonne de questions : la premi\xE8re ligne doit nommer chaque question Q1, Q2, Q3\x85 "
               "(colonnes s\xE9par\xE9"
               "es par \xAB ; \xBB ou \xAB , \xBB).");
    std::vector<QuestionColumn*> byNumber;
    for (QuestionColumn& question : layout.questions)
        byNumber.push_back(&question);
    std::stable_sort(byNumber.begin(), byNumber.end(),
        [](const QuestionColumn* a, const QuestionColumn* b) { return a->number < b->number; });
    std::vector<int> numbers;
    for (std::size_t index = 0; index < byNumber.size(); ++index) {
        if (index > 0 && byNumber[index - 1]->number == byNumber[index]->number)
            Refuse("Les colonnes \xAB " + byNumber[index - 1]->header + " \xBB et \xAB " + byNumber[index]->header
                + " \xBB portent le m\xEAme num\xE9ro de question.");
        byNumber[index]->index = index;
        numbers.push_back(byNumber[index]->number);
    }
    return numbers;
}

// A mark: digits with at most one decimal point (or comma, when allowed),
// within 0..1. An empty cell is 0.
std::optional<double> ParseMark(std::string_view cell, bool decimalComma)
{
    constexpr std::size_t kLongestMark = 32;
    if (cell.empty())
        return 0.0;
    if (cell.size() > kLongestMark)
        return std::nullopt;
    char text[kLongestMark];
    bool point = false;
    bool digit = false;
    for (std::size_t i = 0; i < cell.size(); ++i) {
        char c = cell[i];
        if (c >= '0' && c <= '9') {
            digit = true;
        } else if (!point && (c == '.' || (decimalComma && c == ','))) {
            point = true;
            c = '.';
        } else {
            return std::nullopt;
        }
        text[i] = c;
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(text, text + cell.size(), value);
    if (!digit || error != std::errc() || end != text + cell.size() || !(value >= 0.0 && value <= 1.0))
        return std::nullopt;
    return value;
}

// The cell as a message shows it: in the code page, a long one cut short.
std::string Shown(std::string_view cell)
{
    constexpr std::size_t kShownLength = 40;
    std::string shown = Utf8ToCp1252(cell);
    if (shown.size() > kShownLength)
        shown = shown.substr(0, kShownLength) + "\x85";
    return shown;
}

double MarkOrRefuse(std::string_view cell, bool decimalComma, std::size_t line, const QuestionColumn& column)
{
    const std::optional<double> mark = ParseMark(cell, decimalComma);
    if (!mark)
        Refuse("Ligne " + std::to_string(line) + ", colonne " + column.header + " : \xAB " + Shown(cell)
            + " \xBB n'est pas une note entre 0 et 1.");
    return *mark;
}

// A cell past the header's last column belongs to no column. Cells split by
// a decimal comma in a file separated by commas come here, instead of being
// read as other marks.
[[noreturn]] void RefuseCellOutsideHeader(std::size_t line, bool decimalComma)
{
    std::string message
        = "Ligne " + std::to_string(line) + " : la ligne a plus de cellules que l'en-t\xEAte n'a de colonnes.";
    if (!decimalComma)
        message += " Quand l'en-t\xEAte ne contient aucun \xAB ; \xBB, les champs sont s\xE9par\xE9s par \xAB , \xBB "
                   "et les notes \xE9"
                   "crites avec un point d\xE9"
                   "cimal (0.5).";
    Refuse(message);
}

void CheckRoomForStudent(const TMarksTable& table)
{
    if (table.StudentCount() == kMaxMarksStudents)
        Refuse("Le tableau a plus de " + Thousands(kMaxMarksStudents) + " \xE9l\xE8ves, le plus grand nombre lu.");
    if ((table.StudentCount() + 1) * table.QuestionCount() > kMaxMarks)
        Refuse("Le tableau a plus de " + Thousands(kMaxMarks) + " notes, le plus grand nombre lu.");
}

void ReadStudents(CsvRecords& records, const Layout& layout, bool decimalComma, TMarksTable& table)
{
    std::vector<double> marks(table.QuestionCount());
    std::string name; // a copy: the field's view lasts only until the next field
    while (records.NextRecord()) {
        std::fill(marks.begin(), marks.end(), 0.0);
        name.clear();
        bool blank = true;
        std::size_t nextQuestion = 0;
        std::size_t column = 0;
        for (auto field = records.NextField(); field; field = records.NextField(), ++column) {
            const std::string_view cell = TrimmedView(*field);
            blank = blank && cell.empty();
            if (column >= layout.width && !cell.empty())
                RefuseCellOutsideHeader(records.Line(), decimalComma);
            if (column == layout.nameColumn)
                name.assign(cell);
            if (nextQuestion < layout.questions.size() && layout.questions[nextQuestion].column == column) {
                const QuestionColumn& question = layout.questions[nextQuestion++];
                marks[question.index] = MarkOrRefuse(cell, decimalComma, records.Line(), question);
            }
        }
        if (blank)
            continue; // spreadsheets leave rows of empty cells
        CheckRoomForStudent(table);
        table.AddStudent(
            name.empty() ? std::to_string(table.StudentCount() + 1) : Utf8ToCp1252Referencing(name), marks);
    }
}

} // namespace

std::string MarksTableCsv(const TMarksTable& table)
{
    std::string out(kByteOrderMark);
    out += "\xC3\x89l\xC3\xA8ve";
    for (const int number : table.QuestionNumbers())
        out += ";Q" + std::to_string(number);
    out += ";Total;Taux\r\n";
    for (std::size_t student = 0; student < table.StudentCount(); ++student) {
        out += CsvField(Cp1252ToUtf8ResolvingReferences(table.StudentName(student)));
        for (const double mark : table.StudentMarks(student))
            out += ';' + CsvNumber(mark);
        const double total = table.Total(student);
        out += ';' + CsvNumber(total) + ';';
        if (table.QuestionCount() > 0)
            out += CsvNumber(100.0 * total / static_cast<double>(table.QuestionCount()));
        out += "\r\n";
    }
    return out;
}

void WriteMarksTableCsv(const std::string& path, const TMarksTable& table)
{
    WriteFileAtomically(path, MarksTableCsv(table), Durability::Durable);
}

TMarksTable ReadMarksTable(std::string_view bytes)
{
    if (bytes.size() > kMaxMarksFileBytes)
        RefuseTooBig();
    if (bytes.starts_with(kByteOrderMark))
        bytes.remove_prefix(kByteOrderMark.size());
    CheckUtf8(bytes);
    const char separator = HeaderSeparator(bytes);
    CsvRecords records(bytes, separator);
    try {
        Layout layout = ReadHeader(records);
        TMarksTable table(OrderQuestions(layout));
        ReadStudents(records, layout, separator == ';', table);
        return table;
    } catch (const CsvQuoteError& e) {
        Refuse(e.what());
    }
}

TMarksTable ReadMarksTableFile(const std::string& path)
{
    FileReader file(path);
    if (file.SizeLeft() > kMaxMarksFileBytes)
        RefuseTooBig();
    // One byte more than the size told, to see a file that grew meanwhile.
    std::string bytes(file.SizeLeft() + 1, '\0');
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (bytes.size() > kMaxMarksFileBytes)
                RefuseTooBig();
            bytes.resize(std::min(2 * bytes.size(), kMaxMarksFileBytes + 1));
        }
        const std::size_t got = file.Read(bytes.data() + filled, bytes.size() - filled);
        if (got == 0)
            break;
        filled += got;
    }
    bytes.resize(filled);
    return ReadMarksTable(bytes);
}

} // namespace tavimor
