#include "app/AnswerEditors.h"

#include "app/WidgetHelpers.h"

#include <QColor>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <utility>

namespace tavimor {

namespace {

// Every tab of the answer strip has the same size, whatever its caption.
class FixedTabBar : public QTabBar {
public:
    using QTabBar::QTabBar;

protected:
    QSize tabSizeHint(int) const override { return {32, 18}; }
    QSize minimumTabSizeHint(int) const override { return {32, 18}; }
};

// The lines of a text box, split at CR, LF and CR LF; a final line break adds
// no empty line and an empty text has no line.
QStringList SplitLines(QString text)
{
    if (text.isEmpty())
        return {};
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    QStringList lines = text.split(u'\n');
    if (text.endsWith(u'\n'))
        lines.removeLast();
    return lines;
}

// The help texts of both editors are green, with room kept for them when hidden.
QLabel* MakeHelpLabel(QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QStringLiteral("HelpLab"));
    label->setWordWrap(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 128, 0));
    label->setPalette(palette);
    QSizePolicy policy = label->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    label->setSizePolicy(policy);
    return label;
}

QPushButton* MakeInsertImageButton(QWidget* parent)
{
    auto* button = new QPushButton(QStringLiteral("insérer une image"), parent);
    button->setObjectName(QStringLiteral("InsertImgBtn"));
    button->setFlat(true);
    button->setAutoDefault(false);
    button->hide();
    return button;
}

QPushButton* MakeButton(const QString& text, const QString& name, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

} // namespace

// ---------------------------------------------------------------- TRepTabEdit

TRepTabEdit::TRepTabEdit(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Éditeur de réponse "));
    setFont(QFont(QStringLiteral("Courier New"), 10));
    setFixedSize(564, 255);

    const QString toolHint = QStringLiteral("Réutiser un choix de réponses");
    auto* tools = new QToolBar(this);
    tools->setObjectName(QStringLiteral("RepToolBar"));
    tools->setOrientation(Qt::Vertical);
    tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    tools->setToolTip(toolHint);
    // Shown only when the buttons have no room.
    if (QWidget* more = tools->findChild<QWidget*>(QStringLiteral("qt_toolbar_ext_button")))
        more->setAccessibleName(QStringLiteral("Autres boutons"));
    auto addTool = [&](const QString& text, const QString& name) {
        auto* button = new QToolButton(tools);
        button->setObjectName(name);
        button->setText(text);
        button->setToolTip(toolHint);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        tools->addWidget(button);
        return button;
    };
    addBtn_ = addTool(QStringLiteral("ajouter réponse"), QStringLiteral("AddRepBtn"));
    delBtn_ = addTool(QStringLiteral("enlever réponse"), QStringLiteral("DelRepBtn"));
    reuseBtn_ = addTool(QStringLiteral("réutiliser  réponses"), QStringLiteral("ReuseBtn"));

    tabs_ = new FixedTabBar(this);
    tabs_->setObjectName(QStringLiteral("RepTabs"));
    tabs_->setAccessibleName(QStringLiteral("Numéro de la réponse"));
    tabs_->setExpanding(false);
    tabs_->setUsesScrollButtons(true);
    tabs_->setElideMode(Qt::ElideNone);
    // The style's own padding would clip two-digit captions in 32 pixels.
    tabs_->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 0px; border: 1px solid #9a9a9a; border-bottom: none;"
                                        " border-top-left-radius: 3px; border-top-right-radius: 3px;"
                                        " background: #dcdcdc; margin-top: 2px; }"
                                        "QTabBar::tab:selected { background: white; margin-top: 0px; }"));

    text_ = new QTextEdit(this);
    text_->setObjectName(QStringLiteral("RepText"));
    text_->setAcceptRichText(false);
    text_->setTabChangesFocus(true);
    text_->setAccessibleName(QStringLiteral("Texte de la réponse"));
    text_->setAccessibleDescription(QStringLiteral("F4 : ajouter une réponse"));
    text_->installEventFilter(this);

    help_ = MakeHelpLabel(this);
    help_->setText(QStringLiteral("Utilisez F4 comme raccourci au bouton ajouter..."));
    insertImgBtn_ = MakeInsertImageButton(this);
    acceptBtn_ = MakeButton(QStringLiteral("accepter"), QStringLiteral("AcceptBtn"), this);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(insertImgBtn_);
    buttons->addStretch();
    buttons->addWidget(acceptBtn_);
    auto* editor = new QVBoxLayout;
    editor->setSpacing(0);
    editor->addWidget(tabs_);
    editor->addWidget(text_, 1);
    editor->addSpacing(4);
    editor->addWidget(help_);
    editor->addSpacing(4);
    editor->addLayout(buttons);
    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(4, 4, 6, 6);
    outer->addWidget(tools);
    outer->addLayout(editor, 1);

    BuildReusePanel();

    connect(addBtn_, &QToolButton::clicked, this, &TRepTabEdit::AddAnswer);
    connect(delBtn_, &QToolButton::clicked, this, &TRepTabEdit::RemoveAnswer);
    connect(reuseBtn_, &QToolButton::clicked, this, &TRepTabEdit::OpenReusePanel);
    connect(tabs_, &QTabBar::currentChanged, this, &TRepTabEdit::TabChanged);
    connect(acceptBtn_, &QPushButton::clicked, this, &TRepTabEdit::AcceptAnswers);
    connect(insertImgBtn_, &QPushButton::clicked, this, &TRepTabEdit::insertImageRequested);

    Renumber();
}

