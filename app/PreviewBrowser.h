// The embedded browser of the "Mise en page" tab. The web engine starts the
// first time the browser is shown (or asked to show a page), never before, so
// that the editor starts without waiting for it; its profile is the
// locked-down one of PreviewProfile.h.
#pragma once

#include <QString>
#include <QUrl>
#include <QWidget>

#include <memory>

class QWebEngineProfile;
class QWebEngineView;

namespace tavimor {

class TPreviewGuard;

class TPreviewBrowser : public QWidget {
    Q_OBJECT

public:
    explicit TPreviewBrowser(QWidget* parent = nullptr);
    ~TPreviewBrowser() override;

    // What the browser may load from now on: the files inside folder and the
    // loopback server on port (0: none).
    void Allow(const QString& folder, quint16 port);
    // Shows the page at url, starting the engine if needed.
    void Navigate(const QUrl& url);

    // The engine's view: null until the browser was first shown.
    QWebEngineView* View() const { return view_.get(); }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void EnsureView();

    QString folder_;
    quint16 port_ = 0;
    // Destroyed in reverse order: the view (and its page) before the profile,
    // the profile before its guard.
    std::unique_ptr<TPreviewGuard> guard_;
    std::unique_ptr<QWebEngineProfile> profile_;
    std::unique_ptr<QWebEngineView> view_;
};

} // namespace tavimor
