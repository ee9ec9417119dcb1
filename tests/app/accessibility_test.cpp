// The editor as a screen reader reads it: every control of every tab, dialog
// and form has a name, no two fields of one window share one, and the custom
// controls tell their items, the chosen one and the keyboard's one.
#include "color_picker_driver.h"
#include "main_window_helpers.h"

#include "app/Accessibility.h"
#include "app/ColorPicker.h"
#include "app/HelpManual.h"
#include "app/MessageBoxes.h"
#include "app/ParAlignButton.h"
#include "app/QuestionsTab.h"
#include "app/RepGroup.h"
#include "app/StylePreview.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListView>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace tavimor::testing {
namespace {

// ---------------------------------------------------------------------------
// The audit: what a screen reader would find wrong in a window

bool IsControl(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::Button:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::EditableText:
    case QAccessible::List:
    case QAccessible::ListItem:
    case QAccessible::ComboBox:
    case QAccessible::PageTabList:
    case QAccessible::PageTab:
    case QAccessible::SpinBox:
    case QAccessible::Slider:
    case QAccessible::ScrollBar:
    case QAccessible::Table:
    case QAccessible::Tree:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
    case QAccessible::HotkeyField:
    case QAccessible::MenuItem:
        return true;
    default:
        return false;
    }
}

// A field is a control whose name must tell it from the others of its window
// (items are told apart by their list, scroll bars by what they scroll).
bool IsField(QAccessible::Role role)
{
    return IsControl(role) && role != QAccessible::ListItem && role != QAccessible::PageTab
        && role != QAccessible::ScrollBar;
}

// "objectName (role) in parentName": the control a failure is about.
QString Describe(QAccessibleInterface* iface)
{
    QObject* object = iface->object();
    QString text;
    if (object) {
        text = object->objectName().isEmpty() ? QString::fromLatin1(object->metaObject()->className())
                                              : object->objectName();
    } else if (QAccessibleInterface* parent = iface->parent()) {
        return Describe(parent)
            + QStringLiteral(" [item %1, role %2]")
                  .arg(parent->indexOfChild(iface))
                  .arg(static_cast<int>(iface->role()));
    }
    text += QStringLiteral(" (role %1)").arg(static_cast<int>(iface->role()));
    for (QObject* up = object ? object->parent() : nullptr; up; up = up->parent()) {
        if (!up->objectName().isEmpty() && !up->objectName().startsWith(QStringLiteral("qt_"))) {
            text += QStringLiteral(" in ") + up->objectName();
            break;
        }
    }
    return text;
}

// Qt's list views read every column of their model as items, though they
// show one: the file dialog's sizes, types and dates are items with no place
// on the screen, which the keyboard never reaches. They are not controls.
bool IsHiddenColumn(QAccessibleInterface* iface)
{
    if (iface->role() != QAccessible::ListItem || iface->object() || !iface->rect().isEmpty())
        return false;
    QAccessibleInterface* list = iface->parent();
    return list && qobject_cast<QListView*>(list->object());
}

struct AuditResult {
    QStringList unnamed; // every control, shown or not, has a name
    QStringList shared; // fields shown together have names of their own
    int controls = 0;
};

void Walk(QAccessibleInterface* iface, bool shown, QMap<QString, QString>& fields, AuditResult& result, int depth)
{
    if (!iface || !iface->isValid() || depth > 40)
        return;
    const bool visible = shown && !iface->state().invisible;
    const QAccessible::Role role = iface->role();
    if (IsControl(role) && !IsHiddenColumn(iface)) {
        ++result.controls;
        const QString name = iface->text(QAccessible::Name).trimmed();
        if (name.isEmpty()) {
            result.unnamed << Describe(iface);
        } else if (visible && IsField(role)) {
            if (fields.contains(name))
                result.shared << QLatin1Char('"') + name + QStringLiteral("\": ") + fields.value(name)
                        + QStringLiteral(" and ") + Describe(iface);
            else
                fields.insert(name, Describe(iface));
        }
    }
    for (int i = 0; i < iface->childCount(); ++i)
        Walk(iface->child(i), visible, fields, result, depth + 1);
}

