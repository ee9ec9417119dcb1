// A learning platform's statistics fixture: the marks of 25 attempts on 7
// questions (each out of 1) and the figures the platform computes for them,
// read at test time from the shared corpora beside the repository
// (shared/corpora/item-statistics; its SOURCES.md says where they come from).
#pragma once

#include "common/temp_folder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace tavimor::test {

inline std::filesystem::path ItemStatisticsCorpus()
{
    // TAVIMOR_TEST_DATA is the repository's tests/ folder.
    return std::filesystem::path(TAVIMOR_TEST_DATA).parent_path().parent_path() / "shared" / "corpora"
        / "item-statistics";
}

struct PlatformFixture {
    // marks[attempt][slot] as the file writes them (decimal point).
    std::vector<std::vector<std::string>> marks;
    // expected[slot]["facility"], ["sd"], ["effectiveweight"],
    // ["discriminationindex"], ["discriminativeefficiency"]: printed figures.
    std::vector<std::map<std::string, std::string>> expected;
};

namespace fixture_detail {

// The fixture's files are plain comma-separated numbers without quotes.
inline std::vector<std::vector<std::string>> Rows(const std::filesystem::path& file)
{
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(ReadBytes(file));
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        std::vector<std::string> fields;
        std::istringstream cells(line);
        for (std::string cell; std::getline(cells, cell, ',');)
            fields.push_back(cell);
        rows.push_back(fields);
    }
    if (rows.size() < 2)
        throw std::runtime_error("no data in " + file.string());
    return rows;
}

} // namespace fixture_detail

// Nothing when the corpora are not beside the repository; throws when they
// are there but not as expected.
inline std::optional<PlatformFixture> LoadPlatformFixture()
{
    const std::filesystem::path folder = ItemStatisticsCorpus();
    if (!std::filesystem::is_directory(folder))
        return std::nullopt;
    PlatformFixture fixture;
    const auto results = fixture_detail::Rows(folder / "results00.csv");
    std::vector<std::size_t> slotColumns;
    for (std::size_t column = 0; column < results[0].size(); ++column)
        if (results[0][column] == "slots." + std::to_string(slotColumns.size() + 1) + ".mark")
            slotColumns.push_back(column);
    for (std::size_t row = 1; row < results.size(); ++row) {
        std::vector<std::string> marks;
        for (const std::size_t column : slotColumns)
            marks.push_back(results[row].at(column));
        fixture.marks.push_back(marks);
    }
    const auto stats = fixture_detail::Rows(folder / "qstats00.csv");
    for (std::size_t row = 1; row < stats.size(); ++row) {
        std::map<std::string, std::string> figures;
        for (std::size_t column = 0; column < stats[0].size(); ++column)
            figures[stats[0][column]] = stats[row].at(column);
        if (figures["slot"] != std::to_string(row))
            throw std::runtime_error("qstats00.csv: slot " + figures["slot"] + " on row " + std::to_string(row));
        fixture.expected.push_back(figures);
    }
    if (slotColumns.empty() || fixture.expected.size() != slotColumns.size())
        throw std::runtime_error("results00.csv and qstats00.csv do not have the same slots");
    return fixture;
}

// Why a test that needs the fixture skips without it.
inline std::string MissingFixtureReason()
{
    return "the platform's statistics fixture is not at " + ItemStatisticsCorpus().string()
        + " (the shared corpora beside the repository)";
}

// The figure agrees with the printed one to the precision it is printed with.
inline void ExpectAsPrinted(std::optional<double> actual, const std::string& printed, const std::string& what)
{
    ASSERT_TRUE(actual.has_value()) << what << ": no value, expected " << printed;
    const std::size_t point = printed.find('.');
    const int decimals = point == std::string::npos ? 0 : static_cast<int>(printed.size() - point - 1);
    const double halfLastPlace = 0.5 * std::pow(10.0, -decimals);
    EXPECT_NEAR(*actual, std::stod(printed), halfLastPlace * 1.0001) << what << ": expected " << printed;
}

// The statistics' names in the fixture, in the JSON of the stats command.
inline const std::map<std::string, std::string>& FixtureToJsonKeys()
{
    static const std::map<std::string, std::string> keys {{"facility", "facility"}, {"sd", "sd"},
        {"effectiveweight", "effective_weight"}, {"discriminationindex", "discrimination_index"},
        {"discriminativeefficiency", "discriminative_efficiency"}};
    return keys;
}

} // namespace tavimor::test
