#include "exchange/AmcText.h"

#include "base/Cp1252.h"
#include "base/TextHelpers.h"
#include "generator/PlainText.h"

namespace tavimor {
namespace {

// One line of questionnaire text: markup dropped, blanks collapsed. A line
// of the file that starts with a question or answer mark, or holds the
// scanner's own markup brackets, would be read as such: such text is kept
// apart from the mark by a blank and its brackets by one too.
std::string AmcLine(std::string_view cp1252Html)
{
    std::string text = PlainTextUtf8(cp1252Html);
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        out += text[i];
        if (text[i] == '[' && i + 1 < text.size()
            && std::string_view("*_=[").find(text[i + 1]) != std::string_view::npos)
            out += ' ';
    }
    return out;
}

} // namespace

std::string AmcQuestionId(int number)
{
    std::string digits = std::to_string(number);
    return "Q" + std::string(digits.size() < 3 ? 3 - digits.size() : 0, '0') + digits;
}

TPlatformExport AmcText(const TQuizDocument& doc, const TExamVersion* version)
{
    TPlatformExport exported;
    std::string& text = exported.Text;
    text = "# AMC-TXT\n";
    text += "Title: " + AmcLine(doc.Pages.GetTitle(0))
        + (version ? std::string(" (version ") + version->Letter + ")" : "") + "\n";
    text += "Lang: FR\n";
    text += "PaperSize: A4\n";
    text += std::string("ShuffleQuestions: ") + (version ? "0" : "1") + "\n\n";

    std::vector<TPrintedQuestion> order;
    if (version) {
        order = version->Questions;
    } else {
        for (int n = 1; n <= doc.Quests.Count(); ++n) {
            TPrintedQuestion printed;
            printed.Original = n;
            for (std::size_t k = 0; k < doc.Quests.Quest(n).Reps.size(); ++k)
                printed.Choices.push_back(static_cast<int>(k));
            printed.Right = doc.Quests.Quest(n).GoodRep;
            order.push_back(std::move(printed));
        }
    }
    for (const TPrintedQuestion& printed : order) {
        const TQuest& quest = doc.Quests.Quest(printed.Original);
        const bool rightExists = quest.GoodRep >= 0 && static_cast<std::size_t>(quest.GoodRep) < quest.Reps.size();
        if (!rightExists || quest.Reps.size() < 2) {
            exported.Notes.push_back("Question " + std::to_string(printed.Original)
                + (rightExists ? ": une seule r\xE9ponse" : ": aucune bonne r\xE9ponse")
                + ", elle ne peut pas \xEAtre corrig\xE9"
                  "e par le lecteur de copies et n'est pas export\xE9"
                  "e.");
            continue;
        }
        // A version keeps its choices' order; so does a true/false question.
        // The question's name is its number in the document, in every
        // version: the scanner's marks of all versions line up by it.
        const bool ordered = version != nullptr || quest.QType == TRepType::rTrue;
        text += "*[id=" + AmcQuestionId(printed.Original) + (ordered ? ",ordered] " : "] ") + AmcLine(quest.QText)
            + "\n";
        for (const int k : printed.Choices) {
            const bool right = k == quest.GoodRep;
            text += std::string(right ? "+ " : "- ") + AmcLine(quest.Reps[static_cast<std::size_t>(k)]) + "\n";
        }
        text += "\n";
    }
    return exported;
}

TAmcContent ReadAmcText(std::string_view text)
{
    TAmcContent content;
    bool inQuestions = false;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        const std::string_view line = text.substr(at, end - at);
        at = end + 1;
        if (line.empty() || line.front() == '#')
            continue;
        if (line.front() == '*') {
            inQuestions = true;
            std::string_view rest = line.substr(line.starts_with("**") ? 2 : 1);
            std::string id;
            if (rest.starts_with('[')) {
                const std::size_t close = rest.find(']');
                const std::string_view options = rest.substr(1, close == std::string_view::npos ? 0 : close - 1);
                if (const std::size_t at = options.find("id="); at != std::string_view::npos)
                    id = std::string(
                        options.substr(at + 3, options.find(',', at) - std::min(options.find(',', at), at + 3)));
                rest = close == std::string_view::npos ? rest : rest.substr(close + 1);
            }
            content.Questions.push_back({std::move(id), std::string(TrimmedView(rest)), {}, {}});
        } else if ((line.front() == '+' || line.front() == '-') && inQuestions && !content.Questions.empty()) {
            content.Questions.back().Choices.emplace_back(TrimmedView(line.substr(1)));
            content.Questions.back().Right.push_back(line.front() == '+');
        } else if (!inQuestions) {
            const std::size_t colon = line.find(':');
            if (colon != std::string_view::npos)
                content.Options.emplace_back(
                    std::string(line.substr(0, colon)), std::string(TrimmedView(line.substr(colon + 1))));
        }
    }
    return content;
}

} // namespace tavimor
