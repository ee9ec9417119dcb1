#include "app/MessagesTab.h"

#include "app/WidgetHelpers.h"

#include <QButtonGroup>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QToolButton>

#include <algorithm>

namespace tavimor {

namespace {

QToolButton* ArrowButton(QWidget* parent, const QString& name, Qt::ArrowType arrow, int left, const QString& does)
{
    auto* button = Named(new QToolButton(parent), name, QRect(left, 0, 30, 22));
    button->setArrowType(arrow);
    button->setFocusPolicy(Qt::StrongFocus);
    NameControl(button, does);
    return button;
}

} // namespace

// ---------------------------------------------------------------------------
// TUpDown

TUpDown::TUpDown(QWidget* parent)
    : QWidget(parent)
{
    PrevBtn = ArrowButton(this, QStringLiteral("PrevBtn"), Qt::LeftArrow, 0, QStringLiteral("Message précédent"));
    NextBtn = ArrowButton(this, QStringLiteral("NextBtn"), Qt::RightArrow, 30, QStringLiteral("Message suivant"));
    resize(60, 22);
    connect(PrevBtn, &QToolButton::clicked, this, [this] { Step(-1); });
    connect(NextBtn, &QToolButton::clicked, this, [this] { Step(1); });
}

void TUpDown::setPosition(int position)
{
    position_ = std::clamp(position, 0, maximum_);
}

void TUpDown::setMaximum(int maximum)
{
    maximum_ = std::max(maximum, 0);
    position_ = std::clamp(position_, 0, maximum_);
}

void TUpDown::Step(int delta)
{
    int next = position_ + delta;
    if (next > maximum_)
        next = 0;
    else if (next < 0)
        next = maximum_;
    position_ = next;
    emit clicked();
}

// ---------------------------------------------------------------------------
// TMessagesTab

TMessagesTab::TMessagesTab(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("MessagesPage"));
    BuildGenericGroup();
    BuildPageTexts();

    NamLab = Named(new QLabel(QStringLiteral("Message lorsque non répondu:"), this), QStringLiteral("NamLab"),
        QRect(470, 222, 276, 18));
    NamEdit = Named(new QPlainTextEdit(this), QStringLiteral("NamEdit"), QRect(470, 242, 276, 96));
    NamLab->setBuddy(NamEdit);
    NamEdit->setTabChangesFocus(true);

    // The default points of the document header: kept, never shown.
    DefPValLab = Named(new QLabel(QStringLiteral("Valeur par défaut des bonnes réponses:"), this),
        QStringLiteral("DefPValLab"), QRect(470, 350, 240, 18));
    DefPValEdit = Named(new QLineEdit(this), QStringLiteral("DefPValEdit"), QRect(700, 348, 46, 22));
    DefPValLab->setBuddy(DefPValEdit);
    DefPValLab->hide();
    DefPValEdit->hide();
    ApplyTabOrder();
}

void TMessagesTab::BuildPageTexts()
{
    // One frame above its page tabs, which sit at the bottom.
    auto* pageFrame = Named(new QFrame(this), QStringLiteral("PageTextFrame"), QRect(8, 210, 450, 212));
    pageFrame->setFrameShape(QFrame::StyledPanel);
    TitleLab = Named(new QLabel(QStringLiteral("Titre"), pageFrame), QStringLiteral("TitleLab"), QRect(10, 6, 300, 18));
    TitleLab->setToolTip(QStringLiteral("clic droit: renommer l'étiquette"));
    TitleEd = Named(new QLineEdit(pageFrame), QStringLiteral("TitleEd"), QRect(10, 24, 430, 24));
    BodyLab = Named(new QLabel(QStringLiteral("Résumé"), pageFrame), QStringLiteral("BodyLab"), QRect(10, 54, 300, 18));
    BodyLab->setToolTip(TitleLab->toolTip());
    BodyRed = Named(new QPlainTextEdit(pageFrame), QStringLiteral("BodyRed"), QRect(10, 72, 430, 132));
    BodyRed->setTabChangesFocus(true);
    // The fields read as their labels, whatever the author renamed them to;
    // F2 in a field renames its label as a right click on it does.
    TitleLab->setBuddy(TitleEd);
    BodyLab->setBuddy(BodyRed);
    for (QWidget* field : {static_cast<QWidget*>(TitleEd), static_cast<QWidget*>(BodyRed)})
        field->setAccessibleDescription(QStringLiteral("F2 : renommer l'étiquette"));
    HMPTab = Named(new QTabBar(this), QStringLiteral("HMPTab"), QRect(8, 421, 450, 26));
    HMPTab->setAccessibleName(QStringLiteral("Page du site"));
    HMPTab->setShape(QTabBar::RoundedSouth);
    HMPTab->setExpanding(false);
    for (const QString& page : {QStringLiteral("Entrée"), QStringLiteral("Évaluation"), QStringLiteral("Résultats")})
        HMPTab->addTab(page);
}

