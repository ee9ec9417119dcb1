// The element preview of the style dialog.
#pragma once

#include "presentation/NetColors.h"

#include <QLabel>
#include <QString>

namespace tavimor {

// The element preview: the font family name written in the element's font,
// size, colour and alignment on its background. It keeps the family name and
// the background colour with its name, which a commit reads back. A click, or
// Space or Enter while it has the keyboard, asks for a new background colour.
class TStylePreview : public QLabel {
    Q_OBJECT

public:
    explicit TStylePreview(QWidget* parent = nullptr);

    void SetFontName(const QString& family);
    QString FontName() const { return fontName_; }
    void SetFontSize(int points);
    void SetFontColor(ColorValue value);
    void SetBackground(ColorValue value, const QString& name);
    ColorValue Background() const { return background_; }
    QString BackgroundName() const { return backgroundName_; }

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QString fontName_;
    ColorValue background_ = 0xFFFFFF;
    QString backgroundName_;
};

} // namespace tavimor
