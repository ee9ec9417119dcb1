// Messages editing driven as a teacher drives it: the feedback sides of the
// "Mess." sub-page, the generic-message chooser, the attached file, the
// generic banks, the page texts and the renamable labels of the "Messages" tab.
#include "main_window_helpers.h"

#include "app/MessagesTab.h"
#include "platform/AppSettings.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QToolButton>

namespace tavimor::testing {
namespace {

const QString kRightDefault = QStringLiteral("Cette réponse est la bonne.");
const QString kWrongDefault = QStringLiteral("Cette réponse est fausse.");

void ClickTab(QTabBar& bar, int index)
{
    QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.tabRect(index).center());
}

// Three questions, a right-answer bank of three messages; question 1 uses
// the third one, question 2 the second, question 3 the first; question 2
// has an attached file.
void WriteBankDocument(const QString& path)
{
    TQuizDocument doc;
    doc.Quests.GenMess[kRightSide] = {"Bien.", "Tr\xE8s bien.", "Excellent."};
    for (int i = 1; i <= 3; ++i) {
        doc.Quests.AddQuest();
        TQuest& quest = doc.Quests.Current();
        quest.QText = "Q" + std::to_string(i);
        quest.Reps = {"a", "b"};
        quest.NRep = 2;
        quest.GoodRep = 0;
        quest.MessIdx[kRightSide] = 3 - i;
        quest.ExtLink = "voir le fichier: ";
        quest.ExtFile = "nom du fichier...";
    }
    doc.Quests.Quest(2).ExtFile = "\"corr.htm\"";
    SaveDocument(doc, QFile::encodeName(path).toStdString());
}

class MessagesTest : public MainWindowTest {
protected:
    TMain& StartOnBanks()
    {
        WriteSettingsFile();
        WriteBankDocument(Path(QStringLiteral("banques.kwz")));
        return StartOn(Path(QStringLiteral("banques.kwz")));
    }

    void ShowMessPage()
    {
        auto* pages = Find<QTabWidget>("QuestPages");
        ClickTab(*pages->findChild<QTabBar*>(QString(), Qt::FindDirectChildrenOnly), 1);
    }

    void Tick(const char* name)
    {
        auto* box = Find<QCheckBox>(name);
        QTest::mouseClick(box, Qt::LeftButton, {}, ClickPoint(*box));
    }

    // A press on the message panel's own background stores the side shown.
    void PressMessPanel() { QTest::mouseClick(Find<QWidget>("MessPanl"), Qt::LeftButton, {}, QPoint(495, 250)); }

    void StepBank(bool forward)
    {
        auto* upDown = Find<TUpDown>("gMUpD");
        QTest::mouseClick(forward ? upDown->NextBtn : upDown->PrevBtn, Qt::LeftButton);
    }

    QString Counter() { return Find<QLabel>("GMNo")->text() + QLatin1Char('/') + Find<QLabel>("maxGMess")->text(); }

