#include "app/QuestionEditor.h"

#include "app/AnswerEditors.h"
#include "app/QuestionsTab.h"
#include "app/RepGroup.h"
#include "app/SessionBridge.h"
#include "app/TextCodec.h"
#include "app/TypeDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QToolButton>

#include <algorithm>

namespace tavimor {

namespace {

const QString kTypePrefix = QStringLiteral("Type: ");

QString ClozeHelp()
{
    return QStringLiteral("Ce type de questions utilise la balise <option> pour indiquer la position de la liste "
                          "déroulante. Ce marqueur ne doit pas être supprimé. ")
        + QStringLiteral("\n\n")
        + QStringLiteral("Utilisez le bouton \"choix de réponses\" pour créer ou modifier la liste déroulante.")
        + QStringLiteral("\n") + QStringLiteral("·Choisir la bonne réponse en cliquant dans la liste.");
}

QStringList ToStringList(const std::vector<std::string>& texts)
{
    QStringList list;
    list.reserve(static_cast<qsizetype>(texts.size()));
    for (const std::string& text : texts)
        list.append(FromCore(text));
    return list;
}

std::vector<std::string> FromStringList(const QStringList& list)
{
    std::vector<std::string> texts;
    texts.reserve(static_cast<std::size_t>(list.size()));
    for (const QString& text : list)
        texts.push_back(ToCore(text));
    return texts;
}

std::uint16_t LaidOutColumns(std::uint16_t columns)
{
    return columns == 0 ? 1 : columns;
}

} // namespace

TQuestionEditor::TQuestionEditor(QWidget& window, TSessionBridge& bridge, TQuestionsTab& tab, Hooks hooks)
    : window_(window)
    , bridge_(bridge)
    , q_(tab)
    , hooks_(std::move(hooks))
{
    connect(&bridge_, &TSessionBridge::questionChanged, this, &TQuestionEditor::QuestionChanged);
    connect(&bridge_, &TSessionBridge::questionListChanged, this, &TQuestionEditor::QuestionListChanged);
    connect(&bridge_, &TSessionBridge::messagesChanged, this, &TQuestionEditor::MessagesChanged);
    bridge_.AddScreenStore([this] { StoreFromEditor(); });
}

QuizSession& TQuestionEditor::Session() const
{
    return bridge_.Session();
}

QString TQuestionEditor::ListLine(int n, const std::string& text)
{
    return QString::number(n) + QLatin1Char('.') + FromCore(text);
}

bool TQuestionEditor::ShowsStoredQuestion() const
{
    return shown_ >= 1 && shown_ <= Session().Document().Quests.Count();
}

TQuest TQuestionEditor::ShownQuestion() const
{
    return ShowsStoredQuestion() ? Session().Document().Quests.Quest(shown_) : NewQuestion(TRepType::rKWZ);
}

// ---------------------------------------------------------------------------
// Showing

void TQuestionEditor::ShowType(TRepType type)
{
    QTypeTag = type;
    q_.QTypeLab->setText(kTypePrefix + FromCore(RepTypeName(type)));
}

void TQuestionEditor::SetQType(TRepType type)
{
    ShowType(type);
    q_.RepGroup->setRType(type);
}

void TQuestionEditor::ShowPriority(int priority)
{
    if (QAbstractButton* button = q_.PriRGroup->button(priority)) {
        button->setChecked(true);
        return;
    }
    // A priority no button stands for (read from a file): no button is down,
    // and the store keeps the value.
    q_.PriRGroup->setExclusive(false);
    for (QAbstractButton* button : q_.PriRGroup->buttons())
        button->setChecked(false);
    q_.PriRGroup->setExclusive(true);
}

QString TQuestionEditor::GenericText(int side, int index) const
{
    const std::vector<std::string>& bank = Session().Document().Quests.GenMess[static_cast<std::size_t>(side)];
    // An index beyond the bank (a damaged file) shows nothing rather than failing at every question shown.
    if (index < 0 || static_cast<std::size_t>(index) >= bank.size())
        return {};
    return FromCoreMemo(bank[static_cast<std::size_t>(index)]);
}

void TQuestionEditor::LoadToEditor(int n)
{
    const int count = Session().Document().Quests.Count();
    shown_ = n == 0 ? count + 1 : n;
    const TQuest quest = ShownQuestion();
    if (ShowsStoredQuestion())
        Session().SetCurrentQuestion(shown_);

    SetQType(quest.QType);
    ShowInMemo(*q_.QuestEdit, quest.QText);
    q_.RepGroup->setItems(ToStringList(quest.Reps));
    q_.RepGroup->setActivItem(quest.GoodRep);
    std::uint16_t shownColumns = 0;
    if (quest.QType != TRepType::rOList) {
        shownColumns = LaidOutColumns(quest.Columns);
        q_.RepGroup->setColumns(shownColumns);
    }
    UpdateTypeView();
    q_.ShowColumns(shownColumns);
    ShowPriority(quest.Priority);
    LoadMessToEditor(shown_, MessSide);

    q_.QNoLab->setText(QString::number(shown_));
    q_.delQBtn->setEnabled(true);
}

void TQuestionEditor::ShowQuestion(int n)
{
    LoadToEditor(n);
    if (ShowsStoredQuestion())
        SelectLine(shown_ - 1);
}

void TQuestionEditor::PrepareNewInEditor(int n)
{
    MessSide = kRightSide;
    {
        const QSignalBlocker quiet(q_.messBtn1);
        q_.messBtn1->setChecked(true);
    }
    QFont font = q_.QuestEdit->font();
    font.setPointSize(9);
    q_.QuestEdit->setFont(font);
    LoadToEditor(n);
    q_.ValEd->setText(QString::number(DefaultPoints));
}

void TQuestionEditor::UpdateTypeView()
{
    q_.InfoLab->hide();
    q_.colBtn->hide();
    q_.MoveRepBtn->hide();
    q_.delRepBtn->hide();

    const TRepType type = q_.RepGroup->rType();
    const std::string text = MemoToCore(*q_.QuestEdit);
    const std::string fixed = FixOptionTag(type, text);
    if (fixed != text)
        ShowInMemo(*q_.QuestEdit, fixed);

    if (type == TRepType::rOList) {
        q_.InfoLab->setText(ClozeHelp());
        q_.InfoLab->setVisible(q_.RepGroup->items().isEmpty());
        q_.InfoLab->raise();
    } else {
        q_.MoveRepBtn->show();
        q_.delRepBtn->show();
        q_.colBtn->show();
    }
}

void TQuestionEditor::ShowCaptions(const TQuest& quest)
{
    q_.ExtFileCheck->setChecked(quest.UseExtFile);
    q_.ExtFileCheck->setText(FromCore(quest.ExtLink));
    q_.ExtFileBtn->setText(FromCore(quest.ExtFile));
    // A caption a document leaves empty still says what the control is for.
    q_.ExtFileCheck->setAccessibleName(quest.ExtLink.empty() ? QStringLiteral("Voir le fichier annexe") : QString());
    q_.ExtFileBtn->setAccessibleName(quest.ExtFile.empty() ? QStringLiteral("Nom du fichier annexe") : QString());
}

void TQuestionEditor::LoadMessToEditor(int n, int side)
{
    const TQuest quest = n >= 1 && n <= Session().Document().Quests.Count() ? Session().Document().Quests.Quest(n)
                                                                            : NewQuestion(TRepType::rKWZ);
    const auto s = static_cast<std::size_t>(side);
    MessEditTag = quest.MessIdx[s];
    ChMsgBtnTag = quest.MessIdx[s];
    q_.GGCheck->setChecked(quest.UseGenMess[s]);
    if (quest.UseGenMess[s]) {
        q_.MessEdit->setPlainText(GenericText(side, quest.MessIdx[s]));
        q_.MessEdit->setReadOnly(true);
        q_.ChMsgBtn->show();
    } else {
        ShowInMemo(*q_.MessEdit, quest.Mess[s]);
        q_.MessEdit->setReadOnly(false);
        q_.ChMsgBtn->hide();
    }
    q_.ResumCheck->hide();
    ShowCaptions(quest);
    ApplyMessDependencies();
}

void TQuestionEditor::ApplyMessDependencies()
{
    q_.MessEdit->setEnabled(!q_.GGCheck->isChecked());
    const bool wrongSide = MessSide == kWrongSide;
    q_.ExtFileCheck->setVisible(wrongSide);
    q_.ExtFileBtn->setVisible(wrongSide && q_.ExtFileCheck->isChecked());
    q_.ReUseFileBtn->setVisible(wrongSide && q_.ExtFileCheck->isChecked());
    q_.ResumCheck->hide();
}

void TQuestionEditor::ShowNoQuestion()
{
    shown_ = 0;
    MessEditTag = 0;
    ChMsgBtnTag = 0;
    q_.QNoLab->clear();
    q_.QuestEdit->clear();
    q_.MessEdit->clear();
    q_.ExtFileCheck->setChecked(false);
    q_.ExtFileCheck->setText(QStringLiteral("voir le fichier: "));
    q_.ExtFileBtn->setText(QStringLiteral("nom du fichier..."));
    q_.GGCheck->setChecked(true);
    SetQType(TRepType::rKWZ);
    ApplyMessDependencies();
    UpdateTypeView();
    q_.delQBtn->setEnabled(false);
}

void TQuestionEditor::SelectLine(int row)
{
    QListWidget* list = q_.MainQListBox;
    const QSignalBlocker quiet(list);
    if (row >= 0 && row < list->count())
        list->setCurrentRow(row);
}

void TQuestionEditor::SetListLine(int n, const std::string& text)
{
    QListWidget& list = *q_.MainQListBox;
    const QSignalBlocker quiet(list);
    const TQuestList& quests = Session().Document().Quests;
    while (list.count() < n - 1)
        list.addItem(ListLine(list.count() + 1, quests.GetQText(list.count())));
    if (list.count() == n - 1)
        list.addItem(ListLine(n, text));
    else
        list.item(n - 1)->setText(ListLine(n, text));
}

void TQuestionEditor::RebuildList()
{
    const TQuestList& quests = Session().Document().Quests;
    QStringList lines;
    const int count = quests.Count();
    lines.reserve(count);
    for (int i = 0; i < count; ++i)
        lines.append(ListLine(i + 1, quests.GetQText(i)));
    QListWidget* list = q_.MainQListBox;
    {
        const QSignalBlocker quiet(list);
        list->clear();
        list->addItems(lines);
    }
    q_.MaxQLab->setText(QString::number(count));
}

void TQuestionEditor::Reset()
{
    MessSide = kRightSide;
    {
        const QSignalBlocker quiet(q_.messBtn1);
        q_.messBtn1->setChecked(true);
    }
    q_.PriRGroup->button(0)->setChecked(true);
    q_.ValEd->clear();
    q_.QuestEdit->setFont(QFont(QStringLiteral("Courier New"), 9));
    q_.MessEdit->setFont(QFont(QStringLiteral("Courier New"), 9));
    RebuildList();
    ShowNoQuestion();
    q_.QuestPages->setCurrentIndex(TQuestionsTab::kAnswersPage);
    if (Session().Document().Quests.Count() > 0)
        ShowQuestion(1);
    else
        q_.MaxQLab->clear();
}

void TQuestionEditor::EnterTab()
{
    ShowQuestion(Session().Document().Quests.Count() > 0 ? 1 : 0);
}

// ---------------------------------------------------------------------------
// Storing

TQuest TQuestionEditor::ScreenQuestion() const
{
    TQuest quest = ShownQuestion();
    const TRepGroup& group = *q_.RepGroup;
    quest.QType = group.rType();
    // No button is down only for a priority no button stands for (read from a file): it stays.
    if (q_.PriRGroup->checkedId() >= 0)
        quest.Priority = q_.PriRGroup->checkedId();
    quest.QText = MemoToCore(*q_.QuestEdit);
    quest.Reps = FromStringList(group.items());
    quest.NRep = static_cast<std::uint16_t>(quest.Reps.size());
    quest.GoodRep = group.activItem();
    // A cloze question lays out no columns.
    quest.Columns = quest.QType == TRepType::rOList ? 0 : group.columns();

    const auto s = static_cast<std::size_t>(MessSide);
    quest.MessIdx[s] = MessEditTag;
    quest.Mess[s] = MemoToCore(*q_.MessEdit);
    quest.UseGenMess[s] = q_.GGCheck->isChecked();
    quest.ShowResum = q_.ResumCheck->isChecked();
    quest.UseExtFile = q_.ExtFileCheck->isChecked();
    return quest;
}

void TQuestionEditor::Write(int n, const TQuest& quest)
{
    const QScopedValueRollback<int> writing(writing_, writing_ + 1);
    if (n >= 1 && n <= Session().Document().Quests.Count()) {
        Session().UpdateQuestion(n, quest);
    } else {
        shown_ = Session().AddQuestion(quest);
        Session().SetCurrentQuestion(shown_);
    }
}

void TQuestionEditor::StoreFromEditor()
{
    if (shown_ == 0)
        return;
    const TQuest quest = ScreenQuestion();
    // The new question an empty document shows joins the document once
    // something was written in it.
    if (!ShowsStoredQuestion() && SameForAuthor(quest, ShownQuestion()))
        return;
    Write(shown_, quest);
}

void TQuestionEditor::StoreSide()
{
    StoreFromEditor();
}

void TQuestionEditor::ChooseGeneric(int index)
{
    MessEditTag = index;
    ChMsgBtnTag = index;
    q_.MessEdit->setPlainText(GenericText(MessSide, index));
    StoreFromEditor();
}

void TQuestionEditor::SetAttachedFile(bool use, const std::string& linkCaption, const std::string& file)
{
    if (shown_ == 0)
        return;
    TQuest quest = ScreenQuestion();
    quest.UseExtFile = use;
    quest.ExtLink = linkCaption;
    quest.ExtFile = file;
    Write(shown_, quest);
    ShowCaptions(quest);
    ApplyMessDependencies();
}

// ---------------------------------------------------------------------------
// The session's changes

void TQuestionEditor::QuestionChanged(int n)
{
    const TQuestList& quests = Session().Document().Quests;
    if (n >= 1 && n <= quests.Count())
        SetListLine(n, quests.Quest(n).QText);
    if (writing_ == 0 && n == shown_)
        LoadToEditor(n);
}

void TQuestionEditor::QuestionListChanged(int focus)
{
    RebuildList();
    if (writing_ > 0)
        return; // the command that changed the list shows what follows
    if (focus == 0)
        ShowNoQuestion();
    else
        ShowQuestion(focus);
}

void TQuestionEditor::MessagesChanged()
{
    // A deleted generic message moved the indexes of the question shown.
    if (writing_ == 0 && ShowsStoredQuestion())
        LoadMessToEditor(shown_, MessSide);
}

// ---------------------------------------------------------------------------
// Commands

std::optional<TRepType> TQuestionEditor::AskQuestionType()
{
    TQTypeDlg dialog(&window_);
    dialog.setWindowTitle(QStringLiteral("Choix du type de questions. "));
    dialog.setType(q_.RepGroup->rType());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.type();
}

void TQuestionEditor::AddQuestion()
{
    // The new question an empty document shows, still untouched, is the one
    // being added.
    StoreFromEditor();
    const std::optional<TRepType> type = AskQuestionType();
    if (!type)
        return; // cancelled: nothing is added
    int n = 0;
    {
        const QScopedValueRollback<int> writing(writing_, writing_ + 1);
        n = Session().AddQuestion(*type);
    }
    PrepareNewInEditor(n);
    // The new question's line reads "n. " until the question is first stored.
    {
        const QSignalBlocker quiet(q_.MainQListBox);
        q_.MainQListBox->item(n - 1)->setText(QString::number(n) + QStringLiteral(". "));
    }
    SelectLine(n - 1);
    q_.QuestEdit->setFocus();
}

void TQuestionEditor::DeleteQuestion()
{
    if (!ShowsStoredQuestion()) {
        if (shown_ != 0)
            ShowNoQuestion(); // the new question an empty document showed
        return;
    }
    const int n = shown_;
    {
        const QScopedValueRollback<int> writing(writing_, writing_ + 1);
        Session().DeleteQuestion(n);
    }
    const int count = Session().Document().Quests.Count();
    if (count == 0)
        ShowNoQuestion();
    else
        ShowQuestion(std::min(n, count));
}

void TQuestionEditor::SelectQuestion(int row)
{
    StoreFromEditor();
    ShowQuestion(row + 1);
}

void TQuestionEditor::DropQuestion(int row)
{
    const int dragged = shown_;
    // A drop below the last line moves nothing.
    if (ShowsStoredQuestion() && row >= 0 && row < Session().Document().Quests.Count()) {
        StoreFromEditor();
        {
            const QScopedValueRollback<int> writing(writing_, writing_ + 1);
            Session().MoveQuestion(dragged, row + 1);
        }
        shown_ = row + 1;
        Session().SetCurrentQuestion(shown_);
    }
    // The screen keeps the moved question, which now has this number.
    if (ShowsStoredQuestion()) {
        SelectLine(shown_ - 1);
        q_.QNoLab->setText(QString::number(shown_));
    }
}

void TQuestionEditor::ChangeType()
{
    if (shown_ == 0)
        return;
    StoreFromEditor();
    const std::optional<TRepType> type = AskQuestionType();
    if (!type)
        return;
    {
        const QScopedValueRollback<int> writing(writing_, writing_ + 1);
        if (!ShowsStoredQuestion())
            Write(shown_, ScreenQuestion());
        Session().SetQuestionType(shown_, *type);
    }
    ShowQuestion(shown_);
}

void TQuestionEditor::OpenAnswerEditor()
{
    TRepGroup& group = *q_.RepGroup;
    const TRepType type = QTypeTag;
    if (type != TRepType::rOList) {
        TRepTabEdit editor(&window_);
        if (!group.items().isEmpty())
            editor.setAnswers(group.items());
        const TQuestList& quests = Session().Document().Quests;
        editor.setReuseSource(quests.Count(), [&quests](int index) { return ToStringList(quests.GetReps(index)); });
        editor.setInsertImageVisible(true);
        if (hooks_.OfferImageInsertion)
            hooks_.OfferImageInsertion(editor);
        editor.move(AnswerEditorPos);
        if (editor.exec() == QDialog::Accepted)
            group.setItems(editor.answers());
        AnswerEditorPos = editor.pos();
    } else {
        TRepEdit editor(&window_);
        editor.setLines(group.items());
        if (editor.exec() == QDialog::Accepted) {
            group.setItems(editor.lines());
            q_.InfoLab->setVisible(group.items().isEmpty());
        }
    }
    // Three answers or more make a true/false question a standard one.
    if (type == TRepType::rTrue && group.items().size() > 2 && shown_ != 0) {
        const QStringList answers = group.items();
        SetQType(TRepType::rKWZ);
        group.setItems(answers);
        UpdateTypeView();
    }
    StoreFromEditor();
}

void TQuestionEditor::RemoveLast()
{
    TRepGroup& group = *q_.RepGroup;
    if (group.activItem() >= 0)
        group.DeleteLast();
    StoreFromEditor();
}

void TQuestionEditor::MoveMark()
{
    TRepGroup& group = *q_.RepGroup;
    group.MoveMarked(group.activItem());
}

void TQuestionEditor::NextColumns()
{
    TRepGroup& group = *q_.RepGroup;
    int columns = group.columns() + 1;
    if (columns > group.ItemCount())
        columns = 1;
    q_.ShowColumns(columns);
    group.setColumns(static_cast<quint16>(columns));
}

void TQuestionEditor::ShowSide(int side)
{
    StoreFromEditor();
    MessSide = side;
    if (shown_ != 0)
        LoadMessToEditor(shown_, side);
    ApplyMessDependencies();
}

void TQuestionEditor::SwitchGeneric(bool use)
{
    if (shown_ == 0) {
        ApplyMessDependencies();
        return;
    }
    const auto s = static_cast<std::size_t>(MessSide);
    TQuest quest = ScreenQuestion();
    if (use) {
        // The own text typed so far is kept; the side shows its generic message.
        ChMsgBtnTag = quest.MessIdx[s];
        q_.MessEdit->setPlainText(GenericText(MessSide, quest.MessIdx[s]));
        q_.ChMsgBtn->show();
        q_.MessEdit->setReadOnly(true);
    } else {
        quest.MessIdx[s] = ChMsgBtnTag;
        quest.Mess[s] = ShownQuestion().Mess[s];
        MessEditTag = ChMsgBtnTag;
        ShowInMemo(*q_.MessEdit, quest.Mess[s]);
        q_.ChMsgBtn->hide();
        q_.MessEdit->setReadOnly(false);
    }
    quest.UseGenMess[s] = use;
    Write(shown_, quest);
    ApplyMessDependencies();
}

} // namespace tavimor