QRect TMessagesTab::GroupPlaceOfGMNo()
{
    return {179, 126, 36, 26};
}

QRect TMessagesTab::GroupPlaceOfUpDown()
{
    return {176, 153, 60, 22};
}

QRect TMessagesTab::GroupPlaceOfGMessEdit()
{
    return {253, 28, 472, 160};
}

void TMessagesTab::BuildGenericGroup()
{
    GMessGroup = Named(new QGroupBox(QStringLiteral("Messages génériques aux réponses: "), this),
        QStringLiteral("GMessGroup"), QRect(8, 4, 738, 198));

    GMessBtn0 = Named(
        new QPushButton(QStringLiteral("si faux"), GMessGroup), QStringLiteral("GMessBtn0"), QRect(14, 28, 84, 26));
    GMessBtn1 = Named(
        new QPushButton(QStringLiteral("si bon"), GMessGroup), QStringLiteral("GMessBtn1"), QRect(14, 58, 84, 26));
    GMessBanks = new QButtonGroup(GMessGroup);
    GMessBanks->setObjectName(QStringLiteral("GMessBanks"));
    GMessBanks->addButton(GMessBtn0, 0);
    GMessBanks->addButton(GMessBtn1, 1);
    for (QPushButton* bank : {GMessBtn0, GMessBtn1})
        bank->setCheckable(true);
    GMessBtn1->setChecked(true);

    GMNo = Named(new QLabel(QStringLiteral("1"), GMessGroup), QStringLiteral("GMNo"), GroupPlaceOfGMNo());
    QFont large = GMNo->font();
    large.setBold(true);
    large.setPointSize(16);
    GMNo->setFont(large);
    GMNo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    SetTextColor(GMNo, Qt::red);
    auto* of = Named(new QLabel(QStringLiteral("/"), GMessGroup), QStringLiteral("GMOfLab"), QRect(216, 133, 8, 18));
    SetTextColor(of, QColor(0, 0, 128));
    maxGMess = Named(new QLabel(QStringLiteral("1"), GMessGroup), QStringLiteral("maxGMess"), QRect(226, 133, 26, 18));
    QFont bold = maxGMess->font();
    bold.setBold(true);
    maxGMess->setFont(bold);
    SetTextColor(maxGMess, QColor(0, 0, 128));

    gMUpD = Named(new TUpDown(GMessGroup), QStringLiteral("gMUpD"), GroupPlaceOfUpDown());
    btnDelMess
        = Named(new QPushButton(QStringLiteral("-"), GMessGroup), QStringLiteral("btnDelMess"), QRect(14, 152, 40, 26));
    btnAddMess
        = Named(new QPushButton(QStringLiteral("+"), GMessGroup), QStringLiteral("btnAddMess"), QRect(58, 152, 40, 26));
    btnDelMess->setEnabled(false);
    NameControl(btnDelMess, QStringLiteral("Supprimer le message"));
    NameControl(btnAddMess, QStringLiteral("Ajouter un message"));

    GMessEdit = Named(new QPlainTextEdit(GMessGroup), QStringLiteral("GMessEdit"), GroupPlaceOfGMessEdit());
    GMessEdit->setAccessibleName(QStringLiteral("Texte du message générique"));
    GMessEdit->setTabChangesFocus(true);
}

void TMessagesTab::ApplyTabOrder()
{
    ChainTabOrder({GMessBtn0, GMessBtn1, btnDelMess, btnAddMess, gMUpD->PrevBtn, gMUpD->NextBtn, GMessEdit, TitleEd,
        BodyRed, HMPTab, NamEdit, DefPValEdit});
}

void TMessagesTab::ShowCounter(int index, int count)
{
    gMUpD->setMaximum(count - 1);
    gMUpD->setPosition(index);
    maxGMess->setText(QString::number(count));
    GMNo->setText(QString::number(index + 1));
    btnDelMess->setEnabled(count > 1);
    // What the counter shows, for a screen reader in the entry box.
    GMessEdit->setAccessibleDescription(QStringLiteral("message %1 sur %2").arg(index + 1).arg(count));
}

} // namespace tavimor
