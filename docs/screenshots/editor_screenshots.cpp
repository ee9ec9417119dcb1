// Takes the manual's pictures of the real editor: opens the sample quiz in a
// fresh settings folder, walks through the tabs and dialogs as a teacher
// would, and saves each view as a PNG in the folder given as argument.
// Run it under Xvfb with the xcb platform (`make screenshots`): there is no
// window manager, so the window is given the focus before any key.
#include "app/PreviewBrowser.h"
#include "app/TMain.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPixmap>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <stdexcept>
#include <string>

namespace {

using tavimor::TMain;

[[noreturn]] void Fail(const QString& what)
{
    throw std::runtime_error(what.toStdString());
}

class Photographer {
public:
    Photographer(QString outputFolder, TMain& window)
        : folder_(std::move(outputFolder))
        , window_(window)
    {
        // Announcements nobody asked a picture of are closed, and reported.
        closer_.setInterval(20);
        QObject::connect(&closer_, &QTimer::timeout, [this] { CloseStrayModal(); });
        closer_.start();
    }

    template <class T> T& Find(const char* name)
    {
        T* child = window_.findChild<T*>(QString::fromLatin1(name));
        if (child == nullptr)
            Fail(QStringLiteral("no widget ") + QString::fromLatin1(name));
        return *child;
    }

    void Settle() { QTest::qWait(150); }

    void Save(const QPixmap& picture, const char* name)
    {
        const QString path = folder_ + QLatin1Char('/') + QString::fromLatin1(name);
        if (!picture.save(path, "PNG"))
            Fail(QStringLiteral("cannot write ") + path);
        std::printf("%s\n", qPrintable(path));
    }

    void ShootWindow(const char* name)
    {
        Settle();
        Save(window_.grab(), name);
    }

    void ClickTab(QTabBar& bar, int index) { QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.tabRect(index).center()); }

    void ClickMainTab(int index)
    {
        auto& tabs = Find<QTabWidget>("MainPages");
        ClickTab(*tabs.findChild<QTabBar*>(QString(), Qt::FindDirectChildrenOnly), index);
    }

    void SelectQuestion(int number)
    {
        auto& list = Find<QListWidget>("MainQListBox");
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.item(number - 1)).center());
    }

    void Click(const char* name) { QTest::mouseClick(&Find<QAbstractButton>(name), Qt::LeftButton); }

    // Runs open, which opens a modal dialog, takes its picture once it is
    // shown, and closes it without accepting.
    void ShootDialog(const std::function<void()>& open, const char* name)
    {
        bool shot = false;
        QTimer poll;
        poll.setInterval(20);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (shot || modal == nullptr)
                return;
            shot = true;
            QTest::qWait(200);
            Save(modal->grab(), name);
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
        });
        expectingDialog_ = true;
        poll.start();
        open();
        expectingDialog_ = false;
        if (!shot)
            Fail(QStringLiteral("no dialog for ") + QString::fromLatin1(name));
    }

    // A menu of the menu bar, open, with the window around it: a picture of
    // the screen, since a menu is a window of its own.
    void ShootMenu(const char* menuName, const char* name)
    {
        auto& menu = Find<QMenu>(menuName);
        QMenuBar* bar = window_.menuBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu.menuAction()).center());
        if (!QTest::qWaitFor([&menu] { return menu.isVisible(); }))
            Fail(QStringLiteral("the menu did not open"));
        Settle();
        const QRect area = window_.frameGeometry().united(menu.geometry());
        const QRect shown(
            area.left(), area.top(), area.width(), qMin(area.height(), menu.geometry().bottom() + 40 - area.top()));
        Save(window_.screen()->grabWindow(0, shown.x(), shown.y(), shown.width(), shown.height()), name);
        menu.hide();
        Settle();
    }

private:
    void CloseStrayModal()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || expectingDialog_)
            return;
        if (auto* box = qobject_cast<QMessageBox*>(modal))
            std::fprintf(stderr, "closed a message: %s\n", qPrintable(box->text()));
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
    }

    QString folder_;
    TMain& window_;
    QTimer closer_;
    bool expectingDialog_ = false;
};

void TakePictures(Photographer& p)
{
    p.ShootWindow("editeur-info.png");
    p.ShootMenu("FileMenu", "editeur-menu-fichier.png");
    p.ShootMenu("HtmlMenu", "editeur-menu-html.png");

    p.ClickMainTab(TMain::kQuestionsTab);
    p.SelectQuestion(1);
    p.ShootWindow("editeur-questions.png");
    p.ShootDialog([&p] { p.Click("REdBtn"); }, "editeur-reponses.png");
    p.ShootDialog([&p] { p.Click("QTypeBtn"); }, "editeur-type.png");
    p.SelectQuestion(2);
    p.ShootWindow("editeur-vrai-faux.png");
    p.SelectQuestion(3);
    p.ShootWindow("editeur-closure.png");

    // Question 5 has its own message and an attached page for a wrong answer.
    p.SelectQuestion(5);
    auto& pages = p.Find<QTabWidget>("QuestPages");
    p.ClickTab(*pages.tabBar(), 1);
    p.Click("messBtn0");
    p.ShootWindow("editeur-mess.png");
    p.ClickTab(*pages.tabBar(), 0);

    p.ClickMainTab(TMain::kMessagesTab);
    p.ShootWindow("editeur-messages.png");

    p.ClickMainTab(TMain::kLayoutTab);
    p.Settle();
    auto& source = p.Find<QCheckBox>("viewMemCheck");
    QTest::mouseClick(&source, Qt::LeftButton, {}, QPoint(8, source.height() / 2));
    p.ShootWindow("editeur-mise-en-page.png");

    p.ClickMainTab(TMain::kStyleTab);
    p.ShootWindow("editeur-style.png");
}

} // namespace

int main(int argc, char** argv)
{
    tavimor::PrepareProcessForPreview(); // as in the editor
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavimor"));
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SAMPLE.kwz OUTPUT-FOLDER\n", argv[0]);
        return 2;
    }
    const QString source = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    const QString output = QDir(QString::fromLocal8Bit(argv[2])).absolutePath();
    QDir().mkpath(output);

    // A first start of its own: settings, preferences, registration data and
    // a copy of the sample (the layout tab produces its site beside it).
    QTemporaryDir work;
    const QDir folder(work.path());
    folder.mkpath(QStringLiteral("Prefs"));
    QDir::setCurrent(work.path());
    QFile settings(folder.filePath(QStringLiteral("tavimor.ini")));
    if (!settings.open(QIODevice::WriteOnly))
        return 1;
    settings.write("[GENERAL]\r\n[PREFS]\r\nregisterFType=1\r\n");
    settings.close();
    const QString sample = folder.filePath(QStringLiteral("decouverte.kwz"));
    if (!QFile::copy(source, sample)) {
        std::fprintf(stderr, "cannot copy %s\n", argv[1]);
        return 1;
    }

    TMain::Options options;
    options.SettingsFolder = work.path() + QLatin1Char('/');
    options.PrefsFolder = folder.filePath(QStringLiteral("Prefs")) + QLatin1Char('/');
    options.DataHome = folder.filePath(QStringLiteral("data"));
    options.ProgramPath = folder.filePath(QStringLiteral("tavimor"));
    options.ShowSplash = false;
    options.FileToOpen = sample;
    TMain window(options);
    window.show();
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window)) {
        std::fprintf(stderr, "the window did not become active\n");
        return 1;
    }
    try {
        Photographer photographer(output, window);
        TakePictures(photographer);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    window.close();
    return 0;
}
