#include "app/ImportReportDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavimor {

TImportReportDialog::TImportReportDialog(const QString& title, const QString& report, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("ImportReportDialog"));
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("&Rapport d'importation :"), this);
    layout->addWidget(label);

    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("ImportReportText"));
    text_->setAccessibleName(QStringLiteral("Rapport d'importation"));
    text_->setReadOnly(true);
    text_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setPlainText(report);
    text_->setMinimumSize(560, 220);
    label->setBuddy(text_);
    layout->addWidget(text_);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* copy = buttons->addButton(QStringLiteral("&Copier le rapport"), QDialogButtonBox::ActionRole);
    copy->setObjectName(QStringLiteral("CopyReportBtn"));
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    connect(copy, &QPushButton::clicked, this, [this] { QApplication::clipboard()->setText(Report()); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    ok->setFocus();
}

QString TImportReportDialog::Report() const
{
    return text_->toPlainText();
}

} // namespace tavimor
