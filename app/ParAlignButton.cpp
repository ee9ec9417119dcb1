#include "app/ParAlignButton.h"

#include <QBitmap>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

// The resources of a static library are registered by hand: nothing else
// would pull their object file into the program.
static void RegisterStyleDialogResources()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(StyleDialog);
        return true;
    }();
    (void)registered;
}

namespace tavimor {

namespace {

constexpr int kGlyphCount = 4;

QPixmap LoadGlyphs()
{
    RegisterStyleDialogResources();
    QPixmap glyphs(QStringLiteral(":/PARBTNIMG.png"));
    if (!glyphs.isNull())
        glyphs.setMask(glyphs.createMaskFromColor(Qt::white));
    return glyphs;
}

} // namespace

TParAlignButton::TParAlignButton(QWidget* parent)
    : QWidget(parent)
    , caption_(QStringLiteral("Alignement: "))
    , glyphs_(LoadGlyphs())
{
    setFont(QFont(QStringLiteral("Arial"), 9));
    ApplyWidth();
}

void TParAlignButton::setParIndex(int index)
{
    parIndex_ = index;
    update();
}

TParAlignButton::TParAlignType TParAlignButton::parAlignType() const
{
    return parIndex_ >= pAlLeft && parIndex_ <= pAlJustify ? static_cast<TParAlignType>(parIndex_) : pAlLeft;
}

void TParAlignButton::setParAlignType(TParAlignType type)
{
    setParIndex(static_cast<int>(type));
}

void TParAlignButton::setCaption(const QString& caption)
{
    caption_ = caption;
    ApplyWidth();
    update();
}

int TParAlignButton::CaptionWidth() const
{
    return QFontMetrics(font()).horizontalAdvance(caption_);
}

void TParAlignButton::ApplyWidth()
{
    const int width = open_ ? CaptionWidth() + 38 : CaptionWidth() + 4 + kGlyphSize + 4;
    setFixedSize(width, kGlyphSize);
}

QRect TParAlignButton::GlyphSource(int index) const
{
    if (index < 0 || index >= kGlyphCount)
        index = 0;
    return QRect(index * kGlyphSize, 0, kGlyphSize, kGlyphSize);
}

void TParAlignButton::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(QRect(0, 0, CaptionWidth(), height()), Qt::AlignLeft | Qt::AlignVCenter, caption_);
    if (!open_) {
        painter.drawPixmap(CaptionWidth() + 4, 0, glyphs_, GlyphSource(parIndex_).x(), 0, kGlyphSize, kGlyphSize);
        return;
    }
    // The open row covers the end of the caption and ends at the right edge.
    const QRect row(GlyphRowLeft(), 0, kGlyphCount * kGlyphSize, kGlyphSize);
    painter.fillRect(row, palette().color(QPalette::Base));
    painter.drawPixmap(row.topLeft(), glyphs_);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(row.adjusted(0, 0, -1, -1));
}

void TParAlignButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    open_ = true;
    ApplyWidth();
    update();
}

// The last boundary the release point is beyond gives the index; a release
// left of the row keeps the previous one.
void TParAlignButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !open_)
        return;
    const int x = qRound(event->position().x());
    const int s = GlyphRowLeft();
    for (int index = 0; index < kGlyphCount; ++index)
        if (x > s + kGlyphSize * index)
            parIndex_ = index;
    open_ = false;
    ApplyWidth();
    update();
    emit picked();
}

} // namespace tavimor
