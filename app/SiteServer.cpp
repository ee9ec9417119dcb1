#include "app/SiteServer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtHttpServer/QAbstractHttpServer>
#include <QtHttpServer/QHttpServerRequest>
#include <QtHttpServer/QHttpServerResponder>

#include <optional>

namespace tavimor {

namespace {

using Status = QHttpServerResponder::StatusCode;
using Method = QHttpServerRequest::Method;

// The produced pages and scripts are Windows-1252 text. JPEG pictures are
// named because the image dialog lets the author insert them.
QByteArray ContentTypeOf(const QString& fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("html") || suffix == QLatin1String("htm"))
        return "text/html; charset=windows-1252";
    if (suffix == QLatin1String("js"))
        return "application/javascript; charset=windows-1252";
    if (suffix == QLatin1String("css"))
        return "text/css; charset=windows-1252";
    if (suffix == QLatin1String("gif"))
        return "image/gif";
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"))
        return "image/jpeg";
    return "application/octet-stream";
}

// A decoded request path that could name something else than the file it
// spells inside the folder: a "." or ".." segment, a backslash (a separator
// elsewhere) or a NUL (which ends the name for the system).
bool HasForbiddenPiece(const QString& path)
{
    if (path.contains(QLatin1Char('\\')) || path.contains(QChar(0)))
        return true;
    const QStringList segments = path.split(QLatin1Char('/'));
    for (const QString& segment : segments)
        if (segment == QLatin1String(".") || segment == QLatin1String(".."))
            return true;
    return false;
}

// A path ending with "/" (or the folder itself when it is "/").
QString WithSlash(const QString& folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

// The canonical path of the regular file that urlPath (the request's path,
// percent-decoded once, starting with "/") names inside root; nothing for
// anything else. "/" names root's index.html; no other folder is served.
// Containment is checked on canonical paths, so symbolic links leading out of
// root are refused wherever they sit.
std::optional<QString> ResolveFile(const QString& root, const QString& urlPath)
{
    if (root.isEmpty() || !urlPath.startsWith(QLatin1Char('/')))
        return std::nullopt;
    // A second decoding catches "%252e%252e" and the like, which a sloppy
    // layer between the browser and us might have decoded once more.
    if (HasForbiddenPiece(urlPath) || HasForbiddenPiece(QUrl::fromPercentEncoding(urlPath.toUtf8())))
        return std::nullopt;

    const QString canonicalRoot = QFileInfo(root).canonicalFilePath();
    if (canonicalRoot.isEmpty())
        return std::nullopt;
    QString relative = urlPath.mid(1);
    if (relative.isEmpty())
        relative = QStringLiteral("index.html");

    const QString canonical = QFileInfo(WithSlash(canonicalRoot) + relative).canonicalFilePath();
    if (canonical.isEmpty() || !canonical.startsWith(WithSlash(canonicalRoot)))
        return std::nullopt;
    if (!QFileInfo(canonical).isFile())
        return std::nullopt;
    return canonical;
}

// True when the request's header field name (any case) holds token (any case)
// in its comma-separated list.
bool HeaderHasToken(const QHttpServerRequest& request, QByteArrayView name, QByteArrayView token)
{
    const auto headers = request.headers();
    for (const auto& [key, value] : headers) {
        if (key.compare(name, Qt::CaseInsensitive) != 0)
            continue;
        const QList<QByteArray> items = value.split(',');
        for (const QByteArray& item : items)
            if (item.trimmed().compare(token, Qt::CaseInsensitive) == 0)
                return true;
    }
    return false;
}

// A Host field naming another machine (a rebound domain name) is refused;
// clients that send none (HTTP/1.0) are served.
bool HostIsLoopback(const QHttpServerRequest& request)
{
    const auto headers = request.headers();
    for (const auto& [key, value] : headers) {
        if (key.compare("host", Qt::CaseInsensitive) != 0)
            continue;
        QByteArray host = value.trimmed().toLower();
        if (host.startsWith('[')) {
            host = host.left(host.indexOf(']') + 1);
        } else if (const qsizetype colon = host.indexOf(':'); colon >= 0) {
            host.truncate(colon);
        }
        if (host != "127.0.0.1" && host != "localhost" && host != "[::1]")
            return false;
    }
    return true;
}

struct Reply {
    Status status = Status::NotFound;
    QByteArray contentType = "text/plain; charset=us-ascii";
    QByteArray body;
    qint64 length = 0; // the body's length, also for HEAD
};

Reply TextReply(Status status, const QByteArray& text)
{
    Reply reply;
    reply.status = status;
    reply.body = text;
    reply.length = text.size();
    return reply;
}

} // namespace

// Answers every request itself, from the raw request path, rather than through
// routing rules (which would decode and match paths their own way).
class TFolderHttpServer final : public QAbstractHttpServer {
public:
    explicit TFolderHttpServer(QObject* parent)
        : QAbstractHttpServer(parent)
    {
#if defined(QT_WEBSOCKETS_LIB)
        // The module hands "Upgrade: websocket" requests over as sockets;
        // nothing here speaks that protocol, so they are closed at once.
        connect(this, &QAbstractHttpServer::newWebSocketConnection, this, [this] {
            while (hasPendingWebSocketConnections())
                if (const auto webSocket = nextPendingWebSocketConnection())
                    webSocket->abort();
        });
#endif
    }

