// Students' results records read back and checked against their quiz: what
// counts, what is refused with its reason, what is set apart as altered, and
// which attempt of a student counts.
#include "analysis/ClassResults.h"

#include "common/results_record.h"
#include "generator/QuizKey.h"
#include "model/sample_document.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>

namespace tavimor {
namespace {

using test::Add;
using test::Given;
using test::Question;
using test::RecordLine;
using testing::HasSubstr;

// A quiz of three questions, right choices 0, 1 and (cloze) 2.
TQuizDocument Quiz(bool certainty)
{
    TQuizDocument doc = test::StartupDocument();
    doc.Header.UseCertainty = certainty;
    Add(doc, Question(TRepType::rKWZ, "Capitale ?", {"Paris", "Lyon", "Nice"}, 0));
    Add(doc, Question(TRepType::rTrue, "La Loire est en Espagne.", {"Vrai", "Faux"}, 1));
    Add(doc, Question(TRepType::rOList, "Le <option> est haut.", {"Puy", "Jura", "mont Blanc"}, 2));
    return doc;
}

TClassResults Gather(const TQuizDocument& doc, const std::vector<TResultsSource>& sources, TGatherOptions options = {})
{
    return GatherResults(doc, "geo", sources, options);
}

TEST(ResultsRecords, AreReadFromAFileOrASavedEmailAndMarkedAgainFromTheDocument)
{
    const TQuizDocument doc = Quiz(true);
    const std::string line = RecordLine(doc, "Marie\\u0020Dupont", {{0, true}, {0, false}, {std::nullopt}});
    // The e-mail as a mail program saves it: quoted-printable, cut every 76 characters.
    std::string email = "Subject: R=C3=A9sultats\r\nContent-Transfer-Encoding: quoted-printable\r\n\r\n"
                        "Bonjour,=0D=0Avoici mes r=C3=A9sultats.\r\n";
    for (std::size_t at = 0; at < line.size(); at += 75)
        email += line.substr(at, 75) + (at + 75 < line.size() ? "=\r\n" : "\r\n");
    const TQuizDocument other = Quiz(true);
    const std::string line2 = RecordLine(other, "Paul", {{0, false}, {1, true}, {2, true}});

    const TClassResults results = Gather(doc, {{"marie.json", line + "\n"}, {"paul.eml", email + line2 + "\r\n"}});
    EXPECT_TRUE(results.Refused.empty()) << results.Refused[0].Reason;
    EXPECT_TRUE(results.Altered.empty());
    EXPECT_EQ(results.Copies, 1); // Marie's record came twice: in her file and in Paul's message
    ASSERT_EQ(results.Students.size(), 2u);
    const TStudentResult& marie = results.Students[0];
    EXPECT_EQ(marie.Student, "Marie Dupont");
    EXPECT_EQ(marie.Record.QuizTitle, "G\xE9o test");
    EXPECT_THAT(marie.Marks, testing::ElementsAre(1.0, 0.45, 0.0));
    EXPECT_EQ(marie.Right, 1);
    EXPECT_DOUBLE_EQ(marie.RatePercent, 100 * 1.45 / 3);
    EXPECT_EQ(marie.Seconds, 9 * 60 + 42);
    EXPECT_THAT(results.Students[1].Marks, testing::ElementsAre(0.55, 1.0, 1.0));

    const TMarksTable table = results.Marks();
    ASSERT_EQ(table.StudentCount(), 2u);
    EXPECT_EQ(table.QuestionNumbers(), (std::vector<int> {1, 2, 3}));
}

TEST(ResultsRecords, RefusesWhatCannotCountAndSaysWhy)
{
    const TQuizDocument doc = Quiz(false);
    const std::string good = RecordLine(doc, "Ana", {{0}, {1}, {2}});
    TQuizDocument changed = Quiz(false);
    changed.Quests.Quest(2).GoodRep = 0;
    std::string other
        = RecordLine(doc, "Cy", {{0}, {1}, {2}}, "2026-12-08T14:32:05Z", "2026-12-08T14:33:05Z", "0123456789abcdef");
    other.replace(other.find("\"file\":\"geo\""), 12, "\"file\":\"histoire\"");
    std::string future = good;
    future.replace(future.find("\"version\":1"), 11, "\"version\":7");
    const TClassResults results = Gather(doc,
        {
            {"cut.json", good.substr(0, good.size() / 2)},
            {"old.json", RecordLine(changed, "Bob", {{0}, {1}, {2}})},
            {"other.json", other},
            {"future.json", future},
            {"notes.txt", "Rien \xE0 voir."},
            {"good.json", good},
        });
    std::vector<std::string> reasons;
    for (const TRefusedFile& refused : results.Refused)
        reasons.push_back(refused.File + ": " + refused.Reason);
    ASSERT_EQ(reasons.size(), 5u);
    EXPECT_THAT(reasons[0], HasSubstr("cut.json: le r\xE9sultat est endommag\xE9"));
    EXPECT_THAT(reasons[1], HasSubstr("old.json: ce r\xE9sultat r\xE9pond \xE0 une autre version de ce quiz"));
    EXPECT_THAT(reasons[2], HasSubstr("other.json: ce r\xE9sultat r\xE9pond \xE0 un autre quiz"));
    EXPECT_THAT(reasons[3],
        HasSubstr("future.json: ce r\xE9sultat vient d'une version plus r\xE9"
                  "cente"));
    EXPECT_THAT(reasons[4], HasSubstr("notes.txt: aucun r\xE9sultat"));
    ASSERT_EQ(results.Students.size(), 1u);
    EXPECT_EQ(results.Students[0].Student, "Ana");
}

// A record of the quiz's key whose answers were added or cut by hand is
// refused alone: it must not stop the class, nor count.
TEST(ResultsRecords, ARecordOfTheRightKeyButAnotherNumberOfQuestionsIsRefused)
{
    const TQuizDocument doc = Quiz(false);
    const std::string key = QuizKey(doc.Quests, false);
    const std::string longer
        = RecordLine(doc, "Ana", {{0}, {1}, {2}, {0}}, "2026-12-08T14:32:05Z", "2026-12-08T14:33:05Z", key);
    const std::string shorter = RecordLine(doc, "Bob", {{0}, {1}}, "2026-12-08T14:32:05Z", "2026-12-08T14:33:05Z", key);
    for (const bool includeAltered : {false, true}) {
        const TClassResults results = Gather(doc,
            {{"long.json", longer}, {"short.json", shorter}, {"ok.json", RecordLine(doc, "Cy", {{0}, {1}, {2}})}},
            {TAttemptChoice::First, includeAltered});
        ASSERT_EQ(results.Refused.size(), 2u);
        EXPECT_THAT(results.Refused[0].Reason, HasSubstr("autant de questions"));
        ASSERT_EQ(results.Students.size(), 1u);
        EXPECT_EQ(results.Marks().StudentCount(), 1u);
    }
}

TEST(ResultsRecords, AlteredRecordsAreSetApartUnlessAskedFor)
{
    const TQuizDocument doc = Quiz(false);
    // A mark raised by hand: the check value no longer matches.
    std::string edited = RecordLine(doc, "Eve", {{1}, {1}, {2}});
    edited.replace(edited.find("\"right\":false,\"mark\":0"), 22, "\"right\":true,\"mark\":1");
    // The same, with the check value computed again: the marks no longer
    // match the answers given.
    std::string recomputed = edited.substr(0, edited.size() - 10) + "\"}";
    recomputed.insert(recomputed.size() - 2, RecordCheckValue(recomputed));
    const std::vector<TResultsSource> sources {{"eve.json", edited}, {"eve2.json", recomputed}};

    const TClassResults left = Gather(doc, sources);
    EXPECT_TRUE(left.Students.empty());
    ASSERT_EQ(left.Altered.size(), 2u);
    EXPECT_FALSE(left.Altered[0].Record.CheckMatches);
    EXPECT_TRUE(left.Altered[1].Record.CheckMatches);
    // Counted as the document marks them when asked for.
    const TClassResults kept = Gather(doc, sources, {TAttemptChoice::First, true});
    ASSERT_EQ(kept.Students.size(), 1u);
    EXPECT_EQ(kept.Students[0].Attempts, 2);
    EXPECT_THAT(kept.Students[0].Marks, testing::ElementsAre(0.0, 1.0, 1.0));
}

TEST(ResultsRecords, OneAttemptCountsPerStudent)
{
    const TQuizDocument doc = Quiz(false);
    const std::vector<TResultsSource> sources {
        {"2.json",
            RecordLine(
                doc, "L\\u00e9a\\u0020Roy", {{0}, {1}, {0}}, "2026-12-08T10:00:00+01:00", "2026-12-08T10:05:00+01:00")},
        {"1.json",
            RecordLine(
                doc, "l\\u00e9a\\u0020\\u0020roy", {{1}, {0}, {0}}, "2026-12-08T08:30:00Z", "2026-12-08T08:40:00Z")},
        {"3.json",
            RecordLine(
                doc, "L\\u00e9a\\u0020Roy", {{0}, {0}, {0}}, "2026-12-08T11:00:00+01:00", "2026-12-08T11:05:00+01:00")},
    };
    const auto rightOf = [&](TAttemptChoice choice) {
        const TClassResults results = Gather(doc, sources, {choice, false});
        EXPECT_EQ(results.Students.size(), 1u);
        return results.Students.empty() ? -1 : results.Students[0].Right;
    };
    // 08:30 UTC is 09:30 in Paris: the second file is the first attempt.
    EXPECT_EQ(rightOf(TAttemptChoice::First), 0);
    EXPECT_EQ(rightOf(TAttemptChoice::Last), 1);
    EXPECT_EQ(rightOf(TAttemptChoice::Best), 2);
}

TEST(ResultsRecords, NamesMatchWhateverTheirCaseAndComeInFrenchOrder)
{
    const TQuizDocument doc = Quiz(false);
    const TClassResults results = Gather(doc,
        {
            {"1.json", RecordLine(doc, "Zo\\u00e9", {{0}, {1}, {2}})},
            {"2.json", RecordLine(doc, "\\u00c9LODIE\\u0020DUPR\\u00c9", {{0}, {1}, {2}})},
            {"3.json", RecordLine(doc, "Emma", {{0}, {1}, {2}})},
            {"4.json",
                RecordLine(doc, "\\u00e9lodie\\u0020\\u0020dupr\\u00e9", {{0}, {0}, {2}}, "2026-12-08T15:00:00Z",
                    "2026-12-08T15:05:00Z")},
        });
    std::vector<std::string> names;
    for (const TStudentResult& student : results.Students)
        names.push_back(student.Student + " x" + std::to_string(student.Attempts));
    EXPECT_THAT(names, testing::ElementsAre("\xC9LODIE DUPR\xC9 x2", "Emma x1", "Zo\xE9 x1"));
}

// A mailbox saved whole holds many records: a damaged one is refused alone.
TEST(ResultsRecords, OneDamagedRecordOfAMailboxLeavesTheOthersCounted)
{
    const TQuizDocument doc = Quiz(false);
    const std::string cut = RecordLine(doc, "Cy", {{0}, {1}, {2}});
    const std::string mailbox = "From a\n" + RecordLine(doc, "Ana", {{0}, {1}, {2}}) + "\nFrom b\n"
        + cut.substr(0, cut.size() / 2) + "\nFrom c\n" + RecordLine(doc, "Bob", {{1}, {1}, {2}}) + "\n";
    const TClassResults results = Gather(doc, {{"boite.mbox", mailbox}});
    EXPECT_EQ(results.Students.size(), 2u);
    ASSERT_EQ(results.Refused.size(), 1u);
    EXPECT_EQ(results.Refused[0].File, "boite.mbox");
    EXPECT_THAT(results.Refused[0].Reason, HasSubstr("endommag\xE9"));
}

TEST(ResultsRecords, TimesAreReadWithTheirOffsetOrNotAtAll)
{
    EXPECT_EQ(ParseIsoTime("1970-01-01T00:00:00Z"), 0);
    EXPECT_EQ(ParseIsoTime("2026-12-08T14:32:05+01:00"), ParseIsoTime("2026-12-08T13:32:05Z"));
    EXPECT_EQ(ParseIsoTime("2000-03-01T00:00:00-05:30"), 951868800 + 5 * 3600 + 1800);
    for (const char* bad : {"", "2026-12-08", "2026-12-08 14:32:05Z", "2026-13-08T14:32:05Z",
             "2026-12-08T14:32:05+1:00", "2026-12-08T24:00:00Z", "2026-12-08T14:32:05+01:0x"})
        EXPECT_FALSE(ParseIsoTime(bad)) << bad;
}

} // namespace
} // namespace tavimor
