// Golden case "plain_count": no certainty option, borders kept, a
// question-count sentence without "<Q>", a document name with two dots, six
// choices in three columns, five in two, a question without a right choice
// and HTML inside the texts.
#pragma once

#include "model/DocumentFile.h"

namespace golden::plain_count {

inline constexpr const char* kDocumentName = "Chimie.copie.kwz";

inline void Build(tavimor::TQuizDocument& doc)
{
    using tavimor::TRepType;
    doc.Header.UseCertainty = false;
    doc.Header.ShowCount = true;
    doc.Header.CountSentence = "Nombre de questions :";
    doc.Layout.NoBorder = false;

    doc.Pages.SetTitle(0, "Chimie g\xE9n\xE9rale");
    doc.Pages.SetBody(0, "");
    doc.Pages.SetTitle(1, "Fini?");
    doc.Pages.SetBody(1, "Revoyez vos r\xE9ponses.");
    doc.Pages.SetTitle(2, "Bilan");
    doc.Pages.SetBody(2, "<I>Merci</I> d'avoir r\xE9pondu.");

    auto add = [&doc](const char* text, std::vector<std::string> reps, int good, int columns) {
        doc.Quests.AddQuest();
        tavimor::TQuest& q = doc.Quests.Quest(doc.Quests.Count());
        q.QText = text;
        q.Reps = std::move(reps);
        q.NRep = static_cast<std::uint16_t>(q.Reps.size());
        q.GoodRep = good;
        q.Columns = static_cast<std::uint16_t>(columns);
    };
    add("Lequel de ces \xE9l\xE9ments n'est pas un m\xE9tal?", {"Sodium", "Fer", "Cuivre", "Zinc", "N\xE9on", "Plomb"},
        4, 3);
    add("<B>L'eau</B> (H<SUB>2</SUB>O) \xE0 20 \xB0"
        "C est :",
        {"Solide", "Liquide", "Gazeux", "Plasma", "Supercritique"}, -1, 2);
}

} // namespace golden::plain_count
