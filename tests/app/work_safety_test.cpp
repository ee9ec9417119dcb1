// The editor never loses or misplaces a teacher's work: damaged files,
// reordering, long answer lists, style edits, message-bank edits, cancelled
// dialogs, and the messages that say what happened. Driven with real clicks,
// keys and drags; files on disk are compared byte for byte where work could
// be lost.
#include "main_window_helpers.h"

#include "app/RepGroup.h"

#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>

namespace tavimor::testing {
namespace {

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST_F(MainWindowTest, LeftDragReordersAndTheHighlightAlwaysNamesTheQuestionShown)
{
    TMain& window = StartOnNumbered(4);
    ClickMainTab(TMain::kQuestionsTab);
    auto* list = Find<QListWidget>("MainQListBox");
    auto* text = Find<QPlainTextEdit>("QuestEdit");

    // The press already shows the question pressed; the drop moves it.
    Drag(*list, Qt::LeftButton, LineCenter(*list, 3), LineCenter(*list, 0));
    EXPECT_EQ(Lines(*list),
        (QStringList {QStringLiteral("1.Q4"), QStringLiteral("2.Q1"), QStringLiteral("3.Q2"), QStringLiteral("4.Q3")}));
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_EQ(text->toPlainText(), QStringLiteral("Q4"));
    EXPECT_EQ(Find<QLabel>("QNoLab")->text(), QStringLiteral("1"));

    // Question 1 moves too.
    Drag(*list, Qt::LeftButton, LineCenter(*list, 0), LineCenter(*list, 3));
    EXPECT_EQ(Lines(*list),
        (QStringList {QStringLiteral("1.Q1"), QStringLiteral("2.Q2"), QStringLiteral("3.Q3"), QStringLiteral("4.Q4")}));
    EXPECT_EQ(list->currentRow(), 3);

    // A drag released outside the list moves nothing, and the line pressed
    // is the one shown: "Supprimer la question" removes that one.
    Drag(*list, Qt::LeftButton, LineCenter(*list, 1), QPoint(-30, 5));
    EXPECT_EQ(list->currentRow(), 1);
    EXPECT_EQ(text->toPlainText(), QStringLiteral("Q2"));
    Click("delQBtn");
    EXPECT_EQ(Lines(*list), (QStringList {QStringLiteral("1.Q1"), QStringLiteral("2.Q3"), QStringLiteral("3.Q4")}));
    EXPECT_EQ(window.Document().Quests.Count(), 3);
}

TEST_F(MainWindowTest, EveryAnswerOfALongListCanBeSeenAndMarked)
{
    WriteSettingsFile();
    std::vector<std::string> answers;
    for (int i = 1; i <= 60; ++i)
        answers.push_back("R\xE9ponse " + std::to_string(i));
    WriteDocument(
        Path(QStringLiteral("quiz.kwz")), {{"Q", TRepType::rKWZ, answers, 0, 0}, {"Q2", TRepType::rKWZ, {"a"}, 0, 0}});
    TMain& window = StartOn(Path(QStringLiteral("quiz.kwz")));
    ClickMainTab(TMain::kQuestionsTab);

    auto* scroll = Find<QScrollArea>("RepScroll");
    ASSERT_TRUE(QTest::qWaitFor([scroll] { return scroll->verticalScrollBar()->isVisible(); }));
    auto* last = Find<QWidget>("RepBtn59");
    scroll->verticalScrollBar()->setValue(scroll->verticalScrollBar()->maximum());
    const QPoint onScreen = last->mapTo(scroll->viewport(), QPoint(8, last->height() / 2));
    ASSERT_TRUE(scroll->viewport()->rect().contains(onScreen));
    QTest::mouseClick(last, Qt::LeftButton, {}, QPoint(8, last->height() / 2));
    EXPECT_EQ(Find<TRepGroup>("RepGroup")->activItem(), 59);

    ClickLine(*Find<QListWidget>("MainQListBox"), 1);
    EXPECT_EQ(window.Document().Quests.Quest(1).GoodRep, 59);
    // Three columns scroll the same way.
    ClickLine(*Find<QListWidget>("MainQListBox"), 0);
    Click("colBtn");
    Click("colBtn");
    EXPECT_EQ(Find<TRepGroup>("RepGroup")->columns(), 3);
    EXPECT_TRUE(QTest::qWaitFor([scroll] { return scroll->verticalScrollBar()->isVisible(); }));
    EXPECT_GT(Find<TRepGroup>("RepGroup")->height(), scroll->viewport()->height());
}

TEST_F(MainWindowTest, ADocumentThatFailsToOpenLeavesTheOpenOneAsItWas)
{
    WriteSettingsFile();
    const QString quiz = Path(QStringLiteral("quiz.kwz"));
    WriteDocument(quiz, Numbered(2));
    // Damaged files: a cut sample, a text file with the document extension,
    // and a version no longer read.
    const QString cut = Path(QStringLiteral("chimie.kwz"));
    QFile sample(QStringLiteral(TAVIMOR_TEST_DATA "/../examples/decouverte.kwz"));
    ASSERT_TRUE(sample.open(QIODevice::ReadOnly));
    const QByteArray cutBytes = sample.read(1200);
    const QString text = Path(QStringLiteral("notes.kwz"));
    const QString old = Path(QStringLiteral("ancien.kwz"));
    for (const auto& [path, bytes] : {std::pair {cut, cutBytes},
             std::pair {text, QByteArray("Bonjour\r\nla classe\r\n")}, std::pair {old, QByteArray("\x02\x02", 2)}}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    TMain& window = StartOn(quiz);
    ClickMainTab(TMain::kQuestionsTab);
    AppendText(*Find<QPlainTextEdit>("QuestEdit"), QStringLiteral(" modifiee"));
    ClickLine(*Find<QListWidget>("MainQListBox"), 1);
    ASSERT_TRUE(window.IsModified());

    for (const QString& damaged : {cut, text, old}) {
        ModalAnswerer answerer;
        answerer.Then(ClickButton(QStringLiteral("Non"))); // unsaved changes: not now
        answerer.Then(ChooseFile(damaged));
        answerer.Then(ClickButton(QStringLiteral("OK")));
        Find<QAction>("mOpen")->trigger();
        WaitAnswered(answerer);
        ASSERT_EQ(answerer.Messages().size(), 2u);
        const QString shown = answerer.Messages()[1];
        EXPECT_TRUE(shown.startsWith(
            QStringLiteral("Impossible d'ouvrir « ") + QFileInfo(damaged).fileName() + QStringLiteral(" » :\n")))
            << shown.toStdString();
        if (damaged == cut) {
            EXPECT_TRUE(shown.endsWith(QStringLiteral("\nStream read error")));
        }
        EXPECT_EQ(window.CurrentFile(), quiz);
        EXPECT_EQ(window.windowTitle(), QStringLiteral("quiz.kwz"));
        EXPECT_TRUE(window.IsModified());
        EXPECT_EQ(window.Document().Quests.GetQText(0), "Q1 modifiee");
    }

    // Saving goes to the document that is open; the damaged files stay as they were.
    const QByteArray textBytes = FileBytes(text);
    ModalAnswerer answerer;
    answerer.Then(ClickButton(QStringLiteral("Oui")));
    window.close();
    WaitAnswered(answerer);
    EXPECT_EQ(Reload(quiz).Quests.GetQText(0), "Q1 modifiee");
    EXPECT_EQ(FileBytes(cut), cutBytes);
    EXPECT_EQ(FileBytes(text), textBytes);
}

TEST_F(MainWindowTest, AddingQuestionsToANewDocumentGivesExactlyTheQuestionsAdded)
{
    WriteSettingsFile();
    TMain& window = Start();
    ClickMainTab(TMain::kQuestionsTab);
    auto* list = Find<QListWidget>("MainQListBox");
    {
        ModalAnswerer answerer;
        answerer.Then(ChooseType(TRepType::rKWZ));
        Click("addQBtn");
        WaitAnswered(answerer);
    }
    EXPECT_EQ(Lines(*list), (QStringList {QStringLiteral("1. ")}));
    EXPECT_EQ(window.Document().Quests.Count(), 1);
    AppendText(*Find<QPlainTextEdit>("QuestEdit"), QStringLiteral("Capitale"));

    // Cancelling the type dialog adds nothing and keeps the question on screen.
    {
        ModalAnswerer answerer;
        answerer.Then(Reject());
        Click("addQBtn");
        WaitAnswered(answerer);
    }
    EXPECT_EQ(Lines(*list), (QStringList {QStringLiteral("1.Capitale")}));
    EXPECT_EQ(window.Document().Quests.Count(), 1);
    EXPECT_EQ(Find<QPlainTextEdit>("QuestEdit")->toPlainText(), QStringLiteral("Capitale"));

    {
        ModalAnswerer answerer;
        answerer.Then(ChooseType(TRepType::rTrue));
        Click("addQBtn");
        WaitAnswered(answerer);
    }
    EXPECT_EQ(Lines(*list), (QStringList {QStringLiteral("1.Capitale"), QStringLiteral("2. ")}));
    EXPECT_EQ(window.Document().Quests.Count(), 2);
    EXPECT_EQ(window.Document().Quests.GetQType(2), TRepType::rTrue);
    EXPECT_EQ(Find<QPlainTextEdit>("QuestEdit")->toPlainText(), QString());
}

TEST_F(MainWindowTest, DeletingTheLastQuestionClearsItsFeedbackAndAttachedFile)
{
    WriteSettingsFile();
    TQuizDocument doc;
    doc.Quests.AddQuest();
    TQuest& quest = doc.Quests.Current();
    quest.QText = "Seule";
    quest.Reps = {"a", "b"};
    quest.NRep = 2;
    quest.UseGenMess = {false, false};
    quest.Mess = {"Relis le cours.", "Bravo"};
    quest.UseExtFile = true;
    quest.ExtFile = "\"cours.htm\"";
    quest.ExtLink = "voir le cours: ";
    SaveDocument(doc, QFile::encodeName(Path(QStringLiteral("seule.kwz"))).toStdString());
    StartOn(Path(QStringLiteral("seule.kwz")));
    ClickMainTab(TMain::kQuestionsTab);
    Click("messBtn0");
    ASSERT_EQ(Find<QPlainTextEdit>("MessEdit")->toPlainText(), QStringLiteral("Relis le cours."));

    Click("delQBtn");
    EXPECT_EQ(Find<QPlainTextEdit>("QuestEdit")->toPlainText(), QString());
    EXPECT_EQ(Find<QPlainTextEdit>("MessEdit")->toPlainText(), QString());
    EXPECT_EQ(Find<QPushButton>("ExtFileBtn")->text(), QStringLiteral("nom du fichier..."));
    EXPECT_EQ(Find<QCheckBox>("ExtFileCheck")->text(), QStringLiteral("voir le fichier: "));
    EXPECT_FALSE(Find<QCheckBox>("ExtFileCheck")->isChecked());
    EXPECT_TRUE(Find<TRepGroup>("RepGroup")->items().isEmpty());
}

TEST_F(MainWindowTest, ProductionNamesQuestionsWithoutARightAnswerAndAnUntitledQuizAsksToBeSaved)
{
    WriteSettingsFile();
    WriteDocument(Path(QStringLiteral("quiz.kwz")),
        {{"Q1", TRepType::rKWZ, {"a", "b"}, 0, 0}, {"Q2", TRepType::rKWZ, {"a", "b"}, -1, 0},
            {"Q3", TRepType::rOList, {"x", "y"}, -1, 0}});
    StartOn(Path(QStringLiteral("quiz.kwz")));
    {
        ModalAnswerer answerer;
        PressKey(Qt::Key_F8);
        ASSERT_FALSE(answerer.Messages().empty());
        EXPECT_EQ(answerer.Messages().back(),
            QStringLiteral("Le Test quiz vient d'être créé.\nLa question 2 n'a pas de bonne réponse.\n"
                           "La question 3 n'a pas de bonne réponse."));
        EXPECT_TRUE(QFileInfo::exists(Path(QStringLiteral("quiz/index.html"))));
    }

    Find<QAction>("mNew")->trigger();
    ModalAnswerer untitled;
    PressKey(Qt::Key_F8); // nothing to produce in an empty document
    ClickMainTab(TMain::kQuestionsTab);
    AppendText(*Find<QPlainTextEdit>("QuestEdit"), QStringLiteral("Seule"));
    PressKey(Qt::Key_F8);
    ASSERT_EQ(untitled.Messages().size(), 1u);
    EXPECT_TRUE(untitled.Messages()[0].startsWith(
        QStringLiteral("Le document n'a pas de nom de fichier: enregistrez-le d'abord.\n")));
    EXPECT_TRUE(untitled.Messages()[0].endsWith(QStringLiteral("Impossible de produire le test!")));
}

TEST_F(MainWindowTest, StyleChangesAreSavedAndCountAsChanges)
{
    WriteSettingsFile();
    const QString quiz = Path(QStringLiteral("quiz.kwz"));
    WriteDocument(quiz, Numbered(2));
    TMain& window = StartOn(quiz);

    // Saving and closing an untouched document asks nothing and changes no style.
    Find<QAction>("mSave")->trigger();
    const QByteArray saved = FileBytes(quiz);
    ClickMainTab(TMain::kStyleTab);
    EXPECT_FALSE(window.IsModified());

    // A margin typed for "Titre 1", saved before any commit point of the tab.
    auto* elements = Find<QListWidget>("ElemListBox");
    ClickLine(*elements, 1);
    auto* margin = Find<QLineEdit>("MarginEdit");
    ReplaceText(*margin, QStringLiteral("12px"));
    PressKey(Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(window.IsModified());
    EXPECT_EQ(Reload(quiz).Style.StyleSpecs[1].Margin, "12px");
    EXPECT_NE(FileBytes(quiz), saved);

    // A style change alone brings the save question at "Quitter".
    ClickLine(*elements, 2);
    auto* transparent = Find<QCheckBox>("TranspCheckBox");
    QTest::mouseClick(transparent, Qt::LeftButton, {}, ClickPoint(*transparent));
    ModalAnswerer answerer;
    answerer.Then(ClickButton(QStringLiteral("Annuler")));
    window.close();
    WaitAnswered(answerer);
    ASSERT_EQ(answerer.Messages().size(), 1u);
    EXPECT_EQ(answerer.Messages()[0], QStringLiteral("Enregistrer les modifications apportées à quiz.kwz ?"));
    EXPECT_TRUE(window.isVisible());
}

TEST(QtTexts, TheDialogsOfQtSpeakFrench)
{
    QDialogButtonBox buttons(QDialogButtonBox::Open | QDialogButtonBox::Cancel | QDialogButtonBox::Save);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Annuler"));
    EXPECT_EQ(buttons.button(QDialogButtonBox::Save)->text(), QStringLiteral("Enregistrer"));
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    EXPECT_EQ(dialog.labelText(QFileDialog::LookIn), QStringLiteral("Voir dans :"));
}

} // namespace
} // namespace tavimor::testing
