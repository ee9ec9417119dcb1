// The HTML parameters file (.qph): the layout preferences of the produced site
// kept apart from any quiz. A typed value stream: the signature, the format
// number 1, then the layout block (three flags, five spare strings, nine image
// names). It holds neither page texts nor style preferences.
#pragma once

#include "presentation/PageTexts.h"

#include <string>
#include <string_view>

namespace tavimor {

inline constexpr const char* kHtmlParamsSignature = "Tavimor HTMStyle Prefs";
inline constexpr int kHtmlParamsFormat = 1;
inline constexpr const char* kHtmlParamsRefusal = "Ce fichier n'est pas compatible ...";

// The whole file image for layout.
std::string HtmlParamsBytes(const THTMPrefs& layout);

// Writes the file at path, replacing any file there without ever leaving it
// damaged ("Cannot create file %s" / "Stream write error").
void SaveHtmlParams(const THTMPrefs& layout, const std::string& path);

struct HtmlParamsOutcome {
    bool Compatible = false;
    // kHtmlParamsRefusal when not compatible, for the caller to show.
    std::string Message;
};

// Reads a parameters file into layout. A wrong signature (compared exactly,
// letter case included) or format number reads nothing more and leaves layout
// unchanged. A first value that is not a string is "Invalid property value";
// a file cut short is "Stream read error".
HtmlParamsOutcome ReadHtmlParams(THTMPrefs& layout, std::string_view bytes);
// ReadHtmlParams of the file at path ("Cannot open file %s").
HtmlParamsOutcome LoadHtmlParams(THTMPrefs& layout, const std::string& path);

} // namespace tavimor
