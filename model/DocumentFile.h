// The quiz document file (.kwz): a typed value stream holding the header, the
// layout block, the generic banks, the page texts, the questions and the
// style block. Version 5 is written; 3, 4 and 5 (and above, as 5) are read.
#pragma once

#include "base/FileIo.h"
#include "model/QuestModel.h"
#include "model/QuizHeader.h"
#include "presentation/PageTexts.h"
#include "presentation/StylePrefs.h"

#include <array>
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

// What the settings give every new document of a run.
struct NewDocumentDefaults {
    std::string PrefsDir; // the style preferences' folder
    // The author's identity when the settings keep it: name, e-mail,
    // institution, web address.
    std::optional<std::array<std::string, 4>> Identity;
    // The evaluation and results page texts when the settings keep them.
    std::optional<std::array<THMessPage, 2>> KeptPages;
    bool UseCertainty = false; // the certainty option as the last run left it
};

// The one definition of a new document, as the editor has it at start-up and
// after "Nouveau", and as a file or a text is read into: the header's
// start-up values (with the defaults' identity and certainty option), no
// question, the default generic messages and no-answer message, default
// layout flags and image names, an empty entry page, the default texts of
// the evaluation and results pages (or the kept ones), and the start-up style
// elements with the preferences folder.
void ResetToStartupState(TQuizDocument& doc, const NewDocumentDefaults& defaults);

// The quiz's file name from a document path: the path's file name cut before
// its first "." (the file system's spelling; empty for an untitled document).
// The site's folder, its script and the files written beside the document
// are named after it.
std::string QuizFileNameOf(const std::string& documentPath);
inline void ResetToStartupState(TQuizDocument& doc, const std::string& prefsDir)
{
    ResetToStartupState(doc, NewDocumentDefaults {prefsDir, {}, {}, false});
}
TQuizDocument NewDocument(const NewDocumentDefaults& defaults);

// The whole file image, version 5. The file counts questions in 16 bits:
// questions beyond the 65535th are not written.
std::string DocumentBytes(const TQuizDocument& doc);
// Writes the document to path without ever damaging the file already there.
void SaveDocument(const TQuizDocument& doc, const std::string& path);

struct LoadOutcome {
    int version = 0;
    // Set for version 2 or lower: "La version N n'est plus supportée..."
    std::optional<std::string> refusal;
};

// Reads a document into doc, which the caller has emptied. Errors stop the
// reading at the value concerned ("Stream read error" at the end of the data,
// "Invalid property value" for a value of another kind); what was read before
// stays in doc. Nothing is allocated beyond what the bytes can hold.
LoadOutcome LoadDocument(TQuizDocument& doc, const std::string& path);
LoadOutcome ReadDocument(TQuizDocument& doc, std::string_view bytes);

class TQuestViews;
// The same reading for a production: doc gets everything but the questions,
// which go into quests (made with doc.Quests) as views of the file's bytes,
// held by quests. Same outcome and errors as LoadDocument.
LoadOutcome LoadDocumentForProduction(TQuizDocument& doc, TQuestViews& quests, const std::string& path);
LoadOutcome ReadDocumentForProduction(TQuizDocument& doc, TQuestViews& quests, ByteBlock bytes);

} // namespace tavimor
