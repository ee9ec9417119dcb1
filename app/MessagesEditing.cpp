#include "app/MessagesEditing.h"

#include "app/EditorBinding.h"
#include "app/ErrorBoundary.h"
#include "app/LineEditForm.h"
#include "app/LinkDialog.h"
#include "app/MessagesTab.h"
#include "app/QuestionsTab.h"
#include "app/TMain.h"
#include "app/TextCodec.h"
#include "model/QuestModel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>

#include <algorithm>

namespace tavimor {

namespace {

const QString kCaptionDialogTitle = QStringLiteral("Modifier cette étiquette? ");

// Where the chooser shows the controls it borrows.
const QRect kChooserGMNo {10, 10, 36, 26};
const QRect kChooserUpDown {10, 40, 60, 22};
const QRect kChooserGMessEdit {150, 10, 330, 160};
const QColor kSilver {192, 192, 192};

class FillingScope {
public:
    explicit FillingScope(int& depth)
        : depth_(depth)
    {
        ++depth_;
    }
    ~FillingScope() { --depth_; }
    FillingScope(const FillingScope&) = delete;
    FillingScope& operator=(const FillingScope&) = delete;

private:
    int& depth_;
};

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

TMessagesEditing::TMessagesEditing(QWidget& window, TQuestList& quests, TEditorBinding& binding,
    TQuestionsTab& questions, TMessagesTab& messages, Hooks hooks)
    : window_(window)
    , quests_(quests)
    , binding_(binding)
    , q_(questions)
    , m_(messages)
    , hooks_(std::move(hooks))
{
    QWidget* const w = &window_;

    // "Mess." sub-page.
    connect(q_.ChMsgBtn, &QPushButton::clicked, this, Guarded(w, [this] { OpenChooser(); }));
    connect(q_.MChooserOkBtn, &QPushButton::clicked, this, Guarded(w, [this] { CloseChooser(true); }));
    connect(q_.ExtFileBtn, &QPushButton::clicked, this, Guarded(w, [this] { ChooseAttachedFile(); }));
    connect(q_.ReUseFileBtn, &QPushButton::clicked, this, Guarded(w, [this] { OpenFileReuse(); }));
    connect(q_.FileReuseList, &QListWidget::currentRowChanged, this,
        [this](int row) { RunGuarded(&window_, [this, row] { ShowReusedFile(row); }); });
    connect(q_.FileReuseOkBtn, &QPushButton::clicked, this, [this] { AcceptReusedFile(); });
    connect(q_.FileReuseNoBtn, &QPushButton::clicked, q_.FileReusePan, &QWidget::hide);
    connect(q_.QuestPages, &QTabWidget::currentChanged, q_.FileReusePan, &QWidget::hide);
    // The Messages tab's bank follows the side shown.
    connect(q_.messBtn0, &QPushButton::clicked, this, [this] { FollowSide(kWrongSide); });
    connect(q_.messBtn1, &QPushButton::clicked, this, [this] { FollowSide(kRightSide); });

    // "Messages" tab.
    connect(m_.GMessBanks, &QButtonGroup::idClicked, this, [this](int bank) { SelectBank(bank); });
    connect(m_.gMUpD, &TUpDown::clicked, this, [this] { BrowseBank(); });
    connect(m_.btnAddMess, &QPushButton::clicked, this, [this] { AddEntry(); });
    connect(m_.btnDelMess, &QPushButton::clicked, this, Guarded(w, [this] { DeleteEntry(); }));
    connect(m_.GMessEdit, &QPlainTextEdit::textChanged, this, [this] { EntryEdited(); });

    for (QObject* caption :
        {static_cast<QObject*>(m_.TitleLab), static_cast<QObject*>(m_.BodyLab), static_cast<QObject*>(q_.ExtFileCheck)})
        caption->installEventFilter(this);

    ShowEntry();
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
    ShowEntry();
}

void TMessagesEditing::MainTabChanged(int index)
{
    if (index != TMain::kQuestionsTab)
        CloseChooser(false);
    // A document read since the tab was last shown may hold other banks.
    if (index == TMain::kMessagesTab)
        ShowEntry();
}

// ---------------------------------------------------------------------------
// The generic-message chooser

void TMessagesEditing::OpenChooser()
{
    if (inChooser_)
        return;
    // The chooser browses the bank of the side shown, from the index the
    // question on screen shows.
    bank_ = binding_.MessSide;
    m_.GMessBanks->button(bank_)->setChecked(true);
    entry_ = binding_.MessEditTag;
    inChooser_ = true;
    LendToChooser();
    ShowEntry();
    q_.MChooserPan->show();
    q_.MChooserPan->raise();
}

void TMessagesEditing::CloseChooser(bool choose)
{
    if (!inChooser_)
        return;
    const int chosen = m_.gMUpD->position();
    q_.MChooserPan->hide();
    GiveBackToGroup();
    inChooser_ = false;
    // Only a side that shows a generic message takes one: a question shown
    // since the chooser opened may show its own text, which stays.
    if (choose && q_.GGCheck->isChecked()) {
        entry_ = chosen;
        binding_.MessEditTag = chosen;
        binding_.ChMsgBtnTag = chosen;
        const std::vector<std::string>& bank = ShownBank();
        q_.MessEdit->setPlainText(
            chosen < static_cast<int>(bank.size()) ? FromCoreMemo(bank[static_cast<std::size_t>(chosen)]) : QString());
        StoreSide();
    } else {
        // Nothing chosen: the group shows again the entry the chooser started from.
        entry_ = binding_.MessEditTag;
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
}

void TMessagesEditing::GiveBackToGroup()
{
    QWidget* group = m_.GMessGroup;
    MoveTo(m_.GMNo, group, TMessagesTab::GroupPlaceOfGMNo());
    MoveTo(m_.gMUpD, group, TMessagesTab::GroupPlaceOfUpDown());
    MoveTo(m_.GMessEdit, group, TMessagesTab::GroupPlaceOfGMessEdit());
    m_.GMessEdit->setEnabled(true);
    SetBase(m_.GMessEdit, Qt::white);
}

// ---------------------------------------------------------------------------
// The attached file

void TMessagesEditing::ChooseAttachedFile()
{
    // A production since the last use moves the dialog to the new site.
    const QString start = hooks_.LinkStartFolder ? hooks_.LinkStartFolder() : QString();
    if (start != lastStartFolder_) {
        lastStartFolder_ = start;
        linkFolder_ = start;
    }
    const TAttachedFileCaptions captions {q_.ExtFileCheck->text(), q_.ExtFileBtn->text()};
    const TAttachedFileCaptions chosen = tavimor::ChooseAttachedFile(&window_, captions, linkFolder_, linkList_);
    q_.ExtFileCheck->setText(chosen.CheckCaption);
    q_.ExtFileBtn->setText(chosen.ButtonCaption);
    StoreSide();
}

void TMessagesEditing::OpenFileReuse()
{
    {
        const QSignalBlocker quiet(q_.FileReuseList);
        q_.FileReuseList->clear();
    }
    q_.FileReuseBox->clear();
    for (int k = 1; k <= quests_.Count(); ++k)
        q_.FileReuseList->addItem(QStringLiteral("Question ") + QString::number(k));
    q_.FileReusePan->show();
    q_.FileReusePan->raise();
}

void TMessagesEditing::ShowReusedFile(int row)
{
    if (row < 0 || row >= quests_.Count())
        return;
    q_.FileReuseBox->setPlainText(FromCore(quests_.GetExtFile(row + 1)));
}

void TMessagesEditing::AcceptReusedFile()
{
    const QString file = q_.FileReuseBox->toPlainText();
    if (!file.isEmpty())
        q_.ExtFileBtn->setText(file);
    q_.FileReusePan->hide();
}

// ---------------------------------------------------------------------------
// The generic banks

std::vector<std::string>& TMessagesEditing::ShownBank()
{
    return quests_.GenMess[static_cast<std::size_t>(bank_)];
}

void TMessagesEditing::ShowEntry()
{
    std::vector<std::string>& bank = ShownBank();
    const int count = static_cast<int>(bank.size());
    entry_ = std::clamp(entry_, 0, std::max(count - 1, 0));
    {
        const FillingScope filling(filling_);
        m_.GMessEdit->setPlainText(count == 0 ? QString() : FromCoreMemo(bank[static_cast<std::size_t>(entry_)]));
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

void TMessagesEditing::EntryEdited()
{
    if (filling_ > 0 || inChooser_)
        return;
    std::vector<std::string>& bank = ShownBank();
    if (bank.empty()) // a file may bring an empty bank: the text typed becomes its first entry
        bank.emplace_back();
    bank[static_cast<std::size_t>(entry_)] = MemoToCore(*m_.GMessEdit);
    m_.ShowCounter(entry_, static_cast<int>(bank.size()));
    if (hooks_.Modified)
        hooks_.Modified();
}

void TMessagesEditing::AddEntry()
{
    if (inChooser_)
        return;
    std::vector<std::string>& bank = ShownBank();
    bank.emplace_back();
    entry_ = static_cast<int>(bank.size()) - 1;
    ShowEntry();
    m_.GMessEdit->setFocus();
    if (hooks_.Modified)
        hooks_.Modified();
}

void TMessagesEditing::DeleteEntry()
{
    std::vector<std::string>& bank = ShownBank();
    // A bank keeps at least one message.
    if (inChooser_ || bank.size() <= 1)
        return;
    const int removed = entry_;
    bank.erase(bank.begin() + removed);
    ShowEntry();
    // The questions' indexes into this bank are repaired from the position
    // removed (the entry shown next may have another number).
    quests_.ShiftMessIdx(removed, bank_);
    // The index held on screen for the question being edited follows the
    // same repair, or its next store would write the old index back.
    if (quests_.CurQ != 0 && binding_.MessSide == bank_) {
        binding_.MessEditTag = ShiftedMessIdx(binding_.MessEditTag, removed);
        binding_.ChMsgBtnTag = ShiftedMessIdx(binding_.ChMsgBtnTag, removed);
        if (q_.GGCheck->isChecked())
            q_.MessEdit->setPlainText(FromCoreMemo(bank[static_cast<std::size_t>(binding_.MessEditTag)]));
    }
    if (hooks_.Modified)
        hooks_.Modified();
}

// ---------------------------------------------------------------------------
// Captions and storing

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
    if (event->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        if (watched == m_.TitleLab || watched == m_.BodyLab) {
            auto* label = static_cast<QLabel*>(watched);
            label->setText(AskCaption(label->text()));
            return true;
        }
        if (watched == q_.ExtFileCheck) {
            q_.ExtFileCheck->setText(AskCaption(q_.ExtFileCheck->text()));
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void TMessagesEditing::StoreSide()
{
    const int n = quests_.CurQ;
    if (n != 0 && binding_.StoreMessFromEditor(n, binding_.MessSide) && hooks_.Modified)
        hooks_.Modified();
}

} // namespace tavimor
