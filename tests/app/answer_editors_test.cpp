// The answer editor, list editor, question-type dialog and one-line editor,
// each run modally and driven with real clicks and keys from a timer.
#include "app/AnswerEditors.h"
#include "app/LineEditForm.h"
#include "app/TypeDialog.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

static void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace tavimor {
namespace {

using Drive = std::function<void(QWidget& modal)>;

// Runs `dialog` with exec(); once its modal loop runs, `drive` gets the
// active modal widget and must close it. A dialog still open after ten
// seconds is rejected, so a failing check cannot hang the program.
int RunModal(QDialog& dialog, const Drive& drive)
{
    QTimer::singleShot(0, &dialog, [&dialog, drive] {
        QWidget* modal = QApplication::activeModalWidget();
        EXPECT_EQ(modal, &dialog);
        if (!modal)
            return;
        EXPECT_TRUE(QTest::qWaitForWindowActive(modal));
        drive(*modal);
    });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, &dialog, &QDialog::reject);
    watchdog.start(10000);
    return dialog.exec();
}

template <class T> T* Find(QWidget& parent, const char* name)
{
    T* child = parent.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

void Click(QWidget& parent, const char* name)
{
    if (auto* button = Find<QAbstractButton>(parent, name))
        QTest::mouseClick(button, Qt::LeftButton);
}

QStringList TabCaptions(const QTabBar& tabs)
{
    QStringList captions;
    for (int i = 0; i < tabs.count(); ++i)
        captions << tabs.tabText(i);
    return captions;
}

void ClickTab(QTabBar& tabs, int index)
{
    QTest::mouseClick(&tabs, Qt::LeftButton, {}, tabs.tabRect(index).center());
}

// Types `text` key by key; a letter outside ASCII comes with its own key code,
// as from a French keyboard.
void Type(QWidget* box, const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 128)
            QTest::keyClick(box, static_cast<char>(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, box, static_cast<Qt::Key>(c.toUpper().unicode()), QString(c), {});
    }
}

// Replaces the whole text of the box by typing.
void Retype(QWidget& box, const QString& text)
{
    QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&box, Qt::Key_Delete);
    Type(&box, text);
}

QString Text(QWidget& modal)
{
    auto* text = Find<QTextEdit>(modal, "RepText");
    return text ? text->toPlainText() : QString();
}

// ---------------------------------------------------------------- TRepTabEdit