AuditResult Audit(QWidget& window)
{
    AuditResult result;
    QMap<QString, QString> fields;
    Walk(QAccessible::queryAccessibleInterface(&window), true, fields, result, 0);
    return result;
}

// Fails, naming the controls, on an unnamed control or on two fields sharing a name.
void ExpectNamed(QWidget& window, const QString& where)
{
    const AuditResult result = Audit(window);
    EXPECT_GT(result.controls, 0) << where.toStdString();
    EXPECT_TRUE(result.unnamed.isEmpty())
        << where.toStdString() << ": no name for " << result.unnamed.join(QStringLiteral("; ")).toStdString();
    EXPECT_TRUE(result.shared.isEmpty()) << where.toStdString() << ": one name for "
                                         << result.shared.join(QStringLiteral("; ")).toStdString();
}

// A modal window audited, then closed.
ModalAnswerer::Handler AuditThenClose(const QString& where, const std::function<void(QWidget&)>& more = {})
{
    return [where, more](QWidget& modal) {
        ExpectNamed(modal, where);
        if (more)
            more(modal);
        if (auto* dialog = qobject_cast<QDialog*>(&modal))
            dialog->reject();
    };
}

TEST(AccessibilityAudit, NamesTheControlsWithoutANameOrWithAnotherOnesName)
{
    QWidget window;
    auto* group = new QGroupBox(QStringLiteral("Identité"), &window);
    auto* first = new QLineEdit(group);
    first->setObjectName(QStringLiteral("FirstEd"));
    auto* second = new QLineEdit(group);
    second->setObjectName(QStringLiteral("SecondEd"));
    auto* picture = new QToolButton(&window);
    picture->setObjectName(QStringLiteral("PictureBtn"));
    auto* box = new QVBoxLayout(group);
    box->addWidget(first);
    box->addWidget(second);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(group);
    layout->addWidget(picture);
    window.show();

    // Both fields read as their group; the picture button has nothing.
    AuditResult result = Audit(window);
    ASSERT_EQ(result.unnamed.size(), 1);
    EXPECT_TRUE(result.unnamed.front().startsWith(QStringLiteral("PictureBtn")))
        << result.unnamed.front().toStdString();
    ASSERT_EQ(result.shared.size(), 1);
    EXPECT_TRUE(result.shared.front().contains(QStringLiteral("FirstEd")));
    EXPECT_TRUE(result.shared.front().contains(QStringLiteral("SecondEd")));

    auto* label = new QLabel(QStringLiteral("Nom"), group);
    label->setBuddy(second);
    picture->setAccessibleName(QStringLiteral("Image"));
    result = Audit(window);
    EXPECT_TRUE(result.unnamed.isEmpty());
    EXPECT_TRUE(result.shared.isEmpty());
}

// ---------------------------------------------------------------------------
// The main window and its dialogs

// Three questions: a standard one with its feedback, a cloze one, a true/false one.
void WriteAuditDocument(const QString& path)
{
    WriteDocument(path,
        {{"Capitale de la France ?", TRepType::rKWZ, {"Paris", "Lyon", "Marseille", "Nice"}, 0, 0},
            {"La ville <option> est au sud.", TRepType::rOList, {"Lille", "Nice"}, 1, 0},
            {"Paris est en France.", TRepType::rTrue, {"Vrai", "Faux"}, 0, 0}});
}

class AccessibleWindowTest : public MainWindowTest {
protected:
    TMain& StartOnAuditDocument()
    {
        WriteSettingsFile();
        WriteAuditDocument(Path(QStringLiteral("villes.kwz")));
        return StartOn(Path(QStringLiteral("villes.kwz")));
    }

    QTabBar* SubPages() { return Find<QTabWidget>("QuestPages")->tabBar(); }

    void ClickSubPage(int index)
    {
        QTabBar* bar = SubPages();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }

    void Tick(const char* name)
    {
        auto* box = Find<QCheckBox>(name);
        QTest::mouseClick(box, Qt::LeftButton, {}, ClickPoint(*box));
    }
};

