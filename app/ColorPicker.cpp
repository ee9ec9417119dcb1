#include "app/ColorPicker.h"

#include "app/TextCodec.h"

#include <QCheckBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

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

// ------------------------------------------------------------------ cells

TColorCells::TColorCells(int columns, int rows, int cellSize, QWidget* parent)
    : QWidget(parent)
    , columns_(columns)
    , rows_(rows)
    , cellSize_(cellSize)
    , colors_(static_cast<std::size_t>(columns * rows), Qt::white)
{
    InstallAccessibleInterfaces();
    setFixedSize(columns_ * cellSize_, rows_ * cellSize_);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

QColor TColorCells::CellColor(int cell) const
{
    return colors_.at(static_cast<std::size_t>(cell));
}

QString TColorCells::CellName(int cell) const
{
    return names_.value(cell);
}

void TColorCells::SetCells(const std::vector<QColor>& colors, const QStringList& names)
{
    for (int cell = 0; cell < CellCount(); ++cell) {
        const auto k = static_cast<std::size_t>(cell);
        colors_[k] = k < colors.size() ? colors[k] : QColor(Qt::white);
    }
    names_ = names.mid(0, CellCount());
    update();
}

void TColorCells::SetChosenName(const QString& name)
{
    const int chosen = static_cast<int>(names_.indexOf(name));
    if (chosen == chosen_)
        return;
    chosen_ = chosen;
    AnnounceChosen(this, chosen_);
}

int TColorCells::CellAtPoint(QPoint point) const
{
    // A grabbed pointer reports positions outside the widget too.
    if (point.x() < 0 || point.y() < 0 || point.x() >= columns_ * cellSize_ || point.y() >= rows_ * cellSize_)
        return -1;
    return columns_ * (point.y() / cellSize_) + point.x() / cellSize_;
}

QRect TColorCells::ItemRect(int item) const
{
    if (item < 0 || item >= CellCount())
        return {};
    return {(item % columns_) * cellSize_, (item / columns_) * cellSize_, cellSize_, cellSize_};
}

void TColorCells::ChooseItem(int item)
{
    if (item < 0 || item >= CellCount())
        return;
    current_ = item;
    update();
    emit cellPressed(item, CellColor(item));
}

void TColorCells::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    for (int cell = 0; cell < CellCount(); ++cell)
        painter.fillRect(ItemRect(cell), CellColor(cell));
    // The keyboard's cell: a black and a white frame, seen on any colour.
    if (hasFocus() && current_ >= 0) {
        const QRect cell = ItemRect(current_);
        painter.setPen(Qt::black);
        painter.drawRect(cell.adjusted(0, 0, -1, -1));
        painter.setPen(Qt::white);
        painter.drawRect(cell.adjusted(1, 1, -2, -2));
    }
}

void TColorCells::mouseMoveEvent(QMouseEvent* event)
{
    const int cell = CellAtPoint(event->position().toPoint());
    if (cell >= 0)
        emit cellHovered(cell, CellColor(cell));
}

void TColorCells::mousePressEvent(QMouseEvent* event)
{
    const int cell = CellAtPoint(event->position().toPoint());
    if (cell < 0)
        return;
    current_ = cell;
    update();
    emit cellPressed(cell, CellColor(cell));
}

void TColorCells::mouseDoubleClickEvent(QMouseEvent* event)
{
    const int cell = CellAtPoint(event->position().toPoint());
    if (cell >= 0)
        emit cellDoubleClicked(cell, CellColor(cell));
}

