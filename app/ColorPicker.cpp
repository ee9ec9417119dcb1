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
    colors_.fill(Qt::white);
}

void TNetPalette::setCellColors(const std::array<QColor, kCells>& colors)
{
    colors_ = colors;
    update();
}

int TNetPalette::CellAt(QPoint point)
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
    const int cell = CellAt(event->position().toPoint());
    if (cell >= 0)
        emit cellHovered(cell, cellColor(cell));
}

void TNetPalette::mousePressEvent(QMouseEvent* event)
{
    const int cell = CellAt(event->position().toPoint());
    if (cell >= 0)
        emit cellPressed(cell, cellColor(cell));
}

void TNetPalette::mouseDoubleClickEvent(QMouseEvent* event)
{
    const int cell = CellAt(event->position().toPoint());
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

int TPrimaryRow::CellAt(QPoint point)
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
    const int cell = CellAt(event->position().toPoint());
    if (cell >= 0)
        emit cellHovered(cell, QColorFromValue(BasicColors()[static_cast<std::size_t>(cell)].Value));
}

void TPrimaryRow::mousePressEvent(QMouseEvent* event)
{
    const int cell = CellAt(event->position().toPoint());
    if (cell >= 0)
        emit cellPressed(cell, QColorFromValue(BasicColors()[static_cast<std::size_t>(cell)].Value));
}

// ------------------------------------------------------------------- form

TNetCForm::TNetCForm(QWidget* parent)
    : QDialog(parent)
    , chosenName_(QStringLiteral("black"))
{
    setWindowTitle(QStringLiteral("Choix de noms de couleurs reconnus."));
    setFont(QFont(QStringLiteral("Arial"), 8));
    setFixedSize(kFormWidth, kFormHeight);

    sample_ = NewSwatch(this, QStringLiteral("SampleSwatch"), kSampleRect);
    PaintSwatch(*sample_, palette().color(QPalette::Window));
    numberLab_ = NewLabel(this, QStringLiteral("NumberLab"), {}, kNumberRect);
    nameLab_ = NewLabel(this, QStringLiteral("NameLab"), {}, kNameRect);
    hexLab_ = NewLabel(this, QStringLiteral("HexLab"), {}, kHexRect);
    for (QLabel* label : {numberLab_, nameLab_, hexLab_})
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    NewLabel(this, QStringLiteral("PrimaryLab"), QStringLiteral("couleurs primaires"), kPrimaryLabelRect);
    NewOutline(this, kPrimaryRect);
    auto* primary = new TPrimaryRow(this);
    primary->setObjectName(QStringLiteral("PrimaryRow"));
    primary->move(kPrimaryRect.topLeft());

    NewLabel(this, QStringLiteral("PaletteLab"), QStringLiteral("palette étendue"), kPaletteLabelRect);
    NewOutline(this, kPaletteRect);
    palette_ = new TNetPalette(this);
    palette_->setObjectName(QStringLiteral("Palette"));
    palette_->move(kPaletteRect.topLeft());

    chosenSwatch_ = NewSwatch(this, QStringLiteral("ChosenSwatch"), kChosenSwatchRect);
    PaintSwatch(*chosenSwatch_, QColorFromValue(chosenValue_));
    chosenNameLab_ = NewLabel(this, QStringLiteral("ChosenNameLab"), chosenName_, kChosenNameRect);

    alphaCheck_ = new QCheckBox(QStringLiteral("Alpha"), this);
    alphaCheck_->setObjectName(QStringLiteral("AlphaCheck"));
    alphaCheck_->setGeometry(kAlphaRect);

    auto* acceptBtn = new QPushButton(QStringLiteral("Accepter"), this);
    acceptBtn->setObjectName(QStringLiteral("AcceptBtn"));
    acceptBtn->setGeometry(kAcceptRect);
    acceptBtn->setDefault(true);

    connect(palette_, &TNetPalette::cellHovered, this, &TNetCForm::PaletteMouseMove);
    connect(palette_, &TNetPalette::cellPressed, this, &TNetCForm::PaletteMouseDown);
    connect(palette_, &TNetPalette::cellDoubleClicked, this, &TNetCForm::PaletteDblClick);
    connect(primary, &TPrimaryRow::cellHovered, this, &TNetCForm::PrimaryMouseMove);
    connect(primary, &TPrimaryRow::cellPressed, this, &TNetCForm::PrimaryMouseDown);
    connect(alphaCheck_, &QCheckBox::toggled, this, &TNetCForm::RefreshPalette);
    connect(acceptBtn, &QPushButton::clicked, this, &QDialog::accept);

    RefreshPalette();
}

