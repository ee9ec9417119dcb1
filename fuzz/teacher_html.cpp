// Feeds arbitrary bytes, as a text a teacher typed, to the reader of teacher
// HTML that the self-contained page and the platform exports rely on. Its
// searches take sixteen bytes at a time, so any length and any byte must be
// read without going past the text. What it finds must hold together: every
// picture source lies inside the text, and a quietened text has nothing left
// to quieten (a page's policy would otherwise refuse part of it).
#include "generator/TeacherHtml.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A block of the text's exact size, so that a read past its end is seen.
    const auto bytes = std::make_unique<char[]>(size == 0 ? 1 : size);
    std::copy(data, data + size, bytes.get());
    const std::string_view html(bytes.get(), size);

    tavimor::ForEachImageSourceSpan(html, [&](const std::string&, std::string_view written) {
        if (!written.empty()
            && (written.data() < html.data() || written.data() + written.size() > html.data() + size)) {
            std::fprintf(stderr, "a picture source outside the text\n");
            std::abort();
        }
    });

    std::string quiet;
    if (tavimor::AppendQuietHtml(quiet, html)) {
        std::string again;
        if (tavimor::AppendQuietHtml(again, quiet)) {
            std::fprintf(stderr, "the quietened text still has something to quieten: %s\n", quiet.c_str());
            std::abort();
        }
    }
    return 0;
}
