// The answer-choice group, driven with real mouse presses on its buttons, their
// captions and the option list.
#include "app/RepGroup.h"

#include <QLabel>
#include <QListWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace tavimor {
namespace {

// The group is 398 pixels wide in the main window.
constexpr int kGroupWidth = 398;
constexpr int kGroupHeight = 230;

class RepGroupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        group = std::make_unique<TRepGroup>();
        group->resize(kGroupWidth, kGroupHeight);
        group->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(group.get()));
        QObject::connect(
            group.get(), &TRepGroup::backgroundPressed, group.get(), [this](Qt::MouseButton) { ++backgroundPresses; });
    }

    TExtRadBtn* Button(int i) const
    {
        auto* button = group->findChild<TExtRadBtn*>(QStringLiteral("RepBtn%1").arg(i));
        EXPECT_NE(button, nullptr) << "RepBtn" << i;
        return button;
    }

    QLabel* CaptionOf(int i) const
    {
        auto* label = Button(i)->findChild<QLabel*>();
        EXPECT_NE(label, nullptr);
        return label;
    }

    QListWidget* OptionList() const { return group->findChild<QListWidget*>(QStringLiteral("OptionList")); }
    QLabel* ChosenLab() const { return group->findChild<QLabel*>(QStringLiteral("ChosenOptionLab")); }
    QLabel* Title() const { return group->findChild<QLabel*>(QStringLiteral("OptionListTitle")); }

    // The captions of the buttons on screen, in creation order.
    QStringList ShownCaptions() const
    {
        QStringList captions;
        for (const TExtRadBtn* button : group->findChildren<TExtRadBtn*>())
            if (button->isVisible())
                captions << button->Caption();
        return captions;
    }

    // The marks of the first `count` buttons.
    std::vector<bool> Marks(int count) const
    {
        std::vector<bool> marks;
        for (int i = 0; i < count; ++i)
            marks.push_back(Button(i)->Check());
        return marks;
    }

    void ShowStandard(const QStringList& answers, int marked = -1)
    {
        group->setRType(TRepType::rKWZ);
        group->setItems(answers);
        group->setActivItem(marked);
    }

    void PressButton(int i, Qt::MouseButton mouseButton = Qt::LeftButton)
    {
        QTest::mousePress(Button(i), mouseButton, {}, QPoint(5, 9));
        QTest::mouseRelease(Button(i), mouseButton, {}, QPoint(5, 9));
    }

    void PressCaption(int i, Qt::MouseButton mouseButton = Qt::LeftButton)
    {
        QTest::mousePress(CaptionOf(i), mouseButton, {}, QPoint(3, 3));
        QTest::mouseRelease(CaptionOf(i), mouseButton, {}, QPoint(3, 3));
    }

    std::unique_ptr<TRepGroup> group;
    int backgroundPresses = 0;
};

