// No GIFT reader exists as a Debian or npm library for C++: this one is
// written by hand. It follows how platforms read the format (paragraphs
// separated by blank lines, "//" comment lines, backslash escapes, the answer
// block in braces) and works in one pass over each paragraph, so that a huge
// line or a file of unbalanced braces costs time in proportion to its size.
#include "exchange/GiftReader.h"

#include "base/Cp1252.h"
#include "base/TextHelpers.h"
#include "base/Utf8.h"
#include "exchange/MarkdownText.h"
#include "generator/SpecHTML.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>

namespace tavimor {
namespace {

constexpr std::size_t kMaxCount = std::numeric_limits<std::uint16_t>::max();

// ---------------------------------------------------------------------------
// Characters

void CheckUtf8(std::string_view text)
{
    if (const auto line = FirstMalformedUtf8Line(text))
        throw GiftError("Le fichier GIFT n'est pas un texte UTF-8 valide (ligne " + std::to_string(*line)
            + "): enregistrez-le en UTF-8 puis recommencez. Rien n'a \xE9t\xE9 import\xE9.");
}

// The first character of chars at or after from that no backslash escapes.
std::size_t FindUnescaped(std::string_view s, std::size_t from, std::string_view chars)
{
    for (std::size_t i = from; i < s.size(); ++i) {
        if (s[i] == '\\')
            ++i; // the escaped character is text
        else if (chars.find(s[i]) != std::string_view::npos)
            return i;
    }
    return std::string_view::npos;
}

// The first "####" at or after from that no backslash escapes.
std::size_t FindGeneralFeedback(std::string_view s)
{
    std::size_t at = FindUnescaped(s, 0, "#");
    while (at != std::string_view::npos) {
        if (s.substr(at, 4) == "####")
            return at;
        at = FindUnescaped(s, at + 1, "#");
    }
    return std::string_view::npos;
}

// ---------------------------------------------------------------------------
// Texts

enum class TextFormat { Moodle, Html, Plain, Markdown };

// Takes a leading format tag off text; the format stays when there is none.
std::string_view TakeFormat(std::string_view text, TextFormat& format, bool* found = nullptr)
{
    const std::string_view trimmed = TrimmedView(text);
    static constexpr std::pair<std::string_view, TextFormat> tags[] {{"[html]", TextFormat::Html},
        {"[moodle]", TextFormat::Moodle}, {"[plain]", TextFormat::Plain}, {"[markdown]", TextFormat::Markdown}};
    for (const auto& [tag, tagFormat] : tags) {
        if (trimmed.starts_with(tag)) {
            format = tagFormat;
            if (found != nullptr)
                *found = true;
            return trimmed.substr(tag.size());
        }
    }
    return text;
}

// The text that escapes stand for: \~ \= \# \{ \} \: \\ give the character,
// \n a line break; any other backslash stays. Line breaks become CR LF, as
// the editor keeps them.
std::string Unescape(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '\\' && i + 1 < s.size()) {
            const char next = s[i + 1];
            if (std::string_view("~=#{}:\\").find(next) != std::string_view::npos) {
                out += next;
                ++i;
                continue;
            }
            if (next == 'n') {
                out += "\r\n";
                ++i;
                continue;
            }
        }
        if (c == '\n')
            out += "\r\n";
        else
            out += c;
    }
    return out;
}

std::string PlainToHtml(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else
            out += c;
    }
    return out;
}

// One question paragraph: its text with "\n" between lines, and where each
// line starts, to name the line of a position.
struct Paragraph {
    std::string Text;
    std::vector<std::size_t> LineStarts;
    std::vector<int> LineNumbers;

    int LineAt(std::size_t offset) const
    {
        const auto next = std::upper_bound(LineStarts.begin(), LineStarts.end(), offset);
        return LineNumbers[static_cast<std::size_t>(next - LineStarts.begin()) - 1];
    }
};

