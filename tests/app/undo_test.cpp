// Undo and redo in the editor, with the keys and the "Édition" menu a teacher
// uses: deleted questions come back with their feedback, style changes are
// taken back in the next production, and the save question follows the
// history.
#include "main_window_helpers.h"

#include "app/RepGroup.h"
#include "session/QuizSession.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

namespace tavimor::testing {
namespace {

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class UndoTest : public MainWindowTest {
protected:
    // Three questions; question 3 has its own wrong-answer message.
    TMain& StartOnQuiz()
    {
        WriteSettingsFile();
        TQuizDocument doc;
        for (int n = 1; n <= 3; ++n) {
            TQuest quest = NewQuestion(TRepType::rKWZ);
            quest.QText = "Q" + std::to_string(n);
            quest.Reps = {"a", "b"};
            quest.NRep = 2;
            quest.GoodRep = 1;
            doc.Quests.InsertQuest(n, quest);
        }
        doc.Quests.Quest(3).UseGenMess[kWrongSide] = false;
        doc.Quests.Quest(3).Mess[kWrongSide] = "Relis le chapitre 2.";
        SaveDocument(doc, QFile::encodeName(Path(QStringLiteral("quiz.kwz"))).toStdString());
        return StartOn(Path(QStringLiteral("quiz.kwz")));
    }

    QAction* Undo() { return Find<QAction>("mUndo"); }
    QAction* Redo() { return Find<QAction>("mRedo"); }
};

TEST_F(UndoTest, TheEditMenuNamesTheStepAndIsEnabledOnlyWithOne)
{
    TMain& window = StartOnQuiz();
    QMenu* edit = Find<QMenu>("EditMenu");
    const QList<QAction*> menus = window.menuBar()->actions();
    ASSERT_GE(menus.size(), 3);
    EXPECT_EQ(menus[0]->text(), QStringLiteral("Fichier"));
    EXPECT_EQ(menus[1]->text(), QStringLiteral("Édition"));
    EXPECT_EQ(menus[2]->text(), QStringLiteral("HTML"));
    EXPECT_EQ(edit->actions(), (QList<QAction*> {Undo(), Redo()}));
    EXPECT_EQ(Undo()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_EQ(Redo()->shortcuts(),
        (QList<QKeySequence> {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}));
    EXPECT_FALSE(Undo()->isEnabled());
    EXPECT_FALSE(Redo()->isEnabled());

    ClickMainTab(TMain::kQuestionsTab);
    ClickLine(*Find<QListWidget>("MainQListBox"), 2);
    Click("delQBtn");
    EXPECT_TRUE(Undo()->isEnabled());
    EXPECT_EQ(Undo()->text(), QStringLiteral("Annuler la suppression de la question 3"));
    PressKey(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(Undo()->isEnabled());
    EXPECT_EQ(Redo()->text(), QStringLiteral("Rétablir la suppression de la question 3"));
    PressKey(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(window.Document().Quests.Count(), 2);
    PressKey(Qt::Key_Z, Qt::ControlModifier);
    PressKey(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(window.Document().Quests.Count(), 2);
    EXPECT_FALSE(Redo()->isEnabled());
}

TEST_F(UndoTest, ADeletedQuestionComesBackWithItsFeedback)
{
    TMain& window = StartOnQuiz();
    ClickMainTab(TMain::kQuestionsTab);
    auto* list = Find<QListWidget>("MainQListBox");
    ClickLine(*list, 2);
    Click("delQBtn");
    ASSERT_EQ(Lines(*list), (QStringList {QStringLiteral("1.Q1"), QStringLiteral("2.Q2")}));

    PressKey(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Lines(*list), (QStringList {QStringLiteral("1.Q1"), QStringLiteral("2.Q2"), QStringLiteral("3.Q3")}));
    // The question comes back on screen, with its own wrong-answer message.
    EXPECT_EQ(list->currentRow(), 2);
    EXPECT_EQ(Find<QPlainTextEdit>("QuestEdit")->toPlainText(), QStringLiteral("Q3"));
    EXPECT_EQ(Find<TRepGroup>("RepGroup")->activItem(), 1);
    Click("messBtn0");
    EXPECT_EQ(Find<QPlainTextEdit>("MessEdit")->toPlainText(), QStringLiteral("Relis le chapitre 2."));
    EXPECT_FALSE(Find<QCheckBox>("GGCheck")->isChecked());
    EXPECT_EQ(window.Document().Quests.Quest(3).Mess[kWrongSide], "Relis le chapitre 2.");
    EXPECT_FALSE(window.IsModified());
}

TEST_F(UndoTest, AnUndoneStyleChangeIsNotInTheNextProduction)
{
    TMain& window = StartOnQuiz();
    const QString sheet = Path(QStringLiteral("quiz/hPages/kwzStyle.css"));
    {
        ModalAnswerer answerer;
        PressKey(Qt::Key_F8);
    }
    const QByteArray before = FileBytes(sheet);
    ASSERT_FALSE(before.isEmpty());

    // A margin typed for "Titre 1", taken in by choosing another element.
    ClickMainTab(TMain::kStyleTab);
    auto* elements = Find<QListWidget>("ElemListBox");
    ClickLine(*elements, 1);
    ReplaceText(*Find<QLineEdit>("MarginEdit"), QStringLiteral("3cm"));
    ClickLine(*elements, 2);
    EXPECT_EQ(Undo()->text(), QStringLiteral("Annuler la modification du style"));
    {
        ModalAnswerer answerer;
        PressKey(Qt::Key_F8);
    }
    EXPECT_TRUE(FileBytes(sheet).contains("3cm"));

    PressKey(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(window.Document().Style.StyleSpecs[1].Margin, "");
    {
        ModalAnswerer answerer;
        PressKey(Qt::Key_F8);
    }
    EXPECT_EQ(FileBytes(sheet), before);
    // The tab shows the style taken back.
    ClickLine(*elements, 1);
    EXPECT_EQ(Find<QLineEdit>("MarginEdit")->text(), QString());
}

TEST_F(UndoTest, UndoingBackToTheSavedStateLeavesNothingToSave)
{
    TMain& window = StartOnQuiz();
    ClickMainTab(TMain::kQuestionsTab);
    AppendText(*Find<QPlainTextEdit>("QuestEdit"), QStringLiteral(" bis"));
    ClickLine(*Find<QListWidget>("MainQListBox"), 1);
    Click("delQBtn");
    EXPECT_TRUE(window.IsModified());
    PressKey(Qt::Key_Z, Qt::ControlModifier);
    PressKey(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(window.IsModified());
    EXPECT_EQ(window.Document().Quests.GetQText(0), "Q1");

    const QByteArray saved = FileBytes(Path(QStringLiteral("quiz.kwz")));
    ModalAnswerer answerer;
    window.close();
    EXPECT_TRUE(answerer.Messages().empty());
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(FileBytes(Path(QStringLiteral("quiz.kwz"))), saved);
}

} // namespace
} // namespace tavimor::testing
