// Conversion between the Windows-1252 text of the core and Unicode.
//
// All 256 bytes round-trip: the five bytes that Windows-1252 leaves undefined
// (81, 8D, 8F, 90, 9D) map to the C1 control characters of the same value, as
// the platform's own conversion does.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tavimor {

// The character the code page puts in place of one it cannot represent.
inline constexpr char kCp1252Replacement = '?';

std::string Cp1252ToUtf8(std::string_view text);

// Malformed UTF-8 and characters outside Windows-1252 become kCp1252Replacement.
std::string Utf8ToCp1252(std::string_view utf8);
// The same conversion over the size bytes at text, written where they stand
// (the code page's text is never longer than its UTF-8); returns its size.
std::size_t Utf8ToCp1252InPlace(char* text, std::size_t size);

// Unicode text as the core keeps what a person typed: a character the code
// page lacks becomes its decimal HTML character reference ("π" gives
// "&#960;"), which every page the program writes shows as the character.
// Malformed UTF-8 still becomes kCp1252Replacement. Adds the number of
// references written to *references when given.
std::string Utf8ToCp1252Referencing(std::string_view utf8, std::size_t* references = nullptr);

// The way back: the references that Utf8ToCp1252Referencing writes (decimal,
// without a leading zero, of a character the code page lacks) become the
// character again, so that a person sees what they typed; everything else as
// Cp1252ToUtf8. The two are exact inverses on the core's text.
std::string Cp1252ToUtf8ResolvingReferences(std::string_view text);

// bytes holds UTF-16 little-endian code units; unpaired surrogates and
// characters outside Windows-1252 become kCp1252Replacement.
std::string Utf16LeToCp1252(std::string_view bytes);

// The byte of one Unicode character, or nothing when the code page lacks it.
std::optional<char> Cp1252Byte(char32_t cp);

// True when the text is pure 7-bit ASCII, i.e. its UTF-8 form is the same bytes.
bool IsAscii(std::string_view text);

} // namespace tavimor
