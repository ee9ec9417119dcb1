// The messages editing of the main window: on the "Mess." sub-page the
// generic-message chooser ("changer de mess."), the attached file chosen with
// the link dialog or reused from another question; on the "Messages" tab the
// page texts, the two generic banks with their counter, the no-answer message
// and the renamable labels. Every change goes through the session; the tab
// shows what the session holds.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace tavimor {

class QuizSession;
class TMessagesTab;
class TQuestionEditor;
class TQuestionsTab;
class TSessionBridge;

class TMessagesEditing : public QObject {
    Q_OBJECT

public:
    struct Hooks {
        // Where the link dialog opens while the author has not chosen a
        // folder in it: the output folder of the produced site, else the
        // document's folder; empty when there is neither.
        std::function<QString()> LinkStartFolder;
    };

    // window parents the dialogs and the error boxes; every object given
    // outlives this one, which the window owns.
    TMessagesEditing(QWidget& window, TSessionBridge& bridge, TQuestionEditor& editor, TQuestionsTab& questions,
        TMessagesTab& messages, Hooks hooks);

    // A new document on screen: bank 1, entry 0 shown, no page text shown,
    // the no-answer message shown; the overlays closed.
    void Reset();
    // The main tab just became index (TMain::MainTab): the chooser gives its
    // controls back when the Questions tab is left; entering the Messages tab
    // shows page 0 and the entry of the bank as the document now holds it.
    void MainTabChanged(int index);
    // Stores what the Messages tab shows: the page text, the generic entry
    // and the no-answer message.
    void StoreShown();

protected:
    // Right presses on the renamable captions, F2 in their fields.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QuizSession& Session() const;

    // "changer de mess." and its "fermer".
    void OpenChooser();
    void CloseChooser(bool choose);
    void LendToChooser();
    void GiveBackToGroup();

    // The attached file.
    void ChooseAttachedFile();
    void OpenFileReuse();
    // The keyboard goes back to the button that opened the panel.
    void CloseFileReuse();
    void ShowReusedFile(int row);
    void AcceptReusedFile();
    void AttachedFileTicked(bool ticked);

    // The page texts.
    void ShowPage(int page);
    void StorePage();
    void PageTabChanged(int index);

    // The generic banks.
    const std::vector<std::string>& ShownBank() const;
    void SelectBank(int bank);
    void FollowSide(int side);
    void BrowseBank();
    void AddEntry();
    void DeleteEntry();
    void ShowEntry();
    void EntryEdited();
    void NoAnswerEdited();

    // What the session changed that the tab shows.
    void MessagesChanged(int side);
    void PageChanged(int page);

    // Opens the one-line editor on caption; the new caption when it was
    // accepted with a text, else caption itself.
    QString AskCaption(const QString& caption);

    QWidget& window_;
    TSessionBridge& bridge_;
    TQuestionEditor& editor_;
    TQuestionsTab& q_;
    TMessagesTab& m_;
    Hooks hooks_;

    int bank_ = 1;
    int entry_ = 0;
    int shownPage_ = -1;
    bool inChooser_ = false;
    // While the editor fills its boxes or writes into the session, their
    // changes and the session's echoes are not edits of the author.
    int filling_ = 0;

    // The folder of the link dialog: the last one the author accepted it in,
    // or, after a new production, the new output folder.
    QString linkFolder_;
    QString lastStartFolder_;
    // The frame targets offered by the link dialog (none so far).
    QStringList linkList_;
};

} // namespace tavimor
