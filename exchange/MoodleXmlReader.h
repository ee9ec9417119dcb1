// Reads a Moodle XML question file (<quiz><question type="...">, the XML
// question-bank format of learning platforms) into quiz questions:
//
// - multichoice with exactly one answer at fraction 100, single or not: a
//   standard question; other answers count as wrong, and partial credit or a
//   penalty on them is named in a note;
// - truefalse: a true/false question ("Vrai", "Faux");
// - cloze holding exactly one drop-down sub-question (MULTICHOICE, MC,
//   MULTICHOICE_V, MCV, MULTICHOICE_H, MCH and their shuffled forms
//   MULTICHOICE_S, MCS, MULTICHOICE_VS, MCVS, MULTICHOICE_HS, MCHS) with one
//   answer at 100 %: a cloze question, the marker where the braces were;
// - category and description: one note each, not counted as skipped;
// - every other kind, and the questions above that the quiz cannot hold as
//   written: skipped with a note naming why.
//
// Texts keep their HTML; plain_text is escaped, markdown converted, Moodle's
// auto format and plain text have their line breaks kept as <BR>. The
// pictures and other files a text carries (<file encoding="base64">, shown as
// @@PLUGINFILE@@/name) come as TImportedPicture and the text shows them as
// PictureSource(name); the old <image>/<image_base64> pair of a question is
// shown after its text. Feedback: the right answer's for the right side, the
// wrong answers' for the wrong side (WrongSideMessage), correctfeedback and
// incorrectfeedback for a side the answers left empty and after the answers'
// otherwise, generalfeedback after both.
#pragma once

#include "exchange/ImportReport.h"

#include <cstddef>
#include <string_view>

namespace tavimor {

// The largest file read: a hostile file cannot make the reader take more
// than a few times this much memory.
inline constexpr std::size_t kMaxMoodleXmlBytes = std::size_t {64} << 20;

// Throws ImportError (French, naming the line where there is one, ending with
// "Rien n'a été importé.") only when nothing can be read: an empty or too
// large file, not XML, no <quiz> root (a lone <question> root is read as a
// bank of one question), not UTF-8 where the declaration says UTF-8 or says
// nothing, an encoding it does not know. UTF-16 with a byte-order mark,
// ISO-8859-1 and Windows-1252 are read as declared. A bank without a
// question is returned as any other.
TImportedBank ReadMoodleXml(std::string_view bytes);

} // namespace tavimor
