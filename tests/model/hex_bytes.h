// Bytes shown as upper-case hexadecimal pairs ("02 7F"), so that a failed
// comparison of binary file content reads at a glance.
#pragma once

#include <string>
#include <string_view>

namespace tavimor::test {

inline std::string Hex(std::string_view bytes)
{
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (!out.empty())
            out += ' ';
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

} // namespace tavimor::test
