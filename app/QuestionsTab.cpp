#include "app/QuestionsTab.h"

#include "app/WidgetHelpers.h"

#include "app/RepGroup.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>

namespace tavimor {

namespace {

QFont BoldFont(const QWidget* widget, int pointSize)
{
    QFont font = widget->font();
    font.setBold(true);
    font.setPointSize(pointSize);
    return font;
}

// A picture button of the answer tools: its hint shows under the pointer,
// its name says what it does to a screen reader; Tab reaches it.
QToolButton* ToolButton(QWidget* parent, const QString& name, const QString& hint, const QString& does, int top)
{
    auto* button = Named(new QToolButton(parent), name, QRect(4, top, 30, 30));
    button->setAutoRaise(true);
    button->setToolTip(hint);
    button->setAccessibleName(does);
    button->setFocusPolicy(Qt::StrongFocus);
    return button;
}

} // namespace

// ---------------------------------------------------------------------------
// TQuestListBox

TQuestListBox::TQuestListBox(QWidget* parent)
    : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setContextMenuPolicy(Qt::NoContextMenu);
}

void TQuestListBox::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        // The line pressed becomes the question shown at once, so that the
        // highlight and the editor always agree; moving on with the button
        // down drags that line.
        const int row = indexAt(at).row();
        if (row < 0)
            return;
        setCurrentRow(row);
        emit lineClicked(row);
        pressPoint_ = at;
        pressButton_ = Qt::LeftButton;
        return;
    }
    if (event->button() != Qt::RightButton)
        return;
    // The right button never selects; it drags the selected line at once.
    if (currentRow() < 0 || selectedItems().isEmpty())
        return;
    pressButton_ = Qt::RightButton;
    StartDrag();
}

void TQuestListBox::mouseMoveEvent(QMouseEvent* event)
{
    // The selection never follows the pointer: only a drag moves a line.
    event->accept();
    const QPoint at = event->position().toPoint();
    if (!dragging_ && pressButton_ == Qt::LeftButton
        && (at - pressPoint_).manhattanLength() >= QApplication::startDragDistance())
        StartDrag();
    if (dragging_)
        viewport()->setCursor(viewport()->rect().contains(at) ? Qt::DragMoveCursor : Qt::ForbiddenCursor);
}

void TQuestListBox::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() != pressButton_)
        return;
    pressButton_ = Qt::NoButton;
    if (!dragging_)
        return;
    EndDrag();
    const QPoint at = event->position().toPoint();
    if (viewport()->rect().contains(at))
        emit lineDropped(indexAt(at).row());
}

void TQuestListBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    // A second press selects as the first one did.
    mousePressEvent(event);
}

void TQuestListBox::StartDrag()
{
    dragging_ = true;
    viewport()->setCursor(Qt::DragMoveCursor);
}

void TQuestListBox::EndDrag()
{
    dragging_ = false;
    pressButton_ = Qt::NoButton;
    viewport()->unsetCursor();
}

void TQuestListBox::keyPressEvent(QKeyEvent* event)
{
    if (dragging_ && event->key() == Qt::Key_Escape) {
        EndDrag();
        event->accept();
        return;
    }
    // Alt+Up and Alt+Down move the selected question as a drag onto the
    // line above or below would.
    const bool up = event->key() == Qt::Key_Up;
    if ((up || event->key() == Qt::Key_Down) && (event->modifiers() & ~Qt::KeypadModifier) == Qt::AltModifier) {
        event->accept();
        const int row = currentRow();
        const int target = up ? row - 1 : row + 1;
        if (row >= 0 && !selectedItems().isEmpty() && target >= 0 && target < count())
            emit lineDropped(target);
        return;
    }
    const int before = currentRow();
    QListWidget::keyPressEvent(event);
    if (currentRow() != before && currentRow() >= 0)
        emit lineClicked(currentRow());
}

// ---------------------------------------------------------------------------
// TClickLabel, TPressPanel

void TClickLabel::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() == Qt::LeftButton)
        emit clicked();
}

void TPressPanel::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    emit pressed();
}

bool TPressPanel::focusNextPrevChild(bool next)
{
    if (holdsKeyboard_ && isVisible() && MoveFocusWithin(*this, next))
        return true;
    return QFrame::focusNextPrevChild(next);
}

// ---------------------------------------------------------------------------
// TQuestionsTab

