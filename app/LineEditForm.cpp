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

    m_line = new QLineEdit(this);
    m_line->setObjectName(QStringLiteral("LineEd"));

    auto* insertImgBtn = new QPushButton(QStringLiteral("insérer une image"), this);
    insertImgBtn->setObjectName(QStringLiteral("InsertImgBtn"));
    insertImgBtn->setFlat(true);
    insertImgBtn->setAutoDefault(false);
    insertImgBtn->hide();
    m_insertImgBtn = insertImgBtn;

    // Enter in the field accepts, as the only button would.
    auto* acceptBtn = new QPushButton(QStringLiteral("Accepter"), this);
    acceptBtn->setObjectName(QStringLiteral("AcceptBtn"));
    acceptBtn->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(insertImgBtn);
    buttons->addStretch();
    buttons->addWidget(acceptBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_line);
    layout->addStretch();
    layout->addLayout(buttons);

    connect(acceptBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(insertImgBtn, &QPushButton::clicked, this, &TLEditForm::insertImageRequested);
}

void TLEditForm::setText(const QString& text)
{
    m_line->setText(text);
}

QString TLEditForm::text() const
{
    return m_line->text();
}

void TLEditForm::setInsertImageVisible(bool visible)
{
    m_insertImgBtn->setVisible(visible);
}

void TLEditForm::insertAtCaret(const QString& text)
{
    m_line->insert(text);
    m_line->setFocus();
}

void TLEditForm::showEvent(QShowEvent* event)
{
    CenterOnScreen(*this);
    QDialog::showEvent(event);
    m_line->setFocus();
}

} // namespace tavimor
