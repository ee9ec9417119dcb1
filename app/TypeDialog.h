// The question-type dialog: one click on a type chooses it and closes.
#pragma once

#include "model/QuestModel.h"

#include <QDialog>

#include <array>

class QRadioButton;

namespace tavimor {

// Accepted by a click on any type, Space on it, or "accepter" (Enter); the
// arrows move among the types without accepting; the close box rejects. The
// caller sets the caption and presets the type.
class TQTypeDlg : public QDialog {
    Q_OBJECT

public:
    explicit TQTypeDlg(QWidget* parent = nullptr);

    void setType(TRepType type);
    TRepType type() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::array<QRadioButton*, 3> items_ {};
};

} // namespace tavimor
