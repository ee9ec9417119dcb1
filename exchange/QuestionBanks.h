// The question-bank formats the quiz imports, read from a file into the one
// bank every reader fills (ImportReport.h).
#pragma once

#include "exchange/ImportReport.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace tavimor {

enum class TBankFormat { Gift, MoodleXml, Aiken, Spreadsheet };

// The largest file an import reads: far beyond any real bank (ten thousand
// questions with their pictures), small enough that a hostile file cannot
// exhaust memory.
inline constexpr std::size_t kMaxBankFileBytes = std::size_t {64} << 20;

// The format's name in messages ("GIFT", "Moodle XML", "Aiken", "tableur").
const char* BankFormatName(TBankFormat format);

// Reads bytes in format. Throws ImportError when nothing in them can be read.
TImportedBank ReadQuestionBank(TBankFormat format, std::string_view bytes);

// The same for the file at path, refused whole (ImportError) beyond
// kMaxBankFileBytes; "Cannot open file %s" when it cannot be read.
TImportedBank ReadQuestionBankFile(TBankFormat format, const std::string& path);

// Writes the bank's pictures into folder (which ends with its separator),
// never over another file: a name already taken by other bytes gets "-2",
// "-3"... before its extension, and the questions' texts follow the new
// name. A picture already there with the same bytes is used as it is.
// "Cannot create file %s" style errors when one cannot be written.
void PlacePictures(TImportedBank& bank, const std::string& folder);

} // namespace tavimor
