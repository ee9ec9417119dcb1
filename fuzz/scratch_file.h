// The file a harness hands to a reader that only reads files: one per
// fuzzing process, rewritten for every input and removed right after it.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace tavimor::fuzz {

class ScratchFile {
public:
    // extension (".ini") is kept so the reader sees the name it expects.
    explicit ScratchFile(const std::string& extension)
        : path_(Folder() + "tavimor-fuzz-" + std::to_string(::getpid()) + extension)
    {
    }

    const std::string& Path() const { return path_; }

    // The input as the file's whole content.
    void Write(const std::uint8_t* data, std::size_t size) const
    {
        std::FILE* file = std::fopen(path_.c_str(), "wb");
        if (file == nullptr)
            std::abort();
        if (size > 0)
            std::fwrite(data, 1, size, file);
        std::fclose(file);
    }

    // Called once the file has been read, for every input: the fuzzer ends
    // without running exit handlers, so nothing would remove it later.
    void Remove() const { std::remove(path_.c_str()); }

private:
    // A memory-backed folder when there is one: the writers sync what they write.
    static std::string Folder() { return ::access("/dev/shm", W_OK) == 0 ? "/dev/shm/" : "/tmp/"; }

    std::string path_;
};

} // namespace tavimor::fuzz
