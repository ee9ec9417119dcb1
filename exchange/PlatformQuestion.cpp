#include "exchange/PlatformQuestion.h"

#include "base/FileIo.h"
#include "base/TextHelpers.h"
#include "generator/SpecHTML.h"
#include "model/DocumentFile.h"

#include <cctype>

namespace tavimor {
namespace {

bool IsLetter(char c)
{
    return std::isalpha(static_cast<unsigned char>(c)) != 0;
}

bool IsDigit(char c)
{
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// "vrai" or "faux" whatever the case and the blanks around it.
bool SameWord(const std::string& choice, std::string_view word)
{
    const std::string trimmed = TrimBlanks(choice);
    if (trimmed.size() != word.size())
        return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(trimmed[i])) != word[i])
            return false;
    return true;
}

bool IsTrueFalsePair(const TQuest& quest)
{
    if (quest.Reps.size() != 2)
        return false;
    const std::string& a = quest.Reps[0];
    const std::string& b = quest.Reps[1];
    return (SameWord(a, "vrai") && SameWord(b, "faux")) || (SameWord(a, "faux") && SameWord(b, "vrai"));
}

// A character reference starting at text[at] == '&': "&name;", "&#123;" or "&#x1F;".
bool IsReference(std::string_view text, std::size_t at)
{
    std::size_t i = at + 1;
    if (i < text.size() && text[i] == '#') {
        ++i;
        const bool hex = i < text.size() && (text[i] == 'x' || text[i] == 'X');
        if (hex)
            ++i;
        const std::size_t digits = i;
        while (
            i < text.size() && (IsDigit(text[i]) || (hex && std::isxdigit(static_cast<unsigned char>(text[i])) != 0)))
            ++i;
        return i > digits && i < text.size() && text[i] == ';';
    }
    const std::size_t name = i;
    while (i < text.size() && (IsLetter(text[i]) || IsDigit(text[i])))
        ++i;
    return i > name && i < text.size() && text[i] == ';';
}

} // namespace

std::optional<std::size_t> RightChoice(const TQuest& quest)
{
    if (quest.GoodRep < 0 || static_cast<std::size_t>(quest.GoodRep) >= quest.Reps.size())
        return std::nullopt;
    return static_cast<std::size_t>(quest.GoodRep);
}

TPlatformKind PlatformKind(const TQuest& quest)
{
    if (quest.Reps.empty())
        return TPlatformKind::Description;
    if (quest.QType == TRepType::rTrue && IsTrueFalsePair(quest) && RightChoice(quest))
        return TPlatformKind::TrueFalse;
    if (quest.QType == TRepType::rOList && SplitClozeText(quest.QText))
        return TPlatformKind::MissingWord;
    return TPlatformKind::MultipleChoice;
}

bool RightAnswerIsTrue(const TQuest& quest)
{
    const std::optional<std::size_t> right = RightChoice(quest);
    return right && SameWord(quest.Reps[*right], "vrai");
}

bool HoldsMarkup(std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '<' && i + 1 < text.size()) {
            const char next = text[i + 1];
            if (IsLetter(next) || next == '/' || next == '!')
                return true;
        } else if (text[i] == '&' && IsReference(text, i)) {
            return true;
        }
    }
    return false;
}

std::string_view ClozeRestSeparator(std::string_view rest)
{
    if (rest.empty() || std::string_view(" \t\r\n.,;:!?)]").find(rest.front()) != std::string_view::npos)
        return "";
    return " ";
}

std::string QuizNameOf(const std::string& documentPath)
{
    const std::string name = QuizFileNameOf(documentPath);
    // A document named ".kwz" still gets files with a name.
    return name.empty() ? "quiz" : name;
}

std::string BesideDocument(const std::string& documentPath, const std::string& suffix)
{
    return FolderPart(documentPath) + QuizNameOf(documentPath) + suffix;
}

TPlatformExport SaveExport(TPlatformExport exported, const std::string& path)
{
    WriteFileAtomically(path, exported.Text, Durability::Durable);
    exported.Path = path;
    return exported;
}

} // namespace tavimor
