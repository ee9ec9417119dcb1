// What the benchmark programs share besides the big documents: the counter
// that shows growth per question, the document as "Nouveau" leaves it, and a
// scratch folder on disk.
#pragma once

#include "model/DocumentFile.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

namespace tavimor::bench {

// Reports the time per question next to the time per iteration; the
// benchmark's argument is its number of questions.
void CountQuestions(benchmark::State& state);

// A document in the editor's start-up state, as a read or an import finds it.
TQuizDocument StartupDocument();

// A folder of its own under the temporary folder, removed with its content.
class BenchFolder {
public:
    BenchFolder();
    ~BenchFolder();
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;

    // Ends with "/".
    std::string Path() const { return path_.string() + "/"; }

private:
    std::filesystem::path path_;
};

} // namespace tavimor::bench
