// tavimor-bigdoc COUNT OUT.kwz: writes the benchmarks' big document with COUNT
// questions as a document file, for the whole-process measurements of
// bench/whole-process.sh.
#include "bench/BigDocument.h"
#include "model/DocumentFile.h"

#include <charconv>
#include <cstring>
#include <exception>
#include <iostream>

int main(int argc, char** argv)
{
    int count = 0;
    const char* countText = argc == 3 ? argv[1] : "";
    const char* countEnd = countText + std::strlen(countText);
    const auto parsed = std::from_chars(countText, countEnd, count);
    if (argc != 3 || parsed.ec != std::errc() || parsed.ptr != countEnd || count < 1 || count > 65535) {
        std::cerr << "usage: tavimor-bigdoc COUNT OUT.kwz (COUNT from 1 to 65535)\n";
        return 2;
    }
    try {
        tavimor::SaveDocument(tavimor::bench::MakeBigDocument(count), argv[2]);
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
    return 0;
}
