// The font name list of the style dialog: the font families installed for the
// screen, filled when the control is created.
#pragma once

#include <QComboBox>
#include <QString>

namespace tavimor {

// An editable list of the installed families. A family typed and confirmed with
// Enter is taken even when it is not installed: the style sheet names fonts for
// the student's browser, not for this machine.
class TFontCombo : public QComboBox {
    Q_OBJECT

public:
    explicit TFontCombo(QWidget* parent = nullptr);

    // Selects the entry of that name, matched without regard to case; a name
    // that is not in the list is shown as it stands. Emits nothing.
    void SelectFont(const QString& family);

signals:
    // The author chose a family from the list or confirmed a typed one.
    void fontChosen(const QString& family);

private:
    void EditReturnPressed();
};

} // namespace tavimor
