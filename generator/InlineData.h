// The encodings a self-contained page needs to carry its own resources:
// base64 data: addresses, content-security-policy hashes of inline blocks,
// and JSON strings that are safe inside a script element.
#pragma once

#include <string>
#include <string_view>

namespace tavimor {

class TextBuffer;

// Standard base64 with padding.
std::string Base64(std::string_view bytes);

// "'sha256-" + base64 of the SHA-256 digest of text + "'", the source
// expression that lets a page's policy run the inline block whose content is
// exactly text (the browser hashes the block as it parsed it: line breaks
// are LF only).
std::string CspHashSource(std::string_view text);

// The media type of a picture from its first bytes (GIF, JPEG, PNG, WebP,
// BMP, ICO, SVG), else from the extension of fileName; empty when neither says.
std::string ImageMediaType(std::string_view bytes, std::string_view fileName);

// "data:" + mediaType + ";base64," + Base64(bytes).
std::string DataAddress(std::string_view mediaType, std::string_view bytes);

// Appends cp1252 as a JSON string (quotes included) in UTF-8. Besides what
// JSON requires, every "<" is written \u003c so that no text can end the
// script element that holds the data or open a comment inside it.
void AppendJsonString(TextBuffer& out, std::string_view cp1252);
// The same for text that is already UTF-8 (file system paths).
void AppendJsonStringUtf8(TextBuffer& out, std::string_view utf8);

} // namespace tavimor
