// The "Mise en page" tab and the HTML commands around it: the preview boxes,
// the parameters file, the site opened in the user's browser over the loopback
// server, the exam, image insertion and the embedded browser running a quiz.
#include "main_window_helpers.h"

#include "app/LayoutTab.h"
#include "app/PreviewBrowser.h"
#include "app/PreviewProfile.h"
#include "presentation/HtmlParams.h"

#include <QAction>
#include <QCheckBox>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabBar>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolButton>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <unistd.h>

namespace tavimor::testing {

namespace {

constexpr int kWebWaitMs = 30000;

// The web engine cannot use its sandbox in the test machines (root, no user
// namespaces); set before the engine first starts in the process.
void LetTheWebEngineRunHere()
{
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox --disable-gpu");
}

// The web engine's helper processes started by this process.
int WebEngineProcesses()
{
    int count = 0;
    const QString self = QString::number(::getpid());
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        QFile stat(QStringLiteral("/proc/") + entry + QStringLiteral("/stat"));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // pid (comm) state ppid ...
        const QString line = QString::fromLatin1(stat.readAll());
        const qsizetype close = line.lastIndexOf(QLatin1Char(')'));
        const QStringList after = line.mid(close + 2).split(QLatin1Char(' '));
        if (after.size() > 1 && after[1] == self && line.contains(QLatin1String("(QtWebEngineProc")))
            ++count;
    }
    return count;
}

QVariant RunJs(QWebEnginePage& page, const QString& script)
{
    QVariant result;
    bool done = false;
    page.runJavaScript(script, [&result, &done](const QVariant& value) {
        result = value;
        done = true;
    });
    EXPECT_TRUE(QTest::qWaitFor([&done] { return done; }, kWebWaitMs)) << script.toStdString();
    return result;
}

// Navigates and tells whether the page loaded.
bool Load(QWebEngineView& view, const QUrl& url)
{
    QSignalSpy finished(&view, &QWebEngineView::loadFinished);
    view.setUrl(url);
    if (!finished.wait(kWebWaitMs))
        return false;
    return finished.takeLast().at(0).toBool();
}

QByteArray HttpGet(const QUrl& url)
{
    QNetworkAccessManager network;
    std::unique_ptr<QNetworkReply> reply(network.get(QNetworkRequest(url)));
    EXPECT_TRUE(QTest::qWaitFor([&reply] { return reply->isFinished(); }, 5000));
    return reply->readAll();
}

void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A file dialog of the window: checks where it starts and what it offers,
// then takes fileName (relative to that folder) as the author's choice.
ModalAnswerer::Handler ParamsDialog(const QString& expectedFolder, const QString& fileName)
{
    return [expectedFolder, fileName](QWidget& modal) {
        auto* dialog = qobject_cast<QFileDialog*>(&modal);
        if (!dialog) {
            ADD_FAILURE() << "not a file dialog";
            if (auto* other = qobject_cast<QDialog*>(&modal))
                other->reject();
            return;
        }
        EXPECT_EQ(QDir(dialog->directory()).canonicalPath(), QDir(expectedFolder).canonicalPath());
        EXPECT_EQ(dialog->nameFilters(), QStringList {QStringLiteral("Fichiers de paramètres HTML (*.qph)")});
        dialog->selectFile(fileName);
        static_cast<QDialog*>(dialog)->accept();
    };
}

class LayoutTabTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        WriteSettingsFile();
    }

    QString Prefs() const { return Path(QStringLiteral("Prefs")); }

    // A two-question document quiz.kwz, opened.
    TMain& StartOnQuiz()
    {
        const QString path = Path(QStringLiteral("quiz.kwz"));
        WriteDocument(path, Numbered(2));
        return StartOn(path);
    }

    void ClickBox(const char* name)
    {
        auto* box = Find<QCheckBox>(name);
        QTest::mouseClick(box, Qt::LeftButton, {}, ClickPoint(*box));
    }

    void ClickPreviewTab(int index)
    {
        auto* tabs = Find<QTabBar>("HTabCntrl");
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
    }

    // A key of the menus: their shortcuts act in the active window only, and
    // a message box closed just before may have taken the activation.
    QString Source() { return Find<QPlainTextEdit>("sourceMemo")->toPlainText(); }
};

