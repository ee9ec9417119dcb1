// The quiz site of a document (index.html and the hPages folder: eight pages,
// the quiz script, the style sheet and nine images) and its printable exam
// and answer key.
//
// Page texts are Windows-1252 with LF line breaks; every page is stored with
// CR LF after each line. Paths are the file system's own (UTF-8) and use "/".
// The generator never shows anything: the French messages go to Notify.
#pragma once

#include "generator/GifSource.h"
#include "model/DocumentFile.h"
#include "model/QuestionViews.h"

#include <functional>
#include <optional>
#include <string>

namespace tavimor {

// Shows one French message (Windows-1252) to the user, e.g. in an information box.
using Notifier = std::function<void(const std::string& message)>;

// The preferences folder's file of the image called name, written there from
// the built-in image first when the folder has none: an image the author puts
// there replaces the built-in one in every production. Returns its path.
std::string PrefsImageFile(const GifSource& gifs, const std::string& prefsDir, const std::string& name);

struct ProduceOutcome {
    bool Produced = false; // the whole site was written
    std::string Message; // the final message, Windows-1252
};

class THKWZ {
public:
    // Both objects live at least as long as the generator (the editor owns
    // all three for the whole run).
    THKWZ(const TQuizDocument& doc, const GifSource& gifs);
    // The generator of a document read for a production: its questions are
    // quests (doc holds none), which lives as long as the generator too.
    THKWZ(const TQuizDocument& doc, const TQuestViews& quests, const GifSource& gifs);

    // Read at each production.
    std::string DocumentPath; // the current document file
    std::string PrefsDir; // preferences folder, ending with "/"
    std::string ResumBody; // body text shown in the page-texts editor (the script's Resum)
    Notifier Notify; // announcements and, unless quiet, the final message

    // Set by SetFolders and kept for the exam and the browser command.
    std::string QuizName; // file name cut before its first ".", Windows-1252 as pages show it
    std::string IndexName = "index.html";
    std::string ScriptName; // QuizName + ".js"
    std::string OutDir; // folder of the document + quiz name + "/"
    std::string PagesDir; // OutDir + "hPages/"

    // "Impossible de produire le test!", preceded by one line per question
    // without choices, when the document cannot be produced; else nothing.
    static std::optional<std::string> Refusal(const TQuestList& quests);
    static std::optional<std::string> Refusal(const TQuestViews& quests);
    // One line "La question N n'a pas de bonne réponse." per question whose
    // right answer is not one of its choices, each after a line feed; empty
    // when every question has one.
    static std::string RightAnswerWarnings(const TQuestList& quests);
    static std::string RightAnswerWarnings(const TQuestViews& quests);

    // Checks the document, then writes the whole site. File errors propagate
    // and leave the pages written so far in place.
    ProduceOutcome Produce(bool quiet);

    // Quiz name and folders from DocumentPath; creates OutDir and PagesDir,
    // announcing each one that did not exist. A path without a file name
    // (an untitled document) gives no quiz name: then nothing is created, the
    // folders stay empty and the result is false.
    bool SetFolders();

    // The exam (key false) or its answer key (key true) into OutDir, after the
    // style sheet into PagesDir and a copy of it beside the exam. Runs
    // SetFolders first when no production has set the folders yet; false, with
    // kNoFileName notified, when there is still no folder.
    bool WriteExam(bool key);
    // The letter of the exam's version ("A"), empty for the one exam of the
    // document: a version's exam and key are named with it (Xexm-A.htm,
    // Xsol-A.htm) and show it under their title.
    std::string ExamVersion;
    // The key of all versions into OutDir (Xsol-versions.htm): the seed,
    // then for each version its questions' numbers in the document and their
    // right answers. Returns the file written.
    std::string WriteExamVersionsKey(const std::string& versionsKeyPage);
    std::string ExamVersionsKeyPath() const;

    // Shown instead of writing into the root folder when the document has no file name yet.
    static constexpr const char* kNoFileName = "Le document n'a pas de nom de fichier: enregistrez-le d'abord.";

    // Page texts, LF line breaks.
    std::string IndexPage() const;
    static std::string TopMenuPage();
    static std::string BlankPageText();
    std::string MenuPage() const;
    std::string MainPage() const;
    std::string QuestPage() const;
    std::string EndPage() const;
    std::string ResultPage() const;
    std::string MessPage() const;
    std::string ExamPage(bool key) const;
    std::string ExamQuestions(bool key) const;

    // Page pieces.
    std::string ScriptTag() const;
    static std::string WriteCall(const std::string& call);
    std::string CountLine() const;
    static std::string IdentForm();
    static std::string NavBlock();

    // "Le répertoire " + folder + " vient d'être créé."
    static std::string FolderAnnouncement(const std::string& folder);

    // File names of the exam and the key in OutDir.
    std::string ExamPath(bool key) const;
    // "L'examen Xexm.htm et son corrigé Xsol.htm viennent d'être créés."
    // after WriteExam; withFolder puts " dans le dossier " + OutDir before the point.
    std::string ExamAnnouncement(bool withFolder) const;

private:
    template <class Quests> ProduceOutcome ProduceWith(const Quests& quests, bool quiet);
    int QuestionCount() const;
    // Calls f with the questions: the views when there are, else the document's list.
    template <class F> decltype(auto) WithQuestions(F f) const { return viewed_ ? f(*viewed_) : f(doc_.Quests); }
    void MakeAnnouncedFolder(const std::string& folder) const;
    // Every file of the site but the script.
    void WriteOtherFiles() const;
    void WriteStyleSheet(const std::string& path) const;
    void WriteImages() const;

    const TQuizDocument& doc_;
    const GifSource& gifs_;
    const TQuestViews* viewed_ = nullptr;
    std::string quizFileName_; // QuizName as the file system spells it
};

} // namespace tavimor
