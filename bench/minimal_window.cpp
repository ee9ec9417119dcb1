// The reference of the editor's start-up measurement: the smallest Qt Widgets
// program that shows a window, started as the editor is (bench/whole-process.sh).
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Minimal"));
    window.resize(800, 600);
    window.show();
    return QApplication::exec();
}
