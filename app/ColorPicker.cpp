#include "app/ColorPicker.h"

#include "app/TextCodec.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

namespace tavimor {

namespace {

// Client-area geometry of the picker form, in pixels.
constexpr int kFormWidth = 241;
constexpr int kFormHeight = 280;
constexpr QRect kSampleRect(192, 6, 36, 36);
constexpr QRect kNumberRect(110, 4, 76, 13);
constexpr QRect kNameRect(40, 17, 146, 13);
constexpr QRect kHexRect(110, 30, 76, 13);
constexpr QRect kPrimaryLabelRect(12, 33, 96, 13);
constexpr QRect kPrimaryRect(12, 48, 216, 12);
constexpr QRect kPaletteLabelRect(15, 66, 120, 13);
constexpr QRect kPaletteRect(15, 81, 210, 150);
constexpr QRect kChosenSwatchRect(15, 238, 30, 36);
constexpr QRect kChosenNameRect(52, 238, 110, 15);
constexpr QRect kAlphaRect(52, 257, 70, 17);
constexpr QRect kAcceptRect(164, 244, 62, 26);

constexpr int kLastEntry = TNetColorList::kCount - 1;

QFrame* NewSwatch(QWidget* parent, const QString& name, const QRect& geometry)
{
    auto* swatch = new QFrame(parent);
    swatch->setObjectName(name);
    swatch->setFrameStyle(QFrame::Box | QFrame::Plain);
    swatch->setAutoFillBackground(true);
    swatch->setGeometry(geometry);
    return swatch;
}

void PaintSwatch(QFrame& swatch, const QColor& color)
{
    QPalette palette = swatch.palette();
    palette.setColor(QPalette::Window, color);
    palette.setColor(QPalette::WindowText, Qt::black);
    swatch.setPalette(palette);
}

// A one-pixel outline just outside a colour area, so that its pale cells
// stand out from the form.
void NewOutline(QWidget* parent, const QRect& area)
{
    auto* outline = new QFrame(parent);
    outline->setFrameStyle(QFrame::Box | QFrame::Plain);
    outline->setGeometry(area.adjusted(-1, -1, 1, 1));
}

QLabel* NewLabel(QWidget* parent, const QString& name, const QString& text, const QRect& geometry)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    return label;
}

} // namespace

// ---------------------------------------------------------------- palette

TNetPalette::TNetPalette(QWidget* parent)
    : QWidget(parent)
{
    setFixedSize(kColumns * kCellSize, kRows * kCellSize);
    setMouseTracking(true);
    m_colors.fill(Qt::white);
}

void TNetPalette::setCellColors(const std::array<QColor, kCells>& colors)
{
    m_colors = colors;
    update();
}

int TNetPalette::cellAt(QPoint point)
{
    // A grabbed pointer reports positions outside the widget too.
    if (point.x() < 0 || point.y() < 0 || point.x() >= kColumns * kCellSize || point.y() >= kRows * kCellSize)
        return -1;
    const int column = point.x() / kCellSize;
    const int row = point.y() / kCellSize;
    return kColumns * row + column;
}

void TNetPalette::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    for (int cell = 0; cell < kCells; ++cell) {
        const int column = cell % kColumns;
        const int row = cell / kColumns;
        painter.fillRect(column * kCellSize, row * kCellSize, kCellSize, kCellSize, cellColor(cell));
    }
}

void TNetPalette::mouseMoveEvent(QMouseEvent* event)
{
    const int cell = cellAt(event->position().toPoint());
    if (cell >= 0)
        emit cellHovered(cell, cellColor(cell));
}

void TNetPalette::mousePressEvent(QMouseEvent* event)
{
    const int cell = cellAt(event->position().toPoint());
    if (cell >= 0)
        emit cellPressed(cell, cellColor(cell));
}

void TNetPalette::mouseDoubleClickEvent(QMouseEvent* event)
{
    const int cell = cellAt(event->position().toPoint());
    if (cell >= 0)
        emit cellDoubleClicked(cell, cellColor(cell));
}

// ------------------------------------------------------------ primary row

TPrimaryRow::TPrimaryRow(QWidget* parent)
    : QWidget(parent)
{
    setFixedSize(kBasicColorCount * kCellSize, kCellSize);
    setMouseTracking(true);
}

