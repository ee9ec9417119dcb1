// Golden case "cert_border": certainty option on, "Pas de bordure" set, the
// default question-count sentence (with "<Q>"), one question of each type, an
// accented quiz name and a two-line evaluation text.
#pragma once

#include "model/DocumentFile.h"

namespace golden::cert_border {

inline constexpr const char* kDocumentName = "G\xC3\xA9ographie.kwz"; // UTF-8, as the file system has it

inline void Build(tavimor::TQuizDocument& doc)
{
    using tavimor::TRepType;
    doc.Header.UseCertainty = true;
    doc.Header.ShowCount = true;
    doc.Header.CountSentence = "Ce module compte <Q> questions.";
    doc.Header.CertSentence = "Je suis certain(e) de cette r\xE9ponse.";
    doc.Layout.NoBorder = true;

    doc.Pages.SetTitle(0, "Bienvenue au test de g\xE9ographie");
    doc.Pages.SetBody(0, "R\xE9sum\xE9 du module");
    doc.Pages.SetTitle(1, "Termin\xE9?");
    doc.Pages.SetBody(1, "Vous pouvez maintenant revoir vos r\xE9ponses\r\nou passer aux r\xE9sultats.");
    doc.Pages.SetTitle(2, "R\xE9sultats");
    doc.Pages.SetBody(2, "Voici vos r\xE9sultats.");

    auto add = [&doc](TRepType type, const char* text, std::vector<std::string> reps, int good, int columns) {
        doc.Quests.AddQuest();
        tavimor::TQuest& q = doc.Quests.Quest(doc.Quests.Count());
        q.QType = type;
        q.QText = text;
        q.Reps = std::move(reps);
        q.NRep = static_cast<std::uint16_t>(q.Reps.size());
        q.GoodRep = good;
        q.Columns = static_cast<std::uint16_t>(columns);
    };
    add(TRepType::rKWZ, "Quelle est la capitale de la France?", {"Paris", "Lyon", "Marseille"}, 0, 1);
    add(TRepType::rTrue, "Le soleil est une \xE9toile.", {"Vrai", "Faux"}, 0, 2);
    add(TRepType::rOList, "Paris est la <option> de la France.", {"capitale", "ville"}, 0, 0);
}

} // namespace golden::cert_border
