#include "app/RepGroup.h"

#include <QEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace tavimor {

namespace {

// The caption starts right of the round mark.
constexpr int kCaptionLeft = 20;
// The button is this much taller than its wrapped caption.
constexpr int kCaptionExtra = 4;
// Gap between neighbouring buttons and between rows.
constexpr int kGap = 2;

// Draws a filled ellipse with a one-pixel black outline inside the rectangle
// from (x1, y1) to (x2, y2), right and bottom edges excluded.
void FilledEllipse(QPainter& painter, int x1, int y1, int x2, int y2, const QColor& fill)
{
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(fill);
    painter.drawEllipse(QRectF(x1 + 0.5, y1 + 0.5, x2 - x1 - 1, y2 - y1 - 1));
}

} // namespace

// ---------------------------------------------------------------------------
// TExtRadBtn

TExtRadBtn::TExtRadBtn(QWidget* parent)
    : QWidget(parent)
    , m_caption(new QLabel(this))
{
    setFocusPolicy(Qt::NoFocus);
    m_caption->setObjectName(QStringLiteral("Caption"));
    m_caption->setTextFormat(Qt::PlainText); // answers may hold HTML: shown as typed
    m_caption->setWordWrap(true);
    m_caption->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_caption->setAutoFillBackground(false);
    m_caption->setText(QStringLiteral("choix de réponse"));
    m_caption->installEventFilter(this);
    resize(50, 20);
    ApplyHeightRule();
}

void TExtRadBtn::SetCheck(bool check)
{
    if (m_check == check)
        return;
    m_check = check;
    update();
}

QString TExtRadBtn::Caption() const
{
    return m_caption->text();
}

void TExtRadBtn::SetCaption(const QString& caption)
{
    m_caption->setText(caption);
    ApplyHeightRule();
}

void TExtRadBtn::SetBounds(int left, int top, int width, int height)
{
    setGeometry(left, top, width, height);
    ApplyHeightRule();
}

int TExtRadBtn::CaptionHeight() const
{
    const int labelWidth = std::max(0, width() - kCaptionLeft);
    // An empty caption still takes one line, as a caption with one blank would.
    if (m_caption->text().isEmpty())
        return m_caption->fontMetrics().height();
    return std::max(m_caption->heightForWidth(labelWidth), m_caption->fontMetrics().height());
}

void TExtRadBtn::ApplyHeightRule()
{
    const int labelWidth = std::max(0, width() - kCaptionLeft);
    const int captionHeight = CaptionHeight();
    m_caption->setGeometry(kCaptionLeft, 0, labelWidth, captionHeight);
    if (height() != captionHeight + kCaptionExtra)
        resize(width(), captionHeight + kCaptionExtra);
}

void TExtRadBtn::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    FilledEllipse(painter, 0, 4, 12, 16, Qt::black);
    FilledEllipse(painter, 1, 5, 11, 15, Qt::white);
    if (m_check)
        FilledEllipse(painter, 1, 4, 11, 15, Qt::black);
}

void TExtRadBtn::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    emit mousePressed(event->button());
}

void TExtRadBtn::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    ApplyHeightRule();
}

