// The open quiz: one owner for the document, its file name, the preferences
// folder, the modified state and the undo history. The editor and the
// command-line tool drive it; every change goes through one of its commands
// and is announced to the listeners. Text is Windows-1252, paths are the file
// system's own, as everywhere in the core.
#pragma once

#include "exchange/ImportReport.h"
#include "exchange/PlatformQuestion.h"
#include "exchange/ScormPackage.h"
#include "generator/ExamVersions.h"
#include "generator/GifSource.h"
#include "generator/PageSet.h"
#include "generator/StandaloneQuiz.h"
#include "model/DocumentFile.h"
#include "presentation/HtmlParams.h"
#include "session/EditHistory.h"
#include "session/SessionListener.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tavimor {

struct SessionOptions {
    NewDocumentDefaults Defaults; // what every new document starts from; its PrefsDir is the preferences folder
    const GifSource* Gifs = nullptr; // the built-in images; must outlive the session
    // Announcements of the productions (new folders); the final messages
    // are returned, not announced.
    Notifier Notify;
    // Told the evaluation and results page texts a file or a text brings,
    // so that the settings can keep them for new documents.
    THMPList::RememberHook RememberPages;
};

// The result of writing the exam and its key.
struct ExamOutcome {
    bool Written = false;
    std::string Message; // Windows-1252
    std::vector<std::string> Files; // the exam, then its key; with their PDF files each after it when asked for
};

// The versions of the exam, their keys and the key of all versions.
struct ExamVersionsOutcome {
    bool Written = false;
    std::string Message; // Windows-1252
    std::uint64_t Seed = 0;
    std::vector<TExamVersion> Versions;
    // Each version's files, in the versions' order: its exam, then its PDF
    // when asked for.
    std::vector<std::vector<std::string>> VersionFiles;
    // The key of all versions (HTML only), then each version's key, each
    // followed by its PDF when asked for.
    std::vector<std::string> KeyFiles;
};

class QuizSession {
public:
    explicit QuizSession(SessionOptions options);
    ~QuizSession();
    QuizSession(const QuizSession&) = delete;
    QuizSession& operator=(const QuizSession&) = delete;

    const TQuizDocument& Document() const { return doc_; }
    const std::string& Path() const { return path_; } // empty: untitled
    const std::string& PrefsDir() const { return options_.Defaults.PrefsDir; }
    bool IsModified() const { return history_.IsModified(); }
    // Where the last production put the site (OutDir, PagesDir...).
    const THKWZ& Site() const { return *site_; }
    void SetDefaults(NewDocumentDefaults defaults) { options_.Defaults = std::move(defaults); }

    void AddListener(SessionListener& listener);
    void RemoveListener(SessionListener& listener);

    // ---- Documents. A command that fails throws and leaves the document,
    // its file name and its modified state as they were.

    // The new document of the defaults, untitled and unmodified.
    void New();
    // Reads the document file at path. A version no longer read is refused:
    // the outcome holds the message and nothing changes.
    LoadOutcome Open(const std::string& path);
    // Writes the document to its file, which must be named.
    void Save();
    // Names the document path, then saves it there.
    void SaveAs(const std::string& path);
    // A new untitled document from a text export: modified, since it is on disk nowhere.
    void ImportText(const std::string& path);
    // A new untitled document from JSON text (DocumentToJsonText's form).
    void ImportJson(std::string_view text, const std::string& sourceName);
    // Writes the text export to path, by default beside the document
    // (ExportTextPath); returns the path written.
    std::string ExportText(const std::string& path = {});
    std::string ExportJson() const;

    // ---- Productions. resumBody is the body text the script keeps for the
    // entry page (the page-texts editor's, or page 0's).
    ProduceOutcome ProduceSite(const std::string& resumBody);
    // With pdf, the exam and its key are also written as PDF files beside
    // them, with the same names ending in .pdf (print/ExamPdf.h).
    ExamOutcome WriteExam(bool pdf = false);
    // Versions A, B... of the exam, each with its key, and the key of all
    // versions (ExamVersionsKeyPage) beside the exam; with options.Pdf each
    // version's exam and key also as PDF files. A version count out of
    // range throws Error; nothing is written then.
    ExamVersionsOutcome WriteExamVersions(const TExamVersionOptions& options);
    StandaloneOutcome ProduceStandalone(const std::string& resumBody, const std::string& outputPath = {});
    // The site of the document file at path, read for this production alone
    // (its questions as views of the file: several times faster, in less
    // memory, for a big document) with its entry page's body as resumBody.
    // The open document is neither read nor changed. The preferences folder
    // is made when missing. A version no longer read gives the refusal of
    // Open and writes nothing.
    template <class Outcome> struct FileOutcome {
        std::optional<std::string> refusal;
        Outcome produced;
    };
    FileOutcome<ProduceOutcome> ProduceSiteOfFile(const std::string& path) const;
    // The self-contained quiz of the document file at path, read in the same way.
    FileOutcome<StandaloneOutcome> ProduceStandaloneOfFile(
        const std::string& path, const std::string& outputPath = {}) const;
    // The exam and its answer key of the document file at path, read in the
    // same way, as WriteExam writes them for the open document.
    FileOutcome<ExamOutcome> WriteExamOfFile(const std::string& path, bool pdf = false) const;
    // ---- Learning platforms.

