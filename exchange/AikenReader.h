// Reads an Aiken file: the plain-text question bank of multiple-choice
// questions with one right answer, as learning platforms export it. Each
// question is its text, its choices labelled by capital letters in order,
// and the letter of the right one:
//
//   Quelle est la capitale de l'Italie ?
//   A. Milan
//   B) Rome
//   C. Turin
//   ANSWER: B
//
// What the reader takes, a little wider than the format's strict form:
// - UTF-8, with or without a byte-order mark; CR LF, LF or CR line ends.
//   Blanks at both ends of a line do not count.
// - The question text is one line or several lines in a row (joined by
//   "<BR>"). A blank line may stand between questions, between the text and
//   the choices, between choices and before the ANSWER line.
// - A choice line is a capital letter, "." or ")", then the choice's text on
//   the same line. After "." a blank must follow ("A.D. 1066" is text), after
//   ")" it may not ("A)Rome"). Only a line labelled A starts the choices: a
//   line of the text such as "I. Newton" or "B) ..." before any choice is text.
// - "ANSWER:" in any case, with blanks around the colon allowed, then one
//   letter (either case).
//
// Each question becomes a standard question (rKWZ) whose right choice is the
// letter's. Texts are plain: & < > are written as entities, as the pages
// show every text as HTML. A question that breaks these rules is skipped
// with a note (its first line, its first words, why): no choice, a single
// choice, an empty choice, letters out of order, a missing ANSWER line, an
// ANSWER that is not one letter or names no choice, choices without a text.
// A text line after the choices, or after a blank line that follows a text
// without choices, ends the question before it and starts the next.
#pragma once

#include "exchange/ImportReport.h"

#include <cstddef>
#include <string_view>

namespace tavimor {

// The largest file read; a bigger one is refused before it costs memory.
inline constexpr std::size_t kMaxAikenFileBytes = std::size_t {16} << 20;

// Throws ImportError (French, ending "Rien n'a été importé.") when the file is
// too big, not UTF-8 (naming the line), empty, or holds more questions than a
// quiz can. A file without any question that comes in gives a bank without
// questions, its notes saying why.
TImportedBank ReadAiken(std::string_view bytes);

} // namespace tavimor
