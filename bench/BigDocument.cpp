#include "bench/BigDocument.h"

#include <string>

namespace tavimor::bench {
namespace {

constexpr int kChoices = 6;

const char* const kPlaces[] = {
    "Besan\xE7on",
    "Orl\xE9"
    "ans",
    "N\xEEmes",
    "Saint-\xC9tienne",
    "Ari\xE8ge",
    "Pyr\xE9n\xE9"
    "es",
    "C\xF4te-d'Or",
    "H\xE9rault",
};

std::string Place(int i)
{
    return kPlaces[i % static_cast<int>(std::size(kPlaces))];
}

} // namespace

TQuizDocument MakeBigDocument(int questionCount)
{
    TQuizDocument doc;
    ResetToStartupState(doc, "");
    doc.Header.AuthorName = "Fran\xE7oise B\xE9rub\xE9";
    doc.Header.Institution = "Lyc\xE9"
                             "e Andr\xE9-Malraux";
    doc.Header.UseCertainty = true;
    doc.Quests.GenMess[0] = {"Ce n'est pas la bonne r\xE9ponse.", "Non, relisez le cours.", "Essayez encore\xA0!"};
    doc.Quests.GenMess[1] = {"Bravo\xA0!", "Exact, tr\xE8s bien.", "C'est la r\xE9ponse attendue."};
    doc.Pages.SetTitle(0, "Grande banque de questions");
    doc.Pages.SetBody(0, "R\xE9pondez \xE0 toutes les questions.");

    for (int i = 0; i < questionCount; ++i) {
        doc.Quests.AddQuest();
        TQuest& q = doc.Quests.Current();
        const std::string number = std::to_string(i + 1);
        if (i % 4 == 3) {
            q.QType = TRepType::rOList;
            q.QText = "Question " + number
                + "\xA0: la pr\xE9"
                  "fecture de ce d\xE9partement est <option> depuis 1790.";
            q.Columns = 0;
        } else {
            q.QText = "Question " + number
                + "\xA0: quelle est la pr\xE9"
                  "fecture du d\xE9partement o\xF9 se trouve "
                + Place(i)
                + "\xA0? Choisissez la r\xE9ponse la plus pr\xE9"
                  "cise.";
            q.Columns = 2;
        }
        for (int c = 0; c < kChoices; ++c)
            q.Reps.push_back(Place(i + c) + " (r\xE9ponse " + std::to_string(c + 1) + ")");
        q.NRep = kChoices;
        q.GoodRep = i % kChoices;
        q.Priority = i % 3;
        q.Points = static_cast<std::uint16_t>(1 + i % 5);
        q.UseGenMess = {false, false};
        q.Mess[kWrongSide] = "Non\xA0: \xE0 la question " + number + ", la bonne r\xE9ponse \xE9tait "
            + q.Reps[static_cast<std::size_t>(q.GoodRep)] + ". Revoyez la carte des d\xE9partements.";
        q.Mess[kRightSide] = "Oui\xA0: la question " + number + " a bien pour r\xE9ponse "
            + q.Reps[static_cast<std::size_t>(q.GoodRep)] + ", bravo.";
        if (i % 10 == 0) {
            q.UseExtFile = true;
            q.ExtFile = "\"carte" + number + ".htm\" TARGET=\"_blank\"";
            q.ExtLink = "Voir la carte\xA0: |Carte n\xB0 " + number;
        }
    }
    return doc;
}

TQuizDocument MakeStyledDocument(int questionCount)
{
    TQuizDocument doc = MakeBigDocument(questionCount);
    const auto paragraph = [](const std::string& text) {
        return "<p style=\"margin:0 0 6pt 0;font-family:Calibri\"><span style=\"color:#1f3864\">" + text
            + "</span> <b>(</b><i>voir le cours</i><b>)</b></p>\r\n";
    };
    for (int n = 1; n <= questionCount; ++n) {
        TQuest& q = doc.Quests.Quest(n);
        q.QText = paragraph(q.QText) + paragraph("Lisez bien l'\xE9nonc\xE9 avant de r\xE9pondre.")
            + paragraph("Une seule r\xE9ponse est attendue.");
        for (std::string& message : q.Mess)
            message = paragraph(message);
    }
    return doc;
}

TQuizDocument MakeShortDocument(int questionCount)
{
    TQuizDocument doc = MakeBigDocument(0);
    for (int i = 0; i < questionCount; ++i) {
        doc.Quests.AddQuest();
        TQuest& q = doc.Quests.Current();
        const std::string place = Place(i);
        switch (i % 3) {
        case 0:
            q.QText = place
                + " est-elle une pr\xE9"
                  "fecture\xA0?";
            for (int c = 0; c < 4; ++c)
                q.Reps.push_back(Place(i + c));
            break;
        case 1:
            q.QType = TRepType::rTrue;
            q.QText = place + " se trouve au sud de la Loire.";
            q.Reps = {"Vrai", "Faux"};
            break;
        default:
            q.QType = TRepType::rOList;
            q.QText = "On arrive \xE0 " + place + " par <option>.";
            q.Reps = {"la route", "le train", "le bateau"};
            break;
        }
        q.NRep = static_cast<std::uint16_t>(q.Reps.size());
        q.GoodRep = i % q.NRep;
        q.Priority = i % 3;
        if (i % 3 == 2) {
            q.UseGenMess = {false, false};
            q.Mess[kWrongSide] = "Non, revoyez la carte.";
            q.Mess[kRightSide] = "Oui, c'est bien " + q.Reps[static_cast<std::size_t>(q.GoodRep)] + ".";
        } else {
            q.MessIdx = {i % 3, (i + 1) % 3};
        }
    }
    return doc;
}

} // namespace tavimor::bench
