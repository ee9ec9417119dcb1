#include "app/InfoTab.h"

#include "app/WidgetHelpers.h"

#include "app/TextCodec.h"
#include "model/QuizHeader.h"
#include "platform/AppSettings.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace tavimor {

TInfoTab::TInfoTab(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("InfoPage"));

    auto* identity = Named(new QGroupBox(QStringLiteral("Information personnelle"), this),
        QStringLiteral("IdentityGroup"), QRect(16, 14, 500, 186));
    const auto row = [identity](QLabel*& label, QLineEdit*& edit, const QString& labelName, const QString& caption,
                         const QString& editName, int top) {
        label = Named(new QLabel(caption, identity), labelName, QRect(16, top + 3, 140, 18));
        edit = Named(new QLineEdit(identity), editName, QRect(160, top, 320, 24));
        // The field reads as its label (the document may rename it), not as the group.
        label->setBuddy(edit);
    };
    row(ProfNameLab, ProfNameEd, QStringLiteral("ProfNameLab"), QStringLiteral("Nom de l'auteur"),
        QStringLiteral("ProfNameEd"), 30);
    row(InstitLab, InstitEd, QStringLiteral("InstitLab"), QStringLiteral("Institution"), QStringLiteral("InstitEd"),
        68);
    row(EMailLab, ProfEmailEd, QStringLiteral("EMailLab"), QStringLiteral("Courriel"), QStringLiteral("ProfEmailEd"),
        106);
    row(URLlab, ProfURLed, QStringLiteral("URLlab"), QStringLiteral("Adresse URL"), QStringLiteral("ProfURLed"), 144);

    auto* options = Named(new QGroupBox(QStringLiteral("Paramètres spécifiques "), this),
        QStringLiteral("OptionsGroup"), QRect(16, 214, 500, 150));
    NQCheck = Named(
        new QCheckBox(QStringLiteral("Afficher N Quest."), options), QStringLiteral("NQCheck"), QRect(16, 30, 200, 22));
    NQuestEdit = Named(new QLineEdit(options), QStringLiteral("NQuestEdit"), QRect(220, 29, 260, 24));
    CertCheckBox = Named(new QCheckBox(QStringLiteral("Utiliser l'indice de certitude"), options),
        QStringLiteral("CertCheckBox"), QRect(16, 72, 200, 22));
    CertEdit = Named(new QPlainTextEdit(options), QStringLiteral("CertEdit"), QRect(220, 70, 260, 56));
    NQuestEdit->setVisible(false);
    CertEdit->setVisible(false);
    // Both fields sit beside their box, under the options' group.
    NQuestEdit->setAccessibleName(QStringLiteral("Phrase du nombre de questions"));
    CertEdit->setAccessibleName(QStringLiteral("Phrase de l'indice de certitude"));
    CertEdit->setTabChangesFocus(true);
    ChainTabOrder({ProfNameEd, InstitEd, ProfEmailEd, ProfURLed, NQCheck, NQuestEdit, CertCheckBox, CertEdit});

    // Each field is shown only while its box is ticked, whoever ticks it.
    connect(NQCheck, &QCheckBox::toggled, NQuestEdit, &QWidget::setVisible);
    connect(CertCheckBox, &QCheckBox::toggled, CertEdit, &QWidget::setVisible);

    for (QLineEdit* edit : {ProfNameEd, InstitEd, ProfEmailEd, ProfURLed, NQuestEdit})
        connect(edit, &QLineEdit::editingFinished, this, &TInfoTab::edited);
    for (QCheckBox* box : {NQCheck, CertCheckBox})
        connect(box, &QCheckBox::clicked, this, &TInfoTab::edited);
}

void TInfoTab::ShowHeader(const QuizHeader& header)
{
    ProfNameLab->setText(FromCore(header.AuthorLabel));
    ProfNameEd->setText(FromCore(header.AuthorName));
    EMailLab->setText(FromCore(header.EmailLabel));
    ProfEmailEd->setText(FromCore(header.Email));
    InstitLab->setText(FromCore(header.InstitLabel));
    InstitEd->setText(FromCore(header.Institution));
    URLlab->setText(FromCore(header.UrlLabel));
    ProfURLed->setText(FromCore(header.Url));
    NQuestEdit->setText(FromCore(header.CountSentence));
    NQCheck->setChecked(header.ShowCount);
    ShowInMemo(*CertEdit, header.CertSentence);
    CertCheckBox->setChecked(header.UseCertainty);
}

void TInfoTab::TakeHeader(QuizHeader& header) const
{
    header.AuthorLabel = ToCore(ProfNameLab->text());
    header.AuthorName = ToCore(ProfNameEd->text());
    header.EmailLabel = ToCore(EMailLab->text());
    header.Email = ToCore(ProfEmailEd->text());
    header.InstitLabel = ToCore(InstitLab->text());
    header.Institution = ToCore(InstitEd->text());
    header.UrlLabel = ToCore(URLlab->text());
    header.Url = ToCore(ProfURLed->text());
    header.CountSentence = ToCore(NQuestEdit->text());
    header.ShowCount = NQCheck->isChecked();
    header.CertSentence = MemoToCore(*CertEdit);
    header.UseCertainty = CertCheckBox->isChecked();
}

void TInfoTab::RememberIdentity(AppSettings& settings) const
{
    settings.Professeur = ToCore(ProfNameEd->text());
    settings.EMail = ToCore(ProfEmailEd->text());
    settings.Institut = ToCore(InstitEd->text());
    settings.BaseURL = ToCore(ProfURLed->text());
}

} // namespace tavimor
