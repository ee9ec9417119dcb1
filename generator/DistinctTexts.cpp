#include "generator/DistinctTexts.h"

#include <algorithm>
#include <bit>

namespace tavimor {

namespace {

constexpr std::size_t kFewestSlots = 16;

// Slots for count texts, at most half of them full.
std::size_t SlotsFor(std::size_t count)
{
    return std::bit_ceil(std::max(kFewestSlots, 2 * count));
}

} // namespace

void DistinctTexts::Reserve(std::size_t count)
{
    firsts_.reserve(count);
    hashes_.reserve(count);
    if (SlotsFor(count) > slots_.size())
        Grow(SlotsFor(count));
}

std::size_t DistinctTexts::FirstSlot(std::size_t hash)
{
    if (2 * (firsts_.size() + 1) > slots_.size())
        Grow(SlotsFor(firsts_.size() + 1));
    return hash & (slots_.size() - 1);
}

std::uint32_t DistinctTexts::Add(std::size_t slot, std::size_t hash, std::uint32_t at)
{
    firsts_.push_back(at);
    hashes_.push_back(hash);
    slots_[slot] = static_cast<std::uint32_t>(firsts_.size());
    return slots_[slot] - 1;
}

// Every text placed again by the hash it was found by.
void DistinctTexts::Grow(std::size_t slotCount)
{
    slots_.assign(slotCount, 0);
    const std::size_t mask = slots_.size() - 1;
    for (std::uint32_t position = 0; position < hashes_.size(); ++position) {
        std::size_t at = hashes_[position] & mask;
        while (slots_[at] != 0)
            at = (at + 1) & mask;
        slots_[at] = position + 1;
    }
}

} // namespace tavimor
