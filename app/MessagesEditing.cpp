#include "app/MessagesEditing.h"

#include "app/ErrorBoundary.h"
#include "app/LineEditForm.h"
#include "app/LinkDialog.h"
#include "app/MessagesTab.h"
#include "app/QuestionEditor.h"
#include "app/QuestionsTab.h"
#include "app/SessionBridge.h"
#include "app/TMain.h"
#include "app/TextCodec.h"
#include "app/WidgetHelpers.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

#include <algorithm>

namespace tavimor {

namespace {

const QString kCaptionDialogTitle = QStringLiteral("Modifier cette étiquette? ");

// Where the chooser shows the controls it borrows.
const QRect kChooserGMNo {10, 10, 36, 26};
const QRect kChooserUpDown {10, 40, 60, 22};
const QRect kChooserGMessEdit {150, 10, 330, 160};
const QColor kSilver {192, 192, 192};

void MoveTo(QWidget* widget, QWidget* parent, const QRect& place)
{
    widget->setParent(parent);
    widget->setGeometry(place);
    widget->show();
}

// The entry box's background; while it is disabled in the chooser its text
// stays dark enough to read on silver.
void SetBase(QWidget* widget, const QColor& color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, color);
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(48, 48, 48));
    widget->setPalette(palette);
}

} // namespace

TMessagesEditing::TMessagesEditing(QWidget& window, TSessionBridge& bridge, TQuestionEditor& editor,
    TQuestionsTab& questions, TMessagesTab& messages, Hooks hooks)
    : window_(window)
    , bridge_(bridge)
    , editor_(editor)
    , q_(questions)
    , m_(messages)
    , hooks_(std::move(hooks))
{
    QWidget* const w = &window_;

    // "Mess." sub-page.
    connect(q_.ChMsgBtn, &QPushButton::clicked, this, Guarded(w, [this] { OpenChooser(); }));
    connect(q_.MChooserOkBtn, &QPushButton::clicked, this, Guarded(w, [this] { CloseChooser(true); }));
    connect(q_.ExtFileBtn, &QPushButton::clicked, this, Guarded(w, [this] { ChooseAttachedFile(); }));
    connect(q_.ExtFileCheck, &QCheckBox::clicked, this,
        [this](bool ticked) { RunGuarded(&window_, [this, ticked] { AttachedFileTicked(ticked); }); });
    connect(q_.ReUseFileBtn, &QPushButton::clicked, this, Guarded(w, [this] { OpenFileReuse(); }));
    connect(q_.FileReuseList, &QListWidget::currentRowChanged, this,
        [this](int row) { RunGuarded(&window_, [this, row] { ShowReusedFile(row); }); });
    connect(q_.FileReuseOkBtn, &QPushButton::clicked, this, Guarded(w, [this] { AcceptReusedFile(); }));
    connect(q_.FileReuseNoBtn, &QPushButton::clicked, this, [this] { CloseFileReuse(); });
    connect(q_.QuestPages, &QTabWidget::currentChanged, q_.FileReusePan, &QWidget::hide);
    connect(q_.MessPanl, &TPressPanel::pressed, this, Guarded(w, [this] { editor_.StoreSide(); }));
    // The Messages tab's bank follows the side shown.
    connect(q_.messBtn0, &QPushButton::clicked, this, [this] { FollowSide(kWrongSide); });
    connect(q_.messBtn1, &QPushButton::clicked, this, [this] { FollowSide(kRightSide); });

    // "Messages" tab.
    connect(m_.HMPTab, &QTabBar::currentChanged, this,
        [this](int index) { RunGuarded(&window_, [this, index] { PageTabChanged(index); }); });
    connect(m_.GMessBanks, &QButtonGroup::idClicked, this, [this](int bank) { SelectBank(bank); });
    connect(m_.gMUpD, &TUpDown::clicked, this, [this] { BrowseBank(); });
    connect(m_.btnAddMess, &QPushButton::clicked, this, Guarded(w, [this] { AddEntry(); }));
    connect(m_.btnDelMess, &QPushButton::clicked, this, Guarded(w, [this] { DeleteEntry(); }));
    connect(m_.GMessEdit, &QPlainTextEdit::textChanged, this, Guarded(w, [this] { EntryEdited(); }));
    connect(m_.NamEdit, &QPlainTextEdit::textChanged, this, Guarded(w, [this] { NoAnswerEdited(); }));

    connect(&bridge_, &TSessionBridge::messagesChanged, this, &TMessagesEditing::MessagesChanged);
    connect(&bridge_, &TSessionBridge::pageChanged, this, &TMessagesEditing::PageChanged);
    bridge_.AddScreenStore([this] { StoreShown(); });

    for (QObject* caption :
        {static_cast<QObject*>(m_.TitleLab), static_cast<QObject*>(m_.BodyLab), static_cast<QObject*>(q_.ExtFileCheck),
            static_cast<QObject*>(m_.TitleEd), static_cast<QObject*>(m_.BodyRed)})
        caption->installEventFilter(this);
}