bool TExtRadBtn::eventFilter(QObject* watched, QEvent* event)
{
    const bool press = event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
    if (watched == m_caption && press) {
        // A press on the caption first flips the mark on screen, then counts as
        // a press on the button itself.
        m_check = !m_check;
        update();
        emit mousePressed(static_cast<QMouseEvent*>(event)->button());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------
// TRepGroup

TRepGroup::TRepGroup(QWidget* parent)
    : QFrame(parent)
    , m_optionList(new QListWidget(this))
    , m_chosenLab(new QLabel(this))
    , m_titleLab(new QLabel(QStringLiteral("Liste d'options"), this))
{
    setObjectName(QStringLiteral("RepGroup"));
    setFrameStyle(QFrame::Panel | QFrame::Raised);

    m_optionList->setObjectName(QStringLiteral("OptionList"));
    m_optionList->setGeometry(40, 20, 100, 140);
    m_optionList->hide();
    connect(m_optionList, &QListWidget::itemPressed, this,
        [this](QListWidgetItem* item) { OptionChosen(m_optionList->row(item)); });
    // Choosing a line with the keyboard counts as a click on it.
    connect(m_optionList, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_fillingList)
            OptionChosen(row);
    });

    m_chosenLab->setObjectName(QStringLiteral("ChosenOptionLab"));
    m_chosenLab->setTextFormat(Qt::PlainText);
    m_chosenLab->setWordWrap(true);
    m_chosenLab->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette chosenPalette = m_chosenLab->palette();
    chosenPalette.setColor(QPalette::WindowText, Qt::red);
    m_chosenLab->setPalette(chosenPalette);
    QFont chosenFont = m_chosenLab->font();
    chosenFont.setBold(true);
    chosenFont.setPointSize(12);
    m_chosenLab->setFont(chosenFont);
    PlaceChosenLabel();

    m_titleLab->setObjectName(QStringLiteral("OptionListTitle"));
    QFont titleFont = m_titleLab->font();
    titleFont.setBold(true);
    m_titleLab->setFont(titleFont);
    m_titleLab->adjustSize();
    m_titleLab->move(30, 4);
    m_titleLab->hide();
}

void TRepGroup::setItems(const QStringList& items)
{
    m_items = items;
    ItemsChanged();
    update();
}

void TRepGroup::ItemsChanged()
{
    switch (m_rType) {
    case TRepType::rKWZ:
        Rebuild();
        break;
    case TRepType::rOList:
        FillOptionList();
        break;
    case TRepType::rTrue:
        // The two buttons keep their captions until the type is set again.
        break;
    }
    emit itemsChanged();
}

void TRepGroup::setRType(TRepType type)
{
    Clear();
    m_rType = type;
    m_items.clear();
    ItemsChanged();
    m_chosenLab->hide();
    m_titleLab->hide();
    switch (type) {
    case TRepType::rKWZ:
        Rebuild(); // nothing is shown until answers arrive
        break;
    case TRepType::rTrue:
        Clear();
        m_optionList->hide();
        m_columns = 2;
        m_items = QStringList {QStringLiteral("Vrai"), QStringLiteral("Faux")};
        ItemsChanged();
        Rebuild();
        break;
    case TRepType::rOList:
        Clear();
        m_fillingList = true;
        m_optionList->clear();
        m_fillingList = false;
        m_chosenLab->clear();
        PlaceChosenLabel();
        m_chosenLab->show();
        m_optionList->show();
        m_titleLab->show();
        FitHeight();
        break;
    }
    update();
}

void TRepGroup::setColumns(quint16 columns)
{
    // A cloze question keeps 0 columns in the document; a layout needs at least one.
    if (columns == 0)
        columns = 1;
    if (columns == m_columns)
        return;
    m_columns = columns;
    m_topMargin = m_leftMargin;
    if (m_rType == TRepType::rKWZ) {
        ComputeRowHeight();
        Rebuild();
        update();
    }
}

void TRepGroup::setActivItem(int item)
{
    if (item == m_activItem)
        return;
    m_activItem = item;
    if (m_rType == TRepType::rOList) {
        if (item >= 0 && item < m_optionList->count()) {
            m_fillingList = true;
            m_optionList->setCurrentRow(item);
            m_fillingList = false;
            ShowChosenOption(item);
        } else {
            // No line of the list is the marked one: show none.
            m_fillingList = true;
            m_optionList->setCurrentRow(-1);
            m_optionList->clearSelection();
            m_fillingList = false;
            ShowChosenOption(-1);
        }
        update();
    } else {
        UnmarkButtons(m_itemCount);
        if (item >= 0)
            MarkButton(item);
    }
    emit activItemChanged(m_activItem);
}