// Splits the file into paragraphs at blank lines, without the comment lines.
std::vector<Paragraph> Paragraphs(std::string_view text)
{
    std::vector<Paragraph> paragraphs;
    Paragraph current;
    int line = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        ++line;
        std::size_t end = text.find_first_of("\r\n", at);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view content = text.substr(at, end - at);
        at = end + LineBreakLength(text, end);

        const std::size_t first = content.find_first_not_of(" \t");
        if (first == std::string_view::npos) {
            if (!current.LineStarts.empty())
                paragraphs.push_back(std::move(current));
            current = Paragraph();
            continue;
        }
        if (content.substr(first).starts_with("//"))
            continue;
        if (!current.LineStarts.empty())
            current.Text += '\n';
        current.LineStarts.push_back(current.Text.size());
        current.LineNumbers.push_back(line);
        current.Text += content;
    }
    if (!current.LineStarts.empty())
        paragraphs.push_back(std::move(current));
    return paragraphs;
}

// ---------------------------------------------------------------------------
// Questions

struct Answer {
    double Fraction = 0;
    std::string Text;
    std::optional<std::string> Feedback;
};

// A question that cannot be read as written: it is skipped and listed, and
// the reading goes on with the next one.
struct Unreadable {
    std::size_t Offset;
    std::string Reason;
};

bool IsPunctuation(char c)
{
    return std::string_view(".,;:!?)]").find(c) != std::string_view::npos;
}

class QuestionReader {
public:
    QuestionReader(const Paragraph& paragraph, TImportedBank& bank)
        : p_(paragraph)
        , text_(paragraph.Text)
        , bank_(bank)
    {
    }

    void Read()
    {
        std::size_t pos = text_.find_first_not_of(" \t\n");
        if (pos == std::string_view::npos)
            return;
        // A category is one line; a question may follow on the next one.
        while (text_.substr(pos).starts_with("$CATEGORY:")) {
            const std::size_t lineEnd = std::min(text_.find('\n', pos), text_.size());
            const std::string category(TrimmedView(text_.substr(pos + 10, lineEnd - pos - 10)));
            bank_.Notes.push_back({Line(pos), {},
                "cat\xE9gorie \xAB\xA0" + Utf8ToCp1252Referencing(category)
                    + "\xA0\xBB : les cat\xE9gories ne sont pas gard\xE9"
                      "es",
                false});
            pos = text_.find_first_not_of(" \t\n", lineEnd);
            if (pos == std::string_view::npos)
                return;
        }
        start_ = pos;
        try {
            ReadQuestion(pos);
        } catch (const Unreadable& fault) {
            Skip("question illisible, ligne " + std::to_string(Line(fault.Offset)) + " : " + fault.Reason);
        }
    }

private:
    int Line(std::size_t offset) const { return p_.LineAt(offset); }

    void ReadQuestion(std::size_t pos)
    {
        if (text_.substr(pos).starts_with("::")) {
            const std::size_t close = FindTitleEnd(pos + 2);
            if (close == std::string_view::npos)
                throw Unreadable {pos, "le titre ouvert par \xAB ::\xA0\xBB n'est pas ferm\xE9"};
            title_ = text_.substr(pos + 2, close - pos - 2);
            pos = close + 2;
        }

        const std::size_t open = FindUnescaped(text_, pos, "{}");
        if (open == std::string_view::npos)
            return Skip("description (pas de r\xE9ponses)");
        if (text_[open] == '}')
            throw Unreadable {open,
                "\xAB }\xA0\xBB sans \xAB {\xA0\xBB (\xE9"
                "crivez \\} pour le caract\xE8re)"};
        const std::size_t close = FindUnescaped(text_, open + 1, "{}");
        if (close == std::string_view::npos)
            throw Unreadable {open, "\xAB {\xA0\xBB sans \xAB }\xA0\xBB"};
        if (text_[close] == '{')
            throw Unreadable {close,
                "\xAB {\xA0\xBB dans un bloc de r\xE9ponses (\xE9"
                "crivez \\{ pour le caract\xE8re)"};
        const std::size_t extra = FindUnescaped(text_, close + 1, "{}");
        if (extra != std::string_view::npos)
            throw Unreadable {extra, "une question ne peut avoir qu'un bloc de r\xE9ponses entre accolades"};

        // The format tag starts the question text, or what follows the
        // answers when they come first.
        bool tagged = false;
        before_ = TakeFormat(text_.substr(pos, open - pos), format_, &tagged);
        after_ = text_.substr(close + 1);
        if (!tagged && TrimmedView(before_).empty())
            after_ = TakeFormat(after_, format_);
        answersAt_ = open + 1;
        ReadAnswers(text_.substr(open + 1, close - open - 1));
    }

