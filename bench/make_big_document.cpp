// tavimor-bigdoc [--short] COUNT OUT.kwz: writes the benchmarks' big document
// with COUNT questions as a document file, or with --short their bank of
// short questions, for the whole-process measurements of
// bench/whole-process.sh.
#include "bench/BigDocument.h"
#include "model/DocumentFile.h"

#include <charconv>
#include <cstring>
#include <exception>
#include <iostream>

int main(int argc, char** argv)
{
    const bool shortQuestions = argc == 4 && std::strcmp(argv[1], "--short") == 0;
    const int first = shortQuestions ? 2 : 1;
    int count = 0;
    const char* countText = argc == first + 2 ? argv[first] : "";
    const char* countEnd = countText + std::strlen(countText);
    const auto parsed = std::from_chars(countText, countEnd, count);
    if (argc != first + 2 || parsed.ec != std::errc() || parsed.ptr != countEnd || count < 1 || count > 65535) {
        std::cerr << "usage: tavimor-bigdoc [--short] COUNT OUT.kwz (COUNT from 1 to 65535)\n";
        return 2;
    }
    try {
        const auto make = shortQuestions ? tavimor::bench::MakeShortDocument : tavimor::bench::MakeBigDocument;
        tavimor::SaveDocument(make(count), argv[first + 1]);
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
    return 0;
}
