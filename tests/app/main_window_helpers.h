// Helpers of the main-window tests: a window started on folders of its own,
// modal dialogs and message boxes answered from a timer, documents written
// with the core.
#pragma once

#include "app/TMain.h"
#include "model/DocumentFile.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace tavimor::testing {

// Answers the modal windows that open while it lives, in order: each new
// modal window goes to the next handler. A modal window with no handler left
// is recorded and closed, so that a failing test cannot hang.
class ModalAnswerer {
public:
    using Handler = std::function<void(QWidget& modal)>;

    ModalAnswerer()
    {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start();
    }

    void Then(Handler handler) { handlers_.push_back(std::move(handler)); }

    // The texts of the message boxes seen, in order.
    const std::vector<QString>& Messages() const { return messages_; }
    int Unexpected() const { return unexpected_; }
    bool AllAnswered() const { return handlers_.empty(); }

private:
    void Poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal->property("answered").toBool())
            return;
        modal->setProperty("answered", true);
        if (auto* box = qobject_cast<QMessageBox*>(modal))
            messages_.push_back(box->text());
        if (handlers_.empty()) {
            ++unexpected_;
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
            return;
        }
        Handler handler = std::move(handlers_.front());
        handlers_.pop_front();
        handler(*modal);
    }

    QTimer timer_;
    std::deque<Handler> handlers_;
    std::vector<QString> messages_;
    int unexpected_ = 0;
};

// Sets an environment variable while it lives, then puts back what was there.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const QString& value)
        : name_(name)
        , had_(qEnvironmentVariableIsSet(name))
        , previous_(qgetenv(name))
    {
        qputenv(name, QFile::encodeName(value));
    }
    ~ScopedEnvironment()
    {
        if (had_)
            qputenv(name_, previous_);
        else
            qunsetenv(name_);
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* name_;
    bool had_;
    QByteArray previous_;
};

// Where a click lands on a button: a radio button or a check box reacts only
// on its mark and caption, which start at its left edge.
inline QPoint ClickPoint(const QAbstractButton& button)
{
    if (button.inherits("QRadioButton") || button.inherits("QCheckBox"))
        return QPoint(8, button.height() / 2);
    return button.rect().center();
}

// Handlers.
inline ModalAnswerer::Handler ClickButton(const QString& text)
{
    return [text](QWidget& modal) {
        for (QAbstractButton* button : modal.findChildren<QAbstractButton*>()) {
            if (button->text() == text && button->isVisible()) {
                QTest::mouseClick(button, Qt::LeftButton, {}, ClickPoint(*button));
                return;
            }
        }
        ADD_FAILURE() << "no button " << text.toStdString();
        if (auto* dialog = qobject_cast<QDialog*>(&modal))
            dialog->reject();
    };
}

inline ModalAnswerer::Handler ChooseFile(const QString& path)
{
    return [path](QWidget& modal) {
        auto* dialog = qobject_cast<QFileDialog*>(&modal);
        if (!dialog) {
            ADD_FAILURE() << "not a file dialog";
            if (auto* other = qobject_cast<QDialog*>(&modal))
                other->reject();
            return;
        }
        dialog->selectFile(path);
        static_cast<QDialog*>(dialog)->accept(); // QFileDialog::accept, through the public base
    };
}

inline ModalAnswerer::Handler Reject()
{
    return [](QWidget& modal) {
        if (auto* dialog = qobject_cast<QDialog*>(&modal))
            dialog->reject();
    };
}

// The question-type dialog: a click on an item ("TypeItem0" to "TypeItem2").
inline ModalAnswerer::Handler ChooseType(TRepType type)
{
    return ClickButton(type == TRepType::rKWZ ? QStringLiteral("  Standard KWZ")
            : type == TRepType::rTrue         ? QStringLiteral("  Vrai ou Faux")
                                              : QStringLiteral("  Closure avec listes"));
}

// Waits until every handler ran (a modal window opened by a slot runs its
// own event loop, so most commands have returned by then already).
inline void WaitAnswered(const ModalAnswerer& answerer, int timeoutMs = 5000)
{
    EXPECT_TRUE(QTest::qWaitFor([&answerer] { return answerer.AllAnswered(); }, timeoutMs));
}

struct QuestionSpec {
    std::string Text;
    TRepType Type = TRepType::rKWZ;
    std::vector<std::string> Reps;
    int GoodRep = -1;
    int Priority = 0;
};

// A document file with these questions (texts Windows-1252).
inline void WriteDocument(const QString& path, const std::vector<QuestionSpec>& questions)
{
    TQuizDocument doc;
    for (const QuestionSpec& spec : questions) {
        doc.Quests.AddQuest();
        TQuest& quest = doc.Quests.Current();
        quest.QText = spec.Text;
        quest.QType = spec.Type;
        quest.Reps = spec.Reps;
        quest.NRep = static_cast<std::uint16_t>(spec.Reps.size());
        quest.GoodRep = spec.GoodRep;
        quest.Priority = spec.Priority;
    }
    SaveDocument(doc, QFile::encodeName(path).toStdString());
}

inline std::vector<QuestionSpec> Numbered(int count)
{
    std::vector<QuestionSpec> questions;
    for (int i = 1; i <= count; ++i)
        questions.push_back({"Q" + std::to_string(i), TRepType::rKWZ, {"a", "b"}, 0, 0});
    return questions;
}

