// The editor: creates the application and the main window, nothing more.
#include "app/TMain.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavimor"));
    tavimor::TMain window(tavimor::TMain::Options::FromCommandLine(QApplication::arguments()));
    window.show();
    return QApplication::exec();
}
