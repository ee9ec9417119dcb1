#include "app/StylePreview.h"

#include "app/Accessibility.h"
#include "app/ColorPicker.h"
#include "app/WidgetHelpers.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace tavimor {

namespace {

constexpr int kPreviewMaxPoints = 400; // a typed size of thousands stays drawable

} // namespace

TStylePreview::TStylePreview(QWidget* parent)
    : QLabel(parent)
{
    InstallAccessibleInterfaces();
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    // A large font must not widen the dialog: the text is clipped instead.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    setMinimumWidth(200);
    setFixedHeight(72);
    setCursor(Qt::PointingHandCursor);
}

void TStylePreview::SetFontName(const QString& family)
{
    fontName_ = family;
    QFont shown = font();
    shown.setFamily(family);
    setFont(shown);
    setText(family);
}

void TStylePreview::SetFontSize(int points)
{
    QFont shown = font();
    shown.setPointSize(std::clamp(points, 1, kPreviewMaxPoints));
    setFont(shown);
}

void TStylePreview::SetFontColor(ColorValue value)
{
    SetTextColor(this, QColorFromValue(value));
}

void TStylePreview::SetBackground(ColorValue value, const QString& name)
{
    background_ = value;
    backgroundName_ = name;
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColorFromValue(value));
    setPalette(palette);
    AnnounceDescription(this);
}

void TStylePreview::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

void TStylePreview::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) {
        event->accept();
        emit clicked();
        return;
    }
    QLabel::keyPressEvent(event);
}

// The keyboard's mark is an outline only: the preview shows the element's
// background, which a tinted focus frame would change.
void TStylePreview::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    if (!hasFocus() || !window()->testAttribute(Qt::WA_KeyboardFocusChange))
        return;
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(contentsRect().adjusted(2, 2, -2, -2));
}

} // namespace tavimor