    const TQuest& Quest(int n) { return Window().Document().Quests.Quest(n); }
};

TEST_F(MessagesTest, FeedbackSidesOfANewQuestion)
{
    WriteSettingsFile();
    TMain& window = Start();
    ClickMainTab(TMain::kQuestionsTab);
    ShowMessPage();
    // The question the tab appended shows its generic message at once.
    EXPECT_EQ(Find<QPlainTextEdit>("MessEdit")->toPlainText(), kRightDefault);

    ModalAnswerer answerer;
    answerer.Then(ChooseType(TRepType::rKWZ));
    Click("addQBtn");
    WaitAnswered(answerer);
    // The untouched question the tab showed is the one added.
    ASSERT_EQ(window.Document().Quests.CurQ, 1);
    auto* messEdit = Find<QPlainTextEdit>("MessEdit");
    auto* chMsgBtn = Find<QPushButton>("ChMsgBtn");
    EXPECT_TRUE(Find<QPushButton>("messBtn1")->isChecked());
    EXPECT_TRUE(Find<QCheckBox>("GGCheck")->isChecked());
    EXPECT_EQ(messEdit->toPlainText(), kRightDefault);
    EXPECT_TRUE(messEdit->isReadOnly());
    EXPECT_FALSE(messEdit->isEnabled());
    EXPECT_TRUE(chMsgBtn->isVisible());
    for (const char* name : {"ExtFileCheck", "ExtFileBtn", "ReUseFileBtn"})
        EXPECT_FALSE(Find<QWidget>(name)->isVisible()) << name;

    // Stored while generic, the side's own text is the generic text.
    PressMessPanel();
    EXPECT_EQ(Quest(1).Mess[kRightSide], "Cette r\xE9ponse est la bonne.");
    Tick("GGCheck");
    EXPECT_TRUE(messEdit->isEnabled());
    EXPECT_FALSE(messEdit->isReadOnly());
    EXPECT_FALSE(chMsgBtn->isVisible());
    EXPECT_EQ(messEdit->toPlainText(), kRightDefault);

    ReplaceText(*messEdit, QStringLiteral("Bravo, c'est juste!"));
    Click("messBtn0");
    EXPECT_EQ(Quest(1).Mess[kRightSide], "Bravo, c'est juste!");
    EXPECT_FALSE(Quest(1).UseGenMess[kRightSide]);
    // The wrong side, with its attached file; the Messages tab follows the side.
    EXPECT_EQ(messEdit->toPlainText(), kWrongDefault);
    EXPECT_TRUE(Find<QPushButton>("GMessBtn0")->isChecked());
    auto* extFileCheck = Find<QCheckBox>("ExtFileCheck");
    EXPECT_TRUE(extFileCheck->isVisible());
    EXPECT_EQ(extFileCheck->text(), QStringLiteral("voir ... "));
    EXPECT_FALSE(Find<QWidget>("ExtFileBtn")->isVisible());
    Tick("ExtFileCheck");
    EXPECT_TRUE(Find<QWidget>("ExtFileBtn")->isVisible());
    EXPECT_TRUE(Find<QWidget>("ReUseFileBtn")->isVisible());
    EXPECT_TRUE(Quest(1).UseExtFile);

    Click("messBtn1");
    for (const char* name : {"ExtFileCheck", "ExtFileBtn", "ReUseFileBtn"})
        EXPECT_FALSE(Find<QWidget>(name)->isVisible()) << name;
    EXPECT_FALSE(Find<QCheckBox>("GGCheck")->isChecked());
    EXPECT_EQ(messEdit->toPlainText(), QStringLiteral("Bravo, c'est juste!"));
    // Back to the generic message: the own text typed is kept.
    Tick("GGCheck");
    EXPECT_EQ(messEdit->toPlainText(), kRightDefault);
    EXPECT_EQ(Quest(1).Mess[kRightSide], "Bravo, c'est juste!");
}

TEST_F(MessagesTest, GenericBanksAddDeleteAndWrap)
{
    TMain& window = StartOnBanks();
    ClickMainTab(TMain::kMessagesTab);
    auto* entry = Find<QPlainTextEdit>("GMessEdit");
    auto* del = Find<QPushButton>("btnDelMess");
    EXPECT_TRUE(Find<QPushButton>("GMessBtn1")->isChecked());
    EXPECT_EQ(entry->toPlainText(), QStringLiteral("Bien."));
    EXPECT_EQ(Counter(), QStringLiteral("1/3"));
    EXPECT_FALSE(window.IsModified());

    // Back from the first entry wraps to the last; deleting it shows the second.
    StepBank(false);
    EXPECT_EQ(entry->toPlainText(), QStringLiteral("Excellent."));
    EXPECT_EQ(Counter(), QStringLiteral("3/3"));
    QTest::mouseClick(del, Qt::LeftButton);
    EXPECT_EQ(entry->toPlainText(), QStringLiteral("Très bien."));
    EXPECT_EQ(Counter(), QStringLiteral("2/2"));
    const TQuestList& quests = window.Document().Quests;
    EXPECT_EQ(quests.GenMess[kRightSide], (std::vector<std::string> {"Bien.", "Tr\xE8s bien."}));
    // The question that used the removed message falls back to the first;
    // the others keep theirs.
    EXPECT_EQ(Quest(1).MessIdx[kRightSide], 0);
    EXPECT_EQ(Quest(2).MessIdx[kRightSide], 1);
    EXPECT_EQ(Quest(3).MessIdx[kRightSide], 0);
    EXPECT_TRUE(window.IsModified());

    // The wrong-answer bank: one entry, "-" disabled; "+" gives an empty second.
    Click("GMessBtn0");
    EXPECT_EQ(entry->toPlainText(), kWrongDefault);
    EXPECT_EQ(Counter(), QStringLiteral("1/1"));
    EXPECT_FALSE(del->isEnabled());
    Click("btnAddMess");
    EXPECT_EQ(Counter(), QStringLiteral("2/2"));
    EXPECT_EQ(entry->toPlainText(), QString());
    EXPECT_TRUE(del->isEnabled());
    AppendText(*entry, QStringLiteral("Relis la question."));
    StepBank(true);
    EXPECT_EQ(entry->toPlainText(), kWrongDefault);
    EXPECT_EQ(Counter(), QStringLiteral("1/2"));
    StepBank(true);
    EXPECT_EQ(entry->toPlainText(), QStringLiteral("Relis la question."));
    EXPECT_EQ(quests.GenMess[kWrongSide].back(), "Relis la question.");

    // An edit of an entry reaches the bank without moving (a save right after keeps it).
    AppendText(*entry, QStringLiteral(" Encore."));
    EXPECT_EQ(quests.GenMess[kWrongSide].back(), "Relis la question. Encore.");
    Click("GMessBtn1");
    EXPECT_EQ(entry->toPlainText(), QStringLiteral("Bien."));
    EXPECT_EQ(Counter(), QStringLiteral("1/2"));
}

TEST_F(MessagesTest, DeletingAGenericMessageRepairsTheQuestionOnScreenToo)
{
    StartOnBanks();
    // Question 1, shown, uses the third right-answer message.
    ClickMainTab(TMain::kQuestionsTab);
    ShowMessPage();
    ASSERT_EQ(Find<QPlainTextEdit>("MessEdit")->toPlainText(), QStringLiteral("Excellent."));
    ClickMainTab(TMain::kMessagesTab);
    StepBank(true);
    ASSERT_EQ(Counter(), QStringLiteral("2/3"));
    Click("btnDelMess");

    ModalAnswerer answerer;
    PressKey(Qt::Key_F8);
    for (const QString& message : answerer.Messages())
        EXPECT_FALSE(message.contains(QStringLiteral("out of bounds"))) << message.toStdString();
    EXPECT_TRUE(QFileInfo::exists(Path(QStringLiteral("banques/index.html"))));
    EXPECT_EQ(Quest(1).MessIdx[kRightSide], 1);
    Find<QAction>("mSave")->trigger();
    const TQuizDocument saved = Reload(Path(QStringLiteral("banques.kwz")));
    EXPECT_EQ(saved.Quests.Quest(1).MessIdx[kRightSide], 1);
    EXPECT_EQ(saved.Quests.Quest(2).MessIdx[kRightSide], 0);
    ClickMainTab(TMain::kQuestionsTab);
    EXPECT_EQ(Find<QPlainTextEdit>("MessEdit")->toPlainText(), QStringLiteral("Excellent."));
}

TEST_F(MessagesTest, ChooserSetsOnlyTheQuestionOnScreen)
{
    TMain& window = StartOnBanks();
    ClickMainTab(TMain::kQuestionsTab);
    auto* list = Find<QListWidget>("MainQListBox");
    ClickLine(*list, 2);
    ShowMessPage();
    auto* messEdit = Find<QPlainTextEdit>("MessEdit");
    auto* chooser = Find<QWidget>("MChooserPan");
    auto* entry = Find<QPlainTextEdit>("GMessEdit");
    EXPECT_EQ(messEdit->toPlainText(), QStringLiteral("Bien."));

    Click("ChMsgBtn");
    ASSERT_TRUE(chooser->isVisible());
    EXPECT_EQ(entry->parentWidget(), chooser);
    EXPECT_FALSE(entry->isEnabled());
    EXPECT_EQ(entry->toPlainText(), QStringLiteral("Bien."));
    StepBank(true);
    StepBank(true);
    EXPECT_EQ(entry->toPlainText(), QStringLiteral("Excellent."));
    EXPECT_EQ(Find<QLabel>("GMNo")->text(), QStringLiteral("3"));
    EXPECT_EQ(Quest(3).MessIdx[kRightSide], 0); // browsing stores nothing
    EXPECT_FALSE(window.IsModified());

    Click("MChooserOkBtn");
    EXPECT_FALSE(chooser->isVisible());
    EXPECT_EQ(messEdit->toPlainText(), QStringLiteral("Excellent."));
    EXPECT_EQ(Quest(3).MessIdx[kRightSide], 2);
    EXPECT_EQ(entry->parentWidget(), Find<QWidget>("GMessGroup"));
    EXPECT_TRUE(entry->isEnabled());
    EXPECT_TRUE(window.IsModified());

    // Showing question 2 and storing it keeps its own index.
    ClickLine(*list, 1);
    EXPECT_EQ(messEdit->toPlainText(), QStringLiteral("Très bien."));
    PressMessPanel();
    EXPECT_EQ(Quest(2).MessIdx[kRightSide], 1);
    EXPECT_EQ(Quest(3).MessIdx[kRightSide], 2);

    // Leaving the tab with the chooser open gives its controls back unchosen.
    Click("ChMsgBtn");
    StepBank(true);
    ClickMainTab(TMain::kMessagesTab);
    EXPECT_FALSE(chooser->isVisible());
    EXPECT_EQ(entry->parentWidget(), Find<QWidget>("GMessGroup"));
    EXPECT_TRUE(entry->isVisible());
    EXPECT_TRUE(entry->isEnabled());
    EXPECT_EQ(Quest(2).MessIdx[kRightSide], 1);
    EXPECT_EQ(entry->toPlainText(), QStringLiteral("Très bien."));
}

TEST_F(MessagesTest, AttachedFileFromTheLinkDialogAndFromAnotherQuestion)
{
    TMain& window = StartOnBanks();
    ClickMainTab(TMain::kQuestionsTab);
    ShowMessPage();
    Click("messBtn0");
    Tick("ExtFileCheck");
    auto* extFileCheck = Find<QCheckBox>("ExtFileCheck");
    auto* extFileBtn = Find<QPushButton>("ExtFileBtn");

    ModalAnswerer answerer;
    answerer.Then([](QWidget& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Associer un fichier HTML externe"));
        auto* link = dialog.findChild<QLineEdit*>(QStringLiteral("LinkEdit"));
        EXPECT_EQ(link->text(), QStringLiteral("nom_du_lien"));
        ReplaceText(*dialog.findChild<QLineEdit*>(QStringLiteral("FileEdit")), QStringLiteral("plan.htm"));
        ReplaceText(*dialog.findChild<QComboBox*>(QStringLiteral("TargetCombo"))->lineEdit(), QStringLiteral("main"));
        ReplaceText(*link, QStringLiteral("Plan"));
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("OkBtn")), Qt::LeftButton);
    });
    QTest::mouseClick(extFileBtn, Qt::LeftButton);
    WaitAnswered(answerer);
    EXPECT_EQ(extFileCheck->text(), QStringLiteral("voir le fichier: |Plan"));
    EXPECT_EQ(extFileBtn->text(), QStringLiteral("\"plan.htm\" TARGET=\"main\""));
    EXPECT_EQ(Quest(1).ExtFile, "\"plan.htm\" TARGET=\"main\"");
    EXPECT_EQ(Quest(1).ExtLink, "voir le fichier: |Plan");
    EXPECT_TRUE(Quest(1).UseExtFile);

    // Opened again, the dialog proposes what it gave; cancelled, it changes nothing.
    answerer.Then([](QWidget& dialog) {
        EXPECT_EQ(dialog.findChild<QLineEdit*>(QStringLiteral("FileEdit"))->text(), QStringLiteral("plan.htm"));
        EXPECT_EQ(dialog.findChild<QComboBox*>(QStringLiteral("TargetCombo"))->currentText(), QStringLiteral("main"));
        EXPECT_EQ(dialog.findChild<QLineEdit*>(QStringLiteral("LinkEdit"))->text(), QStringLiteral("Plan"));
        static_cast<QDialog&>(dialog).reject();
    });
    QTest::mouseClick(extFileBtn, Qt::LeftButton);
    WaitAnswered(answerer);
    EXPECT_EQ(extFileCheck->text(), QStringLiteral("voir le fichier: |Plan"));
    EXPECT_EQ(extFileBtn->text(), QStringLiteral("\"plan.htm\" TARGET=\"main\""));

    // A right press renames the check box; the name reaches the question at the next store.
    answerer.Then([](QWidget& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Modifier cette étiquette? "));
        ReplaceText(*dialog.findChild<QLineEdit*>(QStringLiteral("LineEd")), QStringLiteral("consulter: |Plan"));
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("AcceptBtn")), Qt::LeftButton);
    });
    QTest::mousePress(extFileCheck, Qt::RightButton, {}, ClickPoint(*extFileCheck));
    WaitAnswered(answerer);
    EXPECT_EQ(extFileCheck->text(), QStringLiteral("consulter: |Plan"));
    EXPECT_TRUE(extFileCheck->isChecked());

    // "Réutiliser un fichier", twice: each question listed once.
    auto* panel = Find<QWidget>("FileReusePan");
    auto* files = Find<QListWidget>("FileReuseList");
    Click("ReUseFileBtn");
    EXPECT_TRUE(panel->isVisible());
    Click("FileReuseNoBtn");
    EXPECT_FALSE(panel->isVisible());
    Click("ReUseFileBtn");
    EXPECT_EQ(Lines(*files),
        (QStringList {QStringLiteral("Question 1"), QStringLiteral("Question 2"), QStringLiteral("Question 3")}));
    ClickLine(*files, 1);
    EXPECT_EQ(Find<QPlainTextEdit>("FileReuseBox")->toPlainText(), QStringLiteral("\"corr.htm\""));
    Click("FileReuseOkBtn");
    EXPECT_FALSE(panel->isVisible());
    // The file lives in the question: it is taken at once, and the button shows it.
    EXPECT_EQ(extFileBtn->text(), QStringLiteral("\"corr.htm\""));
    EXPECT_EQ(Quest(1).ExtFile, "\"corr.htm\"");
    PressMessPanel();
    EXPECT_EQ(Quest(1).ExtLink, "consulter: |Plan");

    // Changing sub-page closes the panel.
    Click("ReUseFileBtn");
    ASSERT_TRUE(panel->isVisible());
    auto* pages = Find<QTabWidget>("QuestPages");
    ClickTab(*pages->findChild<QTabBar*>(QString(), Qt::FindDirectChildrenOnly), 0);
    ShowMessPage();
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(answerer.Unexpected(), 0);
    EXPECT_TRUE(window.IsModified());
}