    // How the report names the question: its title, else its first words.
    std::string Name() const
    {
        if (!TrimmedView(title_).empty())
            return FirstWords(Utf8ToCp1252Referencing(Unescape(title_)));
        const std::string_view rest = text_.substr(start_);
        return FirstWords(Utf8ToCp1252Referencing(Unescape(rest.substr(0, FindUnescaped(rest, 0, "{")))));
    }

    void Skip(const std::string& reason) { bank_.Notes.push_back(SkippedQuestion(Line(start_), Name(), reason)); }
    void Note(const std::string& what) { notes_.push_back(what); }

    std::size_t FindTitleEnd(std::size_t from) const
    {
        std::size_t at = FindUnescaped(text_, from, ":");
        while (at != std::string_view::npos && text_.substr(at, 2) != "::")
            at = FindUnescaped(text_, at + 1, ":");
        return at;
    }

    // A text of the question in the core's form. An answer or a feedback may
    // start with a format tag of its own; the question text's was taken already.
    std::string Convert(std::string_view raw, bool tagged = true) const
    {
        TextFormat format = format_;
        const std::string_view untagged = tagged ? TakeFormat(raw, format) : raw;
        std::string text(TrimmedView(Unescape(untagged)));
        if (format == TextFormat::Plain)
            text = PlainToHtml(text);
        else if (format == TextFormat::Markdown)
            text = MarkdownToHtml(text);
        std::size_t references = 0;
        std::string cp1252 = Utf8ToCp1252Referencing(text, &references);
        bank_.References += static_cast<int>(references);
        return cp1252;
    }

