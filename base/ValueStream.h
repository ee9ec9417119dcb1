// The typed value stream: self-describing integers, strings and booleans, each
// a tag byte and its payload, little-endian. Every binary file of the system
// is a plain sequence of such values.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tavimor {

enum class ValueTag : std::uint8_t {
    Int8 = 2,
    Int16 = 3,
    Int32 = 4,
    String8 = 6, // one length byte, then Windows-1252 bytes
    False = 8,
    True = 9,
    String32 = 12, // four length bytes, then Windows-1252 bytes
    WString = 18, // four bytes count of UTF-16 units, then UTF-16LE (read only)
    Utf8String = 20,
};

// Appends values to an in-memory image of the file; the owner writes Bytes()
// out in one go, so a failed write never leaves a half-written value behind.
class TValueWriter {
public:
    // The smallest of tags 2, 3, 4 that holds v.
    void WriteInteger(std::int32_t v);
    // Text holding a byte of 128 or more is written as UTF-8 (tag 20); pure
    // ASCII with tag 6 up to 255 bytes, tag 12 above.
    void WriteString(std::string_view text);
    void WriteBoolean(bool b);

    const std::string& Bytes() const { return bytes_; }

private:
    void PutByte(std::uint8_t b) { bytes_ += static_cast<char>(b); }
    void PutLittleEndian(std::uint32_t v, int byteCount);

    std::string bytes_;
};

class FileReader;

// Reads values from the bytes of a whole file, held in memory or taken from
// the file in pieces. Reading past the end is "Stream read error", a value of
// the wrong kind "Invalid property value"; a length is checked against the
// bytes left before anything is allocated.
class TValueReader {
public:
    explicit TValueReader(std::string_view bytes)
        : bytes_(bytes)
    {
    }
    // The reader only views the bytes: a temporary string would be gone before the first read.
    explicit TValueReader(std::string&&) = delete;
    // Takes the bytes from file as the values need them, holding only a
    // window of the file (and a whole string where one is longer).
    explicit TValueReader(FileReader& file)
        : file_(&file)
    {
    }

    std::int32_t ReadInteger()
    {
        switch (static_cast<ValueTag>(TakeByte())) {
        case ValueTag::Int8:
            return static_cast<std::int8_t>(TakeLittleEndian(1));
        case ValueTag::Int16:
            return static_cast<std::int16_t>(TakeLittleEndian(2));
        case ValueTag::Int32:
            return static_cast<std::int32_t>(TakeLittleEndian(4));
        default:
            ThrowInvalidValue();
        }
    }
    std::string ReadString();
    // A string value as it stands in the bytes: its tag (String8, String32,
    // WString or Utf8String) and payload, still to be converted to the code
    // page as ReadString does. Errors as ReadString. The payload is a view
    // of the bytes given to the reader, or of its window when it reads a file.
    struct RawString {
        ValueTag tag;
        std::string_view payload;
    };
    RawString ReadRawString();
    // True for tag 9, false for any other tag; only the tag byte is consumed.
    bool ReadBoolean() { return static_cast<ValueTag>(TakeByte()) == ValueTag::True; }

    bool AtEnd() const;
    std::size_t Position() const { return dropped_ + pos_; }
    std::size_t BytesLeft() const;

private:
    // The reading of a value, written here so that the readers of records
    // take the bytes held in memory without a call.
    std::uint8_t TakeByte()
    {
        if (pos_ >= bytes_.size())
            Fill(1);
        return static_cast<std::uint8_t>(bytes_[pos_++]);
    }
    std::uint32_t TakeLittleEndian(std::size_t count)
    {
        if (bytes_.size() - pos_ < count)
            Fill(count);
        const auto* bytes = reinterpret_cast<const unsigned char*>(bytes_.data() + pos_);
        pos_ += count;
        std::uint32_t v = 0;
        for (std::size_t i = 0; i < count; ++i)
            v |= static_cast<std::uint32_t>(bytes[i]) << (8 * i);
        return v;
    }
    std::string_view Take(std::size_t count)
    {
        if (bytes_.size() - pos_ < count)
            Fill(count);
        const std::string_view taken = bytes_.substr(pos_, count);
        pos_ += count;
        return taken;
    }
    // Makes count bytes from pos_ on available, or throws StreamReadError.
    void Fill(std::size_t count);
    [[noreturn]] static void ThrowInvalidValue();

    std::string_view bytes_;
    std::size_t pos_ = 0;
    FileReader* file_ = nullptr;
    std::string window_; // holds bytes_ when reading from a file
    std::size_t dropped_ = 0; // bytes of the file before the window
};

} // namespace tavimor