TEST(PreviewGuard, AllowsTheSiteFolderAndTheLoopbackServerOnly)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString site = dir.filePath(QStringLiteral("quiz"));
    QDir(site).mkpath(QStringLiteral("hPages"));
    WriteBytes(site + QStringLiteral("/hPages/quest.htm"), "<HTML></HTML>");
    WriteBytes(dir.filePath(QStringLiteral("secret.htm")), "secret");
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("secret.htm")), site + QStringLiteral("/hPages/lien.htm")));
    const quint16 port = 8123;

    const struct {
        const char* url;
        bool allowed;
    } cases[] = {
        {"hPages/quest.htm", true},
        {"hPages/absent.htm", false},
        {"hPages/../../secret.htm", false},
        {"hPages/lien.htm", false},
        {"hPages", false},
        {"http://127.0.0.1:8123/index.html", true},
        {"http://127.0.0.1:8124/index.html", false},
        {"http://localhost:8123/index.html", false},
        {"http://user@127.0.0.1:8123/index.html", false},
        {"https://127.0.0.1:8123/index.html", false},
        {"http://example.com/", false},
        {"data:text/html,<p>x</p>", false},
        {"ftp://127.0.0.1:8123/index.html", false},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromLatin1(c.url);
        const QUrl url
            = text.contains(QLatin1Char(':')) ? QUrl(text) : QUrl::fromLocalFile(site + QLatin1Char('/') + text);
        EXPECT_EQ(PreviewMayLoad(url, site, port), c.allowed) << c.url;
    }
    // Before any production nothing is allowed.
    EXPECT_FALSE(PreviewMayLoad(QUrl::fromLocalFile(site + QStringLiteral("/hPages/quest.htm")), QString(), port));
    EXPECT_FALSE(PreviewMayLoad(QUrl(QStringLiteral("http://127.0.0.1:8123/index.html")), site, 0));
}

TEST_F(LayoutTabTest, ThePreviewBoxesAreNeverTickedTogether)
{
    LetTheWebEngineRunHere();
    Start();
    ModalAnswerer answerer;
    ClickMainTab(TMain::kLayoutTab);
    EXPECT_EQ(Find<QLabel>("ActTabLab")->text(), QStringLiteral("Questions"));
    EXPECT_TRUE(Find<QLabel>("infoLab1")->isVisible());
    EXPECT_EQ(Find<QLabel>("infoLab1")->text(),
        QStringLiteral("Certains éléments de la mise en page sont ici configurables..."));
    // An empty document produces nothing and has no page to show.
    EXPECT_TRUE(answerer.Messages().empty());
    EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("HTMFiles"))));
    EXPECT_EQ(Source(), QString());
    auto* source = Find<QPlainTextEdit>("sourceMemo");
    auto* browser = Find<TPreviewBrowser>("WebBrows");
    auto* viewSource = Find<QCheckBox>("viewMemCheck");
    auto* showBrowser = Find<QCheckBox>("showNavCheck");
    EXPECT_FALSE(source->isVisible());
    EXPECT_FALSE(browser->isVisible());
    EXPECT_EQ(browser->geometry(), TLayoutTab::kPreviewPlace);

    const struct {
        const char* click;
        bool sourceShown;
        bool browserShown;
        bool refused; // "impossible d'afficher la page pour l'instant"
    } steps[] = {
        {"showNavCheck", false, true, true},
        {"viewMemCheck", true, false, false},
        {"showNavCheck", false, true, true},
        {"showNavCheck", false, false, false},
        {"viewMemCheck", true, false, false},
        {"viewMemCheck", false, false, false},
    };
    for (const auto& step : steps) {
        const size_t before = answerer.Messages().size();
        ClickBox(step.click);
        EXPECT_FALSE(viewSource->isChecked() && showBrowser->isChecked()) << step.click;
        EXPECT_EQ(viewSource->isChecked(), step.sourceShown) << step.click;
        EXPECT_EQ(showBrowser->isChecked(), step.browserShown) << step.click;
        EXPECT_EQ(source->isVisible(), step.sourceShown) << step.click;
        EXPECT_EQ(browser->isVisible(), step.browserShown) << step.click;
        ASSERT_EQ(answerer.Messages().size(), before + (step.refused ? 1 : 0)) << step.click;
        if (step.refused) {
            EXPECT_EQ(answerer.Messages().back(), QStringLiteral("impossible d'afficher la page pour l'instant"));
        }
    }
    // The browser took its own place at its first change.
    EXPECT_EQ(browser->geometry(), TLayoutTab::kBrowserPlace);

    // "Nouveau" puts the preview back and leaves the browser box unticked.
    Find<QAction>("mNew")->trigger();
    EXPECT_EQ(browser->geometry(), TLayoutTab::kPreviewPlace);
    EXPECT_FALSE(browser->isVisible());
    EXPECT_FALSE(showBrowser->isChecked());
}

