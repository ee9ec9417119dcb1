#include "app/FontCombo.h"

#include <QFontDatabase>
#include <QLineEdit>
#include <QSignalBlocker>

namespace tavimor {

TFontCombo::TFontCombo(QWidget* parent)
    : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    addItems(QFontDatabase::families());
    connect(this, &QComboBox::activated, this, [this](int index) { emit fontChosen(itemText(index)); });
    connect(lineEdit(), &QLineEdit::returnPressed, this, &TFontCombo::EditReturnPressed);
}

void TFontCombo::SelectFont(const QString& family)
{
    const QSignalBlocker quiet(this);
    const int index = findText(family, Qt::MatchFixedString); // whole name, any case
    if (index >= 0)
        setCurrentIndex(index);
    else
        setEditText(family);
}

// A listed name confirmed with Enter already came through activated().
void TFontCombo::EditReturnPressed()
{
    const QString typed = currentText().trimmed();
    if (!typed.isEmpty() && findText(typed, Qt::MatchFixedString) < 0)
        emit fontChosen(typed);
}

} // namespace tavimor
