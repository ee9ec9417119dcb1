// The paragraph alignment chooser: a caption and the glyph of the chosen
// alignment; pressing it shows the four glyphs and the release picks one. From
// the keyboard the arrows, Home and End pick the previous, next, first or last.
#pragma once

#include "app/Accessibility.h"

#include <QPixmap>
#include <QString>
#include <QWidget>

namespace tavimor {

class TParAlignButton : public QWidget, public TAccessibleItems {
    Q_OBJECT
    Q_PROPERTY(int parIndex READ parIndex WRITE setParIndex)
    Q_PROPERTY(TParAlignType parAlignType READ parAlignType WRITE setParAlignType)
    Q_PROPERTY(QString caption READ caption WRITE setCaption)

public:
    // In the order of the alignment index (and of the glyphs).
    enum TParAlignType { pAlLeft, pAlRight, pAlCenter, pAlJustify };
    Q_ENUM(TParAlignType)

    static constexpr int kGlyphSize = 16;

    explicit TParAlignButton(QWidget* parent = nullptr);

    // 0 left, 1 right, 2 centre, 3 justified. Another value is kept as it is
    // and shows the left glyph, as it counts as left everywhere.
    int parIndex() const { return parIndex_; }
    void setParIndex(int index);
    TParAlignType parAlignType() const;
    void setParAlignType(TParAlignType type);

    QString caption() const { return caption_; }
    void setCaption(const QString& caption);

    // The x at which the glyph row starts while the chooser is open.
    int GlyphRowLeft() const { return CaptionWidth() + 4 - 2 * kGlyphSize; }
    bool IsOpen() const { return open_; }

    // The four alignments as items; the chosen one is also the keyboard's.
    int ItemCount() const override;
    QString ItemName(int item) const override;
    QRect ItemRect(int item) const override;
    int CurrentItem() const override { return static_cast<int>(parAlignType()); }
    int ChosenItem() const override { return static_cast<int>(parAlignType()); }
    // Picks the alignment as a release over its glyph does.
    void ChooseItem(int item) override;

signals:
    // The author picked an alignment (the same one or another).
    void picked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    int CaptionWidth() const;
    // Closed: caption, 4 pixels, the glyph, 4 pixels. Open: caption + 38.
    void ApplyWidth();
    QRect GlyphSource(int index) const;

    int parIndex_ = 0;
    QString caption_;
    bool open_ = false;
    QPixmap glyphs_; // the four glyphs side by side, white transparent
};

} // namespace tavimor
