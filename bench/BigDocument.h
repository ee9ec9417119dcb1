// Large quiz documents for the benchmarks.
#pragma once

#include "model/DocumentFile.h"

namespace tavimor::bench {

// A start-up document holding questionCount questions, as a teacher's big
// question bank would: every question has six choices with accented text and
// its own feedback for a wrong and for a right answer, every fourth question
// is a cloze text, and every tenth carries an attached-file link.
TQuizDocument MakeBigDocument(int questionCount);

} // namespace tavimor::bench
