// The editor's commands for the self-contained quiz and the learning
// platforms, driven from the menus: files written where the teacher expects
// them, the messages that say so, the GIFT import as a new document.
#include "main_window_helpers.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QFile>
#include <QInputDialog>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>

namespace tavimor::testing {
namespace {

class PlatformCommandsTest : public MainWindowTest {
protected:
    TMain& StartOnQuiz()
    {
        WriteSettingsFile();
        WriteDocument(Path(QStringLiteral("chimie.kwz")),
            {{"L'eau bout \xE0 100 degr\xE9s.", TRepType::rTrue, {"Vrai", "Faux"}, 0, 0},
                {"Le symbole du fer?", TRepType::rKWZ, {"Fe", "Fr", "F"}, 0, 0}});
        return StartOn(Path(QStringLiteral("chimie.kwz")));
    }

    void Trigger(const char* action) { Find<QAction>(action)->trigger(); }
};

TEST_F(PlatformCommandsTest, TheSelfContainedQuizIsWrittenBesideTheDocumentAndOpensFromTheDisk)
{
    StartOnQuiz();
    ModalAnswerer answerer;
    Trigger("mStandalone");
    const QString page = Path(QStringLiteral("chimie.html"));
    ASSERT_EQ(answerer.Messages().size(), 1u);
    EXPECT_TRUE(answerer.Messages()[0].contains(page)) << answerer.Messages()[0].toStdString();
    EXPECT_TRUE(QFileInfo(page).isFile());

    // "Appeler navigateur" opens the single file itself: no server is needed.
    UrlCatcher file(QStringLiteral("file"));
    PressKey(Qt::Key_F9);
    EXPECT_EQ(file.urls, (QList<QUrl> {QUrl::fromLocalFile(page)}));
}

TEST_F(PlatformCommandsTest, GiftAndMoodleExportsGoWhereTheTeacherChooses)
{
    StartOnQuiz();
    ModalAnswerer answerer;
    const QString gift = Path(QStringLiteral("chimie.gift"));
    answerer.Then([&gift](QWidget& modal) {
        // The dialog proposes the quiz name beside the document.
        auto* dialog = qobject_cast<QFileDialog*>(&modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->selectedFiles().value(0), gift);
        static_cast<QDialog*>(dialog)->accept();
    });
    answerer.Then(ClickButton(QStringLiteral("OK")));
    Trigger("mExportGift");
    WaitAnswered(answerer);
    QFile written(gift);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(written.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("{T")) || text.contains(QStringLiteral("{TRUE"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("=Fe"))) << text.toStdString();
    EXPECT_TRUE(answerer.Messages().back().startsWith(QStringLiteral("Le fichier chimie.gift vient d'être produit")));

    const QString xml = Path(QStringLiteral("autre/banque.xml"));
    QDir(dir_.path()).mkpath(QStringLiteral("autre"));
    answerer.Then(ChooseFile(xml));
    answerer.Then(ClickButton(QStringLiteral("OK")));
    Trigger("mExportMoodle");
    WaitAnswered(answerer);
    QFile moodle(xml);
    ASSERT_TRUE(moodle.open(QIODevice::ReadOnly));
    EXPECT_TRUE(moodle.readAll().contains("<question type=\"truefalse\">"));
}

// The questions of a bank come after the question shown, with the edit in
// progress kept; the report can be copied, and one "Annuler" takes them back.
TEST_F(PlatformCommandsTest, AnImportAddsAfterTheQuestionShownAndUndoTakesItBack)
{
    TMain& window = StartOnQuiz();
    const QString gift = Path(QStringLiteral("banque.gift"));
    {
        QFile file(gift);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("::Q1:: Quelle est la capitale de la France ? {=Paris ~Lyon ~Marseille}\n\n"
                   "La Terre est ronde. {T}\n\n"
                   "Combien font 2+2 ? {#4}\n");
    }
    ClickMainTab(TMain::kQuestionsTab);
    AppendText(*Find<QPlainTextEdit>("QuestEdit"), QStringLiteral(" !"));

    QString report;
    ModalAnswerer answerer;
    answerer.Then(ChooseFile(gift));
    answerer.Then([&report](QWidget& modal) {
        auto* text = modal.findChild<QPlainTextEdit*>(QStringLiteral("ImportReportText"));
        ASSERT_NE(text, nullptr);
        EXPECT_TRUE(text->isReadOnly());
        report = text->toPlainText();
        QTest::mouseClick(modal.findChild<QPushButton*>(QStringLiteral("CopyReportBtn")), Qt::LeftButton);
        qobject_cast<QDialog*>(&modal)->accept();
    });
    Trigger("mImportGift");
    WaitAnswered(answerer);
    EXPECT_EQ(answerer.Unexpected(), 0);
    EXPECT_TRUE(
        report.startsWith(QStringLiteral("2 questions importées, 1 non importée.\n  ligne 5, « Combien font 2+2 ? »")))
        << report.toStdString();
    EXPECT_EQ(QApplication::clipboard()->text(), report);

    const TQuestList& quests = window.Document().Quests;
    ASSERT_EQ(quests.Count(), 4);
    EXPECT_EQ(quests.GetQText(0), "L'eau bout \xE0 100 degr\xE9s. !");
    EXPECT_EQ(quests.GetQText(1), "Quelle est la capitale de la France ?");
    EXPECT_EQ(quests.GetQType(3), TRepType::rTrue);
    EXPECT_EQ(quests.GetQText(3), "Le symbole du fer?");
    EXPECT_EQ(Find<QAction>("mUndo")->text(), QStringLiteral("Annuler l'importation de 2 questions"));
    EXPECT_EQ(window.CurrentFile(), Path(QStringLiteral("chimie.kwz")));

    Trigger("mUndo");
    ASSERT_EQ(quests.Count(), 2);
    EXPECT_EQ(quests.GetQText(1), "Le symbole du fer?");
}

TEST_F(PlatformCommandsTest, TheScormPackageAsksItsPassMark)
{
    StartOnQuiz();
    ModalAnswerer answerer;
    answerer.Then([](QWidget& modal) {
        auto* ask = qobject_cast<QInputDialog*>(&modal);
        ASSERT_NE(ask, nullptr);
        EXPECT_EQ(ask->intValue(), 50);
        ask->setIntValue(70);
        ask->accept();
    });
    answerer.Then(ClickButton(QStringLiteral("OK")));
    Trigger("mScorm");
    WaitAnswered(answerer);
    const QString package = Path(QStringLiteral("chimie-scorm.zip"));
    QFile zip(package);
    ASSERT_TRUE(zip.open(QIODevice::ReadOnly));
    const QByteArray bytes = zip.readAll();
    EXPECT_TRUE(bytes.startsWith("PK"));
    EXPECT_TRUE(bytes.contains("imsmanifest.xml"));
    EXPECT_TRUE(answerer.Messages().back().contains(QStringLiteral("chimie-scorm.zip")));

    // The next package starts from the pass mark given last.
    answerer.Then([](QWidget& modal) {
        auto* ask = qobject_cast<QInputDialog*>(&modal);
        ASSERT_NE(ask, nullptr);
        EXPECT_EQ(ask->intValue(), 70);
        ask->reject();
    });
    Trigger("mScorm");
    WaitAnswered(answerer);
}

} // namespace
} // namespace tavimor::testing
