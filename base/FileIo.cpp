#include "base/FileIo.h"

#include "base/Errors.h"
#include "base/LargePages.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <new>
#include <utility>

namespace tavimor {

std::string FolderPart(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string FileNamePart(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool EnsureFolder(const std::string& folder)
{
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return std::filesystem::is_directory(folder, error);
}

namespace {

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

std::filesystem::path FolderOf(const std::string& path)
{
    const std::filesystem::path target(path);
    return target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
}

} // namespace

FileReader::FileReader(const std::string& path)
    : path_(path)
    , fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC))
{
    if (fd_ < 0)
        throw FileOpenError(path);
    struct stat info { };
    if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd_);
        throw FileOpenError(path);
    }
    size_ = static_cast<std::size_t>(info.st_size);
}

FileReader::~FileReader()
{
    ::close(fd_);
}

std::size_t FileReader::Read(char* into, std::size_t room)
{
    for (;;) {
        const ssize_t got = ::read(fd_, into, room);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw FileOpenError(path_);
        if (got == 0 && room > 0)
            ended_ = true;
        offset_ += static_cast<std::size_t>(got);
        return static_cast<std::size_t>(got);
    }
}

std::string ReadWholeFile(const std::string& path)
{
    FileReader file(path);
    // Read straight into the text; a file that grows meanwhile is read to its
    // new end, one that shrinks to what is left. Only a file that turns out
    // longer than its size said costs a reallocation.
    std::string bytes(file.SizeLeft(), '\0');
    std::size_t filled = 0;
    char probe[4096];
    for (;;) {
        const bool full = filled == bytes.size();
        const std::size_t got
            = full ? file.Read(probe, sizeof probe) : file.Read(bytes.data() + filled, bytes.size() - filled);
        if (got == 0)
            break;
        if (full) {
            bytes.append(probe, got);
            bytes.resize(bytes.capacity()); // fill the spare capacity next
        }
        filled += got;
    }
    bytes.resize(filled);
    return bytes;
}

// A sanitized build takes the block from the allocator, whose checks then
// cover every access to it.
#if defined(__SANITIZE_ADDRESS__)
#define TAVIMOR_BLOCKS_FROM_THE_ALLOCATOR 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TAVIMOR_BLOCKS_FROM_THE_ALLOCATOR 1
#endif
#endif

ByteBlock::ByteBlock(std::size_t size)
    : size_(size)
    , mapped_(size)
{
    if (size == 0)
        return;
#ifdef TAVIMOR_BLOCKS_FROM_THE_ALLOCATOR
    data_ = new char[size];
#else
    data_ = MapPopulatedPages(size);
#endif
}

ByteBlock::~ByteBlock()
{
    if (data_ == nullptr)
        return;
#ifdef TAVIMOR_BLOCKS_FROM_THE_ALLOCATOR
    delete[] data_;
#else
    UnmapPages(data_, mapped_);
#endif
}

ByteBlock::ByteBlock(ByteBlock&& other) noexcept
    : data_(std::exchange(other.data_, nullptr))
    , size_(std::exchange(other.size_, 0))
    , mapped_(std::exchange(other.mapped_, 0))
{
}

ByteBlock& ByteBlock::operator=(ByteBlock&& other) noexcept
{
    ByteBlock old(std::move(*this));
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
    mapped_ = std::exchange(other.mapped_, 0);
    return *this;
}

void ByteBlock::Shrink(std::size_t size)
{
    size_ = std::min(size, size_);
}

