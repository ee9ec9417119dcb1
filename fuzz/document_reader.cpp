// Feeds arbitrary bytes to the document reader on a fresh start-up document,
// from memory and from a file (read in pieces), which must end the same way.
// The read errors of the core are the expected outcome of damaged input;
// anything else (another exception, a crash, a sanitizer report) is a finding.
#include "base/Errors.h"
#include "model/DocumentFile.h"
#include "scratch_file.h"

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
    static const tavimor::fuzz::ScratchFile file(".kwz");
    file.Write(data, size);
    tavimor::TQuizDocument fromFile = startup;
    std::string fileError;
    try {
        tavimor::LoadDocument(fromFile, file.Path());
    } catch (const tavimor::Error& e) {
        fileError = e.what();
    }
    file.Remove();

    tavimor::TQuizDocument doc = startup;
    std::string error;
    bool refused = false;
    try {
        refused = tavimor::ReadDocument(doc, std::string_view(reinterpret_cast<const char*>(data), size))
                      .refusal.has_value();
    } catch (const tavimor::Error& e) {
        error = e.what();
    }
    if (error != fileError || tavimor::DocumentBytes(doc) != tavimor::DocumentBytes(fromFile)) {
        std::fprintf(stderr, "reading from the file differs: '%s' against '%s'\n", fileError.c_str(), error.c_str());
        std::abort();
    }
    if (refused || !error.empty())
        return 0;

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
