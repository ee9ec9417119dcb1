#include "app/PreviewBrowser.h"

#include "app/PreviewProfile.h"

#include <QVBoxLayout>
#include <QWebEngineProfile>
#include <QWebEngineView>

namespace tavimor {

TPreviewBrowser::TPreviewBrowser(QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    setAutoFillBackground(true);
}

TPreviewBrowser::~TPreviewBrowser() = default;

void TPreviewBrowser::Allow(const QString& folder, quint16 port)
{
    folder_ = folder;
    port_ = port;
    if (guard_)
        guard_->Allow(folder_, port_);
}

void TPreviewBrowser::Navigate(const QUrl& url)
{
    EnsureView();
    view_->setUrl(url);
}

void TPreviewBrowser::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    EnsureView();
}

void TPreviewBrowser::EnsureView()
{
    if (view_)
        return;
    guard_ = std::make_unique<TPreviewGuard>();
    guard_->Allow(folder_, port_);
    profile_ = MakePreviewProfile(*guard_);
    view_ = std::make_unique<QWebEngineView>(profile_.get(), this);
    view_->setObjectName(QStringLiteral("WebView"));
    view_->setContextMenuPolicy(Qt::NoContextMenu);
    layout()->addWidget(view_.get());
}

} // namespace tavimor
