// The web engine's page preview, the one thing the tavimor-preview plugin
// holds: a QWebEngineView in the locked-down profile of PreviewGuard.h.
#pragma once

#include "app/preview/PagePreview.h"

#include <QObject>

#include <memory>

class QWebEngineProfile;
class QWebEngineView;

namespace tavimor {

class TPreviewGuard;

class TWebPagePreview : public TPagePreview {
public:
    explicit TWebPagePreview(QWidget* parent);
    ~TWebPagePreview() override;

    QWidget* Widget() override;
    void Allow(const QString& folder, quint16 port) override;
    void Load(const QUrl& url) override;

private:
    // Destroyed in reverse order: the view (and its page) before the profile,
    // the profile before its guard.
    std::unique_ptr<TPreviewGuard> guard_;
    std::unique_ptr<QWebEngineProfile> profile_;
    std::unique_ptr<QWebEngineView> view_;
};

class TWebPagePreviewFactory : public QObject, public TPagePreviewFactory {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID TavimorPagePreviewFactory_iid)
    Q_INTERFACES(tavimor::TPagePreviewFactory)

public:
    std::unique_ptr<TPagePreview> Create(QWidget* parent) override;
};

} // namespace tavimor
