// What the embedded preview may load: the files of the produced site
// (file:// inside its folder) and the pages of the editor's loopback server
// (http://127.0.0.1:PORT), and nothing else. The preview plugin's request
// guard (preview/PreviewGuard.h) applies it to every request.
#pragma once

#include <QString>
#include <QUrl>

namespace tavimor {

// Whether the preview may load url: a file:// URL of a regular file inside
// folder (symbolic links resolved before the comparison; an empty folder
// allows no file), or an http URL of 127.0.0.1 on port (0 allows none).
bool PreviewMayLoad(const QUrl& url, const QString& folder, quint16 port);

} // namespace tavimor
