#include "generator/TextBuffer.h"

#include "base/LargePages.h"
#include "generator/EscapeTable.h"

#include <algorithm>
#include <charconv>
#include <utility>

namespace tavimor {

std::string TextBuffer::Take()
{
    bytes_.resize(size_);
    std::string text = std::move(bytes_);
    bytes_.clear();
    size_ = 0;
    return text;
}

std::string TextBuffer::Take(std::string room)
{
    std::string text = Take();
    bytes_ = std::move(room);
    bytes_.resize(bytes_.capacity()); // all of it room, written before it is read
    return text;
}

void TextBuffer::Grow(std::size_t count)
{
    // Doubling keeps the cost of growing proportional to the text; the new
    // room is filled once here and then only written. Large pages are asked
    // for before the new memory is first written, which is when its pages
    // are made; a big room gets a large page more, never written, so that
    // the large pages reach to its end (they are whole ones, on their
    // boundaries, which the allocator's memory does not start on).
    const std::size_t room = std::max(size_ + count, 2 * bytes_.size() + 256);
    std::string grown;
    grown.reserve(room >= kLargePage ? room + kLargePage : room);
    AdviseLargePages(grown.data(), grown.capacity());
    grown.assign(bytes_.data(), size_);
    grown.resize(room);
    bytes_ = std::move(grown);
}

void TextBuffer::AppendLongNumber(long long value)
{
    char* const at = Room(24);
    size_ += static_cast<std::size_t>(std::to_chars(at, at + 24, value).ptr - at);
}

void TextBuffer::AppendConverted(const escape::EscapeTable& table, std::string_view text)
{
    while (!text.empty()) {
        const std::string_view piece = text.substr(0, escape::EscapeTable::kPiece);
        text.remove_prefix(piece.size());
        AppendThrough(table.Room(piece.size()), [&](char* at) { return table.Write(at, piece); });
    }
}

void TextBuffer::AppendEntityEncode(std::string_view text)
{
    AppendConverted(escape::kEntities, text);
}

void TextBuffer::AppendJsEscape(std::string_view text)
{
    AppendConverted(escape::kScript, text);
}

void TextBuffer::AppendJsText(std::string_view text)
{
    AppendConverted(escape::kScriptText, text);
}

} // namespace tavimor
