// The question editor of the "Questions" tab: the editor-binding operations
// that show one question of the session in the tab's controls and store the
// controls back through the session, and the commands of the tab (the
// question list, the question type, the answer tools, the feedback sides).
// It follows the session: a question changed by an undo, a redo or another
// editor is shown again.
#pragma once

#include "model/QuestModel.h"

#include <QObject>
#include <QPoint>
#include <QString>

#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace tavimor {

class QuizSession;
class TQuestionsTab;
class TRepTabEdit;
class TSessionBridge;

class TQuestionEditor : public QObject {
    Q_OBJECT

public:
    struct Hooks {
        // Lets an answer editor's "insérer une image" put an image tag at its caret.
        std::function<void(TRepTabEdit&)> OfferImageInsertion;
    };

    // window parents the dialogs; every object given outlives this one.
    TQuestionEditor(QWidget& window, TSessionBridge& bridge, TQuestionsTab& tab, Hooks hooks);

    // ---- The editor-binding operations. Questions are numbered from 1.

    // Shows question n; 0 shows a new empty question that becomes the
    // document's question 1 when it is first stored with something in it
    // (an empty document shows one on the Questions tab).
    void LoadToEditor(int n);
    // Stores the question shown, as the screen has it, through the session.
    void StoreFromEditor();
    // Shows the question just added as a new question of its type.
    void PrepareNewInEditor(int n);
    // Which answer tools and help text the type on screen shows; fixes the
    // "<option>" marker of the question text for that type.
    void UpdateTypeView();
    // Shows one feedback side of question n; changes nothing in it.
    void LoadMessToEditor(int n, int side);
    // The states that follow the feedback controls: the box editable only for
    // an own message, the attached-file controls only for side 0.
    void ApplyMessDependencies();
    // The type label and the answer group show type.
    void SetQType(TRepType type);
    // The question-list line of question n with that text: "n." + text.
    static QString ListLine(int n, const std::string& text);

    // ---- What the window asks of the editor.

    // The question shown (as TQuestList::CurQ): 0 when none, or the
    // document's count + 1 for the new question an empty document shows.
    int Shown() const { return shown_; }
    // The question shown is in the document (not an unstored new one).
    bool ShowsStoredQuestion() const;
    // The question shown as the session has it (a new one for an unstored question).
    TQuest ShownQuestion() const;
    // Shows question n and selects its line.
    void ShowQuestion(int n);
    // No question on screen: empty text, answers and feedback, the captions
    // of a new question.
    void ShowNoQuestion();
    void RebuildList();
    // A new document is on screen: nothing shown, the list rebuilt; a
    // document with questions shows question 1.
    void Reset();
    // The Questions tab was entered: question 1 is shown (a new question in
    // an empty document).
    void EnterTab();
    // The generic message index that the side shown takes (the message chooser).
    void ChooseGeneric(int index);
    // The attached file of the question shown, stored at once.
    void SetAttachedFile(bool use, const std::string& linkCaption, const std::string& file);
    // The side shown stores its own text and generic choice at once.
    void StoreSide();

    // ---- Commands of the tab.
    void AddQuestion();
    void DeleteQuestion();
    void SelectQuestion(int row);
    void DropQuestion(int row);
    // The type of the question on screen changes; its text, answers and
    // feedback stay as they were typed.
    void ChangeType();
    void OpenAnswerEditor();
    void RemoveLast();
    void MoveMark();
    void NextColumns();
    void ShowSide(int side);
    void SwitchGeneric(bool use);

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
    // Where the answer editor opens; it keeps the place the author moved it to.
    QPoint AnswerEditorPos;

private:
    QuizSession& Session() const;
    // The question the screen shows: the stored one (or a new one) with every
    // value the controls hold written over it.
    TQuest ScreenQuestion() const;
    // Writes quest as question n (adds it when it is the unstored new one),
    // without showing it again.
    void Write(int n, const TQuest& quest);
    void ShowType(TRepType type);
    void ShowPriority(int priority);
    void ShowCaptions(const TQuest& quest);
    QString GenericText(int side, int index) const;
    void SelectLine(int row);
    void SetListLine(int n, const std::string& text);
    std::optional<TRepType> AskQuestionType();

    void QuestionChanged(int n);
    void QuestionListChanged(int focus);
    void MessagesChanged();

    QWidget& window_;
    TSessionBridge& bridge_;
    TQuestionsTab& q_;
    Hooks hooks_;
    int shown_ = 0;
    // While the editor writes into the session, the session's announcements
    // about the question shown are its own echo: nothing is shown again.
    int writing_ = 0;
};

} // namespace tavimor
