// The printed exam and its answer key as A4 PDF files: the same questions,
// choices and blanks as the HTML exam (generator/Exam.cpp), laid out for
// paper with Pango and drawn by Cairo. A question is never split across two
// pages unless it is taller than a whole page; every page is numbered
// "Page n / N".
#pragma once

#include "model/DocumentFile.h"
#include "model/QuestionViews.h"

#include <string>
#include <string_view>
#include <vector>

namespace tavimor {

struct TExamPdfOptions {
    bool Key = false; // the answer key: the right choice ticked and in bold, no identification blanks
    std::string Version; // the version's letter ("A"), empty for the one exam of the document
    std::string QuizName; // Windows-1252, as the pages show it
    // Where the relative picture addresses of the texts are looked up: the
    // site's folder (THKWZ::OutDir, ending with "/"), whose hPages folder
    // the image dialog's addresses start from, then the folder itself, then
    // DocumentFolder. Paths are the file system's own.
    std::string SiteFolder;
    std::string DocumentFolder;
};

// Writes the exam of the document's questions (or of quests, the views of a
// document read for a production) to path, atomically: the whole PDF is made
// in memory, then replaces the file. A picture that cannot be read is shown
// by its alternative text or its file name in brackets. Throws Error
// (French, Windows-1252) when the PDF cannot be made or the file written.
void WriteExamPdf(const TQuizDocument& doc, const TExamPdfOptions& options, const std::string& path);
void WriteExamPdf(
    const TQuizDocument& doc, const TQuestViews& quests, const TExamPdfOptions& options, const std::string& path);

// The PDF file of an HTML exam page: the same name with ".pdf" for ".htm".
std::string ExamPdfPath(const std::string& htmlPath);

// One piece of a question text turned from HTML into what the PDF draws: a
// paragraph of Pango markup (UTF-8) or a picture.
struct TPrintPiece {
    enum class Kind { Text, Picture } Type = Kind::Text;
    std::string Markup; // Text: Pango markup, lines separated by "\n"
    std::string Source; // Picture: the address as written (UTF-8, entities resolved)
    std::string Alt; // Picture: its alternative text (UTF-8)
    double Width = 0; // Picture: WIDTH and HEIGHT in pixels, 0 when not given
    double Height = 0;
};

// The HTML of a text (UTF-8) as paragraphs and pictures: b/strong, i/em, u,
// sub and sup become Pango's tags; br, p, div, li and the list and table tags
// break lines (a list item starts with a bullet); character references and
// the usual named entities are resolved; script and style are dropped with
// their content, every other tag is dropped keeping its text. The markup is
// always well formed, whatever the HTML.
std::vector<TPrintPiece> HtmlToPrintPieces(std::string_view html);

} // namespace tavimor
