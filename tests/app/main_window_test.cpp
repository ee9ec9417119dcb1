// The main window driven as a teacher drives it: real clicks, keys and drags
// on the named controls, its dialogs and message boxes answered from a timer.
#include "main_window_helpers.h"

#include "app/RepGroup.h"
#include "platform/AppSettings.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextCursor>
#include <QToolButton>

namespace tavimor::testing {
namespace {

AppSettings ReadSettingsAt(const QString& path)
{
    return ReadSettings(QFile::encodeName(path).toStdString());
}

TEST_F(MainWindowTest, FirstStartCreatesPrefsRegistersOnceAndShowsAnEmptyDocument)
{
    // No system-wide installation of the document type, whatever this machine has.
    const ScopedEnvironment noInstalledType("XDG_DATA_DIRS", Path(QStringLiteral("no-system-data")));
    QDir(Path(QStringLiteral("Prefs"))).removeRecursively();
    ModalAnswerer answerer;
    answerer.Then(ClickButton(QStringLiteral("OK")));
    TMain& window = Start();

    ASSERT_EQ(answerer.Messages().size(), 1u);
    EXPECT_EQ(answerer.Messages()[0], QStringLiteral("Le répertoire Prefs vient d'être créé."));
    EXPECT_TRUE(QFileInfo(Path(QStringLiteral("Prefs"))).isDir());
    EXPECT_EQ(Find<QTabWidget>("MainPages")->currentIndex(), TMain::kInfoTab);
    EXPECT_EQ(window.windowTitle(), QString());
    EXPECT_EQ(Find<QLabel>("ActivThem")->text(), QString());
    EXPECT_EQ(window.Document().Quests.Count(), 0);
    EXPECT_EQ(Find<QListWidget>("MainQListBox")->count(), 0);
    EXPECT_EQ(Find<QLineEdit>("ProfNameEd")->text(), QString());
    EXPECT_TRUE(Find<QCheckBox>("NQCheck")->isChecked());
    EXPECT_EQ(Find<QLineEdit>("NQuestEdit")->text(), QStringLiteral("Ce module compte <Q> questions."));
    EXPECT_FALSE(Find<QCheckBox>("CertCheckBox")->isChecked());
    EXPECT_EQ(Find<QPlainTextEdit>("CertEdit")->toPlainText(), QStringLiteral("Je suis certain(e) de cette réponse."));
    EXPECT_EQ(Find<QLabel>("TitleLab")->text(), QStringLiteral("Titre"));
    EXPECT_EQ(Find<QLabel>("BodyLab")->text(), QStringLiteral("Résumé"));
    EXPECT_EQ(window.Document().Pages.GetTitle(1), "Termin\xE9?");
    EXPECT_EQ(window.Document().Pages.GetBody(2), "Voici vos r\xE9sultats.");
    EXPECT_TRUE(Find<QCheckBox>("PosMenCheck")->isChecked());
    EXPECT_FALSE(Find<QCheckBox>("BorderCheck")->isChecked());

    const QString desktopEntry = Path(QStringLiteral("data/applications/tavimor.desktop"));
    EXPECT_TRUE(QFileInfo::exists(desktopEntry));
    EXPECT_TRUE(window.Settings().RegisterFType);

    window.close();
    EXPECT_TRUE(ReadSettingsAt(SettingsFile()).RegisterFType);

    // The second start neither announces the folder nor registers again.
    QFile::remove(desktopEntry);
    window_.reset();
    ModalAnswerer quiet;
    Start();
    EXPECT_TRUE(quiet.Messages().empty());
    EXPECT_FALSE(QFileInfo::exists(desktopEntry));
}

TEST_F(MainWindowTest, AddingToAnEmptyDocumentGivesTheListLinesOfTheDescription)
{
    WriteSettingsFile();
    TMain& window = Start();
    ClickMainTab(TMain::kQuestionsTab);
    // Entering the tab shows an empty standard question 1, which joins the
    // document once something is written in it; the list stays empty.
    EXPECT_TRUE(Find<QToolButton>("QTypeBtn")->isVisible());
    EXPECT_EQ(Find<QLabel>("QTypeLab")->text(), QStringLiteral("Type: KWZ Standard"));
    EXPECT_EQ(window.Document().Quests.Count(), 0);
    EXPECT_EQ(Find<QListWidget>("MainQListBox")->count(), 0);

    AppendText(*Find<QPlainTextEdit>("QuestEdit"), QStringLiteral("Capitale"));
    ModalAnswerer answerer;
    answerer.Then(ChooseType(TRepType::rTrue));
    Click("addQBtn");
    WaitAnswered(answerer);

    auto* list = Find<QListWidget>("MainQListBox");
    EXPECT_EQ(Lines(*list), (QStringList {QStringLiteral("1.Capitale"), QStringLiteral("2. ")}));
    EXPECT_EQ(list->currentRow(), 1);
    EXPECT_EQ(Find<QLabel>("MaxQLab")->text(), QStringLiteral("2"));
    EXPECT_EQ(Find<QLabel>("QNoLab")->text(), QStringLiteral("2"));
    EXPECT_EQ(Find<QLabel>("QTypeLab")->text(), QStringLiteral("Type: Vrai/Faux"));
    EXPECT_EQ(Find<QPlainTextEdit>("QuestEdit")->toPlainText(), QString());
    EXPECT_EQ(Find<TRepGroup>("RepGroup")->items(), (QStringList {QStringLiteral("Vrai"), QStringLiteral("Faux")}));
    EXPECT_TRUE(Find<QPushButton>("delQBtn")->isEnabled());
    // A new question shows side 1 with its first generic message.
    EXPECT_TRUE(Find<QPushButton>("messBtn1")->isChecked());
    EXPECT_TRUE(Find<QCheckBox>("GGCheck")->isChecked());
    EXPECT_EQ(Find<QPlainTextEdit>("MessEdit")->toPlainText(), QStringLiteral("Cette réponse est la bonne."));
    EXPECT_EQ(window.Document().Quests.Quest(1).QText, "Capitale");
    EXPECT_EQ(window.Document().Quests.Quest(2).QType, TRepType::rTrue);

    // Leaving the tab stores question 2 and hides the type button.
    ClickMainTab(TMain::kInfoTab);
    EXPECT_EQ(Lines(*list), (QStringList {QStringLiteral("1.Capitale"), QStringLiteral("2.")}));
    auto* typeButton = Find<QToolButton>("QTypeBtn");
    EXPECT_TRUE(QTest::qWaitFor([typeButton] { return !typeButton->isVisible(); }, 1000));
}

TEST_F(MainWindowTest, DeletingShowsTheNeighbourAndTheLastDeletionEmptiesTheList)
{
    TMain& window = StartOnNumbered(3);
    ClickMainTab(TMain::kQuestionsTab);
    auto* list = Find<QListWidget>("MainQListBox");

    ClickLine(*list, 2);
    Click("delQBtn");
    EXPECT_EQ(Lines(*list), (QStringList {QStringLiteral("1.Q1"), QStringLiteral("2.Q2")}));
    EXPECT_EQ(Find<QPlainTextEdit>("QuestEdit")->toPlainText(), QStringLiteral("Q2"));
    EXPECT_EQ(Find<QLabel>("QNoLab")->text(), QStringLiteral("2"));
    EXPECT_EQ(Find<QLabel>("MaxQLab")->text(), QStringLiteral("2"));

    ClickLine(*list, 0);
    Click("delQBtn");
    EXPECT_EQ(Lines(*list), (QStringList {QStringLiteral("1.Q2")}));
    EXPECT_EQ(Find<QPlainTextEdit>("QuestEdit")->toPlainText(), QStringLiteral("Q2"));

    Click("delQBtn");
    EXPECT_EQ(list->count(), 0);
    EXPECT_EQ(Find<QLabel>("MaxQLab")->text(), QStringLiteral("0"));
    EXPECT_EQ(window.Document().Quests.CurQ, 0);
    EXPECT_EQ(window.Document().Quests.Count(), 0);
    EXPECT_FALSE(Find<QPushButton>("delQBtn")->isEnabled());

    // Adding to the emptied document gives question 1 and its line only.
    ModalAnswerer answerer;
    answerer.Then(ChooseType(TRepType::rKWZ));
    Click("addQBtn");
    WaitAnswered(answerer);
    EXPECT_EQ(Lines(*list), (QStringList {QStringLiteral("1. ")}));
    EXPECT_EQ(window.Document().Quests.Count(), 1);
}

TEST_F(MainWindowTest, RightButtonDragReordersTheSelectedQuestion)
{
    TMain& window = StartOnNumbered(3);
    ClickMainTab(TMain::kQuestionsTab);
    auto* list = Find<QListWidget>("MainQListBox");
    const TQuestList& quests = window.Document().Quests;

    ClickLine(*list, 2);
    ASSERT_EQ(quests.CurQ, 3);
    RightDrag(*list, LineCenter(*list, 2), LineCenter(*list, 0));
    EXPECT_EQ(Lines(*list), (QStringList {QStringLiteral("1.Q3"), QStringLiteral("2.Q1"), QStringLiteral("3.Q2")}));
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_EQ(quests.CurQ, 1);
    EXPECT_EQ(quests.GetQText(0), "Q3");
    // Nothing was shown: the screen keeps the moved question.
    EXPECT_EQ(Find<QPlainTextEdit>("QuestEdit")->toPlainText(), QStringLiteral("Q3"));
    EXPECT_TRUE(window.IsModified());

    // Question 1 moves like the others.
    RightDrag(*list, LineCenter(*list, 0), LineCenter(*list, 2));
    EXPECT_EQ(Lines(*list), (QStringList {QStringLiteral("1.Q1"), QStringLiteral("2.Q2"), QStringLiteral("3.Q3")}));
    EXPECT_EQ(quests.CurQ, 3);
    EXPECT_EQ(list->currentRow(), 2);

    // Below the last line, or outside the list, nothing moves and the question stays current.
    ClickLine(*list, 1);
    ASSERT_EQ(quests.CurQ, 2);
    const QPoint below(LineCenter(*list, 2).x(), list->viewport()->height() - 3);
    ASSERT_EQ(list->indexAt(below).row(), -1);
    RightDrag(*list, LineCenter(*list, 1), below);
    RightDrag(*list, LineCenter(*list, 1), QPoint(-20, 10));
    EXPECT_EQ(Lines(*list), (QStringList {QStringLiteral("1.Q1"), QStringLiteral("2.Q2"), QStringLiteral("3.Q3")}));
    EXPECT_EQ(quests.CurQ, 2);

    // A right press without a selected line drags nothing and selects nothing.
    list->clearSelection();
    list->setCurrentRow(-1);
    RightDrag(*list, LineCenter(*list, 2), LineCenter(*list, 0));
    EXPECT_EQ(list->currentRow(), -1);
    EXPECT_EQ(quests.GetQText(2), "Q3");
}

TEST_F(MainWindowTest, F4AddsAQuestionOnlyOnTheQuestionsTab)
{
    TMain& window = StartOnNumbered(2);
    window.activateWindow();

    ModalAnswerer answerer;
    auto* name = Find<QLineEdit>("ProfNameEd");
    name->setFocus();
    QTest::keyClick(name, Qt::Key_F4);
    QTest::qWait(30);
    EXPECT_EQ(answerer.Unexpected(), 0);
    EXPECT_EQ(window.Document().Quests.Count(), 2);

    ClickMainTab(TMain::kQuestionsTab);
    answerer.Then(ChooseType(TRepType::rKWZ));
    QTest::keyClick(Find<QPlainTextEdit>("QuestEdit"), Qt::Key_F4);
    WaitAnswered(answerer);
    EXPECT_EQ(window.Document().Quests.Count(), 3);
    EXPECT_EQ(Lines(*Find<QListWidget>("MainQListBox")).last(), QStringLiteral("3. "));

    // Wherever the focus is on that tab.
    answerer.Then(ChooseType(TRepType::rKWZ));
    QTest::keyClick(Find<QListWidget>("MainQListBox"), Qt::Key_F4);
    WaitAnswered(answerer);
    EXPECT_EQ(window.Document().Quests.Count(), 4);
    EXPECT_EQ(answerer.Unexpected(), 0);
}

TEST_F(MainWindowTest, TypeChangesKeepTheTextAndNeverLayOutZeroColumns)
{
    WriteSettingsFile();
    WriteDocument(Path(QStringLiteral("quiz.kwz")),
        {{"Paris est la capitale", TRepType::rKWZ, {"oui", "non"}, 1, 0},
            {"Q2", TRepType::rTrue, {"Vrai", "Faux"}, 0, 0}});
    TMain& window = StartOn(Path(QStringLiteral("quiz.kwz")));
    ClickMainTab(TMain::kQuestionsTab);
    const TQuestList& quests = window.Document().Quests;

    ModalAnswerer answerer;
    answerer.Then(ChooseType(TRepType::rOList));
    Click("QTypeBtn");
    WaitAnswered(answerer);
    EXPECT_EQ(Find<QLabel>("QTypeLab")->text(), QStringLiteral("Type: Liste d'options"));
    EXPECT_EQ(Find<QPlainTextEdit>("QuestEdit")->toPlainText(), QStringLiteral("Paris est la capitale <option>"));
    EXPECT_EQ(quests.GetQType(1), TRepType::rOList);
    EXPECT_EQ(Find<TRepGroup>("RepGroup")->items(), (QStringList {QStringLiteral("oui"), QStringLiteral("non")}));
    EXPECT_FALSE(Find<QLabel>("InfoLab")->isVisible());
    EXPECT_FALSE(Find<QToolButton>("colBtn")->isVisible());
    EXPECT_EQ(quests.GetColumns(1), 0);

    // Back to standard through the type label: 0 columns are laid out as 1.
    answerer.Then(ChooseType(TRepType::rKWZ));
    QTest::mouseClick(Find<QLabel>("QTypeLab"), Qt::LeftButton);
    WaitAnswered(answerer);
    EXPECT_EQ(Find<QLabel>("QTypeLab")->text(), QStringLiteral("Type: KWZ Standard"));
    EXPECT_EQ(Find<TRepGroup>("RepGroup")->columns(), 1);
    EXPECT_EQ(Find<QToolButton>("colBtn")->text(), QStringLiteral("1"));
    EXPECT_TRUE(Find<QToolButton>("colBtn")->isVisible());
    // A marker elsewhere than at the very start stays.
    EXPECT_EQ(Find<QPlainTextEdit>("QuestEdit")->toPlainText(), QStringLiteral("Paris est la capitale <option>"));
    EXPECT_EQ(Find<TRepGroup>("RepGroup")->activItem(), 1);

    // A true/false question given a third answer becomes a standard one.
    ClickLine(*Find<QListWidget>("MainQListBox"), 1);
    ASSERT_EQ(Find<QLabel>("QTypeLab")->text(), QStringLiteral("Type: Vrai/Faux"));
    answerer.Then([](QWidget& editor) {
        QTest::mouseClick(editor.findChild<QToolButton*>(QStringLiteral("AddRepBtn")), Qt::LeftButton);
        QTest::keyClicks(editor.findChild<QWidget*>(QStringLiteral("RepText")), QStringLiteral("Parfois"));
        QTest::mouseClick(editor.findChild<QPushButton*>(QStringLiteral("AcceptBtn")), Qt::LeftButton);
    });
    Click("REdBtn");
    WaitAnswered(answerer);
    EXPECT_EQ(Find<QLabel>("QTypeLab")->text(), QStringLiteral("Type: KWZ Standard"));
    EXPECT_EQ(quests.GetQType(2), TRepType::rKWZ);
    EXPECT_EQ(quests.GetReps(1), (std::vector<std::string> {"Vrai", "Faux", "Parfois"}));
    EXPECT_EQ(Find<TRepGroup>("RepGroup")->activItem(), -1);
}

TEST_F(MainWindowTest, NextColumnsCyclesThroughTheAnswers)
{
    WriteSettingsFile();
    WriteDocument(Path(QStringLiteral("quiz.kwz")), {{"Q", TRepType::rKWZ, {"a", "b", "c", "d"}, 0, 0}});
    StartOn(Path(QStringLiteral("quiz.kwz")));
    ClickMainTab(TMain::kQuestionsTab);
    QStringList shown;
    for (int i = 0; i < 5; ++i) {
        Click("colBtn");
        shown << Find<QToolButton>("colBtn")->text();
    }
    EXPECT_EQ(shown,
        (QStringList {
            QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("1"), QStringLiteral("2")}));
    EXPECT_EQ(Find<TRepGroup>("RepGroup")->columns(), 2);
}

TEST_F(MainWindowTest, TitleAndNameLabelOfADottedFileName)
{
    WriteSettingsFile();
    const QString path = Path(QStringLiteral("quiz.final.kwz"));
    WriteDocument(path, Numbered(2));
    TMain& window = Start();
    ModalAnswerer answerer;
    answerer.Then(ChooseFile(path));
    Find<QAction>("mOpen")->trigger();
    WaitAnswered(answerer);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("quiz.final.kwz"));
    EXPECT_EQ(Find<QLabel>("ActivThem")->text(), QStringLiteral("quiz"));
    EXPECT_EQ(window.CurrentFile(), path);
    EXPECT_EQ(Find<QListWidget>("MainQListBox")->count(), 2);
    EXPECT_EQ(Find<QLabel>("MaxQLab")->text(), QStringLiteral("2"));

