// Small helpers shared by the forms that place their controls by hand.
#pragma once

#include <QColor>
#include <QGuiApplication>
#include <QPalette>
#include <QRect>
#include <QScreen>
#include <QString>
#include <QWidget>

namespace tavimor {

// Names a control (tests find it by that name) and places it.
template <typename Widget> Widget* Named(Widget* widget, const QString& name, const QRect& geometry)
{
    widget->setObjectName(name);
    widget->setGeometry(geometry);
    return widget;
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
