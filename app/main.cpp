// The editor: creates the application and the main window, nothing more.
#include "app/InformationOptions.h"
#include "app/PreviewBrowser.h"
#include "app/QtTranslations.h"
#include "app/TMain.h"

#include <QApplication>

#include <iostream>

int main(int argc, char** argv)
{
    if (const auto exitCode = tavimor::AnswerInformationOption({argv, static_cast<std::size_t>(argc)}, std::cout))
        return *exitCode;
    tavimor::PrepareProcessForPreview();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavimor"));
    tavimor::InstallFrenchQtTranslations(app);
    // The desktop matches the windows to tavimor.desktop, hence to its icon.
    QApplication::setDesktopFileName(QStringLiteral("tavimor"));
    tavimor::TMain window(tavimor::TMain::Options::FromCommandLine(QApplication::arguments()));
    window.show();
    return QApplication::exec();
}