void TRepTabEdit::BuildReusePanel()
{
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("ReusePanel"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setAutoFillBackground(true);
    panel->setGeometry(4, 2, width() - 8, height() - 4);
    panel->hide();
    reusePanel_ = panel;

    auto* label = new QLabel(QStringLiteral("Choisir dans la liste de questions."), panel);
    label->setObjectName(QStringLiteral("ReuseLab"));
    reuseList_ = new QListWidget(panel);
    reuseList_->setObjectName(QStringLiteral("ReuseQList"));
    reuseList_->setFixedWidth(170);
    reuseList_->setAccessibleName(QStringLiteral("Question dont reprendre les réponses"));
    reuseBox_ = new QPlainTextEdit(panel);
    reuseBox_->setObjectName(QStringLiteral("ReuseRepBox"));
    reuseBox_->setAccessibleName(QStringLiteral("Réponses de la question choisie"));
    reuseBox_->setReadOnly(true);
    reuseBox_->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* acceptBtn = MakeButton(QStringLiteral("Accepter"), QStringLiteral("ReuseAcceptBtn"), panel);
    auto* refuseBtn = MakeButton(QStringLiteral("Refuser"), QStringLiteral("ReuseRefuseBtn"), panel);

    auto* lists = new QHBoxLayout;
    lists->addWidget(reuseList_);
    lists->addWidget(reuseBox_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(acceptBtn);
    buttons->addWidget(refuseBtn);
    auto* layout = new QVBoxLayout(panel);
    layout->addWidget(label);
    layout->addLayout(lists, 1);
    layout->addLayout(buttons);

    // A question is chosen by a click or by moving the selection with the keys.
    connect(reuseList_, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem*> chosen = reuseList_->selectedItems();
        if (!chosen.isEmpty())
            ReuseQuestionChosen(reuseList_->row(chosen.first()));
    });
    ChainTabOrder({reuseList_, reuseBox_, acceptBtn, refuseBtn});
    connect(acceptBtn, &QPushButton::clicked, this, &TRepTabEdit::AcceptReuse);
    connect(refuseBtn, &QPushButton::clicked, this, [this] {
        reusePanel_->hide();
        text_->setFocus();
    });
}

void TRepTabEdit::setAnswers(const QStringList& answers)
{
    working_ = answers.isEmpty() ? QStringList {QString()} : answers;
    Renumber();
}

void TRepTabEdit::setReuseSource(int questionCount, AnswersOf answersOf)
{
    reuseCount_ = answersOf ? questionCount : 0;
    answersOf_ = std::move(answersOf);
}

void TRepTabEdit::setStoredAnswers(const QList<QStringList>& answersPerQuestion)
{
    setReuseSource(static_cast<int>(answersPerQuestion.size()),
        [answersPerQuestion](int index) { return answersPerQuestion.value(index); });
}

void TRepTabEdit::setInsertImageVisible(bool visible)
{
    insertImgBtn_->setVisible(visible);
}

void TRepTabEdit::InsertAtCaret(const QString& text)
{
    text_->textCursor().insertText(text);
    text_->setFocus();
}

bool TRepTabEdit::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == text_ && event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F4) {
        AddAnswer();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TRepTabEdit::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    UpdateHelp();
    text_->setFocus();
}

