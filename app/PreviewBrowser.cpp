#include "app/PreviewBrowser.h"

#include "app/PreviewProfile.h"
#include "app/TextCodec.h"
#include "app/preview/PagePreview.h"
#include "base/FileIo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPluginLoader>
#include <QVBoxLayout>

#include <exception>

#include <unistd.h>

namespace tavimor {

namespace {

constexpr const char* kPluginFile = "tavimor-preview.so";

// Shown above the page source when the preview cannot be loaded.
QString MissingPreviewNote(const QString& problem)
{
    return QStringLiteral("L'aperçu intégré n'est pas disponible (%1). Voici la source de la page ; "
                          "« Appeler le navigateur » l'ouvre dans votre navigateur.")
        .arg(problem);
}

} // namespace

void PrepareProcessForPreview()
{
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

QStringList PreviewPluginCandidates(const QString& programFolder)
{
    const QString chosen = qEnvironmentVariable("TAVIMOR_PREVIEW_PLUGIN");
    if (!chosen.isEmpty())
        return {chosen};
    const QString file = QString::fromLatin1(kPluginFile);
    const QDir program(programFolder);
    QStringList candidates {program.filePath(file),
        program.filePath(QStringLiteral("../") + QStringLiteral(TAVIMOR_INSTALL_LIBDIR "/tavimor/") + file),
        program.filePath(QStringLiteral("../lib/" TAVIMOR_MULTIARCH "/tavimor/") + file),
        QStringLiteral(TAVIMOR_FULL_LIBDIR "/tavimor/") + file};
    for (QString& candidate : candidates)
        candidate = QDir::cleanPath(candidate);
    candidates.removeDuplicates();
    return candidates;
}

TPreviewBrowser::TPreviewBrowser(QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    setAutoFillBackground(true);
}

// The preview (and its view, a child of this widget) goes first.
TPreviewBrowser::~TPreviewBrowser() = default;

void TPreviewBrowser::Allow(const QString& folder, quint16 port)
{
    folder_ = folder;
    port_ = port;
    if (preview_)
        preview_->Allow(folder_, port_);
}

void TPreviewBrowser::Navigate(const QUrl& url)
{
    EnsurePreview();
    if (preview_)
        preview_->Load(url);
    else
        ShowSourceOf(url);
}

QWidget* TPreviewBrowser::View() const
{
    return preview_ ? preview_->Widget() : nullptr;
}

void TPreviewBrowser::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    EnsurePreview();
}

void TPreviewBrowser::EnsurePreview()
{
    if (tried_)
        return;
    tried_ = true;
    QStringList failures;
    for (const QString& candidate : PreviewPluginCandidates(QCoreApplication::applicationDirPath())) {
        if (!QFileInfo(candidate).isFile())
            continue;
        // The plugin stays loaded for the rest of the run: its view may live as long.
        QPluginLoader loader(candidate);
        auto* factory = qobject_cast<TPagePreviewFactory*>(loader.instance());
        if (!factory) {
            failures.append(loader.errorString());
            continue;
        }
        preview_ = factory->Create(this);
        preview_->Allow(folder_, port_);
        layout()->addWidget(preview_->Widget());
        preview_->Widget()->show();
        return;
    }
    problem_ = failures.isEmpty() ? QStringLiteral("module %1 introuvable").arg(QString::fromLatin1(kPluginFile))
                                  : failures.join(QStringLiteral("; "));
    note_ = new QLabel(MissingPreviewNote(problem_), this);
    note_->setObjectName(QStringLiteral("PreviewNote"));
    note_->setWordWrap(true);
    source_ = new QPlainTextEdit(this);
    source_->setObjectName(QStringLiteral("PreviewSource"));
    source_->setReadOnly(true);
    source_->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout()->addWidget(note_);
    layout()->addWidget(source_);
    note_->show();
    source_->show();
}

// The page as the preview would have loaded it: a file of the site, or a
// page of the loopback server, which serves the site's folder.
void TPreviewBrowser::ShowSourceOf(const QUrl& url)
{
    QUrl file = url;
    if (url.scheme() == QLatin1String("http") && !folder_.isEmpty())
        file = QUrl::fromLocalFile(QDir(folder_).filePath(url.path().mid(1)));
    if (!PreviewMayLoad(file, folder_, port_) || file.scheme() != QLatin1String("file")) {
        source_->clear();
        return;
    }
    try {
        source_->setPlainText(FromCoreMemo(ReadWholeFile(PathToCore(file.toLocalFile()))));
    } catch (const std::exception&) {
        source_->clear();
    }
}

} // namespace tavimor
