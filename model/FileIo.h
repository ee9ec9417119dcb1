// Whole-file reading and writing for the core's files.
#pragma once

#include <string>
#include <string_view>

namespace tavimor {

// The bytes of the file at path; "Cannot open file %s" when it cannot be read.
std::string ReadWholeFile(const std::string& path);

// Replaces the file at path with bytes without ever leaving it damaged: the
// bytes go to a temporary file in the same folder, every write is checked,
// the data is synced, and only then is the temporary file renamed over path.
// On failure the previous file is untouched and the temporary file removed:
// "Cannot create file %s" when the temporary file cannot be made,
// "Stream write error" when writing, syncing or renaming fails.
void WriteFileAtomically(const std::string& path, std::string_view bytes);

} // namespace tavimor