    // A name without a point gives an empty name label.
    const QString plain = Path(QStringLiteral("quiz"));
    WriteDocument(plain, Numbered(1));
    window_.reset();
    TMain& again = StartOn(plain);
    EXPECT_EQ(again.windowTitle(), QStringLiteral("quiz"));
    EXPECT_EQ(Find<QLabel>("ActivThem")->text(), QString());
}

TEST_F(MainWindowTest, AutoLoadOfAMissingFileShowsTheLongMessageAndForgetsIt)
{
    WriteSettingsFile(QStringLiteral("AutoLoad=1\r\nLastFileName=%1\r\n").arg(Path(QStringLiteral("gone/quiz.kwz"))));
    ModalAnswerer answerer;
    answerer.Then(ClickButton(QStringLiteral("OK")));
    TMain& window = Start();
    ASSERT_EQ(answerer.Messages().size(), 1u);
    EXPECT_EQ(answerer.Messages()[0],
        QStringLiteral("Impossible d'ouvrir dernier fichier chargé: \"quiz.kwz\"\n\n"
                       "Ou bien ce fichier n'existe plus, ou bien \nil ne se trouve plus à l'emplacement occupé \n"
                       "lors de la dernière ouverture.\n\nLe programme ouvrira un nouveau fichier."));
    EXPECT_EQ(window.CurrentFile(), QString());
    EXPECT_EQ(window.Document().Quests.Count(), 0);
    window.close();
    EXPECT_EQ(ReadSettingsAt(SettingsFile()).LastFileName, "");
}

TEST_F(MainWindowTest, AutoLoadOpensTheLastFileAndShutDownRemembersIt)
{
    const QString path = Path(QStringLiteral("dernier.kwz"));
    WriteDocument(path, Numbered(2));
    WriteSettingsFile(QStringLiteral("AutoLoad=1\r\nLastFileName=%1\r\nProfesseur=Ancien\r\n").arg(path));
    TMain& window = Start();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("dernier.kwz"));
    EXPECT_EQ(window.Document().Quests.Count(), 2);