TEST_F(AccessibleWindowTest, EveryTabNamesEachOfItsControlsOnce)
{
    TMain& window = StartOnAuditDocument();
    Tick("NQCheck");
    if (!Find<QCheckBox>("CertCheckBox")->isChecked())
        Tick("CertCheckBox");
    ASSERT_TRUE(Find<QWidget>("CertEdit")->isVisible());
    ExpectNamed(window, QStringLiteral("Info. Pers."));
    // The fields of one group are told apart by their labels.
    EXPECT_EQ(QAccessible::queryAccessibleInterface(Find<QWidget>("InstitEd"))->text(QAccessible::Name),
        QStringLiteral("Institution"));

    ClickMainTab(TMain::kQuestionsTab);
    ExpectNamed(window, QStringLiteral("Questions, standard question"));
    auto* list = Find<QListWidget>("MainQListBox");
    ClickLine(*list, 1);
    ExpectNamed(window, QStringLiteral("Questions, cloze question"));
    ClickLine(*list, 2);
    ExpectNamed(window, QStringLiteral("Questions, true/false question"));

    ClickLine(*list, 0);
    ClickSubPage(TQuestionsTab::kMessPage);
    ExpectNamed(window, QStringLiteral("Mess., right side"));
    Click("messBtn0");
    Tick("ExtFileCheck");
    ASSERT_TRUE(Find<QWidget>("ReUseFileBtn")->isVisible());
    ExpectNamed(window, QStringLiteral("Mess., wrong side"));
    Click("ReUseFileBtn");
    ExpectNamed(window, QStringLiteral("Mess., file reuse"));
    Click("FileReuseNoBtn");
    Click("messBtn1");
    Click("ChMsgBtn");
    ASSERT_TRUE(Find<QWidget>("MChooserPan")->isVisible());
    ExpectNamed(window, QStringLiteral("Mess., message chooser"));
    Click("MChooserOkBtn");

    ClickMainTab(TMain::kMessagesTab);
    ExpectNamed(window, QStringLiteral("Messages"));

    ModalAnswerer folders; // the site's folders are made at the first preview
    folders.Then(Reject());
    folders.Then(Reject());
    ClickMainTab(TMain::kLayoutTab);
    Tick("viewMemCheck");
    ExpectNamed(window, QStringLiteral("Mise en page"));

    ClickMainTab(TMain::kStyleTab);
    ExpectNamed(window, QStringLiteral("Style"));
}

TEST_F(AccessibleWindowTest, EveryDialogAndFormNamesEachOfItsControlsOnce)
{
    StartOnAuditDocument();
    ModalAnswerer answerer;

    answerer.Then(AuditThenClose(QStringLiteral("Préférences")));
    Find<QAction>("mPrefs")->trigger();
    WaitAnswered(answerer);

    ClickMainTab(TMain::kQuestionsTab);
    answerer.Then(AuditThenClose(QStringLiteral("type dialog")));
    Click("addQBtn");
    WaitAnswered(answerer);

    answerer.Then(AuditThenClose(QStringLiteral("answer editor"), [](QWidget& editor) {
        auto* reuse = editor.findChild<QAbstractButton*>(QStringLiteral("ReuseBtn"));
        ASSERT_NE(reuse, nullptr);
        QTest::mouseClick(reuse, Qt::LeftButton);
        ExpectNamed(editor, QStringLiteral("answer editor, reuse panel"));
    }));
    Click("REdBtn");
    WaitAnswered(answerer);

    ClickLine(*Find<QListWidget>("MainQListBox"), 1);
    answerer.Then(AuditThenClose(QStringLiteral("list editor")));
    Click("REdBtn");
    WaitAnswered(answerer);

    ClickMainTab(TMain::kQuestionsTab);
    auto* pages = Find<QTabWidget>("QuestPages");
    QTest::mouseClick(pages->tabBar(), Qt::LeftButton, {}, pages->tabBar()->tabRect(1).center());
    Click("messBtn0");
    auto* attached = Find<QCheckBox>("ExtFileCheck");
    if (!attached->isChecked())
        QTest::mouseClick(attached, Qt::LeftButton, {}, ClickPoint(*attached));
    answerer.Then(AuditThenClose(QStringLiteral("link dialog")));
    Click("ExtFileBtn");
    WaitAnswered(answerer);

    ClickMainTab(TMain::kMessagesTab);
    answerer.Then(AuditThenClose(QStringLiteral("caption editor")));
    Find<QLineEdit>("TitleEd")->setFocus();
    QTest::keyClick(Find<QLineEdit>("TitleEd"), Qt::Key_F2);
    WaitAnswered(answerer);

    // The picture dialog wants a produced site: the first preview makes it.
    answerer.Then(Reject());
    answerer.Then(Reject());
    ClickMainTab(TMain::kLayoutTab);
    WaitAnswered(answerer);
    ClickMainTab(TMain::kQuestionsTab);
    answerer.Then(AuditThenClose(QStringLiteral("picture dialog")));
    Click("InsImgBtn");
    WaitAnswered(answerer);

    ClickMainTab(TMain::kStyleTab);
    answerer.Then(AuditThenClose(QStringLiteral("colour picker")));
    QTest::mouseClick(Find<QWidget>("FontColorShape"), Qt::LeftButton);
    WaitAnswered(answerer);

    // Qt's own file dialog and message box, as the editor opens them.
    answerer.Then(AuditThenClose(QStringLiteral("file dialog")));
    Find<QAction>("mOpen")->trigger();
    WaitAnswered(answerer);
    answerer.Then(AuditThenClose(QStringLiteral("message box")));
    ShowInfo(&Window(), QStringLiteral("Fin de la visite."));
    WaitAnswered(answerer);
    EXPECT_EQ(answerer.Unexpected(), 0);
}

