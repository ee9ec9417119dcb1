// The quiz as an AMC-TXT file, the plain-text questionnaire from which the
// answer-sheet scanner package (Debian's auto-multiple-choice) prints answer
// sheets, reads their scans and writes the marks.
//
// Every question with a right choice and at least two choices becomes a
// single-answer question ("*"), its right choice "+", the others "-"; a cloze
// question's text holds a blank where its list stands. Texts lose their
// markup (the scanner's questionnaire is plain text, set by LaTeX); a
// question that cannot be marked is left out, with a note.
#pragma once

#include "exchange/PlatformQuestion.h"
#include "generator/ExamVersions.h"
#include "model/DocumentFile.h"

#include <string>

namespace tavimor {

// The AMC-TXT text of the document's questions. With a version, its order
// and its choices' order, which the scanner then keeps (no shuffling of its
// own), so that the answer sheets match the version's key; without one the
// scanner shuffles the questions and the choices of each copy itself.
TPlatformExport AmcText(const TQuizDocument& doc, const TExamVersion* version = nullptr);

// The scanner's name of the document's question number ("Q005"), which
// heads its column in the scanner's marks export; the marks table that
// tavimor-cli stats reads takes such columns as the document's questions.
std::string AmcQuestionId(int number);

// One question as read back from an AMC-TXT text, for checks.
struct TAmcQuestion {
    std::string Id; // "Q005"
    std::string Text; // UTF-8
    std::vector<std::string> Choices;
    std::vector<bool> Right;
};

// The general options ("Title" -> value) and questions of an AMC-TXT text
// (the subset AmcText writes): what the scanner would read.
struct TAmcContent {
    std::vector<std::pair<std::string, std::string>> Options;
    std::vector<TAmcQuestion> Questions;
};
TAmcContent ReadAmcText(std::string_view text);

} // namespace tavimor
