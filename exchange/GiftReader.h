// Reads a GIFT file (UTF-8 question bank text) into quiz questions: multiple
// choice with one right answer, true/false, and the missing-word form, which
// becomes a cloze question. Every other question is skipped and listed in the
// bank's notes with its line and first words, as is every question that
// cannot be read as written; the rest of the file comes in.
//
// What a question keeps: its text (its title when it has no text), its
// choices, its right choice, and its feedback as own messages: the right
// answer's feedback for the right side; for the wrong side the wrong answers'
// feedback, one line per answer when they differ (WrongSideMessage); the
// general feedback ("####") after both. Partial-credit answers count as wrong
// and the question is listed; categories are listed, not kept.
//
// Texts become the core's Windows-1252; a character outside it is written as
// an HTML character reference ("&#8364;" style), which the produced pages
// show as the character. A text marked [plain] has & < > written as entities,
// since the site shows every text as HTML; [markdown] becomes HTML; other
// formats are kept as written.
#pragma once

#include "exchange/ImportReport.h"

#include <string_view>

namespace tavimor {

// A file that cannot be read at all: not UTF-8 (the message names the line).
class GiftError : public ImportError {
public:
    using ImportError::ImportError;
};

// Reads the whole file; a byte-order mark is ignored. Throws GiftError only
// for invalid UTF-8; a file without any question gives an empty bank.
TImportedBank ReadGift(std::string_view bytes);

} // namespace tavimor