TEST_F(LayoutTabTest, ParametersFilesRoundTripAndLoadingGoesBackToTheQuestionsPage)
{
    TMain& window = StartOnQuiz();
    ModalAnswerer answerer;
    ClickMainTab(TMain::kLayoutTab);
    // Entering the tab produced the site silently: only the new folders are announced.
    EXPECT_EQ(answerer.Messages(),
        (std::vector<QString> {
            QStringLiteral("Le répertoire ") + Path(QStringLiteral("quiz/")) + QStringLiteral(" vient d'être créé."),
            QStringLiteral("Le répertoire ") + Path(QStringLiteral("quiz/hPages/"))
                + QStringLiteral(" vient d'être créé.")}));
    ClickBox("viewMemCheck");
    EXPECT_TRUE(Source().contains(QStringLiteral("setQTitle()")));

    ClickPreviewTab(2);
    EXPECT_EQ(Find<QLabel>("ActTabLab")->text(), QStringLiteral("Évaluation"));
    EXPECT_TRUE(Source().contains(QStringLiteral("<TITLE>Fin de la série</TITLE>")));

    ClickBox("BorderCheck");
    answerer.Then(ParamsDialog(Prefs(), QStringLiteral("monstyle")));
    Find<QAction>("mSaveParams")->trigger();
    WaitAnswered(answerer);
    const QString saved = Prefs() + QStringLiteral("/monstyle.qph");
    ASSERT_TRUE(QFileInfo::exists(saved));

    ClickBox("BorderCheck");
    answerer.Then(ParamsDialog(Prefs(), QStringLiteral("monstyle.qph")));
    Find<QAction>("mLoadParams")->trigger();
    WaitAnswered(answerer);
    EXPECT_EQ(Find<QTabBar>("HTabCntrl")->currentIndex(), 0);
    EXPECT_EQ(Find<QLabel>("ActTabLab")->text(), QStringLiteral("Questions"));
    EXPECT_TRUE(Source().contains(QStringLiteral("setQTitle()")));
    EXPECT_TRUE(window.Document().Layout.NoBorder);
    EXPECT_TRUE(Find<QCheckBox>("BorderCheck")->isChecked());

    // Files that are not parameters files change nothing.
    THTMPrefs other;
    std::string bytes = HtmlParamsBytes(other);
    bytes[2] = 't'; // "tavimor HTMStyle Prefs"
    WriteBytes(Path(QStringLiteral("Prefs/casse.qph")), QByteArray::fromStdString(bytes));
    QFile::copy(Path(QStringLiteral("quiz.kwz")), Path(QStringLiteral("Prefs/quiz.qph")));
    const struct {
        const char* file;
        const char* message;
        bool backToQuestions; // an error stops the command before
    } refused[] = {
        {"casse.qph", "Ce fichier n'est pas compatible ...", true},
        {"quiz.qph", "Impossible de lire les param\xE8tres \xAB quiz.qph \xBB :\nInvalid property value", false},
    };
    for (const auto& file : refused) {
        ClickPreviewTab(3);
        const size_t before = answerer.Messages().size();
        answerer.Then(ParamsDialog(Prefs(), QString::fromLatin1(file.file)));
        answerer.Then(ClickButton(QStringLiteral("OK")));
        Find<QAction>("mLoadParams")->trigger();
        WaitAnswered(answerer);
        ASSERT_EQ(answerer.Messages().size(), before + 1) << file.file;
        EXPECT_EQ(answerer.Messages().back(), QString::fromLatin1(file.message)) << file.file;
        EXPECT_TRUE(window.Document().Layout.NoBorder) << file.file;
        EXPECT_TRUE(Find<QCheckBox>("BorderCheck")->isChecked()) << file.file;
        EXPECT_EQ(Find<QTabBar>("HTabCntrl")->currentIndex(), file.backToQuestions ? 0 : 3) << file.file;
    }
    EXPECT_EQ(answerer.Unexpected(), 2); // the two folder announcements
}