TEST_F(MessagesTest, PageTextsAndNoAnswerMessage)
{
    WriteSettingsFile();
    TMain& window = Start();
    const std::string noAnswer = "Vous n'avez pas r\xE9pondu \xE0 cette question.";
    auto* namEdit = Find<QPlainTextEdit>("NamEdit");
    EXPECT_EQ(window.Document().Quests.NoAnswerMess, noAnswer);
    EXPECT_EQ(namEdit->toPlainText(), QStringLiteral("Vous n'avez pas répondu à cette question."));

    ClickMainTab(TMain::kMessagesTab);
    auto* pageTabs = Find<QTabBar>("HMPTab");
    auto* title = Find<QLineEdit>("TitleEd");
    auto* body = Find<QPlainTextEdit>("BodyRed");
    EXPECT_EQ(pageTabs->currentIndex(), 0);
    ReplaceText(*title, QStringLiteral("Bienvenue"));
    ClickTab(*pageTabs, 1);
    EXPECT_EQ(window.Document().Pages.GetTitle(0), "Bienvenue");
    EXPECT_EQ(title->text(), QStringLiteral("Terminé?"));
    EXPECT_EQ(
        body->toPlainText(), QStringLiteral("Vous pouvez maintenant revoir vos réponses ou passer aux résultats."));
    AppendText(*body, QStringLiteral(" Courage!"));
    ClickTab(*pageTabs, 2);
    EXPECT_EQ(window.Document().Pages.GetBody(1),
        "Vous pouvez maintenant revoir vos r\xE9ponses ou passer aux r\xE9sultats. Courage!");
    EXPECT_EQ(title->text(), QStringLiteral("Résultats"));
    ClickTab(*pageTabs, 0);
    EXPECT_EQ(title->text(), QStringLiteral("Bienvenue"));
    // Typing in the page fields leaves the remembered page texts alone.
    EXPECT_EQ(window.Settings().EPgCmnt, "Vous pouvez maintenant revoir vos r\xE9ponses ou passer aux r\xE9sultats.");

    AppendText(*namEdit, QStringLiteral(" Dommage."));
    EXPECT_EQ(window.Document().Quests.NoAnswerMess, noAnswer + " Dommage.");
    // "Nouveau" gives the document of a fresh start, with its no-answer message.
    ModalAnswerer answerer;
    answerer.Then(ClickButton(QStringLiteral("Non")));
    Find<QAction>("mNew")->trigger();
    WaitAnswered(answerer);
    EXPECT_EQ(window.Document().Quests.NoAnswerMess, noAnswer);
    EXPECT_EQ(namEdit->toPlainText(), QStringLiteral("Vous n'avez pas répondu à cette question."));
}

