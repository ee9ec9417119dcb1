// The editor: creates the application and the main window, nothing more.
#include "app/QtTranslations.h"
#include "app/TMain.h"

#include <QApplication>

#include <unistd.h>

int main(int argc, char** argv)
{
    // The embedded browser's sandbox refuses to start for the superuser.
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavimor"));
    tavimor::InstallFrenchQtTranslations(app);
    tavimor::TMain window(tavimor::TMain::Options::FromCommandLine(QApplication::arguments()));
    window.show();
    return QApplication::exec();
}
