#include "model/TextExchange.h"

#include "base/Errors.h"
#include "base/FileIo.h"
#include "base/TextHelpers.h"

#include <algorithm>
#include <array>
#include <limits>
#include <optional>
#include <vector>

namespace tavimor {
namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kAuthorMarker = "$d1=";
constexpr std::string_view kBankMarker = "$d2=";
constexpr std::string_view kFirstMessageMarker = "$d2Mess=";
constexpr std::string_view kPagesMarker = "$d3=";
constexpr std::string_view kCountMarker = "$nQuest=";
constexpr std::string_view kQuestOpen = "<quest>";
constexpr std::string_view kQuestClose = "</quest>";
constexpr std::string_view kTypeMarker = "$qType=";
constexpr std::string_view kChoicesMarker = "$nRep=";
constexpr std::string_view kChoicePrefix = "$r";

// The document and its file count questions and choices in 16 bits.
constexpr std::size_t kMaxQuestions = std::numeric_limits<std::uint16_t>::max();
constexpr std::size_t kMaxChoices = std::numeric_limits<std::uint16_t>::max();

// Every line break of text (CR, LF or CR LF) as CR LF.
std::string WithCrLf(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (const std::size_t lineBreak = LineBreakLength(text, i)) {
            i += lineBreak - 1;
            out += kCrLf;
        } else {
            out += text[i];
        }
    }
    return out;
}

// The text read as lines and joined again with CR LF: every line break is CR
// LF and a final line break is gone.
std::string JoinedLines(std::string_view text)
{
    std::string joined = WithCrLf(text);
    if (joined.size() >= kCrLf.size() && std::string_view(joined).substr(joined.size() - kCrLf.size()) == kCrLf)
        joined.resize(joined.size() - kCrLf.size());
    return joined;
}

// Everything of text from pos on (empty when pos lies beyond it).
std::string_view From(std::string_view text, std::size_t pos)
{
    return text.substr(std::min(pos, text.size()));
}

