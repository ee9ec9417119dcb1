// The marks table as a CSV file, both ways.
//
// Written: UTF-8 with a byte-order mark, ";" between fields, a decimal comma
// and CR LF line ends, as French spreadsheets open it with a double click.
// The header is "Élève;Q1;...;QN;Total;Taux"; then a row a student: the name,
// each mark as a fraction of its question's maximum, the total of the marks
// and the rate 100 * total / N in percent. Numbers carry at most four
// decimals, without trailing zeros. A name holding ";", a quote or a line
// break is quoted (RFC 4180).
//
// Read: any marks table, whether written as above, typed by hand for a paper
// exam or saved from a learning platform's grade export. UTF-8, with or
// without a byte-order mark; CR LF, LF or CR line ends; RFC 4180 quotes. The
// header line decides the rest: when it holds a ";" the fields are separated
// by ";" and a mark may use a decimal comma or point, otherwise by "," with
// a decimal point. Every column headed Q<number> ("Q3", "q12", blanks around
// allowed) is a question, the questions ordered by number; the name comes
// from the first column headed Élève, Eleve, Nom, Name or Student (any
// case), else is the row's number among the students. Other columns are
// ignored, and so are rows with nothing in them. An empty mark counts 0; a
// row may stop short of the header's last column, but a cell past it that
// is not empty is refused (a decimal comma in a file separated by commas).
#pragma once

#include "analysis/MarksTable.h"
#include "base/Errors.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace tavimor {

// A file that is not a marks table the reader takes; what() is the French
// message (Windows-1252), naming the line and column at fault when there is one.
class MarksTableError : public Error {
public:
    using Error::Error;
};

// What the reader takes at most: a bigger table is refused with a message
// before it takes memory or time in proportion.
inline constexpr std::size_t kMaxMarksFileBytes = std::size_t {64} << 20;
inline constexpr std::size_t kMaxMarksStudents = 100'000;
inline constexpr std::size_t kMaxMarksQuestions = 10'000;
// Students times questions, so that a file of empty cells (one byte each)
// cannot ask for eight bytes a cell of its 64 MB.
inline constexpr std::size_t kMaxMarks = 10'000'000;

std::string MarksTableCsv(const TMarksTable& table);
// Replaces the file at path with MarksTableCsv, atomically.
void WriteMarksTableCsv(const std::string& path, const TMarksTable& table);

// Throws MarksTableError when the bytes are not a marks table.
TMarksTable ReadMarksTable(std::string_view bytes);
// The same for the file at path; "Cannot open file %s" when it cannot be read.
TMarksTable ReadMarksTableFile(const std::string& path);

} // namespace tavimor
