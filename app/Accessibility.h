// What screen readers learn about the editor's custom-drawn controls: their
// accessible interfaces, the factory that hands them to Qt, and the events
// that announce a new current or chosen item.
#pragma once

#include <QRect>
#include <QString>

class QObject;
class QWidget;

namespace tavimor {

// A custom-drawn control made of items (colour cells, alignments): what its
// accessible interface reads. Items are numbered from 0.
class TAccessibleItems {
public:
    virtual int ItemCount() const = 0;
    virtual QString ItemName(int item) const = 0;
    // Where the item is drawn, in the control's coordinates.
    virtual QRect ItemRect(int item) const = 0;
    // The item the keyboard is on; -1 for none.
    virtual int CurrentItem() const = 0;
    // The item chosen; -1 for none.
    virtual int ChosenItem() const = 0;
    // Chooses the item as a click on it would.
    virtual void ChooseItem(int item) = 0;

protected:
    ~TAccessibleItems() = default;
};

// Gives Qt the interfaces of the custom controls (the answer group and its
// choice buttons, the colour cells, the alignment chooser, the colour
// swatches), of every scroll bar, named after what it scrolls, and of every
// list box, named after what it is for rather than the entry it shows. Each custom
// control calls it when it is made, so an interface is never asked for before;
// the later calls do nothing.
void InstallAccessibleInterfaces();

// The announcements a screen reader follows. Each one is sent only while an
// assistive technology listens.
// The keyboard is now on `widget` itself, or on its item `item` (>= 0).
void AnnounceFocus(QWidget* widget, int item = -1);
// The checked state of `widget` changed (its name or description may too).
void AnnounceChecked(QWidget* widget);
// Item `item` of `widget` became the chosen one.
void AnnounceChosen(QWidget* widget, int item);
// The description of `object` changed (the value it shows).
void AnnounceDescription(QObject* object);

// "3 sur 4": the place of an item among `count`.
QString PlaceText(int index, int count);

} // namespace tavimor
