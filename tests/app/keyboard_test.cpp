// The editor without a mouse: Tab follows the screen on every tab, every
// command has its keys, and a quiz is written, marked, saved and produced
// with the keyboard alone.
#include "main_window_helpers.h"

#include "app/AnswerEditors.h"
#include "app/ColorPicker.h"
#include "app/ColorShape.h"
#include "app/ImageDialog.h"
#include "app/LinkDialog.h"
#include "app/QuestionsTab.h"
#include "app/RepGroup.h"
#include "app/StyleDialog.h"

#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>

namespace tavimor::testing {
namespace {

// A key pressed as a keyboard presses it: to the open menu, else to the
// control that has the focus.
void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget* target = QApplication::activePopupWidget();
    if (!target)
        target = QApplication::focusWidget();
    if (!target)
        target = QApplication::activeWindow();
    ASSERT_NE(target, nullptr) << "no window has the keyboard";
    QTest::keyClick(target, key, modifiers);
}

void Type(const QString& text)
{
    QWidget* target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr) << "no control has the keyboard";
    QTest::keyClicks(target, text);
}

QString FocusName()
{
    const QWidget* focus = QApplication::focusWidget();
    return focus ? focus->objectName() : QStringLiteral("(nothing)");
}

// Presses Tab until the control named `name` has the keyboard; false after `most` presses.
bool TabTo(const QString& name, int most = 30)
{
    for (int i = 0; i < most && FocusName() != name; ++i)
        QTest::keyClick(
            QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow(), Qt::Key_Tab);
    return FocusName() == name;
}

// The keyboard's answer to a modal window: the keys pressed in it, in order,
// once it is the active window (as the desktop makes a new dialog).
ModalAnswerer::Handler Keys(std::function<void()> keys)
{
    return [keys](QWidget& modal) {
        modal.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&modal));
        EXPECT_TRUE(QTest::qWaitFor([&modal] { return QApplication::activeWindow() == &modal; }, 2000));
        keys();
    };
}

class KeyboardTest : public MainWindowTest {
protected:
    // The controls Tab visits from the main tab bar until it comes back to it;
    // the buttons of one exclusive group count once (Tab stops on one of them).
    QStringList TabStops()
    {
        ActivateWindow();
        QTabBar* tabs = MainTabBar();
        tabs->setFocus(Qt::TabFocusReason);
        QStringList stops;
        for (int i = 0; i < 60; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            if (QApplication::focusWidget() == tabs)
                break;
            QString name = FocusName();
            if (name == QStringLiteral("GMessBtn1") || name == QStringLiteral("messBtn1"))
                name.replace(QLatin1Char('1'), QLatin1Char('0'));
            stops << name;
        }
        return stops;
    }

    // The desktop gives the keyboard back to the main window once a dialog closed.
    void ActivateWindow()
    {
        Window().activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == &Window(); }, 2000));
    }
};