TEST_F(AccessibleWindowTest, EveryMenuAndWhatItsCommandsOpenNameTheirControls)
{
    TMain& window = StartOnAuditDocument();
    // Each menu, opened: its commands named, no two alike.
    QStringList titles;
    for (QAction* title : window.menuBar()->actions()) {
        QMenu* menu = title->menu();
        ASSERT_NE(menu, nullptr) << title->text().toStdString();
        titles << title->text();
        menu->popup(window.mapToGlobal(QPoint(0, 0)));
        ASSERT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }));
        ExpectNamed(*menu, QStringLiteral("menu ") + title->text());
        menu->hide();
    }
    EXPECT_EQ(titles,
        (QStringList {
            QStringLiteral("Fichier"), QStringLiteral("Édition"), QStringLiteral("HTML"), QStringLiteral("?")}));

    ModalAnswerer answerer;
    const auto audited = [this, &answerer](const char* command, const QString& where) {
        answerer.Then(AuditThenClose(where));
        Find<QAction>(command)->trigger();
        WaitAnswered(answerer);
    };
    // The learning platforms' file dialogs, to open and to save.
    audited("mImportGift", QStringLiteral("GIFT import"));
    audited("mExportGift", QStringLiteral("GIFT export"));
    audited("mExportMoodle", QStringLiteral("Moodle XML export"));
    answerer.Then(AuditThenClose(QStringLiteral("pass mark"), [](QWidget& ask) {
        EXPECT_EQ(ask.objectName(), QStringLiteral("PassMarkDialog"));
        auto* spin = ask.findChild<QSpinBox*>();
        ASSERT_NE(spin, nullptr);
        EXPECT_EQ(QAccessible::queryAccessibleInterface(spin)->text(QAccessible::Name),
            QStringLiteral("Seuil de réussite (en %) :"));
    }));
    Find<QAction>("mScorm")->trigger();
    WaitAnswered(answerer);
    audited("mStandalone", QStringLiteral("self-contained quiz"));
    // "À propos" holds no control: it is named, and Escape closes it.
    answerer.Then([](QWidget& about) {
        EXPECT_EQ(QAccessible::queryAccessibleInterface(&about)->text(QAccessible::Name), QStringLiteral("À propos"));
        QTest::keyClick(&about, Qt::Key_Escape);
        EXPECT_FALSE(about.isVisible());
    });
    Find<QAction>("mAbout")->trigger();
    WaitAnswered(answerer);
    // "Aide" opens the browser; a manual found nowhere is said in a message.
    answerer.Then(AuditThenClose(QStringLiteral("manual found nowhere")));
    OpenManual(&window, {Path(QStringLiteral("nowhere"))});
    WaitAnswered(answerer);
    EXPECT_EQ(answerer.Unexpected(), 0);
}

// ---------------------------------------------------------------------------
// The answer group

class AccessibleRepGroupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        group = std::make_unique<TRepGroup>();
        group->setObjectName(QStringLiteral("RepGroup"));
        group->resize(398, 230);
        group->setRType(TRepType::rKWZ);
        group->setItems(
            {QStringLiteral("Paris"), QStringLiteral("Lyon"), QStringLiteral("Marseille"), QStringLiteral("Nice")});
        group->setActivItem(0);
        group->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(group.get()));
    }

    QAccessibleInterface* Choice(int i) const
    {
        return QAccessible::queryAccessibleInterface(group->findChild<QWidget*>(QStringLiteral("RepBtn%1").arg(i)));
    }

    std::unique_ptr<TRepGroup> group;
};

TEST_F(AccessibleRepGroupTest, EachAnswerReadsAsARadioButtonWithItsMarkAndPlace)
{
    QAccessibleInterface* paris = Choice(0);
    ASSERT_NE(paris, nullptr);
    EXPECT_EQ(paris->role(), QAccessible::RadioButton);
    EXPECT_EQ(paris->text(QAccessible::Name), QStringLiteral("Paris"));
    EXPECT_EQ(paris->text(QAccessible::Description), QStringLiteral("bonne réponse, 1 sur 4"));
    EXPECT_TRUE(paris->state().checkable);
    EXPECT_TRUE(paris->state().checked);

    QAccessibleInterface* marseille = Choice(2);
    EXPECT_EQ(marseille->text(QAccessible::Name), QStringLiteral("Marseille"));
    EXPECT_EQ(marseille->text(QAccessible::Description), QStringLiteral("3 sur 4"));
    EXPECT_FALSE(marseille->state().checked);

    QAccessibleInterface* whole = QAccessible::queryAccessibleInterface(group.get());
    EXPECT_EQ(whole->role(), QAccessible::Grouping);
    EXPECT_EQ(whole->text(QAccessible::Description), QStringLiteral("bonne réponse : Paris"));
    EXPECT_EQ(whole->indexOfChild(marseille) >= 0, true);

    // A screen reader's "press" marks the answer as a click does.
    QSignalSpy marked(group.get(), &TRepGroup::activItemChanged);
    ASSERT_NE(marseille->actionInterface(), nullptr);
    marseille->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(group->activItem(), 2);
    EXPECT_EQ(marked.count(), 1);
    EXPECT_TRUE(marseille->state().checked);
    EXPECT_EQ(marseille->text(QAccessible::Description), QStringLiteral("bonne réponse, 3 sur 4"));
    EXPECT_FALSE(paris->state().checked);
    EXPECT_EQ(paris->text(QAccessible::Description), QStringLiteral("1 sur 4"));
    EXPECT_EQ(whole->text(QAccessible::Description), QStringLiteral("bonne réponse : Marseille"));

    // Fewer answers: the places follow.
    group->DeleteLast();
    EXPECT_EQ(Choice(1)->text(QAccessible::Description), QStringLiteral("2 sur 3"));
    group->setItems({QStringLiteral("Paris"), QString()});
    EXPECT_EQ(Choice(1)->text(QAccessible::Name), QStringLiteral("réponse vide"));
}

