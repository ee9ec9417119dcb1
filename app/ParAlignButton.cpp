#include "app/ParAlignButton.h"

#include <QBitmap>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

#include <algorithm>

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
    InstallAccessibleInterfaces();
    setFont(QFont(QStringLiteral("Arial"), 9));
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Alignement"));
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
        if (hasFocus()) {
            QStyleOptionFocusRect frame;
            frame.initFrom(this);
            frame.rect = QRect(CaptionWidth() + 2, 0, kGlyphSize + 4, kGlyphSize);
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, &painter, this);
        }
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
    AnnounceChosen(this, CurrentItem());
    emit picked();
}

int TParAlignButton::ItemCount() const
{
    return kGlyphCount;
}

QString TParAlignButton::ItemName(int item) const
{
    switch (item) {
    case pAlLeft:
        return QStringLiteral("à gauche");
    case pAlRight:
        return QStringLiteral("à droite");
    case pAlCenter:
        return QStringLiteral("centré");
    case pAlJustify:
        return QStringLiteral("justifié");
    default:
        return {};
    }
}

// Open, each glyph of the row; closed, only the chosen glyph is drawn.
QRect TParAlignButton::ItemRect(int item) const
{
    if (item < 0 || item >= kGlyphCount)
        return {};
    if (open_)
        return {GlyphRowLeft() + item * kGlyphSize, 0, kGlyphSize, kGlyphSize};
    return item == CurrentItem() ? QRect(CaptionWidth() + 4, 0, kGlyphSize, kGlyphSize) : QRect();
}

void TParAlignButton::ChooseItem(int item)
{
    if (item < 0 || item >= kGlyphCount)
        return;
    parIndex_ = item;
    update();
    AnnounceChosen(this, item);
    AnnounceFocus(this, item);
    emit picked();
}

void TParAlignButton::keyPressEvent(QKeyEvent* event)
{
    const int chosen = CurrentItem();
    int target = chosen;
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        target = std::max(chosen - 1, 0);
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        target = std::min(chosen + 1, kGlyphCount - 1);
        break;
    case Qt::Key_Home:
        target = 0;
        break;
    case Qt::Key_End:
        target = kGlyphCount - 1;
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    if (target != chosen || target != parIndex_)
        ChooseItem(target);
}

void TParAlignButton::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update();
}

void TParAlignButton::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}

} // namespace tavimor
