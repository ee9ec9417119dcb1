// The errors of the core. Each what() is exactly the text the user sees in
// the error box, in the core's Windows-1252 like every other text: a file path
// (UTF-8 on this platform) is converted when it becomes part of a message.
#pragma once

#include "base/Cp1252.h"

#include <stdexcept>
#include <string>

namespace tavimor {

class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The end of the data came before a value was complete.
class StreamReadError : public Error {
public:
    StreamReadError()
        : Error("Stream read error")
    {
    }
};

// A write did not reach the file (disk full, size limit, I/O error).
class StreamWriteError : public Error {
public:
    StreamWriteError()
        : Error("Stream write error")
    {
    }
};

// A value of another kind than the one the format expects at that place.
class InvalidPropertyValue : public Error {
public:
    InvalidPropertyValue()
        : Error("Invalid property value")
    {
    }
};

class FileOpenError : public Error {
public:
    explicit FileOpenError(const std::string& path)
        : Error("Cannot open file " + Utf8ToCp1252(path))
    {
    }
};

class FileCreateError : public Error {
public:
    explicit FileCreateError(const std::string& path)
        : Error("Cannot create file " + Utf8ToCp1252(path))
    {
    }
};

// A 0-based index outside a list.
class ListIndexError : public Error {
public:
    explicit ListIndexError(long long index)
        : Error("List index out of bounds (" + std::to_string(index) + ")")
    {
    }
};

// A text that should have held a whole number.
class ConvertError : public Error {
public:
    explicit ConvertError(const std::string& text)
        : Error("'" + text + "' is not a valid integer value")
    {
    }
};

class IniWriteError : public Error {
public:
    explicit IniWriteError(const std::string& path)
        : Error("Unable to write to " + Utf8ToCp1252(path))
    {
    }
};

} // namespace tavimor