TQuestionsTab::TQuestionsTab(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("QuestionsPage"));
    BuildListSide();

    QTypeLab = Named(new TClickLabel(QStringLiteral("Type: KWZ Standard"), this), QStringLiteral("QTypeLab"),
        QRect(236, 6, 300, 18));
    QTypeLab->setCursor(Qt::PointingHandCursor);
    QTypeLab->setFont(BoldFont(QTypeLab, 9));

    InsImgBtn = Named(new QPushButton(QStringLiteral("insérer une image"), this), QStringLiteral("InsImgBtn"),
        QRect(604, 3, 145, 23));
    InsImgBtn->setFlat(true);

    QuestEdit = Named(new QPlainTextEdit(this), QStringLiteral("QuestEdit"), QRect(236, 30, 513, 116));
    QuestEdit->setAccessibleName(QStringLiteral("Texte de la question"));
    QuestEdit->setTabChangesFocus(true);

    QuestPages = Named(new QTabWidget(this), QStringLiteral("QuestPages"), QRect(236, 152, 513, 308));
    QuestPages->setTabPosition(QTabWidget::South);
    auto* answers = new TPressPanel();
    answers->setObjectName(QStringLiteral("RepSheet"));
    auto* mess = new TPressPanel();
    mess->setObjectName(QStringLiteral("MessSheet"));
    QuestPages->addTab(answers, QStringLiteral("Réponses"));
    QuestPages->addTab(mess, QStringLiteral("Mess."));
    QuestPages->tabBar()->setAccessibleName(QStringLiteral("Pages de la question"));
    BuildAnswersPage(answers);
    BuildMessPage(mess);

    // As on screen: the list side, the question, the page shown, then the page
    // tabs under it; the overlays follow the controls they cover.
    ChainTabOrder({MainQListBox, delQBtn, addQBtn, PriRGroup->button(0), PriRGroup->button(1), PriRGroup->button(2),
        ValEd, InsImgBtn, QuestEdit, REdBtn, delRepBtn, MoveRepBtn, colBtn, RepGroup, RepGroup->OptionList(), messBtn1,
        messBtn0, GGCheck, ChMsgBtn, MessEdit, ExtFileCheck, ExtFileBtn, ReUseFileBtn, ResumCheck, FileReuseList,
        FileReuseBox, FileReuseOkBtn, FileReuseNoBtn, MChooserOkBtn, QuestPages->tabBar()});
}

void TQuestionsTab::BuildListSide()
{
    auto* title
        = Named(new QLabel(QStringLiteral("Question:"), this), QStringLiteral("QuestTitleLab"), QRect(10, 8, 62, 18));
    title->setFont(BoldFont(title, 9));
    QNoLab = Named(new QLabel(this), QStringLiteral("QNoLab"), QRect(76, 3, 80, 26));
    QNoLab->setFont(BoldFont(QNoLab, 12));
    SetTextColor(QNoLab, Qt::red);

    MainQListBox = Named(new TQuestListBox(this), QStringLiteral("MainQListBox"), QRect(8, 30, 218, 250));
    MainQListBox->setAccessibleName(QStringLiteral("Liste des questions"));
    MainQListBox->setAccessibleDescription(QStringLiteral("Alt+Haut, Alt+Bas : déplacer la question"));
    MainQListBox->setFont(QFont(QStringLiteral("Courier New"), 8));
    SetTextColor(MainQListBox, QColor(0, 0, 128));

    delQBtn = Named(new QPushButton(QStringLiteral("Supprimer la question"), this), QStringLiteral("delQBtn"),
        QRect(8, 286, 218, 25));
    addQBtn = Named(new QPushButton(QStringLiteral("Ajouter une question"), this), QStringLiteral("addQBtn"),
        QRect(8, 314, 218, 25));

    PriRGroupBox = Named(
        new QGroupBox(QStringLiteral("Priorité : "), this), QStringLiteral("PriRGroup"), QRect(8, 343, 218, 80));
    PriRGroup = new QButtonGroup(PriRGroupBox);
    PriRGroup->setObjectName(QStringLiteral("PriRGroupButtons"));
    const QStringList priorities {
        QStringLiteral("ordinaire"), QStringLiteral("additionnelle"), QStringLiteral("extraordinaire")};
    for (int i = 0; i < priorities.size(); ++i) {
        auto* item = Named(new QRadioButton(priorities[i], PriRGroupBox), QStringLiteral("PriItem%1").arg(i),
            QRect(14, 20 + 19 * i, 190, 19));
        PriRGroup->addButton(item, i);
    }
    PriRGroup->button(0)->setChecked(true);

    auto* total
        = Named(new QLabel(QStringLiteral("Nbre total:"), this), QStringLiteral("TotalLab"), QRect(10, 430, 66, 18));
    total->setFont(BoldFont(total, 9));
    MaxQLab = Named(new QLabel(this), QStringLiteral("MaxQLab"), QRect(80, 429, 80, 20));
    MaxQLab->setFont(BoldFont(MaxQLab, 10));
    SetTextColor(MaxQLab, Qt::blue);

    // The value of a question is kept but never shown.
    ValLab = Named(new QLabel(QStringLiteral("Valeur:"), this), QStringLiteral("ValLab"), QRect(160, 430, 40, 18));
    ValEd = Named(new QLineEdit(this), QStringLiteral("ValEd"), QRect(200, 429, 30, 20));
    ValLab->setBuddy(ValEd);
    ValLab->hide();
    ValEd->hide();
}

