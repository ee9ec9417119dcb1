// The small text builders from which every produced page and the quiz script
// are assembled, the converters that make document text safe for HTML and
// for script string literals, and the file helpers of the page writers.
// Line breaks inside generated text are a single LF.
#pragma once

#include "generator/GifSource.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tavimor {

inline constexpr char LF = '\n';
inline constexpr char TAB = '\t';

// Tag builders.
std::string TitleTag(const std::string& title);
std::string PageHead(
    const std::string& extra, const std::string& script, const std::string& css, const std::string& title);
std::string HeadingTag(const std::string& text, const std::string& cssClass, std::uint16_t level);
std::string TableTag(std::uint16_t width, std::uint16_t padding, std::uint16_t spacing, bool border);
std::string RuleTag(std::uint16_t width);
std::string AnchorTag(const std::string& target, const std::string& text);
std::string BodyEnd();
std::string ButtonTag(const std::string& name, const std::string& caption, const std::string& action);
std::string CheckBoxTag(const std::string& name, const std::string& label, bool checked);
std::string BlankPage(const std::string& headContent);

// Text converters.
std::string EntityEncode(std::string_view text); // accented letters as named entities
std::string JsEscape(std::string_view text); // for a double-quoted script literal
std::string JsText(std::string_view text); // JsEscape(EntityEncode(text))
std::string FoldAccents(std::string_view text); // link targets

// String helpers.
std::string TextAfterChar(char c, const std::string& s, const std::string& fallback);
std::string TextBefore(const std::string& sub, const std::string& s);
std::string StripExtension(const std::string& s);
std::string RemoveChar(char c, const std::string& s);
std::string ReplaceOrAppend(const std::string& token, const std::string& value, const std::string& s);
std::string BoolToFlag(bool b);
bool FlagToBool(const std::string& s);
// Blanks and control characters (code 32 and below) trimmed at both ends.
std::string Trim(std::string_view s);

// File helpers. Paths are the file system's own (UTF-8 on this platform).
// Creates the folder at path (one level) when none exists; true when it did
// not exist before, so the caller can announce it. A failure to create is not
// reported here: later writes into the folder fail instead.
bool MakeFolder(const std::string& path);
// Writes the built-in image name as folder + name + ".gif" (folder ends with
// a separator). Throws Error("Resource name not found") when there is none.
void ExportGifResource(const GifSource& gifs, const std::string& name, const std::string& folder);
// Copies source to destination; a destination that names a folder gets the
// source's file name. "Cannot open file %s" / "Cannot create file %s".
void CopyFileTo(const std::string& source, const std::string& destination);
// Stores text with CR LF after every line, the last one included; lines are
// split at CR, LF and CR LF. "Cannot create file %s" / "Stream write error".
void SavePage(const std::string& path, std::string_view text);

} // namespace tavimor
