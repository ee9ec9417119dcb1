// The editor's main window: one quiz document, its page texts, layout and
// style preferences for the whole run; the file commands, the question list
// and editor, the start-up and shut-down sequences. It decides when the screen
// is stored into the document and when a question is shown; the copying
// itself is done by TEditorBinding and TPageEditorBinding.
#pragma once

#include "app/EditorBinding.h"
#include "model/DocumentFile.h"
#include "presentation/AppSettings.h"

#include <QMainWindow>
#include <QPoint>
#include <QStringList>

#include <memory>
#include <optional>

class QAction;
class QLabel;
class QTabWidget;
class QUrl;

namespace tavimor {

class THImgDlg;
class THKWZ;
class TInfoTab;
class TLayoutTab;
class TMessagesEditing;
class TStyleDlg;
class TMessagesTab;
class TQuestionsTab;
class TLEditForm;
class TRepTabEdit;
class TSiteServer;

class TMain : public QMainWindow {
    Q_OBJECT

public:
    // Where the run keeps its files and what it does at start-up. A test
    // gives folders of its own and no splash.
    struct Options {
        QString SettingsFolder; // holds the settings file; ends with "/"
        QString PrefsFolder; // the preferences folder ("Prefs"); ends with "/"
        QString DataHome; // where the document type is registered with the desktop
        QString ProgramPath; // names the settings file; the registered command runs it
        bool ShowSplash = true; // the about box before the window appears
        QString FileToOpen; // a document opened at start-up (the program's argument)

        // The running program's folders; the first argument that is not an
        // option is the document to open.
        static Options FromCommandLine(const QStringList& arguments);
    };

    enum MainTab { kInfoTab = 0, kQuestionsTab = 1, kMessagesTab = 2, kLayoutTab = 3, kStyleTab = 4 };

    explicit TMain(Options options, QWidget* parent = nullptr);
    ~TMain() override;

    // Document commands.
    void New();
    void Open();
    // Opens the document at path; false, with the window and document as they
    // were, when it cannot be read.
    bool OpenDocument(const QString& path);
    void OpenFile();
    void AfterLoad();
    bool Save();
    bool SaveAs();
    void Import();
    void Export();
    void ResetScreen();
    void RebuildList();

    // Question commands.
    void AddQuestion();
    void DeleteQuestion();
    void SelectQuestion(int row);
    void DropQuestion(int row);
    // The question-type dialog, preset to the type on screen; nothing when cancelled.
    std::optional<TRepType> AskQuestionType();
    void ChangeType();
    void OpenAnswerEditor();
    void RemoveLast();
    void MoveMark();
    void NextColumns();
    void ShowSide(int side);
    void SwitchGeneric(bool use);

    // HTML and help commands.
    void ProduceSite();
    void ProduceExam();
    void Help();
    void About();
    void Preferences();

    // Layout tab, preview and parameters file.
    void OpenSite();
    void SaveParams();
    void LoadParams();
    void EnterLayoutTab();
    void ShowPreviewPage();
    void RefreshPreview();
    // The image dialog's tag for the caller to put at its caret; empty when
    // there is nothing to insert (no site produced yet, or cancelled).
    QString InsertImage();
    // The editor's "insérer une image" button puts InsertImage at its caret.
    void OfferImageInsertion(TRepTabEdit& editor);
    void OfferImageInsertion(TLEditForm& editor);
    // Serves the output folder of the last production to browsers.
    TSiteServer& SiteServer();

    const QString& CurrentFile() const { return currentFile_; }
    bool IsModified() const { return modified_; }
    TQuizDocument& Document() { return doc_; }
    const AppSettings& Settings() const { return settings_; }
    QString SettingsFilePath() const { return settingsFile_; }
    TEditorBinding& Binding() { return *binding_; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // While the window itself fills its controls, their change signals are
    // not edits of the author.
    class QuietScope {
    public:
        explicit QuietScope(TMain& window)
            : window_(window)
        {
            ++window_.quiet_;
        }
        ~QuietScope() { --window_.quiet_; }
        QuietScope(const QuietScope&) = delete;
        QuietScope& operator=(const QuietScope&) = delete;

    private:
        TMain& window_;
    };

    void BuildMenus();
    void BuildToolBar();
    void BuildTabs();
    void ConnectEditor();
    template <typename Action> void OnTriggered(QAction* action, Action slot);

    void StartUp();
    void EmbedStyleDialog();
    // Shows the style preferences a document brought in the Style tab.
    void ShowStylePrefs();
    void OpenAtStartUp();
    void ShutDown();
    void MainTabChanged(int index);
    void PageTabChanged(int index);

    // The screen into the document: the question on screen (when there is
    // one) and the page text shown.
    void StoreQuestion();
    void StoreScreen();
    // The question editor shows no question: empty text, answers and
    // feedback, the attached-file captions of a new question.
    void ShowNoQuestion();
    // Shows question n and selects its line.
    void ShowQuestion(int n);
    void SelectLine(int row);
    // The header values held in the window's controls, from and into the document.
    void TakeHeaderFromControls();
    void ShowHeaderInControls();
    void ShowDocumentName();
    QString DocumentName() const;
    // Asks whether to save unsaved changes; false when the command is to stop.
    bool MayDiscardChanges();
    void MarkModified();
    void MarkEdited();
    void PlaceAnswerEditor();
    QString ChooseFile(const QString& title, const QString& filter, bool save);
    void ConnectLayoutTab();
    // The produced page previewed by the layout tab; empty before any production.
    QString PreviewFile() const;
    // The address of a produced file: on the loopback server when it listens.
    QUrl SiteUrl(const QString& file);
    void ShowInBrowser(const QString& file);

    Options options_;
    QString settingsFile_;
    AppSettings settings_;
    TQuizDocument doc_;
    std::unique_ptr<THKWZ> site_;
    QString currentFile_;
    bool modified_ = false;
    int quiet_ = 0;
    bool started_ = false;
    int lastTab_ = kInfoTab;
    QPoint answerEditorPos_;

    QTabWidget* mainTabs_ = nullptr;
    QLabel* activThem_ = nullptr;
    TInfoTab* infoTab_ = nullptr;
    TQuestionsTab* questTab_ = nullptr;
    TMessagesTab* messTab_ = nullptr;
    TLayoutTab* layoutTab_ = nullptr;
    QWidget* styleTab_ = nullptr;
    TStyleDlg* styleDlg_ = nullptr; // created at the first show
    QAction* typeAction_ = nullptr;
    std::unique_ptr<TEditorBinding> binding_;
    std::unique_ptr<TPageEditorBinding> pages_;
    // Destroyed before the bindings and the tabs it works on.
    std::unique_ptr<TMessagesEditing> messages_;
    std::unique_ptr<THImgDlg> imgDlg_; // created at its first use, kept for the run
    TSiteServer* siteServer_ = nullptr; // child, created at its first use
};

} // namespace tavimor
