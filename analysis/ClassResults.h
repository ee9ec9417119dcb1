// A class's results gathered from the students' records: each record
// checked against the document it claims to answer, copies counted once,
// one attempt kept per student, the marks computed again from the document.
// Used by `tavimor-cli results` and the editor's class results window.
#pragma once

#include "analysis/MarksTable.h"
#include "analysis/ResultsRecord.h"
#include "model/DocumentFile.h"

#include <string>
#include <vector>

namespace tavimor {

// The bytes of one file given to the reader, and its name as messages show
// it (Windows-1252).
struct TResultsSource {
    std::string Name;
    std::string Bytes;
};

enum class TAttemptChoice {
    First, // what the student knew: the attempt started first
    Last,
    Best, // the highest total; the first of those when several tie
};

struct TStudentResult {
    std::string Student;
    std::string File;
    std::vector<double> Marks; // per question, as a fraction of its maximum
    int Right = 0;
    double Total = 0;
    double RatePercent = 0; // 100 * Total / questions
    long long Seconds = 0; // from "Commencer" to the results
    int Attempts = 1; // this student's attempts among the records read
    TResultsRecord Record;
};

struct TRefusedFile {
    std::string File;
    std::string Reason; // French, Windows-1252
};

struct TClassResults {
    int QuestionCount = 0;
    bool Certainty = false;
    // One a student, in the order of their names.
    std::vector<TStudentResult> Students;
    // Records whose check value or marks do not match: "modifié après coup".
    // Counted in Students only when asked for.
    std::vector<TStudentResult> Altered;
    std::vector<TRefusedFile> Refused;
    int Copies = 0; // records read more than once, counted once

    // Students' marks as the item analysis takes them.
    TMarksTable Marks() const;
};

struct TGatherOptions {
    TAttemptChoice Attempt = TAttemptChoice::First;
    bool IncludeAltered = false;
};

// Checks every record of the sources against doc, whose file is named
// documentStem (its name without folder nor extension).
TClassResults GatherResults(const TQuizDocument& doc, const std::string& documentStem,
    const std::vector<TResultsSource>& sources, const TGatherOptions& options);

} // namespace tavimor
