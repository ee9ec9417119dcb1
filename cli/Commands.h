// The commands of tavimor-cli. Each takes its arguments (after the command
// name), returns the exit code, and lets core errors escape to main, which
// prints their text on stderr and exits 1.
#pragma once

#include <string>
#include <vector>

namespace tavimor::cli {

using Args = std::vector<std::string>;

// Thrown for a wrong command line; main prints the usage.
struct UsageError {
    std::string message;
};

int Upgrade(const Args& args);
int ToJson(const Args& args);
int FromJson(const Args& args);
int Produce(const Args& args);
int Exam(const Args& args);
int Standalone(const Args& args);
int ExportTextCommand(const Args& args);
int ImportTextCommand(const Args& args);
int ExportGiftCommand(const Args& args);
int ExportMoodleCommand(const Args& args);
int ImportGiftCommand(const Args& args);
int ImportMoodleCommand(const Args& args);
int ImportAikenCommand(const Args& args);
int ImportCsvCommand(const Args& args);
int ExportCsvCommand(const Args& args);
int ExportAmcCommand(const Args& args);
int ExportScorm(const Args& args);
int Stats(const Args& args);
int Results(const Args& args);

} // namespace tavimor::cli
