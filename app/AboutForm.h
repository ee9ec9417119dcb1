// The about box, also shown as the start-up splash: it closes itself after
// seven one-second ticks, or at once when clicked.
#pragma once

#include <QDialog>

class QTimer;

namespace tavimor {

class TAboutFrm : public QDialog {
    Q_OBJECT

public:
    static constexpr int kTickMs = 1000;
    // The box closes at the tick that takes the counter above this.
    static constexpr int kLastTick = 7;

    // tickMs lets a test run the seven ticks quickly.
    explicit TAboutFrm(QWidget* parent = nullptr, int tickMs = kTickMs);

    int TickCount() const { return ticks_; }

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void Tick();

    int ticks_ = 1;
    QTimer* timer_ = nullptr;
};

} // namespace tavimor