TEST_F(LayoutTabTest, TheSiteOpensInTheUsersBrowserFromTheLoopbackServer)
{
    StartOnQuiz();
    UrlCatcher http(QStringLiteral("http"));
    UrlCatcher file(QStringLiteral("file"));
    ModalAnswerer answerer;
    answerer.Then(ClickButton(QStringLiteral("OK")));
    PressKey(Qt::Key_F9);
    WaitAnswered(answerer);
    ASSERT_EQ(answerer.Messages().size(), 1u);
    EXPECT_EQ(answerer.Messages()[0], QStringLiteral("Il faut d'abord produire les fichiers pour les afficher..."));
    EXPECT_TRUE(http.urls.isEmpty());

    PressKey(Qt::Key_F8);
    EXPECT_EQ(answerer.Messages().back(), QStringLiteral("Le Test quiz vient d'être créé."));
    PressKey(Qt::Key_F9);
    ASSERT_EQ(http.urls.size(), 1);
    const QUrl index = http.urls[0];
    EXPECT_EQ(index.host(), QStringLiteral("127.0.0.1"));
    EXPECT_GT(index.port(), 0);
    EXPECT_EQ(index.path(), QStringLiteral("/index.html"));
    EXPECT_TRUE(HttpGet(index).contains("<FRAMESET"));

    // The refresh button with the browser box unticked opens the page previewed.
    ClickMainTab(TMain::kLayoutTab);
    ClickPreviewTab(3);
    QTest::mouseClick(Find<QToolButton>("navBtn2"), Qt::LeftButton);
    ASSERT_EQ(http.urls.size(), 2);
    EXPECT_EQ(http.urls[1].path(), QStringLiteral("/hPages/result.htm"));
    EXPECT_EQ(http.urls[1].port(), index.port());
    EXPECT_TRUE(file.urls.isEmpty());
}

TEST_F(LayoutTabTest, ProducingCreatesNothingInTheCurrentFolderAndAnEmptyDocumentProducesNothing)
{
    {
        Start();
        ModalAnswerer answerer;
        PressKey(Qt::Key_F8);
        PressKey(Qt::Key_F8);
        EXPECT_TRUE(answerer.Messages().empty());
        // The exam of an empty document says why there is none.
        Find<QAction>("mExam")->trigger();
        EXPECT_EQ(answerer.Messages(),
            (std::vector<QString> {
                QStringLiteral("Le document n'a aucune question: impossible de produire l'examen!")}));
        EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("HTMFiles"))));
        Window().close();
        window_.reset();
    }
    StartOnQuiz();
    ModalAnswerer second;
    PressKey(Qt::Key_F8);
    const size_t first = second.Messages().size();
    ASSERT_EQ(first, 3u);
    EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("HTMFiles"))));
    PressKey(Qt::Key_F8);
    ASSERT_EQ(second.Messages().size(), first + 1);
    EXPECT_EQ(second.Messages().back(), QStringLiteral("Le Test quiz vient d'être créé."));
}