int TPrimaryRow::cellAt(QPoint point)
{
    if (point.x() < 0 || point.y() < 0 || point.y() >= kCellSize)
        return -1;
    const int cell = point.x() / kCellSize;
    return cell < kBasicColorCount ? cell : -1;
}

void TPrimaryRow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const auto& basic = BasicColors();
    for (int cell = 0; cell < kBasicColorCount; ++cell)
        painter.fillRect(
            cell * kCellSize, 0, kCellSize, kCellSize, QColorFromValue(basic[static_cast<std::size_t>(cell)].Value));
}

void TPrimaryRow::mouseMoveEvent(QMouseEvent* event)
{
    const int cell = cellAt(event->position().toPoint());
    if (cell >= 0)
        emit cellHovered(cell, QColorFromValue(BasicColors()[static_cast<std::size_t>(cell)].Value));
}

void TPrimaryRow::mousePressEvent(QMouseEvent* event)
{
    const int cell = cellAt(event->position().toPoint());
    if (cell >= 0)
        emit cellPressed(cell, QColorFromValue(BasicColors()[static_cast<std::size_t>(cell)].Value));
}

// ------------------------------------------------------------------- form

TNetCForm::TNetCForm(QWidget* parent)
    : QDialog(parent)
    , m_chosenName(QStringLiteral("black"))
{
    setWindowTitle(QStringLiteral("Choix de noms de couleurs reconnus."));
    setFont(QFont(QStringLiteral("Arial"), 8));
    setFixedSize(kFormWidth, kFormHeight);

    m_sample = NewSwatch(this, QStringLiteral("SampleSwatch"), kSampleRect);
    PaintSwatch(*m_sample, palette().color(QPalette::Window));
    m_numberLab = NewLabel(this, QStringLiteral("NumberLab"), {}, kNumberRect);
    m_nameLab = NewLabel(this, QStringLiteral("NameLab"), {}, kNameRect);
    m_hexLab = NewLabel(this, QStringLiteral("HexLab"), {}, kHexRect);
    for (QLabel* label : {m_numberLab, m_nameLab, m_hexLab})
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    NewLabel(this, QStringLiteral("PrimaryLab"), QStringLiteral("couleurs primaires"), kPrimaryLabelRect);
    NewOutline(this, kPrimaryRect);
    auto* primary = new TPrimaryRow(this);
    primary->setObjectName(QStringLiteral("PrimaryRow"));
    primary->move(kPrimaryRect.topLeft());

    NewLabel(this, QStringLiteral("PaletteLab"), QStringLiteral("palette étendue"), kPaletteLabelRect);
    NewOutline(this, kPaletteRect);
    m_palette = new TNetPalette(this);
    m_palette->setObjectName(QStringLiteral("Palette"));
    m_palette->move(kPaletteRect.topLeft());

    m_chosenSwatch = NewSwatch(this, QStringLiteral("ChosenSwatch"), kChosenSwatchRect);
    PaintSwatch(*m_chosenSwatch, QColorFromValue(m_chosenValue));
    m_chosenNameLab = NewLabel(this, QStringLiteral("ChosenNameLab"), m_chosenName, kChosenNameRect);

    m_alphaCheck = new QCheckBox(QStringLiteral("Alpha"), this);
    m_alphaCheck->setObjectName(QStringLiteral("AlphaCheck"));
    m_alphaCheck->setGeometry(kAlphaRect);

    auto* acceptBtn = new QPushButton(QStringLiteral("Accepter"), this);
    acceptBtn->setObjectName(QStringLiteral("AcceptBtn"));
    acceptBtn->setGeometry(kAcceptRect);
    acceptBtn->setDefault(true);

    connect(m_palette, &TNetPalette::cellHovered, this, &TNetCForm::PaletteMouseMove);
    connect(m_palette, &TNetPalette::cellPressed, this, &TNetCForm::PaletteMouseDown);
    connect(m_palette, &TNetPalette::cellDoubleClicked, this, &TNetCForm::PaletteDblClick);
    connect(primary, &TPrimaryRow::cellHovered, this, &TNetCForm::PrimaryMouseMove);
    connect(primary, &TPrimaryRow::cellPressed, this, &TNetCForm::PrimaryMouseDown);
    connect(m_alphaCheck, &QCheckBox::toggled, this, &TNetCForm::refreshPalette);
    connect(acceptBtn, &QPushButton::clicked, this, &QDialog::accept);

    refreshPalette();
}

