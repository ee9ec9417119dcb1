// The colour picker: a modal form on which the author chooses a colour by
// its keyword, and the component TNetColors that runs it and keeps the choice.
#pragma once

#include "presentation/NetColors.h"

#include <QColor>
#include <QDialog>
#include <QObject>
#include <QString>
#include <QWidget>

#include <array>

class QCheckBox;
class QFrame;
class QLabel;

namespace tavimor {

// Colour values keep red in the low byte (hex 00BBGGRR); QColor wants it apart.
inline QColor QColorFromValue(ColorValue value)
{
    const auto bits = static_cast<std::uint32_t>(value);
    return QColor(
        static_cast<int>(bits & 0xFF), static_cast<int>((bits >> 8) & 0xFF), static_cast<int>((bits >> 16) & 0xFF));
}

inline ColorValue ValueFromQColor(const QColor& color)
{
    return static_cast<ColorValue>(static_cast<std::uint32_t>(color.red())
        | (static_cast<std::uint32_t>(color.green()) << 8) | (static_cast<std::uint32_t>(color.blue()) << 16));
}

// The extended palette: 14 columns by 10 rows of 15-pixel cells, filled row by
// row from the top left. It only knows the colour painted in each cell; the
// form decides which table entry a cell stands for.
class TNetPalette : public QWidget {
    Q_OBJECT

public:
    static constexpr int kCellSize = 15;
    static constexpr int kColumns = 14;
    static constexpr int kRows = 10;
    static constexpr int kCells = kColumns * kRows;

    explicit TNetPalette(QWidget* parent = nullptr);

    // Cell k = 14 * row + column.
    void setCellColors(const std::array<QColor, kCells>& colors);
    QColor cellColor(int cell) const { return m_colors.at(static_cast<std::size_t>(cell)); }
    // The cell under a point of this widget, -1 outside the cells.
    static int cellAt(QPoint point);

signals:
    void cellHovered(int cell, const QColor& color);
    void cellPressed(int cell, const QColor& color);
    void cellDoubleClicked(int cell, const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    std::array<QColor, kCells> m_colors;
};

// The row of the 18 basic colours, 12-pixel cells side by side, "white" first.
class TPrimaryRow : public QWidget {
    Q_OBJECT

public:
    static constexpr int kCellSize = TNetPalette::kCellSize - 3;

    explicit TPrimaryRow(QWidget* parent = nullptr);

    // The basic colour under a point of this widget, -1 outside the cells.
    static int cellAt(QPoint point);

signals:
    void cellHovered(int cell, const QColor& color);
    void cellPressed(int cell, const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};

// The picker form "Choix de noms de couleurs reconnus.". The chosen colour
// starts as "black" unless the owner sets the one being changed; "Accepter" (or a double click on the palette) accepts,
// the close box does not.
class TNetCForm : public QDialog {
    Q_OBJECT

public:
    explicit TNetCForm(QWidget* parent = nullptr);

    // Order of the palette while "Alpha" is not ticked: 1 sorts by the decimal
    // text of the values, anything else by the hex codes.
    void setSortType(int sortType);
    int sortType() const { return m_sortType; }

    QString chosenName() const { return m_chosenName; }
    ColorValue chosenValue() const { return m_chosenValue; }
    // The colour the form opens on: the one being changed.
    void setChosen(const QString& name, ColorValue value) { choose(name, value); }

private:
    // Table position of the entry shown in palette cell k in the current order.
    int positionOfCell(int cell) const;
    void refreshPalette();
    void showEntry(int position, const QColor& sample);
    void choose(const QString& name, ColorValue value);

    void PaletteMouseMove(int cell, const QColor& color);
    void PaletteMouseDown(int cell, const QColor& color);
    void PaletteDblClick(int cell, const QColor& color);
    void PrimaryMouseMove(int cell, const QColor& color);
    void PrimaryMouseDown(int cell, const QColor& color);

    TNetColorList m_colors;
    int m_sortType = 0;
    int m_palettePosition = 0; // last entry the pointer was over
    int m_primaryCell = 0; // last basic colour the pointer was over
    QString m_chosenName;
    ColorValue m_chosenValue = 0;

    TNetPalette* m_palette = nullptr;
    QFrame* m_sample = nullptr;
    QLabel* m_numberLab = nullptr;
    QLabel* m_nameLab = nullptr;
    QLabel* m_hexLab = nullptr;
    QFrame* m_chosenSwatch = nullptr;
    QLabel* m_chosenNameLab = nullptr;
    QCheckBox* m_alphaCheck = nullptr;
};

// The non-visual picker component a form owns for its colour choices. Each
// Execute opens a fresh picker; only an accepted choice changes the properties.
class TNetColors : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString NetColStr READ NetColStr WRITE setNetColStr)
    Q_PROPERTY(int SysColor READ SysColor WRITE setSysColor)
    Q_PROPERTY(QString SysColStr READ SysColStr WRITE setSysColStr)
    Q_PROPERTY(int sortType READ sortType WRITE setSortType)

public:
    explicit TNetColors(QObject* owner = nullptr);

    QString NetColStr() const { return m_netColStr; }
    void setNetColStr(const QString& name) { m_netColStr = name.left(255); }
    // The chosen value, hex 00BBGGRR.
    ColorValue SysColor() const { return m_sysColor; }
    void setSysColor(ColorValue value) { m_sysColor = value; }
    // SysColor in the notation TextToColor reads back ("$00800000" for navy).
    QString SysColStr() const { return m_sysColStr; }
    void setSysColStr(const QString& text) { m_sysColStr = text.left(255); }
    int sortType() const { return m_sortType; }
    void setSortType(int sortType) { m_sortType = sortType; }

    // Runs the picker modally over `parent` (the owner when it is a widget and
    // `parent` is null), opened on the colour NetColStr and SysColor hold when
    // NetColStr is set. True when the author accepted; the three colour
    // properties then hold the choice. A sortType above 1 is reset to 0 first.
    bool Execute(QWidget* parent = nullptr);

    // Value of a keyword of the 140-colour table (trimmed, case-sensitive);
    // hex FFFFFF for any other name.
    static ColorValue ColorByName(const QString& name);

private:
    QString m_netColStr;
    ColorValue m_sysColor = 0;
    QString m_sysColStr;
    int m_sortType = 0;
};

} // namespace tavimor
