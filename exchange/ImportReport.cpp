#include "exchange/ImportReport.h"

#include "base/TextHelpers.h"

#include <algorithm>

namespace tavimor {

std::string PictureSource(std::string_view name)
{
    // The pages lie in the site's hPages folder, two levels below the document's.
    return "../../" + std::string(name);
}

std::string PictureTag(std::string_view name, std::string_view alt)
{
    std::string tag = "<IMG SRC=\"";
    AppendMarkupEscaped(tag, PictureSource(name));
    tag += "\" BORDER=0 ALT=\"";
    AppendMarkupEscaped(tag, alt);
    return tag + "\">";
}

std::string FirstWords(std::string_view text)
{
    constexpr std::size_t kMost = 60;
    std::string words;
    bool blank = false;
    for (std::size_t i = 0; i < text.size() && words.size() <= kMost; ++i) {
        const char c = text[i];
        if (c == '<') {
            const std::size_t close = text.find('>', i);
            if (close == std::string_view::npos)
                break;
            i = close;
            blank = true;
            continue;
        }
        if (static_cast<unsigned char>(c) <= ' ') {
            blank = true;
            continue;
        }
        if (blank && !words.empty())
            words += ' ';
        blank = false;
        words += c;
    }
    if (words.size() > kMost) {
        words.resize(kMost);
        const std::size_t lastBlank = words.rfind(' ');
        if (lastBlank != std::string::npos && lastBlank > kMost / 2)
            words.resize(lastBlank);
        words += "...";
    }
    return words;
}

TImportNote SkippedQuestion(int line, std::string question, std::string_view reason)
{
    return {line, std::move(question),
        "non import\xE9"
        "e : "
            + std::string(reason),
        true};
}

std::string WrongSideMessage(const std::vector<TAnswerFeedback>& wrong, bool* combined)
{
    if (combined != nullptr)
        *combined = false;
    const bool anyFeedback
        = std::any_of(wrong.begin(), wrong.end(), [](const TAnswerFeedback& a) { return !a.Feedback.empty(); });
    if (!anyFeedback)
        return {};
    const bool allSame = std::all_of(
        wrong.begin(), wrong.end(), [&](const TAnswerFeedback& a) { return a.Feedback == wrong.front().Feedback; });
    if (allSame)
        return wrong.front().Feedback;
    std::string message;
    for (const TAnswerFeedback& answer : wrong) {
        if (answer.Feedback.empty())
            continue;
        if (!message.empty())
            message += "<BR>\r\n";
        message += "\xAB\xA0" + answer.Answer + "\xA0\xBB : " + answer.Feedback;
    }
    if (combined != nullptr)
        *combined = true;
    return message;
}

std::string WithGeneralFeedback(const std::string& side, const std::string& general)
{
    if (general.empty())
        return side;
    if (side.empty())
        return general;
    return side + "<BR>\r\n" + general;
}

std::string ImportReportText(const TImportedBank& bank)
{
    const std::size_t imported = bank.Quests.size();
    const auto skipped = static_cast<std::size_t>(
        std::count_if(bank.Notes.begin(), bank.Notes.end(), [](const TImportNote& note) { return note.Skipped; }));
    std::string text = std::to_string(imported)
        + (imported > 1 ? " questions import\xE9"
                          "es"
                        : " question import\xE9"
                          "e");
    if (skipped > 0)
        text += ", " + std::to_string(skipped) + " non import\xE9" + (skipped > 1 ? "es" : "e");
    text += ".";
    for (const TImportNote& note : bank.Notes) {
        text += "\n  ";
        if (note.Line > 0)
            text += "ligne " + std::to_string(note.Line);
        if (!note.Question.empty())
            text += std::string(note.Line > 0 ? ", " : "") + "\xAB\xA0" + note.Question + "\xA0\xBB";
        if (note.Line <= 0 && note.Question.empty())
            text += "une question";
        text += " : " + note.What;
    }
    if (bank.References > 0)
        text += "\n" + std::to_string(bank.References)
            + " caract\xE8re(s) absent(s) du jeu Windows-1252 sont \xE9"
              "crits en r\xE9"
              "f\xE9"
              "rences HTML (&#...;), que les pages produites affichent tels quels.";
    return text;
}

} // namespace tavimor
