#include "analysis/ClassResults.h"

#include "generator/QuizKey.h"

#include <algorithm>
#include <map>
#include <set>
#include <string_view>
#include <utility>

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

// A letter of the code page in small letters, accented capitals included
// ("\xC9" gives "\xE9").
unsigned char SmallLetter(unsigned char c)
{
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return static_cast<unsigned char>(c + 0x20);
    switch (c) {
    case 0x8A: // S caron
    case 0x8C: // OE
    case 0x8E: // Z caron
        return static_cast<unsigned char>(c + 0x10);
    case 0x9F: // Y diaeresis
        return 0xFF;
    default:
        return c;
    }
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
            key += static_cast<char>(SmallLetter(static_cast<unsigned char>(c)));
        }
    }
    if (!key.empty() && key.back() == ' ')
        key.pop_back();
    return key;
}

// The order of names in a French list: accents and case set aside ("\xC9lodie"
// before "Emma", "Zo\xE9" after both).
std::string SortKey(const std::string& name)
{
    // The base letters of the code page's small letters from E0 to FF.
    static constexpr std::string_view kBases = "aaaaaaaceeeeiiiidnooooo/ouuuuyty";
    std::string key;
    for (const char c : StudentKey(name)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0xE0)
            key += byte == 0xE6 ? std::string("ae") : std::string(1, kBases[byte - 0xE0]);
        else if (byte == 0x9A || byte == 0x9E)
            key += byte == 0x9A ? 's' : 'z';
        else if (byte == 0x9C)
            key += "oe";
        else if (byte == 0xDF)
            key += "ss";
        else
            key += c;
    }
    return key;
}

// Why a record does not belong to the document, or nothing when it does.
std::string ForeignReason(const TResultsRecord& record, const std::string& documentStem, const std::string& documentKey)
{
    if (record.QuizKey == documentKey)
        return {};
    if (record.QuizFile == documentStem)
        return "ce r\xE9sultat r\xE9pond \xE0 une autre version de ce quiz (ses questions ou ses bonnes "
               "r\xE9ponses ont chang\xE9 depuis), ou \xE0 un autre quiz du m\xEAme nom";
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
        std::vector<std::string> problems;
        try {
            records = ReadResultsRecords(source.Bytes, &problems);
        } catch (const RecordError& e) {
            results.Refused.push_back({source.Name, e.what()});
            continue;
        }
        for (std::string& problem : problems)
            results.Refused.push_back({source.Name, std::move(problem)});
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
    std::stable_sort(results.Students.begin(), results.Students.end(), [](const auto& a, const auto& b) {
        return std::pair(SortKey(a.Student), a.Student) < std::pair(SortKey(b.Student), b.Student);
    });
    return results;
}

} // namespace tavimor
