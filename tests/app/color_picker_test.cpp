// The colour picker run through TNetColors::Execute and driven with real mouse
// events on its palette and primary row.
#include "app/ColorPicker.h"
#include "color_picker_driver.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <ostream>
#include <stdexcept>
#include <string>

static void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace tavimor {
namespace {

template <class T> T& Get(QWidget& form, const char* name)
{
    T* child = form.findChild<T*>(QString::fromLatin1(name));
    if (!child)
        throw std::runtime_error(std::string("no control ") + name);
    return *child;
}

QString Text(QWidget& form, const char* name)
{
    return Get<QLabel>(form, name).text();
}

QColor SwatchColor(QWidget& form, const char* name)
{
    return Get<QFrame>(form, name).palette().color(QPalette::Window);
}

QPoint PaletteCell(int column, int row)
{
    return {15 * column + 7, 15 * row + 7};
}

QPoint PrimaryCell(int cell)
{
    return {12 * cell + 6, 6};
}

void Click(QWidget& form, const char* name)
{
    QTest::mouseClick(&Get<QAbstractButton>(form, name), Qt::LeftButton);
}

void TickAlpha(QWidget& form)
{
    auto& alpha = Get<QCheckBox>(form, "AlphaCheck");
    QTest::mouseClick(&alpha, Qt::LeftButton, {}, QPoint(6, alpha.height() / 2));
    EXPECT_TRUE(alpha.isChecked());
}

// ------------------------------------------------------------------------

TEST(ColorPickerTest, OpensOnTheColourBeingChanged)
{
    TNetColors colors;
    colors.setNetColStr(QStringLiteral("white"));
    colors.setSysColor(0xFFFFFF);
    const bool accepted = ExecuteDriven(colors, [](TNetCForm& form) {
        EXPECT_EQ(Text(form, "ChosenNameLab"), QStringLiteral("white"));
        EXPECT_EQ(SwatchColor(form, "ChosenSwatch"), QColor(255, 255, 255));
        Click(form, "AcceptBtn");
    });
    EXPECT_TRUE(accepted);
    EXPECT_EQ(colors.NetColStr(), QStringLiteral("white"));
    EXPECT_EQ(colors.SysColor(), 0xFFFFFF);
}

TEST(ColorPickerTest, WithoutAColourItOpensWithBlackChosenAndAcceptsIt)
{
    TNetColors colors;
    const bool accepted = ExecuteDriven(colors, [](TNetCForm& form) {
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Choix de noms de couleurs reconnus."));
        EXPECT_EQ(form.size(), QSize(241, 280));
        EXPECT_EQ(Get<QWidget>(form, "Palette").size(), QSize(210, 150));
        EXPECT_EQ(Get<QWidget>(form, "PrimaryRow").size(), QSize(216, 12));
        EXPECT_FALSE(Get<QCheckBox>(form, "AlphaCheck").isChecked());
        EXPECT_EQ(Text(form, "ChosenNameLab"), QStringLiteral("black"));
        EXPECT_EQ(SwatchColor(form, "ChosenSwatch"), QColor(0, 0, 0));
        Click(form, "AcceptBtn");
    });
    EXPECT_TRUE(accepted);
    EXPECT_EQ(colors.NetColStr(), QStringLiteral("black"));
    EXPECT_EQ(colors.SysColor(), 0);
    EXPECT_EQ(TextToColor(colors.SysColStr().toStdString()), 0);
}

struct PaletteCase {
    bool alpha;
    int sortType;
    int column;
    int row;
    const char* name;
    int number;
    const char* hex; // RRGGBB as the hex label shows it
    ColorValue value; // 00BBGGRR
};

void PrintTo(const PaletteCase& c, std::ostream* out)
{
    *out << (c.alpha ? "Alpha" : "sorted") << " sortType " << c.sortType << " cell (" << c.column << ", " << c.row
         << ") " << c.name;
}

class PalettePressTest : public ::testing::TestWithParam<PaletteCase> { };

TEST_P(PalettePressTest, ChoosesTheEntryUnderThePointer)
{
    const PaletteCase& c = GetParam();
    TNetColors colors;
    colors.setSortType(c.sortType);
    const bool accepted = ExecuteDriven(colors, [&c](TNetCForm& form) {
        if (c.alpha)
            TickAlpha(form);
        auto& palette = Get<QWidget>(form, "Palette");
        QTest::mousePress(&palette, Qt::LeftButton, {}, PaletteCell(c.column, c.row));
        QTest::mouseRelease(&palette, Qt::LeftButton, {}, PaletteCell(c.column, c.row));
        EXPECT_EQ(form.windowTitle(), QStringLiteral("index: %1 %2").arg(c.number).arg(QString::fromLatin1(c.name)));
        EXPECT_EQ(Text(form, "ChosenNameLab"), QString::fromLatin1(c.name));
        EXPECT_EQ(Text(form, "NumberLab"), QString::number(c.number));
        EXPECT_EQ(Text(form, "NameLab"), QString::fromLatin1(c.name));
        EXPECT_EQ(Text(form, "HexLab"), QString::fromLatin1(c.hex));
        const QColor expected(QLatin1Char('#') + QString::fromLatin1(c.hex));
        EXPECT_EQ(SwatchColor(form, "ChosenSwatch"), expected);
        EXPECT_EQ(SwatchColor(form, "SampleSwatch"), expected);
        EXPECT_EQ(palette.grab().toImage().pixelColor(PaletteCell(c.column, c.row)), expected);
        Click(form, "AcceptBtn");
    });
    EXPECT_TRUE(accepted);
    EXPECT_EQ(colors.NetColStr(), QString::fromLatin1(c.name));
    EXPECT_EQ(colors.SysColor(), c.value);
    EXPECT_EQ(TextToColor(colors.SysColStr().toStdString()), c.value);
}

INSTANTIATE_TEST_SUITE_P(ColorPickerTest, PalettePressTest,
    ::testing::Values(PaletteCase {true, 0, 0, 0, "yellowgreen", 140, "9acd32", 0x32CD9A},
        PaletteCase {true, 0, 1, 0, "yellow", 139, "ffff00", 0x00FFFF},
        PaletteCase {true, 0, 13, 9, "aliceblue", 1, "f0f8ff", 0xFFF8F0},
        PaletteCase {true, 1, 13, 9, "aliceblue", 1, "f0f8ff", 0xFFF8F0},
        PaletteCase {false, 0, 0, 0, "white", 137, "ffffff", 0xFFFFFF},
        PaletteCase {false, 0, 1, 0, "ivory", 58, "fffff0", 0xF0FFFF},
        PaletteCase {false, 0, 13, 9, "black", 8, "000000", 0x000000},
        PaletteCase {false, 1, 0, 0, "palevioletred", 106, "db7093", 0x9370DB},
        PaletteCase {false, 1, 1, 0, "deeppink", 39, "ff1493", 0x9314FF},
        PaletteCase {false, 1, 13, 9, "black", 8, "000000", 0x000000}));

// Presses every cell and records what each one chose.
struct Sweep {
    QStringList names;
    QStringList hexes;
    QStringList numbers;
};

Sweep PressEveryCell(TNetCForm& form)
{
    auto& palette = Get<QWidget>(form, "Palette");
    const QImage painted = palette.grab().toImage();
    Sweep sweep;
    for (int row = 0; row < 10; ++row) {
        for (int column = 0; column < 14; ++column) {
            QTest::mousePress(&palette, Qt::LeftButton, {}, PaletteCell(column, row));
            QTest::mouseRelease(&palette, Qt::LeftButton, {}, PaletteCell(column, row));
            sweep.names << Text(form, "ChosenNameLab");
            sweep.hexes << Text(form, "HexLab");
            sweep.numbers << Text(form, "NumberLab");
            // The entry chosen is the colour painted under the pointer.
            EXPECT_EQ(SwatchColor(form, "ChosenSwatch"), painted.pixelColor(PaletteCell(column, row)))
                << sweep.names.back().toStdString();
        }
    }
    return sweep;
}

TEST(ColorPickerTest, SortedPaletteRunsFromWhiteToBlackWithSharedValuesTwice)
{
    TNetColors colors;
    Sweep sweep;
    EXPECT_FALSE(ExecuteDriven(colors, [&sweep](TNetCForm& form) {
        sweep = PressEveryCell(form);
        form.close();
    }));
    ASSERT_EQ(sweep.names.size(), 140);
    EXPECT_EQ(sweep.names.front(), QStringLiteral("white"));
    EXPECT_EQ(sweep.names.back(), QStringLiteral("black"));
    for (qsizetype k = 1; k < sweep.hexes.size(); ++k)
        EXPECT_LE(sweep.hexes[k], sweep.hexes[k - 1]) << "cell " << k;

    std::map<QString, int> cells;
    for (const QString& name : sweep.names)
        ++cells[name];
    EXPECT_EQ(cells[QStringLiteral("aqua")], 2);
    EXPECT_EQ(cells[QStringLiteral("fuchsia")], 2);
    EXPECT_EQ(cells[QStringLiteral("cyan")], 0);
    EXPECT_EQ(cells[QStringLiteral("magenta")], 0);
    EXPECT_EQ(std::count_if(cells.begin(), cells.end(), [](const auto& cell) { return cell.second == 1; }), 136);
}

TEST(ColorPickerTest, AlphaPaletteShowsTheTableBackwards)
{
    TNetColors colors;
    Sweep sweep;
    EXPECT_FALSE(ExecuteDriven(colors, [&sweep](TNetCForm& form) {
        TickAlpha(form);
        sweep = PressEveryCell(form);
        form.close();
    }));
    ASSERT_EQ(sweep.numbers.size(), 140);
    for (int k = 0; k < 140; ++k)
        EXPECT_EQ(sweep.numbers[k], QString::number(140 - k));
    EXPECT_EQ(sweep.names[140 - 3], QStringLiteral("aqua"));
    EXPECT_EQ(sweep.names[140 - 21], QStringLiteral("cyan"));
    EXPECT_EQ(sweep.names[140 - 80], QStringLiteral("magenta"));
}

TEST(ColorPickerTest, UntickingAlphaRedrawsTheSortedOrder)
{
    TNetColors colors;
    const bool accepted = ExecuteDriven(colors, [](TNetCForm& form) {
        auto& palette = Get<QWidget>(form, "Palette");
        TickAlpha(form);
        EXPECT_EQ(palette.grab().toImage().pixelColor(PaletteCell(0, 0)), QColor(0x9a, 0xcd, 0x32));
        Click(form, "AlphaCheck");
        EXPECT_EQ(palette.grab().toImage().pixelColor(PaletteCell(0, 0)), QColor(Qt::white));
        QTest::mousePress(&palette, Qt::LeftButton, {}, PaletteCell(13, 9));
        Click(form, "AcceptBtn");
    });
    EXPECT_TRUE(accepted);
    EXPECT_EQ(colors.NetColStr(), QStringLiteral("black"));
}

struct PrimaryCase {
    int cell;
    const char* name;
    ColorValue value;
    const char* number; // the table entry of that name
    const char* hex;
};

void PrintTo(const PrimaryCase& c, std::ostream* out)
{
    *out << "primary cell " << c.cell << ' ' << c.name;
}

class PrimaryPressTest : public ::testing::TestWithParam<PrimaryCase> { };

TEST_P(PrimaryPressTest, ChoosesTheBasicColour)
{
    const PrimaryCase& c = GetParam();
    TNetColors colors;
    const bool accepted = ExecuteDriven(colors, [&c](TNetCForm& form) {
        auto& row = Get<QWidget>(form, "PrimaryRow");
        QTest::mousePress(&row, Qt::LeftButton, {}, PrimaryCell(c.cell));
        QTest::mouseRelease(&row, Qt::LeftButton, {}, PrimaryCell(c.cell));
        EXPECT_EQ(form.windowTitle(), QString::fromLatin1(c.name));
        EXPECT_EQ(Text(form, "ChosenNameLab"), QString::fromLatin1(c.name));
        EXPECT_EQ(Text(form, "NumberLab"), QString::fromLatin1(c.number));
        EXPECT_EQ(Text(form, "HexLab"), QString::fromLatin1(c.hex));
        EXPECT_EQ(SwatchColor(form, "ChosenSwatch"), QColorFromValue(c.value));
        EXPECT_EQ(row.grab().toImage().pixelColor(PrimaryCell(c.cell)), QColorFromValue(c.value));
        Click(form, "AcceptBtn");
    });
    EXPECT_TRUE(accepted);
    EXPECT_EQ(colors.NetColStr(), QString::fromLatin1(c.name));
    EXPECT_EQ(colors.SysColor(), c.value);
    EXPECT_EQ(TextToColor(colors.SysColStr().toStdString()), c.value);
}

INSTANTIATE_TEST_SUITE_P(ColorPickerTest, PrimaryPressTest,
    ::testing::Values(PrimaryCase {0, "white", 0xFFFFFF, "137", "ffffff"},
        // The basic lightgrey is C0C0C0; the labels still describe the table entry.
        PrimaryCase {1, "lightgrey", 0xC0C0C0, "69", "d3d3d3"}, PrimaryCase {6, "navy", 0x800000, "96", "000080"},
        PrimaryCase {11, "red", 0x0000FF, "114", "ff0000"}, PrimaryCase {17, "teal", 0x808000, "131", "008080"}));

TEST(ColorPickerTest, HoverShowsTheEntryWithoutChoosingIt)
{
    TNetColors colors;
    EXPECT_FALSE(ExecuteDriven(colors, [](TNetCForm& form) {
        auto& palette = Get<QWidget>(form, "Palette");
        QTest::mouseMove(&palette, PaletteCell(0, 0));
        EXPECT_EQ(Text(form, "NumberLab"), QStringLiteral("137"));
        EXPECT_EQ(Text(form, "NameLab"), QStringLiteral("white"));
        EXPECT_EQ(Text(form, "HexLab"), QStringLiteral("ffffff"));
        EXPECT_EQ(SwatchColor(form, "SampleSwatch"), QColor(255, 255, 255));
        QTest::mouseMove(&palette, PaletteCell(2, 3));
        const QColor painted = palette.grab().toImage().pixelColor(PaletteCell(2, 3));
        EXPECT_EQ(SwatchColor(form, "SampleSwatch"), painted);
        EXPECT_EQ(QColor(QLatin1Char('#') + Text(form, "HexLab")), painted);

        QTest::mouseMove(&Get<QWidget>(form, "PrimaryRow"), PrimaryCell(3));
        EXPECT_EQ(Text(form, "NameLab"), QStringLiteral("darkgray"));
        EXPECT_EQ(Text(form, "NumberLab"), QStringLiteral("25"));
        EXPECT_EQ(Text(form, "HexLab"), QStringLiteral("a9a9a9"));
        EXPECT_EQ(SwatchColor(form, "SampleSwatch"), QColor(0x80, 0x80, 0x80));

        EXPECT_EQ(Text(form, "ChosenNameLab"), QStringLiteral("black"));
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Choix de noms de couleurs reconnus."));
        form.close();
    }));
}

TEST(ColorPickerTest, DoubleClickOnThePaletteAccepts)
{
    TNetColors colors;
    const bool accepted = ExecuteDriven(colors, [](TNetCForm& form) {
        TickAlpha(form);
        QTest::mouseDClick(&Get<QWidget>(form, "Palette"), Qt::LeftButton, {}, PaletteCell(13, 9));
        if (form.isVisible()) {
            ADD_FAILURE() << "a double click left the picker open";
            form.reject();
        }
    });
    EXPECT_TRUE(accepted);
    EXPECT_EQ(colors.NetColStr(), QStringLiteral("aliceblue"));
    EXPECT_EQ(colors.SysColor(), 0xFFF8F0);
}

TEST(ColorPickerTest, CloseBoxKeepsThePreviousChoice)
{
    QWidget owner;
    TNetColors colors(&owner);
    colors.setNetColStr(QStringLiteral("red"));
    colors.setSysColor(0x0000FF);
    colors.setSysColStr(QStringLiteral("$000000FF"));
    const bool accepted = ExecuteDriven(colors, [&owner](TNetCForm& form) {
        EXPECT_EQ(form.parentWidget(), &owner);
        QTest::mousePress(&Get<QWidget>(form, "Palette"), Qt::LeftButton, {}, PaletteCell(5, 5));
        EXPECT_NE(Text(form, "ChosenNameLab"), QStringLiteral("black"));
        form.close();
    });
    EXPECT_FALSE(accepted);
    EXPECT_EQ(colors.NetColStr(), QStringLiteral("red"));
    EXPECT_EQ(colors.SysColor(), 0x0000FF);
    EXPECT_EQ(colors.SysColStr(), QStringLiteral("$000000FF"));
}

TEST(ColorPickerTest, SortTypeAboveOneIsResetToZero)
{
    TNetColors colors;
    colors.setSortType(5);
    const bool accepted = ExecuteDriven(colors, [](TNetCForm& form) {
        EXPECT_EQ(form.sortType(), 0);
        QTest::mousePress(&Get<QWidget>(form, "Palette"), Qt::LeftButton, {}, PaletteCell(1, 0));
        Click(form, "AcceptBtn");
    });
    EXPECT_TRUE(accepted);
    EXPECT_EQ(colors.sortType(), 0);
    EXPECT_EQ(colors.NetColStr(), QStringLiteral("ivory"));
}

TEST(ColorPickerTest, ColorByNameLooksUpTheTable)
{
    EXPECT_EQ(TNetColors::ColorByName(QStringLiteral("  navy ")), 0x800000);
    EXPECT_EQ(TNetColors::ColorByName(QStringLiteral("lightgrey")), 0xD3D3D3);
    EXPECT_EQ(TNetColors::ColorByName(QStringLiteral("Navy")), 0xFFFFFF);
    EXPECT_EQ(TNetColors::ColorByName(QStringLiteral("grey")), 0xFFFFFF);
}

} // namespace
} // namespace tavimor
