#include "generator/QuestionTexts.h"

#include "generator/SpecHTML.h"

namespace tavimor {

std::string GetFeedback(const TQuestList& quests, int n, int side)
{
    std::string text;
    FeedbackPieces(quests, n, side, [&text](std::string_view piece) { AppendJsEscape(text, piece); });
    return text;
}

std::string GetExamText(const TQuestList& quests, int n)
{
    std::string text;
    ExamTextPieces(quests, n, [&text](std::string_view piece) { text += piece; });
    return text;
}

} // namespace tavimor
