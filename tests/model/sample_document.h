// Documents shared by the model, exchange and command-line tests: one that
// sets every field of the file away from its start-up value, the helpers that
// build questions, and those that build document files of the older versions
// byte by byte.
#pragma once

#include "base/ValueStream.h"
#include "model/DocumentFile.h"

#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace tavimor::test {

// Every field of a question, for comparisons.
inline auto Fields(const TQuest& q)
{
    return std::tie(q.QReserved, q.QType, q.Priority, q.QText, q.NRep, q.Reps, q.GoodRep, q.Columns, q.MessIdx, q.Mess,
        q.UseGenMess, q.ShowResum, q.ExtFile, q.ExtLink, q.UseExtFile, q.Points);
}

inline auto Fields(const QuizHeader& h)
{
    return std::tie(h.AuthorLabel, h.AuthorName, h.EmailLabel, h.Email, h.InstitLabel, h.Institution, h.UrlLabel, h.Url,
        h.CountSentence, h.ShowCount, h.CertSentence, h.UseCertainty, h.DefaultPoints);
}

// A question of that type, text and choices, with choice `good` right.
inline TQuest Question(TRepType type, std::string text, std::vector<std::string> reps, int good)
{
    TQuest q;
    q.QType = type;
    q.QText = std::move(text);
    q.NRep = static_cast<std::uint16_t>(reps.size());
    q.Reps = std::move(reps);
    q.GoodRep = good;
    return q;
}

// Appends the question to the document.
inline void Add(TQuizDocument& doc, TQuest quest)
{
    doc.Quests.Quest(doc.Quests.AddQuest()) = std::move(quest);
}

inline TQuizDocument StartupDocument()
{
    TQuizDocument doc;
    ResetToStartupState(doc, "");
    return doc;
}

// A document whose every value differs from a new document's: accented
// texts, a question without choices, a cloze question, own feedback, an
// attached file, numbers that need every integer width.
inline TQuizDocument RichDocument()
{
    TQuizDocument doc = StartupDocument();
    QuizHeader& h = doc.Header;
    h.AuthorLabel = "Enseignant";
    h.AuthorName = "H\xE9l\xE8ne Lef\xE8vre";
    h.EmailLabel = "M\xE9l";
    h.Email = "helene@example.org";
    h.InstitLabel = "\xC9tablissement";
    h.Institution = "Coll\xE8ge Jean-Mac\xE9";
    h.UrlLabel = "Site";
    h.Url = "http://example.org/quiz";
    h.CountSentence = "Ce test a <Q> questions.";
    h.ShowCount = false;
    h.CertSentence = "S\xFBr(e)?";
    h.UseCertainty = true;
    h.DefaultPoints = "15";
    doc.Quests.NoAnswerMess = "Pas de r\xE9ponse \x96 dommage.";

    doc.Layout.MenuLeft = false;
    doc.Layout.NoBorder = true;
    doc.Layout.DistinctPages = true;
    doc.Layout.ImgNames[0] = "logo\xE9";
    doc.Layout.ImgNames[8] = std::string(255, 'y');

    doc.Quests.GenMess[0] = {"Faux.", "Non, relisez le cours \x85", "Essayez encore."};
    doc.Quests.GenMess[1] = {"Bravo\xA0!", "Exact."};
    doc.Quests.LReserved = -70000;

    doc.Pages.SetTitle(0, "G\xE9ographie de la France");
    doc.Pages.SetBody(0, "Lisez bien\r\nchaque question.");
    doc.Pages.SetTitle(1, "Fini?");
    doc.Pages.SetBody(1, "Revoyez vos r\xE9ponses.");
    doc.Pages.SetTitle(2, "Bilan");
    doc.Pages.SetBody(2, std::string(300, 'z'));

    doc.Quests.AddQuest();
    TQuest& standard = doc.Quests.Current();
    standard.QReserved = 123456;
    standard.Priority = 2;
    standard.QText = "Quelle est la capitale de la France\xA0?";
    standard.Reps = {"Paris", "Lyon", "Marseille", "Lille", "Nantes", "Toulouse"};
    standard.NRep = 6;
    standard.GoodRep = 0;
    standard.Columns = 2;
    standard.MessIdx = {2, 1};
    standard.Mess = {"Non\xA0: c'est Paris.", "Oui (bien s\xFBr)."};
    standard.UseGenMess = {false, true};
    standard.ShowResum = true;
    standard.ExtFile = "\"capitales.htm\" TARGET=\"_blank\"";
    standard.ExtLink = "voir aussi: |Les capitales";
    standard.UseExtFile = true;
    standard.Points = 40000;

    doc.Quests.AddQuest();
    TQuest& empty = doc.Quests.Current();
    empty.QText = "Question sans choix";
    empty.Points = 3;

    doc.Quests.AddQuest();
    TQuest& cloze = doc.Quests.Current();
    cloze.QType = TRepType::rOList;
    cloze.QText = "Paris est la <option> de la France.";
    cloze.Reps = {"capitale", "ville"};
    cloze.NRep = 2;
    cloze.GoodRep = 0;
    cloze.Columns = 65535;
    cloze.MessIdx = {-1, 300};
    cloze.UseGenMess = {true, false};
    cloze.Mess = {"", std::string(70000, 'm')};

    doc.Quests.AddQuest();
    TQuest& truth = doc.Quests.Current();
    truth.QType = TRepType::rTrue;
    truth.QText = "La Loire est le plus long fleuve de France.";
    truth.Reps = {"Vrai", "Faux"};
    truth.NRep = 2;
    truth.GoodRep = -1;
    truth.Points = 65535;

    TStylePrefs& style = doc.Style;
    style.BGColor = "ivory";
    style.BGSysCol = 0xF0FFFF;
    style.PMargin = "3%";
    style.DefFontFace = "Verdana";
    style.sFileName = "autre.css";
    style.StyleSpecs[2].FontColorName = "maroon";
    style.StyleSpecs[2].FontColor = 128;
    style.StyleSpecs[3].Options = "border:1px;\r\npadding-top:2px";
    style.StyleSpecs[4].Transparent = false;
    style.StyleSpecs[4].BGName = "yellow";
    style.StyleSpecs[13].Selector = ".encadr\xE9";
    style.LinkStyles[1].Underline = true;
    style.LinkStyles[2].ColorName = "teal";
    style.LinkStyles[2].ColorValue = 0x808000;
    return doc;
}