// A whole decimal number with an optional sign that fits 32 bits; anything
// else is "'%s' is not a valid integer value" showing text.
std::int32_t DecimalValue(std::string_view text)
{
    std::size_t pos = 0;
    bool negative = false;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        pos = 1;
    }
    if (pos == text.size())
        throw ConvertError(std::string(text));
    const std::int64_t limit = negative ? std::int64_t {1} << 31 : (std::int64_t {1} << 31) - 1;
    std::int64_t magnitude = 0;
    for (; pos < text.size(); ++pos) {
        if (text[pos] < '0' || text[pos] > '9')
            throw ConvertError(std::string(text));
        magnitude = magnitude * 10 + (text[pos] - '0');
        if (magnitude > limit)
            throw ConvertError(std::string(text));
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

// The lines of a text whose line breaks are all CR LF, from a start offset;
// like a string list given that text, it holds no empty line after a final
// line break.
class LineCursor {
public:
    LineCursor(std::string_view text, std::size_t start)
        : text_(text)
        , pos_(std::min(start, text.size()))
    {
    }

    std::optional<std::string_view> Next()
    {
        if (pos_ >= text_.size())
            return std::nullopt;
        const std::size_t end = text_.find(kCrLf, pos_);
        const std::size_t stop = end == std::string_view::npos ? text_.size() : end;
        const std::string_view line = text_.substr(pos_, stop - pos_);
        pos_ = end == std::string_view::npos ? text_.size() : end + kCrLf.size();
        return line;
    }

private:
    std::string_view text_;
    std::size_t pos_;
};

std::string ChoiceMarker(std::size_t k)
{
    return std::string(kChoicePrefix) + std::to_string(k) + "=";
}

// Where each choice text begins: just after "$r1=", "$r2=", ... found one
// after the other in the choices part of a question block. The count of
// choices is the number of markers found in a row.
std::vector<std::size_t> ChoiceStarts(std::string_view choices)
{
    std::vector<std::size_t> starts;
    std::size_t from = 0;
    while (starts.size() < kMaxChoices) {
        const std::string marker = ChoiceMarker(starts.size() + 1);
        const std::size_t found = choices.find(marker, from);
        if (found == std::string_view::npos)
            break;
        from = found + marker.size();
        starts.push_back(from);
    }
    return starts;
}

// Fills the question just appended from its block (the text between "<quest>"
// and "</quest>", trimmed).
void ReadQuestionBlock(std::string_view block, TQuest& quest)
{
    std::string_view rest = block;
    const std::size_t typeAt = block.find(kTypeMarker);
    if (typeAt != std::string_view::npos) {
        const std::size_t digitAt = typeAt + kTypeMarker.size();
        const std::string_view digit = block.substr(digitAt, 1);
        // One decimal digit; a type the editor does not know is carried as
        // the document file carries it.
        quest.QType = static_cast<TRepType>(DecimalValue(digit));
        // The character after the type digit goes too (the CR of its line end).
        rest = From(block, digitAt + 2);
    }

    const std::size_t countAt = rest.find(kChoicesMarker);
    if (countAt == std::string_view::npos) {
        // No choice line: the text is all there is.
        quest.QText = std::string(TrimmedView(rest));
        return;
    }
    quest.QText = std::string(TrimmedView(rest.substr(0, countAt)));

    // "$nRep=" is followed by the count of choices and, without separator,
    // the correct index (-1 for none). The choice line tells how many digits
    // the count has.
    const std::size_t valueAt = countAt + kChoicesMarker.size();
    const std::size_t lineEnd = std::min(rest.find(kCrLf, valueAt), rest.size());
    const std::string_view value = TrimmedView(rest.substr(valueAt, lineEnd - valueAt));
    const std::string_view choices = rest.substr(lineEnd);

    const std::vector<std::size_t> starts = ChoiceStarts(choices);
    const std::size_t countDigits = std::to_string(starts.size()).size();
    const std::int32_t count = DecimalValue(value.substr(0, countDigits));
    const std::int32_t goodRep = DecimalValue(From(value, countDigits));

    const std::size_t taken = std::min(starts.size(), static_cast<std::size_t>(std::max(count, 0)));
    for (std::size_t k = 0; k < taken; ++k) {
        const std::size_t start = starts[k];
        const std::size_t end = std::min(choices.find(kChoicePrefix, start), choices.size());
        quest.Reps.emplace_back(TrimmedView(choices.substr(start, end - start)));
    }
    quest.NRep = static_cast<std::uint16_t>(quest.Reps.size());
    // An index naming no choice read counts as no correct choice, so the
    // question never points outside its choices.
    const bool valid = goodRep >= 0 && static_cast<std::size_t>(goodRep) < quest.Reps.size();
    quest.GoodRep = valid ? goodRep : -1;
}

class TextBuilder {
public:
    void Line(std::string_view text)
    {
        text_ += text;
        text_ += '\n';
    }
    template <typename... Parts> void Line(std::string_view first, const Parts&... rest)
    {
        text_ += first;
        (text_ += ... += rest);
        text_ += '\n';
    }
    const std::string& Text() const { return text_; }

private:
    std::string text_;
};

void WriteBank(TextBuilder& out, std::string_view prefix, const std::vector<std::string>& bank)
{
    const std::string first = bank.empty() ? std::string() : bank.front();
    out.Line(prefix, std::to_string(bank.size()), kFirstMessageMarker, first);
    for (std::size_t i = 1; i < bank.size(); ++i)
        out.Line(bank[i]);
}

void WriteQuestion(TextBuilder& out, const TQuest& quest)
{
    out.Line(kQuestOpen);
    out.Line(kTypeMarker, std::to_string(static_cast<unsigned>(quest.QType)));
    out.Line(quest.QText);
    out.Line(kChoicesMarker, std::to_string(quest.Reps.size()), std::to_string(quest.GoodRep));
    std::string choices;
    for (std::size_t k = 0; k < quest.Reps.size(); ++k)
        choices += ChoiceMarker(k + 1) + quest.Reps[k];
    choices += kChoicePrefix;
    out.Line(choices);
    out.Line(kQuestClose);
}

} // namespace

std::string ExportText(const TQuizDocument& doc)
{
    const std::string hashes(49, '#');
    const QuizHeader& header = doc.Header;
    TextBuilder out;

    out.Line("");
    out.Line(hashes);
    out.Line("##       text output of Tavimor ", kProgramVersionText, "##");
    out.Line("##   ne pas modifier ce fichier ou sinon       ##");
    out.Line("##   qu'avec prudence et circonspection        ##");
    out.Line(hashes);
    out.Line("");

    out.Line("<main section>");
    out.Line(doc.Pages.GetTitle(0));
    out.Line(kAuthorMarker, header.AuthorName);
    out.Line(header.Email);
    out.Line(header.Institution);
    out.Line(header.Url);
    out.Line(header.CountSentence);
    out.Line(header.CertSentence);
    out.Line(doc.Quests.NoAnswerMess);
    out.Line(header.DefaultPoints);
    out.Line("</main section>");
    out.Line("");

    out.Line("<GenMessages>");
    WriteBank(out, kBankMarker, doc.Quests.GenMess[kWrongSide]);
    WriteBank(out, "", doc.Quests.GenMess[kRightSide]);
    out.Line("</GenMessages>");
    out.Line("");

    out.Line("<specMessages>");
    out.Line(kPagesMarker, doc.Pages.GetTitle(0));
    out.Line(doc.Pages.GetBody(0));
    for (int page = 1; page < THMPList::kPageCount; ++page) {
        out.Line(doc.Pages.GetTitle(page));
        out.Line(doc.Pages.GetBody(page));
    }
    out.Line("</specMessages>");
    out.Line("");

    out.Line("<QUESTIONS>");
    out.Line(kCountMarker, std::to_string(doc.Quests.Count()));
    for (int n = 1; n <= doc.Quests.Count(); ++n)
        WriteQuestion(out, doc.Quests.Quest(n));
    out.Line("</QUESTIONS>");
    out.Line("");

    // Values are raw, so a value's own line breaks (CR, LF or CR LF) become
    // CR LF like those between the lines.
    return WithCrLf(out.Text());
}

