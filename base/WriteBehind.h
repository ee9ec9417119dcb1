// Writing behind a producer: the chunks of a long text go to a thread of
// their own, which passes them in order to a sink (the writing of a file),
// so that the system copies one chunk while the next is made. One chunk
// waits at most while another is written; the producer waits beyond that.
#pragma once

#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

namespace tavimor {

class WriteBehind {
public:
    using Sink = std::function<void(std::string_view chunk)>;

    explicit WriteBehind(Sink sink);
    // Waits for the chunk being written; one still waiting is dropped.
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

    Sink sink_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::string waiting_; // the next chunk to write
    bool hasWaiting_ = false;
    bool writing_ = false;
    bool stopping_ = false;
    std::string spare_; // the storage of a written chunk, for the producer
    std::exception_ptr failure_;
    std::thread thread_; // last: started once all it uses is made
};

} // namespace tavimor
