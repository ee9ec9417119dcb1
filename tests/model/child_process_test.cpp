// Tests that need a process of their own: a file-size limit that makes a save
// fail for real, and a memory ceiling while a hostile file is read.
#include "base/Errors.h"
#include "base/FileIo.h"
#include "common/child_process.h"
#include "common/temp_folder.h"
#include "model/DocumentFile.h"
#include "model/sample_document.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <sstream>

namespace tavimor {
namespace {

using test::RunInChild;
using test::TempFolder;
using test::WriteBytes;

TEST(AtomicSave, FailedWriteLeavesTheOldFileIntact)
{
    TempFolder folder;
    const std::string path = folder.File("quiz.kwz");
    const std::string old = DocumentBytes(test::RichDocument());
    WriteBytes(path, old);

    TQuizDocument big = test::StartupDocument();
    for (int i = 0; i < 200; ++i) {
        big.Quests.AddQuest();
        big.Quests.Current().QText = std::string(2000, 'q');
    }
    ASSERT_GT(DocumentBytes(big).size(), 300000u);

    // 0: "Stream write error"; 1: another error; 2: the save reported success.
    const int status = RunInChild([&] {
        const rlimit limit {64 * 1024, 64 * 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, SIG_IGN);
        try {
            SaveDocument(big, path);
        } catch (const Error& e) {
            return std::string(e.what()) == "Stream write error" ? 0 : 1;
        }
        return 2;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadWholeFile(path), old);
    EXPECT_EQ(folder.Names(), std::vector<std::string> {"quiz.kwz"});
}

TEST(AtomicSave, MissingFolderCannotBeCreated)
{
    TempFolder folder;
    const std::string path = folder.File("absent/quiz.kwz");
    try {
        SaveDocument(test::StartupDocument(), path);
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.what(), "Cannot create file " + path);
    }
    EXPECT_TRUE(folder.Names().empty());
}

TEST(AtomicSave, ReplacesTheFileAndKeepsItsPermissions)
{
    TempFolder folder;
    const std::string path = folder.File("quiz.kwz");
    WriteBytes(path, "ancien contenu");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);

    const TQuizDocument doc = test::RichDocument();
    SaveDocument(doc, path);
    EXPECT_EQ(ReadWholeFile(path), DocumentBytes(doc));
    struct stat info { };
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(folder.Names(), std::vector<std::string> {"quiz.kwz"});
}

// Peak resident memory of this process in KiB, after resetting it when the
// system allows that.
long PeakKiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

long VirtualBytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmSize:", 0) == 0)
            return std::stol(line.substr(7)) * 1024;
    return -1;
}

TEST(HostileDocument, HugeStringLengthNeedsNoMemory)
{
    TempFolder folder;
    // 30 bytes: the version, then a string announcing 4 GiB, in each encoding.
    const std::pair<char, const char*> tags[] = {{'\x0C', "tag 12"}, {'\x14', "tag 20"}, {'\x12', "tag 18"}};
    for (const auto& [tag, name] : tags) {
        const std::string path = folder.File("hostile.kwz");
        std::string bytes = std::string("\x02\x05", 2) + tag + "\xFF\xFF\xFF\xFF";
        bytes.resize(30, 'a');
        WriteBytes(path, bytes);

        // 0: "Stream read error" with the peak grown by less than 8 MiB;
        // 1: another outcome; 2: too much memory.
        const int status = RunInChild([&] {
            // Nothing may be reserved beyond a few hundred MiB of address space.
            const auto ceiling = static_cast<rlim_t>(VirtualBytes() + 256L * 1024 * 1024);
            const rlimit limit {ceiling, ceiling};
            ::setrlimit(RLIMIT_AS, &limit);
            std::ofstream("/proc/self/clear_refs") << "5"; // resets the peak
            TQuizDocument doc = test::StartupDocument();
            const long before = PeakKiB();
            try {
                LoadDocument(doc, path);
            } catch (const StreamReadError&) {
                return PeakKiB() - before < 8 * 1024 ? 0 : 2;
            } catch (...) {
            }
            return 1;
        });
        EXPECT_EQ(status, 0) << name;
    }
}

} // namespace
} // namespace tavimor
