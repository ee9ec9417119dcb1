// The editor tests run GoogleTest inside one QApplication (offscreen platform).
#include "app/PreviewBrowser.h"
#include "app/QtTranslations.h"

#include <QApplication>
#include <QDir>

#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv)
{
    // A test stopped by the runner's time limit still shows what it printed.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    qputenv(
        "QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
#ifdef TAVIMOR_PREVIEW_PLUGIN_FILE
    // The editor under test takes the preview plugin of this build.
    if (qEnvironmentVariableIsEmpty("TAVIMOR_PREVIEW_PLUGIN"))
        qputenv("TAVIMOR_PREVIEW_PLUGIN", TAVIMOR_PREVIEW_PLUGIN_FILE);
#endif
#ifdef TAVIMOR_TEST_SCREENSHOT_DIR
    // The screenshot tests run too, writing their pictures into the build tree.
    if (qEnvironmentVariableIsEmpty("TAVIMOR_SCREENSHOT_DIR")) {
        QDir().mkpath(QStringLiteral(TAVIMOR_TEST_SCREENSHOT_DIR));
        qputenv("TAVIMOR_SCREENSHOT_DIR", TAVIMOR_TEST_SCREENSHOT_DIR);
    }
#endif
    tavimor::PrepareProcessForPreview();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavimor"));
    // The editor's dialogs as the program shows them: Qt's texts in French.
    tavimor::InstallFrenchQtTranslations(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
