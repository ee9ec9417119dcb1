#include "app/RepGroup.h"

#include "app/Accessibility.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QTimer>

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
    , caption_(new QLabel(this))
{
    InstallAccessibleInterfaces();
    // The group takes the keyboard for all its buttons.
    setFocusPolicy(Qt::NoFocus);
    caption_->setObjectName(QStringLiteral("Caption"));
    caption_->setTextFormat(Qt::PlainText); // answers may hold HTML: shown as typed
    caption_->setWordWrap(true);
    caption_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    caption_->setAutoFillBackground(false);
    caption_->setText(QStringLiteral("choix de réponse"));
    caption_->installEventFilter(this);
    resize(50, 20);
    ApplyHeightRule();
}

void TExtRadBtn::SetCheck(bool check)
{
    if (check_ != check)
        ChangeCheck(check);
}

void TExtRadBtn::ChangeCheck(bool check)
{
    check_ = check;
    update();
    AnnounceChecked(this);
}

void TExtRadBtn::SetFocusMark(bool mark)
{
    if (focusMark_ == mark)
        return;
    focusMark_ = mark;
    update();
}

QString TExtRadBtn::Caption() const
{
    return caption_->text();
}

void TExtRadBtn::SetCaption(const QString& caption)
{
    caption_->setText(caption);
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
    if (caption_->text().isEmpty())
        return caption_->fontMetrics().height();
    return std::max(caption_->heightForWidth(labelWidth), caption_->fontMetrics().height());
}

void TExtRadBtn::ApplyHeightRule()
{
    const int labelWidth = std::max(0, width() - kCaptionLeft);
    const int captionHeight = CaptionHeight();
    caption_->setGeometry(kCaptionLeft, 0, labelWidth, captionHeight);
    if (height() != captionHeight + kCaptionExtra)
        resize(width(), captionHeight + kCaptionExtra);
}

void TExtRadBtn::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    FilledEllipse(painter, 0, 4, 12, 16, Qt::black);
    FilledEllipse(painter, 1, 5, 11, 15, Qt::white);
    if (check_)
        FilledEllipse(painter, 1, 4, 11, 15, Qt::black);
    if (focusMark_) {
        QStyleOptionFocusRect frame;
        frame.initFrom(this);
        // The arrows move it: drawn whether or not Tab brought the keyboard here.
        frame.state |= QStyle::State_KeyboardFocusChange;
        frame.rect = QRect(kCaptionLeft - 2, 0, width() - kCaptionLeft + 2, height());
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, &painter, this);
    }
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
    if (watched == caption_ && press) {
        // A press on the caption first flips the mark on screen, then counts as
        // a press on the button itself.
        ChangeCheck(!check_);
        emit mousePressed(static_cast<QMouseEvent*>(event)->button());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------
// TRepGroup

TRepGroup::TRepGroup(QWidget* parent)
    : QFrame(parent)
    , optionList_(new QListWidget(this))
    , chosenLab_(new QLabel(this))
    , titleLab_(new QLabel(QStringLiteral("Liste d'options"), this))
{
    InstallAccessibleInterfaces();
    setObjectName(QStringLiteral("RepGroup"));
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setFocusPolicy(Qt::NoFocus);

    optionList_->setObjectName(QStringLiteral("OptionList"));
    optionList_->setGeometry(40, 20, 100, 140);
    optionList_->hide();
    connect(optionList_, &QListWidget::itemPressed, this,
        [this](QListWidgetItem* item) { OptionChosen(optionList_->row(item)); });
    // Choosing a line with the keyboard counts as a click on it.
    connect(optionList_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!fillingList_)
            OptionChosen(row);
    });

    chosenLab_->setObjectName(QStringLiteral("ChosenOptionLab"));
    chosenLab_->setTextFormat(Qt::PlainText);
    chosenLab_->setWordWrap(true);
    chosenLab_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette chosenPalette = chosenLab_->palette();
    chosenPalette.setColor(QPalette::WindowText, Qt::red);
    chosenLab_->setPalette(chosenPalette);
    QFont chosenFont = chosenLab_->font();
    chosenFont.setBold(true);
    chosenFont.setPointSize(12);
    chosenLab_->setFont(chosenFont);
    PlaceChosenLabel();

    titleLab_->setObjectName(QStringLiteral("OptionListTitle"));
    QFont titleFont = titleLab_->font();
    titleFont.setBold(true);
    titleLab_->setFont(titleFont);
    titleLab_->adjustSize();
    titleLab_->move(30, 4);
    titleLab_->hide();
    // The list reads as its title.
    optionList_->setAccessibleName(titleLab_->text());
}