    ReplaceText(*Find<QLineEdit>("ProfNameEd"), QStringLiteral("Mme Tremblay"));
    ModalAnswerer answerer;
    answerer.Then(ClickButton(QStringLiteral("Non")));
    window.close();
    WaitAnswered(answerer);
    const AppSettings settings = ReadSettingsAt(SettingsFile());
    EXPECT_EQ(settings.LastFileName, path.toStdString());
    EXPECT_EQ(settings.Professeur, "Mme Tremblay");
    // "Non" wrote no document.
    EXPECT_EQ(Reload(path).Header.AuthorName, "");
}

TEST_F(MainWindowTest, PriorityIsShownBackWithItsQuestion)
{
    WriteSettingsFile();
    WriteDocument(
        Path(QStringLiteral("quiz.kwz")), {{"Q1", TRepType::rKWZ, {"a"}, 0, 2}, {"Q2", TRepType::rKWZ, {"a"}, 0, 0}});
    TMain& window = StartOn(Path(QStringLiteral("quiz.kwz")));
    ClickMainTab(TMain::kQuestionsTab);
    auto* list = Find<QListWidget>("MainQListBox");
    EXPECT_TRUE(Find<QRadioButton>("PriItem2")->isChecked());

    ClickLine(*list, 1);
    EXPECT_TRUE(Find<QRadioButton>("PriItem0")->isChecked());
    EXPECT_EQ(window.Document().Quests.Quest(1).Priority, 2);

    ClickLine(*list, 0);
    EXPECT_TRUE(Find<QRadioButton>("PriItem2")->isChecked());
    QTest::mouseClick(Find<QRadioButton>("PriItem1"), Qt::LeftButton, {}, QPoint(8, 9));
    ClickLine(*list, 1);
    EXPECT_EQ(window.Document().Quests.Quest(1).Priority, 1);
    EXPECT_EQ(window.Document().Quests.Quest(2).Priority, 0);
}

