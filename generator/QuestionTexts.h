// The texts of one question as the produced pages show them: its feedback
// (the message of a side with its attached-file link), its text with the
// cloze list for the quiz, with a blank for the exam.
#pragma once

#include "model/QuestModel.h"

#include <string>
#include <string_view>

namespace tavimor {

// The link name of a feedback link whose text carries no "|".
inline constexpr const char* kDefaultLinkName = "nom_du_lien";
// What a cloze marker becomes in the printed exam.
inline constexpr const char* kExamBlank = "____________";

// The feedback of one side, escaped for a script string literal.
std::string GetFeedback(const TQuestList& quests, int n, int side);
// Question text for the printed exam: a cloze marker becomes a blank line.
std::string GetExamText(const TQuestList& quests, int n);

// The same texts as pieces given in order to piece(std::string_view): joined
// they make GetFeedbackHtml, GetHtmlText and GetExamText. The builders of
// long texts convert piece by piece, without a copy of the whole text.
// Quests is a TQuestList or the TQuestViews of a production.
template <class Quests, class Piece> void FeedbackPieces(const Quests& quests, int n, int side, Piece piece)
{
    piece(std::string_view(quests.FeedbackMessage(n, side)));
    const auto& quest = quests.Quest(n);
    if (!quest.UseExtFile)
        return;
    // ExtLink holds the label, a "|" and the link name.
    const std::string_view link = quest.ExtLink;
    const std::size_t bar = link.find('|');
    piece(std::string_view("<P>"));
    piece(link.substr(0, bar));
    piece(std::string_view("<A HREF="));
    piece(std::string_view(quest.ExtFile));
    piece(std::string_view("> "));
    piece(bar == std::string_view::npos ? std::string_view(kDefaultLinkName) : link.substr(bar + 1));
    piece(std::string_view("</A>"));
}

// A question's text with its cloze marker replaced by what middle(piece)
// gives; a cloze question without its marker gives nothing.
template <class Quest, class Piece, class Middle> void ClozeTextPieces(const Quest& quest, Piece piece, Middle middle)
{
    if (quest.QType != TRepType::rOList) {
        piece(std::string_view(quest.QText));
        return;
    }
    std::string_view before;
    std::string_view after;
    if (!SplitAtMarker(quest.QText, before, after))
        return;
    piece(before);
    middle(piece);
    piece(after);
}

template <class Quests, class Piece> void HtmlTextPieces(const Quests& quests, int n, Piece piece)
{
    const auto& quest = quests.Quest(n);
    ClozeTextPieces(quest, piece, [&quest](Piece& list) {
        // The list's first, empty option is its initial selection.
        list(std::string_view("<select><option>"));
        for (const auto& choice : quest.Reps) {
            list(std::string_view(kOptionMarker));
            list(std::string_view(choice));
        }
        list(std::string_view("</select>  &nbsp;"));
    });
}

template <class Quests, class Piece> void ExamTextPieces(const Quests& quests, int n, Piece piece)
{
    ClozeTextPieces(quests.Quest(n), piece, [](Piece& blank) { blank(std::string_view(kExamBlank)); });
}

// The feedback of one side as the author wrote it: the generic or own
// message, then the attached-file link when the question has one.
template <class Quests> std::string GetFeedbackHtml(const Quests& quests, int n, int side)
{
    std::string text;
    FeedbackPieces(quests, n, side, [&text](std::string_view piece) { text += piece; });
    return text;
}

// Question text for the quiz pages: a cloze marker becomes a drop-down list.
template <class Quests> std::string GetHtmlText(const Quests& quests, int n)
{
    std::string text;
    HtmlTextPieces(quests, n, [&text](std::string_view piece) { text += piece; });
    return text;
}

} // namespace tavimor
