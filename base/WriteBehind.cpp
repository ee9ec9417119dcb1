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
        hasWaiting_ = false;
    }
    changed_.notify_all();
    thread_.join();
}

void WriteBehind::Run()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return hasWaiting_ || stopping_; });
        if (!hasWaiting_)
            return;
        std::string chunk = std::move(waiting_);
        hasWaiting_ = false;
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
        if (failure)
            failure_ = failure;
        else if (chunk.capacity() > spare_.capacity())
            spare_ = std::move(chunk);
        changed_.notify_all();
    }
}

void WriteBehind::Push(std::string& chunk)
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !hasWaiting_ || failure_; });
    if (failure_)
        std::rethrow_exception(failure_);
    waiting_ = std::move(chunk);
    hasWaiting_ = true;
    chunk = std::exchange(spare_, std::string());
    lock.unlock();
    changed_.notify_all();
}

void WriteBehind::Finish()
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return (!hasWaiting_ && !writing_) || failure_; });
    if (failure_)
        std::rethrow_exception(failure_);
}

} // namespace tavimor