TEST_F(LayoutTabTest, TheExamMakesTheFoldersOfTheDocumentOnScreen)
{
    TMain& window = StartOnQuiz();
    ModalAnswerer answerer;
    Find<QAction>("mExam")->trigger();
    EXPECT_EQ(answerer.Messages(),
        (std::vector<QString> {
            QStringLiteral("Le répertoire ") + Path(QStringLiteral("quiz/")) + QStringLiteral(" vient d'être créé."),
            QStringLiteral("Le répertoire ") + Path(QStringLiteral("quiz/hPages/"))
                + QStringLiteral(" vient d'être créé."),
            QStringLiteral("L'examen quizexm.htm et son corrigé quizsol.htm viennent d'être créés dans le dossier ")
                + Path(QStringLiteral("quiz/")) + QStringLiteral(".")}));
    EXPECT_TRUE(QFileInfo::exists(Path(QStringLiteral("quiz/quizexm.htm"))));
    EXPECT_TRUE(QFileInfo::exists(Path(QStringLiteral("quiz/quizsol.htm"))));
    EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("exm.htm"))));
    EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("quiz/index.html"))));

    // After the site of quiz, the exam of another document goes beside that document.
    PressKey(Qt::Key_F8);
    const QString other = Path(QStringLiteral("chimie.kwz"));
    WriteDocument(other, Numbered(3));
    answerer.Then(ChooseFile(other));
    Find<QAction>("mOpen")->trigger();
    WaitAnswered(answerer);
    ASSERT_EQ(window.CurrentFile(), other);
    Find<QAction>("mExam")->trigger();
    EXPECT_TRUE(QFileInfo::exists(Path(QStringLiteral("chimie/chimieexm.htm"))));
    EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("quiz/chimieexm.htm"))));
}

// Versions of the exam come from a dialog beside "Produire examen": its
// choices reach the files, and a seed typed again gives the same versions.
TEST_F(LayoutTabTest, ExamVersionsFollowTheChoicesOfTheirDialog)
{
    StartOnQuiz();
    const auto produce = [this](int count, bool keepOrder) {
        ModalAnswerer answerer;
        answerer.Then([count, keepOrder](QWidget& dialog) {
            auto* spin = dialog.findChild<QSpinBox*>(QStringLiteral("VersionCountSpin"));
            ASSERT_NE(spin, nullptr);
            spin->setValue(count);
            dialog.findChild<QLineEdit*>(QStringLiteral("SeedEdit"))->setText(QStringLiteral("1234"));
            if (keepOrder)
                QTest::mouseClick(dialog.findChild<QCheckBox*>(QStringLiteral("ShuffleQuestionsCheck")), Qt::LeftButton,
                    {}, QPoint(8, 8));
            QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("ProduceVersionsBtn")), Qt::LeftButton);
        });
        answerer.Then(ClickButton(QStringLiteral("OK")));
        Find<QAction>("mExamVersions")->trigger();
        WaitAnswered(answerer);
        return answerer.Messages();
    };
    const std::vector<QString> said = produce(3, false);
    ASSERT_FALSE(said.empty());
    EXPECT_TRUE(said.back().startsWith(QStringLiteral("Les 3 versions de l'examen (quizexm-A.htm à quizexm-C.htm)")))
        << said.back().toStdString();
    EXPECT_TRUE(said.back().contains(QStringLiteral("graine 1234")));
    QStringList written;
    for (const char* name :
        {"quizexm-A.htm", "quizexm-B.htm", "quizexm-C.htm", "quizsol-A.htm", "quizsol-versions.htm"}) {
        QFile file(Path(QStringLiteral("quiz/") + QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
        written << QString::fromLatin1(file.readAll());
    }
    EXPECT_TRUE(written[4].contains(QStringLiteral("<B>1234</B>")));

    // The same seed, the same versions; the order kept, the questions in the document's order.
    produce(3, false);
    QFile again(Path(QStringLiteral("quiz/quizexm-B.htm")));
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromLatin1(again.readAll()), written[1]);
    produce(2, true);
    QFile key(Path(QStringLiteral("quiz/quizsol-versions.htm")));
    ASSERT_TRUE(key.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromLatin1(key.readAll()).contains(QStringLiteral("<TR><TD>1</TD><TD>1</TD>")));
}