TEST_F(AccessibleRepGroupTest, TheKeyboardMovesAmongTheAnswersAndSpaceMarksOne)
{
    QSignalSpy marked(group.get(), &TRepGroup::activItemChanged);
    group->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(group.get()));
    group->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(group->hasFocus());
    // The keyboard arrives on the marked answer.
    EXPECT_EQ(group->CurrentItem(), 0);
    EXPECT_TRUE(Choice(0)->state().focused);

    QTest::keyClick(group.get(), Qt::Key_Down);
    QTest::keyClick(group.get(), Qt::Key_Down);
    EXPECT_EQ(group->CurrentItem(), 2);
    EXPECT_TRUE(Choice(2)->state().focused);
    EXPECT_FALSE(Choice(0)->state().focused);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(group.get())->focusChild(), Choice(2));
    // Moving marks nothing.
    EXPECT_EQ(group->activItem(), 0);
    EXPECT_EQ(marked.count(), 0);

    QTest::keyClick(group.get(), Qt::Key_Space);
    EXPECT_EQ(group->activItem(), 2);
    EXPECT_EQ(marked.count(), 1);
    EXPECT_TRUE(Choice(2)->state().checked);
    EXPECT_FALSE(Choice(0)->state().checked);

    QTest::keyClick(group.get(), Qt::Key_End);
    EXPECT_EQ(group->CurrentItem(), 3);
    QTest::keyClick(group.get(), Qt::Key_Down); // the last stays the last
    EXPECT_EQ(group->CurrentItem(), 3);
    QTest::keyClick(group.get(), Qt::Key_Home);
    QTest::keyClick(group.get(), Qt::Key_Up);
    EXPECT_EQ(group->CurrentItem(), 0);
    QTest::keyClick(group.get(), Qt::Key_Space);
    EXPECT_EQ(group->activItem(), 0);

    // A shorter list keeps the keyboard on an answer that is there.
    QTest::keyClick(group.get(), Qt::Key_End);
    group->setItems({QStringLiteral("Vrai"), QStringLiteral("Faux")});
    EXPECT_EQ(group->CurrentItem(), 1);

    // A cloze question's list takes the keyboard itself, under its title.
    group->setRType(TRepType::rOList);
    group->setItems({QStringLiteral("Lille"), QStringLiteral("Nice")});
    EXPECT_EQ(group->focusPolicy(), Qt::NoFocus);
    QWidget* options = group->OptionList();
    EXPECT_EQ(
        QAccessible::queryAccessibleInterface(options)->text(QAccessible::Name), QStringLiteral("Liste d'options"));
    group->ChooseItem(1);
    EXPECT_EQ(group->activItem(), 1);
}

// ---------------------------------------------------------------------------
// The colour picker's cells and the alignment chooser

QString LabelText(QWidget& form, const char* name)
{
    auto* label = form.findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("(no label)");
}

