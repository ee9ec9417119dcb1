// The editor-binding operations: they copy one question, one feedback side,
// one page text or the layout flags between the document and the named
// controls of the main window. When they run is the main window's business.
#pragma once

#include "model/QuestModel.h"
#include "presentation/PageTexts.h"

#include <QString>

#include <string>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

namespace tavimor {

class TRepGroup;

// The question editor's controls, by their names.
struct TEditorControls {
    QPlainTextEdit* QuestEdit = nullptr;
    TRepGroup* RepGroup = nullptr;
    QToolButton* colBtn = nullptr;
    QToolButton* MoveRepBtn = nullptr;
    QToolButton* delRepBtn = nullptr;
    QLabel* InfoLab = nullptr;
    QLabel* QTypeLab = nullptr;
    QLabel* QNoLab = nullptr;
    QLabel* MaxQLab = nullptr;
    QListWidget* MainQListBox = nullptr;
    QPushButton* delQBtn = nullptr;
    QButtonGroup* PriRGroup = nullptr; // ids 0 "ordinaire", 1 "additionnelle", 2 "extraordinaire"
    QLineEdit* ValEd = nullptr;
    QAbstractButton* messBtn0 = nullptr; // "si faux"
    QAbstractButton* messBtn1 = nullptr; // "si bon"
    QPlainTextEdit* MessEdit = nullptr;
    QCheckBox* GGCheck = nullptr;
    QCheckBox* ResumCheck = nullptr;
    QCheckBox* ExtFileCheck = nullptr;
    QPushButton* ExtFileBtn = nullptr;
    QPushButton* ReUseFileBtn = nullptr;
    QPushButton* ChMsgBtn = nullptr;
};

// The text of a multi-line box as the core keeps it (line breaks as CR LF,
// non-breaking spaces kept).
std::string MemoToCore(const QPlainTextEdit& memo);
void ShowInMemo(QPlainTextEdit& memo, const std::string& text);

// Copies questions between the document and the question editor.
// Question numbers are 1-based; 0 stands for an empty document.
class TEditorBinding {
public:
    TEditorBinding(TQuestList& quests, const TEditorControls& controls);

    // Shows question n (0: appends a new question instead and shows nothing).
    void LoadToEditor(int n);
    // Copies the editor into question n (0: appends a new question instead).
    // True when the question changed in a way its author would see.
    bool StoreFromEditor(int n);
    // Shows question n, just added and typed, as a new question.
    void PrepareNewInEditor(int n);
    // Which answer tools and help text the type on screen shows; fixes the
    // "<option>" marker of the question text for that type.
    void UpdateTypeView();
    // Shows one feedback side of question n; changes nothing in it.
    void LoadMessToEditor(int n, int side);
    // True when the question changed in a way its author would see.
    bool StoreMessFromEditor(int n, int side);
    // The user switches the side shown between its generic and its own
    // message; the result is the text the feedback box is to show.
    QString SwitchGenMess(int n, bool use);
    void SetQType(int n, TRepType type);
    // The type label and the answer group show type, with no question behind (a reset).
    void ShowEmptyType(TRepType type);

    // The states that follow the feedback controls: the box editable only for
    // an own message, the attached-file controls only for side 0.
    void ApplyMessDependencies();

    // The question-list line of question n with that text: "n." + text.
    static QString ListLine(int n, const std::string& text);
    // Puts "n." + text on line n - 1, appending the line when the list ends just before it.
    void SetListLine(int n, const std::string& text);

    // The feedback side shown: 1 "si bon", 0 "si faux".
    int MessSide = kRightSide;
    // The generic index shown for the question on screen, and the one
    // "changer de mess." starts from.
    int MessEditTag = 0;
    int ChMsgBtnTag = 0;
    // The type on screen, as the type label shows it.
    TRepType QTypeTag = TRepType::rKWZ;
    // Shown in the value field of a new question.
    int DefaultPoints = 0;

    const TEditorControls& Controls() const { return c_; }

private:
    void ShowType(TRepType type);
    // The feedback side of the question just appended by LoadToEditor(0): its
    // generic message, as the new question uses it; the attached-file
    // captions stay as the screen has them.
    void ShowNewSideMessage();
    void ShowPriority(int priority);
    QString GenericText(int side, int index) const;

    TQuestList& quests_;
    TEditorControls c_;
};

// The editor side of the page texts and of the layout flags.
class TPageEditorBinding {
public:
    struct Controls {
        QLineEdit* TitleEd = nullptr;
        QPlainTextEdit* BodyRed = nullptr;
        QCheckBox* PosMenCheck = nullptr;
        QCheckBox* BorderCheck = nullptr;
        QCheckBox* DistFileCheck = nullptr;
    };

    // remember is the hook the pages carry for the settings; typing in the
    // page fields does not change the remembered texts, so StorePage sets
    // the pages without it.
    TPageEditorBinding(THMPList& pages, THTMPrefs& layout, THMPList::RememberHook remember, const Controls& controls);

    void ShowPage(int page);
    // Stores the fields into page; nothing when no page is shown.
    void StorePage(int page);
    // StorePage of the page the fields show, if any.
    void StoreShownPage();
    // The fields no longer show a page (a reset emptied them).
    void ForgetShownPage() { shown_ = -1; }
    int ShownPage() const { return shown_; }

    // The check boxes show the flags; the image names go back to their defaults.
    void ShowInEditor();
    void ShowFlags();
    void TakeFromEditor();

private:
    THMPList& pages_;
    THTMPrefs& layout_;
    THMPList::RememberHook remember_;
    Controls c_;
    int shown_ = -1;
};

} // namespace tavimor
