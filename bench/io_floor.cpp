// tavimor-io-floor DOC.kwz FOLDER SIZE...: the reading and writing of a
// production without any of its work, the floor under its time. Reads DOC
// whole into memory of its own, as a production does, then writes one file
// of each SIZE (bytes) into FOLDER, which it makes, through a temporary file
// and a rename, from one reused 256 KiB buffer, as a production writes a long
// page. Measured beside `cp` in bench/whole-process.sh.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

// Into memory the reading is the first to write: nothing fills it before.
std::unique_ptr<char[]> ReadWhole(const char* path, std::size_t& size)
{
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    struct stat info { };
    if (fd < 0 || ::fstat(fd, &info) != 0)
        return nullptr;
    size = static_cast<std::size_t>(info.st_size);
    std::unique_ptr<char[]> bytes(new char[size]);
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = ::read(fd, bytes.get() + got, size - got);
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    return got == size ? std::move(bytes) : nullptr;
}

bool WriteFile(const std::string& path, std::size_t size, const std::vector<char>& chunk)
{
    const std::string temporary = path + ".tmp";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    for (std::size_t put = 0; put < size;) {
        const ssize_t n = ::write(fd, chunk.data(), std::min(chunk.size(), size - put));
        if (n <= 0) {
            ::close(fd);
            return false;
        }
        put += static_cast<std::size_t>(n);
    }
    return ::close(fd) == 0 && ::rename(temporary.c_str(), path.c_str()) == 0;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::size_t> sizes;
    for (int i = 3; i < argc; ++i) {
        std::size_t size = 0;
        const char* end = argv[i] + std::strlen(argv[i]);
        if (std::from_chars(argv[i], end, size).ptr != end) {
            sizes.clear();
            break;
        }
        sizes.push_back(size);
    }
    if (argc < 4 || sizes.size() != static_cast<std::size_t>(argc - 3)) {
        std::cerr << "usage: tavimor-io-floor DOC.kwz FOLDER SIZE...\n";
        return 2;
    }
    std::size_t documentSize = 0;
    const std::unique_ptr<char[]> document = ReadWhole(argv[1], documentSize);
    if (!document) {
        std::cerr << "cannot read " << argv[1] << '\n';
        return 1;
    }
    // The bytes written are the document's first ones: what they are does
    // not matter to the system.
    std::vector<char> chunk(256 * 1024);
    std::copy_n(document.get(), std::min(documentSize, chunk.size()), chunk.begin());
    const std::string folder = argv[2];
    ::mkdir(folder.c_str(), 0755);
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        if (!WriteFile(folder + "/" + std::to_string(i), sizes[i], chunk)) {
            std::cerr << "cannot write into " << folder << '\n';
            return 1;
        }
    }
    return 0;
}
