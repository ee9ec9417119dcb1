#include "app/EditorBinding.h"

#include "app/RepGroup.h"
#include "app/TextCodec.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextDocument>
#include <QToolButton>

#include <algorithm>

namespace tavimor {

namespace {

const QString kTypePrefix = QStringLiteral("Type: ");
const QString kNewFileCaption = QStringLiteral("voir ... ");
const QString kNewFileButton = QStringLiteral("nom du fichier...");

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

} // namespace

std::string MemoToCore(const QPlainTextEdit& memo)
{
    // The raw text keeps non-breaking spaces, which toPlainText turns into blanks.
    QString text = memo.document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return ToCoreMemo(text);
}

void ShowInMemo(QPlainTextEdit& memo, const std::string& text)
{
    memo.setPlainText(FromCoreMemo(text));
}

// ---------------------------------------------------------------------------
// TEditorBinding

TEditorBinding::TEditorBinding(TQuestList& quests, const TEditorControls& controls)
    : quests_(quests)
    , c_(controls)
{
}

QString TEditorBinding::ListLine(int n, const std::string& text)
{
    return QString::number(n) + QLatin1Char('.') + FromCore(text);
}

void TEditorBinding::SetListLine(int n, const std::string& text)
{
    QListWidget& list = *c_.MainQListBox;
    const QSignalBlocker quiet(list);
    // A question shown but never stored has no line yet (entering the
    // Questions tab of an empty document); its first store gives it one.
    while (list.count() < n - 1)
        list.addItem(ListLine(list.count() + 1, quests_.GetQText(list.count())));
    if (list.count() == n - 1)
        list.addItem(ListLine(n, text));
    else
        list.item(n - 1)->setText(ListLine(n, text));
}

void TEditorBinding::ShowType(TRepType type)
{
    QTypeTag = type;
    c_.QTypeLab->setText(kTypePrefix + FromCore(RepTypeName(type)));
}

void TEditorBinding::ShowPriority(int priority)
{
    if (QAbstractButton* button = c_.PriRGroup->button(priority)) {
        button->setChecked(true);
        return;
    }
    // A priority no button stands for (read from a file): no button is down,
    // and the store keeps the value.
    c_.PriRGroup->setExclusive(false);
    for (QAbstractButton* button : c_.PriRGroup->buttons())
        button->setChecked(false);
    c_.PriRGroup->setExclusive(true);
}

QString TEditorBinding::GenericText(int side, int index) const
{
    const std::vector<std::string>& bank = quests_.GenMess[static_cast<std::size_t>(side)];
    // An index beyond the bank (a damaged file) shows nothing rather than failing at every question shown.
    if (index < 0 || static_cast<std::size_t>(index) >= bank.size())
        return {};
    return FromCore(bank[static_cast<std::size_t>(index)]);
}

void TEditorBinding::LoadToEditor(int n)
{
    if (n == 0) {
        quests_.AddQuest();
        ShowNewSideMessage();
        return;
    }
    TQuest& quest = quests_.Quest(n);

    ShowType(quest.QType);
    c_.RepGroup->setRType(quest.QType);

    ShowInMemo(*c_.QuestEdit, quest.QText);
    c_.RepGroup->setItems(ToStringList(quest.Reps));
    c_.RepGroup->setActivItem(quest.GoodRep);

    std::uint16_t shownColumns = 0;
    if (quest.QType == TRepType::rOList) {
        quest.Columns = 0;
    } else {
        // A question shown earlier as a cloze question keeps 0 columns; the layout needs one at least.
        shownColumns = quest.Columns == 0 ? 1 : quest.Columns;
        c_.RepGroup->setColumns(shownColumns);
    }
    UpdateTypeView();
    c_.colBtn->setText(QString::number(shownColumns));

    // The priority is shown, so that the store that follows writes it back unchanged.
    ShowPriority(quest.Priority);

    LoadMessToEditor(n, MessSide);

    c_.QNoLab->setText(QString::number(quests_.CurQ));
    c_.delQBtn->setEnabled(true);
}

bool TEditorBinding::StoreFromEditor(int n)
{
    if (n == 0) {
        quests_.AddQuest();
        return true;
    }
    TQuest& quest = quests_.Quest(n);
    const TQuest before = quest;

    quest.QType = c_.RepGroup->rType();
    // No button is down only for a priority no button stands for (read from a file): it stays.
    if (c_.PriRGroup->checkedId() >= 0)
        quest.Priority = c_.PriRGroup->checkedId();
    quest.QText = MemoToCore(*c_.QuestEdit);

    quest.Reps = FromStringList(c_.RepGroup->items());
    quest.NRep = static_cast<std::uint16_t>(quest.Reps.size());
    quest.GoodRep = c_.RepGroup->activItem();
    quest.Columns = c_.RepGroup->columns();

    StoreMessFromEditor(n, c_.messBtn1->isChecked() ? kRightSide : kWrongSide);

    c_.MaxQLab->setText(QString::number(quests_.Count()));
    SetListLine(n, quest.QText);
    return !SameForAuthor(before, quest);
}

void TEditorBinding::PrepareNewInEditor(int n)
{
    TQuest& quest = quests_.Quest(n);
    MessSide = kRightSide;

    c_.QNoLab->setText(QString::number(quests_.CurQ));
    c_.QuestEdit->clear();
    QFont font = c_.QuestEdit->font();
    font.setPointSize(9);
    c_.QuestEdit->setFont(font);
    c_.colBtn->setText(QStringLiteral("1"));

    UpdateTypeView();

    // A new question starts from an empty feedback side, not from the text
    // the previous question left in the box.
    c_.MessEdit->clear();
    c_.messBtn1->setChecked(true);
    c_.GGCheck->setChecked(true);
    MessEditTag = quest.MessIdx[kRightSide];
    c_.MessEdit->setPlainText(SwitchGenMess(n, true));

    c_.ResumCheck->setChecked(false);
    c_.ExtFileCheck->setChecked(false);
    c_.ExtFileCheck->setText(kNewFileCaption);
    c_.ExtFileBtn->setText(kNewFileButton);

    ShowPriority(quest.Priority);
    c_.ValEd->setText(QString::number(DefaultPoints));
    ApplyMessDependencies();
}

void TEditorBinding::UpdateTypeView()
{
    c_.InfoLab->hide();
    c_.colBtn->hide();
    c_.MoveRepBtn->hide();
    c_.delRepBtn->hide();

    const TRepType type = c_.RepGroup->rType();
    const std::string text = MemoToCore(*c_.QuestEdit);
    const std::string fixed = FixOptionTag(type, text);
    if (fixed != text)
        ShowInMemo(*c_.QuestEdit, fixed);

    if (type == TRepType::rOList) {
        c_.InfoLab->setText(ClozeHelp());
        c_.InfoLab->setVisible(c_.RepGroup->items().isEmpty());
        c_.InfoLab->raise();
    } else {
        c_.MoveRepBtn->show();
        c_.delRepBtn->show();
        c_.colBtn->show();
    }
}

void TEditorBinding::LoadMessToEditor(int n, int side)
{
    const TQuest& quest = quests_.Quest(n);
    const auto s = static_cast<std::size_t>(side);

    MessEditTag = quest.MessIdx[s];
    ChMsgBtnTag = quest.MessIdx[s];
    c_.GGCheck->setChecked(quest.UseGenMess[s]);
    if (quest.UseGenMess[s]) {
        c_.MessEdit->setPlainText(GenericText(side, quest.MessIdx[s]));
        c_.MessEdit->setReadOnly(true);
        c_.ChMsgBtn->show();
    } else {
        ShowInMemo(*c_.MessEdit, quest.Mess[s]);
        c_.MessEdit->setReadOnly(false);
        c_.ChMsgBtn->hide();
    }

    c_.ResumCheck->hide();
    c_.ExtFileCheck->setChecked(quest.UseExtFile);
    c_.ExtFileCheck->setText(FromCore(quest.ExtLink));
    c_.ExtFileBtn->setText(FromCore(quest.ExtFile));
    ApplyMessDependencies();
}

void TEditorBinding::ShowNewSideMessage()
{
    const TQuest& quest = quests_.Current();
    const auto s = static_cast<std::size_t>(MessSide);
    MessEditTag = quest.MessIdx[s];
    ChMsgBtnTag = quest.MessIdx[s];
    c_.GGCheck->setChecked(quest.UseGenMess[s]);
    c_.MessEdit->setPlainText(GenericText(MessSide, quest.MessIdx[s]));
    c_.MessEdit->setReadOnly(true);
    c_.ChMsgBtn->show();
    ApplyMessDependencies();
}

bool TEditorBinding::StoreMessFromEditor(int n, int side)
{
    TQuest& quest = quests_.Quest(n);
    const TQuest before = quest;
    const auto s = static_cast<std::size_t>(side);
    quest.MessIdx[s] = MessEditTag;
    quest.Mess[s] = MemoToCore(*c_.MessEdit);
    quest.UseGenMess[s] = c_.GGCheck->isChecked();
    quest.ShowResum = c_.ResumCheck->isChecked();
    quest.UseExtFile = c_.ExtFileCheck->isChecked();
    quest.ExtFile = ToCore(c_.ExtFileBtn->text());
    quest.ExtLink = ToCore(c_.ExtFileCheck->text());
    return !SameForAuthor(before, quest);
}

QString TEditorBinding::SwitchGenMess(int n, bool use)
{
    TQuest& quest = quests_.Quest(n);
    const auto s = static_cast<std::size_t>(MessSide);
    QString result;
    if (use) {
        quest.Mess[s] = MemoToCore(*c_.MessEdit); // the own text typed so far is kept
        result = GenericText(MessSide, quest.MessIdx[s]);
        c_.ChMsgBtn->show();
        ChMsgBtnTag = quest.MessIdx[s];
        c_.MessEdit->setReadOnly(true);
    } else {
        quest.MessIdx[s] = ChMsgBtnTag;
        c_.ChMsgBtn->hide();
        c_.MessEdit->setReadOnly(false);
        result = FromCoreMemo(quest.Mess[s]);
    }
    quest.UseGenMess[s] = use;
    return result;
}

void TEditorBinding::SetQType(int n, TRepType type)
{
    quests_.SetQType(n, type);
    ShowType(type);
    c_.RepGroup->setRType(type);
}

void TEditorBinding::ShowEmptyType(TRepType type)
{
    ShowType(type);
    c_.RepGroup->setRType(type);
}

void TEditorBinding::ApplyMessDependencies()
{
    c_.MessEdit->setEnabled(!c_.GGCheck->isChecked());
    const bool wrongSide = MessSide == kWrongSide;
    c_.ExtFileCheck->setVisible(wrongSide);
    c_.ExtFileBtn->setVisible(wrongSide && c_.ExtFileCheck->isChecked());
    c_.ReUseFileBtn->setVisible(wrongSide && c_.ExtFileCheck->isChecked());
    c_.ResumCheck->hide();
}

// ---------------------------------------------------------------------------
// TPageEditorBinding

TPageEditorBinding::TPageEditorBinding(
    THMPList& pages, THTMPrefs& layout, THMPList::RememberHook remember, const Controls& controls)
    : pages_(pages)
    , layout_(layout)
    , remember_(std::move(remember))
    , c_(controls)
{
}

void TPageEditorBinding::ShowPage(int page)
{
    c_.TitleEd->setText(FromCore(pages_.GetTitle(page)));
    ShowInMemo(*c_.BodyRed, pages_.GetBody(page));
    shown_ = page;
}

void TPageEditorBinding::StorePage(int page)
{
    if (shown_ < 0)
        return;
    pages_.SetRememberHook({});
    pages_.SetTitle(page, ToCore(c_.TitleEd->text()));
    pages_.SetBody(page, MemoToCore(*c_.BodyRed));
    pages_.SetRememberHook(remember_);
}

void TPageEditorBinding::StoreShownPage()
{
    if (shown_ >= 0)
        StorePage(shown_);
}

void TPageEditorBinding::ShowInEditor()
{
    ShowFlags();
    layout_.ResetImgNames();
}

void TPageEditorBinding::ShowFlags()
{
    c_.PosMenCheck->setChecked(layout_.MenuLeft);
    c_.BorderCheck->setChecked(layout_.NoBorder);
    c_.DistFileCheck->setChecked(layout_.DistinctPages);
}

void TPageEditorBinding::TakeFromEditor()
{
    layout_.MenuLeft = c_.PosMenCheck->isChecked();
    layout_.NoBorder = c_.BorderCheck->isChecked();
    layout_.DistinctPages = c_.DistFileCheck->isChecked();
}

} // namespace tavimor
