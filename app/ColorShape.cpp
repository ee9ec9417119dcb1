#include "app/ColorShape.h"

#include "app/Accessibility.h"
#include "app/ColorPicker.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace tavimor {

TColorShape::TColorShape(QWidget* parent)
    : QFrame(parent)
{
    InstallAccessibleInterfaces();
    setFixedSize(33, 25);
    setFocusPolicy(Qt::StrongFocus);
}

void TColorShape::SetColor(ColorValue value, const QString& name)
{
    value_ = value;
    name_ = name;
    setToolTip(name);
    update();
    AnnounceDescription(this);
}

void TColorShape::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.setPen(Qt::black);
    painter.setBrush(QColorFromValue(value_));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    if (hasFocus() && window()->testAttribute(Qt::WA_KeyboardFocusChange)) {
        // Around the colour, in the room the outline leaves.
        painter.setBrush(Qt::NoBrush);
        painter.setPen(Qt::white);
        painter.drawRect(rect().adjusted(1, 1, -2, -2));
        QStyleOptionFocusRect frame;
        frame.initFrom(this);
        frame.rect = rect().adjusted(2, 2, -2, -2);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, &painter, this);
    }
}

void TColorShape::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

void TColorShape::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) {
        event->accept();
        emit clicked();
        return;
    }
    QFrame::keyPressEvent(event);
}

} // namespace tavimor
