// One pass over the lines, each looked at once: a question is gathered as
// views of the file's lines and turned into the core's text only when it
// is complete, so that time and memory follow the file's size.
#include "exchange/AikenReader.h"

#include "base/Cp1252.h"
#include "base/TextHelpers.h"
#include "base/Utf8.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

namespace tavimor {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// Questions read and questions skipped together; a quiz holds no more.
constexpr std::size_t kMaxQuestions = std::numeric_limits<std::uint16_t>::max();

[[noreturn]] void Refuse(const std::string& why)
{
    throw ImportError(why + " Rien n'a \xE9t\xE9 import\xE9.");
}

std::string_view Blanks()
{
    return " \t";
}

std::string_view TrimLine(std::string_view line)
{
    const std::size_t first = line.find_first_not_of(Blanks());
    if (first == std::string_view::npos)
        return {};
    return line.substr(first, line.find_last_not_of(Blanks()) - first + 1);
}

// "A. text", "B) text", "C)text": the letter's index and the text.
struct ChoiceLine {
    std::size_t Index = 0;
    std::string_view Text;
};

std::optional<ChoiceLine> AsChoice(std::string_view line)
{
    if (line.size() < 2 || line[0] < 'A' || line[0] > 'Z' || (line[1] != '.' && line[1] != ')'))
        return std::nullopt;
    if (line[1] == '.' && line.size() > 2 && line[2] != ' ' && line[2] != '\t')
        return std::nullopt;
    return ChoiceLine {static_cast<std::size_t>(line[0] - 'A'), TrimLine(line.substr(2))};
}

// What follows "ANSWER:" (any case, blanks before the colon), trimmed.
std::optional<std::string_view> AsAnswer(std::string_view line)
{
    constexpr std::string_view keyword = "ANSWER";
    if (line.size() < keyword.size())
        return std::nullopt;
    for (std::size_t i = 0; i < keyword.size(); ++i)
        if ((line[i] & ~0x20) != keyword[i])
            return std::nullopt;
    const std::string_view rest = TrimLine(line.substr(keyword.size()));
    if (!rest.starts_with(':'))
        return std::nullopt;
    return TrimLine(rest.substr(1));
}

std::string Letter(std::size_t index)
{
    return std::string(1, static_cast<char>('A' + index));
}

// Plain UTF-8 text as the core keeps HTML.
std::string PlainToCore(std::string_view utf8, std::size_t* references)
{
    std::string html;
    html.reserve(utf8.size());
    for (const char c : utf8) {
        if (c == '&')
            html += "&amp;";
        else if (c == '<')
            html += "&lt;";
        else if (c == '>')
            html += "&gt;";
        else
            html += c;
    }
    return Utf8ToCp1252Referencing(html, references);
}

class Reader {
public:
    explicit Reader(TImportedBank& bank)
        : bank_(bank)
    {
    }

    void Line(int number, std::string_view line)
    {
        if (line.empty()) {
            blankSince_ = true;
            return;
        }
        if (const std::optional<std::string_view> answer = AsAnswer(line))
            return Answer(number, *answer, line);
        const std::optional<ChoiceLine> choice = AsChoice(line);
        if (open_ && inChoices_) {
            if (choice)
                return Choice(*choice);
            Close(Unfinished());
        } else if (choice && choice->Index == 0) {
            if (!open_)
                Open(number);
            return Choice(*choice);
        } else if (open_ && blankSince_) {
            Close("aucun choix apr\xE8s le texte de la question");
        }
        if (!open_)
            Open(number);
        text_.push_back(line);
        blankSince_ = false;
    }

    void End()
    {
        if (open_)
            Close(Unfinished());
    }

private:
    // Why the open question cannot come in when it ends without its ANSWER line.
    std::string Unfinished() const
    {
        if (!inChoices_)
            return "aucun choix apr\xE8s le texte de la question";
        if (!broken_.empty())
            return broken_;
        return "pas de ligne \xAB ANSWER: \xBB apr\xE8s les choix";
    }

    void Open(int number)
    {
        open_ = true;
        inChoices_ = false;
        line_ = number;
        text_.clear();
        choices_.clear();
        broken_.clear();
    }

    void Choice(const ChoiceLine& choice)
    {
        blankSince_ = false;
        inChoices_ = true;
        if (!broken_.empty())
            return;
        if (choice.Index != choices_.size()) {
            broken_ = "les lettres des choix ne se suivent pas (" + Letter(choice.Index) + " au lieu de "
                + Letter(choices_.size()) + ")";
            return;
        }
        if (choice.Text.empty()) {
            broken_ = "le choix " + Letter(choice.Index) + " n'a pas de texte";
            return;
        }
        choices_.push_back(choice.Text);
    }

