// A class's marks: one row per student, one column per question, each mark
// the fraction of the question's maximum that the student obtained (0..1).
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

namespace tavimor {

class TMarksTable {
public:
    TMarksTable() = default;
    // questionNumbers: the number each column is known by (1 for "Q1"), one
    // a column, all distinct; std::invalid_argument otherwise.
    explicit TMarksTable(std::vector<int> questionNumbers);

    std::size_t StudentCount() const { return names_.size(); }
    std::size_t QuestionCount() const { return numbers_.size(); }
    const std::vector<int>& QuestionNumbers() const { return numbers_; }

    // The student's name, Windows-1252 as every text of the core.
    const std::string& StudentName(std::size_t student) const { return names_.at(student); }
    // The student's marks, one a question in column order.
    std::span<const double> StudentMarks(std::size_t student) const;
    double Mark(std::size_t student, std::size_t question) const;
    // The sum of the student's marks, 0..QuestionCount().
    double Total(std::size_t student) const;
    // Every student's mark for one question, in row order.
    std::vector<double> QuestionMarks(std::size_t question) const;

    // Adds a row. marks holds one value a question, each within 0..1;
    // std::invalid_argument otherwise, and the table is left as it was.
    void AddStudent(std::string name, std::span<const double> marks);
    void ReserveStudents(std::size_t students);

private:
    std::vector<int> numbers_;
    std::vector<std::string> names_;
    std::vector<double> marks_; // row after row
};

} // namespace tavimor