TEST_F(MainWindowTest, LeavingTheQuestionsTabKeepsTheTypedText)
{
    TMain& window = StartOnNumbered(3);
    ClickMainTab(TMain::kQuestionsTab);
    auto* list = Find<QListWidget>("MainQListBox");
    ClickLine(*list, 2);
    AppendText(*Find<QPlainTextEdit>("QuestEdit"), QStringLiteral(" bis"));

    ClickMainTab(TMain::kMessagesTab);
    EXPECT_EQ(window.Document().Quests.GetQText(2), "Q3 bis");
    EXPECT_EQ(list->item(2)->text(), QStringLiteral("3.Q3 bis"));
    EXPECT_TRUE(window.IsModified());

    // Entering the tab again shows question 1, as stored.
    ClickMainTab(TMain::kQuestionsTab);
    EXPECT_EQ(Find<QPlainTextEdit>("QuestEdit")->toPlainText(), QStringLiteral("Q1"));
    EXPECT_EQ(window.Document().Quests.CurQ, 1);
}

TEST_F(MainWindowTest, NewAsksAboutUnsavedEditsAndOnlyThen)
{
    WriteSettingsFile();
    const QString path = Path(QStringLiteral("quiz.kwz"));
    WriteDocument(path, Numbered(2));
    TMain& window = StartOn(path);

    // Browsing is not editing: no question.
    ClickMainTab(TMain::kQuestionsTab);
    ClickLine(*Find<QListWidget>("MainQListBox"), 1);
    ClickMainTab(TMain::kMessagesTab);
    ClickMainTab(TMain::kInfoTab);
    EXPECT_FALSE(window.IsModified());

    ReplaceText(*Find<QLineEdit>("ProfNameEd"), QStringLiteral("Dupont"));
    ModalAnswerer answerer;
    answerer.Then(ClickButton(QStringLiteral("Annuler")));
    Find<QAction>("mNew")->trigger();
    WaitAnswered(answerer);
    ASSERT_EQ(answerer.Messages().size(), 1u);
    EXPECT_EQ(answerer.Messages()[0], QStringLiteral("Enregistrer les modifications apportées à quiz.kwz ?"));
    EXPECT_EQ(Find<QLineEdit>("ProfNameEd")->text(), QStringLiteral("Dupont"));
    EXPECT_EQ(window.CurrentFile(), path);

    answerer.Then(ClickButton(QStringLiteral("Oui")));
    Find<QAction>("mNew")->trigger();
    WaitAnswered(answerer);
    EXPECT_EQ(Reload(path).Header.AuthorName, "Dupont");
    EXPECT_EQ(window.CurrentFile(), QString());
    EXPECT_EQ(window.Document().Quests.Count(), 0);
    EXPECT_FALSE(window.IsModified());

    // An untitled document with a typed question; "Non" drops it.
    ClickMainTab(TMain::kQuestionsTab);
    AppendText(*Find<QPlainTextEdit>("QuestEdit"), QStringLiteral("Brouillon"));
    answerer.Then(ClickButton(QStringLiteral("Non")));
    Find<QAction>("mNew")->trigger();
    WaitAnswered(answerer);
    ASSERT_EQ(answerer.Messages().size(), 3u);
    EXPECT_EQ(answerer.Messages()[2], QStringLiteral("Enregistrer les modifications apportées à sans titre ?"));
    EXPECT_EQ(window.Document().Quests.Count(), 0);
    EXPECT_EQ(Find<QPlainTextEdit>("QuestEdit")->toPlainText(), QString());
}

