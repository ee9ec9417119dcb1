// The printable exam and its answer key: static pages beside the quiz site.
#include "base/Cp1252.h"
#include "generator/PageSet.h"
#include "generator/QuestionTexts.h"

#include "generator/SpecHTML.h"
#include "generator/TextBuffer.h"

#include <string_view>

namespace tavimor {

namespace {

constexpr const char* kStyleSheetName = "kwzStyle.css";

// The page 0 body and the question-count line are not shown on the exam:
// the exam carries only the entry title, the identification blanks and the
// questions.
std::string ExamHead(const std::string& quizName, const std::string& title, bool key, const std::string& version)
{
    std::string page = PageHead("", "", kStyleSheetName, "Examen " + quizName);
    page += THTMPrefs::BodyTag("") + "<H2>" + EntityEncode(title) + "</H2>" + LF;
    if (!version.empty())
        page += "<P ALIGN=RIGHT><B>Version " + version + "</B></P>" + LF;
    page += std::string("<FORM NAME=\"ExamForm\">") + LF;
    if (!key) {
        page += std::string("<TABLE ALIGN=CENTER><TR><TD WIDTH=350>") + LF
            + "Pr&eacute;nom: ________________________ <p>" + LF + "Nom: ________________________ <br></TD>" + LF
            + "<TD vAlign=top>Groupe: _______ <br></TD>" + LF + "</TR></TABLE>" + LF;
    }
    page += std::string("<P><hr><P>") + LF + "</TD></TR>" + LF + "<OL TYPE=0>" + LF;
    return page;
}

constexpr std::string_view kExamTail = "\n</OL></FORM>\n<P><HR WIDTH=300>\n</BODY></HTML>";

// Choices stand in columns: with Columns above 1 the first column holds
// count / Columns choices and each later one a choice more, the last one what
// remains (6 choices in 3 columns: 2, 3, 1). spill() may store and empty out
// between the questions.
template <class Quests, class Spill>
void AppendExamQuestions(TextBuffer& out, const Quests& quests, bool key, Spill spill)
{
    out += "<P>";
    for (int n = 1; n <= quests.Count(); ++n) {
        const auto& quest = quests.Quest(n);
        const std::size_t choices = quest.Reps.size();
        const std::size_t columnLength = quest.Columns > 1 ? choices / quest.Columns : 0;
        out += "\n<!-- question ";
        out.AppendNumber(n);
        out += " -->\n\n<LI>";
        ExamTextPieces(quests, n, [&out](std::string_view piece) { out.AppendEntityEncode(piece); });
        out += "\n<br>\n<TABLE WIDTH=80% CELLSPACING=4><TR>\n<TD vAlign=top>\n<ul>\n";
        std::size_t counter = 0;
        for (std::size_t i = 0; i < choices; ++i) {
            if (columnLength != 0) {
                if (counter == columnLength) {
                    out += "</UL></TD><TD vAlign=top><UL>\n";
                    counter = 0;
                } else {
                    ++counter;
                }
            }
            out += "<LI> ";
            const bool bold = key && static_cast<std::int64_t>(i) == quest.GoodRep;
            if (bold)
                out += "<b>";
            out.AppendEntityEncode(quest.Reps[i]);
            out += bold ? "</b><BR>\n" : "<BR>\n";
        }
        out += "</ul></TD></TR></TABLE>\n<br>";
        spill();
    }
    out += LF;
}

} // namespace

std::string THKWZ::ExamPath(bool key) const
{
    if (!ExamVersion.empty())
        return OutDir + quizFileName_ + (key ? "sol-" : "exm-") + ExamVersion + ".htm";
    return OutDir + quizFileName_ + (key ? "sol.htm" : "exm.htm");
}

std::string THKWZ::ExamVersionsKeyPath() const
{
    return OutDir + quizFileName_ + "sol-versions.htm";
}

std::string THKWZ::WriteExamVersionsKey(const std::string& versionsKeyPage)
{
    PageWriter page(ExamVersionsKeyPath(), PageWriter::LineBreaks::Any, PageWriter::Length::Long);
    page.Text() += versionsKeyPage;
    page.Commit();
    return ExamVersionsKeyPath();
}

std::string THKWZ::ExamPage(bool key) const
{
    TextBuffer page;
    page += ExamHead(QuizName, doc_.Pages.GetTitle(0), key, ExamVersion);
    WithQuestions([&](const auto& quests) { AppendExamQuestions(page, quests, key, [] {}); });
    page += kExamTail;
    return page.Take();
}

std::string THKWZ::ExamQuestions(bool key) const
{
    TextBuffer text;
    WithQuestions([&](const auto& quests) { AppendExamQuestions(text, quests, key, [] {}); });
    return text.Take();
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
    // The exam is written while it is built, as ExamPage gives it.
    PageWriter page(ExamPath(key), PageWriter::LineBreaks::Any, PageWriter::Length::Long);
    page.Text() += ExamHead(QuizName, doc_.Pages.GetTitle(0), key, ExamVersion);
    WithQuestions(
        [&](const auto& quests) { AppendExamQuestions(page.Text(), quests, key, [&page] { page.Spill(); }); });
    page.Text() += kExamTail;
    page.Commit();
    return true;
}

} // namespace tavimor