void TQuestionsTab::BuildAnswersPage(QWidget* page)
{
    REdBtn = ToolButton(page, QStringLiteral("REdBtn"), QStringLiteral("Choix de réponses"),
        QStringLiteral("Choix de réponses : ajouter ou modifier les réponses"), 4);
    REdBtn->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    delRepBtn = ToolButton(page, QStringLiteral("delRepBtn"), QStringLiteral("Supprimer dernier item"),
        QStringLiteral("Supprimer la dernière réponse"), 38);
    delRepBtn->setIcon(style()->standardIcon(QStyle::SP_DialogDiscardButton));
    MoveRepBtn = ToolButton(page, QStringLiteral("MoveRepBtn"), QStringLiteral("Déplacer sélection"),
        QStringLiteral("Déplacer la bonne réponse d'une place vers le bas"), 72);
    MoveRepBtn->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
    colBtn = ToolButton(page, QStringLiteral("colBtn"), QStringLiteral("nombre de colonnes"),
        QStringLiteral("Nombre de colonnes"), 106);
    colBtn->setFont(BoldFont(colBtn, 10));
    ShowColumns(1);

    // The group keeps its width; answers beyond its height scroll.
    constexpr QRect groupPlace(40, 2, 398, 274);
    auto* scroll = Named(new QScrollArea(page), QStringLiteral("RepScroll"),
        groupPlace.adjusted(0, 0, style()->pixelMetric(QStyle::PM_ScrollBarExtent), 0));
    scroll->setFrameShape(QFrame::NoFrame);
    // The group takes the keyboard itself and scrolls to the answer it is on.
    scroll->setFocusPolicy(Qt::NoFocus);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scroll->setWidgetResizable(false);
    RepGroup = new TRepGroup;
    RepGroup->setObjectName(QStringLiteral("RepGroup"));
    RepGroup->setAccessibleName(QStringLiteral("Réponses de la question"));
    RepGroup->resize(groupPlace.size());
    RepGroup->setVisibleHeight(groupPlace.height());
    scroll->setWidget(RepGroup);

    InfoLab = Named(new QLabel(page), QStringLiteral("InfoLab"), QRect(52, 40, 374, 170));
    InfoLab->setTextFormat(Qt::PlainText); // the text names the "<option>" marker
    InfoLab->setWordWrap(true);
    InfoLab->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    SetTextColor(InfoLab, QColor(0, 128, 0));
    InfoLab->hide();
}

