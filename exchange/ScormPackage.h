// The quiz as a SCORM 1.2 package that a learning platform takes as an
// activity: a ZIP holding imsmanifest.xml and one SCO, the self-contained
// quiz page with an adapter that reports to the platform's run-time API
// (the name from cmi.core.student_name; score, pass or fail against the
// pass mark, and one interaction per question when the results are shown).
#pragma once

#include "exchange/PlatformQuestion.h"
#include "generator/GifSource.h"
#include "model/DocumentFile.h"

#include <string>
#include <string_view>
#include <vector>

namespace tavimor {

inline constexpr int kDefaultPassMark = 50;

// The SCO's page inside the package.
inline constexpr const char* kScormLaunchPage = "index.html";

struct TScormFile {
    std::string Name; // path inside the package, "/" between folders
    std::string Bytes;
};

// imsmanifest.xml for one organization with one item whose SCO starts at
// launch and is made of files; title is Windows-1252 text, identifier an
// XML name. passMark (0-100) is the item's mastery score.
std::string ScormManifest(const std::string& title, const std::string& identifier, int passMark,
    const std::string& launch, const std::vector<std::string>& files);

// The adapter script as the program carries it (resources/scorm).
std::string_view ScormAdapterSource();

// The adapter script with its pass mark (0-100) set.
std::string ScormAdapterScript(int passMark);

// The ZIP bytes of the package: imsmanifest.xml first, then files in order.
std::string ScormZip(const std::string& manifest, const std::vector<TScormFile>& files);

// The ZIP bytes of the whole package of the quiz whose SCO page (the
// self-contained quiz carrying ScormAdapterScript) is given: the manifest
// names the activity after the entry page's title, or quizName (UTF-8)
// when that title is empty.
std::string ScormPackageBytes(
    const TQuizDocument& doc, const std::string& quizName, int passMark, const std::string& page);

// The package name beside the document: QuizName-scorm.zip.
std::string ScormPackagePath(const std::string& documentPath);

// A production of the package as the editor and tavimor-cli run it.
struct TScormJob {
    std::string DocumentPath; // the current document file
    std::string PrefsDir; // preferences folder, ending with "/"
    std::string ResumBody; // Windows-1252: body text shown in the page-texts editor
    std::string OutputPath; // where to write; empty: ScormPackagePath(DocumentPath)
    int PassMark = kDefaultPassMark; // percent, 0-100: passed at or above it
};

struct TScormOutcome {
    bool Produced = false; // the package was written
    std::string Message; // the final message or the refusal, Windows-1252
    std::string OutputPath; // the file written
};

// The self-contained quiz of the document (checked, with its images and
// pictures, as that production does) carrying the adapter, packed with its
// manifest and written to the output path. File errors propagate; the file
// already there is replaced only once the whole package is written.
TScormOutcome ProduceScormPackage(const TQuizDocument& doc, const GifSource& gifs, const TScormJob& job);

} // namespace tavimor
