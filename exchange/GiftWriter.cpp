// GIFT has no library in Debian or npm for C++; the writer is small and
// follows the format's escaping rules, checked against an independent parser
// in the tests.
#include "exchange/GiftWriter.h"

#include "base/Cp1252.h"
#include "base/TextHelpers.h"
#include "generator/QuestionTexts.h"
#include "generator/SpecHTML.h"

#include <array>

namespace tavimor {
namespace {

constexpr const char* kEol = "\r\n";

// Format tags a GIFT reader takes from the start of a text.
constexpr std::array<std::string_view, 4> kFormatTags {"[html]", "[moodle]", "[plain]", "[markdown]"};

std::string_view SkipBlanks(std::string_view text)
{
    const std::size_t start = text.find_first_not_of(" \t");
    return start == std::string_view::npos ? std::string_view() : text.substr(start);
}

bool StartsWithFormatTag(std::string_view text)
{
    const std::string_view rest = SkipBlanks(text);
    for (std::string_view tag : kFormatTags)
        if (rest.starts_with(tag))
            return true;
    return false;
}

// One question's texts, converted and escaped, with what its writing needs.
class QuestionWriter {
public:
    QuestionWriter(const TQuizDocument& doc, int n)
        : quests_(doc.Quests)
        , n_(n)
        , quest_(doc.Quests.Quest(n))
        , kind_(PlatformKind(quest_))
    {
        // The cloze marker is not markup of the text: it becomes the answers.
        const std::optional<TClozeParts> cloze
            = kind_ == TPlatformKind::MissingWord ? SplitClozeText(quest_.QText) : std::nullopt;
        html_ = cloze ? HoldsMarkup(cloze->Before) || HoldsMarkup(cloze->Rest) : HoldsMarkup(quest_.QText);
        // A blank choice is written "&nbsp;": GIFT has no empty answer.
        for (const std::string& choice : quest_.Reps)
            html_ = html_ || HoldsMarkup(choice) || TrimBlanks(choice).empty();
        if (kind_ != TPlatformKind::Description)
            for (int side : {kWrongSide, kRightSide})
                html_ = html_ || HoldsMarkup(GetFeedbackHtml(quests_, n_, side));
        // Answers that open with "=a -> b" read as a matching question to
        // some parsers; the arrow is written "-&gt;" in an HTML text.
        arrowFirst_
            = quest_.Reps.size() > 1 && RightChoice(quest_) == 0 && quest_.Reps[0].find("->") != std::string::npos;
        html_ = html_ || arrowFirst_;
    }

    TPlatformKind Kind() const { return kind_; }

    std::string Question() const
    {
        switch (kind_) {
        case TPlatformKind::TrueFalse:
            return Stem(quest_.QText) + "{" + (RightAnswerIsTrue(quest_) ? "T" : "F") + "#" + Text(Feedback(kWrongSide))
                + "#" + Text(Feedback(kRightSide)) + "}";
        case TPlatformKind::MissingWord: {
            const TClozeParts parts = *SplitClozeText(quest_.QText);
            const std::string rest = Escaped(parts.Rest);
            // Without a tag of its own, the text after the answers would
            // give its first word as the format.
            const bool tagRest = !html_ && TrimBlanks(parts.Before).empty() && StartsWithFormatTag(rest);
            return (tagRest ? "[moodle]" : Stem(parts.Before)) + "{" + Answers(" ") + "}"
                + std::string(ClozeRestSeparator(rest)) + rest;
        }
        case TPlatformKind::MultipleChoice:
            return Stem(quest_.QText) + "{" + kEol + Answers(kEol) + kEol + "}";
        case TPlatformKind::Description:
            break;
        }
        return Stem(quest_.QText);
    }

private:
    static std::string Escaped(const std::string& cp1252)
    {
        return GiftEscape(Cp1252ToUtf8ResolvingReferences(cp1252));
    }

    std::string Feedback(int side) const { return GetFeedbackHtml(quests_, n_, side); }

    // The question text at the start of its paragraph, behind the format tag
    // it needs; an explicit default tag keeps a text that starts like a tag
    // or a comment from being read as one.
    std::string Stem(const std::string& text) const
    {
        const std::string escaped = Escaped(text);
        // A format tag needs text after it before the answers: an empty
        // HTML text is written "&nbsp;", which a reader takes off again (so
        // one that starts with "&nbsp;" gets a second one).
        if (html_)
            return std::string("[html]")
                + (TrimBlanks(text).empty() || TrimBlanks(text).starts_with("&nbsp;") ? "&nbsp;" : "") + escaped;
        if (StartsWithFormatTag(escaped) || SkipBlanks(escaped).starts_with("//"))
            return "[moodle]" + escaped;
        return escaped;
    }

