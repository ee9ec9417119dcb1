// The editor tests run GoogleTest inside one QApplication (offscreen platform).
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv(
        "QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    // The editor leaves the document type to a system-wide installation when
    // there is one; the tests see none, whatever this machine has installed.
    QTemporaryDir noSystemData;
    qputenv("XDG_DATA_DIRS", QFile::encodeName(noSystemData.path()));
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavimor"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
