// A growing text for the builders of long pages and of the quiz script:
// room is made in large steps and written through without a check per byte,
// and the converters write straight into it.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace tavimor {

namespace escape {
class EscapeTable;
}

class TextBuffer {
public:
    std::size_t Size() const { return size_; }
    bool Empty() const { return size_ == 0; }
    std::string_view View() const { return {bytes_.data(), size_}; }
    // Empties the text and keeps the room for what comes next.
    void Clear() { size_ = 0; }
    // Keeps the first size bytes of the text (at most all of them).
    void Truncate(std::size_t size) { size_ = size < size_ ? size : size_; }
    void Reserve(std::size_t size) { Room(size > size_ ? size - size_ : 0); }
    // The text, leaving the buffer empty.
    std::string Take();
    // The same, the buffer then writing into the storage of room (whose
    // bytes are written over).
    std::string Take(std::string room);

    TextBuffer& operator+=(std::string_view text)
    {
        if (text.empty()) // its data may be no pointer at all
            return *this;
        std::memcpy(Room(text.size()), text.data(), text.size());
        size_ += text.size();
        return *this;
    }
    TextBuffer& operator+=(char c)
    {
        *Room(1) = c;
        ++size_;
        return *this;
    }
    // Most numbers of a quiz script are single digits: those go without a
    // call.
    void AppendNumber(long long value)
    {
        if (value >= 0 && value <= 9) {
            *this += static_cast<char>('0' + value);
            return;
        }
        AppendLongNumber(value);
    }
    // Appends the first size bytes (at most 16) of block with one copy of a
    // fixed size, for short pieces that come again and again.
    void AppendPrefix(const char (&block)[16], std::size_t size)
    {
        std::memcpy(Room(sizeof block), block, sizeof block);
        size_ += size;
    }
    // Appends what write(at) writes from at, at most most bytes: it returns
    // where it stopped.
    template <class Write> void AppendThrough(std::size_t most, Write write)
    {
        char* const at = Room(most);
        size_ += static_cast<std::size_t>(write(at) - at);
    }

    // The converters of SpecHTML.h, appended.
    void AppendEntityEncode(std::string_view text);
    void AppendJsEscape(std::string_view text);
    void AppendJsText(std::string_view text);

private:
    // At least count bytes of room after the text.
    char* Room(std::size_t count)
    {
        if (bytes_.size() - size_ < count)
            Grow(count);
        return bytes_.data() + size_;
    }
    void Grow(std::size_t count);
    void AppendLongNumber(long long value);
    void AppendConverted(const escape::EscapeTable& table, std::string_view text);

    std::string bytes_; // the text, then the room made so far
    std::size_t size_ = 0;
};

} // namespace tavimor