    // An answer or feedback text; a tag of the question's format goes before
    // one that starts like a format tag.
    std::string Text(const std::string& text) const
    {
        const std::string escaped = Escaped(text);
        if (StartsWithFormatTag(escaped))
            return (html_ ? "[html]" : "[moodle]") + escaped;
        return escaped;
    }

    // "=right#feedback" and "~wrong#feedback", separated by separator.
    std::string Answers(const std::string& separator) const
    {
        const std::optional<std::size_t> right = RightChoice(quest_);
        // A lone choice marked "=" would make a short-answer question: "~"
        // with full credit keeps it a multiple choice.
        const bool lone = quest_.Reps.size() == 1 && right;
        const std::string rightFeedback = Text(Feedback(kRightSide));
        const std::string wrongFeedback = Text(Feedback(kWrongSide));
        std::string answers;
        for (std::size_t i = 0; i < quest_.Reps.size(); ++i) {
            const bool isRight = right == i;
            std::string text = quest_.Reps[i];
            for (std::size_t at = text.find("->"); i == 0 && arrowFirst_ && at != std::string::npos;
                 at = text.find("->", at))
                text.replace(at + 1, 1, "&gt;");
            const std::string choice = TrimBlanks(text).empty() ? "&nbsp;" : Text(text);
            // A text starting with "%" would read as a weight.
            std::string weight;
            if (lone)
                weight = "%100%";
            else if (SkipBlanks(choice).starts_with('%'))
                weight = isRight ? "%100%" : "%0%";
            if (i > 0)
                answers += separator;
            if (separator == kEol)
                answers += '\t';
            answers
                += (isRight && !lone ? "=" : "~") + weight + choice + "#" + (isRight ? rightFeedback : wrongFeedback);
        }
        // Without a wrong choice, the wrong-answer message goes to the
        // general feedback so that it is not lost.
        if (lone)
            answers += separator + (separator == kEol ? "\t" : "") + "####" + wrongFeedback;
        return answers;
    }

    const TQuestList& quests_;
    int n_;
    const TQuest& quest_;
    TPlatformKind kind_;
    bool html_ = false;
    bool arrowFirst_ = false;
};

// A category path takes the quiz name on one line; "/" separates levels.
std::string CategoryName(const std::string& quizName)
{
    std::string name;
    for (char c : quizName) {
        if (c == '\r' || c == '\n')
            name += ' ';
        else if (c == '/')
            name += "//";
        else
            name += c;
    }
    return name;
}

} // namespace

std::string GiftEscape(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size() + utf8.size() / 8);
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        switch (c) {
        case '~':
        case '=':
        case '#':
        case '{':
        case '}':
        case ':':
        case '\\':
            out += '\\';
            out += c;
            break;
        case '\r':
            if (i + 1 < utf8.size() && utf8[i + 1] == '\n')
                ++i;
            out += "\\n";
            break;
        case '\n':
            out += "\\n";
            break;
        default:
            out += c;
        }
    }
    return out;
}

TPlatformExport GiftText(const TQuizDocument& doc, const std::string& quizName)
{
    TPlatformExport result;
    std::string& text = result.Text;
    text += "// " + CategoryName(quizName) + kEol;
    text += "$CATEGORY: $course$/top/" + CategoryName(quizName) + kEol + kEol;
    for (int n = 1; n <= doc.Quests.Count(); ++n) {
        const QuestionWriter writer(doc, n);
        const std::string number = std::to_string(n);
        if (writer.Kind() == TPlatformKind::Description) {
            if (TrimBlanks(doc.Quests.Quest(n).QText).empty()) {
                result.Notes.push_back("Question " + number + ": ni texte ni choix de r\xE9ponse, elle est omise.");
                continue;
            }
            result.Notes.push_back("Question " + number
                + ": aucun choix de r\xE9ponse, elle est export\xE9"
                  "e comme description.");
        }
        text += "// " + number + kEol + writer.Question() + kEol + kEol;
    }
    return result;
}

TPlatformExport ExportGiftFile(const TQuizDocument& doc, const std::string& quizName, const std::string& path)
{
    return SaveExport(GiftText(doc, quizName), path);
}

} // namespace tavimor
