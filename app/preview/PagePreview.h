// The page preview as the editor sees it. The web engine's preview lives in
// a library of its own (the tavimor-preview plugin, this folder), loaded the
// first time a preview is shown, so that the editor starts without mapping
// the web engine and still works where that library is not installed.
#pragma once

#include <QString>
#include <QUrl>
#include <QtPlugin>

#include <memory>

class QWidget;

namespace tavimor {

class TPagePreview {
public:
    virtual ~TPagePreview() = default;

    // The widget that shows the pages, a child of the parent given to the
    // factory.
    virtual QWidget* Widget() = 0;
    // What may be loaded from now on: the files inside folder and the
    // loopback server on port (0: none); everything else is refused.
    virtual void Allow(const QString& folder, quint16 port) = 0;
    virtual void Load(const QUrl& url) = 0;
};

// What the plugin exports.
class TPagePreviewFactory {
public:
    virtual ~TPagePreviewFactory() = default;
    virtual std::unique_ptr<TPagePreview> Create(QWidget* parent) = 0;
};

} // namespace tavimor

#define TavimorPagePreviewFactory_iid "org.tavimor.PagePreviewFactory/1"
Q_DECLARE_INTERFACE(tavimor::TPagePreviewFactory, TavimorPagePreviewFactory_iid)
