// What a question of the quiz becomes on a learning platform, shared by the
// GIFT, Moodle XML and SCORM exports: its kind there, its right choice, the
// feedback the site shows, whether its texts hold markup, and the names of
// the files written beside the document.
#pragma once

#include "model/QuestModel.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavimor {

// An export's text and what the teacher should know about it (French,
// Windows-1252, one sentence per note: a question written as a description,
// a picture that was not found...).
struct TPlatformExport {
    std::string Text;
    std::vector<std::string> Notes;
    std::string Path; // the file written, when the export wrote one
};

// Writes the export's text to path and notes the path. Like the text export,
// a file the user edits or carries to another platform, possibly the only
// copy kept: synced.
TPlatformExport SaveExport(TPlatformExport exported, const std::string& path);

enum class TPlatformKind {
    MultipleChoice, // one right choice among the choices
    TrueFalse, // a true/false question whose choices are "Vrai" and "Faux"
    MissingWord, // a cloze question: the list stands where its marker is
    Description, // a question without choices: its text only
};

// True/false questions whose two choices are not "Vrai" and "Faux" (or that
// have no right choice) stay multiple choice; a cloze question that lost its
// marker does too, with its whole text.
TPlatformKind PlatformKind(const TQuest& quest);

// For a TrueFalse question: whether the right choice is "Vrai".
bool RightAnswerIsTrue(const TQuest& quest);

// The 0-based right choice, or nothing when none is marked (or the index
// names no choice).
std::optional<std::size_t> RightChoice(const TQuest& quest);

// Whether an HTML text holds a tag ("<b>", "</p>", "<!--") or a character
// reference ("&eacute;", "&#233;"); a lone "<" or "&" in prose does not count.
bool HoldsMarkup(std::string_view text);

// What an export writes between a cloze question's answers and the text
// after them: a blank, but nothing before punctuation (".", ",", ")"...) or
// a text that starts with its own blank, so that "{...}." stays together.
std::string_view ClozeRestSeparator(std::string_view rest);

// The quiz name of a document: its file name cut before the first point.
std::string QuizNameOf(const std::string& documentPath);

// A file beside the document named after the quiz: the document's folder,
// the quiz name, then suffix ("/a/quiz.v2.kwz", ".gift" -> "/a/quiz.gift").
std::string BesideDocument(const std::string& documentPath, const std::string& suffix);

} // namespace tavimor
