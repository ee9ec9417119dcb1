// The records of a CSV text, one field at a time: fields between
// separators, RFC 4180 quotes (a quoted field holds separators, line breaks
// and doubled quotes), records ended by CR LF, LF or CR.
//
// Written by hand: what the marks table and the question bank's spreadsheet
// need of CSV is small and particular. Their messages name the line each
// record starts on; the separator is chosen from the header line before any
// field is read; and a table may hold many columns the reader ignores, which
// should cost no copy and no memory. A reader that hands out each field as a
// view of the text does all three in a hundred lines.
#pragma once

#include "base/Errors.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tavimor {

// A quote left open at the end of the text: what() is the French message
// (Windows-1252) naming the line of the record it opens in.
class CsvQuoteError : public Error {
public:
    using Error::Error;
};

class CsvRecords {
public:
    CsvRecords(std::string_view text, char separator);

    // Moves to the next record, passing over what is left of the current
    // one; false once the text is used up.
    bool NextRecord();
    // The line the current record starts on, from 1.
    std::size_t Line() const { return recordLine_; }
    // The next field of the current record, quotes taken off; nothing after
    // its last field. The view lasts until the next call. A quote left open
    // at the end of the text throws CsvQuoteError naming the record's line.
    std::optional<std::string_view> NextField();

private:
    std::string_view QuotedField();
    std::string_view PlainField();
    // The position of the quote that closes the field at at_, counting the
    // line breaks before it.
    std::size_t ClosingQuote();
    bool FieldEndsAt(std::size_t at) const;
    // Passes over the separator or line break after a field.
    void EndField();

    std::string_view text_;
    char separator_;
    std::size_t at_ = 0;
    std::size_t line_ = 1; // the line of at_
    std::size_t recordLine_ = 0;
    bool fieldsLeft_ = false;
    std::string unquoted_; // a quoted field that is not a plain slice of the text
};

// The separator of a table: ";" when the first line that is not blank
// holds one outside quotes, else ",".
char HeaderSeparator(std::string_view text);

} // namespace tavimor
