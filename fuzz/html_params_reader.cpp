// Feeds arbitrary bytes to the HTML parameters reader. The read errors of the
// core and the compatibility refusal are the expected outcomes; a refused file
// must leave the preferences untouched, and an accepted one must write back to
// bytes that read back to the same preferences.
#include "base/Errors.h"
#include "presentation/HtmlParams.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

std::string Image(const tavimor::THTMPrefs& layout)
{
    return tavimor::HtmlParamsBytes(layout);
}

[[noreturn]] void Finding(const char* what)
{
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    tavimor::THTMPrefs layout;
    const std::string before = Image(layout);
    tavimor::HtmlParamsOutcome outcome;
    try {
        outcome = tavimor::ReadHtmlParams(layout, std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const tavimor::Error&) {
        return 0;
    }
    if (!outcome.Compatible) {
        if (outcome.Message != tavimor::kHtmlParamsRefusal)
            Finding("a refused file gave another message");
        if (Image(layout) != before)
            Finding("a refused file changed the preferences");
        return 0;
    }

    const std::string written = Image(layout);
    tavimor::THTMPrefs again;
    try {
        if (!tavimor::ReadHtmlParams(again, written).Compatible)
            Finding("a written file is refused");
    } catch (const tavimor::Error& e) {
        std::fprintf(stderr, "a written file does not read back: %s\n", e.what());
        std::abort();
    }
    if (Image(again) != written)
        Finding("a written file reads back to other preferences");
    return 0;
}
