// Reads a GIFT file (UTF-8 question bank text) into quiz questions: multiple
// choice with one right answer, true/false, and the missing-word form, which
// becomes a cloze question. Other kinds are skipped and listed by line.
//
// What a question keeps: its text (the title and the category are dropped),
// its choices, its right choice, and its feedback as own messages: the
// right answer's feedback for the right side, the first wrong answer's
// feedback that is not empty for the wrong side (true/false: the first and
// the second message after "#"). A side without feedback takes the general
// feedback ("####") when there is one, else stays generic as in a new
// question. Partial-credit wrong answers count as wrong.
//
// Texts become the core's Windows-1252; a character outside it is written as
// an HTML character reference ("&#8364;" style), which the produced pages
// show as the character. A text marked [plain] has & < > written as entities,
// since the site shows every text as HTML; other formats are kept as written.
#pragma once

#include "base/Errors.h"
#include "model/DocumentFile.h"

#include <string>
#include <string_view>
#include <vector>

namespace tavimor {

// A file that cannot be imported: invalid UTF-8 or a malformed question (the
// message names the line), or no question that the quiz can hold.
class GiftError : public Error {
public:
    using Error::Error;
};

struct TGiftSkipped {
    int Line = 0; // the question's first line, from 1
    std::string Kind; // French name of the GIFT kind, Windows-1252
};

struct TGiftContent {
    std::vector<TQuest> Quests;
    std::vector<TGiftSkipped> Skipped;
    int References = 0; // characters written as HTML character references
};

// Parses the whole file before anything is kept: a malformed question or
// invalid UTF-8 throws GiftError and nothing is returned. A byte-order mark
// is ignored.
TGiftContent ReadGift(std::string_view bytes);

// The one message about what did not come in as written: the skipped
// questions by line and kind, and the characters turned into references.
// Empty when there is nothing to say.
std::string GiftImportNotice(const TGiftContent& content);

// Appends the file's questions to doc (a new document in the editor's start-up
// state) and returns GiftImportNotice. Throws GiftError, leaving doc as it
// was, when the file is unreadable or holds no question the quiz can hold.
std::string ImportGift(TQuizDocument& doc, std::string_view bytes);

} // namespace tavimor
