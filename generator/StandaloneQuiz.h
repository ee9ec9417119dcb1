// The self-contained quiz ("Quiz autonome"): one HTML page that holds the
// whole quiz (texts, pictures, style sheet and runtime script), runs from a
// double-click in any current browser and makes no request at all.
//
// The page is UTF-8. Its Content-Security-Policy allows nothing but the
// page's own inline script and style blocks (by hash) and data: pictures.
#pragma once

#include "generator/GifSource.h"
#include "model/DocumentFile.h"
#include "model/QuestionViews.h"

#include <array>
#include <map>
#include <string>
#include <vector>

namespace tavimor {

// What the page is made of besides the document.
struct StandaloneContent {
    std::string QuizName; // Windows-1252: the page's title
    std::string ResumBody; // Windows-1252: the text shown under the entry page's title
    // The bytes of the nine images, in the order of DefaultImageNames().
    std::array<std::string, kImageCount> Gifs;
    // The pictures the teacher's texts refer to: the src value as written
    // (Windows-1252) and the data: address that replaces it.
    std::map<std::string, std::string> Pictures;
    // An optional script run before the runtime (a host such as a learning
    // platform's adapter, see the contract at the top of quiz.js). Its
    // text is placed as it is (ASCII or UTF-8).
    std::string HostScript;
};

// The whole page. A pure function of its arguments: any text of the document
// is safe in it (none can end the data block or add markup outside its place).
std::string StandalonePage(const TQuizDocument& doc, const StandaloneContent& content);
// The same for a document read for a production: its questions are quests.
std::string StandalonePage(const TQuizDocument& doc, const TQuestViews& quests, const StandaloneContent& content);

// A production of the page as the editor and tavimor-cli run it.
struct StandaloneJob {
    std::string DocumentPath; // the current document file
    std::string PrefsDir; // preferences folder, ending with "/"
    std::string ResumBody; // Windows-1252: body text shown in the page-texts editor
    std::string OutputPath; // where to write; empty: StandalonePath(DocumentPath)
    std::string HostScript; // see StandaloneContent
};

struct StandaloneOutcome {
    bool Produced = false; // the page was written
    std::string Message; // the final message, Windows-1252
    std::string OutputPath; // the file written
    std::vector<std::string> MissingPictures; // src values (Windows-1252) left out of the page
};

// The document's folder + the quiz name (the site's rule) + ".html": the page
// sits beside the site folder. Empty for a path without a file name.
std::string StandalonePath(const std::string& documentPath);

// The page ProduceStandalone writes, made without writing it.
struct StandaloneBuild {
    std::string Page; // empty when the document is refused
    std::string Message; // the refusal, Windows-1252
    std::vector<std::string> MissingPictures; // src values (Windows-1252) left out of the page
};
StandaloneBuild BuildStandalone(const TQuizDocument& doc, const GifSource& gifs, const StandaloneJob& job);

// One line per picture left out, each after a line break: what the final
// message of a production adds (Windows-1252).
std::string PicturesLeftOut(const std::vector<std::string>& missing);

// Checks the document as the site production does (same refusal messages),
// takes the nine images from the preferences folder as the site does
// (writing the built-in ones there first), gathers the pictures of the
// teacher's texts relative to the site's page folder, and writes the page.
// File errors propagate; the file already at the output path is replaced only
// once the whole page is written.
StandaloneOutcome ProduceStandalone(const TQuizDocument& doc, const GifSource& gifs, const StandaloneJob& job);
StandaloneOutcome ProduceStandalone(
    const TQuizDocument& doc, const TQuestViews& quests, const GifSource& gifs, const StandaloneJob& job);

} // namespace tavimor