bool TRepTabEdit::focusNextPrevChild(bool next)
{
    if (reusePanel_->isVisible() && MoveFocusWithin(*reusePanel_, next))
        return true;
    return QDialog::focusNextPrevChild(next);
}

void TRepTabEdit::AddAnswer()
{
    working_[current_] = text_->toPlainText();
    current_ = static_cast<int>(working_.size());
    working_.append(QString());
    {
        const QSignalBlocker blocker(tabs_);
        tabs_->addTab(QString::number(current_ + 1));
        tabs_->setCurrentIndex(current_);
    }
    text_->clear();
    UpdateHelp();
    text_->setFocus();
}

// Only a tab change made by the user arrives here: the editor's own changes
// block the tab strip's signals.
void TRepTabEdit::TabChanged(int index)
{
    if (index < 0 || index >= working_.size())
        return;
    working_[current_] = text_->toPlainText();
    current_ = index;
    text_->setPlainText(working_[current_]);
}

// The answer of the selected tab goes, with whatever its text box holds.
void TRepTabEdit::RemoveAnswer()
{
    if (working_.size() < 2)
        return;
    current_ = tabs_->currentIndex();
    working_.removeAt(current_);
    Renumber();
}

void TRepTabEdit::Renumber()
{
    {
        const QSignalBlocker blocker(tabs_);
        while (tabs_->count() > 0)
            tabs_->removeTab(0);
        for (int i = 0; i < working_.size(); ++i)
            tabs_->addTab(QString::number(i + 1));
        current_ = 0;
        tabs_->setCurrentIndex(0);
    }
    text_->setPlainText(working_[0]);
    UpdateHelp();
}

void TRepTabEdit::AcceptAnswers()
{
    working_[current_] = text_->toPlainText();
    accept();
}

void TRepTabEdit::OpenReusePanel()
{
    reuseList_->clear();
    reuseBox_->clear();
    for (int i = 1; i <= reuseCount_; ++i)
        reuseList_->addItem(QStringLiteral("question %1").arg(i));
    reusePanel_->move(4, 2);
    reusePanel_->show();
    reusePanel_->raise();
    reuseList_->setFocus();
}

void TRepTabEdit::ReuseQuestionChosen(int row)
{
    if (row < 0 || row >= reuseCount_)
        return;
    reuseBox_->setPlainText(answersOf_(row).join(u'\n'));
}

// An empty answer box leaves the working list as it was.
void TRepTabEdit::AcceptReuse()
{
    const QStringList lines = SplitLines(reuseBox_->toPlainText());
    if (!lines.isEmpty()) {
        working_ = lines;
        Renumber();
    }
    reusePanel_->hide();
    text_->setFocus();
}

// The F4 hint is meant for an author who has not yet added a second answer.
void TRepTabEdit::UpdateHelp()
{
    help_->setVisible(working_.size() < 2);
}

// ------------------------------------------------------------------- TRepEdit

TRepEdit::TRepEdit(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Éditeur de Liste "));
    setFixedSize(284, 248);

    text_ = new QTextEdit(this);
    text_->setObjectName(QStringLiteral("RepText"));
    text_->setAcceptRichText(false);
    text_->setTabChangesFocus(true);
    text_->setAccessibleName(QStringLiteral("Options de la liste, une par ligne"));
    help_ = MakeHelpLabel(this);
    // This editor has no image to insert: its button stays hidden and inert.
    QPushButton* insertImgBtn = MakeInsertImageButton(this);
    QPushButton* acceptBtn = MakeButton(QStringLiteral("accepter"), QStringLiteral("AcceptBtn"), this);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(insertImgBtn);
    buttons->addStretch();
    buttons->addWidget(acceptBtn);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(text_, 1);
    layout->addWidget(help_);
    layout->addLayout(buttons);

    connect(acceptBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(text_, &QTextEdit::textChanged, this, &TRepEdit::UpdateHelp);
    UpdateHelp();
}

void TRepEdit::setLines(const QStringList& lines)
{
    text_->setPlainText(lines.join(u'\n'));
}

QStringList TRepEdit::lines() const
{
    return SplitLines(text_->toPlainText());
}

void TRepEdit::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    UpdateHelp();
    text_->setFocus();
}

void TRepEdit::UpdateHelp()
{
    help_->setText(text_->document()->isEmpty() ? QStringLiteral("Ajoutez un item par ligne")
                                                : QStringLiteral("Modifiez ou déplacez les éléments directement."));
}

} // namespace tavimor
