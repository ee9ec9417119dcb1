#include "app/preview/PreviewGuard.h"

#include "app/PreviewProfile.h"

#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInfo>

namespace tavimor {

void TPreviewGuard::Allow(const QString& folder, quint16 port)
{
    folder_ = folder;
    port_ = port;
}

void TPreviewGuard::interceptRequest(QWebEngineUrlRequestInfo& info)
{
    if (!PreviewMayLoad(info.requestUrl(), folder_, port_))
        info.block(true);
}

std::unique_ptr<QWebEngineProfile> MakePreviewProfile(TPreviewGuard& guard)
{
    // A profile without a storage name is off the record: nothing is written to disk.
    auto profile = std::make_unique<QWebEngineProfile>();
    profile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    profile->setSpellCheckEnabled(false);
    profile->setUrlRequestInterceptor(&guard);
    QObject::connect(profile.get(), &QWebEngineProfile::downloadRequested,
        [](QWebEngineDownloadRequest* download) { download->cancel(); });

    QWebEngineSettings* settings = profile->settings();
    // The produced pages are scripts in frames that reach each other.
    settings->setAttribute(QWebEngineSettings::JavascriptEnabled, true);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    settings->setAttribute(QWebEngineSettings::PdfViewerEnabled, false);
    settings->setAttribute(QWebEngineSettings::DnsPrefetchEnabled, false);
    settings->setAttribute(QWebEngineSettings::ScreenCaptureEnabled, false);
    settings->setAttribute(QWebEngineSettings::WebRTCPublicInterfacesOnly, true);
    settings->setAttribute(QWebEngineSettings::NavigateOnDropEnabled, false);
    settings->setAttribute(QWebEngineSettings::AutoLoadIconsForPage, false);
    return profile;
}

} // namespace tavimor
