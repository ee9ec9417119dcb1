#include "app/ExamVersionsDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QVBoxLayout>

namespace tavimor {

TExamVersionsDialog::TExamVersionsDialog(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("ExamVersionsDialog"));
    setWindowTitle(QStringLiteral("Examen en plusieurs versions"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    count_ = new QSpinBox(this);
    count_->setObjectName(QStringLiteral("VersionCountSpin"));
    count_->setRange(kMinExamVersions, kMaxExamVersions);
    count_->setValue(2);
    count_->setAccessibleName(QStringLiteral("Nombre de versions"));
    form->addRow(QStringLiteral("&Nombre de versions :"), count_);
    seed_ = new QLineEdit(this);
    seed_->setObjectName(QStringLiteral("SeedEdit"));
    seed_->setAccessibleName(QStringLiteral("Graine"));
    seed_->setPlaceholderText(QStringLiteral("nouvelle à chaque fois"));
    seed_->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,18}")), seed_));
    seed_->setToolTip(QStringLiteral("La graine écrite dans le corrigé redonne les mêmes versions."));
    form->addRow(QStringLiteral("&Graine :"), seed_);
    layout->addLayout(form);

    shuffleQuestions_ = new QCheckBox(QStringLiteral("Mélanger l'ordre des &questions"), this);
    shuffleQuestions_->setObjectName(QStringLiteral("ShuffleQuestionsCheck"));
    shuffleQuestions_->setChecked(true);
    layout->addWidget(shuffleQuestions_);
    shuffleChoices_ = new QCheckBox(QStringLiteral("Mélanger les &réponses (sauf Vrai/Faux)"), this);
    shuffleChoices_->setObjectName(QStringLiteral("ShuffleChoicesCheck"));
    shuffleChoices_->setChecked(true);
    layout->addWidget(shuffleChoices_);
    pdf_ = new QCheckBox(QStringLiteral("Produire aussi des &PDF"), this);
    pdf_->setObjectName(QStringLiteral("PdfCheck"));
    pdf_->setAccessibleName(QStringLiteral("Produire aussi des PDF"));
    pdf_->setToolTip(QStringLiteral("Chaque version et son corrigé aussi en PDF (A4), à côté des pages HTML"));
    layout->addWidget(pdf_);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("Produire"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("ProduceVersionsBtn"));
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("Annuler"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    count_->setFocus();
}

TExamVersionOptions TExamVersionsDialog::Options() const
{
    TExamVersionOptions options;
    options.Count = count_->value();
    options.ShuffleQuestions = shuffleQuestions_->isChecked();
    options.ShuffleChoices = shuffleChoices_->isChecked();
    options.Pdf = pdf_->isChecked();
    bool given = false;
    const qulonglong seed = seed_->text().toULongLong(&given);
    options.Seed = given ? seed : FreshExamSeed();
    return options;
}

} // namespace tavimor
