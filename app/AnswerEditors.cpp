#include "app/AnswerEditors.h"

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
    auto addTool = [&](const QString& text, const QString& name) {
        auto* button = new QToolButton(tools);
        button->setObjectName(name);
        button->setText(text);
        button->setToolTip(toolHint);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        tools->addWidget(button);
        return button;
    };
    m_addBtn = addTool(QStringLiteral("ajouter réponse"), QStringLiteral("AddRepBtn"));
    m_delBtn = addTool(QStringLiteral("enlever réponse"), QStringLiteral("DelRepBtn"));
    m_reuseBtn = addTool(QStringLiteral("réutiliser  réponses"), QStringLiteral("ReuseBtn"));

    m_tabs = new FixedTabBar(this);
    m_tabs->setObjectName(QStringLiteral("RepTabs"));
    m_tabs->setExpanding(false);
    m_tabs->setUsesScrollButtons(true);
    m_tabs->setElideMode(Qt::ElideNone);
    // The style's own padding would clip two-digit captions in 32 pixels.
    m_tabs->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 0px; border: 1px solid #9a9a9a; border-bottom: none;"
                                         " border-top-left-radius: 3px; border-top-right-radius: 3px;"
                                         " background: #dcdcdc; margin-top: 2px; }"
                                         "QTabBar::tab:selected { background: white; margin-top: 0px; }"));

    m_text = new QTextEdit(this);
    m_text->setObjectName(QStringLiteral("RepText"));
    m_text->setAcceptRichText(false);
    m_text->installEventFilter(this);

    m_help = MakeHelpLabel(this);
    m_help->setText(QStringLiteral("Utilisez F4 comme raccourci au bouton ajouter..."));
    m_insertImgBtn = MakeInsertImageButton(this);
    m_acceptBtn = MakeButton(QStringLiteral("accepter"), QStringLiteral("AcceptBtn"), this);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_insertImgBtn);
    buttons->addStretch();
    buttons->addWidget(m_acceptBtn);
    auto* editor = new QVBoxLayout;
    editor->setSpacing(0);
    editor->addWidget(m_tabs);
    editor->addWidget(m_text, 1);
    editor->addSpacing(4);
    editor->addWidget(m_help);
    editor->addSpacing(4);
    editor->addLayout(buttons);
    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(4, 4, 6, 6);
    outer->addWidget(tools);
    outer->addLayout(editor, 1);

    buildReusePanel();

    connect(m_addBtn, &QToolButton::clicked, this, &TRepTabEdit::addAnswer);
    connect(m_delBtn, &QToolButton::clicked, this, &TRepTabEdit::removeAnswer);
    connect(m_reuseBtn, &QToolButton::clicked, this, &TRepTabEdit::openReusePanel);
    connect(m_tabs, &QTabBar::currentChanged, this, &TRepTabEdit::tabChanged);
    connect(m_acceptBtn, &QPushButton::clicked, this, &TRepTabEdit::acceptAnswers);
    connect(m_insertImgBtn, &QPushButton::clicked, this, &TRepTabEdit::insertImageRequested);

    renumber();
}

void TRepTabEdit::buildReusePanel()
{
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("ReusePanel"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setAutoFillBackground(true);
    panel->setGeometry(4, 2, width() - 8, height() - 4);
    panel->hide();
    m_reusePanel = panel;

    auto* label = new QLabel(QStringLiteral("Choisir dans la liste de questions."), panel);
    label->setObjectName(QStringLiteral("ReuseLab"));
    m_reuseList = new QListWidget(panel);
    m_reuseList->setObjectName(QStringLiteral("ReuseQList"));
    m_reuseList->setFixedWidth(170);
    m_reuseBox = new QPlainTextEdit(panel);
    m_reuseBox->setObjectName(QStringLiteral("ReuseRepBox"));
    m_reuseBox->setReadOnly(true);
    m_reuseBox->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* acceptBtn = MakeButton(QStringLiteral("Accepter"), QStringLiteral("ReuseAcceptBtn"), panel);
    auto* refuseBtn = MakeButton(QStringLiteral("Refuser"), QStringLiteral("ReuseRefuseBtn"), panel);

    auto* lists = new QHBoxLayout;
    lists->addWidget(m_reuseList);
    lists->addWidget(m_reuseBox, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(acceptBtn);
    buttons->addWidget(refuseBtn);
    auto* layout = new QVBoxLayout(panel);
    layout->addWidget(label);
    layout->addLayout(lists, 1);
    layout->addLayout(buttons);

    // A question is chosen by a click or by moving the selection with the keys.
    connect(m_reuseList, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem*> chosen = m_reuseList->selectedItems();
        if (!chosen.isEmpty())
            reuseQuestionChosen(m_reuseList->row(chosen.first()));
    });
    connect(acceptBtn, &QPushButton::clicked, this, &TRepTabEdit::acceptReuse);
    connect(refuseBtn, &QPushButton::clicked, this, [this] {
        m_reusePanel->hide();
        m_text->setFocus();
    });
}

void TRepTabEdit::setAnswers(const QStringList& answers)
{
    m_working = answers.isEmpty() ? QStringList {QString()} : answers;
    renumber();
}

void TRepTabEdit::setReuseSource(int questionCount, AnswersOf answersOf)
{
    m_reuseCount = answersOf ? questionCount : 0;
    m_answersOf = std::move(answersOf);
}

void TRepTabEdit::setStoredAnswers(const QList<QStringList>& answersPerQuestion)
{
    setReuseSource(static_cast<int>(answersPerQuestion.size()),
        [answersPerQuestion](int index) { return answersPerQuestion.value(index); });
}

void TRepTabEdit::setInsertImageVisible(bool visible)
{
    m_insertImgBtn->setVisible(visible);
}

void TRepTabEdit::insertAtCaret(const QString& text)
{
    m_text->textCursor().insertText(text);
    m_text->setFocus();
}

bool TRepTabEdit::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_text && event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F4) {
        addAnswer();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TRepTabEdit::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    updateHelp();
    m_text->setFocus();
}