TEST_F(KeyboardTest, TabFollowsTheScreenOnEveryTab)
{
    TMain& window = StartOnNumbered(3);
    ActivateWindow();
    for (const char* box : {"NQCheck", "CertCheckBox"})
        if (!Find<QCheckBox>(box)->isChecked())
            Find<QCheckBox>(box)->click();
    EXPECT_EQ(TabStops(),
        (QStringList {QStringLiteral("ProfNameEd"), QStringLiteral("InstitEd"), QStringLiteral("ProfEmailEd"),
            QStringLiteral("ProfURLed"), QStringLiteral("NQCheck"), QStringLiteral("NQuestEdit"),
            QStringLiteral("CertCheckBox"), QStringLiteral("CertEdit")}));

    ClickMainTab(TMain::kQuestionsTab);
    // The list side, the question, the answer tools and answers, then the
    // sub-page tabs under them.
    EXPECT_EQ(TabStops(),
        (QStringList {QStringLiteral("MainQListBox"), QStringLiteral("delQBtn"), QStringLiteral("addQBtn"),
            QStringLiteral("PriItem0"), QStringLiteral("InsImgBtn"), QStringLiteral("QuestEdit"),
            QStringLiteral("REdBtn"), QStringLiteral("delRepBtn"), QStringLiteral("MoveRepBtn"),
            QStringLiteral("colBtn"), QStringLiteral("RepGroup"), QStringLiteral("qt_tabwidget_tabbar")}));
    auto* pages = Find<QTabWidget>("QuestPages");
    pages->setCurrentIndex(TQuestionsTab::kMessPage);
    Click("messBtn0");
    if (!Find<QCheckBox>("ExtFileCheck")->isChecked())
        Find<QCheckBox>("ExtFileCheck")->click();
    if (Find<QCheckBox>("GGCheck")->isChecked())
        Find<QCheckBox>("GGCheck")->click();
    const QStringList messStops = TabStops();
    EXPECT_EQ(messStops.mid(6),
        (QStringList {QStringLiteral("messBtn0"), QStringLiteral("GGCheck"), QStringLiteral("MessEdit"),
            QStringLiteral("ExtFileCheck"), QStringLiteral("ExtFileBtn"), QStringLiteral("ReUseFileBtn"),
            QStringLiteral("qt_tabwidget_tabbar")}));

    // An overlay keeps Tab among its own controls and gives the keyboard back
    // to the button that opened it.
    Find<QWidget>("ReUseFileBtn")->setFocus();
    Press(Qt::Key_Space);
    EXPECT_EQ(FocusName(), QStringLiteral("FileReuseList"));
    QStringList round;
    for (int i = 0; i < 4; ++i) {
        Press(Qt::Key_Tab);
        round << FocusName();
    }
    EXPECT_EQ(round,
        (QStringList {QStringLiteral("FileReuseBox"), QStringLiteral("FileReuseOkBtn"),
            QStringLiteral("FileReuseNoBtn"), QStringLiteral("FileReuseList")}));
    Press(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(FocusName(), QStringLiteral("FileReuseNoBtn"));
    Press(Qt::Key_Space);
    EXPECT_FALSE(Find<QWidget>("FileReusePan")->isVisible());
    EXPECT_EQ(FocusName(), QStringLiteral("ReUseFileBtn"));

    ClickMainTab(TMain::kMessagesTab);
    EXPECT_EQ(TabStops(),
        (QStringList {QStringLiteral("GMessBtn0"), QStringLiteral("btnAddMess"), QStringLiteral("PrevBtn"),
            QStringLiteral("NextBtn"), QStringLiteral("GMessEdit"), QStringLiteral("TitleEd"),
            QStringLiteral("BodyRed"), QStringLiteral("HMPTab"), QStringLiteral("NamEdit")}));

    ModalAnswerer folders;
    folders.Then(Reject());
    folders.Then(Reject());
    ClickMainTab(TMain::kLayoutTab);
    WaitAnswered(folders);
    Find<QCheckBox>("viewMemCheck")->click();
    EXPECT_EQ(TabStops(),
        (QStringList {QStringLiteral("sourceMemo"), QStringLiteral("viewMemCheck"), QStringLiteral("showNavCheck"),
            QStringLiteral("navBtn2"), QStringLiteral("HTabCntrl"), QStringLiteral("PosMenCheck"),
            QStringLiteral("BorderCheck")}));

    ClickMainTab(TMain::kStyleTab);
    EXPECT_EQ(TabStops(),
        (QStringList {QStringLiteral("ElemListBox"), QStringLiteral("PreviewPanel"), QStringLiteral("FontColorShape"),
            QStringLiteral("ParAlignBtn"), QStringLiteral("FontCombo"), QStringLiteral("SizeCombo"),
            QStringLiteral("MarginEdit"), QStringLiteral("PaddingEdit"), QStringLiteral("OptionsMemo"),
            QStringLiteral("ExportBtn"), QStringLiteral("ImportBtn"), QStringLiteral("DefaultBtn"),
            QStringLiteral("LinkColorShape"), QStringLiteral("LinkStateList"), QStringLiteral("UnderlineCheck"),
            QStringLiteral("LinkDefaultBtn")}));
    (void)window;
}

TEST_F(KeyboardTest, AltUpAndAltDownMoveTheSelectedQuestion)
{
    TMain& window = StartOnNumbered(3);
    ActivateWindow();
    ClickMainTab(TMain::kQuestionsTab);
    auto* list = Find<QListWidget>("MainQListBox");
    list->setFocus(Qt::TabFocusReason);

    Press(Qt::Key_Up, Qt::AltModifier); // question 1 has nowhere to go up
    EXPECT_EQ(Lines(*list), (QStringList {QStringLiteral("1.Q1"), QStringLiteral("2.Q2"), QStringLiteral("3.Q3")}));
    Press(Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(Lines(*list), (QStringList {QStringLiteral("1.Q2"), QStringLiteral("2.Q1"), QStringLiteral("3.Q3")}));
    // The moved question stays the one shown and highlighted.
    EXPECT_EQ(list->currentRow(), 1);
    EXPECT_EQ(Find<QLabel>("QNoLab")->text(), QStringLiteral("2"));
    EXPECT_EQ(Find<QPlainTextEdit>("QuestEdit")->toPlainText(), QStringLiteral("Q1"));
    Press(Qt::Key_Down, Qt::AltModifier);
    Press(Qt::Key_Down, Qt::AltModifier); // the last has nowhere to go down
    EXPECT_EQ(window.Document().Quests.GetQText(2), "Q1");
    EXPECT_EQ(list->currentRow(), 2);

    // The plain arrows only choose another question.
    Press(Qt::Key_Up);
    EXPECT_EQ(Find<QPlainTextEdit>("QuestEdit")->toPlainText(), QStringLiteral("Q3"));
    Press(Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(Lines(*list), (QStringList {QStringLiteral("1.Q3"), QStringLiteral("2.Q2"), QStringLiteral("3.Q1")}));
    EXPECT_TRUE(window.IsModified());
}

TEST_F(KeyboardTest, TheRightClickCommandsHaveTheirKeys)
{
    TMain& window = StartOnNumbered(2);
    ActivateWindow();

    // F2 in a page-text field renames its label, which stays its name.
    ClickMainTab(TMain::kMessagesTab);
    Find<QLineEdit>("TitleEd")->setFocus();
    ModalAnswerer answerer;
    answerer.Then(Keys([] {
        EXPECT_EQ(FocusName(), QStringLiteral("LineEd"));
        Press(Qt::Key_A, Qt::ControlModifier);
        Type(QStringLiteral("Intitule"));
        Press(Qt::Key_Return);
    }));
    Press(Qt::Key_F2);
    WaitAnswered(answerer);
    ActivateWindow();
    EXPECT_EQ(Find<QLabel>("TitleLab")->text(), QStringLiteral("Intitule"));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(Find<QWidget>("TitleEd"))->text(QAccessible::Name),
        QStringLiteral("Intitule"));

    // Ctrl+T changes the type of the question shown; the arrows in the type
    // dialog move the choice, Enter accepts it.
    ClickMainTab(TMain::kQuestionsTab);
    ActivateWindow();
    answerer.Then(Keys([] {
        EXPECT_EQ(FocusName(), QStringLiteral("TypeItem0"));
        Press(Qt::Key_Down);
        auto* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(dialog->isVisible()) << "an arrow accepted the dialog";
        EXPECT_EQ(FocusName(), QStringLiteral("TypeItem1"));
        Press(Qt::Key_Return);
    }));
    Press(Qt::Key_T, Qt::ControlModifier);
    WaitAnswered(answerer);
    EXPECT_EQ(window.Document().Quests.Quest(1).QType, TRepType::rTrue);
    EXPECT_EQ(answerer.Unexpected(), 0);
}

TEST_F(KeyboardTest, TheStyleTabIsDrivenFromTheKeyboard)
{
    WriteSettingsFile();
    TMain& window = Start();
    ActivateWindow();
    ClickMainTab(TMain::kStyleTab);
    auto* swatch = Find<TColorShape>("FontColorShape");
    swatch->setFocus(Qt::TabFocusReason);
    ModalAnswerer answerer;
    answerer.Then(Keys([] {
        // The basic colours have the keyboard first: the twelfth is red.
        EXPECT_EQ(FocusName(), QStringLiteral("PrimaryRow"));
        Press(Qt::Key_Home);
        for (int i = 0; i < 11; ++i)
            Press(Qt::Key_Right);
        Press(Qt::Key_Return);
    }));
    Press(Qt::Key_Space);
    WaitAnswered(answerer);
    ActivateWindow();
    EXPECT_EQ(swatch->Name(), QStringLiteral("red"));
    EXPECT_EQ(window.Document().Style.StyleSpecs[0].FontColorName, "red");

    Press(Qt::Key_Tab);
    EXPECT_EQ(FocusName(), QStringLiteral("ParAlignBtn"));
    Press(Qt::Key_End);
    // The alignment waits for the next commit, which saving makes.
    answerer.Then(ChooseFile(Path(QStringLiteral("style.kwz"))));
    Press(Qt::Key_S, Qt::ControlModifier);
    WaitAnswered(answerer);
    EXPECT_EQ(Reload(Path(QStringLiteral("style.kwz"))).Style.StyleSpecs[0].AlignIndex, 3);
}

// The controls Tab visits in a dialog, going round once, from `first` on.
QStringList DialogStops(QDialog& dialog, const QString& first)
{
    dialog.show();
    dialog.activateWindow();
    EXPECT_TRUE(QTest::qWaitFor([&dialog] { return QApplication::activeWindow() == &dialog; }, 2000));
    QWidget* start = dialog.findChild<QWidget*>(first);
    if (!start)
        return {QStringLiteral("no ") + first};
    start->setFocus(Qt::TabFocusReason);
    QStringList stops {FocusName()};
    for (int i = 0; i < 40; ++i) {
        Press(Qt::Key_Tab);
        if (QApplication::focusWidget() == start)
            break;
        stops << FocusName();
    }
    dialog.hide();
    return stops;
}

TEST(DialogTabOrder, EveryDialogFollowsItsScreen)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    THRefDlgFrm link;
    link.setFolder(folder.path());
    EXPECT_EQ(DialogStops(link, QStringLiteral("DriveList")),
        (QStringList {QStringLiteral("DriveList"), QStringLiteral("DeskBtn"), QStringLiteral("DirList"),
            QStringLiteral("FileList"), QStringLiteral("RelCheck"), QStringLiteral("FileEdit"),
            QStringLiteral("TargetCombo"), QStringLiteral("LinkEdit"), QStringLiteral("OkBtn")}));

    TImgFrmDlg picture(folder.path());
    EXPECT_EQ(DialogStops(picture, QStringLiteral("NameEdit")),
        (QStringList {QStringLiteral("NameEdit"), QStringLiteral("FileList"), QStringLiteral("DriveList"),
            QStringLiteral("DirList"), QStringLiteral("BorderCheck"), QStringLiteral("WidthEdit"),
            QStringLiteral("HeightEdit"), QStringLiteral("HSpaceEdit"), QStringLiteral("VSpaceEdit"),
            QStringLiteral("AlignNone"), QStringLiteral("AltEdit"), QStringLiteral("OkBtn")}));

    TRepTabEdit answers;
    EXPECT_EQ(DialogStops(answers, QStringLiteral("AddRepBtn")),
        (QStringList {QStringLiteral("AddRepBtn"), QStringLiteral("DelRepBtn"), QStringLiteral("ReuseBtn"),
            QStringLiteral("RepTabs"), QStringLiteral("RepText"), QStringLiteral("AcceptBtn")}));

    TNetCForm picker;
    EXPECT_EQ(DialogStops(picker, QStringLiteral("PrimaryRow")),
        (QStringList {QStringLiteral("PrimaryRow"), QStringLiteral("Palette"), QStringLiteral("AlphaCheck"),
            QStringLiteral("AcceptBtn")}));

    TStylePrefs prefs;
    TStyleDlg style(prefs);
    const QStringList styleStops = DialogStops(style, QStringLiteral("ElemListBox"));
    EXPECT_EQ(styleStops.mid(0, 3),
        (QStringList {
            QStringLiteral("ElemListBox"), QStringLiteral("PreviewPanel"), QStringLiteral("FontColorShape")}));
    EXPECT_EQ(styleStops.mid(styleStops.size() - 3),
        (QStringList {
            QStringLiteral("UnderlineCheck"), QStringLiteral("LinkDefaultBtn"), QStringLiteral("AcceptBtn")}));
}

// A teacher who cannot use a mouse writes a question with three answers and
// a true-or-false one, marks the right answers, saves and produces the quiz.
TEST_F(KeyboardTest, AQuizIsWrittenSavedAndProducedWithoutTheMouse)
{
    WriteSettingsFile();
    TMain& window = Start();
    ActivateWindow();

    // Tab reaches the page tabs; the arrows open the Questions tab.
    ASSERT_TRUE(TabTo(QStringLiteral("qt_tabwidget_tabbar")));
    ASSERT_EQ(QApplication::focusWidget(), MainTabBar());
    Press(Qt::Key_Right);
    ASSERT_EQ(Find<QTabWidget>("MainPages")->currentIndex(), TMain::kQuestionsTab);

    ModalAnswerer answerer;
    answerer.Then(Keys([] { Press(Qt::Key_Return); })); // "Standard KWZ", as proposed
    Press(Qt::Key_F4);
    WaitAnswered(answerer);
    ActivateWindow();
    ASSERT_EQ(FocusName(), QStringLiteral("QuestEdit"));
    Type(QStringLiteral("Quelle ville est la plus au sud ?"));

    Press(Qt::Key_Tab);
    ASSERT_EQ(FocusName(), QStringLiteral("REdBtn"));
    answerer.Then(Keys([] {
        EXPECT_EQ(FocusName(), QStringLiteral("RepText"));
        Type(QStringLiteral("Paris"));
        Press(Qt::Key_F4);
        Type(QStringLiteral("Lyon"));
        Press(Qt::Key_F4);
        Type(QStringLiteral("Nice"));
        EXPECT_TRUE(TabTo(QStringLiteral("AcceptBtn")));
        Press(Qt::Key_Space);
    }));
    Press(Qt::Key_Space);
    WaitAnswered(answerer);
    ActivateWindow();
    EXPECT_EQ(FocusName(), QStringLiteral("REdBtn"));
    auto* group = Find<TRepGroup>("RepGroup");
    ASSERT_EQ(group->items(), (QStringList {QStringLiteral("Paris"), QStringLiteral("Lyon"), QStringLiteral("Nice")}));

    ASSERT_TRUE(TabTo(QStringLiteral("RepGroup"), 6));
    Press(Qt::Key_Down);
    Press(Qt::Key_Down);
    Press(Qt::Key_Space);
    EXPECT_EQ(group->activItem(), 2);

    // F4, and the arrow to "Vrai ou Faux": its two answers are there already.
    answerer.Then(Keys([] {
        Press(Qt::Key_Down);
        Press(Qt::Key_Return);
    }));
    Press(Qt::Key_F4);
    WaitAnswered(answerer);
    ActivateWindow();
    ASSERT_EQ(FocusName(), QStringLiteral("QuestEdit"));
    Type(QStringLiteral("La Loire est le plus long fleuve de France."));
    ASSERT_TRUE(TabTo(QStringLiteral("RepGroup"), 6));
    Press(Qt::Key_Space);
    EXPECT_EQ(group->activItem(), 0);

    // Ctrl+S: the name typed in the file dialog, Enter.
    const QString path = Path(QStringLiteral("sud.kwz"));
    answerer.Then(Keys([path] {
        EXPECT_TRUE(qobject_cast<QLineEdit*>(QApplication::focusWidget())) << FocusName().toStdString();
        Type(path);
        Press(Qt::Key_Return);
    }));
    Press(Qt::Key_S, Qt::ControlModifier);
    WaitAnswered(answerer);
    ActivateWindow();
    ASSERT_EQ(window.CurrentFile(), path);
    const TQuizDocument saved = Reload(path);
    ASSERT_EQ(saved.Quests.Count(), 2);
    EXPECT_EQ(saved.Quests.GetQText(0), "Quelle ville est la plus au sud ?");
    EXPECT_EQ(saved.Quests.Quest(1).Reps, (std::vector<std::string> {"Paris", "Lyon", "Nice"}));
    EXPECT_EQ(saved.Quests.Quest(1).GoodRep, 2);
    EXPECT_EQ(saved.Quests.Quest(2).QType, TRepType::rTrue);
    EXPECT_EQ(saved.Quests.Quest(2).GoodRep, 0);

    // The HTML menu from the keyboard: Alt, then the arrows to "Produire KWZ".
    for (int i = 0; i < 3; ++i) // the new folders, then the end of the production
        answerer.Then(Keys([] { Press(Qt::Key_Return); }));
    QTest::keyPress(QApplication::focusWidget(), Qt::Key_Alt, Qt::AltModifier);
    QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Alt);
    ASSERT_NE(window.menuBar()->activeAction(), nullptr);
    EXPECT_EQ(window.menuBar()->activeAction()->text(), QStringLiteral("Fichier"));
    Press(Qt::Key_Right);
    Press(Qt::Key_Right);
    EXPECT_EQ(window.menuBar()->activeAction()->text(), QStringLiteral("HTML"));
    Press(Qt::Key_Down);
    for (int i = 0; i < 3; ++i)
        Press(Qt::Key_Down);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    ASSERT_NE(menu->activeAction(), nullptr);
    EXPECT_EQ(menu->activeAction()->text(), QStringLiteral("Produire KWZ"));
    Press(Qt::Key_Return);
    WaitAnswered(answerer);
    EXPECT_EQ(answerer.Unexpected(), 0);
    const QString site = Path(QStringLiteral("sud"));
    ASSERT_TRUE(QFileInfo(site + QStringLiteral("/index.html")).isFile());
    // The quiz script holds both questions and their answers.
    QFile script(site + QStringLiteral("/hPages/sud.js"));
    ASSERT_TRUE(script.open(QIODevice::ReadOnly));
    const QByteArray quiz = script.readAll();
    EXPECT_TRUE(quiz.contains("Quelle ville est la plus au sud ?"));
    EXPECT_TRUE(quiz.contains("La Loire est le plus long fleuve de France."));
    EXPECT_TRUE(quiz.contains("Nice"));
}

} // namespace
} // namespace tavimor::testing
