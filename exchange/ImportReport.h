// What an import of another program's question bank brings: the questions a
// quiz can hold, and the report of everything in the source that did not come
// in as written. Every reader (GIFT, Moodle XML, Aiken, spreadsheet) fills
// the same bank, so that the command line and the editor say the same thing.
//
// The rule every reader keeps: each question of the source is either in
// Quests, imported faithfully, or named by a note (its line, its first words,
// what was not carried over). One unreadable question is skipped with a
// note; a source is refused whole (ImportError) only when nothing in it can
// be read.
//
// Texts are the core's Windows-1252; a character outside it is written as an
// HTML character reference (Utf8ToCp1252Referencing), counted in References.
#pragma once

#include "base/Errors.h"
#include "model/QuestModel.h"

#include <string>
#include <string_view>
#include <vector>

namespace tavimor {

// A source that cannot be imported at all (not UTF-8 where UTF-8 is required,
// not XML, empty, or no question a quiz can hold). The message says why, in
// French, and ends saying that nothing was imported.
class ImportError : public Error {
public:
    using Error::Error;
};

// One question of the source that did not come in as written.
struct TImportNote {
    int Line = 0; // where the question starts in the source, from 1; 0 when unknown
    std::string Question; // its title or first words (FirstWords), Windows-1252; may be empty
    std::string What; // what was not carried over, in French, Windows-1252 ("crédit partiel ramené à 0")
    bool Skipped = false; // the question did not come in at all
};

// A picture the source carries inside it (a Moodle XML <file>). The texts of
// the questions show it as the image dialog does for a picture lying in the
// document's folder: PictureSource(Name).
struct TImportedPicture {
    std::string Name; // file name, unique within the bank, safe on every file system
    std::string Bytes;
};

struct TImportedBank {
    std::vector<TQuest> Quests;
    std::vector<TImportNote> Notes; // in the source's order
    std::vector<TImportedPicture> Pictures;
    int References = 0; // characters written as HTML character references
};

// The attribute value by which a question's text shows a picture of the
// document's folder from the produced pages: "../../" + name.
std::string PictureSource(std::string_view name);

// The picture tag an import writes for a picture of the document's folder:
// <IMG SRC="../../name" BORDER=0 ALT="alt">, alt escaped for an attribute.
std::string PictureTag(std::string_view name, std::string_view alt);

// The first words of a text that may hold markup (tags left out, blanks
// squeezed), cut after at most 60 characters with "...": how a report names a
// question without a title. Windows-1252 in and out.
std::string FirstWords(std::string_view text);

// A question without kind the quiz can hold, as a note: Skipped, with What
// "non importée : " + reason.
TImportNote SkippedQuestion(int line, std::string question, std::string_view reason);

// The document keeps one message for a wrong answer and one for a right
// answer; a source may give each answer its own feedback. The wrong side's
// message from the wrong answers' own feedback (HTML, Windows-1252): the
// feedback itself when every wrong answer has the same one; else one line per
// answer that has feedback, "« answer » : feedback", joined by "<BR>"; empty
// when none has any. *combined is set when lines were joined, so that the
// question gets a note (kCombinedFeedbackNote).
struct TAnswerFeedback {
    std::string Answer;
    std::string Feedback; // empty: none
};
std::string WrongSideMessage(const std::vector<TAnswerFeedback>& wrong, bool* combined = nullptr);
inline constexpr const char* kCombinedFeedbackNote
    = "les messages propres \xE0 chaque mauvaise r\xE9ponse sont r\xE9unis dans le message \xAB si faux \xBB";

// A side's message with the question's general feedback after it, on a line
// of its own; the general feedback alone when the side has none.
std::string WithGeneralFeedback(const std::string& side, const std::string& general);

// The report of an import, in French, Windows-1252, one line each:
//   "12 questions importées." or "12 questions importées, 3 non importées."
//   "  ligne 14, « What is 2+2? » : non importée : réponse courte"
//   "  ligne 20, « Bethlehem » : crédit partiel ramené à 0"
//   then the characters written as references, when there are some.
std::string ImportReportText(const TImportedBank& bank);

} // namespace tavimor
