#include "analysis/ClassResults.h"

#include "generator/QuizKey.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

namespace tavimor {
namespace {

constexpr std::uint16_t kNoRightChoice = 65535;

// The certainty marks of the site, in twentieths.
constexpr int kRightCertain = 20;
constexpr int kRightUncertain = 11;
constexpr int kWrongUncertain = 9;

// A question's mark for an answer, from the document.
double MarkOf(bool certaintyOption, bool answered, bool right, bool certain)
{
    if (!answered)
        return 0;
    if (!certaintyOption)
        return right ? 1 : 0;
    if (right)
        return (certain ? kRightCertain : kRightUncertain) / 20.0;
    return certain ? 0 : kWrongUncertain / 20.0;
}

// Students are told apart by their names without regard to case or to the
// number of blanks between words.
std::string StudentKey(const std::string& name)
{
    std::string key;
    for (const char c : name) {
        if (static_cast<unsigned char>(c) <= ' ') {
            if (!key.empty() && key.back() != ' ')
                key += ' ';
        } else {
            key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
    }
    if (!key.empty() && key.back() == ' ')
        key.pop_back();
    return key;
}

// Why a record does not belong to the document, or nothing when it does.
std::string ForeignReason(const TResultsRecord& record, const std::string& documentStem, const std::string& documentKey)
{
    if (record.QuizKey == documentKey)
        return {};
    if (record.QuizFile == documentStem)
        return "ce r\xE9sultat r\xE9pond \xE0 une autre version de ce quiz (ses questions ou ses bonnes "
               "r\xE9ponses ont chang\xE9 depuis)";
    return "ce r\xE9sultat r\xE9pond \xE0 un autre quiz (\xAB " + record.QuizFile + " \xBB)";
}

// The student's result marked again from the document; false when what the
// record says of an answer or of the totals differs.
bool Mark(const TResultsRecord& record, const TQuizDocument& doc, TStudentResult& result)
{
    const TQuestList& quests = doc.Quests;
    const bool certainty = doc.Header.UseCertainty;
    bool agrees = record.Certainty == certainty;
    int points = 0;
    result.Marks.reserve(record.Answers.size());
    for (std::size_t i = 0; i < record.Answers.size(); ++i) {
        const TRecordAnswer& answer = record.Answers[i];
        const int n = static_cast<int>(i) + 1;
        const std::uint16_t good = quests.GetGoodRep(n);
        const bool answered = answer.Choice.has_value();
        const bool right = answered && good != kNoRightChoice && *answer.Choice == good;
        const bool certain = answer.Certain.value_or(false);
        const double mark = MarkOf(certainty, answered, right, certain);
        agrees = agrees && answer.Right == right && answer.Mark == mark && answer.Certain.has_value() == certainty
            && (!answered || *answer.Choice < static_cast<int>(quests.Quest(n).Reps.size()));
        result.Marks.push_back(mark);
        result.Total += mark;
        result.Right += right ? 1 : 0;
        points += static_cast<int>(mark * 20 + 0.5);
    }
    const int count = static_cast<int>(record.Answers.size());
    result.RatePercent = count > 0 ? 100.0 * result.Total / count : 0;
    const int scorePercent = count > 0 ? (result.Right * 200 + count) / (2 * count) : 0;
    const int weightedPercent = count > 0 ? (points * 10 + count) / (2 * count) : 0;
    agrees = agrees && record.Right == result.Right && record.ScorePercent == scorePercent
        && record.WeightedPercent.has_value() == certainty
        && (!certainty || *record.WeightedPercent == weightedPercent);
    return agrees;
}

bool Before(const TStudentResult& a, const TStudentResult& b)
{
    return a.Record.StartedUtc < b.Record.StartedUtc;
}

const TStudentResult& Chosen(const std::vector<TStudentResult>& attempts, TAttemptChoice choice)
{
    switch (choice) {
    case TAttemptChoice::Last:
        return *std::max_element(attempts.begin(), attempts.end(), Before);
    case TAttemptChoice::Best:
        return *std::min_element(attempts.begin(), attempts.end(),
            [](const auto& a, const auto& b) { return a.Total != b.Total ? a.Total > b.Total : Before(a, b); });
    case TAttemptChoice::First:
        break;
    }
    return *std::min_element(attempts.begin(), attempts.end(), Before);
}

} // namespace

TMarksTable TClassResults::Marks() const
{
    std::vector<int> numbers;
    for (int n = 1; n <= QuestionCount; ++n)
        numbers.push_back(n);
    TMarksTable table(std::move(numbers));
    table.ReserveStudents(Students.size());
    for (const TStudentResult& student : Students)
        table.AddStudent(student.Student, student.Marks);
    return table;
}

TClassResults GatherResults(const TQuizDocument& doc, const std::string& documentStem,
    const std::vector<TResultsSource>& sources, const TGatherOptions& options)
{
    TClassResults results;
    results.QuestionCount = doc.Quests.Count();
    results.Certainty = doc.Header.UseCertainty;
    const std::string documentKey = QuizKey(doc.Quests, doc.Header.UseCertainty);

    std::set<std::string> seen; // record lines already counted
    std::map<std::string, std::vector<TStudentResult>> attempts; // by StudentKey
    for (const TResultsSource& source : sources) {
        std::vector<TResultsRecord> records;
        try {
            records = ReadResultsRecords(source.Bytes);
        } catch (const RecordError& e) {
            results.Refused.push_back({source.Name, e.what()});
            continue;
        }
        for (TResultsRecord& record : records) {
            if (!seen.insert(record.Line).second) {
                ++results.Copies;
                continue;
            }
            if (std::string reason = ForeignReason(record, documentStem, documentKey); !reason.empty()) {
                results.Refused.push_back({source.Name, std::move(reason)});
                continue;
            }
            // The key vouches for the questions; a record of the right key but
            // not of their number was made or cut by hand.
            if (record.QuestionCount != results.QuestionCount) {
                results.Refused.push_back({source.Name,
                    "le r\xE9sultat est endommag\xE9 : il ne compte pas autant de questions que le quiz"});
                continue;
            }
            TStudentResult result;
            result.File = source.Name;
            result.Student = record.Student;
            result.Seconds = std::max(0LL, record.FinishedUtc - record.StartedUtc);
            const bool agrees = Mark(record, doc, result) && record.CheckMatches;
            result.Record = std::move(record);
            if (!agrees) {
                results.Altered.push_back(result);
                if (!options.IncludeAltered)
                    continue;
            }
            attempts[StudentKey(result.Student)].push_back(std::move(result));
        }
    }
    for (auto& [key, tries] : attempts) {
        TStudentResult chosen = Chosen(tries, options.Attempt);
        chosen.Attempts = static_cast<int>(tries.size());
        results.Students.push_back(std::move(chosen));
    }
    return results;
}

} // namespace tavimor
