#include "app/HelpManual.h"

#include "app/MessageBoxes.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

// Set by the build for this file alone: the manual folder relative to the
// program folder of an installation, the configured installation folder and
// the build tree's folder.
#if !defined(TAVIMOR_MANUAL_FROM_PROGRAM) || !defined(TAVIMOR_MANUAL_INSTALLED) || !defined(TAVIMOR_MANUAL_BUILT)
#error "the build defines the three manual folders"
#endif

namespace tavimor {

namespace {

const QString kIndexPage = QStringLiteral("index.html");

QString MissingManualMessage(const QStringList& folders)
{
    QString text = QStringLiteral("Le manuel d'utilisation est introuvable.\n\nIl a été cherché dans :");
    for (const QString& folder : folders)
        text += QStringLiteral("\n") + QDir::toNativeSeparators(folder);
    text += QStringLiteral("\n\nLe paquet tavimor l'installe ; dans un dossier de construction, ")
        + QStringLiteral("« cmake --build » le produit.");
    return text;
}

} // namespace

QStringList ManualFolders()
{
    const QString beside = QDir::cleanPath(
        QCoreApplication::applicationDirPath() + QLatin1Char('/') + QFile::decodeName(TAVIMOR_MANUAL_FROM_PROGRAM));
    QStringList folders {beside};
    for (const QString& folder :
        {QFile::decodeName(TAVIMOR_MANUAL_INSTALLED), QFile::decodeName(TAVIMOR_MANUAL_BUILT)}) {
        if (!folders.contains(QDir::cleanPath(folder)))
            folders << QDir::cleanPath(folder);
    }
    return folders;
}

QString FindManualPage(const QStringList& folders)
{
    for (const QString& folder : folders) {
        const QFileInfo page(QDir(folder).filePath(kIndexPage));
        if (page.isFile())
            return page.absoluteFilePath();
    }
    return {};
}

void OpenManual(QWidget* parent, const QStringList& folders)
{
    const QString page = FindManualPage(folders);
    if (page.isEmpty()) {
        ShowInfo(parent, MissingManualMessage(folders));
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(page))) {
        ShowInfo(parent,
            QStringLiteral("Le navigateur n'a pas pu ouvrir le manuel d'utilisation :\n")
                + QDir::toNativeSeparators(page));
    }
}

} // namespace tavimor
