// tavimor-cli stats, run as the built program on marks tables: the
// platform's fixture turned into tables of either style and checked against
// the platform's figures, the French table and the JSON as printed, and the
// files and command lines it refuses.
#include "analysis/platform_fixture.h"
#include "cli_runner.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace tavimor {
namespace {

class StatsCommand : public test::CliTest {
protected:
    // The fixture's marks as a table with Q headers: with ";" between fields
    // and decimal commas (byte-order mark, CR LF, a name and a total column),
    // or with "," and decimal points (LF, quoted names holding a comma).
    std::string FixtureTable(const test::PlatformFixture& fixture, char separator) const
    {
        const bool french = separator == ';';
        const std::string lineEnd = french ? "\r\n" : "\n";
        std::string table = french ? "\xEF\xBB\xBF\xC3\x89l\xC3\xA8ve" : "Name";
        for (std::size_t slot = 1; slot <= fixture.expected.size(); ++slot)
            table += separator + std::string(french ? "Q" : "q") + std::to_string(slot);
        table += separator + std::string("Total") + lineEnd;
        for (std::size_t attempt = 0; attempt < fixture.marks.size(); ++attempt) {
            table += french ? "Tentative " + std::to_string(attempt + 1)
                            : "\"Attempt, " + std::to_string(attempt + 1) + "\"";
            for (std::string mark : fixture.marks[attempt]) {
                if (french && mark.find('.') != std::string::npos)
                    mark[mark.find('.')] = ',';
                table += separator + mark;
            }
            table += separator + std::string("?") + lineEnd;
        }
        return table;
    }
};

TEST_F(StatsCommand, JsonOfThePlatformFixtureInEitherStyle)
{
    const std::optional<test::PlatformFixture> fixture = test::LoadPlatformFixture();
    ASSERT_TRUE(fixture.has_value()) << test::MissingFixtureReason();
    std::vector<std::string> outputs;
    for (const char separator : {';', ','}) {
        SCOPED_TRACE(separator);
        const test::CliRun run = Run({"stats", Write("notes.csv", FixtureTable(*fixture, separator)), "--json"});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.err, "");
        outputs.push_back(run.out);

        const nlohmann::ordered_json json = nlohmann::ordered_json::parse(run.out);
        EXPECT_EQ(json["students"], fixture->marks.size());
        ASSERT_EQ(json["questions"].size(), fixture->expected.size());
        for (std::size_t slot = 0; slot < fixture->expected.size(); ++slot) {
            const nlohmann::ordered_json& question = json["questions"][slot];
            EXPECT_EQ(question["question"], slot + 1);
            for (const auto& [fixtureName, jsonKey] : test::FixtureToJsonKeys())
                test::ExpectAsPrinted(question[jsonKey].get<double>(), fixture->expected[slot].at(fixtureName),
                    "slot " + std::to_string(slot + 1) + " " + jsonKey);
        }
    }
    EXPECT_EQ(outputs[0], outputs[1]);
}

TEST_F(StatsCommand, JsonHasItsKeysInOrderAndNullWithoutAValue)
{
    const test::CliRun run = Run({"stats", "--json", Write("un.csv", "Q2;Q1\n0,5;1\n")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out,
        "{\"students\": 1, \"questions\": ["
        "{\"question\": 1, \"facility\": 1, \"sd\": null, \"discrimination_index\": null, "
        "\"discriminative_efficiency\": null, \"effective_weight\": null}, "
        "{\"question\": 2, \"facility\": 0.5, \"sd\": null, \"discrimination_index\": null, "
        "\"discriminative_efficiency\": null, \"effective_weight\": null}]}\n");

    // Full precision: the figures read back as the very doubles computed.
    const test::CliRun third = Run({"stats", "--json", Write("tiers.csv", "Q1;Q2\n1;0\n0;1\n0;0\n")});
    const nlohmann::json json = nlohmann::json::parse(third.out);
    EXPECT_EQ(json["questions"][0]["facility"].get<double>(), 1.0 / 3);
    EXPECT_EQ(json["questions"][0]["discrimination_index"].get<double>(), -50.0);
}

// Q1 = 1 1 0 0 and Q2 = 1 ½ ½ 0 (worked out in the analysis tests), and a
// Q3 everyone got: nothing to compare it with, and no share in the ranking.
TEST_F(StatsCommand, PrintsAFrenchTable)
{
    const test::CliRun run
        = Run({"stats", Write("main.csv", "Nom;Q1;Q2;Q3\nA;1;1;1\nB;1;0,5;1\nC;0;0,5;1\nD;0;0;1\n")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out,
        "4 élèves\n"
        "Question  Facilité  Écart-type  Indice de discrimination  Efficacité discriminante  Poids effectif\n"
        "Q1           0,500       0,577                    70,7 %                   100,0 %          55,1 %\n"
        "Q2           0,500       0,408                    70,7 %                   100,0 %          44,9 %\n"
        "Q3           1,000       0,000                         —                         —           0,0 %\n");

    const test::CliRun one = Run({"stats", Write("un.csv", "Q1;Nom\n0,25;Ana\n")});
    EXPECT_EQ(one.out.substr(0, one.out.find('\n')), "1 élève");
    EXPECT_NE(one.out.find("\nQ1           0,250           —"), std::string::npos) << one.out;
}

// The reader's refusals are tested in the core; here, how the program says them.
TEST_F(StatsCommand, RefusesATableOnStandardErrorInUtf8)
{
    const test::CliRun run = Run({"stats", Write("notes.csv", "Nom;Q1;Q2\nAna;1;0\nBob;1,5;0\n"), "--json"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "Ligne 3, colonne Q1 : « 1,5 » n'est pas une note entre 0 et 1.\n");

    const test::CliRun missing = Run({"stats", "absent.csv"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.err, "Cannot open file absent.csv\n");
}

TEST_F(StatsCommand, CommandLineMistakesAreUsageErrors)
{
    const std::string table = Write("notes.csv", "Q1\n1\n");
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const Case cases[] = {
        {{"stats"}, "tavimor-cli: stats needs a marks table (MARKS.csv)\nusage:\n"},
        {{"stats", "--json"}, "tavimor-cli: stats needs a marks table (MARKS.csv)\nusage:\n"},
        {{"stats", table, table}, "tavimor-cli: stats: unexpected argument '" + table + "'\nusage:\n"},
        {{"stats", table, "--csv"}, "tavimor-cli: stats: unexpected argument '--csv'\nusage:\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const test::CliRun run = Run(c.args);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.rfind(c.message, 0), 0u) << run.err;
    }
}

} // namespace
} // namespace tavimor
