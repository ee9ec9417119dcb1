// upgrade, to-json and from-json, run as the built program on files.
#include "base/FileIo.h"
#include "base/ValueStream.h"
#include "cli_runner.h"
#include "model/DocumentFile.h"
#include "model/sample_document.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>

namespace tavimor {
namespace {

namespace fs = std::filesystem;

class DocumentCommands : public test::CliTest { };

// "same" or where two files first differ, without printing whole documents.
std::string Compare(const std::string& actual, const std::string& expected)
{
    if (actual == expected)
        return "same";
    const auto [a, e] = std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
    const auto at = static_cast<std::size_t>(a - actual.begin());
    return "sizes " + std::to_string(actual.size()) + " and " + std::to_string(expected.size())
        + ", first difference at " + std::to_string(at) + ": \"" + actual.substr(at, 40) + "\" instead of \""
        + expected.substr(at, 40) + "\"";
}

// The document bytes with the three spare header strings replaced.
std::string WithSpareStrings(const std::string& bytes)
{
    TValueReader reader(bytes);
    reader.ReadInteger();
    for (int value = 2; value <= 15; ++value)
        (value == 11 || value == 13) ? (void)reader.ReadBoolean() : (void)reader.ReadString();
    const std::size_t spareStart = reader.Position();
    TValueWriter spare;
    spare.WriteString("x");
    spare.WriteString("reserve \xE9");
    spare.WriteString(std::string(300, 'z'));
    return bytes.substr(0, spareStart) + spare.Bytes() + bytes.substr(spareStart + 6);
}

TEST_F(DocumentCommands, UpgradeRewritesVersion5ByteForByte)
{
    const std::string written = DocumentBytes(test::RichDocument());
    const std::string in = Write("in.kwz", WithSpareStrings(written));
    const test::CliRun result = Run({"upgrade", in, Path("out.kwz")});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(Compare(ReadWholeFile(Path("out.kwz")), written), "same");
}

TEST_F(DocumentCommands, UpgradeOfVersion4AddsTheStartupStyleBlock)
{
    const std::string in = Write("v4.kwz", test::Version4File());
    ASSERT_EQ(Run({"upgrade", in, Path("v5.kwz")}).exitCode, 0);

    TQuizDocument expected = test::StartupDocument();
    ReadDocument(expected, test::Version4File());
    EXPECT_EQ(Compare(ReadWholeFile(Path("v5.kwz")), DocumentBytes(expected)), "same");
}

TEST_F(DocumentCommands, JsonRoundTripGivesTheSameBytes)
{
    const std::string original = DocumentBytes(test::RichDocument());
    const std::string in = Write("rich.kwz", original);
    const test::CliRun json = Run({"to-json", in});
    ASSERT_EQ(json.exitCode, 0) << json.err;
    const std::string jsonPath = Write("rich.json", json.out);
    const test::CliRun back = Run({"from-json", jsonPath, Path("back.kwz")});
    ASSERT_EQ(back.exitCode, 0) << back.err;
    EXPECT_EQ(Compare(ReadWholeFile(Path("back.kwz")), original), "same");

    // The JSON is UTF-8 and names the document's fields.
    const nlohmann::json value = nlohmann::json::parse(json.out);
    EXPECT_EQ(value["Version"], 5);
    EXPECT_EQ(value["Header"]["AuthorName"], "H\xC3\xA9l\xC3\xA8ne Lef\xC3\xA8vre");
    EXPECT_EQ(value["Questions"].size(), 4u);
    EXPECT_EQ(value["Questions"][0]["Feedback"]["Wrong"]["Mess"], "Non\xC2\xA0: c'est Paris.");
    EXPECT_EQ(value["Style"]["StyleSpecs"].size(), 16u);
}

TEST_F(DocumentCommands, JsonRoundTripOfOlderVersions)
{
    for (const auto& [name, bytes] : {std::pair {"v3.kwz", test::Version3File()}, {"v4.kwz", test::Version4File()}}) {
        const test::CliRun json = Run({"to-json", Write(name, bytes)});
        ASSERT_EQ(json.exitCode, 0) << json.err;
        ASSERT_EQ(Run({"upgrade", Path(name), Path("upgraded.kwz")}).exitCode, 0);
        ASSERT_EQ(Run({"from-json", Write("doc.json", json.out), Path("back.kwz")}).exitCode, 0);
        EXPECT_EQ(Compare(ReadWholeFile(Path("back.kwz")), ReadWholeFile(Path("upgraded.kwz"))), "same") << name;
    }
}

TEST_F(DocumentCommands, PartialJsonStartsFromANewDocument)
{
    const std::string json
        = R"({"Questions": [{"QText": "Capitale de l'Italie\u00a0?", "Reps": ["Rome \u03c0", "Milan"],
                                  "GoodRep": 0}],
                                 "Header": {"AuthorName": "Zo\u00e9"}})";
    ASSERT_EQ(Run({"from-json", Write("partial.json", json), Path("partial.kwz")}).exitCode, 0);

    TQuizDocument expected = test::StartupDocument();
    expected.Header.AuthorName = "Zo\xE9";
    expected.Quests.AddQuest();
    expected.Quests.Current().QText = "Capitale de l'Italie\xA0?";
    // A character the code page lacks is kept as its reference, not as "?".
    expected.Quests.Current().Reps = {"Rome &#960;", "Milan"};
    expected.Quests.Current().GoodRep = 0;
    EXPECT_EQ(Compare(ReadWholeFile(Path("partial.kwz")), DocumentBytes(expected)), "same");
}

