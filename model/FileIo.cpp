#include "model/FileIo.h"

#include "model/Errors.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

namespace tavimor {

bool EnsureFolder(const std::string& folder)
{
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return std::filesystem::is_directory(folder, error);
}

namespace {

// Closes a descriptor and, unless released, removes the temporary file.
class TemporaryFile {
public:
    TemporaryFile(int fd, std::string path)
        : fd_(fd)
        , path_(std::move(path))
    {
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile()
    {
        if (fd_ >= 0)
            ::close(fd_);
        if (!kept_)
            ::unlink(path_.c_str());
    }

    int Fd() const { return fd_; }
    const std::string& Path() const { return path_; }
    bool Close()
    {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }
    void Keep() { kept_ = true; }

private:
    int fd_;
    std::string path_;
    bool kept_ = false;
};

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

} // namespace

std::string ReadWholeFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw FileOpenError(path);
    struct stat info { };
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        throw FileOpenError(path);
    }
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(info.st_size));
    char chunk[65536];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            ::close(fd);
            throw FileOpenError(path);
        }
        if (got == 0)
            break;
        bytes.append(chunk, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return bytes;
}

void WriteFileAtomically(const std::string& path, std::string_view bytes, FileSync sync)
{
    const bool durable = sync == FileSync::Durable;
    const std::filesystem::path target(path);
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    // A hidden name beside the target, so that the rename stays within one file system.
    std::string leaf = ".";
    leaf += target.filename().string();
    leaf += ".XXXXXX";
    std::string pattern = (folder / leaf).string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        throw FileCreateError(path);
    TemporaryFile temporary(fd, pattern);

    // Keep the permissions of the file being replaced, or the usual ones of a new file.
    struct stat existing { };
    if (::stat(path.c_str(), &existing) == 0) {
        ::fchmod(fd, existing.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }

    if (!WriteAll(fd, bytes) || (durable && ::fsync(fd) != 0) || !temporary.Close())
        throw StreamWriteError();
    if (::rename(temporary.Path().c_str(), path.c_str()) != 0)
        throw StreamWriteError();
    temporary.Keep();
    if (!durable)
        return;

    // Make the new name itself durable. The file is already in place, so a
    // folder that cannot be synced is no reason to report a failed save.
    const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
}

} // namespace tavimor
