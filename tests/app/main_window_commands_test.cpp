// The main window's other commands and parts: save under a new name, text
// import, the feedback side of the "Mess." sub-page, the answer group's room,
// the about box and the program's arguments.
#include "main_window_helpers.h"

#include "app/AboutForm.h"
#include "app/RepGroup.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>

namespace tavimor::testing {
namespace {

TEST_F(MainWindowTest, SaveOfAnUntitledDocumentAsksForANameAndACancelledDialogWritesNothing)
{
    WriteSettingsFile();
    TMain& window = Start();
    ClickMainTab(TMain::kQuestionsTab);
    QPlainTextEdit* text = Find<QPlainTextEdit>("QuestEdit");
    text->setFocus();
    QTest::keyClicks(text, QStringLiteral("Premier"));

    ModalAnswerer answerer;
    answerer.Then(Reject());
    Find<QAction>("mSave")->trigger();
    WaitAnswered(answerer);
    EXPECT_EQ(window.CurrentFile(), QString());
    EXPECT_EQ(window.windowTitle(), QString());
    EXPECT_TRUE(window.IsModified());

    // Export of an untitled document only asks for a name: no text is written.
    const QString path = Path(QStringLiteral("nouveau.kwz"));
    answerer.Then(ChooseFile(path));
    Find<QAction>("mExport")->trigger();
    WaitAnswered(answerer);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("nouveau.kwz"));
    EXPECT_EQ(Find<QLabel>("ActivThem")->text(), QStringLiteral("nouveau"));
    EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("nouveau.txt"))));
    EXPECT_FALSE(window.IsModified());
    TQuizDocument saved;
    LoadDocument(saved, QFile::encodeName(path).toStdString());
    ASSERT_EQ(saved.Quests.Count(), 1);
    EXPECT_EQ(saved.Quests.GetQText(0), "Premier");
}

TEST_F(MainWindowTest, ImportFillsAnUntitledDocumentFromTheText)
{
    WriteSettingsFile();
    const QString path = Path(QStringLiteral("source.kwz"));
    WriteDocument(path, Numbered(3));
    TMain& window = StartOn(path);
    ModalAnswerer answerer;
    answerer.Then(ClickButton(QStringLiteral("OK")));
    Find<QAction>("mExport")->trigger();
    WaitAnswered(answerer);

    answerer.Then(ChooseFile(Path(QStringLiteral("source.txt"))));
    Find<QAction>("mImport")->trigger();
    WaitAnswered(answerer);
    EXPECT_EQ(window.CurrentFile(), QString());
    EXPECT_EQ(window.windowTitle(), QString());
    EXPECT_EQ(Lines(*Find<QListWidget>("MainQListBox")),
        (QStringList {QStringLiteral("1.Q1"), QStringLiteral("2.Q2"), QStringLiteral("3.Q3")}));
    EXPECT_EQ(Find<QLabel>("MaxQLab")->text(), QStringLiteral("3"));
    EXPECT_EQ(window.Document().Quests.CurQ, 1);
    EXPECT_EQ(Find<QPlainTextEdit>("QuestEdit")->toPlainText(), QStringLiteral("Q1"));
    // Only in memory so far: leaving it is asked about.
    EXPECT_TRUE(window.IsModified());
}

TEST_F(MainWindowTest, FeedbackSidesKeepTheOwnTextAcrossTheGenericSwitch)
{
    TMain& window = StartOnNumbered(2);
    ClickMainTab(TMain::kQuestionsTab);
    Find<QTabWidget>("QuestPages")->setCurrentIndex(1);
    auto* generic = Find<QCheckBox>("GGCheck");
    auto* box = Find<QPlainTextEdit>("MessEdit");
    EXPECT_TRUE(generic->isChecked());
    EXPECT_FALSE(box->isEnabled());
    EXPECT_EQ(box->toPlainText(), QStringLiteral("Cette réponse est la bonne."));
    EXPECT_FALSE(Find<QCheckBox>("ExtFileCheck")->isVisible());

    QTest::mouseClick(generic, Qt::LeftButton, {}, ClickPoint(*generic));
    EXPECT_TRUE(box->isEnabled());
    box->selectAll();
    QTest::keyClicks(box, QStringLiteral("Bravo"));
    Click("messBtn0");
    const TQuest& first = window.Document().Quests.Quest(1);
    EXPECT_EQ(first.Mess[kRightSide], "Bravo");
    EXPECT_FALSE(first.UseGenMess[kRightSide]);
    // Side 0 shows its own generic message and the attached-file box.
    EXPECT_EQ(box->toPlainText(), QStringLiteral("Cette réponse est fausse."));
    EXPECT_TRUE(Find<QCheckBox>("ExtFileCheck")->isVisible());

    Click("messBtn1");
    EXPECT_EQ(box->toPlainText(), QStringLiteral("Bravo"));
    QTest::mouseClick(generic, Qt::LeftButton, {}, ClickPoint(*generic));
    EXPECT_EQ(box->toPlainText(), QStringLiteral("Cette réponse est la bonne."));
    QTest::mouseClick(generic, Qt::LeftButton, {}, ClickPoint(*generic));
    EXPECT_EQ(box->toPlainText(), QStringLiteral("Bravo"));
    EXPECT_TRUE(window.IsModified());

    // The side shown stays when another question is shown.
    QListWidget* list = Find<QListWidget>("MainQListBox");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    EXPECT_TRUE(Find<QPushButton>("messBtn1")->isChecked());
    EXPECT_EQ(window.Document().Quests.Quest(1).Mess[kRightSide], "Bravo");
}

