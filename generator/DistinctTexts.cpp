#include "generator/DistinctTexts.h"

#include <algorithm>
#include <functional>

namespace tavimor {

std::string_view TextArena::Store(std::string_view text)
{
    if (text.empty())
        return {};
    if (text.size() > capacity_ - used_) {
        capacity_ = std::max(kBlockSize, text.size());
        blocks_.push_back(std::make_unique_for_overwrite<char[]>(capacity_));
        used_ = 0;
    }
    char* const at = blocks_.back().get() + used_;
    std::copy(text.begin(), text.end(), at);
    used_ += text.size();
    return {at, text.size()};
}

std::uint32_t DistinctTexts::Position(std::string_view text, bool lasts)
{
    if (2 * (texts_.size() + 1) > slots_.size())
        Grow();
    const std::size_t mask = slots_.size() - 1;
    const std::size_t hash = std::hash<std::string_view> {}(text);
    for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
        const std::uint32_t slot = slots_[at];
        if (slot == 0) {
            texts_.push_back(lasts ? text : arena_.Store(text));
            hashes_.push_back(hash);
            slots_[at] = static_cast<std::uint32_t>(texts_.size());
            return slots_[at] - 1;
        }
        if (hashes_[slot - 1] == hash && texts_[slot - 1] == text)
            return slot - 1;
    }
}

// Twice the room, every text placed again by the hash it was found by.
void DistinctTexts::Grow()
{
    slots_.assign(std::max<std::size_t>(16, 2 * slots_.size()), 0);
    const std::size_t mask = slots_.size() - 1;
    for (std::uint32_t position = 0; position < texts_.size(); ++position) {
        std::size_t at = hashes_[position] & mask;
        while (slots_[at] != 0)
            at = (at + 1) & mask;
        slots_[at] = position + 1;
    }
}

} // namespace tavimor
