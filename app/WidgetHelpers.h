// Small helpers shared by the forms that place their controls by hand.
#pragma once

#include <QApplication>
#include <QColor>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QList>
#include <QPalette>
#include <QRect>
#include <QScreen>
#include <QString>
#include <QWidget>

#include <initializer_list>

namespace tavimor {

// Names a control (tests find it by that name) and places it.
template <typename Widget> Widget* Named(Widget* widget, const QString& name, const QRect& geometry)
{
    widget->setObjectName(name);
    widget->setGeometry(geometry);
    return widget;
}

// Tab visits these controls in this order, as they stand on screen. A control
// that is hidden or takes no focus yet keeps its place for when it does.
inline void ChainTabOrder(std::initializer_list<QWidget*> widgets)
{
    QWidget* previous = nullptr;
    for (QWidget* widget : widgets) {
        if (!widget)
            continue;
        if (previous) {
            // Qt places only controls that take the focus.
            const Qt::FocusPolicy first = previous->focusPolicy();
            const Qt::FocusPolicy second = widget->focusPolicy();
            previous->setFocusPolicy(Qt::FocusPolicy(first | Qt::TabFocus));
            widget->setFocusPolicy(Qt::FocusPolicy(second | Qt::TabFocus));
            QWidget::setTabOrder(previous, widget);
            previous->setFocusPolicy(first);
            widget->setFocusPolicy(second);
        }
        previous = widget;
    }
}

// Moves the keyboard to the next (or previous) control inside panel that
// Tab may reach, in the window's tab order, going round; false when the panel
// has none. A panel drawn over others keeps Tab to itself with it.
inline bool MoveFocusWithin(QWidget& panel, bool next)
{
    QList<QWidget*> stops;
    for (QWidget* w = panel.nextInFocusChain(); w && w != &panel; w = w->nextInFocusChain())
        if (panel.isAncestorOf(w) && w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus)
            && !w->focusProxy())
            stops << w;
    if (stops.isEmpty())
        return false;
    const qsizetype count = stops.size();
    const qsizetype at = stops.indexOf(QApplication::focusWidget());
    const qsizetype to = at < 0 ? 0 : (at + (next ? 1 : count - 1)) % count;
    stops[to]->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

// A control whose look does not say what it does (a picture, a sign): the
// name a screen reader reads, and a hint where it has none yet.
inline void NameControl(QWidget* widget, const QString& name)
{
    widget->setAccessibleName(name);
    if (widget->toolTip().isEmpty())
        widget->setToolTip(name);
}

// A list box's name, for the box and, when it may be typed in, for its text
// field (its drop-down list takes the box's name).
inline void NameComboBox(QComboBox* box, const QString& name, const QString& fieldName = {})
{
    box->setAccessibleName(name);
    if (QLineEdit* field = box->lineEdit())
        field->setAccessibleName(fieldName.isEmpty() ? name + QStringLiteral(" (saisie)") : fieldName);
}

// The colour of a control's text, whether it is a label or an edit box.
inline void SetTextColor(QWidget* widget, const QColor& color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    widget->setPalette(palette);
}

// Centres a dialog on the screen of its parent (or its own).
inline void CenterOnScreen(QWidget& window)
{
    const QWidget* parent = window.parentWidget();
    const QScreen* screen = parent ? parent->screen() : window.screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen)
        window.move(screen->availableGeometry().center() - window.rect().center());
}

} // namespace tavimor