TEST_F(MainWindowTest, ACoreErrorIsShownAndTheWindowStaysUsable)
{
    WriteSettingsFile();
    const QString path = Path(QStringLiteral("abime.kwz"));
    WriteDocument(path, Numbered(5));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.resize(file.size() / 2));
    file.close();

    TMain& window = Start();
    ModalAnswerer answerer;
    answerer.Then(ChooseFile(path));
    answerer.Then(ClickButton(QStringLiteral("OK")));
    Find<QAction>("mOpen")->trigger();
    WaitAnswered(answerer);
    ASSERT_EQ(answerer.Messages().size(), 1u);
    EXPECT_EQ(answerer.Messages()[0], QStringLiteral("Impossible d'ouvrir « abime.kwz » :\nStream read error"));
    // Nothing of the damaged file was taken: the empty document stays, untitled.
    EXPECT_EQ(window.Document().Quests.Count(), 0);
    EXPECT_TRUE(window.CurrentFile().isEmpty());

    // Still usable: adding works.
    ClickMainTab(TMain::kQuestionsTab);
    answerer.Then(ChooseType(TRepType::rKWZ));
    Click("addQBtn");
    WaitAnswered(answerer);
    EXPECT_EQ(window.Document().Quests.Count(), 1);

    // A file that does not exist, given as the program's argument.
    window_.reset();
    answerer.Then(ClickButton(QStringLiteral("OK")));
    TMain& other = StartOn(Path(QStringLiteral("absent.kwz")));
    ASSERT_EQ(answerer.Messages().size(), 2u);
    EXPECT_EQ(answerer.Messages()[1],
        QStringLiteral("Impossible d'ouvrir « absent.kwz » :\nCannot open file ") + Path(QStringLiteral("absent.kwz")));
    EXPECT_TRUE(other.CurrentFile().isEmpty());
    EXPECT_EQ(other.Document().Quests.Count(), 0);
    EXPECT_EQ(answerer.Unexpected(), 0);
}

