#include "app/PreviewProfile.h"

#include <QFileInfo>

namespace tavimor {

namespace {

bool FileInsideFolder(const QUrl& url, const QString& folder)
{
    if (folder.isEmpty() || !url.host().isEmpty())
        return false;
    const QString root = QFileInfo(folder).canonicalFilePath();
    const QString file = QFileInfo(url.toLocalFile()).canonicalFilePath();
    if (root.isEmpty() || file.isEmpty())
        return false;
    const QString prefix = root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/');
    return file.startsWith(prefix) && QFileInfo(file).isFile();
}

bool LoopbackServer(const QUrl& url, quint16 port)
{
    return port != 0 && url.host() == QLatin1String("127.0.0.1") && url.port() == port && url.userInfo().isEmpty();
}

} // namespace

bool PreviewMayLoad(const QUrl& url, const QString& folder, quint16 port)
{
    if (!url.isValid())
        return false;
    if (url.scheme() == QLatin1String("file"))
        return FileInsideFolder(url, folder);
    if (url.scheme() == QLatin1String("http"))
        return LoopbackServer(url, port);
    return false;
}

} // namespace tavimor
