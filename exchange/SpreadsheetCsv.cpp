#include "exchange/SpreadsheetCsv.h"

#include "base/Cp1252.h"
#include "base/CsvRecords.h"
#include "base/TextHelpers.h"
#include "base/Utf8.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

namespace tavimor {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t kMaxQuestions = std::numeric_limits<std::uint16_t>::max();
constexpr std::size_t kMaxChoices = std::numeric_limits<std::uint16_t>::max();

// The named columns besides the choices, in the order written.
enum Column : std::size_t {
    kType,
    kQuestion,
    kRight,
    kRightMessage,
    kWrongMessage,
    kPoints,
    kPriority,
    kColumns,
    kFile,
    kLinkText,
    kLinkShown,
    kRightAside,
    kWrongAside,
    kResum,
    kReserved,
    kNamedColumns
};

// UTF-8, as the header writes them.
constexpr std::array<std::string_view, kNamedColumns> kNames {"type", "question", "bonne r\xC3\xA9ponse",
    "message si bon", "message si faux", "points", "priorit\xC3\xA9", "colonnes", "fichier joint", "texte du lien",
    "lien affich\xC3\xA9", "message si bon (non utilis\xC3\xA9)", "message si faux (non utilis\xC3\xA9)",
    "r\xC3\xA9sum\xC3\xA9", "r\xC3\xA9serv\xC3\xA9"};
constexpr std::string_view kChoice = "choix";
// By TRepType, UTF-8.
constexpr std::array<std::string_view, 3> kTypeNames {"standard", "vrai/faux", "texte \xC3\xA0 trous"};

constexpr std::string_view kEmptyKeyword = "#vide";
constexpr std::string_view kGenericKeyword = "#g\xC3\xA9n\xC3\xA9rique";

Column MessageColumn(int side)
{
    return side == kRightSide ? kRightMessage : kWrongMessage;
}
Column AsideColumn(int side)
{
    return side == kRightSide ? kRightAside : kWrongAside;
}

// ---------------------------------------------------------------------------
// Writing

// A text as a cell that reads back as itself.
std::string Literal(std::string_view core)
{
    if (core.empty())
        return std::string(kEmptyKeyword);
    std::string utf8 = Cp1252ToUtf8ResolvingReferences(core);
    if (std::string_view("=+-@#'\t\r\n").find(utf8.front()) != std::string_view::npos)
        utf8.insert(0, 1, '\'');
    return utf8;
}

// Empty when the text is what a new question has, which an empty cell gives.
std::string LiteralOr(std::string_view core, std::string_view fresh)
{
    return core == fresh ? std::string() : Literal(core);
}

std::string Generic(std::int32_t index)
{
    return std::string(kGenericKeyword) + " " + std::to_string(static_cast<long long>(index) + 1);
}

std::string Message(const TQuest& quest, int side)
{
    const auto s = static_cast<std::size_t>(side);
    return quest.UseGenMess[s] ? Generic(quest.MessIdx[s]) : Literal(quest.Mess[s]);
}

// What the side keeps aside: empty when it is a new question's.
std::string Aside(const TQuest& quest, int side)
{
    const auto s = static_cast<std::size_t>(side);
    if (quest.UseGenMess[s])
        return LiteralOr(quest.Mess[s], "");
    return quest.MessIdx[s] == 0 ? std::string() : Generic(quest.MessIdx[s]);
}

std::string YesNo(bool value)
{
    return value ? "oui" : "non";
}

std::string TypeName(TRepType type)
{
    const auto index = static_cast<std::size_t>(type);
    return index < kTypeNames.size() ? std::string(kTypeNames[index]) : std::to_string(index);
}

void AppendField(std::string& out, std::string_view field)
{
    const bool quoted = field.find_first_of(";,\"\r\n") != std::string_view::npos
        || (!field.empty()
            && (field.front() == ' ' || field.front() == '\t' || field.back() == ' ' || field.back() == '\t'));
    if (!quoted) {
        out += field;
        return;
    }
    out += '"';
    for (const char c : field) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

// ---------------------------------------------------------------------------
// Reading

[[noreturn]] void Refuse(const std::string& why)
{
    throw ImportError(why + " Rien n'a \xE9t\xE9 import\xE9.");
}

// A header or keyword as compared: Windows-1252, lower case, the accents of
// French letters taken off, blanks squeezed to one space and none at the ends.
std::string Folded(std::string_view utf8)
{
    std::string folded;
    bool blank = false;
    for (const char c : Utf8ToCp1252(utf8)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == ' ' || byte == '\t' || byte == 0xA0 || byte == '\r' || byte == '\n') {
            blank = !folded.empty();
            continue;
        }
        char plain = c;
        if (byte >= 'A' && byte <= 'Z')
            plain = static_cast<char>(byte - 'A' + 'a');
        else if (byte >= 0xC0) {
            // The letters from U+00C0 on, capitals then small ones.
            static constexpr std::string_view kBases = "aaaaaaaceeeeiiiidnooooo*ouuuuyts"
                                                       "aaaaaaaceeeeiiiidnooooo/ouuuuyty";
            plain = kBases[byte - 0xC0];
        }
        if (blank)
            folded += ' ';
        blank = false;
        folded += plain;
    }
    return folded;
}

// "A", "B", ... "Z", "AA": the column's name in a spreadsheet program.
std::string ColumnLetters(std::size_t column)
{
    std::string letters;
    for (std::size_t n = column + 1; n > 0; n = (n - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
    return letters;
}

// A cell quoted in a message: Windows-1252, cut when long.
std::string Quoted(std::string_view utf8)
{
    constexpr std::size_t kMost = 40;
    std::string text = Utf8ToCp1252(utf8.substr(0, 4 * kMost));
    if (text.size() > kMost)
        text = text.substr(0, kMost) + "...";
    return "\xAB\xA0" + text + "\xA0\xBB";
}

std::string NameInMessage(Column column)
{
    return Quoted(kNames[column]);
}

// A whole number as a spreadsheet program writes one: blanks and
// non-breaking spaces between thousands, a sign, and "3,0" or "3.00" for 3.
std::optional<long long> WholeNumber(std::string_view cell)
{
    std::string digits;
    for (std::size_t i = 0; i < cell.size(); ++i) {
        if (cell[i] == ' ' || cell[i] == '\t')
            continue;
        if (cell.substr(i).starts_with("\xC2\xA0")) {
            ++i;
            continue;
        }
        if (cell.substr(i).starts_with("\xE2\x80\xAF")) {
            i += 2;
            continue;
        }
        digits += cell[i];
        if (digits.size() > 40)
            return std::nullopt;
    }
    const std::size_t point = digits.find_first_of(".,");
    if (point != std::string::npos) {
        if (digits.find_first_not_of('0', point + 1) != std::string::npos)
            return std::nullopt;
        digits.resize(point);
    }
    bool negative = false;
    std::size_t at = 0;
    if (at < digits.size() && (digits[at] == '-' || digits[at] == '+'))
        negative = digits[at++] == '-';
    if (at == digits.size() || digits.size() - at > 18)
        return std::nullopt;
    long long value = 0;
    for (; at < digits.size(); ++at) {
        if (digits[at] < '0' || digits[at] > '9')
            return std::nullopt;
        value = value * 10 + (digits[at] - '0');
    }
    return negative ? -value : value;
}

bool IsBlank(std::string_view cell)
{
    return TrimmedView(cell).empty();
}

// Where a header cell puts its column.
struct Slot {
    enum Kind : std::uint8_t { Unnamed, Named, Choice } kind = Unnamed;
    std::uint32_t index = 0; // the Column, or the choice's index from 0
};

struct Layout {
    std::vector<Slot> slots; // up to the last column with a name
    std::array<bool, kNamedColumns> present {};
    std::size_t choices = 0;
};

std::string ExpectedColumns()
{
    std::string names;
    for (const std::string_view name : kNames)
        names += Utf8ToCp1252(name) + ", ";
    return names + "choix 1, choix 2...";
}

[[noreturn]] void RefuseHeader(std::size_t line, const std::string& why)
{
    Refuse("La ligne " + std::to_string(line) + " n'est pas la ligne des titres d'une banque de questions : " + why
        + ". Colonnes attendues (dans n'importe quel ordre, seule \xAB question \xBB est obligatoire) : "
        + ExpectedColumns() + ".");
}

// "choix 3", "Choix3": 2 (the index); nothing for another name.
std::optional<std::size_t> ChoiceIndex(std::string_view folded)
{
    if (!folded.starts_with(kChoice))
        return std::nullopt;
    const std::optional<long long> number = WholeNumber(folded.substr(kChoice.size()));
    const std::string_view rest = TrimmedView(folded.substr(kChoice.size()));
    if (!number || rest.empty() || rest.front() < '1' || rest.front() > '9'
        || *number > static_cast<long long>(kMaxChoices))
        return std::nullopt;
    return static_cast<std::size_t>(*number - 1);
}

Layout ReadHeader(CsvRecords& records)
{
    while (records.NextRecord()) {
        Layout layout;
        std::vector<bool> choiceSeen;
        std::size_t unnamed = 0; // columns without a name since the last named one
        bool blank = true;
        for (auto field = records.NextField(); field; field = records.NextField()) {
            const std::string folded = Folded(*field);
            if (folded.empty()) {
                ++unnamed;
                continue;
            }
            blank = false;
            if (layout.slots.size() + unnamed >= kMaxChoices + kNamedColumns)
                RefuseHeader(
                    records.Line(), "elle a plus de " + std::to_string(kMaxChoices + kNamedColumns) + " colonnes");
            layout.slots.resize(layout.slots.size() + unnamed);
            unnamed = 0;
            const std::string column = ColumnLetters(layout.slots.size());
            Slot slot;
            if (const std::optional<std::size_t> choice = ChoiceIndex(folded)) {
                if (*choice >= choiceSeen.size())
                    choiceSeen.resize(*choice + 1);
                if (choiceSeen[*choice])
                    RefuseHeader(records.Line(),
                        "la colonne \xAB choix " + std::to_string(*choice + 1) + " \xBB (colonne " + column
                            + ") appara\xEEt deux fois");
                choiceSeen[*choice] = true;
                slot = {Slot::Choice, static_cast<std::uint32_t>(*choice)};
            } else {
                std::size_t named = 0;
                while (named < kNamedColumns && Folded(kNames[named]) != folded)
                    ++named;
                if (named == kNamedColumns)
                    RefuseHeader(
                        records.Line(), "la colonne " + Quoted(*field) + " (colonne " + column + ") n'est pas connue");
                if (layout.present[named])
                    RefuseHeader(records.Line(),
                        "la colonne " + Quoted(*field) + " (colonne " + column + ") appara\xEEt deux fois");
                layout.present[named] = true;
                slot = {Slot::Named, static_cast<std::uint32_t>(named)};
            }
            layout.slots.push_back(slot);
        }
        if (blank)
            continue;
        if (!layout.present[kQuestion])
            RefuseHeader(records.Line(), "la colonne \xAB question \xBB manque");
        for (std::size_t i = 0; i < choiceSeen.size(); ++i)
            if (!choiceSeen[i])
                RefuseHeader(records.Line(),
                    "la colonne \xAB choix " + std::to_string(i + 1) + " \xBB manque avant \xAB choix "
                        + std::to_string(choiceSeen.size()) + " \xBB");
        layout.choices = choiceSeen.size();
        return layout;
    }
    Refuse("Le fichier ne contient que des lignes vides.");
}

// The cells of one row: the named ones, and the choices filled in it.
class Row {
public:
    explicit Row(const Layout& layout)
        : layout_(layout)
        , choices_(layout.choices)
    {
    }

    // Takes the record's fields; false when they are all blank.
    bool Read(CsvRecords& records)
    {
        for (std::string& cell : named_)
            cell.clear();
        for (const std::size_t index : filled_)
            choices_[index].clear();
        filled_.clear();
        lastChoice_ = 0;
        problem_.clear();
        bool blank = true;
        std::size_t column = 0;
        for (auto field = records.NextField(); field; field = records.NextField(), ++column) {
            const bool empty = IsBlank(*field);
            blank = blank && empty;
            const Slot slot = column < layout_.slots.size() ? layout_.slots[column] : Slot();
            if (slot.kind == Slot::Named) {
                named_[slot.index] = *field;
            } else if (slot.kind == Slot::Choice && !field->empty()) {
                choices_[slot.index] = *field;
                filled_.push_back(slot.index);
                lastChoice_ = std::max<std::size_t>(lastChoice_, slot.index + 1);
            } else if (slot.kind == Slot::Unnamed && !empty && problem_.empty()) {
                problem_ = "du texte dans la colonne " + ColumnLetters(column) + ", qui n'a pas de titre";
            }
        }
        return !blank;
    }

    const std::string& Cell(Column column) const { return named_[column]; }
    // The choices up to the last one filled.
    std::size_t ChoiceCount() const { return lastChoice_; }
    const std::string& Choice(std::size_t index) const { return choices_[index]; }
    // The first choice left empty before a filled one, if any.
    std::optional<std::size_t> Gap() const
    {
        if (filled_.size() == lastChoice_)
            return std::nullopt;
        // One of the first filled_.size() + 1 choices is empty.
        std::size_t index = 0;
        while (!choices_[index].empty())
            ++index;
        return index;
    }
    const std::string& Problem() const { return problem_; }

private:
    const Layout& layout_;
    std::array<std::string, kNamedColumns> named_;
    std::vector<std::string> choices_;
    std::vector<std::size_t> filled_;
    std::size_t lastChoice_ = 0;
    std::string problem_;
};

// Why a row cannot come in.
struct RowError {
    std::string why;
};

class QuestionReader {
public:
    QuestionReader(const Row& row, std::size_t* references)
        : row_(row)
        , references_(references)
    {
    }

    TQuest Read(std::vector<std::string>& notes)
    {
        if (!row_.Problem().empty())
            throw RowError {row_.Problem()};
        const TRepType type = Type();
        TQuest quest = NewQuestion(type);
        quest.QText = Text(kQuestion, quest.QText);

        if (const std::optional<std::size_t> gap = row_.Gap())
            throw RowError {"\xAB choix " + std::to_string(*gap + 1) + " \xBB est vide alors que \xAB choix "
                + std::to_string(row_.ChoiceCount())
                + " \xBB ne l'est pas (\xE9"
                  "crivez #vide pour un choix sans texte)"};
        if (row_.ChoiceCount() > 0) {
            quest.Reps.clear();
            for (std::size_t i = 0; i < row_.ChoiceCount(); ++i)
                quest.Reps.push_back(Text(row_.Choice(i), "", "\xAB choix " + std::to_string(i + 1) + " \xBB"));
        }
        quest.NRep = static_cast<std::uint16_t>(quest.Reps.size());

        if (!IsBlank(row_.Cell(kRight))) {
            const long long right = Number(kRight, 1, static_cast<long long>(quest.Reps.size()),
                quest.Reps.empty()
                    ? "la question n'a aucun choix"
                    : "un num\xE9ro de choix de 1 \xE0 " + std::to_string(quest.Reps.size()) + " est attendu");
            quest.GoodRep = static_cast<std::int32_t>(right - 1);
        }
        for (const int side : {kWrongSide, kRightSide})
            ReadMessage(quest, side);
        quest.Points = static_cast<std::uint16_t>(Number(kPoints, 0, 65535, quest.Points));
        quest.Priority = static_cast<std::int32_t>(Number(kPriority, std::numeric_limits<std::int32_t>::min(),
            std::numeric_limits<std::int32_t>::max(), quest.Priority));
        quest.Columns = static_cast<std::uint16_t>(Number(kColumns, 0, 65535, quest.Columns));
        // A file's cells are what they hold, as the editor shows them: a new
        // question's captions are only a hint to fill them.
        quest.ExtFile = Text(kFile, "");
        quest.ExtLink = Text(kLinkText, "");
        quest.UseExtFile = Flag(kLinkShown, quest.UseExtFile);
        quest.ShowResum = Flag(kResum, quest.ShowResum);
        quest.QReserved = static_cast<std::int32_t>(Number(kReserved, std::numeric_limits<std::int32_t>::min(),
            std::numeric_limits<std::int32_t>::max(), quest.QReserved));

        if (type == TRepType::rOList && quest.QText.find(kOptionMarker) == std::string::npos) {
            quest.QText = FixOptionTag(type, quest.QText);
            notes.push_back("le texte n'avait pas de marque <option> : la liste des choix est mise \xE0 sa fin");
        }
        return quest;
    }

private:
    TRepType Type() const
    {
        const std::string& cell = row_.Cell(kType);
        if (IsBlank(cell))
            return TRepType::rKWZ;
        std::string folded = Folded(cell);
        std::erase(folded, ' ');
        for (std::size_t type = 0; type < kTypeNames.size(); ++type) {
            std::string name = Folded(kTypeNames[type]);
            std::erase(name, ' ');
            if (folded == name)
                return static_cast<TRepType>(type);
        }
        throw RowError {"type " + Quoted(cell) + " inconnu (standard, vrai/faux ou texte \xE0 trous)"};
    }

    // A text cell: empty gives fresh.
    std::string Text(Column column, const std::string& fresh) const
    {
        return Text(row_.Cell(column), fresh, NameInMessage(column));
    }

    std::string Text(std::string_view cell, const std::string& fresh, const std::string& name) const
    {
        if (cell.empty())
            return fresh;
        if (cell.front() == '\'')
            return Core(cell.substr(1));
        if (cell.front() == '#') {
            if (Folded(cell) == kEmptyKeyword)
                return {};
            throw RowError {name + " : " + Quoted(cell) + " n'est pas un mot-cl\xE9 connu (#vide"
                + (name == NameInMessage(kRightMessage) || name == NameInMessage(kWrongMessage) ? ", #g\xE9n\xE9rique N"
                                                                                                : "")
                + ") ; un texte qui commence par # s'\xE9"
                  "crit avec une apostrophe devant : '#"};
        }
        return Core(cell);
    }

    // A line break of the cell as the editor keeps it, then the code page.
    std::string Core(std::string_view utf8) const
    {
        std::string text;
        text.reserve(utf8.size());
        for (std::size_t i = 0; i < utf8.size(); ++i) {
            if (const std::size_t length = LineBreakLength(utf8, i)) {
                text += "\r\n";
                i += length - 1;
            } else {
                text += utf8[i];
            }
        }
        return Utf8ToCp1252Referencing(text, references_);
    }

    // The generic message named by "#générique N", from 1.
    std::optional<std::int32_t> GenericIndex(std::string_view cell, Column column) const
    {
        if (cell.empty() || cell.front() != '#')
            return std::nullopt;
        const std::string folded = Folded(cell);
        const std::string keyword = Folded(kGenericKeyword);
        if (!folded.starts_with(keyword))
            return std::nullopt;
        const std::optional<long long> number = WholeNumber(std::string_view(folded).substr(keyword.size()));
        if (!number || *number <= std::numeric_limits<std::int32_t>::min()
            || *number > static_cast<long long>(std::numeric_limits<std::int32_t>::max()) + 1)
            throw RowError {NameInMessage(column) + " : " + Quoted(cell)
                + " ne donne pas le num\xE9ro d'un message g\xE9n\xE9rique (#g\xE9n\xE9rique 1, #g\xE9n\xE9rique "
                  "2...)"};
        return static_cast<std::int32_t>(*number - 1);
    }

    void ReadMessage(TQuest& quest, int side) const
    {
        const auto s = static_cast<std::size_t>(side);
        const Column column = MessageColumn(side);
        const Column aside = AsideColumn(side);
        const std::string& cell = row_.Cell(column);
        const std::string& asideCell = row_.Cell(aside);
        if (const std::optional<std::int32_t> generic
            = cell.empty() ? std::optional<std::int32_t>(0) : GenericIndex(cell, column)) {
            quest.UseGenMess[s] = true;
            quest.MessIdx[s] = *generic;
            if (GenericIndex(asideCell, aside))
                throw RowError {NameInMessage(aside) + " : le message g\xE9n\xE9rique est d\xE9j\xE0 celui de "
                    + NameInMessage(column) + " ; cette colonne garde un texte propre"};
            quest.Mess[s] = Text(aside, "");
        } else {
            quest.UseGenMess[s] = false;
            quest.Mess[s] = Text(column, "");
            if (asideCell.empty())
                quest.MessIdx[s] = 0;
            else if (const std::optional<std::int32_t> generic = GenericIndex(asideCell, aside))
                quest.MessIdx[s] = *generic;
            else
                throw RowError {NameInMessage(aside) + " : " + NameInMessage(column)
                    + " a d\xE9j\xE0 un texte propre ; cette colonne garde #g\xE9n\xE9rique N"};
        }
    }

    long long Number(Column column, long long least, long long most, long long fresh) const
    {
        if (IsBlank(row_.Cell(column)))
            return fresh;
        return Number(column, least, most,
            "un nombre entier de " + std::to_string(least) + " \xE0 " + std::to_string(most) + " est attendu");
    }

    long long Number(Column column, long long least, long long most, const std::string& expected) const
    {
        const std::string& cell = row_.Cell(column);
        const std::optional<long long> number = WholeNumber(cell);
        if (!number || *number < least || *number > most)
            throw RowError {NameInMessage(column) + " " + Quoted(cell) + " : " + expected};
        return *number;
    }

    bool Flag(Column column, bool fresh) const
    {
        const std::string& cell = row_.Cell(column);
        if (IsBlank(cell))
            return fresh;
        const std::string folded = Folded(cell);
        if (folded == "oui" || folded == "1" || folded == "vrai")
            return true;
        if (folded == "non" || folded == "0" || folded == "faux")
            return false;
        throw RowError {NameInMessage(column) + " " + Quoted(cell) + " : oui ou non est attendu"};
    }

    const Row& row_;
    std::size_t* references_;
};

} // namespace

std::string SpreadsheetCsvText(const TQuestList& quests)
{
    std::size_t choices = 0;
    std::array<bool, kNamedColumns> written {};
    written.fill(true);
    written[kRightAside] = written[kWrongAside] = written[kResum] = written[kReserved] = false;
    for (int n = 1; n <= quests.Count(); ++n) {
        const TQuest& quest = quests.Quest(n);
        choices = std::max(choices, quest.Reps.size());
        written[kRightAside] = written[kRightAside] || !Aside(quest, kRightSide).empty();
        written[kWrongAside] = written[kWrongAside] || !Aside(quest, kWrongSide).empty();
        written[kResum] = written[kResum] || quest.ShowResum;
        written[kReserved] = written[kReserved] || quest.QReserved != 0;
    }

    std::string out(kByteOrderMark);
    bool first = true;
    const auto field = [&](std::string_view text) {
        if (!first)
            out += ';';
        first = false;
        AppendField(out, text);
    };
    for (std::size_t column = 0; column < kNamedColumns; ++column)
        if (written[column])
            field(kNames[column]);
    for (std::size_t i = 1; i <= choices; ++i)
        field(std::string(kChoice) + " " + std::to_string(i));
    out += "\r\n";

    for (int n = 1; n <= quests.Count(); ++n) {
        const TQuest& quest = quests.Quest(n);
        const TQuest fresh = NewQuestion(quest.QType);
        std::array<std::string, kNamedColumns> cells;
        cells[kType] = TypeName(quest.QType);
        cells[kQuestion] = LiteralOr(quest.QText, fresh.QText);
        cells[kRight] = quest.GoodRep == -1 ? std::string() : std::to_string(static_cast<long long>(quest.GoodRep) + 1);
        cells[kRightMessage] = Message(quest, kRightSide);
        cells[kWrongMessage] = Message(quest, kWrongSide);
        cells[kPoints] = std::to_string(quest.Points);
        cells[kPriority] = std::to_string(quest.Priority);
        cells[kColumns] = std::to_string(quest.Columns);
        cells[kFile] = LiteralOr(quest.ExtFile, "");
        cells[kLinkText] = LiteralOr(quest.ExtLink, "");
        cells[kLinkShown] = YesNo(quest.UseExtFile);
        cells[kRightAside] = Aside(quest, kRightSide);
        cells[kWrongAside] = Aside(quest, kWrongSide);
        cells[kResum] = YesNo(quest.ShowResum);
        cells[kReserved] = std::to_string(quest.QReserved);
        first = true;
        for (std::size_t column = 0; column < kNamedColumns; ++column)
            if (written[column])
                field(cells[column]);
        // A row ends with its last choice: spreadsheet programs fill the rest.
        for (const std::string& choice : quest.Reps)
            field(Literal(choice));
        out += "\r\n";
    }
    return out;
}

TImportedBank ReadSpreadsheetCsv(std::string_view bytes)
{
    if (bytes.size() > kMaxSpreadsheetCsvBytes)
        Refuse("Le fichier fait plus de " + std::to_string(kMaxSpreadsheetCsvBytes >> 20)
            + " Mo, la plus grande taille lue pour une banque de questions.");
    if (bytes.starts_with(kByteOrderMark))
        bytes.remove_prefix(kByteOrderMark.size());
    if (const auto line = FirstMalformedUtf8Line(bytes))
        Refuse("Le fichier n'est pas un texte UTF-8 valide (ligne " + std::to_string(*line)
            + ") : enregistrez-le au format \xAB CSV UTF-8 \xBB puis recommencez.");
    if (TrimmedView(bytes).empty())
        Refuse("Le fichier est vide.");

    TImportedBank bank;
    CsvRecords records(bytes, HeaderSeparator(bytes));
    try {
        const Layout layout = ReadHeader(records);
        Row row(layout);
        std::size_t rows = 0;
        while (records.NextRecord()) {
            const int line = static_cast<int>(std::min<std::size_t>(records.Line(), std::numeric_limits<int>::max()));
            if (!row.Read(records))
                continue;
            if (++rows > kMaxQuestions)
                Refuse("Le fichier compte plus de 65\xA0"
                       "535 questions, le plus grand nombre qu'un questionnaire "
                       "contient.");
            std::size_t references = 0;
            std::vector<std::string> notes;
            try {
                TQuest quest = QuestionReader(row, &references).Read(notes);
                for (std::string& what : notes)
                    bank.Notes.push_back({line, FirstWords(quest.QText), std::move(what), false});
                bank.Quests.push_back(std::move(quest));
                bank.References += static_cast<int>(references);
            } catch (const RowError& error) {
                bank.Notes.push_back(
                    SkippedQuestion(line, FirstWords(Utf8ToCp1252Referencing(row.Cell(kQuestion))), error.why));
            }
        }
    } catch (const CsvQuoteError& error) {
        Refuse(error.what());
    }
    return bank;
}

} // namespace tavimor