QuizSession& TMessagesEditing::Session() const
{
    return bridge_.Session();
}

// ---------------------------------------------------------------------------
// The window's moments

void TMessagesEditing::Reset()
{
    CloseChooser(false);
    q_.FileReusePan->hide();
    bank_ = kRightSide;
    entry_ = 0;
    m_.GMessBanks->button(bank_)->setChecked(true);
    shownPage_ = -1;
    const QScopedValueRollback<int> filling(filling_, filling_ + 1);
    m_.TitleEd->clear();
    for (QPlainTextEdit* memo : {m_.BodyRed, m_.NamEdit}) {
        memo->clear();
        memo->setFont(QFont(QStringLiteral("Courier New"), 9));
    }
    {
        const QSignalBlocker silent(m_.HMPTab);
        m_.HMPTab->setCurrentIndex(0);
    }
    ShowInMemo(*m_.NamEdit, Session().Document().Quests.NoAnswerMess);
    ShowEntry();
}

void TMessagesEditing::MainTabChanged(int index)
{
    if (index != TMain::kQuestionsTab)
        CloseChooser(false);
    if (index == TMain::kMessagesTab) {
        {
            const QSignalBlocker silent(m_.HMPTab);
            m_.HMPTab->setCurrentIndex(0);
        }
        ShowPage(0);
        // A document read since the tab was last shown may hold other banks.
        ShowEntry();
    }
}

void TMessagesEditing::StoreShown()
{
    StorePage();
    if (!inChooser_ && m_.GMessEdit->document()->isModified())
        EntryEdited();
}

// ---------------------------------------------------------------------------
// The generic-message chooser

void TMessagesEditing::OpenChooser()
{
    if (inChooser_)
        return;
    // The chooser browses the bank of the side shown, from the index the
    // question on screen shows.
    bank_ = editor_.MessSide;
    m_.GMessBanks->button(bank_)->setChecked(true);
    entry_ = editor_.MessEditTag;
    inChooser_ = true;
    LendToChooser();
    ShowEntry();
    q_.MChooserPan->show();
    q_.MChooserPan->raise();
    m_.gMUpD->NextBtn->setFocus(Qt::OtherFocusReason);
}

void TMessagesEditing::CloseChooser(bool choose)
{
    if (!inChooser_)
        return;
    const int chosen = m_.gMUpD->position();
    const bool keyboardInside = q_.MChooserPan->isAncestorOf(QApplication::focusWidget());
    q_.MChooserPan->hide();
    GiveBackToGroup();
    if (keyboardInside && q_.ChMsgBtn->isVisible())
        q_.ChMsgBtn->setFocus(Qt::OtherFocusReason);
    inChooser_ = false;
    // Only a side that shows a generic message takes one: a question shown
    // since the chooser opened may show its own text, which stays.
    if (choose && q_.GGCheck->isChecked()) {
        entry_ = chosen;
        editor_.ChooseGeneric(chosen);
    } else {
        // Nothing chosen: the group shows again the entry the chooser started from.
        entry_ = editor_.MessEditTag;
    }
    ShowEntry();
}

void TMessagesEditing::LendToChooser()
{
    QWidget* chooser = q_.MChooserPan;
    MoveTo(m_.GMNo, chooser, kChooserGMNo);
    MoveTo(m_.gMUpD, chooser, kChooserUpDown);
    MoveTo(m_.GMessEdit, chooser, kChooserGMessEdit);
    m_.GMessEdit->setEnabled(false);
    SetBase(m_.GMessEdit, kSilver);
    ChainTabOrder({m_.gMUpD->PrevBtn, m_.gMUpD->NextBtn, q_.MChooserOkBtn});
}

