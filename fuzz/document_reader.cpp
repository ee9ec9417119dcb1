// Feeds arbitrary bytes to the document reader on a fresh start-up document.
// The read errors of the core are the expected outcome of damaged input;
// anything else (another exception, a crash, a sanitizer report) is a finding.
#include "model/DocumentFile.h"
#include "model/Errors.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const tavimor::TQuizDocument startup = [] {
        tavimor::TQuizDocument doc;
        tavimor::ResetToStartupState(doc, "");
        return doc;
    }();
    tavimor::TQuizDocument doc = startup;
    try {
        const auto outcome = tavimor::ReadDocument(doc, std::string_view(reinterpret_cast<const char*>(data), size));
        if (outcome.refusal)
            return 0;
    } catch (const tavimor::Error&) {
        return 0;
    }

    // Whatever was read is written out again, and what is written must read
    // back without an error.
    const std::string written = tavimor::DocumentBytes(doc);
    tavimor::TQuizDocument again = startup;
    try {
        tavimor::ReadDocument(again, written);
    } catch (const tavimor::Error& e) {
        std::fprintf(stderr, "a document written from this input does not read back: %s\n", e.what());
        std::abort();
    }
    return 0;
}
