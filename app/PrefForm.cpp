#include "app/PrefForm.h"

#include "platform/AppSettings.h"

#include <QCheckBox>
#include <QPushButton>

namespace tavimor {

namespace {

QCheckBox* MakeCheck(QWidget* parent, const QString& name, const QString& text, int top)
{
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(name);
    box->setGeometry(40, top, 345, 24);
    return box;
}

} // namespace

TPrefFrm::TPrefFrm(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("PrefFrm"));
    setWindowTitle(QStringLiteral("Préférences"));
    setFont(QFont(QStringLiteral("Arial"), 9));
    setFixedSize(425, 356);

    autoLoad_
        = MakeCheck(this, QStringLiteral("AutoLoadCheck"), QStringLiteral("Chargement auto du dernier fichier"), 40);
    saveId_ = MakeCheck(this, QStringLiteral("SaveIDCheck"), QStringLiteral("Conserver les paramètres d'identité"), 90);
    saveTitle_ = MakeCheck(
        this, QStringLiteral("SaveTitleCheck"), QStringLiteral("Conserver titres et comment. de pages"), 140);
    fullPalette_ = MakeCheck(this, QStringLiteral("fullPalCheck"), QStringLiteral("Palette d'outils étendue"), 190);
    fullPalette_->hide();

    auto* accept = new QPushButton(QStringLiteral("Accepter"), this);
    accept->setObjectName(QStringLiteral("AcceptBtn"));
    accept->setGeometry(165, 300, 95, 28);
    accept->setDefault(true);
    connect(accept, &QPushButton::clicked, this, &QDialog::accept);
}

void TPrefFrm::ShowSettings(const AppSettings& settings)
{
    autoLoad_->setChecked(settings.AutoLoad);
    saveId_->setChecked(settings.SaveID);
    saveTitle_->setChecked(settings.SaveTitle);
    fullPalette_->setChecked(settings.FullPalette);
}

void TPrefFrm::TakeSettings(AppSettings& settings) const
{
    settings.AutoLoad = autoLoad_->isChecked();
    settings.SaveID = saveId_->isChecked();
    settings.SaveTitle = saveTitle_->isChecked();
}

bool TPrefFrm::Edit(QWidget* parent, AppSettings& settings)
{
    TPrefFrm form(parent);
    form.ShowSettings(settings);
    if (form.exec() != QDialog::Accepted)
        return false;
    form.TakeSettings(settings);
    return true;
}

} // namespace tavimor
