#include "app/preview/WebPagePreview.h"

#include "app/preview/PreviewGuard.h"

#include <QWebEngineProfile>
#include <QWebEngineView>

namespace tavimor {

TWebPagePreview::TWebPagePreview(QWidget* parent)
    : guard_(std::make_unique<TPreviewGuard>())
    , profile_(MakePreviewProfile(*guard_))
    , view_(std::make_unique<QWebEngineView>(profile_.get(), parent))
{
    view_->setObjectName(QStringLiteral("WebView"));
    view_->setContextMenuPolicy(Qt::NoContextMenu);
}

TWebPagePreview::~TWebPagePreview() = default;

QWidget* TWebPagePreview::Widget()
{
    return view_.get();
}

void TWebPagePreview::Allow(const QString& folder, quint16 port)
{
    guard_->Allow(folder, port);
}

void TWebPagePreview::Load(const QUrl& url)
{
    view_->setUrl(url);
}

std::unique_ptr<TPagePreview> TWebPagePreviewFactory::Create(QWidget* parent)
{
    return std::make_unique<TWebPagePreview>(parent);
}

} // namespace tavimor
