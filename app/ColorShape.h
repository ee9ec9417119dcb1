// The colour swatch of the style dialog: a filled box that holds a colour
// and its name.
#pragma once

#include "presentation/NetColors.h"

#include <QFrame>
#include <QString>

namespace tavimor {

// A filled box with an outline that holds a colour and its name; the name is
// its hint. A click, or Space or Enter while it has the keyboard, asks the
// owner for a new colour.
class TColorShape : public QFrame {
    Q_OBJECT

public:
    explicit TColorShape(QWidget* parent = nullptr);

    void SetColor(ColorValue value, const QString& name);
    ColorValue Value() const { return value_; }
    QString Name() const { return name_; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    ColorValue value_ = 0;
    QString name_;
};

} // namespace tavimor
