// Whole-file reading and the atomic writer of every kind of file: what a
// reader finds, what an interrupted write leaves, what a replaced file keeps.
#include "base/Errors.h"
#include "base/FileIo.h"
#include "base/ValueStream.h"
#include "common/temp_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <string>

namespace tavimor {
namespace {

using test::TempFolder;

mode_t Permissions(const std::string& path)
{
    struct stat info { };
    EXPECT_EQ(::stat(path.c_str(), &info), 0);
    return info.st_mode & 0777;
}

TEST(FileIo, ReadsWholeFilesOfEverySizeAndRefusesWhatIsNoFile)
{
    TempFolder folder;
    // Around the 2 MB of a large page too: the last bytes of a block on large
    // pages, of one that ends on small ones and of one just over a boundary.
    for (const std::size_t size :
        {0u, 1u, 4095u, 4096u, 65537u, 300000u, 2097151u, 2097152u, 2097153u, 4100000u, 5300000u}) {
        std::string bytes(size, '\0');
        for (std::size_t i = 0; i < size; ++i)
            bytes[i] = static_cast<char>(i * 7 % 251);
        const std::string path = folder.Write("f.bin", bytes);
        EXPECT_EQ(ReadWholeFile(path), bytes) << size;
        ByteBlock block = ReadWholeFileBlock(path);
        EXPECT_EQ(block.View(), bytes) << size;
        // Its bytes are the program's own to change.
        if (size > 0) {
            block.Data()[size - 1] = 'x';
            EXPECT_EQ(ReadWholeFile(path), bytes);
        }
    }
    for (const std::string& path : {folder.Path(), folder.File("absent.bin")}) {
        for (const auto& read :
            {+[](const std::string& p) { ReadWholeFile(p); }, +[](const std::string& p) { ReadWholeFileBlock(p); }}) {
            try {
                read(path);
                ADD_FAILURE() << path;
            } catch (const FileOpenError& e) {
                EXPECT_EQ(e.what(), "Cannot open file " + path);
            }
        }
    }
}

TEST(FileIo, BothDurabilitiesReplaceAtomicallyAndKeepThePermissions)
{
    TempFolder folder;
    for (const Durability durability : {Durability::Durable, Durability::Regenerable}) {
        const std::string path = folder.Write("page.htm", "ancien");
        ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
        {
            AtomicFile file(path, durability);
            file.Write("nou");
            file.Write("veau");
            // Until the commit the previous file is what readers find.
            EXPECT_EQ(ReadWholeFile(path), "ancien");
            file.Commit();
        }
        EXPECT_EQ(ReadWholeFile(path), "nouveau");
        EXPECT_EQ(Permissions(path), 0640u);
        EXPECT_EQ(folder.Names(), std::vector<std::string> {"page.htm"});

        // A new file has the usual permissions of the process, not those of
        // a temporary file.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        const std::string fresh = folder.File("neuf.htm");
        WriteFileAtomically(fresh, "neuf", durability);
        EXPECT_EQ(Permissions(fresh), 0666u & ~mask);
        ASSERT_EQ(::unlink(fresh.c_str()), 0);

        // A writer given up before its commit leaves nothing behind.
        {
            AtomicFile file(path, durability);
            file.Write("abandonn\xE9");
        }
        EXPECT_EQ(ReadWholeFile(path), "nouveau");
        EXPECT_EQ(folder.Names(), std::vector<std::string> {"page.htm"});
    }
    EXPECT_THROW(AtomicFile(folder.File("absent/page.htm"), Durability::Regenerable), FileCreateError);
}

TEST(FileIo, AnAtomicFileReadsBackWhatItHoldsFromAnyOffset)
{
    TempFolder folder;
    const std::string path = folder.File("page.htm");
    std::string bytes(3 * 4096 + 100, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 13 % 251);
    AtomicFile file(path, Durability::Regenerable);
    file.Write(std::string_view(bytes).substr(0, 5000));
    file.Write(std::string_view(bytes).substr(5000));
    const auto readBack = [&](std::size_t offset) {
        std::string seen = "unread";
        file.ReadBack(offset, [&](std::string_view back) { seen = back; });
        return seen;
    };
    // On and off the system's page boundaries, to the end and past it.
    for (const std::size_t offset : {0u, 1u, 4095u, 4096u, 5000u, 12387u, 12388u, 20000u})
        EXPECT_EQ(readBack(offset), std::string_view(bytes).substr(std::min(offset, bytes.size()))) << offset;

    // The file goes on and is put in place as any other.
    file.Write("fin");
    EXPECT_EQ(readBack(bytes.size()), "fin");
    file.Commit();
    EXPECT_EQ(ReadWholeFile(path), bytes + "fin");
    EXPECT_THROW(file.ReadBack(0, [](std::string_view) {}), StreamWriteError);
}

TEST(FileIo, AValueReaderTakesAFileInPieces)
{
    TempFolder folder;
    TValueWriter writer;
    const std::string longText(200000, 'l');
    writer.WriteInteger(-5);
    writer.WriteString(longText);
    writer.WriteString("caf\xE9");
    writer.WriteBoolean(true);
    const std::string path = folder.Write("values.bin", writer.Bytes());

    FileReader file(path);
    TValueReader reader(file);
    EXPECT_EQ(reader.BytesLeft(), writer.Bytes().size());
    EXPECT_EQ(reader.ReadInteger(), -5);
    EXPECT_EQ(reader.ReadString(), longText);
    EXPECT_EQ(reader.ReadString(), "caf\xE9");
    EXPECT_FALSE(reader.AtEnd());
    EXPECT_TRUE(reader.ReadBoolean());
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(reader.Position(), writer.Bytes().size());
    EXPECT_THROW(reader.ReadBoolean(), StreamReadError);
}

TEST(FileIo, AValueReaderTakesValuesAcrossTheEdgesOfItsWindow)
{
    // Five bytes for nearly every value: some straddle the edge of every window the
    // reader takes from the file.
    TempFolder folder;
    TValueWriter writer;
    constexpr std::int32_t kCount = 40000;
    for (std::int32_t i = 0; i < kCount; ++i)
        writer.WriteInteger(i * 40503 - 800000000);
    const std::string path = folder.Write("values.bin", writer.Bytes());

    FileReader file(path);
    TValueReader reader(file);
    std::int32_t wrong = 0;
    for (std::int32_t i = 0; i < kCount; ++i)
        wrong += reader.ReadInteger() != i * 40503 - 800000000;
    EXPECT_EQ(wrong, 0);
    EXPECT_TRUE(reader.AtEnd());

    // A file cut in the middle of its last value ends with the read error.
    const std::string cut = folder.Write("cut.bin", writer.Bytes().substr(0, writer.Bytes().size() - 2));
    FileReader cutFile(cut);
    TValueReader cutReader(cutFile);
    for (std::int32_t i = 0; i + 1 < kCount; ++i)
        cutReader.ReadInteger();
    EXPECT_THROW(cutReader.ReadInteger(), StreamReadError);
}

} // namespace
} // namespace tavimor
