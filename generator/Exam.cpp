// The printable exam and its answer key: static pages beside the quiz site.
#include "generator/PageSet.h"
#include "model/Cp1252.h"

#include "generator/SpecHTML.h"

namespace tavimor {

namespace {

constexpr const char* kStyleSheetName = "kwzStyle.css";

} // namespace

std::string THKWZ::ExamPath(bool key) const
{
    return OutDir + quizFileName_ + (key ? "sol.htm" : "exm.htm");
}

// The page 0 body and the question-count line are not shown on the exam:
// the exam carries only the entry title, the identification blanks and the
// questions.
std::string THKWZ::ExamPage(bool key) const
{
    std::string page = PageHead("", "", kStyleSheetName, "Examen " + QuizName);
    page += THTMPrefs::BodyTag("") + "<H2>" + EntityEncode(doc_.Pages.GetTitle(0)) + "</H2>" + LF;
    page += std::string("<FORM NAME=\"ExamForm\">") + LF;
    if (!key) {
        page += std::string("<TABLE ALIGN=CENTER><TR><TD WIDTH=350>") + LF
            + "Pr&eacute;nom: ________________________ <p>" + LF + "Nom: ________________________ <br></TD>" + LF
            + "<TD vAlign=top>Groupe: _______ <br></TD>" + LF + "</TR></TABLE>" + LF;
    }
    page += std::string("<P><hr><P>") + LF + "</TD></TR>" + LF + "<OL TYPE=0>" + LF;
    page += ExamQuestions(key) + LF;
    return page + "</OL></FORM>" + LF + "<P><HR WIDTH=300>" + LF + "</BODY></HTML>";
}

// Choices stand in columns: with Columns above 1 the first column holds
// count / Columns choices and each later one a choice more, the last one what
// remains (6 choices in 3 columns: 2, 3, 1).
std::string THKWZ::ExamQuestions(bool key) const
{
    const TQuestList& quests = doc_.Quests;
    std::string text = "<P>";
    for (int n = 1; n <= quests.Count(); ++n) {
        const TQuest& quest = quests.Quest(n);
        const std::size_t choices = quest.Reps.size();
        const std::size_t columnLength = quest.Columns > 1 ? choices / quest.Columns : 0;
        text += LF;
        text += "<!-- question " + std::to_string(n) + " -->";
        text += LF;
        text += LF;
        text += "<LI>" + EntityEncode(quests.GetExamText(n)) + LF + "<br>" + LF + "<TABLE WIDTH=80% CELLSPACING=4><TR>"
            + LF + "<TD vAlign=top>" + LF + "<ul>" + LF;
        std::size_t counter = 0;
        for (std::size_t i = 0; i < choices; ++i) {
            if (columnLength != 0) {
                if (counter == columnLength) {
                    text += std::string("</UL></TD><TD vAlign=top><UL>") + LF;
                    counter = 0;
                } else {
                    ++counter;
                }
            }
            text += "<LI> ";
            const bool bold = key && static_cast<std::int64_t>(i) == quest.GoodRep;
            if (bold)
                text += "<b>";
            text += EntityEncode(quest.Reps[i]);
            text += bold ? "</b><BR>" : "<BR>";
            text += LF;
        }
        text += std::string("</ul></TD></TR></TABLE>") + LF + "<br>";
    }
    return text + LF;
}

std::string THKWZ::ExamAnnouncement(bool withFolder) const
{
    std::string text
        = "L'examen " + QuizName + "exm.htm et son corrig\xE9 " + QuizName + "sol.htm viennent d'\xEAtre cr\xE9\xE9s";
    if (withFolder)
        text += " dans le dossier " + Utf8ToCp1252(OutDir);
    return text + ".";
}

bool THKWZ::WriteExam(bool key)
{
    if (OutDir.empty() && !SetFolders()) {
        if (Notify)
            Notify(kNoFileName);
        return false;
    }
    WriteStyleSheet(PagesDir + kStyleSheetName);
    WriteStyleSheet(OutDir + kStyleSheetName);
    SavePage(ExamPath(key), ExamPage(key));
    return true;
}

} // namespace tavimor