TEST(AccessibleColorPicker, CellsReadAsNamedItemsAndTheKeyboardChoosesAndAccepts)
{
    TNetColors colors;
    colors.setNetColStr(QStringLiteral("red"));
    colors.setSysColor(0x0000FF);
    const bool accepted = ExecuteDriven(
        colors,
        [](TNetCForm& form) {
            auto* primary = form.findChild<TColorCells*>(QStringLiteral("PrimaryRow"));
            auto* palette = form.findChild<TColorCells*>(QStringLiteral("Palette"));
            ASSERT_NE(primary, nullptr);
            ASSERT_NE(palette, nullptr);

            QAccessibleInterface* row = QAccessible::queryAccessibleInterface(primary);
            EXPECT_EQ(row->role(), QAccessible::List);
            EXPECT_EQ(row->text(QAccessible::Name), QStringLiteral("couleurs primaires"));
            ASSERT_EQ(row->childCount(), 18);
            EXPECT_EQ(row->child(0)->text(QAccessible::Name), QStringLiteral("white"));
            EXPECT_EQ(row->child(0)->role(), QAccessible::ListItem);
            // The colour the picker opened on is the chosen item.
            EXPECT_TRUE(row->child(11)->state().selected);
            EXPECT_EQ(row->child(11)->text(QAccessible::Name), QStringLiteral("red"));
            EXPECT_EQ(row->text(QAccessible::Description), QStringLiteral("red"));
            EXPECT_FALSE(row->child(0)->state().selected);
            EXPECT_EQ(row->indexOfChild(row->child(5)), 5);
            const QRect cell = row->child(1)->rect();
            EXPECT_EQ(cell.size(), QSize(TPrimaryRow::kCellSize, TPrimaryRow::kCellSize));
            EXPECT_EQ(row->childAt(cell.center().x(), cell.center().y()), row->child(1));

            // Each palette cell is named after the entry a click on it chooses.
            QAccessibleInterface* cells = QAccessible::queryAccessibleInterface(palette);
            EXPECT_EQ(cells->text(QAccessible::Name), QStringLiteral("palette étendue"));
            ASSERT_EQ(cells->childCount(), TNetPalette::kCells);
            for (const int k : {0, 17, 139}) {
                QTest::mouseMove(palette, QPoint(15 * (k % 14) + 7, 15 * (k / 14) + 7));
                EXPECT_EQ(cells->child(k)->text(QAccessible::Name), LabelText(form, "NameLab")) << "cell " << k;
            }

            // The keyboard arrives on the chosen basic colour, moves, chooses with
            // Space, and Enter chooses and accepts.
            primary->setFocus(Qt::TabFocusReason);
            EXPECT_EQ(primary->CurrentItem(), 11);
            QTest::keyClick(primary, Qt::Key_Right);
            EXPECT_EQ(primary->CurrentItem(), 12);
            EXPECT_TRUE(row->child(12)->state().focused);
            EXPECT_EQ(LabelText(form, "NameLab"), row->child(12)->text(QAccessible::Name));
            EXPECT_EQ(LabelText(form, "ChosenNameLab"), QStringLiteral("red")); // not chosen yet
            QTest::keyClick(primary, Qt::Key_Space);
            EXPECT_EQ(LabelText(form, "ChosenNameLab"), row->child(12)->text(QAccessible::Name));
            EXPECT_TRUE(row->child(12)->state().selected);
            EXPECT_FALSE(row->child(11)->state().selected);

            // The palette's keyboard arrives on the cell of the chosen colour.
            palette->setFocus(Qt::TabFocusReason);
            ASSERT_GE(palette->ChosenItem(), 0);
            EXPECT_EQ(palette->CurrentItem(), palette->ChosenItem());
            EXPECT_EQ(cells->child(palette->ChosenItem())->text(QAccessible::Name), LabelText(form, "ChosenNameLab"));
            QTest::keyClick(palette, Qt::Key_Home, Qt::ControlModifier);
            EXPECT_EQ(palette->CurrentItem(), 0);
            QTest::keyClick(palette, Qt::Key_Down);
            QTest::keyClick(palette, Qt::Key_Right);
            EXPECT_EQ(palette->CurrentItem(), 15);
            QTest::keyClick(palette, Qt::Key_End);
            EXPECT_EQ(palette->CurrentItem(), 27);
            QTest::keyClick(palette, Qt::Key_End, Qt::ControlModifier);
            EXPECT_EQ(palette->CurrentItem(), 139);
            QTest::keyClick(palette, Qt::Key_Right); // the last stays the last
            QTest::keyClick(palette, Qt::Key_Up);
            EXPECT_EQ(palette->CurrentItem(), 125);
            EXPECT_TRUE(cells->child(125)->state().focused);
            QTest::keyClick(palette, Qt::Key_Return);
        },
        nullptr, PickerReady::Active);
    EXPECT_TRUE(accepted);
    // Cell 125 of the palette sorted from white down to black.
    TNetColors again;
    QString expected;
    ExecuteDriven(
        again,
        [&expected](TNetCForm& form) {
            auto* palette = form.findChild<TColorCells*>(QStringLiteral("Palette"));
            expected = palette->CellName(125);
            form.reject();
        },
        nullptr, PickerReady::Active);
    EXPECT_EQ(colors.NetColStr(), expected);
    EXPECT_FALSE(expected.isEmpty());
}

TEST(AccessibleAlignChooser, ReadsAsAListOfFourAlignmentsAndFollowsTheArrows)
{
    TParAlignButton button;
    button.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&button));
    QSignalSpy picked(&button, &TParAlignButton::picked);
    QAccessibleInterface* chooser = QAccessible::queryAccessibleInterface(&button);
    EXPECT_EQ(chooser->role(), QAccessible::List);
    EXPECT_EQ(chooser->text(QAccessible::Name), QStringLiteral("Alignement"));
    ASSERT_EQ(chooser->childCount(), 4);
    QStringList names;
    for (int i = 0; i < 4; ++i)
        names << chooser->child(i)->text(QAccessible::Name);
    EXPECT_EQ(names,
        (QStringList {QStringLiteral("à gauche"), QStringLiteral("à droite"), QStringLiteral("centré"),
            QStringLiteral("justifié")}));
    EXPECT_TRUE(chooser->child(0)->state().selected);
    // Closed, only the chosen alignment is drawn.
    EXPECT_FALSE(chooser->child(0)->state().invisible);
    EXPECT_TRUE(chooser->child(2)->state().invisible);

    button.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&button));
    button.setFocus();
    QTest::keyClick(&button, Qt::Key_Left); // already the first: nothing happens
    EXPECT_EQ(picked.count(), 0);
    QTest::keyClick(&button, Qt::Key_Right);
    EXPECT_EQ(button.parIndex(), 1);
    EXPECT_EQ(picked.count(), 1);
    EXPECT_TRUE(chooser->child(1)->state().selected);
    EXPECT_TRUE(chooser->child(1)->state().focused);
    EXPECT_FALSE(chooser->child(0)->state().selected);
    EXPECT_EQ(chooser->text(QAccessible::Description), QStringLiteral("à droite"));
    QTest::keyClick(&button, Qt::Key_End);
    EXPECT_EQ(button.parIndex(), 3);
    QTest::keyClick(&button, Qt::Key_Up);
    EXPECT_EQ(button.parIndex(), 2);
    EXPECT_EQ(picked.count(), 3);
    chooser->child(0)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(button.parIndex(), 0);
    EXPECT_EQ(picked.count(), 4);
}