void TNetCForm::setSortType(int sortType)
{
    m_sortType = sortType;
    refreshPalette();
}

int TNetCForm::positionOfCell(int cell) const
{
    // The last entry of the order sits at the top left.
    const int position = kLastEntry - cell;
    return m_alphaCheck->isChecked() ? position : m_colors.SortedIndex[static_cast<std::size_t>(position)];
}

void TNetCForm::refreshPalette()
{
    const bool alpha = m_alphaCheck->isChecked();
    if (!alpha)
        m_colors.SortBy(m_sortType);
    std::array<QColor, TNetPalette::kCells> cells;
    for (int cell = 0; cell < TNetPalette::kCells; ++cell) {
        const auto entry = static_cast<std::size_t>(kLastEntry - cell);
        const ColorValue value
            = alpha ? m_colors.Colors()[entry].Value : m_colors.ColorByName(m_colors.SortedNames[entry]);
        cells[static_cast<std::size_t>(cell)] = QColorFromValue(value);
    }
    m_palette->setCellColors(cells);
}

void TNetCForm::showEntry(int position, const QColor& sample)
{
    const TNetColor& entry = m_colors.At(position);
    PaintSwatch(*m_sample, sample);
    m_numberLab->setText(QString::number(entry.Number));
    m_nameLab->setText(FromCore(entry.Name));
    m_hexLab->setText(FromCore(entry.Hex));
}

void TNetCForm::choose(const QString& name, ColorValue value)
{
    m_chosenName = name;
    m_chosenValue = value;
    m_chosenNameLab->setText(name);
    PaintSwatch(*m_chosenSwatch, QColorFromValue(value));
}

void TNetCForm::PaletteMouseMove(int cell, const QColor& color)
{
    m_palettePosition = positionOfCell(cell);
    showEntry(m_palettePosition, color);
}

void TNetCForm::PaletteMouseDown(int cell, const QColor& color)
{
    // A press is also a pointer position: a pen or a first click without any
    // move before it still picks the cell under it.
    PaletteMouseMove(cell, color);
    const TNetColor& entry = m_colors.At(m_palettePosition);
    const QString name = FromCore(entry.Name);
    setWindowTitle(QStringLiteral("index: %1 %2").arg(m_palettePosition + 1).arg(name));
    choose(name, entry.RGB);
}

void TNetCForm::PaletteDblClick(int cell, const QColor& color)
{
    PaletteMouseDown(cell, color);
    accept();
}

void TNetCForm::PrimaryMouseMove(int cell, const QColor& color)
{
    m_primaryCell = cell;
    const QString name = QString::fromLatin1(BasicColors()[static_cast<std::size_t>(cell)].Name);
    PaintSwatch(*m_sample, color);
    m_nameLab->setText(name);
    // The labels describe the table entry of that name, whose value may
    // differ from the basic colour ("lightgrey", "darkgray").
    const int position = m_colors.IndexOfName(ToCore(name));
    m_numberLab->setText(QString::number(position + 1));
    m_hexLab->setText(position < 0 ? QString() : FromCore(m_colors.HexOf(position)));
}

void TNetCForm::PrimaryMouseDown(int cell, const QColor& color)
{
    PrimaryMouseMove(cell, color);
    const BasicColor& basic = BasicColors()[static_cast<std::size_t>(m_primaryCell)];
    const QString name = QString::fromLatin1(basic.Name);
    setWindowTitle(name);
    choose(name, basic.Value);
}

// -------------------------------------------------------------- component

TNetColors::TNetColors(QObject* owner)
    : QObject(owner)
{
}

bool TNetColors::Execute(QWidget* parent)
{
    if (m_sortType > 1)
        m_sortType = 0;
    QWidget* const owner = parent ? parent : qobject_cast<QWidget*>(this->parent());
    TNetCForm form(owner);
    form.setSortType(m_sortType);
    if (!m_netColStr.isEmpty())
        form.setChosen(m_netColStr, m_sysColor);
    if (form.exec() != QDialog::Accepted)
        return false;
    m_netColStr = form.chosenName();
    m_sysColor = form.chosenValue();
    m_sysColStr = FromCore(ColorToText(m_sysColor));
    return true;
}

ColorValue TNetColors::ColorByName(const QString& name)
{
    return tavimor::ColorByName(ToCore(name));
}

} // namespace tavimor
