#include "base/WriteBehind.h"

#include <utility>

namespace tavimor {

WriteBehind::WriteBehind(Sink sink)
    : sink_(std::move(sink))
    , thread_([this] { Run(); })
{
}

WriteBehind::~WriteBehind()
{
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        waiting_.clear();
    }
    changed_.notify_all();
    thread_.join();
}

void WriteBehind::Run()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return !waiting_.empty() || stopping_; });
        if (waiting_.empty())
            return;
        std::string chunk = std::move(waiting_.front());
        waiting_.pop_front();
        if (failure_) // nothing is written after an error
            continue;
        writing_ = true;
        lock.unlock();
        std::exception_ptr failure;
        try {
            sink_(chunk);
        } catch (...) {
            failure = std::current_exception();
        }
        lock.lock();
        writing_ = false;
        // Every written chunk's storage goes back to the producer, who
        // takes one for each chunk queued: no more of them are ever made
        // than are in flight at once, each a fault per page when new.
        if (failure)
            failure_ = failure;
        else
            spares_.push_back(std::move(chunk));
        changed_.notify_all();
    }
}

void WriteBehind::Push(std::string& chunk)
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return waiting_.size() < kMostWaiting || failure_; });
    if (failure_)
        std::rethrow_exception(failure_);
    waiting_.push_back(std::move(chunk));
    chunk.clear();
    if (!spares_.empty()) {
        chunk = std::move(spares_.back());
        spares_.pop_back();
    }
    lock.unlock();
    changed_.notify_all();
}

void WriteBehind::Finish()
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return (waiting_.empty() && !writing_) || failure_; });
    if (failure_)
        std::rethrow_exception(failure_);
}

} // namespace tavimor
