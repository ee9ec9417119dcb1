// The embedded browser of the "Mise en page" tab. Its page preview comes from
// the tavimor-preview plugin (preview/PagePreview.h), loaded the first time
// the browser is shown (or asked to show a page), never before, so that the
// editor starts without the web engine. Where the plugin cannot be loaded
// (not installed, or its libraries missing) the browser shows the source of
// the page it was asked for, with a note saying why; "Appeler le navigateur"
// still opens the site in the user's own browser.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <QWidget>

#include <memory>

class QLabel;
class QPlainTextEdit;

namespace tavimor {

class TPagePreview;

// What the web engine of the preview plugin needs of the process before the
// QApplication is made: no sandbox for the superuser, whose sandbox refuses
// to start. (Its OpenGL contexts shared with the application's are made when
// the plugin is loaded, so that a start without the preview does not pay for
// them.)
void PrepareProcessForPreview();

// Where the preview plugin may be, in the order tried: the file named by
// TAVIMOR_PREVIEW_PLUGIN when that is set (and nothing else), else beside the
// program (the build tree), then in the library folder of an installation
// relative to the program, then in the one it was configured for.
QStringList PreviewPluginCandidates(const QString& programFolder);

class TPreviewBrowser : public QWidget {
    Q_OBJECT

public:
    explicit TPreviewBrowser(QWidget* parent = nullptr);
    ~TPreviewBrowser() override;

    // What the browser may load from now on: the files inside folder and the
    // loopback server on port (0: none).
    void Allow(const QString& folder, quint16 port);
    // Shows the page at url, loading the preview if needed.
    void Navigate(const QUrl& url);

    // The preview's view: null until the browser was first shown, and when
    // the preview could not be loaded.
    QWidget* View() const;
    // Why the preview could not be loaded; empty while nothing failed.
    const QString& Problem() const { return problem_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void EnsurePreview();
    void ShowSourceOf(const QUrl& url);

    QString folder_;
    quint16 port_ = 0;
    bool tried_ = false;
    std::unique_ptr<TPagePreview> preview_;
    QString problem_;
    // Without the plugin: the note and the page source.
    QLabel* note_ = nullptr;
    QPlainTextEdit* source_ = nullptr;
};

} // namespace tavimor
