#include "app/ColorShape.h"

#include "app/ColorPicker.h"

#include <QMouseEvent>
#include <QPainter>

namespace tavimor {

TColorShape::TColorShape(QWidget* parent)
    : QFrame(parent)
{
    setFixedSize(33, 25);
}

void TColorShape::SetColor(ColorValue value, const QString& name)
{
    value_ = value;
    name_ = name;
    setToolTip(name);
    update();
}

void TColorShape::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.setPen(Qt::black);
    painter.setBrush(QColorFromValue(value_));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TColorShape::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

} // namespace tavimor
