// The whole document as JSON text (UTF-8) and back: the to-json and
// from-json commands, lossless in both directions.
#pragma once

#include "model/DocumentFile.h"

#include <stdexcept>
#include <string>
#include <string_view>

namespace tavimor {

// A JSON text that does not describe a document.
class JsonFormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Every value of the document, keys in the order of the document file;
// version is the version the document was read from.
std::string DocumentToJsonText(const TQuizDocument& doc, int version);

// Reads a JSON text as DocumentToJsonText writes it into doc, which holds a
// new document: keys left out keep its values. JsonFormatError names
// sourceName and the place of the first value that does not fit.
void DocumentFromJsonText(std::string_view text, const std::string& sourceName, TQuizDocument& doc);

} // namespace tavimor