TEST_F(MessagesTest, RenamedPageLabelsAreRememberedAtExit)
{
    WriteSettingsFile();
    Start();
    ClickMainTab(TMain::kMessagesTab);
    auto* titleLab = Find<QLabel>("TitleLab");
    auto* bodyLab = Find<QLabel>("BodyLab");

    ModalAnswerer answerer;
    answerer.Then([](QWidget& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Modifier cette étiquette? "));
        auto* line = dialog.findChild<QLineEdit*>(QStringLiteral("LineEd"));
        EXPECT_EQ(line->text(), QStringLiteral("Titre"));
        ReplaceText(*line, QStringLiteral("Titre de la page"));
        QTest::keyClick(line, Qt::Key_Return);
    });
    QTest::mousePress(titleLab, Qt::RightButton);
    WaitAnswered(answerer);
    EXPECT_EQ(titleLab->text(), QStringLiteral("Titre de la page"));

    // Accepted empty, or a left press: the caption stays.
    answerer.Then([](QWidget& dialog) {
        dialog.findChild<QLineEdit*>(QStringLiteral("LineEd"))->clear();
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("AcceptBtn")), Qt::LeftButton);
    });
    QTest::mousePress(bodyLab, Qt::RightButton);
    WaitAnswered(answerer);
    QTest::mousePress(bodyLab, Qt::LeftButton);
    EXPECT_EQ(bodyLab->text(), QStringLiteral("Résumé"));
    EXPECT_EQ(answerer.Unexpected(), 0);

    Window().close();
    const AppSettings settings = ReadSettings(QFile::encodeName(SettingsFile()).toStdString());
    EXPECT_EQ(settings.TLabel, "Titre de la page");
    EXPECT_EQ(settings.ResumLab, "R\xE9sum\xE9");
    window_.reset();
    Start();
    EXPECT_EQ(Find<QLabel>("TitleLab")->text(), QStringLiteral("Titre de la page"));
}

// Pictures for a person to look at, in ScreenshotFolder().
TEST_F(MessagesTest, Screenshots)
{
    const QString folder = ScreenshotFolder();
    TMain& window = StartOnBanks();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const auto shoot = [&](const QString& name) {
        QTest::qWait(50);
        EXPECT_TRUE(window.grab().save(folder + QStringLiteral("/messages-") + name + QStringLiteral(".png")));
    };
    ClickMainTab(TMain::kQuestionsTab);
    ShowMessPage();
    shoot(QStringLiteral("side1"));
    Click("messBtn0");
    Tick("ExtFileCheck");
    shoot(QStringLiteral("side0"));
    Click("ReUseFileBtn");
    ClickLine(*Find<QListWidget>("FileReuseList"), 1);
    shoot(QStringLiteral("reuse"));
    Click("FileReuseNoBtn");
    Click("messBtn1");
    Click("ChMsgBtn");
    StepBank(true);
    shoot(QStringLiteral("chooser"));
    Click("MChooserOkBtn");
    ClickMainTab(TMain::kMessagesTab);
    shoot(QStringLiteral("tab"));
}

} // namespace
} // namespace tavimor::testing
