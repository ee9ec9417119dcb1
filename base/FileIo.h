// Whole-file reading and writing for the core's files.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace tavimor {

// The folder part of a path, with its final "/" ("" for a bare file name).
std::string FolderPart(const std::string& path);
// The file name of a path: what follows its last "/".
std::string FileNamePart(const std::string& path);

// Creates folder and any missing parents; false when it still does not exist.
bool EnsureFolder(const std::string& folder);

// The bytes of the file at path; "Cannot open file %s" when it cannot be read.
std::string ReadWholeFile(const std::string& path);

// Memory of its own for the bytes of a whole file, its pages made in one
// step rather than one fault at a time as they are first written: for a big
// file read once into memory and then worked on where it stands.
class ByteBlock {
public:
    ByteBlock() = default;
    // size bytes, of unspecified value; std::bad_alloc when there is no room.
    explicit ByteBlock(std::size_t size);
    ~ByteBlock();
    ByteBlock(ByteBlock&& other) noexcept;
    ByteBlock& operator=(ByteBlock&& other) noexcept;

    char* Data() { return data_; }
    const char* Data() const { return data_; }
    std::size_t Size() const { return size_; }
    std::string_view View() const { return {data_, size_}; }
    // Keeps the first size bytes (at most Size()).
    void Shrink(std::size_t size);

private:
    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t mapped_ = 0;
};

// The bytes of the file at path, as ReadWholeFile reads them.
ByteBlock ReadWholeFileBlock(const std::string& path);

// A regular file read front to back in pieces, so that a reader can take its
// values without holding the whole file. "Cannot open file %s" when the file
// cannot be opened, is no regular file, or a read fails.
class FileReader {
public:
    explicit FileReader(const std::string& path);
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    // Up to room bytes into `into`; 0 at the end of the file.
    std::size_t Read(char* into, std::size_t room);
    // What is left by the size the file had when it was opened.
    std::size_t SizeLeft() const { return offset_ < size_ ? size_ - offset_ : 0; }
    bool AtEnd() const { return ended_ || offset_ >= size_; }

private:
    std::string path_;
    int fd_ = -1;
    std::size_t size_ = 0;
    std::size_t offset_ = 0;
    bool ended_ = false;
};

// How far a replaced file is protected. Both kinds replace a file atomically:
// its bytes go to a temporary file in the same folder and only a complete
// file is renamed over the old one, so no reader ever finds half a file.
enum class Durability {
    // The data and then the new name are synced to the disk before the call
    // returns: for what cannot be made again (the document, the settings, the
    // parameter and style-preference files).
    Durable,
    // No sync: after a system crash the file may be older than the last write
    // (or, on some file systems, empty). For what the program writes again
    // from the document: the pages of a site, its images, the exam.
    Regenerable,
};

// A file written in pieces and put in place by Commit(), with the guarantees
// of its Durability. Until Commit() succeeds the previous file at path is
// untouched; a writer destroyed without Commit() (after an error, say) removes
// its temporary file. The replaced file's permissions are kept; a new file
// gets the usual ones (0666 less the umask).
// "Cannot create file %s" when the temporary file cannot be made, "Stream
// write error" when writing, syncing or renaming fails.
class AtomicFile {
public:
    AtomicFile(const std::string& path, Durability durability);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    void Write(std::string_view bytes);
    // Calls use with the bytes written so far from offset on (none when
    // offset is past them), read back from the system's cache: mapped where
    // the system can, else read into memory. For a last look at what was
    // written before the file is finished; "Stream write error" when they
    // cannot be read back.
    void ReadBack(std::size_t offset, const std::function<void(std::string_view)>& use) const;
    void Commit();

private:
    std::string path_;
    std::string temporaryPath_;
    Durability durability_;
    int fd_ = -1;
    std::size_t written_ = 0;
    bool committed_ = false;
};

// Replaces the file at path with bytes through an AtomicFile.
void WriteFileAtomically(const std::string& path, std::string_view bytes, Durability durability);

} // namespace tavimor
