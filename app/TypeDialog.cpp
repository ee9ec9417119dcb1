#include "app/TypeDialog.h"

#include "app/WidgetHelpers.h"

#include <QApplication>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace tavimor {

TQTypeDlg::TQTypeDlg(QWidget* parent)
    : QDialog(parent)
{
    setFont(QFont(QStringLiteral("Arial"), 10));

    auto* group = new QGroupBox(QStringLiteral("Type de questions   "), this);
    group->setObjectName(QStringLiteral("TypeRGroup"));
    auto* items = new QVBoxLayout(group);
    // In TRepType order: the index of an item is the type's value.
    const std::array<QString, 3> captions {
        QStringLiteral("  Standard KWZ"), QStringLiteral("  Vrai ou Faux"), QStringLiteral("  Closure avec listes")};
    for (std::size_t i = 0; i < items_.size(); ++i) {
        QRadioButton* item = new QRadioButton(captions[i], group);
        items_[i] = item;
        item->setObjectName(QStringLiteral("TypeItem%1").arg(i));
        items->addWidget(item);
        // A click or Space on a type chooses it; the arrows only move the
        // choice (Qt clicks the next type before giving it the keyboard), and
        // Enter accepts what they moved to.
        connect(item, &QRadioButton::clicked, this, [this, item] {
            const QWidget* keyboard = QApplication::focusWidget();
            const bool arrowMove = keyboard && keyboard != item && isAncestorOf(keyboard)
                && std::find(items_.begin(), items_.end(), keyboard) != items_.end();
            if (!arrowMove)
                accept();
        });
    }
    items_[0]->setChecked(true);

    auto* acceptBtn = new QPushButton(QStringLiteral("accepter"), this);
    acceptBtn->setObjectName(QStringLiteral("AcceptBtn"));
    acceptBtn->setDefault(true);
    connect(acceptBtn, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(acceptBtn, 0, Qt::AlignRight);
    setFixedSize(qMax(260, sizeHint().width()), sizeHint().height());
}

void TQTypeDlg::setType(TRepType type)
{
    const auto index = static_cast<std::size_t>(type);
    items_[index < items_.size() ? index : 0]->setChecked(true);
}

TRepType TQTypeDlg::type() const
{
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i]->isChecked())
            return static_cast<TRepType>(i);
    return TRepType::rKWZ;
}

void TQTypeDlg::showEvent(QShowEvent* event)
{
    CenterOnScreen(*this);
    QDialog::showEvent(event);
}

} // namespace tavimor