void TRepGroup::Clear()
{
    m_items.clear();
    ItemsChanged();
    m_itemCount = 0;
    StoreActivItem(-1);
    m_columns = 1;
    m_chosenLab->clear();
    for (auto it = m_buttons.rbegin(); it != m_buttons.rend(); ++it) {
        TExtRadBtn* button = *it;
        button->hide();
        button->move(button->x(), m_topMargin);
        button->SetCaption(QString());
    }
}

void TRepGroup::DeleteLast()
{
    const int count = static_cast<int>(m_items.size());
    if (count <= 0)
        return;
    if (count - 1 < static_cast<int>(m_buttons.size()))
        m_buttons[static_cast<std::size_t>(count - 1)]->hide();
    m_items.removeLast();
    ItemsChanged();
    if (m_activItem == count - 1)
        StoreActivItem(-1);
    m_itemCount = static_cast<int>(m_items.size());
}

void TRepGroup::MoveMarked(int item)
{
    const int count = static_cast<int>(m_items.size());
    if (count <= 1 || item < 0 || item >= count)
        return;
    const int target = item == count - 1 ? 0 : item + 1;
    m_items.swapItemsAt(item, target);
    ItemsChanged();
    const int shown = std::min(m_itemCount, static_cast<int>(m_buttons.size()));
    for (int k = 0; k < shown; ++k) {
        TExtRadBtn* button = m_buttons[static_cast<std::size_t>(k)];
        if (k < count)
            button->SetCaption(m_items[k]);
        button->SetCheck(false);
    }
    StoreActivItem(target);
    MarkButton(target);
}

void TRepGroup::Rebuild()
{
    m_optionList->hide();
    m_itemCount = static_cast<int>(m_items.size());
    while (m_buttons.size() < static_cast<std::size_t>(m_items.size())) {
        const int index = static_cast<int>(m_buttons.size());
        auto* button = new TExtRadBtn(this);
        button->setObjectName(QStringLiteral("RepBtn%1").arg(index));
        button->hide();
        connect(button, &TExtRadBtn::mousePressed, this,
            [this, index](Qt::MouseButton mouseButton) { ButtonPressed(index, mouseButton); });
        m_buttons.push_back(button);
    }
    for (TExtRadBtn* button : m_buttons)
        button->hide();
    if (!m_items.isEmpty())
        Layout();
    FitHeight();
}

void TRepGroup::setVisibleHeight(int height)
{
    m_visibleHeight = height;
    FitHeight();
}

void TRepGroup::FitHeight()
{
    if (m_visibleHeight <= 0)
        return;
    int needed = 0;
    if (m_rType != TRepType::rOList) {
        for (int j = 0; j < m_itemCount && j < static_cast<int>(m_buttons.size()); ++j)
            needed = std::max(needed, m_buttons[static_cast<std::size_t>(j)]->geometry().bottom() + 1 + m_topMargin);
    }
    const int fitted = std::max(m_visibleHeight, needed);
    if (fitted != height())
        resize(width(), fitted);
}

// The arithmetic is on 16-bit unsigned values, as the stored margins and sizes are.
void TRepGroup::Layout()
{
    const quint16 columns = m_columns == 0 ? 1 : m_columns;
    m_usableWidth = static_cast<quint16>(width() - 2 * m_leftMargin);
    m_buttonWidth = static_cast<quint16>(m_usableWidth / columns - kGap);

    quint16 column = 1;
    quint16 x = m_leftMargin;
    quint16 y = m_topMargin;
    quint16 tallestInRow = 0;
    m_itemCount = static_cast<int>(m_items.size());
    for (int j = 0; j < m_itemCount; ++j) {
        TExtRadBtn* button = m_buttons[static_cast<std::size_t>(j)];
        int top = y;
        if (columns == 1 && j > 0) {
            const TExtRadBtn* previous = m_buttons[static_cast<std::size_t>(j - 1)];
            top = static_cast<quint16>(previous->y() + previous->height() + kGap);
        }
        button->SetBounds(x, top, m_buttonWidth, m_rowHeight);
        button->SetCaption(m_items[j]);
        button->SetCheck(j == m_activItem);
        button->show();

        // A row is never lower than its tallest button, so that a long answer
        // does not run into the row below it.
        tallestInRow = std::max(tallestInRow, static_cast<quint16>(button->height()));
        ++column;
        x = static_cast<quint16>(x + m_buttonWidth + kGap);
        if (column > columns) {
            x = m_leftMargin;
            y = static_cast<quint16>(y + std::max(m_rowHeight, tallestInRow) + kGap);
            column = 1;
            tallestInRow = 0;
        }
    }
}

