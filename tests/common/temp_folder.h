// A fresh folder for one test's files, removed with everything in it, and the
// whole-file reads and writes the tests do there. Shared by every test suite.
#pragma once

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

namespace tavimor::test {

// The whole content of a file. A file that cannot be read throws, so that a
// missing file fails the test instead of comparing as empty.
inline std::string ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path.string());
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Replaces the whole content of a file with bytes.
inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

class TempFolder {
public:
    // The folder is made under the system's temporary folder with a name that
    // starts with prefix, so that one a crashed test left behind says whose it is.
    explicit TempFolder(const std::string& prefix = "tavimor-test")
    {
        std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("mkdtemp failed for " + pattern);
        path_ = pattern + "/";
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Ends with "/", so that a name can be appended.
    const std::string& Path() const { return path_; }
    // The same folder for path arithmetic, without the final "/".
    std::filesystem::path Dir() const { return std::filesystem::path(path_).parent_path(); }
    // The path of name (which may hold sub-folders) inside the folder.
    std::string File(const std::string& name) const { return path_ + name; }

    // Writes bytes as the whole content of name and returns its path.
    std::string Write(const std::string& name, const std::string& bytes) const
    {
        const std::string path = File(name);
        WriteBytes(path, bytes);
        return path;
    }

    // The names of what lies directly in the folder, files and folders, sorted.
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::string path_;
};

} // namespace tavimor::test
