// A results record line as the self-contained quiz writes it, made from the
// answers given: marks, totals and check value as the page computes them.
#pragma once

#include "analysis/ResultsRecord.h"
#include "generator/QuizKey.h"
#include "model/DocumentFile.h"

#include <optional>
#include <string>
#include <vector>

namespace tavimor::test {

struct Given {
    std::optional<int> choice;
    bool certain = false;
};

// The record line a student's page writes, made here as the page makes it:
// marks, totals and check value from the answers given.
inline std::string RecordLine(const TQuizDocument& doc, const std::string& student, const std::vector<Given>& given,
    const std::string& started = "2026-12-08T14:32:05+01:00", const std::string& finished = "2026-12-08T14:41:47+01:00",
    const std::string& key = "")
{
    const bool certainty = doc.Header.UseCertainty;
    std::string answers;
    int right = 0;
    int points = 0;
    for (std::size_t i = 0; i < given.size(); ++i) {
        // Answers past the document's questions (a record made by hand) are wrong.
        const bool isRight = given[i].choice && static_cast<int>(i) < doc.Quests.Count()
            && *given[i].choice == doc.Quests.Quest(static_cast<int>(i) + 1).GoodRep;
        const int twentieths = !given[i].choice ? 0
            : !certainty                        ? (isRight ? 20 : 0)
            : isRight                           ? (given[i].certain ? 20 : 11)
                                                : (given[i].certain ? 0 : 9);
        right += isRight ? 1 : 0;
        points += twentieths;
        const std::string mark = twentieths == 20 ? "1" : twentieths == 11 ? "0.55" : twentieths == 9 ? "0.45" : "0";
        answers += std::string(i ? "," : "") + "{\"question\":" + std::to_string(i + 1)
            + ",\"choice\":" + (given[i].choice ? std::to_string(*given[i].choice) : "null")
            + ",\"certain\":" + (certainty ? (given[i].certain ? "true" : "false") : "null")
            + ",\"right\":" + (isRight ? "true" : "false") + ",\"mark\":" + mark + "}";
    }
    const int n = static_cast<int>(given.size());
    const int score = (right * 200 + n) / (2 * n);
    const int weighted = (points * 10 + n) / (2 * n);
    std::string line = "{\"format\":\"tavimor-results\",\"version\":1,\"quiz\":{\"title\":\"G\\u00e9o\\u0020test\","
                       "\"file\":\"geo\",\"key\":\""
        + (key.empty() ? QuizKey(doc.Quests, certainty) : key) + "\",\"questions\":" + std::to_string(n)
        + ",\"certainty\":" + (certainty ? "true" : "false") + "},\"student\":\"" + student + "\",\"started\":\""
        + started + "\",\"finished\":\"" + finished + "\",\"answers\":[" + answers + "],\"totals\":{\"right\":"
        + std::to_string(right) + ",\"questions\":" + std::to_string(n) + ",\"score_percent\":" + std::to_string(score)
        + ",\"weighted_percent\":" + (certainty ? std::to_string(weighted) : "null") + "},\"check\":\"\"}";
    const std::string check = RecordCheckValue(line);
    line.insert(line.size() - 2, check);
    return line;
}

} // namespace tavimor::test