    void SetRoot(const QString& folder)
    {
        root_ = folder;
    }

protected:
    bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override
    {
        const bool head = request.method() == Method::Head;
        const Reply reply = Answer(request, head);

        QHttpServerResponder responder = makeResponder(request, socket);
        responder.writeStatusLine(reply.status);
        responder.writeHeader("Content-Type", reply.contentType);
        responder.writeHeader("Content-Length", QByteArray::number(reply.length));
        // A new production rewrites the pages under the same addresses.
        responder.writeHeader("Cache-Control", "no-store");
        if (reply.status == Status::MethodNotAllowed)
            responder.writeHeader("Allow", "GET, HEAD");
        if (HeaderHasToken(request, "connection", "close"))
            responder.writeHeader("Connection", "close");
        responder.writeBody(head ? QByteArray() : reply.body);
        if (HeaderHasToken(request, "connection", "close"))
            socket->disconnectFromHost();
        return true;
    }

    // Not reached: handleRequest answers every request.
    void missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) override
    {
        makeResponder(request, socket).write(Status::NotFound);
    }

private:
    Reply Answer(const QHttpServerRequest& request, bool head) const
    {
        if (request.method() != Method::Get && !head)
            return TextReply(Status::MethodNotAllowed, "Method Not Allowed\n");
        if (!HostIsLoopback(request))
            return TextReply(Status::Forbidden, "Forbidden\n");

        const QString urlPath = request.url().path(QUrl::FullyDecoded);
        const std::optional<QString> file = ResolveFile(root_, urlPath);
        if (!file)
            return TextReply(Status::NotFound, "Not Found\n");

        Reply reply;
        reply.status = Status::Ok;
        reply.contentType = ContentTypeOf(urlPath == QLatin1String("/") ? QStringLiteral("index.html") : urlPath);
        if (head) {
            reply.length = QFileInfo(*file).size();
            return reply;
        }
        QFile in(*file);
        if (!in.open(QIODevice::ReadOnly))
            return TextReply(Status::NotFound, "Not Found\n");
        reply.body = in.readAll();
        reply.length = reply.body.size();
        return reply;
    }

    QString root_;
};

TSiteServer::TSiteServer(QObject* parent)
    : QObject(parent)
{
}

TSiteServer::~TSiteServer() = default;

void TSiteServer::SetRoot(const QString& folder)
{
    root_ = folder;
    if (http_ != nullptr)
        http_->SetRoot(folder);
}

bool TSiteServer::Start()
{
    if (IsListening())
        return true;
    if (http_ == nullptr) {
        http_ = new TFolderHttpServer(this);
        http_->SetRoot(root_);
    }
    return http_->listen(QHostAddress::LocalHost, 0) != 0;
}

bool TSiteServer::IsListening() const
{
    return http_ != nullptr && !http_->servers().isEmpty() && http_->servers().front()->isListening();
}

quint16 TSiteServer::Port() const
{
    return IsListening() ? http_->servers().front()->serverPort() : 0;
}

QHostAddress TSiteServer::Address() const
{
    return IsListening() ? http_->servers().front()->serverAddress() : QHostAddress();
}

QUrl TSiteServer::UrlFor(const QString& relativePath)
{
    if (!Start())
        return {};
    QString path = relativePath;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (path.startsWith(QLatin1Char('/')))
        path.remove(0, 1);
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(QStringLiteral("127.0.0.1"));
    url.setPort(Port());
    url.setPath(QLatin1Char('/') + path, QUrl::DecodedMode);
    return url;
}

QUrl TSiteServer::UrlForFile(const QString& filePath)
{
    if (root_.isEmpty() || filePath.isEmpty())
        return {};
    // Canonical forms when the paths exist, so that a root reached through a
    // symbolic link still contains its files.
    const auto normalised = [](const QString& path) {
        const QFileInfo info(path);
        const QString canonical = info.canonicalFilePath();
        return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
    };
    const QString relative = QDir(normalised(root_)).relativeFilePath(normalised(filePath));
    if (relative == QLatin1String("..") || relative.startsWith(QLatin1String("../")) || QDir::isAbsolutePath(relative)
        || relative == QLatin1String("."))
        return {};
    return UrlFor(relative);
}

} // namespace tavimor