void TMessagesEditing::GiveBackToGroup()
{
    QWidget* group = m_.GMessGroup;
    MoveTo(m_.GMNo, group, TMessagesTab::GroupPlaceOfGMNo());
    MoveTo(m_.gMUpD, group, TMessagesTab::GroupPlaceOfUpDown());
    MoveTo(m_.GMessEdit, group, TMessagesTab::GroupPlaceOfGMessEdit());
    m_.GMessEdit->setEnabled(true);
    SetBase(m_.GMessEdit, Qt::white);
    m_.ApplyTabOrder();
}

// ---------------------------------------------------------------------------
// The attached file: it lives in the question shown; the captions show it.

void TMessagesEditing::ChooseAttachedFile()
{
    // A production since the last use moves the dialog to the new site.
    const QString start = hooks_.LinkStartFolder ? hooks_.LinkStartFolder() : QString();
    if (start != lastStartFolder_) {
        lastStartFolder_ = start;
        linkFolder_ = start;
    }
    const TQuest shown = editor_.ShownQuestion();
    const TAttachedFileCaptions captions {FromCore(shown.ExtLink), FromCore(shown.ExtFile)};
    const TAttachedFileCaptions chosen = tavimor::ChooseAttachedFile(&window_, captions, linkFolder_, linkList_);
    editor_.SetAttachedFile(q_.ExtFileCheck->isChecked(), ToCore(chosen.CheckCaption), ToCore(chosen.ButtonCaption));
}

void TMessagesEditing::AttachedFileTicked(bool ticked)
{
    const TQuest shown = editor_.ShownQuestion();
    editor_.SetAttachedFile(ticked, shown.ExtLink, shown.ExtFile);
}

void TMessagesEditing::OpenFileReuse()
{
    {
        const QSignalBlocker quiet(q_.FileReuseList);
        q_.FileReuseList->clear();
    }
    q_.FileReuseBox->clear();
    for (int k = 1; k <= Session().Document().Quests.Count(); ++k)
        q_.FileReuseList->addItem(QStringLiteral("Question ") + QString::number(k));
    q_.FileReusePan->show();
    q_.FileReusePan->raise();
    q_.FileReuseList->setFocus(Qt::OtherFocusReason);
}

void TMessagesEditing::CloseFileReuse()
{
    const bool keyboardInside = q_.FileReusePan->isAncestorOf(QApplication::focusWidget());
    q_.FileReusePan->hide();
    if (keyboardInside && q_.ReUseFileBtn->isVisible())
        q_.ReUseFileBtn->setFocus(Qt::OtherFocusReason);
}

void TMessagesEditing::ShowReusedFile(int row)
{
    if (row < 0 || row >= Session().Document().Quests.Count())
        return;
    q_.FileReuseBox->setPlainText(FromCore(Session().Document().Quests.GetExtFile(row + 1)));
}

void TMessagesEditing::AcceptReusedFile()
{
    const QString file = q_.FileReuseBox->toPlainText();
    CloseFileReuse();
    if (file.isEmpty())
        return;
    const TQuest shown = editor_.ShownQuestion();
    editor_.SetAttachedFile(shown.UseExtFile, shown.ExtLink, ToCore(file));
}

// ---------------------------------------------------------------------------
// The page texts

void TMessagesEditing::ShowPage(int page)
{
    const QScopedValueRollback<int> filling(filling_, filling_ + 1);
    m_.TitleEd->setText(FromCore(Session().Document().Pages.GetTitle(page)));
    ShowInMemo(*m_.BodyRed, Session().Document().Pages.GetBody(page));
    shownPage_ = page;
}

void TMessagesEditing::StorePage()
{
    if (shownPage_ < 0)
        return;
    const QScopedValueRollback<int> filling(filling_, filling_ + 1);
    Session().SetPageText(shownPage_, ToCore(m_.TitleEd->text()), MemoToCore(*m_.BodyRed));
}

void TMessagesEditing::PageTabChanged(int index)
{
    StorePage();
    ShowPage(index);
}

void TMessagesEditing::PageChanged(int page)
{
    if (filling_ == 0 && page == shownPage_)
        ShowPage(page);
}

// ---------------------------------------------------------------------------
// The generic banks

const std::vector<std::string>& TMessagesEditing::ShownBank() const
{
    return Session().Document().Quests.GenMess[static_cast<std::size_t>(bank_)];
}

void TMessagesEditing::ShowEntry()
{
    const std::vector<std::string>& bank = ShownBank();
    const int count = static_cast<int>(bank.size());
    entry_ = std::clamp(entry_, 0, std::max(count - 1, 0));
    {
        const QScopedValueRollback<int> filling(filling_, filling_ + 1);
        m_.GMessEdit->setPlainText(count == 0 ? QString() : FromCoreMemo(bank[static_cast<std::size_t>(entry_)]));
        m_.GMessEdit->document()->setModified(false);
    }
    m_.ShowCounter(entry_, count);
}

