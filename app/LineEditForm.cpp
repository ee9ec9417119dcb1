#include "app/LineEditForm.h"

#include "app/WidgetHelpers.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavimor {

TLEditForm::TLEditForm(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Ajouter un élément"));
    setFont(QFont(QStringLiteral("Arial"), 9));
    setFixedSize(234, 89);

    line_ = new QLineEdit(this);
    line_->setObjectName(QStringLiteral("LineEd"));
    line_->setAccessibleName(QStringLiteral("Texte"));

    auto* insertImgBtn = new QPushButton(QStringLiteral("insérer une image"), this);
    insertImgBtn->setObjectName(QStringLiteral("InsertImgBtn"));
    insertImgBtn->setFlat(true);
    insertImgBtn->setAutoDefault(false);
    insertImgBtn->hide();
    insertImgBtn_ = insertImgBtn;

    // Enter in the field accepts, as the only button would.
    auto* acceptBtn = new QPushButton(QStringLiteral("Accepter"), this);
    acceptBtn->setObjectName(QStringLiteral("AcceptBtn"));
    acceptBtn->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(insertImgBtn);
    buttons->addStretch();
    buttons->addWidget(acceptBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(line_);
    layout->addStretch();
    layout->addLayout(buttons);

    connect(acceptBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(insertImgBtn, &QPushButton::clicked, this, &TLEditForm::insertImageRequested);
}

void TLEditForm::setText(const QString& text)
{
    line_->setText(text);
}

QString TLEditForm::text() const
{
    return line_->text();
}

void TLEditForm::setInsertImageVisible(bool visible)
{
    insertImgBtn_->setVisible(visible);
}

void TLEditForm::InsertAtCaret(const QString& text)
{
    line_->insert(text);
    line_->setFocus();
}

void TLEditForm::showEvent(QShowEvent* event)
{
    CenterOnScreen(*this);
    QDialog::showEvent(event);
    line_->setFocus();
}

} // namespace tavimor
