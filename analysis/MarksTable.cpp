#include "analysis/MarksTable.h"

#include <algorithm>
#include <numeric>
#include <stdexcept>

namespace tavimor {

TMarksTable::TMarksTable(std::vector<int> questionNumbers)
    : numbers_(std::move(questionNumbers))
{
    std::vector<int> sorted = numbers_;
    std::sort(sorted.begin(), sorted.end());
    if (std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end())
        throw std::invalid_argument("two columns of a marks table have the same question number");
}

std::span<const double> TMarksTable::StudentMarks(std::size_t student) const
{
    if (student >= StudentCount())
        throw std::out_of_range("no such student in the marks table");
    return std::span<const double>(marks_).subspan(student * QuestionCount(), QuestionCount());
}

double TMarksTable::Mark(std::size_t student, std::size_t question) const
{
    if (question >= QuestionCount())
        throw std::out_of_range("no such question in the marks table");
    return StudentMarks(student)[question];
}

double TMarksTable::Total(std::size_t student) const
{
    const std::span<const double> marks = StudentMarks(student);
    return std::accumulate(marks.begin(), marks.end(), 0.0);
}

std::vector<double> TMarksTable::QuestionMarks(std::size_t question) const
{
    if (question >= QuestionCount())
        throw std::out_of_range("no such question in the marks table");
    std::vector<double> column;
    column.reserve(StudentCount());
    for (std::size_t at = question; at < marks_.size(); at += QuestionCount())
        column.push_back(marks_[at]);
    return column;
}

void TMarksTable::AddStudent(std::string name, std::span<const double> marks)
{
    if (marks.size() != QuestionCount())
        throw std::invalid_argument("a student's marks must hold one value a question");
    // Written so that NaN fails too.
    if (!std::all_of(marks.begin(), marks.end(), [](double mark) { return mark >= 0.0 && mark <= 1.0; }))
        throw std::invalid_argument("a mark is a fraction of the question's maximum, within 0..1");
    names_.push_back(std::move(name));
    try {
        marks_.insert(marks_.end(), marks.begin(), marks.end());
    } catch (...) {
        names_.pop_back();
        throw;
    }
}

void TMarksTable::ReserveStudents(std::size_t students)
{
    names_.reserve(students);
    marks_.reserve(students * QuestionCount());
}

} // namespace tavimor
