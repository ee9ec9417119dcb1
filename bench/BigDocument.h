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

} // namespace tavimor::bench
