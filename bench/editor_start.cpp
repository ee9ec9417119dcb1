// The editor as main.cpp starts it, but without the start-up splash, which
// stays seven seconds before the main window: bench/whole-process.sh times
// this program to its main window, without and with a document to open, so
// that the difference is the opening of the document and the filling of its
// question list.
#include "app/TMain.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavimor"));
    auto options = tavimor::TMain::Options::FromCommandLine(QApplication::arguments());
    options.ShowSplash = false;
    tavimor::TMain window(options);
    window.show();
    return QApplication::exec();
}
