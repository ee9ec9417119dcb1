// The colour picker: a modal form on which the author chooses a colour by
// its keyword, and the component TNetColors that runs it and keeps the choice.
#pragma once

#include "app/Accessibility.h"
#include "presentation/NetColors.h"

#include <QColor>
#include <QDialog>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <vector>

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

// Colour cells side by side, filled row by row from the top left, each with
// its colour and its name. The mouse hovers and presses cells; the keyboard
// moves a cursor over them with the arrows, Home and End (as hovering does),
// chooses the cell under it with Space, and with Enter before leaving Enter to
// the form, whose default button accepts.
class TColorCells : public QWidget, public TAccessibleItems {
    Q_OBJECT

public:
    TColorCells(int columns, int rows, int cellSize, QWidget* parent = nullptr);

    int CellCount() const { return columns_ * rows_; }
    QColor CellColor(int cell) const;
    QString CellName(int cell) const;
    // One colour and one name per cell; missing ones are white and unnamed.
    void SetCells(const std::vector<QColor>& colors, const QStringList& names);
    // The cell named after the chosen colour (the first of that name) is the
    // chosen one; no cell for a name none has.
    void SetChosenName(const QString& name);
    // The cell under a point of this widget, -1 outside the cells.
    int CellAtPoint(QPoint point) const;

    int ItemCount() const override { return CellCount(); }
    QString ItemName(int item) const override { return CellName(item); }
    QRect ItemRect(int item) const override;
    int CurrentItem() const override { return current_; }
    int ChosenItem() const override { return chosen_; }
    void ChooseItem(int item) override;

signals:
    void cellHovered(int cell, const QColor& color);
    void cellPressed(int cell, const QColor& color);
    void cellDoubleClicked(int cell, const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void MoveCursor(int cell);

    int columns_;
    int rows_;
    int cellSize_;
    std::vector<QColor> colors_;
    QStringList names_;
    int current_ = -1;
    int chosen_ = -1;
};

// The extended palette: 14 columns by 10 rows of 15-pixel cells. It only
// knows the colour and the name in each cell; the form decides which table
// entry a cell stands for.
class TNetPalette : public TColorCells {
    Q_OBJECT

public:
    static constexpr int kCellSize = 15;
    static constexpr int kColumns = 14;
    static constexpr int kRows = 10;
    static constexpr int kCells = kColumns * kRows;

    explicit TNetPalette(QWidget* parent = nullptr);
};

// The row of the 18 basic colours, 12-pixel cells side by side, "white" first.
class TPrimaryRow : public TColorCells {
    Q_OBJECT

public:
    static constexpr int kCellSize = TNetPalette::kCellSize - 3;

    explicit TPrimaryRow(QWidget* parent = nullptr);
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
    int sortType() const { return sortType_; }

    QString chosenName() const { return chosenName_; }
    ColorValue chosenValue() const { return chosenValue_; }
    // The colour the form opens on: the one being changed.
    void setChosen(const QString& name, ColorValue value) { Choose(name, value); }

private:
    // Table position of the entry shown in palette cell k in the current order.
    int PositionOfCell(int cell) const;
    void RefreshPalette();
    void ShowEntry(int position, const QColor& sample);
    void Choose(const QString& name, ColorValue value);

    void PaletteMouseMove(int cell, const QColor& color);
    void PaletteMouseDown(int cell, const QColor& color);
    void PaletteDblClick(int cell, const QColor& color);
    void PrimaryMouseMove(int cell, const QColor& color);
    void PrimaryMouseDown(int cell, const QColor& color);

    TNetColorList colors_;
    int sortType_ = 0;
    int palettePosition_ = 0; // last entry the pointer was over
    int primaryCell_ = 0; // last basic colour the pointer was over
    QString chosenName_;
    ColorValue chosenValue_ = 0;

    TNetPalette* palette_ = nullptr;
    TPrimaryRow* primary_ = nullptr;
    QFrame* sample_ = nullptr;
    QLabel* numberLab_ = nullptr;
    QLabel* nameLab_ = nullptr;
    QLabel* hexLab_ = nullptr;
    QFrame* chosenSwatch_ = nullptr;
    QLabel* chosenNameLab_ = nullptr;
    QCheckBox* alphaCheck_ = nullptr;
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

    QString NetColStr() const { return netColStr_; }
    void setNetColStr(const QString& name) { netColStr_ = name.left(255); }
    // The chosen value, hex 00BBGGRR.
    ColorValue SysColor() const { return sysColor_; }
    void setSysColor(ColorValue value) { sysColor_ = value; }
    // SysColor in the notation TextToColor reads back ("$00800000" for navy).
    QString SysColStr() const { return sysColStr_; }
    void setSysColStr(const QString& text) { sysColStr_ = text.left(255); }
    int sortType() const { return sortType_; }
    void setSortType(int sortType) { sortType_ = sortType; }

    // Runs the picker modally over `parent` (the owner when it is a widget and
    // `parent` is null), opened on the colour NetColStr and SysColor hold when
    // NetColStr is set. True when the author accepted; the three colour
    // properties then hold the choice. A sortType above 1 is reset to 0 first.
    bool Execute(QWidget* parent = nullptr);

    // Value of a keyword of the 140-colour table (trimmed, case-sensitive);
    // hex FFFFFF for any other name.
    static ColorValue ColorByName(const QString& name);

private:
    QString netColStr_;
    ColorValue sysColor_ = 0;
    QString sysColStr_;
    int sortType_ = 0;
};

} // namespace tavimor
