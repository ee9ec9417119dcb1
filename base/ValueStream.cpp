#include "base/ValueStream.h"

#include "base/Cp1252.h"
#include "base/Errors.h"
#include "base/FileIo.h"

#include <algorithm>
#include <cstring>

namespace tavimor {

void TValueWriter::PutLittleEndian(std::uint32_t v, int byteCount)
{
    for (int i = 0; i < byteCount; ++i)
        PutByte(static_cast<std::uint8_t>(v >> (8 * i)));
}

void TValueWriter::WriteInteger(std::int32_t v)
{
    const auto bits = static_cast<std::uint32_t>(v);
    if (v >= -128 && v <= 127) {
        PutByte(static_cast<std::uint8_t>(ValueTag::Int8));
        PutLittleEndian(bits, 1);
    } else if (v >= -32768 && v <= 32767) {
        PutByte(static_cast<std::uint8_t>(ValueTag::Int16));
        PutLittleEndian(bits, 2);
    } else {
        PutByte(static_cast<std::uint8_t>(ValueTag::Int32));
        PutLittleEndian(bits, 4);
    }
}

void TValueWriter::WriteString(std::string_view text)
{
    if (!IsAscii(text)) {
        const std::string utf8 = Cp1252ToUtf8(text);
        PutByte(static_cast<std::uint8_t>(ValueTag::Utf8String));
        PutLittleEndian(static_cast<std::uint32_t>(utf8.size()), 4);
        bytes_ += utf8;
    } else if (text.size() <= 255) {
        PutByte(static_cast<std::uint8_t>(ValueTag::String8));
        PutLittleEndian(static_cast<std::uint32_t>(text.size()), 1);
        bytes_ += text;
    } else {
        PutByte(static_cast<std::uint8_t>(ValueTag::String32));
        PutLittleEndian(static_cast<std::uint32_t>(text.size()), 4);
        bytes_ += text;
    }
}

void TValueWriter::WriteBoolean(bool b)
{
    PutByte(static_cast<std::uint8_t>(b ? ValueTag::True : ValueTag::False));
}

namespace {

// How much of a file a reader asks for at a time.
constexpr std::size_t kWindowSize = 64 * 1024;

} // namespace

bool TValueReader::AtEnd() const
{
    return pos_ >= bytes_.size() && (!file_ || file_->AtEnd());
}

std::size_t TValueReader::BytesLeft() const
{
    return bytes_.size() - pos_ + (file_ ? file_->SizeLeft() : 0);
}

void TValueReader::Fill(std::size_t count)
{
    const std::size_t held = bytes_.size() - pos_;
    if (held >= count)
        return;
    if (!file_ || count - held > file_->SizeLeft())
        throw StreamReadError();
    // The bytes not read yet move to the front of the window, the file fills the rest.
    if (held > 0)
        std::memmove(window_.data(), bytes_.data() + pos_, held);
    dropped_ += pos_;
    pos_ = 0;
    if (window_.size() < std::max(count, kWindowSize))
        window_.resize(std::max(count, kWindowSize));
    std::size_t filled = held;
    while (filled < count) {
        const std::size_t got = file_->Read(window_.data() + filled, window_.size() - filled);
        if (got == 0)
            break;
        filled += got;
    }
    bytes_ = std::string_view(window_.data(), filled);
    if (filled < count)
        throw StreamReadError();
}

void TValueReader::ThrowInvalidValue()
{
    throw InvalidPropertyValue();
}

TValueReader::RawString TValueReader::ReadRawString()
{
    const auto tag = static_cast<ValueTag>(TakeByte());
    switch (tag) {
    case ValueTag::String8:
        return {tag, Take(TakeLittleEndian(1))};
    case ValueTag::String32:
    case ValueTag::Utf8String:
        return {tag, Take(TakeLittleEndian(4))};
    case ValueTag::WString: {
        const std::uint64_t units = TakeLittleEndian(4);
        if (units > BytesLeft() / 2)
            throw StreamReadError();
        return {tag, Take(static_cast<std::size_t>(units * 2))};
    }
    default:
        throw InvalidPropertyValue();
    }
}

std::string TValueReader::ReadString()
{
    const RawString raw = ReadRawString();
    switch (raw.tag) {
    case ValueTag::WString:
        return Utf16LeToCp1252(raw.payload);
    case ValueTag::Utf8String:
        return Utf8ToCp1252(raw.payload);
    default:
        return std::string(raw.payload);
    }
}

} // namespace tavimor
