// The question bank as a spreadsheet: one row a question, for a teacher who
// writes or corrects many questions at once in a spreadsheet program.
// docs/formats/spreadsheet-csv.md describes the file for its readers.
//
// Written: UTF-8 with a byte-order mark, ";" between fields, CR LF line ends,
// RFC 4180 quotes; a header row of French column names, then a row a
// question. Every field of a question is carried, so that reading the text
// back gives the very same questions. A text is the HTML the editor shows,
// with the characters written as references in the document shown as
// themselves ("&#960;" as "π"). Its line breaks stay CR LF.
//
// Read: that text as a spreadsheet program saves it again: ";" or ","
// between fields (chosen from the header line), with or without the mark,
// CR LF, LF or CR line ends; a quoted header, empty rows and empty trailing
// columns are passed over. The columns may come in any order and all but
// "question" may be left out; names match whatever their case and accents.
// A line break inside a text becomes CR LF, as the editor keeps it.
//
// The cells, column by column:
//   type            « standard », « vrai/faux » or « texte à trous »
//   question        the question's text
//   bonne réponse   the number of the right choice, from 1; empty for none
//   message si bon, message si faux
//                   the side's own message, or « #générique N » for the
//                   generic message N (from 1) of the document
//   points, priorité, colonnes
//                   whole numbers
//   fichier joint, texte du lien
//                   the attached file's name and the caption of its link
//   lien affiché    « oui » when the question shows the link, else « non »
//   message si bon (non utilisé), message si faux (non utilisé)
//                   what the editor keeps aside for a side: the own text of
//                   a side that uses its generic message, or the generic
//                   message chosen last for a side that has its own
//   résumé, réservé two values of older documents
//   choix 1, choix 2, ...
//                   the choices, as many columns as the longest question needs
// The writer leaves out the columns "(non utilisé)", "résumé" and "réservé"
// when no question has anything in them.
//
// An empty cell gives what a new question of the row's type has: a new
// question's text, no right choice, the generic message 1, 0 points, its
// columns, no more choices (« Vrai » and « Faux » for a true/false question
// without any), no attached file. Keywords start with "#": « #vide » is an
// empty text where an empty cell would mean something else, « #générique N »
// a generic message.
// A cell that starts with an apostrophe holds exactly the text after it: the
// writer puts one before a text that starts with "#", an apostrophe, or what
// a spreadsheet program takes for a formula (=, +, -, @, a tab, a line break).
#pragma once

#include "exchange/ImportReport.h"
#include "model/QuestModel.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace tavimor {

// The largest file read; a bigger one is refused before it costs memory.
inline constexpr std::size_t kMaxSpreadsheetCsvBytes = std::size_t {16} << 20;

// The questions of the list as the spreadsheet's text.
std::string SpreadsheetCsvText(const TQuestList& quests);

// Each row becomes a question, or a note naming its line and why it did not
// come in (unknown type, a number that is not one or out of range, an
// unknown keyword, a gap in the choices, text in a column without a name).
// A cloze text without its marker gets it at its end, with a note. Throws
// ImportError (French, ending "Rien n'a été importé.") when the file is too
// big, not UTF-8 (naming the line), empty, its header is not the one of a
// question bank (naming the columns expected), a quote is left open (the
// text after it cannot be told apart), or it holds more rows than a quiz has
// questions.
TImportedBank ReadSpreadsheetCsv(std::string_view bytes);

} // namespace tavimor