void ExportTextFile(const TQuizDocument& doc, const std::string& path)
{
    // The export is what the user takes away to edit or to carry elsewhere,
    // possibly the only copy of it that will be kept.
    WriteFileAtomically(path, ExportText(doc), Durability::Durable);
}

std::string ExportTextPath(const std::string& documentPath)
{
    return FolderPart(documentPath) + QuizFileNameOf(documentPath) + ".txt";
}

std::string ExportTextMessage(const std::string& exportPath)
{
    return "Un fichier du nom de " + FileNamePart(exportPath) + " vient d'\xEAtre produit dans le dossier de Tavimor.";
}

void ImportText(TQuizDocument& doc, std::string_view text)
{
    if (text.empty())
        return;
    const std::string joined = JoinedLines(text);
    const std::string_view all = joined;

    const std::size_t authorAt = all.find(kAuthorMarker);
    if (authorAt == std::string_view::npos)
        return;
    const std::size_t afterAuthor = authorAt + kAuthorMarker.size();

    // The lines after "$d1=": identity and options. A line the text lacks
    // leaves its value as it was.
    QuizHeader& header = doc.Header;
    const std::array<std::string*, 8> headerValues {
        &header.AuthorName,
        &header.Email,
        &header.Institution,
        &header.Url,
        &header.CountSentence,
        &header.CertSentence,
        &doc.Quests.NoAnswerMess,
        &header.DefaultPoints,
    };
    LineCursor headerLines(all, afterAuthor);
    for (std::string* value : headerValues) {
        const auto line = headerLines.Next();
        if (!line)
            break;
        *value = std::string(*line);
    }

    const std::size_t pagesAt = all.find(kPagesMarker, afterAuthor);
    if (pagesAt == std::string_view::npos)
        return;
    const std::size_t afterPages = pagesAt + kPagesMarker.size();
    LineCursor pageLines(all, afterPages);
    for (int page = 0; page < THMPList::kPageCount; ++page) {
        const auto title = pageLines.Next();
        if (!title)
            break;
        doc.Pages.SetTitle(page, std::string(*title));
        const auto body = pageLines.Next();
        if (!body)
            break;
        doc.Pages.SetBody(page, std::string(*body));
    }

    const std::size_t countAt = all.find(kCountMarker, afterPages);
    if (countAt == std::string_view::npos)
        return;
    std::size_t pos = countAt + kCountMarker.size();
    LineCursor countLine(all, pos);
    const std::int32_t announced = DecimalValue(TrimmedView(countLine.Next().value_or(std::string_view())));

    // Only the blocks the text holds are appended, each read once, in one pass.
    const std::size_t wanted = std::min<std::size_t>(static_cast<std::size_t>(std::max(announced, 0)), kMaxQuestions);
    for (std::size_t i = 0; i < wanted && static_cast<std::size_t>(doc.Quests.Count()) < kMaxQuestions; ++i) {
        const std::size_t openAt = all.find(kQuestOpen, pos);
        if (openAt == std::string_view::npos)
            break;
        // The opening tag and the one character after it (its line's CR) go.
        const std::size_t blockAt = std::min(openAt + kQuestOpen.size() + 1, all.size());
        const std::size_t closeAt = all.find(kQuestClose, blockAt);
        const std::size_t blockEnd = closeAt == std::string_view::npos ? all.size() : closeAt;
        pos = closeAt == std::string_view::npos ? all.size() : closeAt + kQuestClose.size();

        doc.Quests.AddQuest();
        ReadQuestionBlock(TrimmedView(all.substr(blockAt, blockEnd - blockAt)), doc.Quests.Current());
    }
}

void ImportTextFile(TQuizDocument& doc, const std::string& path)
{
    ImportText(doc, ReadWholeFile(path));
}

} // namespace tavimor
