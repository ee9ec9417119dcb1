#include "app/Accessibility.h"

#include "app/ColorShape.h"
#include "app/RepGroup.h"
#include "app/StylePreview.h"

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QHash>
#include <QLineEdit>
#include <QPointer>
#include <QScrollBar>
#include <QStringList>
#include <QWidget>
#include <QWindow>

namespace tavimor {

namespace {

// ---------------------------------------------------------------------------
// The answer group and its choice buttons

// A choice button reads as a radio button named after its answer, whose
// description says whether it is the right answer and where it stands:
// "Paris", "bonne réponse, 1 sur 4". Its caption is its name, not a child.
class TChoiceAccessible : public QAccessibleWidget {
public:
    explicit TChoiceAccessible(TExtRadBtn* button)
        : QAccessibleWidget(button, QAccessible::RadioButton)
    {
    }

    int childCount() const override { return 0; }
    QAccessibleInterface* child(int /*index*/) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface* /*child*/) const override { return -1; }
    QAccessibleInterface* childAt(int /*x*/, int /*y*/) const override { return nullptr; }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name) {
            if (!widget()->accessibleName().isEmpty())
                return widget()->accessibleName();
            const QString caption = Button()->Caption();
            return caption.trimmed().isEmpty() ? QStringLiteral("réponse vide") : caption;
        }
        if (t == QAccessible::Description) {
            QStringList parts;
            if (Button()->Check())
                parts << QStringLiteral("bonne réponse");
            const TRepGroup* group = Group();
            const int index = Index();
            if (group && index >= 0)
                parts << PlaceText(index, group->ItemCount());
            return parts.join(QStringLiteral(", "));
        }
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = Button()->Check();
        if (const TRepGroup* group = Group()) {
            state.focusable = group->focusPolicy() != Qt::NoFocus;
            state.focused = group->hasFocus() && group->CurrentItem() == Index();
        }
        return state;
    }

    QStringList actionNames() const override { return {pressAction(), toggleAction()}; }

    void doAction(const QString& action) override
    {
        TRepGroup* group = Group();
        if (group && (action == pressAction() || action == toggleAction()))
            group->ChooseItem(Index());
    }

    QStringList keyBindingsForAction(const QString& action) const override
    {
        if (action == pressAction() || action == toggleAction())
            return {QStringLiteral("Space")};
        return {};
    }

private:
    TExtRadBtn* Button() const { return static_cast<TExtRadBtn*>(widget()); }
    TRepGroup* Group() const { return qobject_cast<TRepGroup*>(widget()->parentWidget()); }
    int Index() const
    {
        const TRepGroup* group = Group();
        return group ? group->IndexOfButton(widget()) : -1;
    }
};

// The group reads as a named grouping whose description names the right
// answer; the keyboard's answer is its focused child.
class TChoiceGroupAccessible : public QAccessibleWidget {
public:
    explicit TChoiceGroupAccessible(TRepGroup* group)
        : QAccessibleWidget(group, QAccessible::Grouping)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return QStringLiteral("Réponses");
        if (t == QAccessible::Description && widget()->accessibleDescription().isEmpty()) {
            const TRepGroup* group = Group();
            const int marked = group->activItem();
            if (group->items().isEmpty())
                return QStringLiteral("aucune réponse");
            if (marked < 0 || marked >= group->items().size())
                return QStringLiteral("aucune bonne réponse marquée");
            return QStringLiteral("bonne réponse : ") + group->items().at(marked);
        }
        return QAccessibleWidget::text(t);
    }

    QAccessibleInterface* focusChild() const override
    {
        const TRepGroup* group = Group();
        if (group->hasFocus())
            if (QWidget* button = group->ChoiceButton(group->CurrentItem()))
                return QAccessible::queryAccessibleInterface(button);
        return QAccessibleWidget::focusChild();
    }

private:
    TRepGroup* Group() const { return static_cast<TRepGroup*>(widget()); }
};

// ---------------------------------------------------------------------------
// Controls made of drawn items (TAccessibleItems)

// One drawn item: a list item named after it, selected when chosen, focused
// when the keyboard is on it. It lives as long as the list's interface.
class TItemAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    TItemAccessible(QWidget* widget, TAccessibleItems* items, int index)
        : widget_(widget)
        , items_(items)
        , index_(index)
    {
    }

    bool isValid() const override { return widget_ && index_ < items_->ItemCount(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return widget_ ? widget_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* childAt(int /*x*/, int /*y*/) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(widget_); }
    QAccessibleInterface* child(int /*index*/) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface* /*child*/) const override { return -1; }

    QString text(QAccessible::Text t) const override
    {
        if (!isValid())
            return {};
        if (t == QAccessible::Name)
            return items_->ItemName(index_);
        return {};
    }
    void setText(QAccessible::Text /*t*/, const QString& /*text*/) override { }

    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect item = items_->ItemRect(index_);
        return {widget_->mapToGlobal(item.topLeft()), item.size()};
    }

    QAccessible::Role role() const override { return QAccessible::ListItem; }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        state.selectable = true;
        state.selected = items_->ChosenItem() == index_;
        state.focusable = widget_->focusPolicy() != Qt::NoFocus;
        state.focused = widget_->hasFocus() && items_->CurrentItem() == index_;
        state.invisible = !widget_->isVisible() || items_->ItemRect(index_).isEmpty();
        state.disabled = !widget_->isEnabled();
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override
    {
        if (isValid() && action == pressAction())
            items_->ChooseItem(index_);
    }
    QStringList keyBindingsForAction(const QString& /*action*/) const override { return {}; }