void TNetCForm::setSortType(int sortType)
{
    sortType_ = sortType;
    RefreshPalette();
}

int TNetCForm::PositionOfCell(int cell) const
{
    // The last entry of the order sits at the top left.
    const int position = kLastEntry - cell;
    return alphaCheck_->isChecked() ? position : colors_.SortedIndex[static_cast<std::size_t>(position)];
}

void TNetCForm::RefreshPalette()
{
    const bool alpha = alphaCheck_->isChecked();
    if (!alpha)
        colors_.SortBy(sortType_);
    std::array<QColor, TNetPalette::kCells> cells;
    for (int cell = 0; cell < TNetPalette::kCells; ++cell) {
        const auto entry = static_cast<std::size_t>(kLastEntry - cell);
        const ColorValue value
            = alpha ? colors_.Colors()[entry].Value : colors_.ColorByName(colors_.SortedNames[entry]);
        cells[static_cast<std::size_t>(cell)] = QColorFromValue(value);
    }
    palette_->setCellColors(cells);
}

void TNetCForm::ShowEntry(int position, const QColor& sample)
{
    const TNetColor& entry = colors_.At(position);
    PaintSwatch(*sample_, sample);
    numberLab_->setText(QString::number(entry.Number));
    nameLab_->setText(FromCore(entry.Name));
    hexLab_->setText(FromCore(entry.Hex));
}

void TNetCForm::Choose(const QString& name, ColorValue value)
{
    chosenName_ = name;
    chosenValue_ = value;
    chosenNameLab_->setText(name);
    PaintSwatch(*chosenSwatch_, QColorFromValue(value));
}

void TNetCForm::PaletteMouseMove(int cell, const QColor& color)
{
    palettePosition_ = PositionOfCell(cell);
    ShowEntry(palettePosition_, color);
}

void TNetCForm::PaletteMouseDown(int cell, const QColor& color)
{
    // A press is also a pointer position: a pen or a first click without any
    // move before it still picks the cell under it.
    PaletteMouseMove(cell, color);
    const TNetColor& entry = colors_.At(palettePosition_);
    const QString name = FromCore(entry.Name);
    setWindowTitle(QStringLiteral("index: %1 %2").arg(palettePosition_ + 1).arg(name));
    Choose(name, entry.RGB);
}

void TNetCForm::PaletteDblClick(int cell, const QColor& color)
{
    PaletteMouseDown(cell, color);
    accept();
}

void TNetCForm::PrimaryMouseMove(int cell, const QColor& color)
{
    primaryCell_ = cell;
    const QString name = QString::fromLatin1(BasicColors()[static_cast<std::size_t>(cell)].Name);
    PaintSwatch(*sample_, color);
    nameLab_->setText(name);
    // The labels describe the table entry of that name, whose value may
    // differ from the basic colour ("lightgrey", "darkgray").
    const int position = colors_.IndexOfName(ToCore(name));
    numberLab_->setText(QString::number(position + 1));
    hexLab_->setText(position < 0 ? QString() : FromCore(colors_.HexOf(position)));
}

void TNetCForm::PrimaryMouseDown(int cell, const QColor& color)
{
    PrimaryMouseMove(cell, color);
    const BasicColor& basic = BasicColors()[static_cast<std::size_t>(primaryCell_)];
    const QString name = QString::fromLatin1(basic.Name);
    setWindowTitle(name);
    Choose(name, basic.Value);
}

// -------------------------------------------------------------- component

TNetColors::TNetColors(QObject* owner)
    : QObject(owner)
{
}

bool TNetColors::Execute(QWidget* parent)
{
    if (sortType_ > 1)
        sortType_ = 0;
    QWidget* const owner = parent ? parent : qobject_cast<QWidget*>(this->parent());
    TNetCForm form(owner);
    form.setSortType(sortType_);
    if (!netColStr_.isEmpty())
        form.setChosen(netColStr_, sysColor_);
    if (form.exec() != QDialog::Accepted)
        return false;
    netColStr_ = form.chosenName();
    sysColor_ = form.chosenValue();
    sysColStr_ = FromCore(ColorToText(sysColor_));
    return true;
}

ColorValue TNetColors::ColorByName(const QString& name)
{
    return tavimor::ColorByName(ToCore(name));
}

} // namespace tavimor
