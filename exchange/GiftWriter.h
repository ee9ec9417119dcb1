// The quiz as a GIFT file, the plain-text question format that learning
// platforms import into their question banks. UTF-8 without byte-order mark,
// CR LF line ends, one question per paragraph, in a category named after the
// quiz.
//
// Standard questions are multiple choice with the right choice marked "=",
// true/false questions whose choices are "Vrai" and "Faux" are {T} or {F},
// cloze questions take the missing-word form (the answers stand where the
// marker was). Every answer carries, after "#", the message the site shows
// for it: the right-answer feedback on the right choice, the wrong-answer
// feedback on the others. A question whose texts hold markup is marked
// [html]. A question without choices is written as a description.
#pragma once

#include "exchange/PlatformQuestion.h"
#include "model/DocumentFile.h"

#include <string>
#include <string_view>

namespace tavimor {

// utf8 with every GIFT control character escaped with a backslash
// (~ = # { } : and the backslash itself) and each line break (CR LF, CR or
// LF) written as the escape \n, so that the text stays on one line.
std::string GiftEscape(std::string_view utf8);

// The GIFT text of the quiz; quizName (UTF-8) names the category.
TPlatformExport GiftText(const TQuizDocument& doc, const std::string& quizName);

// Writes GiftText to path without ever leaving a damaged file there.
TPlatformExport ExportGiftFile(const TQuizDocument& doc, const std::string& quizName, const std::string& path);

} // namespace tavimor