TEST_F(LayoutTabTest, AnImageTagGoesAtTheCaretOnceTheSiteIsProduced)
{
    TMain& window = StartOnQuiz();
    ClickMainTab(TMain::kQuestionsTab);
    auto* text = Find<QPlainTextEdit>("QuestEdit");
    text->setPlainText(QStringLiteral("Voici ici"));
    const auto selectLastWord = [text] {
        QTextCursor cursor = text->textCursor();
        cursor.setPosition(6);
        cursor.setPosition(9, QTextCursor::KeepAnchor);
        text->setTextCursor(cursor);
    };
    selectLastWord();

    ModalAnswerer answerer;
    answerer.Then(ClickButton(QStringLiteral("OK")));
    Click("InsImgBtn");
    WaitAnswered(answerer);
    ASSERT_EQ(answerer.Messages().size(), 1u);
    EXPECT_EQ(answerer.Messages()[0], QStringLiteral("Vous devez d'abord produire la version HTML"));
    EXPECT_EQ(text->toPlainText(), QStringLiteral("Voici ici"));

    PressKey(Qt::Key_F8);
    const auto typeName = [](const QString& name) {
        return [name](QWidget& modal) {
            EXPECT_EQ(modal.windowTitle(), QStringLiteral("Image..."));
            auto* field = modal.findChild<QLineEdit*>(QStringLiteral("NameEdit"));
            ASSERT_NE(field, nullptr);
            field->setText(name);
            QTest::mouseClick(modal.findChild<QPushButton*>(QStringLiteral("OkBtn")), Qt::LeftButton);
        };
    };
    // Cancelled: nothing changes; accepted: the tag replaces the selection.
    answerer.Then(Reject());
    Click("InsImgBtn");
    WaitAnswered(answerer);
    EXPECT_EQ(text->toPlainText(), QStringLiteral("Voici ici"));
    selectLastWord();
    answerer.Then(typeName(QStringLiteral("logo.gif")));
    Click("InsImgBtn");
    WaitAnswered(answerer);
    EXPECT_EQ(text->toPlainText(), QStringLiteral("Voici <IMG SRC=\"../logo.gif\" BORDER=0>"));

    // The answer editor's own button. Its image form is answered by the
    // answerer, whose timer does not fire while one of its handlers runs:
    // the editor is driven from its own event loop.
    answerer.Then([&answerer, &typeName](QWidget& editor) {
        answerer.Then(typeName(QStringLiteral("fleche.gif")));
        QTimer::singleShot(0, &editor, [&editor] {
            QTest::mouseClick(editor.findChild<QPushButton*>(QStringLiteral("InsertImgBtn")), Qt::LeftButton);
            EXPECT_TRUE(editor.findChild<QTextEdit*>(QStringLiteral("RepText"))
                            ->toPlainText()
                            .contains(QStringLiteral("<IMG SRC=\"../fleche.gif\" BORDER=0>")));
            QTest::mouseClick(editor.findChild<QPushButton*>(QStringLiteral("AcceptBtn")), Qt::LeftButton);
        });
    });
    Click("REdBtn");
    WaitAnswered(answerer);
    EXPECT_TRUE(QString::fromStdString(window.Document().Quests.GetReps(0).front())
                    .contains(QStringLiteral("<IMG SRC=\"../fleche.gif\" BORDER=0>")));
}