void TRepGroup::setItems(const QStringList& items)
{
    items_ = items;
    ItemsChanged();
    update();
}

void TRepGroup::ItemsChanged()
{
    switch (rType_) {
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
    rType_ = type;
    items_.clear();
    ItemsChanged();
    chosenLab_->hide();
    titleLab_->hide();
    switch (type) {
    case TRepType::rKWZ:
        Rebuild(); // nothing is shown until answers arrive
        break;
    case TRepType::rTrue:
        Clear();
        optionList_->hide();
        columns_ = 2;
        items_ = QStringList {QStringLiteral("Vrai"), QStringLiteral("Faux")};
        ItemsChanged();
        Rebuild();
        break;
    case TRepType::rOList:
        Clear();
        fillingList_ = true;
        optionList_->clear();
        fillingList_ = false;
        chosenLab_->clear();
        PlaceChosenLabel();
        chosenLab_->show();
        optionList_->show();
        titleLab_->show();
        FitHeight();
        break;
    }
    UpdateKeyboardAccess();
    update();
}

void TRepGroup::setColumns(quint16 columns)
{
    // A cloze question keeps 0 columns in the document; a layout needs at least one.
    if (columns == 0)
        columns = 1;
    if (columns == columns_)
        return;
    columns_ = columns;
    topMargin_ = leftMargin_;
    if (rType_ == TRepType::rKWZ) {
        ComputeRowHeight();
        Rebuild();
        update();
    }
}

void TRepGroup::setActivItem(int item)
{
    if (item == activItem_)
        return;
    activItem_ = item;
    if (rType_ == TRepType::rOList) {
        if (item >= 0 && item < optionList_->count()) {
            fillingList_ = true;
            optionList_->setCurrentRow(item);
            fillingList_ = false;
            ShowChosenOption(item);
        } else {
            // No line of the list is the marked one: show none.
            fillingList_ = true;
            optionList_->setCurrentRow(-1);
            optionList_->clearSelection();
            fillingList_ = false;
            ShowChosenOption(-1);
        }
        update();
    } else {
        UnmarkButtons(itemCount_);
        if (item >= 0)
            MarkButton(item);
    }
    AnnounceDescription(this);
    emit activItemChanged(activItem_);
}

void TRepGroup::Clear()
{
    items_.clear();
    ItemsChanged();
    itemCount_ = 0;
    StoreActivItem(-1);
    columns_ = 1;
    chosenLab_->clear();
    for (auto it = buttons_.rbegin(); it != buttons_.rend(); ++it) {
        TExtRadBtn* button = *it;
        button->hide();
        button->move(button->x(), topMargin_);
        button->SetCaption(QString());
    }
    UpdateKeyboardAccess();
}

void TRepGroup::DeleteLast()
{
    const int count = static_cast<int>(items_.size());
    if (count <= 0)
        return;
    if (count - 1 < static_cast<int>(buttons_.size()))
        buttons_[static_cast<std::size_t>(count - 1)]->hide();
    items_.removeLast();
    ItemsChanged();
    if (activItem_ == count - 1)
        StoreActivItem(-1);
    itemCount_ = static_cast<int>(items_.size());
    UpdateKeyboardAccess();
}

void TRepGroup::MoveMarked(int item)
{
    const int count = static_cast<int>(items_.size());
    if (count <= 1 || item < 0 || item >= count)
        return;
    const int target = item == count - 1 ? 0 : item + 1;
    items_.swapItemsAt(item, target);
    ItemsChanged();
    const int shown = std::min(itemCount_, static_cast<int>(buttons_.size()));
    for (int k = 0; k < shown; ++k) {
        TExtRadBtn* button = buttons_[static_cast<std::size_t>(k)];
        if (k < count)
            button->SetCaption(items_[k]);
        button->SetCheck(false);
    }
    StoreActivItem(target);
    MarkButton(target);
}

void TRepGroup::Rebuild()
{
    optionList_->hide();
    itemCount_ = static_cast<int>(items_.size());
    while (buttons_.size() < static_cast<std::size_t>(items_.size())) {
        const int index = static_cast<int>(buttons_.size());
        auto* button = new TExtRadBtn(this);
        button->setObjectName(QStringLiteral("RepBtn%1").arg(index));
        button->hide();
        connect(button, &TExtRadBtn::mousePressed, this,
            [this, index](Qt::MouseButton mouseButton) { ButtonPressed(index, mouseButton); });
        buttons_.push_back(button);
    }
    for (TExtRadBtn* button : buttons_)
        button->hide();
    if (!items_.isEmpty())
        Layout();
    FitHeight();
    UpdateKeyboardAccess();
}

void TRepGroup::setVisibleHeight(int height)
{
    visibleHeight_ = height;
    FitHeight();
}

void TRepGroup::FitHeight()
{
    if (visibleHeight_ <= 0)
        return;
    int needed = 0;
    if (rType_ != TRepType::rOList) {
        for (int j = 0; j < itemCount_ && j < static_cast<int>(buttons_.size()); ++j)
            needed = std::max(needed, buttons_[static_cast<std::size_t>(j)]->geometry().bottom() + 1 + topMargin_);
    }
    const int fitted = std::max(visibleHeight_, needed);
    if (fitted != height())
        resize(width(), fitted);
}

// The arithmetic is on 16-bit unsigned values, as the stored margins and sizes are.
void TRepGroup::Layout()
{
    const quint16 columns = columns_ == 0 ? 1 : columns_;
    usableWidth_ = static_cast<quint16>(width() - 2 * leftMargin_);
    buttonWidth_ = static_cast<quint16>(usableWidth_ / columns - kGap);

    quint16 column = 1;
    quint16 x = leftMargin_;
    quint16 y = topMargin_;
    quint16 tallestInRow = 0;
    itemCount_ = static_cast<int>(items_.size());
    for (int j = 0; j < itemCount_; ++j) {
        TExtRadBtn* button = buttons_[static_cast<std::size_t>(j)];
        int top = y;
        if (columns == 1 && j > 0) {
            const TExtRadBtn* previous = buttons_[static_cast<std::size_t>(j - 1)];
            top = static_cast<quint16>(previous->y() + previous->height() + kGap);
        }
        button->SetBounds(x, top, buttonWidth_, rowHeight_);
        button->SetCaption(items_[j]);
        button->SetCheck(j == activItem_);
        button->show();

        // A row is never lower than its tallest button, so that a long answer
        // does not run into the row below it.
        tallestInRow = std::max(tallestInRow, static_cast<quint16>(button->height()));
        ++column;
        x = static_cast<quint16>(x + buttonWidth_ + kGap);
        if (column > columns) {
            x = leftMargin_;
            y = static_cast<quint16>(y + std::max(rowHeight_, tallestInRow) + kGap);
            column = 1;
            tallestInRow = 0;
        }
    }
}

void TRepGroup::ComputeRowHeight()
{
    if (buttons_.empty())
        return;
    const std::size_t last = itemCount_ > 0 ? static_cast<std::size_t>(itemCount_ - 1) : 0;
    int height = buttons_[std::min(last, buttons_.size() - 1)]->height();
    for (const TExtRadBtn* button : buttons_)
        height = std::max(height, button->height());
    rowHeight_ = static_cast<quint16>(height);
}

void TRepGroup::FillOptionList()
{
    fillingList_ = true;
    optionList_->clear();
    optionList_->addItems(items_);
    // The marked option keeps its place in the new list.
    const bool inList = activItem_ >= 0 && activItem_ < optionList_->count();
    if (inList)
        optionList_->setCurrentRow(activItem_);
    fillingList_ = false;
    ShowChosenOption(inList ? activItem_ : -1);
}

void TRepGroup::ShowChosenOption(int row)
{
    const QListWidgetItem* line = row >= 0 ? optionList_->item(row) : nullptr;
    chosenLab_->setText(line ? line->text() : QString());
    PlaceChosenLabel();
}

void TRepGroup::PlaceChosenLabel()
{
    constexpr int left = 160;
    constexpr int top = 20;
    const int labelWidth = std::max(0, width() - left - leftMargin_);
    const int labelHeight
        = chosenLab_->text().isEmpty() ? chosenLab_->fontMetrics().height() : chosenLab_->heightForWidth(labelWidth);
    chosenLab_->setGeometry(left, top, labelWidth, std::max(labelHeight, chosenLab_->fontMetrics().height()));
}

void TRepGroup::UnmarkButtons(int count)
{
    const int last = std::min(count, static_cast<int>(buttons_.size()));
    for (int i = 0; i < last; ++i)
        buttons_[static_cast<std::size_t>(i)]->SetCheck(false);
}

void TRepGroup::MarkButton(int item)
{
    if (item >= 0 && item < static_cast<int>(buttons_.size()))
        buttons_[static_cast<std::size_t>(item)]->SetCheck(true);
}

void TRepGroup::ButtonPressed(int index, Qt::MouseButton button)
{
    if (button != Qt::LeftButton || itemCount_ <= 0)
        return;
    UnmarkButtons(static_cast<int>(buttons_.size()));
    StoreActivItem(index);
    MarkButton(index);
    SetCurrent(index);
}

void TRepGroup::OptionChosen(int row)
{
    if (row < 0 || row >= optionList_->count())
        return;
    ShowChosenOption(row);
    StoreActivItem(row);
}

void TRepGroup::StoreActivItem(int item)
{
    if (item == activItem_)
        return;
    activItem_ = item;
    AnnounceDescription(this);
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

void TRepGroup::ChooseItem(int item)
{
    if (rType_ == TRepType::rOList) {
        if (item >= 0 && item < optionList_->count())
            optionList_->setCurrentRow(item); // chosen as a click on the line would
        return;
    }
    if (item >= 0 && item < itemCount_)
        ButtonPressed(item, Qt::LeftButton);
}

int TRepGroup::IndexOfButton(const QWidget* widget) const
{
    const auto found = std::find(buttons_.begin(), buttons_.end(), widget);
    if (found == buttons_.end())
        return -1;
    const int index = static_cast<int>(found - buttons_.begin());
    return index < itemCount_ ? index : -1;
}

TExtRadBtn* TRepGroup::ChoiceButton(int item) const
{
    if (rType_ == TRepType::rOList || item < 0 || item >= itemCount_ || item >= static_cast<int>(buttons_.size()))
        return nullptr;
    return buttons_[static_cast<std::size_t>(item)];
}

void TRepGroup::UpdateKeyboardAccess()
{
    const bool buttons = rType_ != TRepType::rOList && itemCount_ > 0;
    setFocusPolicy(buttons ? Qt::StrongFocus : Qt::NoFocus);
    if (!buttons)
        current_ = -1;
    else if (current_ >= itemCount_)
        current_ = itemCount_ - 1;
    ShowFocusMarks();
}

void TRepGroup::ShowFocusMarks()
{
    for (std::size_t i = 0; i < buttons_.size(); ++i)
        buttons_[i]->SetFocusMark(hasFocus() && static_cast<int>(i) == current_);
}

void TRepGroup::SetCurrent(int item)
{
    if (!ChoiceButton(item))
        return;
    current_ = item;
    ShowFocusMarks();
    if (!hasFocus())
        return;
    TExtRadBtn* button = ChoiceButton(item);
    for (QWidget* up = parentWidget(); up; up = up->parentWidget()) {
        if (auto* area = qobject_cast<QScrollArea*>(up)) {
            area->ensureWidgetVisible(button, 0, 4);
            break;
        }
    }
    AnnounceFocus(button);
}

void TRepGroup::keyPressEvent(QKeyEvent* event)
{
    if (!ChoiceButton(current_) || event->modifiers() & ~Qt::KeypadModifier) {
        QFrame::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Left:
        SetCurrent(std::max(current_ - 1, 0));
        break;
    case Qt::Key_Down:
    case Qt::Key_Right:
        SetCurrent(std::min(current_ + 1, itemCount_ - 1));
        break;
    case Qt::Key_Home:
        SetCurrent(0);
        break;
    case Qt::Key_End:
        SetCurrent(itemCount_ - 1);
        break;
    case Qt::Key_Space:
        ChooseItem(current_);
        break;
    default:
        QFrame::keyPressEvent(event);
        return;
    }
    event->accept();
}

// The keyboard arrives on the marked answer, else on the one it left, else on the first.
void TRepGroup::focusInEvent(QFocusEvent* event)
{
    QFrame::focusInEvent(event);
    if (ChoiceButton(activItem_))
        current_ = activItem_;
    else if (!ChoiceButton(current_))
        current_ = 0;
    ShowFocusMarks();
    // After Qt has announced the group itself.
    QTimer::singleShot(0, this, [this] {
        if (hasFocus())
            SetCurrent(current_);
    });
}

void TRepGroup::focusOutEvent(QFocusEvent* event)
{
    QFrame::focusOutEvent(event);
    ShowFocusMarks();
}

void TRepGroup::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    PlaceChosenLabel();
    if (rType_ == TRepType::rOList) {
        FillOptionList();
        optionList_->show();
    } else {
        Rebuild();
    }
}

} // namespace tavimor
