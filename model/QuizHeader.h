// The header values of a document: the author's identity with its labels and
// the quiz options. (The message for an unanswered question, stored among
// them in the file, belongs to the question list: TQuestList::NoAnswerMess.)
#pragma once

#include <string>

namespace tavimor {

struct QuizHeader {
    std::string AuthorLabel = "Nom de l'auteur";
    std::string AuthorName;
    std::string EmailLabel = "Courriel";
    std::string Email;
    std::string InstitLabel = "Institution";
    std::string Institution;
    std::string UrlLabel = "Adresse URL";
    std::string Url;
    std::string CountSentence = "Ce module compte <Q> questions."; // "<Q>" stands for the number
    bool ShowCount = true;
    std::string CertSentence = "Je suis certain(e) de cette r\xE9ponse.";
    bool UseCertainty = false;
    std::string DefaultPoints = "0"; // as typed in the default-points field

    bool operator==(const QuizHeader&) const = default;
};

// The default points value of a header text: a text that is not a decimal
// number counts as 10.
int DefaultPointsValue(const std::string& text);

} // namespace tavimor
