// Writing behind a producer: the chunks of a long text go to a thread of
// their own, which passes them in order to a sink (the writing of a file),
// so that the system copies some chunks while the next ones are made. Two
// chunks may wait while another is written (the producer waits beyond
// that): fewer wake-ups than one chunk at a time, and few chunk buffers,
// each of whose pages costs a fault the first time it is written.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace tavimor {

class WriteBehind {
public:
    using Sink = std::function<void(std::string_view chunk)>;

    explicit WriteBehind(Sink sink);
    // Waits for the chunk being written; those still waiting are dropped.
    ~WriteBehind();
    WriteBehind(const WriteBehind&) = delete;
    WriteBehind& operator=(const WriteBehind&) = delete;

    // Queues the bytes of chunk and gives back in it the storage of a chunk
    // already written (its stale bytes to be written over), or an empty
    // string. The first error of the sink is thrown here or by Finish;
    // nothing is written after it.
    void Push(std::string& chunk);
    // Waits until every chunk queued is written; throws the sink's error.
    void Finish();

private:
    void Run();

    static constexpr std::size_t kMostWaiting = 2;

    Sink sink_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::string> waiting_; // the chunks to write, first first
    bool writing_ = false;
    bool stopping_ = false;
    std::vector<std::string> spares_; // the storage of written chunks, for the producer
    std::exception_ptr failure_;
    std::thread thread_; // last: started once all it uses is made
};

} // namespace tavimor