// Reading and driving the question list and the text boxes as a teacher does.
// Where the screenshot tests write their pictures: TAVIMOR_SCREENSHOT_DIR
// when set, else the build tree's test-screenshots folder.
inline QString ScreenshotFolder()
{
    QString folder = qEnvironmentVariable("TAVIMOR_SCREENSHOT_DIR");
    if (folder.isEmpty())
        folder = QStringLiteral(TAVIMOR_TEST_SCREENSHOT_DIR);
    QDir().mkpath(folder);
    return folder;
}

inline QStringList Lines(const QListWidget& list)
{
    QStringList lines;
    for (int i = 0; i < list.count(); ++i)
        lines << list.item(i)->text();
    return lines;
}

inline QPoint LineCenter(QListWidget& list, int row)
{
    return list.visualItemRect(list.item(row)).center();
}

inline void ClickLine(QListWidget& list, int row)
{
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, LineCenter(list, row));
}

// A drag with one mouse button, pressed on one point and released on another.
inline void Drag(QListWidget& list, Qt::MouseButton button, const QPoint& from, const QPoint& to)
{
    QTest::mousePress(list.viewport(), button, {}, from);
    QTest::mouseMove(list.viewport(), (from + to) / 2);
    QTest::mouseMove(list.viewport(), to);
    QTest::mouseRelease(list.viewport(), button, {}, to);
}

inline void RightDrag(QListWidget& list, const QPoint& from, const QPoint& to)
{
    Drag(list, Qt::RightButton, from, to);
}

inline void AppendText(QPlainTextEdit& edit, const QString& text)
{
    edit.setFocus();
    edit.moveCursor(QTextCursor::End);
    QTest::keyClicks(&edit, text);
}

inline void ReplaceText(QLineEdit& edit, const QString& text)
{
    edit.setFocus();
    edit.selectAll();
    QTest::keyClicks(&edit, text);
}

inline void ReplaceText(QPlainTextEdit& edit, const QString& text)
{
    edit.setFocus();
    edit.selectAll();
    QTest::keyClicks(&edit, text);
}

inline TQuizDocument Reload(const QString& path)
{
    TQuizDocument doc;
    LoadDocument(doc, QFile::encodeName(path).toStdString());
    return doc;
}

// Receives the addresses the window asks the desktop to open.
class UrlCatcher : public QObject {
    Q_OBJECT

public:
    explicit UrlCatcher(const QString& scheme)
        : scheme_(scheme)
    {
        QDesktopServices::setUrlHandler(scheme_, this, "Open");
    }
    ~UrlCatcher() override { QDesktopServices::unsetUrlHandler(scheme_); }

    QList<QUrl> urls;

public slots:
    void Open(const QUrl& url) { urls.append(url); }

private:
    QString scheme_;
};

// A window on folders of its own (settings, Prefs, registration data), no splash.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        QDir(dir_.path()).mkpath(QStringLiteral("Prefs"));
        // Each test has a current folder of its own, where nothing is to be written.
        previousFolder_ = QDir::currentPath();
        QDir::setCurrent(dir_.path());
    }

    void TearDown() override
    {
        window_.reset();
        QDir::setCurrent(previousFolder_);
    }

    QString Path(const QString& name) const { return dir_.filePath(name); }

    TMain::Options Options() const
    {
        TMain::Options options;
        options.SettingsFolder = dir_.path() + QStringLiteral("/");
        options.PrefsFolder = dir_.path() + QStringLiteral("/Prefs/");
        options.DataHome = Path(QStringLiteral("data"));
        options.ProgramPath = Path(QStringLiteral("tavimor"));
        options.ShowSplash = false;
        return options;
    }

    QString SettingsFile() const { return Path(QStringLiteral("tavimor.ini")); }

    // Settings that skip the registration (already done) plus extra lines.
    void WriteSettingsFile(const QString& general = {}) const
    {
        QFile file(SettingsFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[GENERAL]\r\n");
        file.write(general.toUtf8());
        file.write("[PREFS]\r\nregisterFType=1\r\n");
    }

    TMain& Start(TMain::Options options)
    {
        window_ = std::make_unique<TMain>(std::move(options));
        window_->show();
        // Shortcuts of the menus act in the active window only.
        window_->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window_.get()));
        return *window_;
    }
    TMain& Start() { return Start(Options()); }
    TMain& StartOn(const QString& document)
    {
        TMain::Options options = Options();
        options.FileToOpen = document;
        return Start(std::move(options));
    }

    // The editor on quiz.kwz, a document of `count` questions "Q1", "Q2"...,
    // with settings that skip the registration.
    TMain& StartOnNumbered(int count)
    {
        WriteSettingsFile();
        WriteDocument(Path(QStringLiteral("quiz.kwz")), Numbered(count));
        return StartOn(Path(QStringLiteral("quiz.kwz")));
    }

    TMain& Window() { return *window_; }

    template <class T> T* Find(const char* name)
    {
        T* child = window_->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }

    QTabBar* MainTabBar()
    {
        auto* tabs = Find<QTabWidget>("MainPages");
        return tabs->findChild<QTabBar*>(QString(), Qt::FindDirectChildrenOnly);
    }

    void ClickMainTab(int index)
    {
        QTabBar* bar = MainTabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }

    // A key pressed with the window active, as a teacher presses it (a
    // message box closed just before leaves no window active offscreen).
    void PressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        window_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
        QTest::keyClick(window_.get(), key, modifiers);
    }

    void Click(const char* name)
    {
        if (auto* button = Find<QAbstractButton>(name))
            QTest::mouseClick(button, Qt::LeftButton);
    }

    QTemporaryDir dir_;
    QString previousFolder_;
    std::unique_ptr<TMain> window_;
};

} // namespace tavimor::testing