    // Adds the questions of a bank read from another program's file after
    // question after (0: before the first) as one step that can be undone
    // ("l'importation de 12 questions"), the first of them shown. Its
    // pictures are written first into pictureFolder, by default the
    // document's. Returns the import report (ImportReportText). Nothing
    // changes when the bank holds no question (ImportError, with the report),
    // when the quiz would hold more than 65535 questions, or when pictures
    // have no folder to go to (an untitled document): Error.
    std::string ImportQuestions(TImportedBank bank, int after, const std::string& pictureFolder = {});
    // The GIFT and Moodle XML question files, by default beside the document
    // under the quiz name (.gift, .xml); an untitled document needs a path.
    // The result names the file and says what could not be carried.
    TPlatformExport ExportGift(const std::string& path = {});
    TPlatformExport ExportMoodleXml(const std::string& path = {});
    // The questions as a spreadsheet file (.csv), one question a row, that
    // the spreadsheet import reads back to the same questions.
    TPlatformExport ExportSpreadsheet(const std::string& path = {});
    // The SCORM 1.2 package, by default QuizName-scorm.zip beside the document.
    TScormOutcome ProduceScormPackage(
        const std::string& resumBody, int passMark = kDefaultPassMark, const std::string& outputPath = {});

    // The layout parameters file: loading is one step (nothing when the
    // file is refused: the outcome says why).
    HtmlParamsOutcome LoadParams(const std::string& path);
    void SaveParams(const std::string& path) const;

    // ---- Edits. Each is one step of the history, named for "Annuler ...";
    // an edit that changes nothing adds no step; the changes of one generic
    // message, or of the no-answer message, that follow each other make one
    // step. Questions are numbered from 1.

    // Appends a new question of that type; returns its number.
    int AddQuestion(TRepType type);
    // Appends quest as it is (a question written on screen before it was added).
    int AddQuestion(const TQuest& quest);
    void DeleteQuestion(int n);
    // Question from takes place to; the others keep their order.
    void MoveQuestion(int from, int to);
    // The editor's store of the question it shows. A difference the author
    // cannot see (the own text of a side that shows its generic message...)
    // is kept without a step.
    void UpdateQuestion(int n, const TQuest& quest);
    // A cloze question keeps no columns.
    void SetQuestionType(int n, TRepType type);
    void SetQuestionText(int n, const std::string& text);
    void SetChoices(int n, const std::vector<std::string>& choices);
    void SetRightChoice(int n, int choice); // -1: none
    void SetColumns(int n, int columns);
    void SetPriority(int n, int priority);
    // One feedback side: its generic message by index, or its own text.
    void SetFeedback(int n, int side, bool useGeneric, int genericIndex, const std::string& ownText);
    // The attached file of the wrong-answer side: link caption and file.
    void SetAttachedFile(int n, bool use, const std::string& linkCaption, const std::string& file);

    void SetHeader(const QuizHeader& header);
    void SetNoAnswerMessage(const std::string& text);
    // Returns the index of the new message.
    int AddGenericMessage(int side, const std::string& text = {});
    void SetGenericMessage(int side, int k, const std::string& text);
    // A bank keeps one message at least; the questions' indexes into the
    // bank are repaired (ShiftMessIdx).
    void DeleteGenericMessage(int side, int k);
    void SetPageText(int page, const std::string& title, const std::string& body);
    void SetLayoutFlags(bool menuLeft, bool noBorder, bool distinctPages);
    void SetStyle(const TStylePrefs& style);

    // ---- History
    bool CanUndo() const { return history_.CanUndo(); }
    bool CanRedo() const { return history_.CanRedo(); }
    std::string UndoName() const { return history_.UndoName(); }
    std::string RedoName() const { return history_.RedoName(); }
    void Undo();
    void Redo();

    // The question the editor shows (TQuestList::CurQ): a view of the
    // document, not a change of it.
    void SetCurrentQuestion(int n);

private:
    void Replace(TQuizDocument doc, std::string path, int version, bool onDisk);
    void Do(EditStep step);
    void Notify(const SessionChange& change);
    void NotifyState();
    // Reads the document file at path for a production (its questions as
    // views of the file), then gives produce(document, questions) its outcome.
    template <class Outcome, class Produce>
    FileOutcome<Outcome> ProduceFromFile(const std::string& path, Produce produce) const;
    // Points site at the document file at documentPath, with this session's
    // preferences folder and notifications.
    void AimSite(THKWZ& site, const std::string& documentPath) const;
    const TQuest& QuestionAt(int n) const;
    void EditQuestion(int n, const std::string& name, const std::function<void(TQuest&)>& edit);
    void RememberPages() const;
    std::string ExportTarget(const std::string& path, const char* suffix) const;

    SessionOptions options_;
    TQuizDocument doc_;
    std::string path_;
    int fileVersion_ = kDocumentVersion;
    EditHistory history_;
    std::unique_ptr<THKWZ> site_;
    std::vector<SessionListener*> listeners_;
};

} // namespace tavimor