TEST(AnswerEditor, StartsWithOneEmptyAnswerAndF4AddsAnswers)
{
    TRepTabEdit dialog;
    dialog.setAnswers({});
    const int result = RunModal(dialog, [](QWidget& modal) {
        auto* tabs = Find<QTabBar>(modal, "RepTabs");
        auto* text = Find<QTextEdit>(modal, "RepText");
        auto* help = Find<QLabel>(modal, "HelpLab");
        ASSERT_TRUE(tabs && text && help);
        EXPECT_EQ(modal.windowTitle(), QStringLiteral("Éditeur de réponse "));
        EXPECT_EQ(TabCaptions(*tabs), QStringList {QStringLiteral("1")});
        EXPECT_EQ(text->toPlainText(), QString());
        EXPECT_TRUE(text->hasFocus());
        EXPECT_TRUE(help->isVisible());
        EXPECT_EQ(help->text(), QStringLiteral("Utilisez F4 comme raccourci au bouton ajouter..."));
        EXPECT_EQ(tabs->tabRect(0).size(), QSize(32, 18));

        Type(text, QStringLiteral("Paris"));
        QTest::keyClick(text, Qt::Key_F4);
        Type(text, QStringLiteral("Lyon"));
        Click(modal, "AddRepBtn");
        QTest::keyClick(text, Qt::Key_F4);
        EXPECT_EQ(TabCaptions(*tabs),
            (QStringList {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")}));
        EXPECT_EQ(tabs->currentIndex(), 3);
        EXPECT_EQ(text->toPlainText(), QString());
        EXPECT_FALSE(help->isVisible());
        Click(modal, "AcceptBtn");
    });
    EXPECT_EQ(result, QDialog::Accepted);
    // The two answers left empty stay as empty answers.
    EXPECT_EQ(dialog.answers(), (QStringList {QStringLiteral("Paris"), QStringLiteral("Lyon"), QString(), QString()}));
}

TEST(AnswerEditor, TabSwitchingKeepsEachTextAndAcceptStoresTheShownOne)
{
    TRepTabEdit dialog;
    dialog.setAnswers({QStringLiteral("alpha"), QStringLiteral("beta"), QStringLiteral("gamma")});
    const int result = RunModal(dialog, [](QWidget& modal) {
        auto* tabs = Find<QTabBar>(modal, "RepTabs");
        auto* text = Find<QTextEdit>(modal, "RepText");
        ASSERT_TRUE(tabs && text);
        EXPECT_EQ(tabs->currentIndex(), 0);
        EXPECT_EQ(text->toPlainText(), QStringLiteral("alpha"));
        EXPECT_FALSE(Find<QLabel>(modal, "HelpLab")->isVisible());

        ClickTab(*tabs, 2);
        EXPECT_EQ(text->toPlainText(), QStringLiteral("gamma"));
        Retype(*text, QStringLiteral("Genève"));
        ClickTab(*tabs, 0);
        EXPECT_EQ(text->toPlainText(), QStringLiteral("alpha"));
        ClickTab(*tabs, 2);
        EXPECT_EQ(text->toPlainText(), QStringLiteral("Genève"));
        ClickTab(*tabs, 1);
        Retype(*text, QStringLiteral("Berne"));
        Click(modal, "AcceptBtn");
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(
        dialog.answers(), (QStringList {QStringLiteral("alpha"), QStringLiteral("Berne"), QStringLiteral("Genève")}));
}

TEST(AnswerEditor, RemoveDropsTheSelectedAnswerAndStopsAtOne)
{
    TRepTabEdit dialog;
    dialog.setAnswers({QStringLiteral("un"), QStringLiteral("deux"), QStringLiteral("trois")});
    const int result = RunModal(dialog, [](QWidget& modal) {
        auto* tabs = Find<QTabBar>(modal, "RepTabs");
        auto* text = Find<QTextEdit>(modal, "RepText");
        ASSERT_TRUE(tabs && text);
        ClickTab(*tabs, 1);
        Retype(*text, QStringLiteral("typed, then removed"));
        Click(modal, "DelRepBtn");
        EXPECT_EQ(TabCaptions(*tabs), (QStringList {QStringLiteral("1"), QStringLiteral("2")}));
        EXPECT_EQ(tabs->currentIndex(), 0);
        EXPECT_EQ(text->toPlainText(), QStringLiteral("un"));

        Click(modal, "DelRepBtn");
        EXPECT_EQ(TabCaptions(*tabs), QStringList {QStringLiteral("1")});
        EXPECT_EQ(text->toPlainText(), QStringLiteral("trois"));
        EXPECT_TRUE(Find<QLabel>(modal, "HelpLab")->isVisible());

        Click(modal, "DelRepBtn");
        EXPECT_EQ(TabCaptions(*tabs), QStringList {QStringLiteral("1")});
        EXPECT_EQ(text->toPlainText(), QStringLiteral("trois"));
        Click(modal, "AcceptBtn");
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(dialog.answers(), QStringList {QStringLiteral("trois")});
}

TEST(AnswerEditor, InsertImageButtonIsHiddenUntilShownAndInsertsAtTheCaret)
{
    TRepTabEdit dialog;
    RunModal(dialog, [](QWidget& modal) {
        EXPECT_FALSE(Find<QPushButton>(modal, "InsertImgBtn")->isVisible());
        modal.close();
    });

    TRepTabEdit shown;
    shown.setInsertImageVisible(true);
    QObject::connect(&shown, &TRepTabEdit::insertImageRequested, &shown,
        [&shown] { shown.InsertAtCaret(QStringLiteral("<IMG SRC=\"a.gif\">")); });
    RunModal(shown, [](QWidget& modal) {
        auto* text = Find<QTextEdit>(modal, "RepText");
        ASSERT_NE(text, nullptr);
        Type(text, QStringLiteral("voir "));
        Click(modal, "InsertImgBtn");
        Type(text, QStringLiteral(" ici"));
        Click(modal, "AcceptBtn");
    });
    EXPECT_EQ(shown.answers(), QStringList {QStringLiteral("voir <IMG SRC=\"a.gif\"> ici")});
}

struct ReuseCase {
    const char* name;
    QList<QStringList> stored; // every question's answers
    int row; // the question line clicked, -1 for none
    const char* button;
    QString shownAnswers; // the answer box after the click
    QStringList expected; // the answers once the editor is accepted
};

TEST(AnswerEditor, ReusePanelTakesAnotherQuestionsAnswers)
{
    const QStringList mine {QStringLiteral("mien"), QStringLiteral("autre")};
    const QList<QStringList> stored {{QStringLiteral("Vrai"), QStringLiteral("Faux")}, {},
        {QStringLiteral("rouge"), QStringLiteral("vert"), QStringLiteral("bleu")}};
    const ReuseCase cases[] = {
        {"accept the third question", stored, 2, "ReuseAcceptBtn", QStringLiteral("rouge\nvert\nbleu"),
            {QStringLiteral("rouge"), QStringLiteral("vert"), QStringLiteral("bleu")}},
        {"refuse", stored, 0, "ReuseRefuseBtn", QStringLiteral("Vrai\nFaux"), mine},
        {"question without answers", stored, 1, "ReuseAcceptBtn", QString(), mine},
        {"no question clicked", stored, -1, "ReuseAcceptBtn", QString(), mine},
        {"document without questions", {}, -1, "ReuseAcceptBtn", QString(), mine},
    };
    for (const ReuseCase& c : cases) {
        SCOPED_TRACE(c.name);
        TRepTabEdit dialog;
        dialog.setAnswers(mine);
        dialog.setStoredAnswers(c.stored);
        const int result = RunModal(dialog, [&c](QWidget& modal) {
            auto* panel = Find<QWidget>(modal, "ReusePanel");
            auto* list = Find<QListWidget>(modal, "ReuseQList");
            auto* box = Find<QPlainTextEdit>(modal, "ReuseRepBox");
            auto* tabs = Find<QTabBar>(modal, "RepTabs");
            ASSERT_TRUE(panel && list && box && tabs);
            ClickTab(*tabs, 1);
            EXPECT_FALSE(panel->isVisible());

            Click(modal, "ReuseBtn");
            EXPECT_TRUE(panel->isVisible());
            EXPECT_EQ(panel->pos(), QPoint(4, 2));
            EXPECT_TRUE(box->isReadOnly());
            ASSERT_EQ(list->count(), c.stored.size());
            for (int i = 0; i < list->count(); ++i)
                EXPECT_EQ(list->item(i)->text(), QStringLiteral("question %1").arg(i + 1));
            if (c.row >= 0)
                QTest::mouseClick(
                    list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(c.row)).center());
            EXPECT_EQ(box->toPlainText(), c.shownAnswers);

            Click(modal, c.button);
            EXPECT_FALSE(panel->isVisible());
            // A replaced list is renumbered from its first answer; otherwise
            // the editor is where it was.
            const bool replaced = c.expected != QStringList {QStringLiteral("mien"), QStringLiteral("autre")};
            EXPECT_EQ(tabs->count(), c.expected.size());
            EXPECT_EQ(tabs->currentIndex(), replaced ? 0 : 1);
            EXPECT_EQ(Text(modal), replaced ? c.expected.first() : QStringLiteral("autre"));
            Click(modal, "AcceptBtn");
        });
        EXPECT_EQ(result, QDialog::Accepted);
        EXPECT_EQ(dialog.answers(), c.expected);
    }
}

TEST(AnswerEditor, ReuseQuestionListIsRebuiltEachTime)
{
    TRepTabEdit dialog;
    dialog.setStoredAnswers({{QStringLiteral("a")}, {QStringLiteral("b")}});
    RunModal(dialog, [](QWidget& modal) {
        auto* list = Find<QListWidget>(modal, "ReuseQList");
        auto* box = Find<QPlainTextEdit>(modal, "ReuseRepBox");
        ASSERT_TRUE(list && box);
        Click(modal, "ReuseBtn");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
        EXPECT_EQ(box->toPlainText(), QStringLiteral("b"));
        Click(modal, "ReuseRefuseBtn");
        Click(modal, "ReuseBtn");
        EXPECT_EQ(list->count(), 2);
        EXPECT_EQ(box->toPlainText(), QString());
        Click(modal, "ReuseRefuseBtn");
        modal.close();
    });
}

// ------------------------------------------------------------------- TRepEdit

TEST(ListEditor, HelpTextFollowsWhetherTheBoxHoldsText)
{
    struct Case {
        QStringList lines;
        QString help;
    };
    const Case cases[] = {
        {{}, QStringLiteral("Ajoutez un item par ligne")},
        {{QStringLiteral("rouge"), QStringLiteral("vert")},
            QStringLiteral("Modifiez ou déplacez les éléments directement.")},
    };
    for (const Case& c : cases) {
        TRepEdit dialog;
        dialog.setLines(c.lines);
        RunModal(dialog, [&c](QWidget& modal) {
            EXPECT_EQ(modal.windowTitle(), QStringLiteral("Éditeur de Liste "));
            EXPECT_EQ(Find<QLabel>(modal, "HelpLab")->text(), c.help);
            EXPECT_TRUE(Find<QTextEdit>(modal, "RepText")->hasFocus());
            EXPECT_FALSE(Find<QPushButton>(modal, "InsertImgBtn")->isVisible());
            modal.close();
        });
    }
}

TEST(ListEditor, LinesRoundTripAndTypedLinesAreAdded)
{
    const QStringList lines {QStringLiteral("rouge"), QString(), QStringLiteral("vert clair")};
    TRepEdit dialog;
    dialog.setLines(lines);
    EXPECT_EQ(dialog.lines(), lines);

    const int result = RunModal(dialog, [](QWidget& modal) {
        auto* text = Find<QTextEdit>(modal, "RepText");
        ASSERT_NE(text, nullptr);
        QTest::keyClick(text, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(text, Qt::Key_Return);
        Type(text, QStringLiteral("bleu"));
        // A final line break adds no empty option.
        QTest::keyClick(text, Qt::Key_Return);
        Click(modal, "AcceptBtn");
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(dialog.lines(),
        (QStringList {QStringLiteral("rouge"), QString(), QStringLiteral("vert clair"), QStringLiteral("bleu")}));
}

TEST(ListEditor, EmptiedBoxGivesNoLinesAndTheHelpForAnEmptyList)
{
    TRepEdit dialog;
    dialog.setLines({QStringLiteral("seul")});
    RunModal(dialog, [](QWidget& modal) {
        auto* text = Find<QTextEdit>(modal, "RepText");
        ASSERT_NE(text, nullptr);
        Retype(*text, QString());
        EXPECT_EQ(Find<QLabel>(modal, "HelpLab")->text(), QStringLiteral("Ajoutez un item par ligne"));
        Click(modal, "AcceptBtn");
    });
    EXPECT_EQ(dialog.lines(), QStringList());
}

// ------------------------------------------------------------------ TQTypeDlg

QRadioButton* TypeItem(QWidget& modal, int index)
{
    auto* group = Find<QWidget>(modal, "TypeRGroup");
    if (!group)
        return nullptr;
    const QList<QRadioButton*> items = group->findChildren<QRadioButton*>();
    EXPECT_EQ(items.size(), 3);
    return index < items.size() ? items[index] : nullptr;
}

TEST(TypeDialog, AClickOnAnItemAcceptsThatType)
{
    const struct {
        TRepType preset;
        int clicked;
        TRepType expected;
    } cases[] = {
        {TRepType::rKWZ, 1, TRepType::rTrue},
        {TRepType::rTrue, 1, TRepType::rTrue}, // the item already selected
        {TRepType::rTrue, 0, TRepType::rKWZ},
        {TRepType::rKWZ, 2, TRepType::rOList},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.clicked);
        TQTypeDlg dialog;
        dialog.setType(c.preset);
        const int result = RunModal(dialog, [&c](QWidget& modal) {
            QRadioButton* item = TypeItem(modal, c.clicked);
            ASSERT_NE(item, nullptr);
            QTest::mouseClick(item, Qt::LeftButton, {}, QPoint(8, item->height() / 2));
            if (modal.isVisible()) {
                ADD_FAILURE() << "the click did not close the dialog";
                modal.close();
            }
        });
        EXPECT_EQ(result, QDialog::Accepted);
        EXPECT_EQ(dialog.type(), c.expected);
    }
}

TEST(TypeDialog, ItemsAndAcceptKeepThePreset)
{
    TQTypeDlg dialog;
    dialog.setWindowTitle(QStringLiteral("Choix du type de questions. "));
    dialog.setType(TRepType::rOList);
    const int result = RunModal(dialog, [](QWidget& modal) {
        auto* group = Find<QGroupBox>(modal, "TypeRGroup");
        ASSERT_NE(group, nullptr);
        EXPECT_EQ(group->title(), QStringLiteral("Type de questions   "));
        const QStringList captions {QStringLiteral("  Standard KWZ"), QStringLiteral("  Vrai ou Faux"),
            QStringLiteral("  Closure avec listes")};
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(TypeItem(modal, i)->text(), captions[i]);
        EXPECT_TRUE(TypeItem(modal, 2)->isChecked());
        Click(modal, "AcceptBtn");
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(dialog.type(), TRepType::rOList);
}

TEST(TypeDialog, CloseBoxRejects)
{
    TQTypeDlg dialog;
    dialog.setType(TRepType::rTrue);
    const int result = RunModal(dialog, [](QWidget& modal) { modal.close(); });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_EQ(dialog.type(), TRepType::rTrue);
}

// ----------------------------------------------------------------- TLEditForm

TEST(LineEditor, ReturnsTheEditedText)
{
    TLEditForm dialog;
    dialog.setWindowTitle(QStringLiteral("Renommer"));
    dialog.setText(QStringLiteral("Bravo"));
    const int result = RunModal(dialog, [](QWidget& modal) {
        auto* line = Find<QLineEdit>(modal, "LineEd");
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(modal.windowTitle(), QStringLiteral("Renommer"));
        EXPECT_TRUE(line->hasFocus());
        EXPECT_EQ(line->text(), QStringLiteral("Bravo"));
        EXPECT_FALSE(Find<QPushButton>(modal, "InsertImgBtn")->isVisible());
        Retype(*line, QStringLiteral("Très bien !"));
        Click(modal, "AcceptBtn");
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(dialog.text(), QStringLiteral("Très bien !"));
}

TEST(LineEditor, EnterAcceptsAndCloseBoxRejects)
{
    TLEditForm entered;
    EXPECT_EQ(entered.windowTitle(), QStringLiteral("Ajouter un élément"));
    const int accepted = RunModal(entered, [](QWidget& modal) {
        auto* line = Find<QLineEdit>(modal, "LineEd");
        ASSERT_NE(line, nullptr);
        Type(line, QStringLiteral("Suite"));
        QTest::keyClick(line, Qt::Key_Return);
    });
    EXPECT_EQ(accepted, QDialog::Accepted);
    EXPECT_EQ(entered.text(), QStringLiteral("Suite"));

    TLEditForm closed;
    EXPECT_EQ(RunModal(closed, [](QWidget& modal) { modal.close(); }), QDialog::Rejected);
}

} // namespace
} // namespace tavimor