TEST_F(MainWindowTest, SavingStoresThePageTextShownAndTheLayoutBoxes)
{
    WriteSettingsFile();
    const QString path = Path(QStringLiteral("quiz.kwz"));
    WriteDocument(path, Numbered(1));
    StartOn(path);
    ClickMainTab(TMain::kMessagesTab);
    ReplaceText(*Find<QLineEdit>("TitleEd"), QStringLiteral("Bienvenue"));
    ClickMainTab(TMain::kLayoutTab);
    QTest::mouseClick(Find<QCheckBox>("BorderCheck"), Qt::LeftButton, {}, QPoint(8, 11));
    ClickMainTab(TMain::kMessagesTab);
    // Page tab "Entrée" is shown again with the text typed before.
    EXPECT_EQ(Find<QLineEdit>("TitleEd")->text(), QStringLiteral("Bienvenue"));
    AppendText(*Find<QPlainTextEdit>("BodyRed"), QStringLiteral("Bonne chance"));

    QTest::keyClick(Find<QLineEdit>("TitleEd"), Qt::Key_S, Qt::ControlModifier);
    const TQuizDocument saved = Reload(path);
    EXPECT_EQ(saved.Pages.GetTitle(0), "Bienvenue");
    EXPECT_EQ(saved.Pages.GetBody(0), "Bonne chance");
    EXPECT_TRUE(saved.Layout.NoBorder);
}