TEST_F(AccessibleWindowTest, ScrollBarsAndSwatchesSayWhatTheyServe)
{
    WriteSettingsFile();
    WriteDocument(Path(QStringLiteral("long.kwz")), Numbered(40));
    StartOn(Path(QStringLiteral("long.kwz")));
    ClickMainTab(TMain::kQuestionsTab);
    QScrollBar* bar = Find<QListWidget>("MainQListBox")->verticalScrollBar();
    ASSERT_TRUE(bar->isVisible());
    QAccessibleInterface* scroll = QAccessible::queryAccessibleInterface(bar);
    EXPECT_EQ(scroll->role(), QAccessible::ScrollBar);
    EXPECT_EQ(scroll->text(QAccessible::Name), QStringLiteral("Défilement vertical : Liste des questions"));
    ASSERT_NE(scroll->valueInterface(), nullptr);
    scroll->valueInterface()->setCurrentValue(3);
    EXPECT_EQ(bar->value(), 3);
    EXPECT_EQ(scroll->valueInterface()->maximumValue().toInt(), bar->maximum());

    ClickMainTab(TMain::kStyleTab);
    QAccessibleInterface* swatch = QAccessible::queryAccessibleInterface(Find<QWidget>("FontColorShape"));
    EXPECT_EQ(swatch->role(), QAccessible::Button);
    EXPECT_EQ(swatch->text(QAccessible::Name), QStringLiteral("Couleur:"));
    EXPECT_EQ(swatch->text(QAccessible::Description), QStringLiteral("black"));
    QAccessibleInterface* background = QAccessible::queryAccessibleInterface(Find<QWidget>("PreviewPanel"));
    EXPECT_EQ(background->role(), QAccessible::Button);
    EXPECT_EQ(background->text(QAccessible::Name), QStringLiteral("Couleur de fond"));
    const QString shown = static_cast<TStylePreview*>(Find<QWidget>("PreviewPanel"))->BackgroundName();
    EXPECT_FALSE(shown.isEmpty());
    EXPECT_EQ(background->text(QAccessible::Description), shown);

    // A list box reads as what it is for, the entry it shows as its value.
    QAccessibleInterface* font = QAccessible::queryAccessibleInterface(Find<QWidget>("FontCombo"));
    EXPECT_EQ(font->role(), QAccessible::ComboBox);
    EXPECT_EQ(font->text(QAccessible::Name), QStringLiteral("Police"));
    EXPECT_EQ(font->text(QAccessible::Value), static_cast<QComboBox*>(Find<QWidget>("FontCombo"))->currentText());
    ASSERT_EQ(font->childCount(), 2);
    EXPECT_EQ(font->child(1)->text(QAccessible::Name), QStringLiteral("Nom de la police"));

    // Pressing it from a screen reader opens the picker, as a click does.
    ModalAnswerer answerer;
    bool opened = false;
    answerer.Then([&opened](QWidget& modal) {
        opened = qobject_cast<TNetCForm*>(&modal) != nullptr;
        static_cast<QDialog&>(modal).reject();
    });
    swatch->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    WaitAnswered(answerer);
    EXPECT_TRUE(opened);
}

} // namespace
} // namespace tavimor::testing