TEST_F(DocumentCommands, FailuresPrintTheErrorAndExit1)
{
    const std::string rich = DocumentBytes(test::RichDocument());
    std::string wrongKind = rich;
    wrongKind[2] = '\x02'; // the author label's string tag becomes an integer tag
    TValueWriter old;
    old.WriteInteger(2);

    struct Case {
        std::vector<std::string> args;
        std::string err;
    };
    const std::vector<Case> cases {
        {{"to-json", Write("cut.kwz", rich.substr(0, rich.size() / 2))}, "Stream read error\n"},
        {{"upgrade", Path("cut.kwz"), Path("never.kwz")}, "Stream read error\n"},
        {{"to-json", Write("kind.kwz", wrongKind)}, "Invalid property value\n"},
        {{"to-json", Write("old.kwz", old.Bytes())},
            "La version 2 n'est plus support\xC3\xA9"
            "e...\n"},
        {{"upgrade", Path("old.kwz"), Path("never.kwz")},
            "La version 2 n'est plus support\xC3\xA9"
            "e...\n"},
        {{"to-json", Path("absent.kwz")}, "Cannot open file " + Path("absent.kwz") + "\n"},
        {{"from-json", Write("bad.json", R"({"Header": {"Author": "x"}})"), Path("never.kwz")},
            "Header: unknown key \"Author\"\n"},
        {{"from-json", Write("type.json", R"({"Questions": [{"Points": 70000}]})"), Path("never.kwz")},
            "Questions[0].Points: expected an integer from 0 to 65535\n"},
        {{"from-json", Path("bad.json"), Path("absent/never.kwz")}, "Header: unknown key \"Author\"\n"},
        {{"from-json", Write("good.json", "{}"), Path("absent/never.kwz")},
            "Cannot create file " + Path("absent/never.kwz") + "\n"},
    };
    for (const Case& c : cases) {
        const test::CliRun result = Run(c.args);
        EXPECT_EQ(result.exitCode, 1) << c.args[1];
        EXPECT_EQ(result.err, c.err) << c.args[1];
        EXPECT_EQ(result.out, "") << c.args[1];
    }
    EXPECT_FALSE(fs::exists(Path("never.kwz")));
}

} // namespace
} // namespace tavimor