private:
    QPointer<QWidget> widget_;
    TAccessibleItems* items_;
    int index_;
};

// The control itself: a named list whose children are its items and whose
// description names the chosen one.
class TItemListAccessible : public QAccessibleWidget {
public:
    TItemListAccessible(QWidget* widget, TAccessibleItems* items)
        : QAccessibleWidget(widget, QAccessible::List)
        , items_(items)
    {
    }

    ~TItemListAccessible() override
    {
        for (const QAccessible::Id id : std::as_const(childIds_))
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return items_->ItemCount(); }

    QAccessibleInterface* child(int index) const override
    {
        if (index < 0 || index >= items_->ItemCount())
            return nullptr;
        if (const auto found = childIds_.constFind(index); found != childIds_.constEnd())
            return QAccessible::accessibleInterface(*found);
        auto* item = new TItemAccessible(widget(), items_, index);
        childIds_.insert(index, QAccessible::registerAccessibleInterface(item));
        return item;
    }

    int indexOfChild(const QAccessibleInterface* child) const override
    {
        const QAccessible::Id id = QAccessible::uniqueId(const_cast<QAccessibleInterface*>(child));
        for (auto it = childIds_.constBegin(); it != childIds_.constEnd(); ++it)
            if (it.value() == id)
                return it.key();
        return -1;
    }

    QAccessibleInterface* childAt(int x, int y) const override
    {
        const QPoint local = widget()->mapFromGlobal(QPoint(x, y));
        for (int item = 0; item < items_->ItemCount(); ++item)
            if (items_->ItemRect(item).contains(local))
                return child(item);
        return nullptr;
    }

    QAccessibleInterface* focusChild() const override
    {
        if (widget()->hasFocus())
            return child(items_->CurrentItem());
        return nullptr;
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Description && widget()->accessibleDescription().isEmpty()) {
            const int chosen = items_->ChosenItem();
            return chosen < 0 ? QString() : items_->ItemName(chosen);
        }
        return QAccessibleWidget::text(t);
    }

private:
    TAccessibleItems* items_;
    mutable QHash<int, QAccessible::Id> childIds_;
};

// ---------------------------------------------------------------------------
// Colour swatches and the style preview: buttons that open the colour picker

class TSwatchAccessible : public QAccessibleWidget {
public:
    explicit TSwatchAccessible(QWidget* widget)
        : QAccessibleWidget(widget, QAccessible::Button)
    {
    }

    // The colour it holds, whatever its tooltip says.
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Description && widget()->accessibleDescription().isEmpty()) {
            if (const auto* shape = qobject_cast<const TColorShape*>(widget()))
                return shape->Name();
            if (const auto* preview = qobject_cast<const TStylePreview*>(widget()))
                return preview->BackgroundName();
        }
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override
    {
        if (action != pressAction())
            return;
        if (auto* shape = qobject_cast<TColorShape*>(widget()))
            emit shape->clicked();
        else if (auto* preview = qobject_cast<TStylePreview*>(widget()))
            emit preview->clicked();
    }
    QStringList keyBindingsForAction(const QString& action) const override
    {
        return action == pressAction() ? QStringList {QStringLiteral("Space")} : QStringList {};
    }
};

// ---------------------------------------------------------------------------
// List boxes

// Named after what they are for, as everywhere else: Qt's own interface on
// this platform reads the entry shown as the name and leaves the purpose to a
// label relation that a box without a label lacks. The entry shown is the value.
class TComboBoxAccessible : public QAccessibleWidget {
public:
    explicit TComboBoxAccessible(QComboBox* box)
        : QAccessibleWidget(box, QAccessible::ComboBox)
    {
    }

    int childCount() const override { return Box()->isEditable() ? 2 : 1; }

    QAccessibleInterface* child(int index) const override
    {
        if (index == 0) {
            // The drop-down list reads as the box it belongs to.
            QAbstractItemView* list = Box()->view();
            const QString purpose = QAccessibleWidget::text(QAccessible::Name);
            if (list->accessibleName().isEmpty() && !purpose.isEmpty())
                list->setAccessibleName(QStringLiteral("Choix : ") + purpose);
            return QAccessible::queryAccessibleInterface(list);
        }
        if (index == 1 && Box()->isEditable())
            return QAccessible::queryAccessibleInterface(Box()->lineEdit());
        return nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (!child)
            return -1;
        if (child->object() == Box()->view())
            return 0;
        if (Box()->isEditable() && child->object() == Box()->lineEdit())
            return 1;
        return -1;
    }

    QAccessibleInterface* childAt(int x, int y) const override
    {
        QLineEdit* field = Box()->lineEdit();
        if (field && field->rect().contains(field->mapFromGlobal(QPoint(x, y))))
            return child(1);
        return nullptr;
    }

