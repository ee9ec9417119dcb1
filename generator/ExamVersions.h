// Versions of the printed exam: the same questions in another order, the
// choices of each question in another order, made from a seed so that the
// same seed always gives the same versions. Each version keeps, for every
// question it prints, the question's number in the document and the
// document's choice indices in the order printed: what the key needs to line
// the marks of all versions up by the document's questions.
#pragma once

#include "model/DocumentFile.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tavimor {

inline constexpr int kMinExamVersions = 2;
inline constexpr int kMaxExamVersions = 26;

struct TExamVersionOptions {
    int Count = 2; // kMinExamVersions to kMaxExamVersions
    std::uint64_t Seed = 0;
    bool ShuffleQuestions = true;
    bool ShuffleChoices = true;
    bool Pdf = false; // each version's exam and key also as PDF files
};

struct TPrintedQuestion {
    int Original = 0; // the question's number in the document, from 1
    std::vector<int> Choices; // the document's choice indices, in the order printed
    std::optional<int> Right; // the printed position (from 0) of the right choice
};

struct TExamVersion {
    char Letter = 'A';
    std::vector<TPrintedQuestion> Questions; // in the order printed
};

// The versions of the document's questions. True/false questions keep
// "Vrai" before "Faux"; the choices of standard and cloze questions are
// shuffled. A version count out of range throws Error (French).
std::vector<TExamVersion> MakeExamVersions(const TQuestList& quests, const TExamVersionOptions& options);

// The document as a version prints it: its questions in the version's order,
// each with its choices in the printed order and its right choice following
// them. Everything else is the document's.
TQuizDocument VersionDocument(const TQuizDocument& doc, const TExamVersion& version);

// The key of all versions, one HTML page for the teacher: the seed that
// makes the versions again, then for each version the table from its
// question numbers to the document's, with the right choice's printed place
// and text, so that the marks of all versions line up by the document's
// questions. Windows-1252, as the other pages.
std::string ExamVersionsKeyPage(const TQuizDocument& doc, const std::vector<TExamVersion>& versions, std::uint64_t seed,
    const std::string& quizName);

// A seed chosen when the teacher gives none: different from one run to the next.
std::uint64_t FreshExamSeed();

} // namespace tavimor
