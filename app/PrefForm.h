// The preferences form ("Préférences..."): three start-up and reset behaviours.
#pragma once

#include <QDialog>

class QCheckBox;

namespace tavimor {

struct AppSettings;

// Shows the three preferences of the settings; closing it with "Accepter"
// makes them take the boxes' states, the close box leaves them as they were.
class TPrefFrm : public QDialog {
    Q_OBJECT

public:
    explicit TPrefFrm(QWidget* parent = nullptr);

    void ShowSettings(const AppSettings& settings);
    void TakeSettings(AppSettings& settings) const;

    // Runs the form over parent; true when accepted (settings then updated).
    static bool Edit(QWidget* parent, AppSettings& settings);

private:
    QCheckBox* autoLoad_ = nullptr;
    QCheckBox* saveId_ = nullptr;
    QCheckBox* saveTitle_ = nullptr;
    QCheckBox* fullPalette_ = nullptr;
};

} // namespace tavimor
