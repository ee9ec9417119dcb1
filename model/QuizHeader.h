// The values of a document that the editor shows in its own controls (author
// identity, quiz options and texts). The editor copies its controls into it
// when it saves, exports or produces, and from it when a file is loaded.
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
    std::string UnansweredMess = "Vous n'avez pas r\xE9pondu \xE0 cette question.";
    std::string DefaultPoints = "0"; // as typed in the default-points field
};

// The default points value of a header text: a text that is not a decimal
// number counts as 10.
int DefaultPointsValue(const std::string& text);

} // namespace tavimor
