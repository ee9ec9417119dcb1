// The pictures a question's HTML shows, found on disk as the produced pages
// would find them, so that an export can carry them inside its own file.
//
// The image dialog writes paths relative to the site's folder behind "../",
// for pages that live in the site's hPages folder: a source is therefore
// looked for from <document folder>/<quiz name>/hPages/ first, as the site
// and the self-contained quiz find it, then from the document's folder (for
// a tag typed by hand). Web addresses, data: sources and absolute paths are
// left alone; only picture files are read.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavimor {

// The value of the src attribute of one <img> tag: where it stands in the
// text (without its quotes) and the address it gives.
struct TImageSource {
    std::size_t At = 0;
    std::size_t Length = 0;
    std::string Value;
};

// Every <img> tag's source, in text order, read as a browser reads tags.
std::vector<TImageSource> ImageSources(std::string_view html);

// A picture carried inside the export.
struct TEmbeddedFile {
    std::string Name; // file name in the export, UTF-8
    std::string Path; // where it was read
    std::string Bytes;
};

class ImageEmbedder {
public:
    // documentPath: the document file (UTF-8 path); pictures are looked for
    // around it. prefix goes before a picture's name in the rewritten source.
    ImageEmbedder(const std::string& documentPath, std::string prefix);

    // html (Windows-1252) with the source of every picture found replaced by
    // prefix + its percent-encoded name; the pictures are added to files
    // (each name once; two different pictures of the same name get "-2",
    // "-3"... before the extension). Sources not found are added to missing.
    std::string Embed(std::string_view html, std::vector<TEmbeddedFile>& files, std::vector<std::string>& missing);

    // Where the source's picture is on disk; empty when it is not found (or
    // is not a picture, or is too large to carry); nothing for a source that
    // is not looked for on disk.
    std::optional<std::string> Locate(const std::string& source) const;

private:
    std::string pagesFolder_;
    std::string documentFolder_;
    std::string prefix_;
    std::map<std::string, std::string> bytesByPath_;
};

} // namespace tavimor