void TColorCells::keyPressEvent(QKeyEvent* event)
{
    const int last = CellCount() - 1;
    const int column = current_ % columns_;
    switch (event->key()) {
    case Qt::Key_Left:
        MoveCursor(std::max(current_ - 1, 0));
        break;
    case Qt::Key_Right:
        MoveCursor(std::min(current_ + 1, last));
        break;
    case Qt::Key_Up:
        MoveCursor(current_ - columns_ >= 0 ? current_ - columns_ : current_);
        break;
    case Qt::Key_Down:
        MoveCursor(current_ + columns_ <= last ? current_ + columns_ : current_);
        break;
    case Qt::Key_Home:
        MoveCursor(event->modifiers() & Qt::ControlModifier ? 0 : current_ - column);
        break;
    case Qt::Key_End:
        MoveCursor(event->modifiers() & Qt::ControlModifier ? last : std::min(current_ - column + columns_ - 1, last));
        break;
    case Qt::Key_Space:
        ChooseItem(current_);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        ChooseItem(current_);
        event->ignore(); // the form's default button accepts
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

// The keyboard arrives on the chosen cell, else where it was, else on the first.
void TColorCells::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    if (chosen_ >= 0)
        current_ = chosen_;
    else if (current_ < 0)
        current_ = 0;
    update();
    // After Qt has announced the cells themselves.
    QTimer::singleShot(0, this, [this] {
        if (hasFocus())
            MoveCursor(current_);
    });
}

void TColorCells::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}

void TColorCells::MoveCursor(int cell)
{
    if (cell < 0 || cell >= CellCount())
        return;
    current_ = cell;
    update();
    emit cellHovered(cell, CellColor(cell));
    AnnounceFocus(this, cell);
}

// ---------------------------------------------------------------- palette

TNetPalette::TNetPalette(QWidget* parent)
    : TColorCells(kColumns, kRows, kCellSize, parent)
{
}

// ------------------------------------------------------------ primary row

TPrimaryRow::TPrimaryRow(QWidget* parent)
    : TColorCells(kBasicColorCount, 1, kCellSize, parent)
{
    std::vector<QColor> colors;
    QStringList names;
    for (const BasicColor& basic : BasicColors()) {
        colors.push_back(QColorFromValue(basic.Value));
        names << QString::fromLatin1(basic.Name);
    }
    SetCells(colors, names);
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

    QLabel* primaryLab
        = NewLabel(this, QStringLiteral("PrimaryLab"), QStringLiteral("couleurs primaires"), kPrimaryLabelRect);
    NewOutline(this, kPrimaryRect);
    primary_ = new TPrimaryRow(this);
    primary_->setObjectName(QStringLiteral("PrimaryRow"));
    primary_->move(kPrimaryRect.topLeft());
    primaryLab->setBuddy(primary_);

    QLabel* paletteLab
        = NewLabel(this, QStringLiteral("PaletteLab"), QStringLiteral("palette étendue"), kPaletteLabelRect);
    NewOutline(this, kPaletteRect);
    palette_ = new TNetPalette(this);
    palette_->setObjectName(QStringLiteral("Palette"));
    palette_->move(kPaletteRect.topLeft());
    paletteLab->setBuddy(palette_);

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
    connect(primary_, &TPrimaryRow::cellHovered, this, &TNetCForm::PrimaryMouseMove);
    connect(primary_, &TPrimaryRow::cellPressed, this, &TNetCForm::PrimaryMouseDown);
    connect(alphaCheck_, &QCheckBox::toggled, this, &TNetCForm::RefreshPalette);
    connect(acceptBtn, &QPushButton::clicked, this, &QDialog::accept);

    RefreshPalette();
    primary_->SetChosenName(chosenName_);
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
    std::vector<QColor> cells;
    QStringList names;
    for (int cell = 0; cell < TNetPalette::kCells; ++cell) {
        const auto entry = static_cast<std::size_t>(kLastEntry - cell);
        const ColorValue value
            = alpha ? colors_.Colors()[entry].Value : colors_.ColorByName(colors_.SortedNames[entry]);
        cells.push_back(QColorFromValue(value));
        names << FromCore(colors_.At(PositionOfCell(cell)).Name);
    }
    palette_->SetCells(cells, names);
    palette_->SetChosenName(chosenName_);
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
    // Set up before the cells exist.
    if (palette_)
        palette_->SetChosenName(name);
    if (primary_)
        primary_->SetChosenName(name);
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
