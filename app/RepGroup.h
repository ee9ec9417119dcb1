// The answer-choice group of the question editor: one round choice button per
// answer (standard and true/false questions) or an option list (cloze questions),
// in which the author marks the correct answer with a click, or from the
// keyboard: the arrows, Home and End move among the answers, Space marks one.
#pragma once

#include "model/QuestModel.h"

#include <QFrame>
#include <QStringList>
#include <QWidget>

#include <vector>

class QLabel;
class QListWidget;

namespace tavimor {

// A custom-drawn round choice button with a word-wrapped caption to its right.
// Its height always follows the wrapped caption: caption height + 4 pixels.
class TExtRadBtn : public QWidget {
    Q_OBJECT

public:
    explicit TExtRadBtn(QWidget* parent = nullptr);

    bool Check() const { return check_; }
    void SetCheck(bool check);

    QString Caption() const;
    void SetCaption(const QString& caption);

    // Moves and sizes the button; the height given is replaced by the caption rule.
    void SetBounds(int left, int top, int width, int height);

    // The height the caption rule gives for the current width.
    int CaptionHeight() const;

    // Draws the keyboard's focus frame around the caption (the group has the focus
    // and is on this answer).
    void SetFocusMark(bool mark);

signals:
    // A press on the button or on its caption. A press on the caption has
    // already toggled the mark when this is emitted.
    void mousePressed(Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Places the caption at left 20 across the rest of the width and makes the
    // button as tall as the wrapped caption + 4.
    void ApplyHeightRule();
    void ChangeCheck(bool check);

    bool check_ = false;
    bool focusMark_ = false;
    QLabel* caption_ = nullptr;
};

// The group itself. The main window copies a question into it (type, then the
// answers, the marked answer and the number of columns) and reads it back.
class TRepGroup : public QFrame {
    Q_OBJECT

public:
    explicit TRepGroup(QWidget* parent = nullptr);

    const QStringList& items() const { return items_; }
    // Replaces the answers and reacts as to any change of them: a standard
    // question is laid out again, a cloze question refills its option list, a
    // true/false question keeps its two buttons as they are.
    void setItems(const QStringList& items);

    TRepType rType() const { return rType_; }
    void setRType(TRepType type);

    quint16 columns() const { return columns_; }
    // 0 is taken as 1: the layout divides the width by the number of columns.
    void setColumns(quint16 columns);

    int activItem() const { return activItem_; }
    void setActivItem(int item);

    // The number of answers as last counted (true/false keeps its two).
    int ItemCount() const { return itemCount_; }

    // The height of the frame that shows the group, which scrolls when the
    // answers need more; 0 (the default): the group keeps the size it is given.
    void setVisibleHeight(int height);

    // Empties the group: no answers, none marked, one column.
    void Clear();
    // Removes the last answer; the mark goes with it when it was on it.
    void DeleteLast();
    // Moves the marked answer `item` one place down, from the last place back to
    // the first, and keeps it marked.
    void MoveMarked(int item);

    // The answer the keyboard is on among the choice buttons; -1 for none.
    int CurrentItem() const { return current_; }
    // Marks answer `item` as a left press on its choice button does.
    void ChooseItem(int item);
    // The place of a choice button among the answers; -1 for any other widget.
    int IndexOfButton(const QWidget* widget) const;
    // The choice button of answer `item` while it is shown; null otherwise.
    TExtRadBtn* ChoiceButton(int item) const;
    // The option list of a cloze question (hidden for the other types).
    QListWidget* OptionList() const { return optionList_; }

    quint16 TopMargin() const { return topMargin_; }
    quint16 LeftMargin() const { return leftMargin_; }
    quint16 RowHeight() const { return rowHeight_; }
    quint16 ButtonWidth() const { return buttonWidth_; }

signals:
    // A press on the group's own background, not on one of its controls.
    void backgroundPressed(Qt::MouseButton button);
    // The marked answer changed, by a click or by one of the operations above.
    void activItemChanged(int item);
    // The answers were replaced, shortened or reordered.
    void itemsChanged();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // The group takes the keyboard while it shows choice buttons (the option
    // list of a cloze question takes it itself); the keyboard's answer stays
    // among them.
    void UpdateKeyboardAccess();
    void SetCurrent(int item);
    void ShowFocusMarks();
    void ItemsChanged();
    void Rebuild();
    void Layout();
    // With a visible height: as tall as the answers laid out need, and never
    // lower than the visible height.
    void FitHeight();
    void ComputeRowHeight();
    void FillOptionList();
    void ShowChosenOption(int row);
    void UnmarkButtons(int count);
    void MarkButton(int item);
    void ButtonPressed(int index, Qt::MouseButton button);
    void OptionChosen(int row);
    void StoreActivItem(int item);
    void PlaceChosenLabel();

    QStringList items_;
    TRepType rType_ = TRepType::rKWZ;
    quint16 columns_ = 1;
    int activItem_ = -1;
    int itemCount_ = 0;
    quint16 topMargin_ = 5;
    quint16 leftMargin_ = 12;
    quint16 usableWidth_ = 0;
    quint16 buttonWidth_ = 0;
    quint16 rowHeight_ = 0;
    int visibleHeight_ = 0;
    int current_ = -1;

    std::vector<TExtRadBtn*> buttons_; // children of the group, created on demand
    QListWidget* optionList_ = nullptr;
    QLabel* chosenLab_ = nullptr;
    QLabel* titleLab_ = nullptr;
    bool fillingList_ = false; // the option list is being changed by the group itself
};

} // namespace tavimor
