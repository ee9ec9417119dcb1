// Pictures of the main window's tabs for a person to look at: written only
// when TAVIMOR_SCREENSHOT_DIR names a folder (run under xvfb-run to get the
// real fonts and style), skipped otherwise.
#include "main_window_helpers.h"

#include "app/AboutForm.h"
#include "app/PrefForm.h"
#include "platform/AppSettings.h"

#include <QListWidget>

namespace tavimor::testing {
namespace {

TEST_F(MainWindowTest, ScreenshotsOfEachTab)
{
    const QString folder = ScreenshotFolder();
    WriteSettingsFile();
    // A copy: entering "Mise en page" produces the site beside the document.
    const QString sample = Path(QStringLiteral("decouverte.kwz"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(TAVIMOR_TEST_DATA "/../examples/decouverte.kwz"), sample));
    TMain& window = StartOn(sample);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    const QStringList names {QStringLiteral("info"), QStringLiteral("questions"), QStringLiteral("messages"),
        QStringLiteral("layout"), QStringLiteral("style")};
    ModalAnswerer closeAnnouncements; // the site folders made for the preview
    for (int tab = 0; tab < names.size(); ++tab) {
        ClickMainTab(tab);
        QTest::qWait(50);
        EXPECT_TRUE(window.grab().save(folder + QStringLiteral("/tab-") + names[tab] + QStringLiteral(".png")));
    }

    // The Questions tab on a later question, and its "Mess." sub-page.
    ClickMainTab(TMain::kQuestionsTab);
    auto* list = Find<QListWidget>("MainQListBox");
    if (list->count() > 2)
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(2)).center());
    QTest::qWait(50);
    EXPECT_TRUE(window.grab().save(folder + QStringLiteral("/tab-questions-3.png")));
    auto* pages = Find<QTabWidget>("QuestPages");
    pages->setCurrentIndex(1);
    QTest::qWait(50);
    EXPECT_TRUE(window.grab().save(folder + QStringLiteral("/tab-questions-mess.png")));

    TAboutFrm about;
    about.show();
    QTest::qWait(50);
    EXPECT_TRUE(about.grab().save(folder + QStringLiteral("/about.png")));
    TPrefFrm preferences;
    preferences.ShowSettings(AppSettings {});
    preferences.show();
    QTest::qWait(50);
    EXPECT_TRUE(preferences.grab().save(folder + QStringLiteral("/preferences.png")));
}

} // namespace
} // namespace tavimor::testing
