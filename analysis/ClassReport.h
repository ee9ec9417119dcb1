// The class report: one self-contained HTML page that a teacher opens in any
// browser or prints on A4, with the class's figures, each student's result,
// the item analysis of every question, the answers chosen, the questions
// worth a second look and, with the certainty option, how well the students
// judged their own certainty. It makes no request of any kind: its policy
// allows nothing but its own style block, and its charts are inline SVG.
#pragma once

#include "analysis/ClassResults.h"

#include <string>
#include <string_view>

namespace tavimor {

// The page, in UTF-8. Its title is the quiz's entry page title as plain
// text, or quizName (the document's file name, Windows-1252) when that is
// empty. Every text that comes from the document, the records or the files'
// names is escaped. A class without students still gives a whole page, its
// figures shown as dashes.
std::string ClassReportHtml(const TQuizDocument& doc, const TClassResults& results, std::string_view quizName = {});

// Writes the page to path, replacing any file there atomically; the
// exceptions of WriteFileAtomically when it cannot.
void WriteClassReport(
    const std::string& path, const TQuizDocument& doc, const TClassResults& results, std::string_view quizName = {});

} // namespace tavimor
