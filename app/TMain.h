// The editor's main window: it assembles the menus, the tool bar and the five
// tabs around one session, and runs the start-up and shut-down sequences.
// The session owns the open quiz; each tab shows itself from it and writes
// its edits through it; the commands live in their own classes.
#pragma once

#include "model/DocumentFile.h"
#include "platform/AppSettings.h"
#include "presentation/StylePrefs.h"

#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <memory>

class QAction;
class QLabel;
class QTabWidget;
class QTimer;

namespace tavimor {

class QuizSession;
class TClassResultsWindow;
class TDocumentCommands;
class THtmlCommands;
class TInfoTab;
class TLayoutTab;
class TMessagesEditing;
class TMessagesTab;
class TQuestionEditor;
class TQuestionsTab;
class TSessionBridge;
class TStyleDlg;

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

    QuizSession& Session() const { return *session_; }
    const TQuizDocument& Document() const;
    QString CurrentFile() const;
    bool IsModified() const;
    const AppSettings& Settings() const { return settings_; }
    QString SettingsFilePath() const { return settingsFile_; }
    void RebuildList();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildMenus();
    void BuildToolBar();
    void BuildTabs();
    void BuildEditors();
    // A menu or tool-bar command: what the screen holds is stored into the
    // session first, and errors end in the error box.
    template <typename Action> void OnCommand(QAction* action, Action command);

    void StartUp();
    void EmbedStyleDialog();
    void OpenAtStartUp();
    void ShutDown();
    void MainTabChanged(int index);

    // The screen after the session took a new document.
    void ShowNewDocument();
    void ShowHeader();
    void StoreHeader();
    void StyleEdited();
    void ShowStyle();
    void ShowState();
    void ShowDocumentName();
    void PlaceAnswerEditor();
    NewDocumentDefaults DefaultsFromSettings() const;
    void Help();
    void About();
    void Preferences();
    // The class results window, for the document as the screen shows it.
    void ClassResults();
    // An open class results window follows the document: it checks the
    // results again shortly after the last change, so that a burst of edits
    // gathers them once.
    void FollowWithClassResults();
    void ShowClassResultsDocument();

    Options options_;
    QString settingsFile_;
    AppSettings settings_;
    std::unique_ptr<QuizSession> session_;
    std::unique_ptr<TSessionBridge> bridge_;
    bool started_ = false;
    // The style preferences the Style tab edits; the session takes a copy
    // at each change.
    TStylePrefs styleEdits_;
    int styleWriting_ = 0;

    QTabWidget* mainTabs_ = nullptr;
    QLabel* activThem_ = nullptr;
    TInfoTab* infoTab_ = nullptr;
    TQuestionsTab* questTab_ = nullptr;
    TMessagesTab* messTab_ = nullptr;
    TLayoutTab* layoutTab_ = nullptr;
    QWidget* styleTab_ = nullptr;
    TStyleDlg* styleDlg_ = nullptr; // created at the first show
    QAction* typeAction_ = nullptr;
    QAction* undoAction_ = nullptr;
    QAction* redoAction_ = nullptr;
    QPointer<TClassResultsWindow> classResults_; // made when first asked for
    QTimer* classResultsFollow_ = nullptr;

    // Destroyed before the bridge and the session they work on.
    std::unique_ptr<THtmlCommands> html_;
    std::unique_ptr<TQuestionEditor> editor_;
    std::unique_ptr<TMessagesEditing> messages_;
    std::unique_ptr<TDocumentCommands> documents_;
};

} // namespace tavimor
