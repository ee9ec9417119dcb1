#include "session/EditHistory.h"

#include <stdexcept>

namespace tavimor {

void EditHistory::Record(EditStep step)
{
    if (!step.MergeKey.empty() && done_ > 0 && done_ == steps_.size() && saved_ != done_
        && steps_[done_ - 1].MergeKey == step.MergeKey) {
        steps_[done_ - 1].Redo = std::move(step.Redo);
        return;
    }
    if (saved_ && *saved_ > done_)
        saved_.reset(); // the saved state was among the steps undone: it cannot come back
    steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(done_), steps_.end());
    steps_.push_back(std::move(step));
    ++done_;
    if (steps_.size() > kDepth) {
        steps_.pop_front();
        --done_;
        if (saved_) {
            if (*saved_ == 0)
                saved_.reset();
            else
                --*saved_;
        }
    }
}

std::string EditHistory::UndoName() const
{
    return CanUndo() ? steps_[done_ - 1].Name : std::string();
}

std::string EditHistory::RedoName() const
{
    return CanRedo() ? steps_[done_].Name : std::string();
}

SessionChange EditHistory::Undo(TQuizDocument& doc)
{
    if (!CanUndo())
        throw std::logic_error("nothing to undo");
    const SessionChange change = steps_[done_ - 1].Undo(doc);
    --done_;
    return change;
}

SessionChange EditHistory::Redo(TQuizDocument& doc)
{
    if (!CanRedo())
        throw std::logic_error("nothing to redo");
    const SessionChange change = steps_[done_].Redo(doc);
    ++done_;
    return change;
}

void EditHistory::Clear(bool onDisk)
{
    steps_.clear();
    done_ = 0;
    saved_ = onDisk ? std::optional<std::size_t>(0) : std::nullopt;
}

} // namespace tavimor