    void ReadAnswers(std::string_view block)
    {
        std::string general;
        const std::size_t generalAt = FindGeneralFeedback(block);
        if (generalAt != std::string_view::npos) {
            general = Convert(block.substr(generalAt + 4));
            block = block.substr(0, generalAt);
        }
        const std::string_view answers = TrimmedView(block);
        if (answers.empty())
            return Skip("composition (r\xE9ponse libre)");
        if (answers.front() == '#')
            return Skip("num\xE9rique");
        if (FindUnescaped(answers, 0, "~") != std::string_view::npos)
            return ReadChoices(block, general);
        if (FindUnescaped(answers, 0, "=") != std::string_view::npos && answers.find("->") != std::string_view::npos)
            return Skip("appariement");
        const std::size_t hash = FindUnescaped(answers, 0, "#");
        const std::string word(TrimmedView(answers.substr(0, hash)));
        // Only capitals make a true/false answer, as platforms read it.
        if (word == "T" || word == "TRUE" || word == "F" || word == "FALSE")
            return ReadTrueFalse(word.front() == 'T', hash == std::string_view::npos ? "" : answers.substr(hash + 1),
                hash != std::string_view::npos, general);
        std::string upper = word;
        std::transform(upper.begin(), upper.end(), upper.begin(),
            [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); });
        if (upper == "T" || upper == "TRUE" || upper == "F" || upper == "FALSE")
            return Skip(
                "\xAB\xA0" + word + "\xA0\xBB n'est pas une r\xE9ponse vrai/faux (T, TRUE, F ou FALSE, en capitales)");
        Skip("r\xE9ponse courte");
    }

    // The question text ahead of the answers; the title when there is none.
    // An HTML text loses one leading "&nbsp;": what a writer puts after the
    // [html] tag when the text is empty, since the tag cannot stand right
    // before the answers.
    std::string Before() const
    {
        std::string before = Convert(before_, false);
        if (format_ == TextFormat::Html && before.starts_with("&nbsp;"))
            before = TrimBlanks(before.substr(6));
        return before;
    }

    std::string TitleText() const
    {
        std::string title = Utf8ToCp1252Referencing(TrimmedView(Unescape(title_)));
        return format_ == TextFormat::Html || format_ == TextFormat::Moodle ? title : PlainToHtml(title);
    }

    void ReadTrueFalse(bool isTrue, std::string_view feedbacks, bool hasFeedback, const std::string& general)
    {
        TQuest quest;
        quest.QType = TRepType::rTrue;
        quest.QText = Before();
        const std::string after = Convert(after_, false);
        if (!after.empty())
            quest.QText += (quest.QText.empty() ? "_____ " : " _____ ") + after;
        if (quest.QText.empty())
            quest.QText = TitleText();
        quest.Reps = {"Vrai", "Faux"};
        quest.GoodRep = isTrue ? 0 : 1;
        std::string wrong;
        std::string right;
        if (hasFeedback) {
            const std::size_t second = FindUnescaped(feedbacks, 0, "#");
            wrong = Convert(feedbacks.substr(0, second));
            if (second != std::string_view::npos)
                right = Convert(feedbacks.substr(second + 1));
        }
        Keep(std::move(quest), wrong, right, general);
    }

    void ReadChoices(std::string_view block, const std::string& general)
    {
        std::vector<Answer> answers;
        std::size_t at = FindUnescaped(block, 0, "=~");
        if (!TrimmedView(block.substr(0, at)).empty())
            throw Unreadable {answersAt_,
                "du texte pr\xE9"
                "c\xE8"
                "de la premi\xE8re r\xE9ponse"};
        int empty = 0;
        while (at != std::string_view::npos) {
            const std::size_t next = FindUnescaped(block, at + 1, "=~");
            const std::size_t end = next == std::string_view::npos ? block.size() : next;
            Answer answer = ReadAnswer(block.substr(at + 1, end - at - 1), block[at] == '=');
            if (answer.Text.empty())
                ++empty;
            else
                answers.push_back(std::move(answer));
            if (answers.size() > kMaxCount)
                throw Unreadable {answersAt_ + at, "plus de 65535 r\xE9ponses"};
            at = next;
        }
        if (empty > 0)
            Note(empty == 1 ? std::string("une r\xE9ponse vide est ignor\xE9"
                                          "e")
                            : std::to_string(empty)
                        + " r\xE9ponses vides sont ignor\xE9"
                          "es");

        const auto full
            = std::count_if(answers.begin(), answers.end(), [](const Answer& a) { return a.Fraction >= 100; });
        if (full != 1)
            return Skip(full == 0 ? "choix multiple sans r\xE9ponse enti\xE8rement juste"
                                  : "choix multiple \xE0 plusieurs bonnes r\xE9ponses");
        if (std::any_of(
                answers.begin(), answers.end(), [](const Answer& a) { return a.Fraction != 0 && a.Fraction < 100; }))
            Note("cr\xE9"
                 "dit partiel ramen\xE9 \xE0 0");

        TQuest quest;
        std::string before = Before();
        const std::string after = Convert(after_, false);
        if (after.empty()) {
            quest.QType = TRepType::rKWZ;
            quest.QText = before.empty() ? TitleText() : before;
        } else {
            // The marker stands where the answers were; a marker already in
            // the text ahead of it would take its place, so it is written as
            // text. The pages take the character after the marker away:
            // a blank, then the rest as the source spaced it.
            quest.QType = TRepType::rOList;
            for (std::size_t m = before.find(kOptionMarker); m != std::string::npos; m = before.find(kOptionMarker, m))
                before.replace(m, 1, "&lt;");
            const bool spacedPunctuation = !after_.empty() && std::isspace(static_cast<unsigned char>(after_.front()))
                && IsPunctuation(after.front());
            quest.QText
                = before + (before.empty() ? "" : " ") + kOptionMarker + (spacedPunctuation ? "  " : " ") + after;
        }

        std::string right;
        std::vector<TAnswerFeedback> wrong;
        for (std::size_t i = 0; i < answers.size(); ++i) {
            Answer& answer = answers[i];
            if (answer.Fraction >= 100) {
                quest.GoodRep = static_cast<std::int32_t>(i);
                right = answer.Feedback.value_or("");
            } else {
                wrong.push_back({answer.Text, answer.Feedback.value_or("")});
            }
            quest.Reps.push_back(std::move(answer.Text));
        }
        bool combined = false;
        const std::string wrongMessage = WrongSideMessage(wrong, &combined);
        if (combined)
            Note(kCombinedFeedbackNote);
        Keep(std::move(quest), wrongMessage, right, general);
    }

    // "[%weight%]text[#feedback]" after a "=" (marked) or a "~". A "%" that
    // does not open a weight from -100 to 100 is text, as platforms read it.
    Answer ReadAnswer(std::string_view raw, bool marked) const
    {
        Answer answer;
        answer.Fraction = marked ? 100 : 0;
        std::string_view rest = raw;
        const std::size_t lead = rest.find_first_not_of(" \t\n");
        if (lead != std::string_view::npos && rest[lead] == '%') {
            const std::size_t close = rest.find('%', lead + 1);
            std::string_view number = close == std::string_view::npos
                ? std::string_view()
                : TrimmedView(rest.substr(lead + 1, close - lead - 1));
            if (number.starts_with('+'))
                number.remove_prefix(1);
            double weight = 0;
            const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), weight);
            if (!number.empty() && error == std::errc() && end == number.data() + number.size() && weight >= -100
                && weight <= 100) {
                answer.Fraction = weight;
                rest = rest.substr(close + 1);
            }
        }
        const std::size_t hash = FindUnescaped(rest, 0, "#");
        answer.Text = Convert(rest.substr(0, hash));
        if (hash != std::string_view::npos)
            answer.Feedback = Convert(rest.substr(hash + 1));
        return answer;
    }

    // The general feedback ("####") goes to a side without feedback of its
    // own; when both sides have their own, after each of them.
    void Keep(TQuest quest, const std::string& wrong, const std::string& right, const std::string& general)
    {
        if (bank_.Quests.size() >= kMaxCount)
            return Skip("un quiz tient au plus 65535 questions");
        quest.NRep = static_cast<std::uint16_t>(quest.Reps.size());
        std::string wrongMessage = wrong.empty() ? general : wrong;
        std::string rightMessage = right.empty() ? general : right;
        if (!general.empty() && !wrong.empty() && !right.empty()) {
            wrongMessage = WithGeneralFeedback(wrong, general);
            rightMessage = WithGeneralFeedback(right, general);
            Note("le commentaire g\xE9n\xE9ral (####) est ajout\xE9 aux deux messages");
        }
        if (!wrongMessage.empty())
            SetOwnMessage(quest, kWrongSide, wrongMessage);
        if (!rightMessage.empty())
            SetOwnMessage(quest, kRightSide, rightMessage);
        bank_.Quests.push_back(std::move(quest));
        for (const std::string& what : notes_)
            bank_.Notes.push_back({Line(start_), Name(), what, false});
    }

    static void SetOwnMessage(TQuest& quest, int side, const std::string& message)
    {
        quest.UseGenMess[static_cast<std::size_t>(side)] = false;
        quest.Mess[static_cast<std::size_t>(side)] = message;
    }

    const Paragraph& p_;
    std::string_view text_;
    TImportedBank& bank_;
    TextFormat format_ = TextFormat::Moodle;
    std::size_t start_ = 0;
    std::string_view title_;
    std::string_view before_;
    std::string_view after_;
    std::size_t answersAt_ = 0;
    std::vector<std::string> notes_;
};

} // namespace

TImportedBank ReadGift(std::string_view bytes)
{
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    CheckUtf8(bytes);
    TImportedBank bank;
    for (const Paragraph& paragraph : Paragraphs(bytes))
        QuestionReader(paragraph, bank).Read();
    return bank;
}

} // namespace tavimor