TEST_F(MainWindowTest, TheAnswerGroupHasRoomForButtonsOf372And185Pixels)
{
    WriteSettingsFile();
    WriteDocument(
        Path(QStringLiteral("quiz.kwz")), {{"Q", TRepType::rKWZ, {"un", "deux", "trois", "quatre", "cinq"}, 4, 0}});
    StartOn(Path(QStringLiteral("quiz.kwz")));
    ClickMainTab(TMain::kQuestionsTab);
    auto* group = Find<TRepGroup>("RepGroup");
    EXPECT_EQ(group->width(), 398);
    EXPECT_EQ(group->ButtonWidth(), 372);
    Click("colBtn");
    EXPECT_EQ(group->columns(), 2);
    EXPECT_EQ(group->ButtonWidth(), 185);
    EXPECT_EQ(group->activItem(), 4);
}

TEST_F(MainWindowTest, RemoveLastStoresTheQuestionAndKeepsAnUnmarkedGroup)
{
    WriteSettingsFile();
    WriteDocument(Path(QStringLiteral("quiz.kwz")),
        {{"Q1", TRepType::rKWZ, {"a", "b", "c"}, -1, 0}, {"Q2", TRepType::rKWZ, {"a", "b", "c"}, 2, 0}});
    TMain& window = StartOn(Path(QStringLiteral("quiz.kwz")));
    ClickMainTab(TMain::kQuestionsTab);
    // No answer marked: nothing removed.
    Click("delRepBtn");
    EXPECT_EQ(window.Document().Quests.Quest(1).Reps.size(), 3u);

    QListWidget* list = Find<QListWidget>("MainQListBox");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    Click("delRepBtn");
    const TQuest& second = window.Document().Quests.Quest(2);
    EXPECT_EQ(second.Reps, (std::vector<std::string> {"a", "b"}));
    EXPECT_EQ(second.GoodRep, -1);
    EXPECT_TRUE(window.IsModified());
}

TEST_F(MainWindowTest, QuittingWritesTheSettingsButNoDocument)
{
    WriteSettingsFile();
    const QString path = Path(QStringLiteral("quiz.kwz"));
    WriteDocument(path, Numbered(1));
    const QDateTime written = QFileInfo(path).lastModified();
    TMain& window = StartOn(path);
    Find<QAction>("mQuit")->trigger();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(QFileInfo(path).lastModified(), written);
    EXPECT_EQ(ReadSettings(QFile::encodeName(SettingsFile()).toStdString()).LastFileName,
        QFile::encodeName(path).toStdString());
}

TEST(AboutBox, ClosesAfterSevenTicksOrAtAClick)
{
    TAboutFrm about(nullptr, 5);
    EXPECT_EQ(about.TickCount(), 1);
    EXPECT_EQ(about.exec(), QDialog::Accepted);
    EXPECT_EQ(about.TickCount(), 8);

    TAboutFrm clicked(nullptr, 10000);
    QTimer::singleShot(0, &clicked,
        [&clicked] { QTest::mouseClick(clicked.findChild<QLabel*>(QStringLiteral("ProductName")), Qt::LeftButton); });
    clicked.exec();
    EXPECT_EQ(clicked.TickCount(), 1);
    EXPECT_EQ(clicked.findChild<QLabel*>(QStringLiteral("Version"))->text(), QStringLiteral("version 2.71"));
    EXPECT_EQ(clicked.findChild<QLabel*>(QStringLiteral("Revision"))->text(), QStringLiteral(" 02.10.22"));
}

TEST(MainWindowOptions, TheFirstPlainArgumentIsTheDocument)
{
    const auto file
        = [](const QStringList& arguments) { return TMain::Options::FromCommandLine(arguments).FileToOpen; };
    EXPECT_EQ(file({QStringLiteral("tavimor")}), QString());
    EXPECT_EQ(file({QStringLiteral("tavimor"), QStringLiteral("/home/prof/quiz.kwz")}),
        QStringLiteral("/home/prof/quiz.kwz"));
    EXPECT_EQ(file({QStringLiteral("tavimor"), QStringLiteral("-platform"), QStringLiteral("offscreen"),
                  QStringLiteral("a.kwz")}),
        QStringLiteral("a.kwz"));
    EXPECT_TRUE(TMain::Options::FromCommandLine({QStringLiteral("tavimor")}).ShowSplash);
}

} // namespace
} // namespace tavimor::testing
