#include "app/PrefForm.h"

#include "presentation/AppSettings.h"

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

    m_autoLoad
        = MakeCheck(this, QStringLiteral("AutoLoadCheck"), QStringLiteral("Chargement auto du dernier fichier"), 40);
    m_saveId
        = MakeCheck(this, QStringLiteral("SaveIDCheck"), QStringLiteral("Conserver les paramètres d'identité"), 90);
    m_saveTitle = MakeCheck(
        this, QStringLiteral("SaveTitleCheck"), QStringLiteral("Conserver titres et comment. de pages"), 140);
    m_fullPalette = MakeCheck(this, QStringLiteral("fullPalCheck"), QStringLiteral("Palette d'outils étendue"), 190);
    m_fullPalette->hide();

    auto* accept = new QPushButton(QStringLiteral("Accepter"), this);
    accept->setObjectName(QStringLiteral("AcceptBtn"));
    accept->setGeometry(165, 300, 95, 28);
    accept->setDefault(true);
    connect(accept, &QPushButton::clicked, this, &QDialog::accept);
}

void TPrefFrm::ShowSettings(const AppSettings& settings)
{
    m_autoLoad->setChecked(settings.AutoLoad);
    m_saveId->setChecked(settings.SaveID);
    m_saveTitle->setChecked(settings.SaveTitle);
    m_fullPalette->setChecked(settings.FullPalette);
}

void TPrefFrm::TakeSettings(AppSettings& settings) const
{
    settings.AutoLoad = m_autoLoad->isChecked();
    settings.SaveID = m_saveId->isChecked();
    settings.SaveTitle = m_saveTitle->isChecked();
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
