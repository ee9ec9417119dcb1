// Feeds arbitrary bytes, as the content of a .sprf file, to the style
// preferences reader. An unreadable number in an element style is the one
// expected failure. Whatever was read must give a style sheet, and the
// document's style block written from it must read back without an error.
#include "model/Errors.h"
#include "model/ValueStream.h"
#include "presentation/StylePrefs.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

// A memory-backed folder when there is one: the writers sync what they write.
std::string ScratchFolder()
{
    return ::access("/dev/shm", W_OK) == 0 ? "/dev/shm/" : "/tmp/";
}

// The input as the file's whole content.
void WriteInput(const std::string& path, const std::uint8_t* data, std::size_t size)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        std::abort();
    if (size > 0)
        std::fwrite(data, 1, size, file);
    std::fclose(file);
}

// One file per fuzzing process, rewritten for every input.
const std::string& InputPath()
{
    static const std::string path = ScratchFolder() + "tavimor-fuzz-" + std::to_string(::getpid()) + ".sprf";
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    WriteInput(InputPath(), data, size);
    tavimor::TStylePrefs prefs;
    prefs.SetStartupElements("");
    try {
        prefs.LoadFromFile(InputPath());
    } catch (const tavimor::ConvertError&) {
        // The element read so far stays; the preferences must still be usable.
    }
    // Removed at once: the fuzzer ends without running exit handlers.
    std::remove(InputPath().c_str());
    prefs.MakeStyleSheet();

    tavimor::TValueWriter writer;
    prefs.WriteTo(writer);
    tavimor::TStylePrefs again;
    try {
        tavimor::TValueReader reader(writer.Bytes());
        again.ReadFrom(reader);
    } catch (const tavimor::Error& e) {
        std::fprintf(stderr, "the style block written from this file does not read back: %s\n", e.what());
        std::abort();
    }
    return 0;
}
