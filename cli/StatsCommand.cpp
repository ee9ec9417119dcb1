// stats: the item analysis of a marks table, as a French table for a person
// or as JSON for a program.
#include "analysis/ItemStatistics.h"
#include "analysis/MarksTableCsv.h"
#include "base/Cp1252.h"
#include "cli/AnalysisOutput.h"
#include "cli/Commands.h"

#include <iostream>
#include <string>
#include <vector>

namespace tavimor::cli {
namespace {

struct StatsArgs {
    std::string table;
    bool json = false;
};

StatsArgs ParseStatsArgs(const Args& args)
{
    StatsArgs parsed;
    for (const std::string& arg : args) {
        if (arg == "--json")
            parsed.json = true;
        else if (parsed.table.empty() && !arg.starts_with("--"))
            parsed.table = arg;
        else
            throw UsageError {"stats: unexpected argument '" + arg + "'"};
    }
    if (parsed.table.empty())
        throw UsageError {"stats needs a marks table (MARKS.csv)"};
    return parsed;
}

} // namespace

int Stats(const Args& args)
{
    const StatsArgs parsed = ParseStatsArgs(args);
    const TMarksTable table = ReadMarksTableFile(parsed.table);
    const std::vector<TItemStatistics> items = ComputeItemStatistics(table);
    if (parsed.json)
        std::cout << "{\"students\": " << table.StudentCount() << ", \"questions\": " << ItemStatisticsJson(items)
                  << "}\n";
    else
        std::cout << Cp1252ToUtf8(StudentCount(table.StudentCount()) + "\n" + ItemStatisticsTable(items));
    std::cout.flush();
    return std::cout ? 0 : 1;
}

} // namespace tavimor::cli