    void Answer(int number, std::string_view answer, std::string_view line)
    {
        blankSince_ = false;
        if (!open_) {
            Note({number, "",
                "ligne \xAB " + Utf8ToCp1252Referencing(line)
                    + " \xBB hors d'une question, ignor\xE9"
                      "e",
                false});
            return;
        }
        if (!broken_.empty())
            return Close(broken_);
        if (!inChoices_)
            return Close("aucun choix avant la ligne \xAB ANSWER: \xBB");
        if (text_.empty())
            return Close("les choix n'ont pas de question au-dessus d'eux");
        if (choices_.size() < 2)
            return Close("un seul choix (il en faut au moins deux)");
        if (answer.size() != 1 || ((answer[0] & ~0x20) < 'A' || (answer[0] & ~0x20) > 'Z'))
            return Close("\xAB ANSWER: " + Utf8ToCp1252Referencing(answer) + " \xBB ne donne pas une lettre");
        const auto right = static_cast<std::size_t>((answer[0] & ~0x20) - 'A');
        if (right >= choices_.size())
            return Close("la r\xE9ponse " + Letter(right) + " ne d\xE9signe aucun des choix A \xE0 "
                + Letter(choices_.size() - 1));
        Keep(right);
    }

    std::string Text(std::size_t* references) const
    {
        std::string text;
        for (const std::string_view line : text_) {
            if (!text.empty())
                text += "<BR>\r\n";
            text += PlainToCore(line, references);
        }
        return text;
    }

    void Keep(std::size_t right)
    {
        std::size_t references = 0;
        TQuest quest;
        quest.QType = TRepType::rKWZ;
        quest.QText = Text(&references);
        for (const std::string_view choice : choices_)
            quest.Reps.push_back(PlainToCore(choice, &references));
        quest.NRep = static_cast<std::uint16_t>(quest.Reps.size());
        quest.GoodRep = static_cast<std::int32_t>(right);
        Count();
        bank_.Quests.push_back(std::move(quest));
        bank_.References += static_cast<int>(references);
        open_ = false;
    }

    // The question is skipped: named by its first words, or its first choice
    // when it has no text.
    void Close(const std::string& why)
    {
        std::string name = FirstWords(Text(nullptr));
        if (name.empty() && !choices_.empty())
            name = FirstWords(PlainToCore(choices_.front(), nullptr));
        Note(SkippedQuestion(line_, std::move(name), why));
        open_ = false;
    }

    void Note(TImportNote note)
    {
        Count();
        bank_.Notes.push_back(std::move(note));
    }

    void Count() const
    {
        if (bank_.Quests.size() + bank_.Notes.size() >= kMaxQuestions)
            Refuse("Le fichier compte plus de 65\xA0"
                   "535 questions, le plus grand nombre qu'un questionnaire "
                   "contient.");
    }

    TImportedBank& bank_;
    bool open_ = false; // a question is being read
    bool inChoices_ = false; // its choices have started
    bool blankSince_ = false; // a blank line since the last line read
    int line_ = 0; // the open question's first line
    std::vector<std::string_view> text_;
    std::vector<std::string_view> choices_;
    std::string broken_; // why the open question cannot come in, once known
};

} // namespace

TImportedBank ReadAiken(std::string_view bytes)
{
    if (bytes.size() > kMaxAikenFileBytes)
        Refuse("Le fichier fait plus de " + std::to_string(kMaxAikenFileBytes >> 20)
            + " Mo, la plus grande taille lue pour une banque de questions Aiken.");
    if (bytes.starts_with(kByteOrderMark))
        bytes.remove_prefix(kByteOrderMark.size());
    if (const auto line = FirstMalformedUtf8Line(bytes))
        Refuse("Le fichier Aiken n'est pas un texte UTF-8 valide (ligne " + std::to_string(*line)
            + ") : enregistrez-le en UTF-8 puis recommencez.");
    if (TrimmedView(bytes).empty())
        Refuse("Le fichier Aiken est vide.");

    TImportedBank bank;
    Reader reader(bank);
    int number = 0;
    for (std::size_t at = 0; at < bytes.size();) {
        std::size_t end = bytes.find_first_of("\r\n", at);
        if (end == std::string_view::npos)
            end = bytes.size();
        reader.Line(++number, TrimLine(bytes.substr(at, end - at)));
        at = end + LineBreakLength(bytes, end);
    }
    reader.End();
    return bank;
}

} // namespace tavimor
