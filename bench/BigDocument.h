// Large quiz documents for the benchmarks.
#pragma once

#include "model/DocumentFile.h"

namespace tavimor::bench {

// A start-up document holding questionCount questions, as a teacher's big
// question bank would: every question has six choices with accented text and
// its own feedback for a wrong and for a right answer, every fourth question
// is a cloze text, and every tenth carries an attached-file link.
TQuizDocument MakeBigDocument(int questionCount);

// The same document with the texts a teacher pastes from a word processor:
// each question text is a few paragraphs with style attributes and inline
// tags, each own feedback one such paragraph.
TQuizDocument MakeStyledDocument(int questionCount);

// A bank of short questions, as a teacher's quick checks: standard ones with
// four choices, true/false ones and cloze texts in turn, a sentence each,
// every third question with its own feedback and the others with the
// generic messages. Its site is mostly the fixed part of each record.
TQuizDocument MakeShortDocument(int questionCount);

} // namespace tavimor::bench
