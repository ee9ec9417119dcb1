// Whole-file reading and writing for the core's files.
#pragma once

#include <string>
#include <string_view>

namespace tavimor {

// Creates folder and any missing parents; false when it still does not exist.
bool EnsureFolder(const std::string& folder);

// The bytes of the file at path; "Cannot open file %s" when it cannot be read.
std::string ReadWholeFile(const std::string& path);

// How far a write goes before it returns.
enum class FileSync {
    Durable, // the data and the new name reach the disk (documents, the site)
    Replaced, // the file is replaced whole but left to the system's cache: for
              // a big output that can be produced again at any time
};

// Replaces the file at path with bytes without ever leaving it damaged: the
// bytes go to a temporary file in the same folder, every write is checked,
// the data is synced (FileSync::Durable), and only then is the temporary file
// renamed over path. On failure the previous file is untouched and the
// temporary file removed: "Cannot create file %s" when the temporary file
// cannot be made, "Stream write error" when writing, syncing or renaming fails.
void WriteFileAtomically(const std::string& path, std::string_view bytes, FileSync sync = FileSync::Durable);

} // namespace tavimor
