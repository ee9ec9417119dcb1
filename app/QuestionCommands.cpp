// The question commands of the main window: the question list (add, delete,
// select, drag to reorder), the question type, the answer tools of the
// "Réponses" sub-page and the feedback side of the "Mess." sub-page.
#include "app/TMain.h"

#include "app/AnswerEditors.h"
#include "app/QuestionsTab.h"
#include "app/RepGroup.h"
#include "app/TextCodec.h"
#include "app/TypeDialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>

namespace tavimor {

namespace {

QStringList ToStringList(const std::vector<std::string>& texts)
{
    QStringList list;
    for (const std::string& text : texts)
        list.append(FromCore(text));
    return list;
}

} // namespace

void TMain::AddQuestion()
{
    TQuestList& quests = doc_.Quests;
    TQuestionsTab& q = *questTab_;
    // Showing an empty document made an empty question 1 that has no line
    // yet: while it is still untouched, it is the question being added.
    const bool fillShownQuestion = quests.Count() == 1 && q.MainQListBox->count() == 0
        && q.QuestEdit->toPlainText().isEmpty() && q.RepGroup->items().isEmpty();
    if (!fillShownQuestion)
        StoreQuestion();
    const std::optional<TRepType> type = AskQuestionType();
    if (!type)
        return; // cancelled: nothing is added
    if (!fillShownQuestion)
        quests.AddQuest();
    quests.CurQ = static_cast<std::uint16_t>(quests.Count());
    MarkModified();
    binding_->SetQType(quests.CurQ, *type);
    binding_->PrepareNewInEditor(quests.CurQ);

    q.MaxQLab->setText(QString::number(quests.Count()));
    q.QNoLab->setText(QString::number(quests.CurQ));
    // The new question's line reads "n. " until the question is first stored.
    QListWidget* list = q.MainQListBox;
    {
        const QSignalBlocker quiet(list);
        while (list->count() < quests.CurQ - 1)
            list->addItem(TEditorBinding::ListLine(list->count() + 1, quests.GetQText(list->count())));
        list->addItem(QString::number(quests.CurQ) + QStringLiteral(". "));
    }
    SelectLine(quests.CurQ - 1);
    q.QuestEdit->setFocus();
    q.delQBtn->setEnabled(true);
}

void TMain::DeleteQuestion()
{
    TQuestList& quests = doc_.Quests;
    if (quests.CurQ == 0)
        return;
    quests.DeleteQuest(quests.CurQ);
    MarkModified();
    TQuestionsTab& q = *questTab_;
    if (quests.Count() == 0) {
        // Nothing is left to show: the editor no longer shows the removed
        // question, its answers, its feedback or its attached file.
        q.delQBtn->setEnabled(false);
        ShowNoQuestion();
    } else {
        binding_->LoadToEditor(quests.CurQ);
    }
    RebuildList();
    q.MaxQLab->setText(QString::number(quests.Count()));
    SelectLine(quests.CurQ - 1);
}

void TMain::SelectQuestion(int row)
{
    StoreQuestion();
    doc_.Quests.CurQ = static_cast<std::uint16_t>(row + 1);
    ShowQuestion(doc_.Quests.CurQ);
}

void TMain::DropQuestion(int row)
{
    TQuestList& quests = doc_.Quests;
    const int dragged = quests.CurQ;
    // A drop below the last line moves nothing.
    if (dragged >= 1 && row >= 0 && row < quests.Count()) {
        quests.Move(dragged - 1, row);
        quests.CurQ = static_cast<std::uint16_t>(row + 1);
        if (row != dragged - 1)
            MarkModified();
    }
    RebuildList();
    SelectLine(quests.CurQ - 1);
    // The screen keeps the moved question, which now has this number.
    if (quests.CurQ != 0)
        questTab_->QNoLab->setText(QString::number(quests.CurQ));
}

std::optional<TRepType> TMain::AskQuestionType()
{
    TQTypeDlg dialog(this);
    dialog.setWindowTitle(QStringLiteral("Choix du type de questions. "));
    dialog.setType(questTab_->RepGroup->rType());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.type();
}

// The type of the question on screen changes, and the question is shown
// again under it: its text, answers and feedback stay as they were typed.
void TMain::ChangeType()
{
    const int n = doc_.Quests.CurQ;
    if (n == 0)
        return;
    StoreQuestion();
    const std::optional<TRepType> type = AskQuestionType();
    if (!type)
        return;
    if (*type != doc_.Quests.GetQType(n))
        MarkModified();
    binding_->SetQType(n, *type);
    ShowQuestion(n);
}

void TMain::OpenAnswerEditor()
{
    TRepGroup& group = *questTab_->RepGroup;
    const TRepType type = binding_->QTypeTag;
    if (type != TRepType::rOList) {
        TRepTabEdit editor(this);
        if (!group.items().isEmpty())
            editor.setAnswers(group.items());
        editor.setReuseSource(
            doc_.Quests.Count(), [this](int index) { return ToStringList(doc_.Quests.GetReps(index)); });
        editor.setInsertImageVisible(true);
        OfferImageInsertion(editor);
        editor.move(answerEditorPos_);
        if (editor.exec() == QDialog::Accepted)
            group.setItems(editor.answers());
        answerEditorPos_ = editor.pos();
    } else {
        TRepEdit editor(this);
        editor.setLines(group.items());
        if (editor.exec() == QDialog::Accepted) {
            group.setItems(editor.lines());
            questTab_->InfoLab->setVisible(group.items().isEmpty());
        }
    }
    // Three answers or more make a true/false question a standard one.
    if (type == TRepType::rTrue && group.items().size() > 2 && doc_.Quests.CurQ != 0) {
        const QStringList answers = group.items();
        binding_->SetQType(doc_.Quests.CurQ, TRepType::rKWZ);
        group.setItems(answers);
        binding_->UpdateTypeView();
    }
    StoreQuestion();
}

void TMain::RemoveLast()
{
    TRepGroup& group = *questTab_->RepGroup;
    if (group.activItem() >= 0)
        group.DeleteLast();
    StoreQuestion();
}

void TMain::MoveMark()
{
    TRepGroup& group = *questTab_->RepGroup;
    group.MoveMarked(group.activItem());
}

void TMain::NextColumns()
{
    TRepGroup& group = *questTab_->RepGroup;
    int columns = group.columns() + 1;
    if (columns > group.ItemCount())
        columns = 1;
    questTab_->colBtn->setText(QString::number(columns));
    group.setColumns(static_cast<quint16>(columns));
}

void TMain::ShowSide(int side)
{
    const int n = doc_.Quests.CurQ;
    if (n != 0 && binding_->StoreMessFromEditor(n, binding_->MessSide))
        MarkModified();
    binding_->MessSide = side;
    if (n != 0)
        binding_->LoadMessToEditor(n, side);
    binding_->ApplyMessDependencies();
}

void TMain::SwitchGeneric(bool use)
{
    const int n = doc_.Quests.CurQ;
    if (n != 0)
        questTab_->MessEdit->setPlainText(binding_->SwitchGenMess(n, use));
    binding_->ApplyMessDependencies();
    MarkModified();
}

} // namespace tavimor
