#include "app/PreviewBrowser.h"

#include "app/PreviewProfile.h"
#include "app/TextCodec.h"
#include "app/preview/PagePreview.h"
#include "base/FileIo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QOpenGLContext>
#include <QPlainTextEdit>
#include <QPluginLoader>
#include <QVBoxLayout>

#include <exception>

#include <unistd.h>

// Qt's global share context, exported by QtGui for the modules that draw
// with OpenGL (its declaration is in a private header).
Q_GUI_EXPORT QOpenGLContext* qt_gl_global_share_context();
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);

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

// The web engine draws in OpenGL contexts that share with one global
// context. Qt makes that context while the application starts only when
// asked to (Qt::AA_ShareOpenGLContexts), which costs every start about as
// much as the rest of the window; a web engine loaded later from a plugin
// finds none and dies. It is made here instead, the moment before the
// plugin is loaded, as Qt would have made it; the attribute then makes the
// engine's own contexts share with it.
void ShareOpenGLContextsForTheWebEngine()
{
    if (qt_gl_global_share_context() != nullptr)
        return;
    {
        // Qt warns that the attribute comes late: here that is the intent.
        const QtMessageHandler previous
            = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
        qInstallMessageHandler(previous);
    }
    auto* context = new QOpenGLContext(QCoreApplication::instance());
    context->setFormat(QSurfaceFormat::defaultFormat());
    if (context->create())
        qt_gl_set_global_share_context(context);
}

} // namespace

void PrepareProcessForPreview()
{
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
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
        ShareOpenGLContextsForTheWebEngine();
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
