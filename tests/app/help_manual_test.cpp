// "Aide" and F1 open the user manual in the desktop's browser; a manual that
// is nowhere gets a message. The desktop's "open" requests for file URLs are
// caught by a URL handler, so no browser starts.
#include "main_window_helpers.h"

#include "app/HelpManual.h"
#include "app/InformationOptions.h"

#include <QDesktopServices>
#include <QMenu>
#include <QMenuBar>
#include <QUrl>

#include <sstream>
#include <vector>

namespace tavimor::testing {
namespace {

// Collects the URLs the program asks the desktop to open, while it lives.
class OpenedUrls : public QObject {
    Q_OBJECT
public:
    OpenedUrls() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "Open"); }
    ~OpenedUrls() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }

    std::vector<QUrl> urls;

public slots:
    void Open(const QUrl& url) { urls.push_back(url); }
};

void ExpectManualPage(const QUrl& url)
{
    ASSERT_TRUE(url.isLocalFile()) << url.toString().toStdString();
    const QFileInfo page(url.toLocalFile());
    EXPECT_EQ(page.fileName(), QStringLiteral("index.html"));
    EXPECT_TRUE(page.isFile()) << page.filePath().toStdString();
    EXPECT_TRUE(ManualFolders().contains(page.absolutePath())) << page.absolutePath().toStdString();
}

// A build without the manual (TAVIMOR_BUILD_DOCS=OFF) has nothing to open.
#ifndef TAVIMOR_NO_MANUAL
TEST_F(MainWindowTest, AideAndF1OpenTheManualInTheBrowser)
{
    WriteSettingsFile();
    TMain& window = Start();
    OpenedUrls opened;
    ModalAnswerer noMessage;

    QTest::keyClick(&window, Qt::Key_F1);
    ASSERT_EQ(opened.urls.size(), 1u);
    ExpectManualPage(opened.urls[0]);

    // The "?" menu of the menu bar, then its "Aide" item, with the mouse.
    QMenuBar* bar = window.menuBar();
    auto* helpMenu = window.findChild<QMenu*>(QStringLiteral("HelpMenu"));
    ASSERT_NE(helpMenu, nullptr);
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(helpMenu->menuAction()).center());
    ASSERT_TRUE(QTest::qWaitFor([helpMenu] { return helpMenu->isVisible(); }));
    QAction* aide = Find<QAction>("mHelp");
    EXPECT_EQ(aide->text(), QStringLiteral("Aide"));
    QTest::mouseClick(helpMenu, Qt::LeftButton, {}, helpMenu->actionGeometry(aide).center());
    ASSERT_EQ(opened.urls.size(), 2u);
    EXPECT_EQ(opened.urls[1], opened.urls[0]);
    EXPECT_EQ(noMessage.Messages().size(), 0u);
}
#endif

TEST_F(MainWindowTest, AManualFoundNowhereIsSaidInFrench)
{
    WriteSettingsFile();
    TMain& window = Start();
    OpenedUrls opened;
    const QStringList folders {Path(QStringLiteral("nowhere")), Path(QStringLiteral("Prefs"))};
    ModalAnswerer answerer;
    answerer.Then(ClickButton(QStringLiteral("OK")));
    OpenManual(&window, folders);

    EXPECT_TRUE(opened.urls.empty());
    ASSERT_EQ(answerer.Messages().size(), 1u);
    const QString message = answerer.Messages()[0];
    EXPECT_TRUE(message.startsWith(QStringLiteral("Le manuel d'utilisation est introuvable.")))
        << message.toStdString();
    for (const QString& folder : folders)
        EXPECT_TRUE(message.contains(folder)) << folder.toStdString();
}

TEST_F(MainWindowTest, TheFirstFolderHoldingAnIndexPageWins)
{
    QDir base(Path(QString()));
    for (const char* folder : {"empty", "folder-named-index/index.html", "second", "third"})
        ASSERT_TRUE(base.mkpath(QString::fromLatin1(folder)));
    for (const char* page : {"second/index.html", "third/index.html", "empty/autre.html"}) {
        QFile file(base.filePath(QString::fromLatin1(page)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const auto folder = [&base](const char* name) { return base.filePath(QString::fromLatin1(name)); };
    EXPECT_EQ(FindManualPage({folder("missing"), folder("empty"), folder("folder-named-index"), folder("second"),
                  folder("third")}),
        folder("second/index.html"));
    EXPECT_EQ(FindManualPage({folder("empty"), folder("missing")}), QString());
    EXPECT_EQ(FindManualPage({}), QString());

    // An installation's manual, beside the program, is looked for first.
    EXPECT_EQ(ManualFolders().value(0),
        QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/doc/tavimor/manuel")));
}

// A package put the document type where the desktop reads it: the first
// start writes no per-user copy and leaves the setting for later starts.
TEST_F(MainWindowTest, AnInstalledDocumentTypeIsLeftToTheSystem)
{
    const QString system = Path(QStringLiteral("usr/share"));
    ASSERT_TRUE(QDir().mkpath(system + QStringLiteral("/mime/packages")));
    QFile package(system + QStringLiteral("/mime/packages/tavimor.xml"));
    ASSERT_TRUE(package.open(QIODevice::WriteOnly));
    package.close();
    const ScopedEnvironment installed("XDG_DATA_DIRS", Path(QStringLiteral("elsewhere")) + QLatin1Char(':') + system);

    TMain& window = Start();
    EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("data/applications/tavimor.desktop"))));
    EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("data/mime/packages/tavimor.xml"))));
    EXPECT_FALSE(window.Settings().RegisterFType);
}

TEST(InformationOptionsTest, HelpAndVersionAnswerBeforeAnyWindow)
{
    struct Case {
        std::vector<const char*> args;
        std::optional<int> exitCode;
        std::string start;
    };
    const Case cases[] = {
        {{"tavimor", "--help"}, 0, "Usage: tavimor [OPTION] [FILE.kwz]\n"},
        {{"tavimor", "-h"}, 0, "Usage: tavimor [OPTION] [FILE.kwz]\n"},
        {{"tavimor", "--version"}, 0, "tavimor " TAVIMOR_VERSION "\n"},
        {{"tavimor", "-platform", "offscreen", "-V"}, 0, "tavimor " TAVIMOR_VERSION "\n"},
        {{"tavimor"}, std::nullopt, ""},
        {{"tavimor", "cours.kwz"}, std::nullopt, ""},
        {{"tavimor", "--", "--help"}, std::nullopt, ""},
        {{"tavimor", "--helpful.kwz"}, std::nullopt, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.back());
        std::vector<char*> argv;
        for (const char* arg : c.args)
            argv.push_back(const_cast<char*>(arg));
        std::ostringstream out;
        EXPECT_EQ(AnswerInformationOption(argv, out), c.exitCode);
        if (c.exitCode) {
            EXPECT_EQ(out.str().rfind(c.start, 0), 0u) << out.str();
        } else {
            EXPECT_EQ(out.str(), "");
        }
    }
}

} // namespace
} // namespace tavimor::testing

#include "help_manual_test.moc"
