#include "bench/BenchSupport.h"

#include <unistd.h>

#include <system_error>

namespace tavimor::bench {

void CountQuestions(benchmark::State& state)
{
    state.counters["per_question"] = benchmark::Counter(static_cast<double>(state.range(0)),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

TQuizDocument StartupDocument()
{
    TQuizDocument doc;
    ResetToStartupState(doc, "");
    return doc;
}

BenchFolder::BenchFolder()
    : path_(std::filesystem::temp_directory_path() / ("tavimor-bench-" + std::to_string(::getpid())))
{
    std::filesystem::create_directories(path_);
}

BenchFolder::~BenchFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

} // namespace tavimor::bench
