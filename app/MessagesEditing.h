// The messages editing of the main window: on the "Mess." sub-page the
// generic-message chooser ("changer de mess."), the attached file chosen with
// the link dialog or reused from another question; on the "Messages" tab the
// two generic banks with their counter and the renamable page-text labels.
// The feedback side itself is copied by TEditorBinding; this class decides
// what the controls around it do.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <string>
#include <vector>

class QLabel;
class QWidget;

namespace tavimor {

class TEditorBinding;
class TMessagesTab;
class TQuestList;
class TQuestionsTab;

class TMessagesEditing : public QObject {
    Q_OBJECT

public:
    struct Hooks {
        // Where the link dialog opens while the author has not chosen a
        // folder in it: the output folder of the produced site, else the
        // document's folder; empty when there is neither.
        std::function<QString()> LinkStartFolder;
        // The author changed the document.
        std::function<void()> Modified;
    };

    // window parents the dialogs and the error boxes; every object given
    // outlives this one, which the window owns.
    TMessagesEditing(QWidget& window, TQuestList& quests, TEditorBinding& binding, TQuestionsTab& questions,
        TMessagesTab& messages, Hooks hooks);

    // The window's reset: bank 1, entry 0 shown; the overlays closed.
    void Reset();
    // The main tab just became index (TMain::MainTab): the chooser gives its
    // controls back when the Questions tab is left; entering the Messages tab
    // shows the entry of the bank as the document now holds it.
    void MainTabChanged(int index);

    // The bank and the 0-based entry the Messages tab shows.
    int Bank() const { return bank_; }
    int Entry() const { return entry_; }
    bool ChooserOpen() const { return inChooser_; }

protected:
    // Right presses on the renamable captions.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // "changer de mess." and its "fermer".
    void OpenChooser();
    void CloseChooser(bool choose);
    void LendToChooser();
    void GiveBackToGroup();

    // The attached file.
    void ChooseAttachedFile();
    void OpenFileReuse();
    void ShowReusedFile(int row);
    void AcceptReusedFile();

    // The generic banks.
    std::vector<std::string>& ShownBank();
    void SelectBank(int bank);
    void FollowSide(int side);
    void BrowseBank();
    void AddEntry();
    void DeleteEntry();
    void ShowEntry();
    void EntryEdited();

    // Opens the one-line editor on caption; the new caption when it was
    // accepted with a text, else caption itself.
    QString AskCaption(const QString& caption);
    void StoreSide();

    QWidget& window_;
    TQuestList& quests_;
    TEditorBinding& binding_;
    TQuestionsTab& q_;
    TMessagesTab& m_;
    Hooks hooks_;

    int bank_ = 1;
    int entry_ = 0;
    bool inChooser_ = false;
    // While the editor fills the entry box itself, its changes are no edits.
    int filling_ = 0;

    // The folder of the link dialog: the last one the author accepted it in,
    // or, after a new production, the new output folder.
    QString linkFolder_;
    QString lastStartFolder_;
    // The frame targets offered by the link dialog (none so far).
    QStringList linkList_;
};

} // namespace tavimor
