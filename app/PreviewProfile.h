// The locked-down web profile of the embedded preview: nothing is kept on
// disk, nothing comes from the network. The preview may load the files of the
// produced site (file:// inside its folder) and the pages of the editor's
// loopback server (http://127.0.0.1:PORT), and nothing else.
#pragma once

#include <QString>
#include <QUrl>
#include <QWebEngineUrlRequestInterceptor>

#include <memory>

class QWebEngineProfile;

namespace tavimor {

// Whether the preview may load url: a file:// URL of a regular file inside
// folder (symbolic links resolved before the comparison; an empty folder
// allows no file), or an http URL of 127.0.0.1 on port (0 allows none).
bool PreviewMayLoad(const QUrl& url, const QString& folder, quint16 port);

// Refuses every request that PreviewMayLoad does not allow. Runs on the
// user-interface thread.
class TPreviewGuard : public QWebEngineUrlRequestInterceptor {
    Q_OBJECT

public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    // What may be loaded from now on.
    void Allow(const QString& folder, quint16 port);

    void interceptRequest(QWebEngineUrlRequestInfo& info) override;

private:
    QString folder_;
    quint16 port_ = 0;
};

// An off-the-record profile guarded by guard (which must outlive it): no disk
// cache, no persistent cookies, no plug-ins, no pop-up windows, no downloads,
// no access from local pages to remote addresses.
std::unique_ptr<QWebEngineProfile> MakePreviewProfile(TPreviewGuard& guard);

} // namespace tavimor