// The header values 2-15 of the start-up document and three spare strings.
inline void WriteStartupHeader(TValueWriter& w, const std::string& authorName)
{
    const QuizHeader h;
    w.WriteString(h.AuthorLabel);
    w.WriteString(authorName);
    w.WriteString(h.EmailLabel);
    w.WriteString(h.Email);
    w.WriteString(h.InstitLabel);
    w.WriteString(h.Institution);
    w.WriteString(h.UrlLabel);
    w.WriteString(h.Url);
    w.WriteString(h.CountSentence);
    w.WriteBoolean(h.ShowCount);
    w.WriteString(h.CertSentence);
    w.WriteBoolean(h.UseCertainty);
    w.WriteString("Sans r\xE9ponse.");
    w.WriteString("7");
    for (int i = 0; i < 3; ++i)
        w.WriteString("spare");
}

// A question record with two choices, the second one correct.
inline void WriteQuestionRecord(TValueWriter& w, const std::string& text, std::int32_t points)
{
    w.WriteInteger(0); // reserved
    w.WriteInteger(0); // standard type
    w.WriteInteger(1); // priority
    w.WriteString(text);
    w.WriteInteger(1); // points, overwritten by the second copy below
    w.WriteInteger(2); // two choices
    w.WriteString("oui");
    w.WriteString("non");
    w.WriteInteger(1); // correct choice
    w.WriteInteger(1); // columns
    for (int side = 0; side < 2; ++side) {
        w.WriteBoolean(true);
        w.WriteString("");
        w.WriteInteger(0);
    }
    w.WriteBoolean(false); // show summary
    w.WriteString(""); // attached file
    w.WriteString(""); // link
    w.WriteBoolean(false); // use attached file
    w.WriteInteger(points);
}

// Banks, page texts, the question count, LReserved and two questions: the
// part every version shares after its layout.
inline void WriteCommonBody(TValueWriter& w)
{
    w.WriteInteger(2);
    w.WriteString("Faux!");
    w.WriteString("Non.");
    w.WriteInteger(1);
    w.WriteString("Juste!");
    const char* texts[] = {"Entr\xE9"
                           "e",
        "Bienvenue", "Fini?", "Revoyez.", "R\xE9sultats", "Voici."};
    for (const char* text : texts)
        w.WriteString(text);
    w.WriteInteger(2);
    w.WriteInteger(9);
    WriteQuestionRecord(w, "Premi\xE8re question", 5);
    WriteQuestionRecord(w, "Deuxi\xE8me question", 6);
}

// A version 4 file: the header, then the layout block (3 booleans, 5 spare
// strings, 9 image names), then the common body and no style block.
inline std::string Version4File(int version = 4)
{
    TValueWriter w;
    w.WriteInteger(version);
    WriteStartupHeader(w, "Auteur v4");
    w.WriteBoolean(false); // menu on the left
    w.WriteBoolean(true); // no border
    w.WriteBoolean(false); // distinct pages
    for (int i = 0; i < 5; ++i)
        w.WriteString("anything");
    for (int i = 0; i < 9; ++i)
        w.WriteString("img" + std::to_string(i));
    WriteCommonBody(w);
    return w.Bytes();
}

// A version 3 file: the header, then three (title, body) pairs that the later
// page texts replace, then the old layout block (7 strings, 2 integers, the
// two first flags, 5 integers, the third flag, 9 image names), then the
// common body; no style block.
inline std::string Version3File()
{
    TValueWriter w;
    w.WriteInteger(3);
    WriteStartupHeader(w, "Auteur v3");
    for (int i = 0; i < 6; ++i)
        w.WriteString("ancien texte " + std::to_string(i));
    for (int i = 0; i < 7; ++i)
        w.WriteString("old");
    w.WriteInteger(640);
    w.WriteInteger(480);
    w.WriteBoolean(false); // menu on the left
    w.WriteBoolean(true); // no border
    for (int i = 0; i < 5; ++i)
        w.WriteInteger(-i);
    w.WriteBoolean(true); // distinct pages
    for (int i = 0; i < 9; ++i)
        w.WriteString("old" + std::to_string(i));
    WriteCommonBody(w);
    return w.Bytes();
}

} // namespace tavimor::test