TEST_F(MainWindowTest, ProducingStoresTheQuestionOnScreenFirst)
{
    WriteSettingsFile();
    const QString path = Path(QStringLiteral("quiz.kwz"));
    WriteDocument(path, Numbered(2));
    TMain& window = StartOn(path);
    ClickMainTab(TMain::kQuestionsTab);
    AppendText(*Find<QPlainTextEdit>("QuestEdit"), QStringLiteral(" nouveau"));

    ModalAnswerer answerer; // folder announcements and the final message are closed
    QTest::keyClick(Find<QPlainTextEdit>("QuestEdit"), Qt::Key_F8);
    EXPECT_EQ(window.Document().Quests.GetQText(0), "Q1 nouveau");
    QFile script(Path(QStringLiteral("quiz/hPages/quiz.js")));
    ASSERT_TRUE(script.open(QIODevice::ReadOnly));
    EXPECT_TRUE(script.readAll().contains("Q1 nouveau"));
    EXPECT_FALSE(answerer.Messages().empty());
}

TEST_F(MainWindowTest, ExportWritesTheTextBesideTheDocument)
{
    WriteSettingsFile();
    QDir(dir_.path()).mkpath(QStringLiteral("Cours.2024"));
    const QString path = Path(QStringLiteral("Cours.2024/quiz.kwz"));
    WriteDocument(path, Numbered(1));
    StartOn(path);
    ModalAnswerer answerer;
    answerer.Then(ClickButton(QStringLiteral("OK")));
    Find<QAction>("mExport")->trigger();
    WaitAnswered(answerer);
    ASSERT_EQ(answerer.Messages().size(), 1u);
    EXPECT_EQ(answerer.Messages()[0],
        QStringLiteral("Un fichier du nom de quiz.txt vient d'être produit dans le dossier de Tavimor."));
    EXPECT_TRUE(QFileInfo::exists(Path(QStringLiteral("Cours.2024/quiz.txt"))));
}