void TMessagesEditing::SelectBank(int bank)
{
    if (inChooser_)
        return;
    bank_ = bank;
    entry_ = 0;
    ShowEntry();
}

void TMessagesEditing::FollowSide(int side)
{
    if (inChooser_ || side == bank_)
        return;
    bank_ = side;
    m_.GMessBanks->button(bank_)->setChecked(true);
    ShowEntry();
}

void TMessagesEditing::BrowseBank()
{
    // The entry box keeps its entry up to date as it is typed, so in the group
    // nothing is left to store before moving; in the chooser nothing is stored.
    entry_ = m_.gMUpD->position();
    ShowEntry();
}

// Each change of the entry box reaches the bank at once; the changes of one
// entry that follow each other make one step of the history.
void TMessagesEditing::EntryEdited()
{
    if (filling_ > 0 || inChooser_)
        return;
    const QScopedValueRollback<int> filling(filling_, filling_ + 1);
    const std::string text = MemoToCore(*m_.GMessEdit);
    if (ShownBank().empty()) // a file may bring an empty bank: the text typed becomes its first entry
        entry_ = Session().AddGenericMessage(bank_, text);
    else
        Session().SetGenericMessage(bank_, entry_, text);
    m_.GMessEdit->document()->setModified(false);
    m_.ShowCounter(entry_, static_cast<int>(ShownBank().size()));
}

void TMessagesEditing::NoAnswerEdited()
{
    if (filling_ > 0)
        return;
    const QScopedValueRollback<int> filling(filling_, filling_ + 1);
    Session().SetNoAnswerMessage(MemoToCore(*m_.NamEdit));
}

void TMessagesEditing::AddEntry()
{
    if (inChooser_)
        return;
    {
        const QScopedValueRollback<int> filling(filling_, filling_ + 1);
        entry_ = Session().AddGenericMessage(bank_);
    }
    ShowEntry();
    m_.GMessEdit->setFocus();
}

void TMessagesEditing::DeleteEntry()
{
    // A bank keeps at least one message; the session repairs the questions'
    // indexes into it, the one on screen included.
    if (inChooser_ || ShownBank().size() <= 1)
        return;
    Session().DeleteGenericMessage(bank_, entry_);
    ShowEntry();
}

void TMessagesEditing::MessagesChanged(int side)
{
    if (filling_ > 0)
        return;
    if (side < 0) {
        const QScopedValueRollback<int> filling(filling_, filling_ + 1);
        ShowInMemo(*m_.NamEdit, Session().Document().Quests.NoAnswerMess);
    } else if (side == bank_ && !inChooser_) {
        ShowEntry();
    }
}

// ---------------------------------------------------------------------------
// Captions

QString TMessagesEditing::AskCaption(const QString& caption)
{
    TLEditForm form(&window_);
    form.setWindowTitle(kCaptionDialogTitle);
    form.setText(caption);
    if (form.exec() != QDialog::Accepted || form.text().isEmpty())
        return caption;
    return form.text();
}

bool TMessagesEditing::eventFilter(QObject* watched, QEvent* event)
{
    const bool rightPress
        = event->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(event)->button() == Qt::RightButton;
    // F2 in a renamable caption's field, or on the attached-file box, is the
    // right click of the keyboard.
    const bool renameKey = event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F2
        && static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier;
    if (renameKey && (watched == m_.TitleEd || watched == m_.BodyRed)) {
        QLabel* label = watched == m_.TitleEd ? m_.TitleLab : m_.BodyLab;
        label->setText(AskCaption(label->text()));
        return true;
    }
    if (rightPress || (renameKey && watched == q_.ExtFileCheck)) {
        if (watched == m_.TitleLab || watched == m_.BodyLab) {
            auto* label = static_cast<QLabel*>(watched);
            label->setText(AskCaption(label->text()));
            return true;
        }
        if (watched == q_.ExtFileCheck) {
            RunGuarded(&window_, [this] {
                const TQuest shown = editor_.ShownQuestion();
                const QString caption = AskCaption(FromCore(shown.ExtLink));
                editor_.SetAttachedFile(shown.UseExtFile, ToCore(caption), shown.ExtFile);
            });
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace tavimor