TEST_F(RepGroupTest, TrueFalseShowsVraiAndFauxSideBySideNoneMarked)
{
    ShowStandard({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")}, 3);
    group->setRType(TRepType::rTrue);

    EXPECT_EQ(ShownCaptions(), (QStringList {QStringLiteral("Vrai"), QStringLiteral("Faux")}));
    EXPECT_EQ(group->items(), (QStringList {QStringLiteral("Vrai"), QStringLiteral("Faux")}));
    EXPECT_EQ(group->ItemCount(), 2);
    EXPECT_EQ(group->activItem(), -1);
    EXPECT_EQ(group->columns(), 2);
    EXPECT_EQ(Marks(2), (std::vector<bool> {false, false}));
    EXPECT_EQ(Button(0)->y(), Button(1)->y());
    EXPECT_EQ(Button(0)->x(), 12);
    EXPECT_EQ(Button(1)->x(), 12 + 185 + 2);
    EXPECT_FALSE(OptionList()->isVisible());
    EXPECT_FALSE(ChosenLab()->isVisible());
}

TEST_F(RepGroupTest, TrueFalseKeepsItsButtonsWhenItsAnswersAreReplaced)
{
    group->setRType(TRepType::rTrue);
    group->setItems({QStringLiteral("Oui"), QStringLiteral("Non"), QStringLiteral("Peut-être")});
    EXPECT_EQ(ShownCaptions(), (QStringList {QStringLiteral("Vrai"), QStringLiteral("Faux")}));
    EXPECT_EQ(group->ItemCount(), 2);
    EXPECT_EQ(group->items().size(), 3);
}

TEST_F(RepGroupTest, SettingActivItemToItsValueChangesNothingAndMinusOneUnmarksAll)
{
    ShowStandard({QStringLiteral("un"), QStringLiteral("deux"), QStringLiteral("trois")}, 1);
    EXPECT_EQ(Marks(3), (std::vector<bool> {false, true, false}));

    // A right press on a caption leaves its flipped mark on screen only.
    PressCaption(2, Qt::RightButton);
    EXPECT_EQ(Marks(3), (std::vector<bool> {false, true, true}));
    EXPECT_EQ(group->activItem(), 1);

    int changes = 0;
    QObject::connect(group.get(), &TRepGroup::activItemChanged, group.get(), [&changes](int) { ++changes; });
    group->setActivItem(1);
    EXPECT_EQ(Marks(3), (std::vector<bool> {false, true, true}));
    EXPECT_EQ(changes, 0);

    group->setActivItem(-1);
    EXPECT_EQ(Marks(3), (std::vector<bool> {false, false, false}));
    EXPECT_EQ(group->activItem(), -1);
    EXPECT_EQ(changes, 1);

    group->setActivItem(2);
    EXPECT_EQ(Marks(3), (std::vector<bool> {false, false, true}));
}

TEST_F(RepGroupTest, FiveAnswersInTwoColumnsFillRowsLeftToRight)
{
    ShowStandard(
        {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D"), QStringLiteral("E")});
    group->setColumns(2);

    EXPECT_EQ(group->TopMargin(), 12);
    const int rowHeight = Button(0)->height();
    const int rows[5] = {0, 0, 1, 1, 2};
    const int cols[5] = {0, 1, 0, 1, 0};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(Button(i)->isVisible());
        EXPECT_EQ(Button(i)->width(), 185);
        EXPECT_EQ(Button(i)->x(), 12 + cols[i] * (185 + 2));
        EXPECT_EQ(Button(i)->y(), 12 + rows[i] * (rowHeight + 2));
        EXPECT_EQ(Button(i)->Caption(), group->items()[i]);
    }
}

TEST_F(RepGroupTest, ButtonWidthFollowsTheNumberOfColumns)
{
    struct Case {
        quint16 columns;
        int width;
    };
    ShowStandard({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")});
    for (const Case c : {Case {1, 372}, Case {2, 185}, Case {3, 122}, Case {4, 91}, Case {1, 372}}) {
        SCOPED_TRACE(c.columns);
        group->setColumns(c.columns);
        EXPECT_EQ(group->columns(), c.columns);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(Button(i)->width(), c.width);
    }
}

TEST_F(RepGroupTest, OneColumnStacksButtonsAsTallAsTheirWrappedText)
{
    const QString longAnswer
        = QStringLiteral("Une réponse assez longue pour occuper plusieurs lignes dans la colonne unique du groupe "
                         "de réponses, et même encore un peu plus pour être sûr qu'elle passe à la ligne.");
    ShowStandard({QStringLiteral("court"), longAnswer, QStringLiteral("fin")});

    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const QLabel* caption = CaptionOf(i);
        EXPECT_EQ(caption->geometry().topLeft(), QPoint(20, 0));
        EXPECT_EQ(caption->width(), Button(i)->width() - 20);
        EXPECT_EQ(Button(i)->height(), caption->height() + 4);
        EXPECT_EQ(Button(i)->x(), 12);
    }
    EXPECT_GT(Button(1)->height(), 2 * Button(0)->height() - 4);
    EXPECT_EQ(Button(0)->y(), group->TopMargin());
    EXPECT_EQ(Button(1)->y(), Button(0)->geometry().bottom() + 1 + 2);
    EXPECT_EQ(Button(2)->y(), Button(1)->geometry().bottom() + 1 + 2);

    // The height rule holds again after a caption change and a size change.
    Button(0)->SetCaption(longAnswer);
    EXPECT_EQ(Button(0)->height(), Button(1)->height());
    Button(2)->resize(372, 100);
    EXPECT_EQ(Button(2)->height(), CaptionOf(2)->height() + 4);
}

TEST_F(RepGroupTest, ARowIsAsTallAsItsTallestButton)
{
    const QString longAnswer = QStringLiteral("Cette réponse est bien trop longue pour tenir sur une seule ligne "
                                              "quand le groupe est partagé en deux colonnes.");
    ShowStandard({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")});
    group->setColumns(2);
    group->setItems({QStringLiteral("A"), longAnswer, QStringLiteral("C"), QStringLiteral("D")});

    EXPECT_GT(Button(1)->height(), Button(0)->height());
    EXPECT_GE(Button(2)->y(), Button(1)->geometry().bottom() + 1 + 2);
}

TEST_F(RepGroupTest, ColumnsChangedOnClozeOrTrueFalseMovesOnlyTheTopMargin)
{
    group->setRType(TRepType::rTrue);
    EXPECT_EQ(group->TopMargin(), 5);
    const QRect first = Button(0)->geometry();
    const QRect second = Button(1)->geometry();

    group->setColumns(1);
    EXPECT_EQ(group->columns(), 1);
    EXPECT_EQ(group->TopMargin(), 12);
    EXPECT_EQ(Button(0)->geometry(), first);
    EXPECT_EQ(Button(1)->geometry(), second);

    group->setRType(TRepType::rOList);
    group->setItems({QStringLiteral("x"), QStringLiteral("y")});
    group->setColumns(3);
    EXPECT_EQ(group->columns(), 3);
    EXPECT_EQ(group->TopMargin(), 12);
    EXPECT_TRUE(ShownCaptions().isEmpty());
    EXPECT_TRUE(OptionList()->isVisible());
}

TEST_F(RepGroupTest, ZeroColumnsIsLaidOutAsOne)
{
    // A cloze question shown once keeps 0 columns until stored; its type may
    // change before that.
    group->setRType(TRepType::rOList);
    group->setColumns(0);
    group->setRType(TRepType::rKWZ);
    group->setItems({QStringLiteral("A"), QStringLiteral("B")});
    group->setColumns(2);
    group->setColumns(0);
    EXPECT_EQ(group->columns(), 1);
    EXPECT_EQ(Button(0)->width(), 372);
    EXPECT_EQ(Button(1)->y(), Button(0)->geometry().bottom() + 1 + 2);

    group->setRType(TRepType::rTrue);
    group->setColumns(0);
    group->resize(kGroupWidth, kGroupHeight + 10);
    EXPECT_EQ(ShownCaptions(), (QStringList {QStringLiteral("Vrai"), QStringLiteral("Faux")}));
}

TEST_F(RepGroupTest, MoveMarkedMovesTheMarkOneDownAndWraps)
{
    struct Case {
        int marked;
        QStringList after;
        int markedAfter;
    };
    const QStringList answers {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")};
    const Case cases[] = {
        {0, {QStringLiteral("B"), QStringLiteral("A"), QStringLiteral("C")}, 1},
        {1, {QStringLiteral("A"), QStringLiteral("C"), QStringLiteral("B")}, 2},
        {2, {QStringLiteral("C"), QStringLiteral("B"), QStringLiteral("A")}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.marked);
        ShowStandard(answers, c.marked);
        group->MoveMarked(c.marked);
        EXPECT_EQ(group->items(), c.after);
        EXPECT_EQ(ShownCaptions(), c.after);
        EXPECT_EQ(group->activItem(), c.markedAfter);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(Button(i)->Check(), i == c.markedAfter) << i;
    }

    // Nothing to move: no mark, or a single answer.
    ShowStandard(answers);
    group->MoveMarked(-1);
    EXPECT_EQ(group->items(), answers);
    ShowStandard({QStringLiteral("seule")}, 0);
    group->MoveMarked(0);
    EXPECT_EQ(group->activItem(), 0);
    EXPECT_EQ(group->items(), QStringList {QStringLiteral("seule")});
}

TEST_F(RepGroupTest, DeleteLastRemovesTheLastAnswerAndItsMark)
{
    ShowStandard({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}, 2);
    group->DeleteLast();
    EXPECT_EQ(group->items(), (QStringList {QStringLiteral("A"), QStringLiteral("B")}));
    EXPECT_EQ(group->ItemCount(), 2);
    EXPECT_EQ(group->activItem(), -1);
    EXPECT_EQ(ShownCaptions(), (QStringList {QStringLiteral("A"), QStringLiteral("B")}));
    EXPECT_EQ(Marks(2), (std::vector<bool> {false, false}));

    group->setActivItem(0);
    group->DeleteLast();
    EXPECT_EQ(group->activItem(), 0);
    EXPECT_EQ(ShownCaptions(), QStringList {QStringLiteral("A")});
    EXPECT_TRUE(Button(0)->Check());

    group->DeleteLast();
    group->DeleteLast(); // empty: nothing happens
    EXPECT_TRUE(group->items().isEmpty());
    EXPECT_EQ(group->ItemCount(), 0);
    EXPECT_TRUE(ShownCaptions().isEmpty());
}

TEST_F(RepGroupTest, LeftPressOnAChoiceLeavesOnlyItMarked)
{
    ShowStandard({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}, 0);
    int lastSignalled = -2;
    QObject::connect(
        group.get(), &TRepGroup::activItemChanged, group.get(), [&lastSignalled](int item) { lastSignalled = item; });

    PressButton(2);
    EXPECT_EQ(group->activItem(), 2);
    EXPECT_EQ(lastSignalled, 2);
    EXPECT_EQ(Marks(3), (std::vector<bool> {false, false, true}));

    // On the caption: the flip and then the click rule leave it marked alone.
    PressCaption(1);
    EXPECT_EQ(group->activItem(), 1);
    EXPECT_EQ(Marks(3), (std::vector<bool> {false, true, false}));

    // On the caption of the marked answer itself: it stays marked.
    PressCaption(1);
    EXPECT_EQ(group->activItem(), 1);
    EXPECT_EQ(Marks(3), (std::vector<bool> {false, true, false}));
    EXPECT_EQ(backgroundPresses, 0);
}

TEST_F(RepGroupTest, OtherMouseButtonsDoNotChooseAnAnswer)
{
    ShowStandard({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}, 0);

    PressButton(1, Qt::RightButton);
    PressButton(2, Qt::MiddleButton);
    EXPECT_EQ(group->activItem(), 0);
    EXPECT_EQ(Marks(3), (std::vector<bool> {true, false, false}));

    // A right press on a caption flips that mark on screen and nothing else.
    PressCaption(0, Qt::RightButton);
    PressCaption(2, Qt::RightButton);
    EXPECT_EQ(group->activItem(), 0);
    EXPECT_EQ(Marks(3), (std::vector<bool> {false, false, true}));
}

TEST_F(RepGroupTest, ClozeOptionIsChosenByClickingItsLine)
{
    ShowStandard({QStringLiteral("A"), QStringLiteral("B")}, 1);
    group->setRType(TRepType::rOList);
    EXPECT_TRUE(OptionList()->isVisible());
    EXPECT_EQ(OptionList()->geometry(), QRect(40, 20, 100, 140));
    EXPECT_TRUE(Title()->isVisible());
    EXPECT_EQ(Title()->text(), QStringLiteral("Liste d'options"));
    EXPECT_EQ(Title()->pos(), QPoint(30, 4));
    EXPECT_TRUE(ChosenLab()->isVisible());
    EXPECT_TRUE(ChosenLab()->text().isEmpty());
    EXPECT_EQ(ChosenLab()->pos(), QPoint(160, 20));
    EXPECT_EQ(ChosenLab()->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_TRUE(ChosenLab()->font().bold());
    EXPECT_EQ(ChosenLab()->font().pointSize(), 12);
    EXPECT_TRUE(ShownCaptions().isEmpty());
    EXPECT_EQ(group->activItem(), -1);

    group->setItems({QStringLiteral("rouge"), QStringLiteral("vert"), QStringLiteral("bleu")});
    ASSERT_EQ(OptionList()->count(), 3);
    EXPECT_EQ(OptionList()->item(2)->text(), QStringLiteral("bleu"));

    QListWidget* list = OptionList();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    EXPECT_EQ(group->activItem(), 1);
    EXPECT_EQ(ChosenLab()->text(), QStringLiteral("vert"));

    group->setActivItem(2);
    EXPECT_EQ(list->currentRow(), 2);
    EXPECT_EQ(ChosenLab()->text(), QStringLiteral("bleu"));

    // The marked option follows a new list of options.
    group->setItems({QStringLiteral("rouge"), QStringLiteral("vert"), QStringLiteral("bleu clair")});
    EXPECT_EQ(ChosenLab()->text(), QStringLiteral("bleu clair"));

    // Moving through the list with the keyboard chooses too.
    QTest::keyClick(list, Qt::Key_Up);
    EXPECT_EQ(group->activItem(), 1);
    EXPECT_EQ(ChosenLab()->text(), QStringLiteral("vert"));

    group->setActivItem(-1);
    EXPECT_TRUE(ChosenLab()->text().isEmpty());
}

TEST_F(RepGroupTest, ClearEmptiesTheGroup)
{
    ShowStandard({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}, 1);
    group->setColumns(3);
    group->Clear();
    EXPECT_TRUE(group->items().isEmpty());
    EXPECT_EQ(group->ItemCount(), 0);
    EXPECT_EQ(group->activItem(), -1);
    EXPECT_EQ(group->columns(), 1);
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(Button(i)->isVisible());
        EXPECT_TRUE(Button(i)->Caption().isEmpty());
        EXPECT_EQ(Button(i)->y(), group->TopMargin());
    }
    // Buttons are kept and reused.
    group->setItems({QStringLiteral("D")});
    EXPECT_EQ(group->findChildren<TExtRadBtn*>().size(), 3);
    EXPECT_EQ(ShownCaptions(), QStringList {QStringLiteral("D")});
}

TEST_F(RepGroupTest, SizeChangeLaysOutAgain)
{
    ShowStandard({QStringLiteral("A"), QStringLiteral("B")}, 0);
    group->resize(300, kGroupHeight);
    EXPECT_EQ(Button(0)->width(), 300 - 24 - 2);
    EXPECT_TRUE(Button(0)->Check());
}

TEST_F(RepGroupTest, OnlyPressesOnTheBackgroundAreReported)
{
    ShowStandard({QStringLiteral("A")});
    QTest::mouseClick(group.get(), Qt::LeftButton, {}, QPoint(kGroupWidth - 5, kGroupHeight - 5));
    EXPECT_EQ(backgroundPresses, 1);
    PressButton(0);
    EXPECT_EQ(backgroundPresses, 1);
}

} // namespace
} // namespace tavimor
