#include "analysis/ResultsRecord.h"

#include "base/Cp1252.h"

#include <nlohmann/json.hpp>
#include <zlib.h>

#include <array>
#include <cstdio>

namespace tavimor {
namespace {

using json = nlohmann::json;

constexpr std::string_view kMarker = "{\"format\":\"tavimor-results\"";
constexpr std::string_view kCheckMember = "\"check\":\"";
constexpr std::size_t kCheckDigits = 8;
// No quiz has more questions than a document can hold.
constexpr std::size_t kMaxQuestions = 65535;

std::string Hex8(unsigned long value)
{
    std::array<char, 9> text {};
    std::snprintf(text.data(), text.size(), "%08lx", value & 0xFFFFFFFFUL);
    return text.data();
}

// A quoted-printable body made whole again: soft line breaks ("=" at the end
// of a line) removed and "=XX" turned back into its byte.
std::string UndoQuotedPrintable(std::string_view text)
{
    const auto hex = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        return -1;
    };
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '=') {
            out += text[i];
            continue;
        }
        if (text.substr(i + 1, 2) == "\r\n") {
            i += 2;
        } else if (text.substr(i + 1, 1) == "\n") {
            i += 1;
        } else if (i + 2 < text.size() && hex(text[i + 1]) >= 0 && hex(text[i + 2]) >= 0) {
            out += static_cast<char>(hex(text[i + 1]) * 16 + hex(text[i + 2]));
            i += 2;
        } else {
            out += '=';
        }
    }
    return out;
}

std::vector<std::string_view> RecordLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    for (std::size_t at = text.find(kMarker); at != std::string_view::npos; at = text.find(kMarker, at + 1)) {
        std::size_t end = text.find_first_of("\r\n", at);
        if (end == std::string_view::npos)
            end = text.size();
        lines.push_back(text.substr(at, end - at));
    }
    return lines;
}

[[noreturn]] void Damaged()
{
    throw RecordError("le r\xE9sultat est endommag\xE9 ou incomplet (fichier tronqu\xE9 ou modifi\xE9 \xE0 la main)");
}

const json& Member(const json& object, const char* name)
{
    const auto found = object.find(name);
    if (found == object.end())
        Damaged();
    return *found;
}

std::string Text(const json& object, const char* name)
{
    const json& value = Member(object, name);
    if (!value.is_string())
        Damaged();
    return Utf8ToCp1252Referencing(value.get_ref<const std::string&>());
}

long long Integer(const json& object, const char* name, long long least, long long most)
{
    const json& value = Member(object, name);
    if (!value.is_number_integer())
        Damaged();
    const long long number = value.get<long long>();
    if (number < least || number > most)
        Damaged();
    return number;
}

bool Boolean(const json& value)
{
    if (!value.is_boolean())
        Damaged();
    return value.get<bool>();
}

long long Time(const json& object, const char* name, std::string& text)
{
    text = Text(object, name);
    const std::optional<long long> utc = ParseIsoTime(text);
    if (!utc)
        Damaged();
    return *utc;
}

TRecordAnswer AnswerOf(const json& item, std::size_t index)
{
    if (!item.is_object())
        Damaged();
    TRecordAnswer answer;
    answer.Question = static_cast<int>(Integer(item, "question", 1, kMaxQuestions));
    if (answer.Question != static_cast<int>(index) + 1)
        Damaged();
    const json& choice = Member(item, "choice");
    if (!choice.is_null())
        answer.Choice = static_cast<int>(Integer(item, "choice", 0, kMaxQuestions));
    const json& certain = Member(item, "certain");
    if (!certain.is_null())
        answer.Certain = Boolean(certain);
    answer.Right = Boolean(Member(item, "right"));
    const json& mark = Member(item, "mark");
    if (!mark.is_number())
        Damaged();
    answer.Mark = mark.get<double>();
    return answer;
}

