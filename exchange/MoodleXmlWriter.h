// The quiz as a Moodle XML question file, the XML question-bank format that
// learning platforms import. UTF-8; every text is HTML (format="html", in
// CDATA sections); the questions come in a category named after the quiz.
//
// - standard questions: single-answer multichoice, fraction 100 on the right
//   choice and 0 on the others, choices in the quiz's order, not numbered;
// - true/false questions whose choices are "Vrai" and "Faux": truefalse;
//   other true/false questions: multichoice;
// - cloze questions: cloze, the drop-down list {1:MULTICHOICE:=right~wrong}
//   standing where the marker is;
// - questions without choices: description.
// Each answer carries the message the site shows for it (the right-answer
// feedback on the right choice, the wrong-answer feedback on the others).
// Pictures the texts show from the quiz's folders travel inside the file as
// base64 <file> elements referred to as @@PLUGINFILE@@/name.
#pragma once

#include "exchange/PlatformQuestion.h"
#include "model/DocumentFile.h"

#include <string>
#include <string_view>

namespace tavimor {

// A cloze answer or feedback text with } # ~ / " and \ escaped by a backslash.
std::string ClozeEscape(std::string_view text);

// The Moodle XML of the quiz in the document at documentPath (UTF-8 path; the
// pictures are looked for around it and the category takes its quiz name).
TPlatformExport MoodleXml(const TQuizDocument& doc, const std::string& documentPath);

// Writes MoodleXml to path without ever leaving a damaged file there.
TPlatformExport ExportMoodleXmlFile(const TQuizDocument& doc, const std::string& documentPath, const std::string& path);

} // namespace tavimor