TEST_F(LayoutTabTest, TheEmbeddedBrowserStartsLateAndRunsTheProducedQuiz)
{
    LetTheWebEngineRunHere();
    // Another test of the same run may have started the engine already.
    const int enginesBefore = WebEngineProcesses();
    StartOnQuiz();
    // Start-up leaves the web engine alone.
    EXPECT_EQ(Window().findChild<QWebEngineView*>(), nullptr);
    EXPECT_EQ(Find<TPreviewBrowser>("WebBrows")->View(), nullptr);
    EXPECT_EQ(WebEngineProcesses(), enginesBefore);

    ModalAnswerer answerer; // folder announcements
    ClickMainTab(TMain::kLayoutTab);
    EXPECT_EQ(Window().findChild<QWebEngineView*>(), nullptr);
    ClickBox("showNavCheck");
    auto* view = qobject_cast<QWebEngineView*>(Find<TPreviewBrowser>("WebBrows")->View());
    ASSERT_NE(view, nullptr);
    if (enginesBefore == 0) {
        EXPECT_TRUE(QTest::qWaitFor([] { return WebEngineProcesses() > 0; }, kWebWaitMs));
    }
    ASSERT_TRUE(QTest::qWaitFor([view] { return !view->url().isEmpty(); }, kWebWaitMs));
    const QUrl quest = view->url();
    EXPECT_EQ(quest.host(), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(quest.path(), QStringLiteral("/hPages/quest.htm"));

    // The whole quiz, as a student starts it.
    ASSERT_TRUE(Load(*view, quest.resolved(QUrl(QStringLiteral("../index.html")))));
    QWebEnginePage& page = *view->page();
    ASSERT_TRUE(QTest::qWaitFor(
        [&page] { return RunJs(page, QStringLiteral("!!(frames.main && frames.main.document.IDForm)")).toBool(); },
        kWebWaitMs));
    RunJs(page, QStringLiteral("var f = frames.main.document.IDForm; f.nom.value = 'Alice'; f.okBtn.click(); true"));
    const QString mainText = QStringLiteral(
        "frames.main.location.pathname + '|' + (frames.main.document.body ? frames.main.document.body.innerText : '')");
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            const QString shown = RunJs(page, mainText).toString();
            return shown.startsWith(QStringLiteral("/hPages/quest.htm|"))
                && shown.contains(QStringLiteral("Question 1")) && shown.contains(QStringLiteral("Q1"));
        },
        kWebWaitMs))
        << RunJs(page, mainText).toString().toStdString();
    EXPECT_EQ(RunJs(page, QStringLiteral("frames.topMenu.document.dataForm.sNameD.value")).toString(),
        QStringLiteral("Alice"));

    // Files of the site load from disk too; nothing outside it does.
    WriteBytes(Path(QStringLiteral("dehors.htm")), "<HTML><BODY>dehors</BODY></HTML>");
    EXPECT_TRUE(Load(*view, QUrl::fromLocalFile(Path(QStringLiteral("quiz/hPages/quest.htm")))));
    EXPECT_FALSE(Load(*view, QUrl::fromLocalFile(Path(QStringLiteral("dehors.htm")))));
    EXPECT_FALSE(Load(*view, QUrl(QStringLiteral("http://localhost:%1/index.html").arg(quest.port()))));
}

// Restores an environment variable at the end of a test.
class EnvironmentChange {
public:
    EnvironmentChange(const char* name, const QByteArray& value)
        : name_(name)
        , kept_(qgetenv(name))
        , wasSet_(qEnvironmentVariableIsSet(name))
    {
        qputenv(name, value);
    }
    ~EnvironmentChange()
    {
        if (wasSet_)
            qputenv(name_, kept_);
        else
            qunsetenv(name_);
    }

private:
    const char* name_;
    QByteArray kept_;
    bool wasSet_;
};

TEST(PreviewPlugin, IsLookedForBesideTheProgramThenInTheLibraryFolders)
{
    {
        const EnvironmentChange unset("TAVIMOR_PREVIEW_PLUGIN", QByteArray());
        const QStringList candidates = PreviewPluginCandidates(QStringLiteral("/opt/tavimor/bin"));
        ASSERT_GE(candidates.size(), 3);
        // The build tree: beside the program.
        EXPECT_EQ(candidates.front(), QStringLiteral("/opt/tavimor/bin/tavimor-preview.so"));
        // An installation moved as a whole: the library folder beside the program's.
        EXPECT_TRUE(
            candidates.contains(QStringLiteral("/opt/tavimor/lib/" TAVIMOR_MULTIARCH "/tavimor/tavimor-preview.so")))
            << candidates.join(QLatin1Char(' ')).toStdString();
        // Last, where the build was configured to install it.
        EXPECT_TRUE(candidates.back().startsWith(QLatin1Char('/')));
        EXPECT_TRUE(candidates.back().endsWith(QStringLiteral("/tavimor/tavimor-preview.so")));
    }
    const EnvironmentChange chosen("TAVIMOR_PREVIEW_PLUGIN", "/ailleurs/apercu.so");
    EXPECT_EQ(PreviewPluginCandidates(QStringLiteral("/opt/tavimor/bin")),
        QStringList {QStringLiteral("/ailleurs/apercu.so")});
}