TEST_F(MainWindowTest, OpeningAndListingTwoThousandQuestionsIsQuick)
{
    WriteSettingsFile();
    const QString path = Path(QStringLiteral("grand.kwz"));
    std::vector<QuestionSpec> questions;
    for (int i = 1; i <= 2000; ++i)
        questions.push_back({"Question " + std::to_string(i) + " : quelle r\xE9ponse est la bonne ?", TRepType::rKWZ,
            {"un", "deux", "trois", "quatre", "cinq", "six"}, 2, 0});
    WriteDocument(path, questions);

    QElapsedTimer clock;
    clock.start();
    StartOn(path);
    const qint64 openMs = clock.elapsed();
    auto* list = Find<QListWidget>("MainQListBox");
    ASSERT_EQ(list->count(), 2000);
    EXPECT_EQ(list->item(1999)->text(), QStringLiteral("2000.Question 2000 : quelle réponse est la bonne ?"));

    clock.restart();
    Window().RebuildList();
    const qint64 rebuildMs = clock.elapsed();
    std::printf("[ timing ] start-up with a 2000-question document: %lld ms, list rebuilt: %lld ms\n",
        static_cast<long long>(openMs), static_cast<long long>(rebuildMs));
    EXPECT_LT(openMs, 500);
    EXPECT_LT(rebuildMs, 200);
}

TEST_F(MainWindowTest, PreferencesChangeOnlyWhenAccepted)
{
    WriteSettingsFile();
    TMain& window = Start();
    ModalAnswerer answerer;
    answerer.Then([](QWidget& form) {
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Préférences"));
        EXPECT_FALSE(form.findChild<QCheckBox*>(QStringLiteral("fullPalCheck"))->isVisible());
        QTest::mouseClick(form.findChild<QCheckBox*>(QStringLiteral("SaveIDCheck")), Qt::LeftButton, {}, QPoint(8, 12));
        qobject_cast<QDialog*>(&form)->reject();
    });
    Find<QAction>("mPrefs")->trigger();
    WaitAnswered(answerer);
    EXPECT_TRUE(window.Settings().SaveID);

    answerer.Then([](QWidget& form) {
        QTest::mouseClick(
            form.findChild<QCheckBox*>(QStringLiteral("AutoLoadCheck")), Qt::LeftButton, {}, QPoint(8, 12));
        QTest::mouseClick(form.findChild<QCheckBox*>(QStringLiteral("SaveIDCheck")), Qt::LeftButton, {}, QPoint(8, 12));
        QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("AcceptBtn")), Qt::LeftButton);
    });
    Find<QAction>("mPrefs")->trigger();
    WaitAnswered(answerer);
    EXPECT_TRUE(window.Settings().AutoLoad);
    EXPECT_FALSE(window.Settings().SaveID);
}

} // namespace
} // namespace tavimor::testing