void TRepTabEdit::addAnswer()
{
    m_working[m_current] = m_text->toPlainText();
    m_current = static_cast<int>(m_working.size());
    m_working.append(QString());
    {
        const QSignalBlocker blocker(m_tabs);
        m_tabs->addTab(QString::number(m_current + 1));
        m_tabs->setCurrentIndex(m_current);
    }
    m_text->clear();
    updateHelp();
    m_text->setFocus();
}

// Only a tab change made by the user arrives here: the editor's own changes
// block the tab strip's signals.
void TRepTabEdit::tabChanged(int index)
{
    if (index < 0 || index >= m_working.size())
        return;
    m_working[m_current] = m_text->toPlainText();
    m_current = index;
    m_text->setPlainText(m_working[m_current]);
}

// The answer of the selected tab goes, with whatever its text box holds.
void TRepTabEdit::removeAnswer()
{
    if (m_working.size() < 2)
        return;
    m_current = m_tabs->currentIndex();
    m_working.removeAt(m_current);
    renumber();
}

void TRepTabEdit::renumber()
{
    {
        const QSignalBlocker blocker(m_tabs);
        while (m_tabs->count() > 0)
            m_tabs->removeTab(0);
        for (int i = 0; i < m_working.size(); ++i)
            m_tabs->addTab(QString::number(i + 1));
        m_current = 0;
        m_tabs->setCurrentIndex(0);
    }
    m_text->setPlainText(m_working[0]);
    updateHelp();
}

void TRepTabEdit::acceptAnswers()
{
    m_working[m_current] = m_text->toPlainText();
    accept();
}

void TRepTabEdit::openReusePanel()
{
    m_reuseList->clear();
    m_reuseBox->clear();
    for (int i = 1; i <= m_reuseCount; ++i)
        m_reuseList->addItem(QStringLiteral("question %1").arg(i));
    m_reusePanel->move(4, 2);
    m_reusePanel->show();
    m_reusePanel->raise();
    m_reuseList->setFocus();
}

void TRepTabEdit::reuseQuestionChosen(int row)
{
    if (row < 0 || row >= m_reuseCount)
        return;
    m_reuseBox->setPlainText(m_answersOf(row).join(u'\n'));
}

// An empty answer box leaves the working list as it was.
void TRepTabEdit::acceptReuse()
{
    const QStringList lines = SplitLines(m_reuseBox->toPlainText());
    if (!lines.isEmpty()) {
        m_working = lines;
        renumber();
    }
    m_reusePanel->hide();
    m_text->setFocus();
}

// The F4 hint is meant for an author who has not yet added a second answer.
void TRepTabEdit::updateHelp()
{
    m_help->setVisible(m_working.size() < 2);
}

// ------------------------------------------------------------------- TRepEdit

TRepEdit::TRepEdit(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Éditeur de Liste "));
    setFixedSize(284, 248);

    m_text = new QTextEdit(this);
    m_text->setObjectName(QStringLiteral("RepText"));
    m_text->setAcceptRichText(false);
    m_help = MakeHelpLabel(this);
    // This editor has no image to insert: its button stays hidden and inert.
    QPushButton* insertImgBtn = MakeInsertImageButton(this);
    QPushButton* acceptBtn = MakeButton(QStringLiteral("accepter"), QStringLiteral("AcceptBtn"), this);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(insertImgBtn);
    buttons->addStretch();
    buttons->addWidget(acceptBtn);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(m_text, 1);
    layout->addWidget(m_help);
    layout->addLayout(buttons);

    connect(acceptBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_text, &QTextEdit::textChanged, this, &TRepEdit::updateHelp);
    updateHelp();
}

void TRepEdit::setLines(const QStringList& lines)
{
    m_text->setPlainText(lines.join(u'\n'));
}

QStringList TRepEdit::lines() const
{
    return SplitLines(m_text->toPlainText());
}

void TRepEdit::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    updateHelp();
    m_text->setFocus();
}

void TRepEdit::updateHelp()
{
    m_help->setText(m_text->document()->isEmpty() ? QStringLiteral("Ajoutez un item par ligne")
                                                  : QStringLiteral("Modifiez ou déplacez les éléments directement."));
}

} // namespace tavimor
