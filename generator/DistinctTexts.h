// The distinct texts of a list, in order of first use, each with its
// position: the message banks of the quiz script and of the self-contained
// page. A lookup hashes the text once and reads a few slots; nothing is
// allocated per text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace tavimor {

// Texts stored one after the other in blocks that never move, so that views
// of them stay valid while more are added.
class TextArena {
public:
    std::string_view Store(std::string_view text);

private:
    static constexpr std::size_t kBlockSize = 64 * 1024;

    std::vector<std::unique_ptr<char[]>> blocks_;
    std::size_t used_ = 0;
    std::size_t capacity_ = 0;
};

class DistinctTexts {
public:
    // Room for count texts, made once; the slots grow with what is found.
    void Reserve(std::size_t count)
    {
        texts_.reserve(count);
        hashes_.reserve(count);
    }

    // The position of text, appending it when it is new. A text that lasts
    // (outlives this object) is held as it is, another one as a copy.
    std::uint32_t Position(std::string_view text, bool lasts);

    std::size_t Size() const { return texts_.size(); }
    std::string_view Text(std::size_t position) const { return texts_[position]; }

private:
    void Grow();

    TextArena arena_;
    std::vector<std::string_view> texts_;
    std::vector<std::size_t> hashes_; // of each text, for growing without reading them again
    // Open addressing, at most half full: 0 is a free slot, else a position
    // in texts_ plus one.
    std::vector<std::uint32_t> slots_;
};

} // namespace tavimor