void TRepGroup::ComputeRowHeight()
{
    if (m_buttons.empty())
        return;
    const std::size_t last = m_itemCount > 0 ? static_cast<std::size_t>(m_itemCount - 1) : 0;
    int height = m_buttons[std::min(last, m_buttons.size() - 1)]->height();
    for (const TExtRadBtn* button : m_buttons)
        height = std::max(height, button->height());
    m_rowHeight = static_cast<quint16>(height);
}

void TRepGroup::FillOptionList()
{
    m_fillingList = true;
    m_optionList->clear();
    m_optionList->addItems(m_items);
    // The marked option keeps its place in the new list.
    const bool inList = m_activItem >= 0 && m_activItem < m_optionList->count();
    if (inList)
        m_optionList->setCurrentRow(m_activItem);
    m_fillingList = false;
    ShowChosenOption(inList ? m_activItem : -1);
}

void TRepGroup::ShowChosenOption(int row)
{
    const QListWidgetItem* line = row >= 0 ? m_optionList->item(row) : nullptr;
    m_chosenLab->setText(line ? line->text() : QString());
    PlaceChosenLabel();
}

void TRepGroup::PlaceChosenLabel()
{
    constexpr int left = 160;
    constexpr int top = 20;
    const int labelWidth = std::max(0, width() - left - m_leftMargin);
    const int labelHeight
        = m_chosenLab->text().isEmpty() ? m_chosenLab->fontMetrics().height() : m_chosenLab->heightForWidth(labelWidth);
    m_chosenLab->setGeometry(left, top, labelWidth, std::max(labelHeight, m_chosenLab->fontMetrics().height()));
}

void TRepGroup::UnmarkButtons(int count)
{
    const int last = std::min(count, static_cast<int>(m_buttons.size()));
    for (int i = 0; i < last; ++i)
        m_buttons[static_cast<std::size_t>(i)]->SetCheck(false);
}

void TRepGroup::MarkButton(int item)
{
    if (item >= 0 && item < static_cast<int>(m_buttons.size()))
        m_buttons[static_cast<std::size_t>(item)]->SetCheck(true);
}

void TRepGroup::ButtonPressed(int index, Qt::MouseButton button)
{
    if (button != Qt::LeftButton || m_itemCount <= 0)
        return;
    UnmarkButtons(static_cast<int>(m_buttons.size()));
    StoreActivItem(index);
    MarkButton(index);
}

void TRepGroup::OptionChosen(int row)
{
    if (row < 0 || row >= m_optionList->count())
        return;
    ShowChosenOption(row);
    StoreActivItem(row);
}

void TRepGroup::StoreActivItem(int item)
{
    if (item == m_activItem)
        return;
    m_activItem = item;
    emit activItemChanged(item);
}

void TRepGroup::mousePressEvent(QMouseEvent* event)
{
    if (childAt(event->position().toPoint()) == nullptr) {
        event->accept();
        emit backgroundPressed(event->button());
        return;
    }
    QFrame::mousePressEvent(event);
}

void TRepGroup::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    PlaceChosenLabel();
    if (m_rType == TRepType::rOList) {
        FillOptionList();
        m_optionList->show();
    } else {
        Rebuild();
    }
}

} // namespace tavimor
