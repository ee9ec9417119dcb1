// Feeds arbitrary bytes, as the content of a .sprf file, to the style
// preferences reader. An unreadable number in an element style is the one
// expected failure. Whatever was read must give a style sheet, and the
// document's style block written from it must read back without an error.
#include "base/Errors.h"
#include "base/ValueStream.h"
#include "presentation/StylePrefs.h"
#include "scratch_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const tavimor::fuzz::ScratchFile input(".sprf");
    input.Write(data, size);
    tavimor::TStylePrefs prefs;
    prefs.SetStartupElements("");
    try {
        prefs.LoadFromFile(input.Path());
    } catch (const tavimor::ConvertError&) {
        // The element read so far stays; the preferences must still be usable.
    }
    input.Remove();
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