void TQuestionsTab::BuildMessPage(QWidget* page)
{
    MessPanl = Named(new TPressPanel(page), QStringLiteral("MessPanl"), QRect(2, 2, 505, 276));
    MessPanl->setFrameShape(QFrame::Panel);
    MessPanl->setFrameShadow(QFrame::Raised);

    Named(new QLabel(QStringLiteral("Messages:"), MessPanl), QStringLiteral("MessLab"), QRect(8, 10, 70, 18));
    messBtn1
        = Named(new QPushButton(QStringLiteral("si bon"), MessPanl), QStringLiteral("messBtn1"), QRect(80, 6, 72, 24));
    messBtn0 = Named(
        new QPushButton(QStringLiteral("si faux"), MessPanl), QStringLiteral("messBtn0"), QRect(154, 6, 72, 24));
    auto* sides = new QButtonGroup(MessPanl);
    for (QPushButton* side : {messBtn0, messBtn1}) {
        side->setCheckable(true);
        sides->addButton(side);
    }
    messBtn1->setChecked(true);

    GGCheck = Named(new QCheckBox(QStringLiteral("Utiliser message générique"), MessPanl), QStringLiteral("GGCheck"),
        QRect(244, 7, 240, 22));
    GGCheck->setChecked(true);

    ChMsgBtn = Named(new QPushButton(QStringLiteral("changer de mess."), MessPanl), QStringLiteral("ChMsgBtn"),
        QRect(8, 36, 130, 24));
    ChMsgBtn->setToolTip(QStringLiteral("choisir autre message dans la banque"));

    MessEdit = Named(new QPlainTextEdit(MessPanl), QStringLiteral("MessEdit"), QRect(8, 64, 489, 140));
    MessEdit->setAccessibleName(QStringLiteral("Message de la réponse"));
    MessEdit->setTabChangesFocus(true);

    ExtFileCheck = Named(new QCheckBox(QStringLiteral("voir le fichier: "), MessPanl), QStringLiteral("ExtFileCheck"),
        QRect(8, 212, 300, 22));
    ExtFileCheck->setToolTip(QStringLiteral("ajouter fichier annexe"));
    ExtFileCheck->setAccessibleDescription(QStringLiteral("F2 : modifier le texte du lien"));
    ExtFileBtn = Named(new QPushButton(QStringLiteral("nom du fichier..."), MessPanl), QStringLiteral("ExtFileBtn"),
        QRect(8, 240, 260, 25));
    ExtFileBtn->setToolTip(QStringLiteral("nom du fichier à ajouter"));
    ReUseFileBtn = Named(new QPushButton(QStringLiteral("Réutiliser un fichier"), MessPanl),
        QStringLiteral("ReUseFileBtn"), QRect(276, 240, 160, 25));
    ResumCheck = Named(new QCheckBox(QStringLiteral("Afficher résumé"), MessPanl), QStringLiteral("ResumCheck"),
        QRect(320, 212, 160, 22));
    ResumCheck->hide();

    FileReusePan = Named(new TPressPanel(MessPanl), QStringLiteral("FileReusePan"), QRect(4, 8, 497, 262));
    FileReusePan->setFrameShape(QFrame::Panel);
    FileReusePan->setFrameShadow(QFrame::Raised);
    FileReusePan->setAutoFillBackground(true);
    FileReusePan->SetHoldsKeyboard(true);
    Named(new QLabel(QStringLiteral("Choisir dans la liste de questions."), FileReusePan),
        QStringLiteral("FileReuseLab"), QRect(8, 6, 300, 18));
    FileReuseList = Named(new QListWidget(FileReusePan), QStringLiteral("FileReuseList"), QRect(8, 26, 170, 196));
    FileReuseList->setAccessibleName(QStringLiteral("Question dont reprendre le fichier"));
    FileReuseBox = Named(new QPlainTextEdit(FileReusePan), QStringLiteral("FileReuseBox"), QRect(186, 26, 302, 196));
    FileReuseBox->setAccessibleName(QStringLiteral("Fichier annexe de la question choisie"));
    FileReuseBox->setReadOnly(true);
    FileReuseBox->setLineWrapMode(QPlainTextEdit::NoWrap);
    FileReuseOkBtn = Named(new QPushButton(QStringLiteral("Accepter"), FileReusePan), QStringLiteral("FileReuseOkBtn"),
        QRect(302, 228, 90, 26));
    FileReuseNoBtn = Named(new QPushButton(QStringLiteral("Refuser"), FileReusePan), QStringLiteral("FileReuseNoBtn"),
        QRect(398, 228, 90, 26));
    FileReusePan->hide();

    MChooserPan = Named(new TPressPanel(page), QStringLiteral("MChooserPan"), QRect(8, 8, 490, 262));
    MChooserPan->setFrameShape(QFrame::Panel);
    MChooserPan->setFrameShadow(QFrame::Raised);
    MChooserPan->setAutoFillBackground(true);
    MChooserPan->SetHoldsKeyboard(true);
    MChooserOkBtn = Named(new QPushButton(QStringLiteral("fermer"), MChooserPan), QStringLiteral("MChooserOkBtn"),
        QRect(390, 226, 90, 26));
    MChooserPan->hide();
}

void TQuestionsTab::ShowColumns(int columns)
{
    colBtn->setText(QString::number(columns));
    colBtn->setAccessibleDescription(
        columns == 1 ? QStringLiteral("1 colonne") : QStringLiteral("%1 colonnes").arg(columns));
}

void TQuestionsTab::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    emit backgroundPressed();
}

} // namespace tavimor
