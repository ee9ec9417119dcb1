// The HTML and help commands of the main window: producing the quiz site and
// the exam, the help file, the about box and the preferences.
#include "app/TMain.h"

#include "app/AboutForm.h"
#include "app/MessageBoxes.h"
#include "app/MessagesTab.h"
#include "app/PrefForm.h"
#include "app/TextCodec.h"
#include "generator/PageSet.h"

#include <QDesktopServices>
#include <QDir>
#include <QPlainTextEdit>
#include <QUrl>

namespace tavimor {

namespace {

// The generator reads the window's directly-read values at each production.
void PrepareGenerator(
    THKWZ& site, QWidget* window, const QString& documentPath, const QString& prefsFolder, const QPlainTextEdit& body)
{
    site.DocumentPath = PathToCore(documentPath);
    site.PrefsDir = PathToCore(prefsFolder);
    site.ResumBody = MemoToCore(body);
    site.Notify = [window](const std::string& message) { ShowInfo(window, FromCore(message)); };
}

} // namespace

void TMain::ProduceSite()
{
    // The site shows what is on screen: the question and the page text shown are stored first.
    StoreScreen();
    TakeHeaderFromControls();
    if (doc_.Quests.Count() == 0)
        return;
    PrepareGenerator(*site_, this, currentFile_, options_.PrefsFolder, *messTab_->BodyRed);
    site_->Produce(false);
}

void TMain::ProduceExam()
{
    StoreScreen();
    TakeHeaderFromControls();
    if (doc_.Quests.Count() == 0)
        return;
    PrepareGenerator(*site_, this, currentFile_, options_.PrefsFolder, *messTab_->BodyRed);
    if (site_->WriteExam(false))
        site_->WriteExam(true);
}

void TMain::Help()
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(QDir::current().absoluteFilePath(QStringLiteral("Tavimor.chm"))));
}

void TMain::About()
{
    TAboutFrm about(this);
    about.exec();
}

void TMain::Preferences()
{
    TPrefFrm::Edit(this, settings_);
}

} // namespace tavimor
