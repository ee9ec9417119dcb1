// The quiz document file (.kwz): a typed value stream holding the header, the
// layout block, the generic banks, the page texts, the questions and the
// style block. Version 5 is written; 3, 4 and 5 (and above, as 5) are read.
#pragma once

#include "model/QuestModel.h"
#include "model/QuizHeader.h"
#include "presentation/PageTexts.h"
#include "presentation/StylePrefs.h"

#include <optional>
#include <string>
#include <string_view>

namespace tavimor {

inline constexpr int kDocumentVersion = 5;

// Everything a document file holds, as the editor keeps it for one run.
struct TQuizDocument {
    QuizHeader Header;
    TQuestList Quests;
    THMPList Pages;
    THTMPrefs Layout;
    TStylePrefs Style;
};

// The document as the editor has it after start-up or "Nouveau" with the
// settings' defaults: start-up style elements, pages 1 and 2 with the
// remembered default texts.
void ResetToStartupState(TQuizDocument& doc, const std::string& prefsDir);

// The whole file image, version 5.
std::string DocumentBytes(const TQuizDocument& doc);
// Writes the document to path without ever damaging the file already there.
void SaveDocument(const TQuizDocument& doc, const std::string& path);

struct LoadOutcome {
    int version = 0;
    // Set for version 2 or lower: "La version N n'est plus supportée..."
    std::optional<std::string> refusal;
};

// Reads a document into doc, which the caller has emptied. Errors stop the
// reading at the value concerned; what was read before stays in doc.
LoadOutcome LoadDocument(TQuizDocument& doc, const std::string& path);
LoadOutcome ReadDocument(TQuizDocument& doc, std::string_view bytes);

} // namespace tavimor