ByteBlock ReadWholeFileBlock(const std::string& path)
{
    FileReader file(path);
    // One byte more than the file's size tells a file that grew meanwhile,
    // which is then read to its new end as ReadWholeFile does.
    ByteBlock block(file.SizeLeft() + 1);
    std::size_t filled = 0;
    while (filled < block.Size()) {
        const std::size_t got = file.Read(block.Data() + filled, block.Size() - filled);
        if (got == 0) {
            block.Shrink(filled);
            return block;
        }
        filled += got;
    }
    std::string bytes(block.View());
    char more[4096];
    while (const std::size_t got = file.Read(more, sizeof more))
        bytes.append(more, got);
    ByteBlock grown(bytes.size());
    std::copy(bytes.begin(), bytes.end(), grown.Data());
    return grown;
}

namespace {

// The file-creation mask, read once: the programs never change it, and
// reading it means setting it twice.
mode_t ProcessUmask()
{
    static const mode_t mask = [] {
        const mode_t current = ::umask(0);
        ::umask(current);
        return current;
    }();
    return mask;
}

} // namespace

AtomicFile::AtomicFile(const std::string& path, Durability durability)
    : path_(path)
    , durability_(durability)
{
    // A hidden name beside the target, so that the rename stays within one file system.
    std::string leaf = ".";
    leaf += std::filesystem::path(path).filename().string();
    leaf += ".XXXXXX";
    temporaryPath_ = (FolderOf(path) / leaf).string();
    fd_ = ::mkstemp(temporaryPath_.data());
    if (fd_ < 0)
        throw FileCreateError(path);

    // Keep the permissions of the file being replaced, or the usual ones of a new file.
    struct stat existing { };
    if (::stat(path.c_str(), &existing) == 0)
        ::fchmod(fd_, existing.st_mode & 07777);
    else
        ::fchmod(fd_, 0666 & ~ProcessUmask());
}

AtomicFile::~AtomicFile()
{
    if (fd_ >= 0)
        ::close(fd_);
    if (!committed_)
        ::unlink(temporaryPath_.c_str());
}

void AtomicFile::Write(std::string_view bytes)
{
    if (fd_ < 0 || !WriteAll(fd_, bytes))
        throw StreamWriteError();
    written_ += bytes.size();
}

void AtomicFile::ReadBack(std::size_t offset, const std::function<void(std::string_view)>& use) const
{
    if (fd_ < 0)
        throw StreamWriteError();
    if (offset >= written_) {
        use({});
        return;
    }
    const std::size_t size = written_ - offset;
    // The pages the system already holds are mapped as they are: nothing is
    // copied and no memory is made.
    static const auto pageSize = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    const std::size_t start = offset - offset % pageSize;
    const std::size_t length = written_ - start;
    void* const mapped = ::mmap(nullptr, length, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd_, static_cast<off_t>(start));
    if (mapped != MAP_FAILED) {
        struct Unmap {
            void* at;
            std::size_t length;
            ~Unmap() { ::munmap(at, length); }
        } const unmap {mapped, length};
        use({static_cast<const char*>(mapped) + (offset - start), size});
        return;
    }
    std::string bytes(size, '\0');
    std::size_t filled = 0;
    while (filled < size) {
        const ssize_t got = ::pread(fd_, bytes.data() + filled, size - filled, static_cast<off_t>(offset + filled));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            throw StreamWriteError();
        filled += static_cast<std::size_t>(got);
    }
    use(bytes);
}

void AtomicFile::Commit()
{
    if (fd_ < 0)
        throw StreamWriteError();
    const bool synced = durability_ == Durability::Regenerable || ::fsync(fd_) == 0;
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 || !synced)
        throw StreamWriteError();
    if (::rename(temporaryPath_.c_str(), path_.c_str()) != 0)
        throw StreamWriteError();
    committed_ = true;
    if (durability_ == Durability::Regenerable)
        return;

    // Make the new name itself durable. The file is already in place, so a
    // folder that cannot be synced is no reason to report a failed save.
    const int folderFd = ::open(FolderOf(path_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
}

void WriteFileAtomically(const std::string& path, std::string_view bytes, Durability durability)
{
    AtomicFile file(path, durability);
    file.Write(bytes);
    file.Commit();
}

} // namespace tavimor