TEST_F(LayoutTabTest, WithoutThePreviewPluginTheBrowserShowsThePageSource)
{
    const EnvironmentChange missing("TAVIMOR_PREVIEW_PLUGIN", QFile::encodeName(Path(QStringLiteral("absent.so"))));
    const int enginesBefore = WebEngineProcesses();
    StartOnQuiz();
    ModalAnswerer answerer; // folder announcements
    ClickMainTab(TMain::kLayoutTab);
    ClickBox("showNavCheck");

    auto* browser = Find<TPreviewBrowser>("WebBrows");
    EXPECT_TRUE(browser->isVisible());
    EXPECT_EQ(browser->View(), nullptr);
    EXPECT_EQ(Window().findChild<QWebEngineView*>(), nullptr);
    EXPECT_TRUE(browser->Problem().contains(QStringLiteral("introuvable"))) << browser->Problem().toStdString();
    auto* note = browser->findChild<QLabel*>(QStringLiteral("PreviewNote"));
    auto* source = browser->findChild<QPlainTextEdit*>(QStringLiteral("PreviewSource"));
    ASSERT_NE(note, nullptr);
    ASSERT_NE(source, nullptr);
    EXPECT_TRUE(note->isVisible());
    EXPECT_TRUE(note->text().contains(QStringLiteral("« Appeler le navigateur »")));
    EXPECT_TRUE(source->isVisible());
    EXPECT_TRUE(source->toPlainText().contains(QStringLiteral("setQTitle()")));
    ClickPreviewTab(2);
    EXPECT_TRUE(source->toPlainText().contains(QStringLiteral("<TITLE>Fin de la série</TITLE>")));
    EXPECT_EQ(WebEngineProcesses(), enginesBefore);

    // "Appeler le navigateur" still opens the site in the user's browser.
    UrlCatcher http(QStringLiteral("http"));
    PressKey(Qt::Key_F9);
    ASSERT_EQ(http.urls.size(), 1);
    EXPECT_EQ(http.urls[0].host(), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(http.urls[0].path(), QStringLiteral("/index.html"));
}

// Pictures of the tab for a person to look at, in ScreenshotFolder().
TEST_F(LayoutTabTest, ScreenshotsOfThePreview)
{
    const QString shots = ScreenshotFolder();
    LetTheWebEngineRunHere();
    const QString sample = Path(QStringLiteral("decouverte.kwz"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(TAVIMOR_TEST_DATA "/../examples/decouverte.kwz"), sample));
    TMain& window = StartOn(sample);
    ModalAnswerer answerer;
    ClickMainTab(TMain::kLayoutTab);
    QTest::qWait(100);
    EXPECT_TRUE(window.grab().save(shots + QStringLiteral("/layout-empty.png")));
    ClickBox("viewMemCheck");
    QTest::qWait(100);
    EXPECT_TRUE(window.grab().save(shots + QStringLiteral("/layout-source.png")));
    ClickPreviewTab(1);
    ClickBox("showNavCheck");
    auto* view = qobject_cast<QWebEngineView*>(Find<TPreviewBrowser>("WebBrows")->View());
    ASSERT_NE(view, nullptr);
    QSignalSpy loaded(view, &QWebEngineView::loadFinished);
    EXPECT_TRUE(loaded.wait(kWebWaitMs));
    QTest::qWait(500);
    EXPECT_TRUE(window.grab().save(shots + QStringLiteral("/layout-browser.png")));
    ClickPreviewTab(3);
    EXPECT_TRUE(loaded.wait(kWebWaitMs));
    QTest::qWait(500);
    EXPECT_TRUE(window.grab().save(shots + QStringLiteral("/layout-browser-results.png")));
}

} // namespace
} // namespace tavimor::testing

#include "layout_tab_test.moc"
