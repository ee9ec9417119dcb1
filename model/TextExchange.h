// The plain-text form of a quiz ("Exporter (.txt)" / "Importer(.txt)"): one
// value per line, Windows-1252, CR LF line ends. It carries the identity, the
// quiz options, the generic messages, the page texts and, per question, the
// type, text, choices and correct choice; the import reads back all of these
// but the generic messages and the entry-page title of the main section.
#pragma once

#include "model/DocumentFile.h"

#include <string>
#include <string_view>

namespace tavimor {

// The program's version text, as the export's banner names it.
inline constexpr const char* kProgramVersionText = "version 2.71";

// The whole export text of doc. Values are written raw: a value holding a line
// break occupies several lines, every line break ending up as CR LF.
std::string ExportText(const TQuizDocument& doc);

// Writes ExportText(doc) to path, replacing any file there ("Cannot create
// file %s" / "Stream write error"; the previous file is never left damaged).
void ExportTextFile(const TQuizDocument& doc, const std::string& path);

// Where "Exporter (.txt)" writes: the document's folder, its file name up to
// the first point, then ".txt" ("/a/b.c/quiz.copie.kwz" -> "/a/b.c/quiz.txt").
std::string ExportTextPath(const std::string& documentPath);

// The message "Exporter (.txt)" shows once the file at exportPath is written;
// it names the file without its folder.
std::string ExportTextMessage(const std::string& exportPath);

// Reads a text file's content into doc, which the caller has emptied as for
// "Nouveau". Sets the identity and options of the header (and NoAnswerMess),
// the six page texts through SetTitle/SetBody, and appends one question per
// block held by the text, up to the announced count. A number that cannot be
// read throws ConvertError; what was imported before it stays in doc.
void ImportText(TQuizDocument& doc, std::string_view text);

// ImportText of the file at path ("Cannot open file %s").
void ImportTextFile(TQuizDocument& doc, const std::string& path);

} // namespace tavimor
