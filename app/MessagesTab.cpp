#include "app/MessagesTab.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabBar>

namespace tavimor {

namespace {

template <typename Widget> Widget* Named(Widget* widget, const QString& name, const QRect& geometry)
{
    widget->setObjectName(name);
    widget->setGeometry(geometry);
    return widget;
}

} // namespace

TMessagesTab::TMessagesTab(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("MessagesPage"));

    // The page texts: one frame above its page tabs, which sit at the bottom.
    auto* pageFrame = Named(new QFrame(this), QStringLiteral("PageTextFrame"), QRect(8, 8, 372, 420));
    pageFrame->setFrameShape(QFrame::StyledPanel);
    TitleLab
        = Named(new QLabel(QStringLiteral("Titre"), pageFrame), QStringLiteral("TitleLab"), QRect(12, 10, 340, 18));
    TitleEd = Named(new QLineEdit(pageFrame), QStringLiteral("TitleEd"), QRect(12, 30, 348, 24));
    BodyLab = Named(new QLabel(QStringLiteral("Résumé"), pageFrame), QStringLiteral("BodyLab"), QRect(12, 64, 340, 18));
    BodyRed = Named(new QPlainTextEdit(pageFrame), QStringLiteral("BodyRed"), QRect(12, 84, 348, 324));
    HMPTab = Named(new QTabBar(this), QStringLiteral("HMPTab"), QRect(8, 428, 372, 26));
    HMPTab->setShape(QTabBar::RoundedSouth);
    HMPTab->setExpanding(false);
    for (const QString& page : {QStringLiteral("Entrée"), QStringLiteral("Évaluation"), QStringLiteral("Résultats")})
        HMPTab->addTab(page);

    NamLab = Named(new QLabel(QStringLiteral("Message lorsque non répondu:"), this), QStringLiteral("NamLab"),
        QRect(396, 300, 340, 18));
    NamEdit = Named(new QPlainTextEdit(this), QStringLiteral("NamEdit"), QRect(396, 320, 350, 108));

    // The default points of the document header: kept, never shown.
    DefPValLab = Named(new QLabel(QStringLiteral("Valeur par défaut des bonnes réponses:"), this),
        QStringLiteral("DefPValLab"), QRect(396, 436, 240, 18));
    DefPValEdit = Named(new QLineEdit(this), QStringLiteral("DefPValEdit"), QRect(640, 434, 50, 22));
    DefPValLab->hide();
    DefPValEdit->hide();

    connect(TitleEd, &QLineEdit::textEdited, this, &TMessagesTab::edited);
    connect(BodyRed, &QPlainTextEdit::textChanged, this, &TMessagesTab::edited);
    connect(NamEdit, &QPlainTextEdit::textChanged, this, &TMessagesTab::edited);
    connect(DefPValEdit, &QLineEdit::textEdited, this, &TMessagesTab::edited);
}

} // namespace tavimor
