#include "app/LayoutTab.h"

#include "app/WidgetHelpers.h"

#include "app/PreviewBrowser.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTabBar>
#include <QToolButton>

namespace tavimor {

namespace {

QCheckBox* Check(QWidget* parent, const QString& name, const QString& text, const QRect& geometry)
{
    return Named(new QCheckBox(text, parent), name, geometry);
}

// A plain filled rectangle of the page picture.
QFrame* PictureArea(QFrame* picture, const QRect& geometry, const QColor& color)
{
    auto* area = new QFrame(picture);
    area->setGeometry(geometry);
    area->setAutoFillBackground(true);
    QPalette palette = area->palette();
    palette.setColor(QPalette::Window, color);
    area->setPalette(palette);
    return area;
}

} // namespace

TLayoutTab::TLayoutTab(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("LayoutPage"));

    ActTabLab = Named(new QLabel(this), QStringLiteral("ActTabLab"), QRect(12, 4, 400, 19));
    QFont bold = ActTabLab->font();
    bold.setBold(true);
    bold.setPointSize(10);
    ActTabLab->setFont(bold);
    SetTextColor(ActTabLab, QColor(0, 0, 128));

    sourceMemo = Named(new QPlainTextEdit(this), QStringLiteral("sourceMemo"), kPreviewPlace);
    sourceMemo->setReadOnly(true);
    sourceMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    sourceMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    sourceMemo->setFont(QFont(QStringLiteral("Arial"), 9));
    sourceMemo->setAccessibleName(QStringLiteral("Source de la page"));
    SetTextColor(sourceMemo, QColor(0, 128, 0));
    sourceMemo->hide();

    WebBrows = Named(new TPreviewBrowser(this), QStringLiteral("WebBrows"), kPreviewPlace);
    WebBrows->setAccessibleName(QStringLiteral("Aperçu de la page"));
    WebBrows->hide();

    // The right column: the note, the picture of a framed page and the layout options.
    infoLab1 = Named(new QLabel(this), QStringLiteral("infoLab1"), QRect(640, 25, 112, 100));
    infoLab1->setWordWrap(true);
    infoLab1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    SetTextColor(infoLab1, QColor(0, 128, 0));
    infoLab1->hide();

    PagePicture = Named(new QFrame(this), QStringLiteral("PagePicture"), QRect(650, 140, 92, 72));
    PagePicture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    PagePicture->setLineWidth(2);
    PagePicture->setAutoFillBackground(true);
    QPalette grey = PagePicture->palette();
    grey.setColor(QPalette::Window, QColor(192, 192, 192));
    PagePicture->setPalette(grey);
    PictureArea(PagePicture, QRect(5, 5, 18, 62), QColor(128, 128, 128));
    PictureArea(PagePicture, QRect(26, 5, 61, 62), Qt::white);

    PosMenCheck = Check(this, QStringLiteral("PosMenCheck"), QStringLiteral("Menu à gauche"), QRect(640, 222, 115, 22));
    BorderCheck
        = Check(this, QStringLiteral("BorderCheck"), QStringLiteral("Pas de bordure"), QRect(640, 246, 115, 22));
    DistFileCheck
        = Check(this, QStringLiteral("DistFileCheck"), QStringLiteral("pages distinctes"), QRect(640, 270, 115, 22));
    DistFileCheck->setChecked(true);
    DistFileCheck->hide();
    for (QCheckBox* box : {PosMenCheck, BorderCheck, DistFileCheck})
        connect(box, &QCheckBox::clicked, this, &TLayoutTab::edited);

    // Under the preview: what it shows, and the refresh button.
    viewMemCheck = Check(
        this, QStringLiteral("viewMemCheck"), QStringLiteral("afficher fichier source"), QRect(12, 392, 170, 22));
    showNavCheck = Check(
        this, QStringLiteral("showNavCheck"), QStringLiteral("afficher le navigateur"), QRect(190, 392, 170, 22));
    navBtn2 = Named(new QToolButton(this), QStringLiteral("navBtn2"), QRect(597, 388, 30, 30));
    navBtn2->setAutoRaise(true);
    navBtn2->setIconSize(QSize(20, 20));
    navBtn2->setToolTip(QStringLiteral("produire et rafraîchir la page courante"));
    navBtn2->setAccessibleName(QStringLiteral("Rafraîchir l'aperçu de la page"));
    navBtn2->setFocusPolicy(Qt::StrongFocus);

    HTabCntrl = Named(new QTabBar(this), QStringLiteral("HTabCntrl"), QRect(8, 428, 620, 26));
    HTabCntrl->setShape(QTabBar::RoundedSouth);
    HTabCntrl->setExpanding(false);
    HTabCntrl->setAccessibleName(QStringLiteral("Page prévisualisée"));
    for (const QString& tab : {QStringLiteral("Questions"), QStringLiteral("Entrée"), QStringLiteral("Évaluation"),
             QStringLiteral("Résultats.")})
        HTabCntrl->addTab(tab);

    // The preview column from top to bottom, then the options beside it.
    ChainTabOrder(
        {sourceMemo, viewMemCheck, showNavCheck, navBtn2, HTabCntrl, PosMenCheck, BorderCheck, DistFileCheck});

    // Also when the window changes a box: the other box follows, as a click would.
    connect(viewMemCheck, &QCheckBox::toggled, this, &TLayoutTab::SourceBoxChanged);
    connect(showNavCheck, &QCheckBox::toggled, this, &TLayoutTab::BrowserBoxChanged);
}

QString TLayoutTab::PageName(int tab)
{
    switch (tab) {
    case 1:
        return QStringLiteral("main");
    case 2:
        return QStringLiteral("end");
    case 3:
        return QStringLiteral("result");
    default:
        return QStringLiteral("quest");
    }
}

QString TLayoutTab::CurrentPageName() const
{
    return PageName(HTabCntrl->currentIndex());
}

void TLayoutTab::ResetPreview()
{
    sourceMemo->clear();
    sourceMemo->setFont(QFont(QStringLiteral("Courier New"), 9));
    sourceMemo->setGeometry(kPreviewPlace);
    WebBrows->setGeometry(kPreviewPlace);
    WebBrows->hide();
    // The box follows the hidden browser; nothing else is to happen.
    const QSignalBlocker silent(showNavCheck);
    showNavCheck->setChecked(false);
}

void TLayoutTab::ShowSource(const QString& text)
{
    sourceMemo->setPlainText(text);
}

void TLayoutTab::SourceBoxChanged(bool ticked)
{
    sourceMemo->setVisible(ticked);
    if (ticked)
        showNavCheck->setChecked(false);
}

void TLayoutTab::BrowserBoxChanged(bool ticked)
{
    if (WebBrows->width() != kBrowserPlace.width()) {
        WebBrows->hide();
        WebBrows->setGeometry(kBrowserPlace);
    }
    if (ticked) {
        WebBrows->show();
        WebBrows->raise();
        viewMemCheck->setChecked(false);
        emit refreshRequested();
    } else {
        WebBrows->hide();
    }
}

} // namespace tavimor