    // The text field of a box one may type in has the keyboard.
    QAccessibleInterface* focusChild() const override { return Box()->isEditable() ? child(1) : nullptr; }

    QString text(QAccessible::Text t) const override
    {
        const QString shown = Box()->isEditable() ? Box()->lineEdit()->text() : Box()->currentText();
        if (t == QAccessible::Value)
            return shown;
        const QString text = QAccessibleWidget::text(t);
        return t == QAccessible::Name && text.isEmpty() ? shown : text;
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        const QWidget* list = Box()->view();
        state.expandable = true;
        state.expanded = list && list->isVisible();
        state.collapsed = !state.expanded;
        state.editable = Box()->isEditable();
        return state;
    }

    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }

    void doAction(const QString& action) override
    {
        if (action != showMenuAction() && action != pressAction())
            return;
        if (Box()->view()->isVisible())
            Box()->hidePopup();
        else
            Box()->showPopup();
    }

    QStringList keyBindingsForAction(const QString& action) const override
    {
        return action == showMenuAction() ? QStringList {QStringLiteral("Alt+Down")} : QStringList {};
    }

private:
    QComboBox* Box() const { return static_cast<QComboBox*>(widget()); }
};

// ---------------------------------------------------------------------------
// Scroll bars, named after what they scroll

class TScrollBarAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit TScrollBarAccessible(QScrollBar* bar)
        : QAccessibleWidget(bar, QAccessible::ScrollBar)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name || !widget()->accessibleName().isEmpty())
            return QAccessibleWidget::text(t);
        const QString direction = Bar()->orientation() == Qt::Vertical ? QStringLiteral("Défilement vertical")
                                                                       : QStringLiteral("Défilement horizontal");
        for (QWidget* up = widget()->parentWidget(); up; up = up->parentWidget()) {
            if (qobject_cast<QAbstractScrollArea*>(up)) {
                const QAccessibleInterface* area = QAccessible::queryAccessibleInterface(up);
                const QString what = area ? area->text(QAccessible::Name) : QString();
                return what.isEmpty() ? direction : direction + QStringLiteral(" : ") + what;
            }
        }
        return direction;
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QVariant currentValue() const override { return Bar()->value(); }
    void setCurrentValue(const QVariant& value) override { Bar()->setValue(value.toInt()); }
    QVariant maximumValue() const override { return Bar()->maximum(); }
    QVariant minimumValue() const override { return Bar()->minimum(); }
    QVariant minimumStepSize() const override { return Bar()->singleStep(); }

private:
    QScrollBar* Bar() const { return static_cast<QScrollBar*>(widget()); }
};

// Asked once for each class of an object's ancestry, the most derived first.
QAccessibleInterface* InterfaceFor(const QString& /*className*/, QObject* object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (auto* button = qobject_cast<TExtRadBtn*>(widget))
        return new TChoiceAccessible(button);
    if (auto* group = qobject_cast<TRepGroup*>(widget))
        return new TChoiceGroupAccessible(group);
    if (auto* items = dynamic_cast<TAccessibleItems*>(widget))
        return new TItemListAccessible(widget, items);
    if (qobject_cast<TColorShape*>(widget) || qobject_cast<TStylePreview*>(widget))
        return new TSwatchAccessible(widget);
    if (auto* bar = qobject_cast<QScrollBar*>(widget))
        return new TScrollBarAccessible(bar);
    if (auto* box = qobject_cast<QComboBox*>(widget))
        return new TComboBoxAccessible(box);
    return nullptr;
}

} // namespace

void InstallAccessibleInterfaces()
{
    static const bool installed = [] {
        QAccessible::installFactory(&InterfaceFor);
        return true;
    }();
    (void)installed;
}

void AnnounceFocus(QWidget* widget, int item)
{
    if (!widget || !QAccessible::isActive())
        return;
    QAccessibleEvent event(widget, QAccessible::Focus);
    if (item >= 0)
        event.setChild(item);
    QAccessible::updateAccessibility(&event);
}

void AnnounceChecked(QWidget* widget)
{
    if (!widget || !QAccessible::isActive())
        return;
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(widget, changed);
    QAccessible::updateAccessibility(&event);
    AnnounceDescription(widget);
}

void AnnounceChosen(QWidget* widget, int item)
{
    if (!widget || item < 0 || !QAccessible::isActive())
        return;
    QAccessibleEvent selection(widget, QAccessible::Selection);
    selection.setChild(item);
    QAccessible::updateAccessibility(&selection);
    QAccessible::State changed;
    changed.selected = true;
    QAccessibleStateChangeEvent state(widget, changed);
    state.setChild(item);
    QAccessible::updateAccessibility(&state);
    AnnounceDescription(widget);
}

void AnnounceDescription(QObject* object)
{
    if (!object || !QAccessible::isActive())
        return;
    QAccessibleEvent event(object, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
}

QString PlaceText(int index, int count)
{
    return QStringLiteral("%1 sur %2").arg(index + 1).arg(count);
}

} // namespace tavimor
