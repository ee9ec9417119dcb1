// The locked-down web profile of the embedded preview: nothing is kept on
// disk, nothing comes from the network. The preview may load the files of the
// produced site (file:// inside its folder) and the pages of the editor's
// loopback server (http://127.0.0.1:PORT), and nothing else (PreviewMayLoad).
#pragma once

#include <QString>
#include <QWebEngineUrlRequestInterceptor>

#include <memory>

class QWebEngineProfile;

namespace tavimor {

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
