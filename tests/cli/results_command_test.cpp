// tavimor-cli results, run as the built program on a class's results files:
// what is counted, what is refused and why, and the marks table it writes,
// which stats reads back into the same item analysis.
#include "base/FileIo.h"
#include "cli_runner.h"
#include "common/results_record.h"
#include "model/sample_document.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>

namespace tavimor {
namespace {

using test::Given;
using test::RecordLine;
using testing::HasSubstr;

class ResultsCommand : public test::CliTest {
protected:
    void SetUp() override
    {
        doc_ = test::StartupDocument();
        doc_.Header.UseCertainty = true;
        test::Add(doc_, test::Question(TRepType::rKWZ, "Capitale ?", {"Paris", "Lyon"}, 0));
        test::Add(doc_, test::Question(TRepType::rTrue, "La Loire est en Espagne.", {"Vrai", "Faux"}, 1));
        SaveDocument(doc_, Path("geo.kwz"));
        std::filesystem::create_directories(Path("classe/.cache"));
    }

    TQuizDocument doc_;
};

TEST_F(ResultsCommand, CountsEachStudentOnceAndSaysWhatItLeftOut)
{
    const std::string anna = RecordLine(doc_, "Anna\\u0020L\\u00e9vy", {{0, true}, {1, true}});
    Write("classe/anna.json", anna + "\n");
    Write("classe/anna-copie.json", anna + "\n");
    Write("classe/bruno.eml",
        "Subject: resultats\r\n\r\nBonjour\r\n" + RecordLine(doc_, "Bruno", {{1, false}, {std::nullopt}}) + "\r\n");
    std::string edited = RecordLine(doc_, "Chlo\\u00e9", {{1, true}, {0, true}});
    edited.replace(edited.find("\"totals\":{\"right\":0"), 19, "\"totals\":{\"right\":2");
    Write("classe/chloe.json", edited);
    Write("classe/vide.json", "{\"format\":\"tavimor-results\",\"version\":1,\"quiz\":{");
    Write("classe/.cache/cachee.json", anna + "x"); // hidden folders are not read

    const test::CliRun run = Run({"results", Path("geo.kwz"), Path("classe"), "--json", "--csv", Path("notes.csv")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const nlohmann::ordered_json json = nlohmann::ordered_json::parse(run.out);
    std::vector<std::string> keys;
    for (const auto& item : json.items())
        keys.push_back(item.key());
    EXPECT_THAT(keys, testing::ElementsAre("students", "questions", "marks", "refused"));
    EXPECT_EQ(json["students"], 2);
    ASSERT_EQ(json["marks"].size(), 2u);
    EXPECT_EQ(json["marks"][0]["student"], "Anna L\xC3\xA9vy");
    EXPECT_EQ(json["marks"][0]["marks"], nlohmann::json::parse("[1, 1]"));
    EXPECT_EQ(json["marks"][0]["right"], 2);
    EXPECT_EQ(json["marks"][1]["student"], "Bruno");
    EXPECT_EQ(json["marks"][1]["marks"], nlohmann::json::parse("[0.45, 0]"));
    EXPECT_DOUBLE_EQ(json["marks"][1]["rate"].get<double>(), 22.5);
    ASSERT_EQ(json["refused"].size(), 2u);
    EXPECT_THAT(json["refused"][0]["file"].get<std::string>(), HasSubstr("vide.json"));
    EXPECT_THAT(json["refused"][0]["reason"].get<std::string>(), HasSubstr("endommag\xC3\xA9"));
    EXPECT_THAT(json["refused"][1]["file"].get<std::string>(), HasSubstr("chloe.json"));
    EXPECT_THAT(json["refused"][1]["reason"].get<std::string>(), HasSubstr("modifi\xC3\xA9 apr\xC3\xA8s coup"));

    // The marks table opens in a French spreadsheet, and stats reads it back.
    EXPECT_EQ(ReadWholeFile(Path("notes.csv")),
        "\xEF\xBB\xBF\xC3\x89l\xC3\xA8ve;Q1;Q2;Total;Taux\r\nAnna L\xC3\xA9vy;1;1;2;100\r\nBruno;0,45;0;0,45;22,5\r\n");
    const test::CliRun stats = Run({"stats", Path("notes.csv"), "--json"});
    ASSERT_EQ(stats.exitCode, 0) << stats.err;
    EXPECT_EQ(nlohmann::ordered_json::parse(stats.out)["questions"], json["questions"]);
}

TEST_F(ResultsCommand, PrintsAFrenchTableAndFailsWhenNothingCounts)
{
    Write("a.json",
        RecordLine(doc_, "Anna", {{0, true}, {0, false}}, "2026-12-08T14:00:00+01:00", "2026-12-08T14:12:30+01:00"));
    const test::CliRun run = Run({"results", Path("geo.kwz"), Path("a.json"), Path("absent.json")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_THAT(run.out, HasSubstr("1 \xC3\xA9l\xC3\xA8ve, 2 questions"));
    EXPECT_THAT(run.out, HasSubstr("\xC3\x89l\xC3\xA8ve  Bonnes r\xC3\xA9ponses  Taux pond\xC3\xA9r\xC3\xA9"));
    EXPECT_THAT(run.out, HasSubstr("Anna           1 sur 2        72,5 %  12 min 30 s"));
    EXPECT_THAT(run.out, HasSubstr("absent.json : le fichier est introuvable"));

    TQuizDocument other = doc_;
    other.Quests.Quest(2).GoodRep = 0;
    Write("old.json", RecordLine(other, "Anna", {{0, true}, {0, false}}));
    const test::CliRun none = Run({"results", Path("geo.kwz"), Path("old.json")});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_THAT(none.out, HasSubstr("une autre version de ce quiz"));
    EXPECT_THAT(none.err, HasSubstr("Aucun r\xC3\xA9sultat n'a pu \xC3\xAAtre compt\xC3\xA9"));

    EXPECT_EQ(Run({"results", Path("geo.kwz")}).exitCode, 1);
    EXPECT_EQ(Run({"results", Path("geo.kwz"), Path("a.json"), "--attempt", "meilleur"}).exitCode, 1);
}

TEST_F(ResultsCommand, WritesTheClassReportEvenWhenNothingCounts)
{
    Write("classe/a.json", RecordLine(doc_, "<b>Anna</b>", {{0, true}, {1, false}}) + "\n");
    const test::CliRun run = Run({"results", Path("geo.kwz"), Path("classe"), "--report", Path("rapport.html")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string report = ReadWholeFile(Path("rapport.html"));
    EXPECT_THAT(report, testing::StartsWith("<!DOCTYPE html>\n<html lang=\"fr\">"));
    EXPECT_THAT(report, HasSubstr("<th scope=\"row\">&lt;b&gt;Anna&lt;/b&gt;</th><td class=\"n\">2 sur 2</td>"));
    // Without a page title the quiz goes by the document's name.
    EXPECT_THAT(report, HasSubstr("<p class=\"quiz\">geo</p>"));

    // Nothing counted: the status says so, and the page says why.
    Write("seul.txt", "Rien ici.");
    const test::CliRun none = Run({"results", Path("geo.kwz"), Path("seul.txt"), "--report", Path("vide.html")});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_THAT(ReadWholeFile(Path("vide.html")), HasSubstr("seul.txt</td><td>aucun r\xC3\xA9sultat"));

    const test::CliRun nowhere
        = Run({"results", Path("geo.kwz"), Path("classe"), "--report", Path("absent/rapport.html")});
    EXPECT_EQ(nowhere.exitCode, 1);
    EXPECT_THAT(nowhere.err, HasSubstr("absent/rapport.html"));
    EXPECT_EQ(Run({"results", Path("geo.kwz"), Path("classe"), "--report"}).exitCode, 1);
}

} // namespace
} // namespace tavimor