TResultsRecord ReadRecord(std::string_view line)
{
    json record = json::parse(line.begin(), line.end(), nullptr, false);
    if (record.is_discarded() || !record.is_object())
        Damaged();
    const long long version = Integer(record, "version", 1, 1LL << 40);
    if (version > kResultsRecordVersion)
        throw RecordError("ce r\xE9sultat vient d'une version plus r\xE9"
                          "cente de Tavimor (format "
            + std::to_string(version) + ") : mettez Tavimor \xE0 jour pour le lire");
    TResultsRecord out;
    out.Line = std::string(line);
    const json& quiz = Member(record, "quiz");
    if (!quiz.is_object())
        Damaged();
    out.QuizTitle = Text(quiz, "title");
    out.QuizFile = Text(quiz, "file");
    out.QuizKey = Text(quiz, "key");
    out.QuestionCount = static_cast<int>(Integer(quiz, "questions", 1, kMaxQuestions));
    out.Certainty = Boolean(Member(quiz, "certainty"));
    out.Student = Text(record, "student");
    out.StartedUtc = Time(record, "started", out.Started);
    out.FinishedUtc = Time(record, "finished", out.Finished);
    const json& answers = Member(record, "answers");
    if (!answers.is_array() || answers.size() != static_cast<std::size_t>(out.QuestionCount))
        Damaged();
    out.Answers.reserve(answers.size());
    for (std::size_t i = 0; i < answers.size(); ++i)
        out.Answers.push_back(AnswerOf(answers[i], i));
    const json& totals = Member(record, "totals");
    if (!totals.is_object())
        Damaged();
    out.Right = static_cast<int>(Integer(totals, "right", 0, out.QuestionCount));
    if (Integer(totals, "questions", 1, kMaxQuestions) != out.QuestionCount)
        Damaged();
    out.ScorePercent = static_cast<int>(Integer(totals, "score_percent", 0, 100));
    if (!Member(totals, "weighted_percent").is_null())
        out.WeightedPercent = static_cast<int>(Integer(totals, "weighted_percent", 0, 100));

    // The check value closes the line: "check":"xxxxxxxx"}
    const std::size_t tail = kCheckMember.size() + kCheckDigits + 2;
    if (line.size() < tail || line.substr(line.size() - tail, kCheckMember.size()) != kCheckMember
        || line.substr(line.size() - 2) != "\"}")
        Damaged();
    const std::string_view written = line.substr(line.size() - kCheckDigits - 2, kCheckDigits);
    if (Text(record, "check") != written)
        Damaged();
    std::string unchecked(line.substr(0, line.size() - kCheckDigits - 2));
    unchecked += "\"}";
    out.CheckMatches = RecordCheckValue(unchecked) == written;
    return out;
}

int Digits(std::string_view text, std::size_t at, std::size_t count)
{
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
long long DaysFromCivil(int year, int month, int day)
{
    year -= month <= 2 ? 1 : 0;
    const int era = (year >= 0 ? year : year - 399) / 400;
    const int yearOfEra = year - era * 400;
    const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return static_cast<long long>(era) * 146097 + dayOfEra - 719468;
}

} // namespace

std::string RecordCheckValue(std::string_view lineWithEmptyCheck)
{
    unsigned long crc = crc32(0L, Z_NULL, 0);
    std::string_view rest = lineWithEmptyCheck;
    while (!rest.empty()) {
        const auto size = static_cast<uInt>(std::min<std::size_t>(rest.size(), 1u << 30));
        crc = crc32(crc, reinterpret_cast<const Bytef*>(rest.data()), size);
        rest.remove_prefix(size);
    }
    return Hex8(crc);
}

std::optional<long long> ParseIsoTime(std::string_view text)
{
    // YYYY-MM-DDTHH:MM:SS then Z or +HH:MM / -HH:MM
    if (text.size() != 20 && text.size() != 25)
        return std::nullopt;
    if (text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' || text[16] != ':')
        return std::nullopt;
    const int year = Digits(text, 0, 4), month = Digits(text, 5, 2), day = Digits(text, 8, 2);
    const int hour = Digits(text, 11, 2), minute = Digits(text, 14, 2), second = Digits(text, 17, 2);
    if (year < 0 || month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 || hour > 23 || minute < 0 || minute > 59
        || second < 0 || second > 60)
        return std::nullopt;
    int offset = 0;
    if (text.size() == 20) {
        if (text[19] != 'Z')
            return std::nullopt;
    } else {
        const int offsetHours = Digits(text, 20, 2), offsetMinutes = Digits(text, 23, 2);
        if ((text[19] != '+' && text[19] != '-') || text[22] != ':' || offsetHours < 0 || offsetHours > 23
            || offsetMinutes < 0 || offsetMinutes > 59)
            return std::nullopt;
        offset = (offsetHours * 60 + offsetMinutes) * 60 * (text[19] == '-' ? -1 : 1);
    }
    return DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second - offset;
}

std::vector<TResultsRecord> ReadResultsRecords(std::string_view bytes, std::vector<std::string>* lineProblems)
{
    if (bytes.size() > kMaxResultsFileSize)
        throw RecordError(
            "le fichier est trop grand pour \xEAtre un r\xE9sultat (" + std::to_string(bytes.size() >> 20) + " Mo)");
    std::vector<std::string_view> lines = RecordLines(bytes);
    std::string unfolded;
    if (lines.empty() || bytes.find("=\n") != std::string_view::npos || bytes.find("=\r\n") != std::string_view::npos) {
        // A saved e-mail may hold the record quoted-printable, cut in lines.
        unfolded = UndoQuotedPrintable(bytes);
        if (unfolded.size() != bytes.size())
            lines = RecordLines(unfolded);
    }
    if (lines.empty())
        throw RecordError("aucun r\xE9sultat de quiz Tavimor dans ce fichier");
    std::vector<TResultsRecord> records;
    records.reserve(lines.size());
    for (const std::string_view line : lines) {
        if (!lineProblems) {
            records.push_back(ReadRecord(line));
            continue;
        }
        try {
            records.push_back(ReadRecord(line));
        } catch (const RecordError& e) {
            lineProblems->push_back(e.what());
        }
    }
    return records;
}

} // namespace tavimor
