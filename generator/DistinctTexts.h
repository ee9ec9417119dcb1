// The distinct texts of a list, in order of first use, each with its
// position: the message banks of the quiz script and of the self-contained
// page. The texts themselves are not kept: each distinct text is known by its
// hash and by the occurrence (a number of the caller's) where it was first
// found, from which the caller makes it again. A lookup hashes the text once
// and reads a few slots; nothing is allocated per text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace tavimor {

class DistinctTexts {
public:
    // Room for count texts, made once.
    void Reserve(std::size_t count);

    // The position of text, found at occurrence `at`, appending it when it
    // is new. textAt(earlier) gives the text of an earlier occurrence; it is
    // asked for only when that text's hash is the same as this one's.
    template <class TextAt> std::uint32_t Position(std::string_view text, std::uint32_t at, TextAt textAt)
    {
        const std::size_t hash = std::hash<std::string_view> {}(text);
        for (std::size_t slot = FirstSlot(hash);; slot = NextSlot(slot)) {
            const std::uint32_t held = slots_[slot];
            if (held == 0)
                return Add(slot, hash, at);
            if (hashes_[held - 1] == hash && textAt(firsts_[held - 1]) == text)
                return held - 1;
        }
    }

    std::size_t Size() const { return firsts_.size(); }
    // The occurrence where the text at position was first found.
    std::uint32_t FirstOccurrence(std::size_t position) const { return firsts_[position]; }

private:
    // The slot where the search for hash starts, the slots grown first when
    // one more text would fill more than half of them.
    std::size_t FirstSlot(std::size_t hash);
    std::size_t NextSlot(std::size_t slot) const { return (slot + 1) & (slots_.size() - 1); }
    std::uint32_t Add(std::size_t slot, std::size_t hash, std::uint32_t at);
    void Grow(std::size_t slotCount);

    std::vector<std::uint32_t> firsts_; // the first occurrence of each text
    std::vector<std::size_t> hashes_; // of each text, for growing without making them again
    // Open addressing, at most half full: 0 is a free slot, else a position
    // plus one.
    std::vector<std::uint32_t> slots_;
};

} // namespace tavimor
