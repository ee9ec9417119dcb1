// The results records that students' quiz pages write (the format is in
// docs/formats/results-record.md): found in a results file or in a saved
// e-mail, read, and their check value verified. Whether a record belongs to
// a document is ClassResults' business.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tavimor {

// Why a file holds no readable record: a French sentence (Windows-1252).
class RecordError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr int kResultsRecordVersion = 1;
// A file larger than this is refused unread: a class's results files are a
// few kilobytes each.
inline constexpr std::size_t kMaxResultsFileSize = 16u << 20;

struct TRecordAnswer {
    int Question = 0;
    std::optional<int> Choice; // from 0, in the document's order
    std::optional<bool> Certain; // none without the certainty option
    bool Right = false;
    double Mark = 0;
};

struct TResultsRecord {
    // Texts in the core's code page; characters it lacks as references.
    std::string QuizTitle;
    std::string QuizFile;
    std::string QuizKey;
    int QuestionCount = 0;
    bool Certainty = false;
    std::string Student;
    std::string Started; // ISO 8601 with the offset, as written
    std::string Finished;
    // Seconds since 1970 of Started and Finished, in UTC.
    long long StartedUtc = 0;
    long long FinishedUtc = 0;
    std::vector<TRecordAnswer> Answers;
    int Right = 0;
    int ScorePercent = 0;
    std::optional<int> WeightedPercent;
    // False when the check value does not match the line: changed after the
    // page wrote it.
    bool CheckMatches = false;
    // The record's line as found, which tells two copies of one record apart
    // from two records.
    std::string Line;
};

// The records in a file's bytes: a results file holds one; a saved e-mail one
// or more, maybe cut by quoted-printable soft line breaks. Throws RecordError
// when there is none or the file is too large. A record that is damaged, cut
// short or of a later version than this program reads throws too, unless
// lineProblems is given: its reason is then added there and the file's other
// records are still read (a mailbox saved whole holds many).
std::vector<TResultsRecord> ReadResultsRecords(
    std::string_view bytes, std::vector<std::string>* lineProblems = nullptr);

// The CRC-32 of the record line with its check value left empty, as the page
// computes it: eight lowercase hexadecimal digits.
std::string RecordCheckValue(std::string_view lineWithEmptyCheck);

// Seconds since 1970 in UTC of an ISO 8601 time to the second with "Z" or an
// offset ("2026-12-08T14:32:05+01:00"); nothing when it is not one.
std::optional<long long> ParseIsoTime(std::string_view text);

} // namespace tavimor
