#include "app/LayoutTab.h"

#include <QCheckBox>

namespace tavimor {

namespace {

QCheckBox* Check(QWidget* parent, const QString& name, const QString& text, int top)
{
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(name);
    box->setGeometry(640, top, 115, 22);
    return box;
}

} // namespace

TLayoutTab::TLayoutTab(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("LayoutPage"));
    PosMenCheck = Check(this, QStringLiteral("PosMenCheck"), QStringLiteral("Menu à gauche"), 250);
    BorderCheck = Check(this, QStringLiteral("BorderCheck"), QStringLiteral("Pas de bordure"), 274);
    DistFileCheck = Check(this, QStringLiteral("DistFileCheck"), QStringLiteral("pages distinctes"), 298);
    DistFileCheck->setChecked(true);
    DistFileCheck->hide();
    for (QCheckBox* box : {PosMenCheck, BorderCheck, DistFileCheck})
        connect(box, &QCheckBox::clicked, this, &TLayoutTab::edited);
}

} // namespace tavimor
