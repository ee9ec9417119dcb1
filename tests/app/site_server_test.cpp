// The loopback server of the produced site, probed with raw HTTP requests
// written by hand on a socket, so that hostile paths reach it exactly as sent.
#include "app/SiteServer.h"

#include "generator/PageSet.h"
#include "model/DocumentFile.h"
#include "resources/EmbeddedGifs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QNetworkInterface>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

namespace tavimor {
namespace {

constexpr int kWaitMs = 5000;

struct HttpReply {
    int status = 0; // 0: the connection ended without a complete answer
    QMap<QByteArray, QByteArray> headers; // names in lower case
    QByteArray body;
};

// One connection to the server; requests go out byte for byte as given.
class RawClient {
public:
    explicit RawClient(quint16 port, const QHostAddress& address = QHostAddress::LocalHost)
    {
        socket_.connectToHost(address, port);
        [[maybe_unused]] const bool settled = QTest::qWaitFor(
            [this] {
                return socket_.state() == QAbstractSocket::ConnectedState
                    || socket_.state() == QAbstractSocket::UnconnectedState;
            },
            kWaitMs);
    }

    bool Connected() const { return socket_.state() == QAbstractSocket::ConnectedState; }

    // What arrives within a short while beyond the answers taken so far.
    QByteArray Leftover()
    {
        QTest::qWait(100);
        buffer_ += socket_.readAll();
        return buffer_;
    }

    // Sends raw and waits for one whole answer (no body after HEAD).
    HttpReply Exchange(const QByteArray& raw, bool head = false)
    {
        socket_.write(raw);
        std::optional<HttpReply> reply;
        [[maybe_unused]] const bool settled = QTest::qWaitFor(
            [&] {
                buffer_ += socket_.readAll();
                reply = TakeReply(head);
                return reply.has_value() || socket_.state() == QAbstractSocket::UnconnectedState;
            },
            kWaitMs);
        if (!reply)
            reply = TakeReply(head);
        return reply.value_or(HttpReply {});
    }

private:
    // Removes one complete answer from the front of the buffer, if there is one.
    std::optional<HttpReply> TakeReply(bool head)
    {
        const qsizetype end = buffer_.indexOf("\r\n\r\n");
        if (end < 0)
            return std::nullopt;
        HttpReply reply;
        const QList<QByteArray> lines = buffer_.left(end).split('\n');
        const QList<QByteArray> statusLine = lines.front().trimmed().split(' ');
        reply.status = statusLine.size() > 1 ? statusLine[1].toInt() : -1;
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const qsizetype colon = lines[i].indexOf(':');
            if (colon > 0)
                reply.headers.insert(lines[i].left(colon).trimmed().toLower(), lines[i].mid(colon + 1).trimmed());
        }
        const qsizetype length = head ? 0 : reply.headers.value("content-length").toLongLong();
        if (buffer_.size() < end + 4 + length)
            return std::nullopt;
        reply.body = buffer_.mid(end + 4, length);
        buffer_.remove(0, end + 4 + length);
        return reply;
    }

    QTcpSocket socket_;
    QByteArray buffer_;
};

QByteArray Request(const QByteArray& method, const QByteArray& target, quint16 port)
{
    return method + ' ' + target + " HTTP/1.1\r\nHost: 127.0.0.1:" + QByteArray::number(port)
        + "\r\nConnection: close\r\n\r\n";
}

HttpReply Send(quint16 port, const QByteArray& method, const QByteArray& target)
{
    RawClient client(port);
    return client.Exchange(Request(method, target, port), method == "HEAD");
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    file.write(bytes);
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QByteArray kSecret = "the answers of another quiz";
const QByteArray kIndex = "<html><body>R\xE9ponse</body></html>\r\n";
const QByteArray kScript = "var s = \"\xE0 bient\xF4t\";\r\n";
const QByteArray kStyle = "body { color: navy }\r\n";
const QByteArray kGif = QByteArray("GIF89a\x01\x00\x01\x00\x00\x00\x00;", 14);

// A served folder "site" (index.html, hPages/ with a script, a style sheet,
// a picture and other files), beside it a secret file, and symbolic links
// from inside the site to the secret, to the folder above and to a file of
// the site itself.
class SiteServerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(temp.isValid());
        top = temp.path();
        site = top + QStringLiteral("/site");
        ASSERT_TRUE(QDir().mkpath(site + QStringLiteral("/hPages")));
        WriteFile(site + QStringLiteral("/index.html"), kIndex);
        WriteFile(site + QStringLiteral("/hPages/x.js"), kScript);
        WriteFile(site + QStringLiteral("/hPages/quiz.css"), kStyle);
        WriteFile(site + QStringLiteral("/hPages/KWZ.gif"), kGif);
        WriteFile(site + QStringLiteral("/hPages/QUEST.HTM"), kIndex);
        WriteFile(site + QStringLiteral("/hPages/notes.txt"), "notes");
        WriteFile(site + QStringLiteral("/hPages/photo.jpg"), "\xFF\xD8\xFF");
        WriteFile(top + QStringLiteral("/secret.txt"), kSecret);
        // Names that decode to ".." or a backslash once more are refused even where
        // they exist, so that no layer decoding again can make them climb.
        ASSERT_TRUE(QDir().mkpath(site + QStringLiteral("/%2e%2e")));
        WriteFile(site + QStringLiteral("/%2e%2e/index.html"), kIndex);
        WriteFile(site + QStringLiteral("/hPages/a%5cb.js"), kScript);
        ASSERT_TRUE(QFile::link(top + QStringLiteral("/secret.txt"), site + QStringLiteral("/leak.txt")));
        ASSERT_TRUE(QFile::link(top, site + QStringLiteral("/outside")));
        ASSERT_TRUE(QFile::link(site + QStringLiteral("/hPages/x.js"), site + QStringLiteral("/inner.js")));
        // Reachable through the links, so a server that follows them blindly
        // would hand the secret out.
        ASSERT_EQ(ReadFile(site + QStringLiteral("/outside/secret.txt")), kSecret);

        server.SetRoot(site);
        ASSERT_TRUE(server.Start());
        port = server.Port();
        ASSERT_NE(port, 0);
    }

    QTemporaryDir temp;
    QString top;
    QString site;
    TSiteServer server;
    quint16 port = 0;
};

TEST_F(SiteServerTest, GetAndHeadServeFilesWithTheirTypes)
{
    struct Case {
        const char* target;
        const char* type;
        QByteArray body;
    };
    const Case cases[] = {
        {"/index.html", "text/html; charset=windows-1252", kIndex},
        {"/", "text/html; charset=windows-1252", kIndex},
        {"/hPages/QUEST.HTM", "text/html; charset=windows-1252", kIndex},
        {"/hPages/x.js", "application/javascript; charset=windows-1252", kScript},
        {"/hPages/x.js?t=12", "application/javascript; charset=windows-1252", kScript},
        {"/hPages/quiz.css", "text/css; charset=windows-1252", kStyle},
        {"/hPages/KWZ.gif", "image/gif", kGif},
        {"/hPages/photo.jpg", "image/jpeg", "\xFF\xD8\xFF"},
        {"/hPages/notes.txt", "application/octet-stream", "notes"},
        // Links are judged by where they lead: inside the site, they are served.
        {"/inner.js", "application/javascript; charset=windows-1252", kScript},
        {"/outside/site/index.html", "text/html; charset=windows-1252", kIndex},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target);
        const HttpReply get = Send(port, "GET", c.target);
        EXPECT_EQ(get.status, 200);
        EXPECT_EQ(get.headers.value("content-type"), c.type);
        EXPECT_EQ(get.headers.value("cache-control"), "no-store");
        EXPECT_EQ(get.headers.value("content-length").toLongLong(), c.body.size());
        EXPECT_EQ(get.body, c.body);

        // HEAD: the same head, no body (nothing follows on the connection).
        RawClient client(port);
        const HttpReply head = client.Exchange(Request("HEAD", c.target, port), true);
        EXPECT_EQ(head.status, 200);
        EXPECT_EQ(head.headers, get.headers);
        EXPECT_EQ(client.Leftover(), QByteArray());
    }
}

TEST_F(SiteServerTest, KeepsTheConnectionForFurtherRequests)
{
    RawClient client(port);
    const QByteArray host = "Host: 127.0.0.1:" + QByteArray::number(port) + "\r\n";
    EXPECT_EQ(client.Exchange("GET /index.html HTTP/1.1\r\n" + host + "\r\n").body, kIndex);
    EXPECT_EQ(client.Exchange("GET /hPages/x.js HTTP/1.1\r\n" + host + "\r\n").body, kScript);
    // An HTTP/1.0 client without a Host field is served too.
    EXPECT_EQ(client.Exchange("GET /hPages/quiz.css HTTP/1.0\r\n\r\n").body, kStyle);
}

TEST_F(SiteServerTest, RefusesEveryOtherMethodWith405)
{
    for (const char* method : {"POST", "PUT", "DELETE", "OPTIONS", "PATCH", "TRACE", "BREW"}) {
        SCOPED_TRACE(method);
        RawClient client(port);
        const HttpReply reply = client.Exchange(QByteArray(method) + " /index.html HTTP/1.1\r\nHost: 127.0.0.1:"
            + QByteArray::number(port) + "\r\nContent-Length: 5\r\nConnection: close\r\n\r\nhello");
        EXPECT_EQ(reply.status, 405);
        EXPECT_EQ(reply.headers.value("allow"), "GET, HEAD");
        EXPECT_FALSE(reply.body.contains("R\xE9ponse"));
    }
    EXPECT_EQ(ReadFile(site + QStringLiteral("/index.html")), kIndex);
}

TEST_F(SiteServerTest, HostilePathsGet404)
{
    const QByteArray absoluteSecret = QFileInfo(top + QStringLiteral("/secret.txt")).absoluteFilePath().toUtf8();
    const QByteArray targets[] = {
        "/../secret.txt",
        "/hPages/../../secret.txt",
        "/hPages/../index.html", // even where it would stay inside
        "/%2e%2e/secret.txt",
        "/%2E%2e/secret.txt",
        "/%2e%2E%2fsecret.txt",
        "/hPages/%2e%2e/%2e%2e/secret.txt",
        "/%252e%252e/secret.txt",
        "/hPages/%252e%252e/index.html",
        "/%252e%252e/index.html",
        "/%252E%252e/index.html",
        "/hPages/a%255cb.js",
        "/..%2fsecret.txt",
        "/hPages\\..\\index.html",
        "/hPages%5c..%5cindex.html",
        "/hPages%5C..%5Cindex.html",
        "/hPages%5cx.js",
        "/hPages%255cx.js",
        "/index.html%00",
        "/index.html%00.gif",
        "/hPages/x.js%00.html",
        absoluteSecret,
        "/" + absoluteSecret,
        "/%2F" + absoluteSecret.mid(1),
        "http://127.0.0.1" + absoluteSecret,
        "/etc/passwd",
        "//etc/passwd",
        "/leak.txt", // a link to the secret
        "/outside/secret.txt", // through a link to the folder above
        "/hPages", // folders are not listed
        "/hPages/",
        "/outside/",
        "/missing.html",
        "*",
    };
    for (const QByteArray& target : targets) {
        SCOPED_TRACE(target.toStdString());
        const HttpReply reply = Send(port, "GET", target);
        EXPECT_EQ(reply.status, 404);
        EXPECT_EQ(reply.headers.value("content-type"), "text/plain; charset=us-ascii");
        EXPECT_FALSE(reply.body.contains(kSecret));
        EXPECT_FALSE(reply.body.contains("R\xE9ponse"));
        EXPECT_EQ(Send(port, "HEAD", target).status, 404);
    }
}

// Request lines the HTTP parser itself rejects: the connection is dropped
// without an answer, never with a file.
TEST_F(SiteServerTest, MalformedRequestLinesGetNoFile)
{
    const QByteArray targets[] = {
        QByteArray("/index.html\0.gif", 16),
        QByteArray("/\0../secret.txt", 15),
        "/hPages/x.js /../../secret.txt",
    };
    for (const QByteArray& target : targets) {
        SCOPED_TRACE(QString::fromLatin1(target.toPercentEncoding()).toStdString());
        const HttpReply reply = Send(port, "GET", target);
        EXPECT_NE(reply.status, 200);
        EXPECT_FALSE(reply.body.contains(kSecret));
        EXPECT_FALSE(reply.body.contains("R\xE9ponse"));
    }
}

TEST_F(SiteServerTest, RefusesAForeignHostName)
{
    RawClient client(port);
    const HttpReply reply
        = client.Exchange("GET /index.html HTTP/1.1\r\nHost: quiz.example.com\r\nConnection: close\r\n\r\n");
    EXPECT_EQ(reply.status, 403);
    EXPECT_FALSE(reply.body.contains("R\xE9ponse"));
    RawClient byName(port);
    EXPECT_EQ(
        byName.Exchange("GET /index.html HTTP/1.1\r\nHost: LocalHost:" + QByteArray::number(port) + "\r\n\r\n").status,
        200);
}

TEST_F(SiteServerTest, ListensOnTheLoopbackAddressOnly)
{
    EXPECT_EQ(server.Address(), QHostAddress(QHostAddress::LocalHost));
    EXPECT_EQ(server.Address().toString(), QStringLiteral("127.0.0.1"));
    EXPECT_TRUE(RawClient(port).Connected());
    // Every other address of this machine refuses the connection.
    for (const QHostAddress& address : QNetworkInterface::allAddresses()) {
        if (address.isLoopback() || address.protocol() != QAbstractSocket::IPv4Protocol)
            continue;
        SCOPED_TRACE(address.toString().toStdString());
        EXPECT_FALSE(RawClient(port, address).Connected());
    }
    EXPECT_FALSE(RawClient(port, QHostAddress(QHostAddress::LocalHostIPv6)).Connected());
}

TEST_F(SiteServerTest, AddressesOfFilesInsideTheFolder)
{
    const QString base = QStringLiteral("http://127.0.0.1:%1/").arg(port);
    EXPECT_EQ(server.UrlFor(QStringLiteral("index.html")).toString(), base + QStringLiteral("index.html"));
    EXPECT_EQ(server.UrlFor(QStringLiteral("hPages\\quest.htm")).toString(), base + QStringLiteral("hPages/quest.htm"));
    EXPECT_EQ(server.UrlFor(QStringLiteral("/hPages/x.js")).toString(), base + QStringLiteral("hPages/x.js"));
    EXPECT_EQ(server.UrlFor(QStringLiteral("R\u00e9sultat 100%.htm")).toString(QUrl::FullyEncoded),
        base + QStringLiteral("R%C3%A9sultat%20100%25.htm"));

    EXPECT_EQ(
        server.UrlForFile(site + QStringLiteral("/hPages/x.js")).toString(), base + QStringLiteral("hPages/x.js"));
    EXPECT_EQ(server.UrlForFile(site + QStringLiteral("/hPages/../index.html")).toString(),
        base + QStringLiteral("index.html"));
    EXPECT_FALSE(server.UrlForFile(top + QStringLiteral("/secret.txt")).isValid());
    EXPECT_FALSE(server.UrlForFile(site + QStringLiteral("/../secret.txt")).isValid());
    EXPECT_FALSE(server.UrlForFile(site).isValid());

    // A name with a blank and an accent, fetched through its address.
    const QString odd = QStringLiteral("R\u00e9sultat 100%.htm");
    WriteFile(site + QLatin1Char('/') + odd, kIndex);
    const QUrl url = server.UrlFor(odd);
    const HttpReply reply = Send(port, "GET", url.path(QUrl::FullyEncoded).toUtf8());
    EXPECT_EQ(reply.status, 200);
    EXPECT_EQ(reply.body, kIndex);
}

TEST_F(SiteServerTest, ANewRootIsServedOnTheSamePort)
{
    const QString other = top + QStringLiteral("/other");
    ASSERT_TRUE(QDir().mkpath(other));
    WriteFile(other + QStringLiteral("/index.html"), "second quiz");

    server.SetRoot(other);
    EXPECT_EQ(server.Port(), port);
    EXPECT_EQ(server.UrlFor(QStringLiteral("index.html")).port(), port);
    EXPECT_EQ(Send(port, "GET", "/index.html").body, "second quiz");
    EXPECT_EQ(Send(port, "GET", "/hPages/x.js").status, 404);

    server.SetRoot(QString());
    EXPECT_EQ(Send(port, "GET", "/index.html").status, 404);
    EXPECT_EQ(Send(port, "GET", "/").status, 404);
}

TEST(SiteServer, StartsOnFirstUse)
{
    TSiteServer server;
    EXPECT_FALSE(server.IsListening());
    EXPECT_EQ(server.Port(), 0);
    const QUrl url = server.UrlFor(QStringLiteral("index.html"));
    EXPECT_TRUE(server.IsListening());
    EXPECT_EQ(url.host(), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(url.port(), server.Port());
    EXPECT_TRUE(server.Start());
    EXPECT_EQ(server.UrlFor(QStringLiteral("index.html")), url) << "a second start keeps the port";
}

// A real site produced from the example document, fetched as the browser does.
TEST(SiteServer, ServesAProducedSite)
{
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const QString document = temp.path() + QStringLiteral("/decouverte.kwz");
    ASSERT_TRUE(QFile::copy(QStringLiteral(TAVIMOR_TEST_DATA "/../examples/decouverte.kwz"), document));
    ASSERT_TRUE(QDir().mkpath(temp.path() + QStringLiteral("/prefs")));

    TQuizDocument doc;
    const std::string prefs = temp.path().toStdString() + "/prefs/";
    ResetToStartupState(doc, prefs);
    LoadDocument(doc, document.toStdString());
    THKWZ site(doc, EmbeddedGifs());
    site.DocumentPath = document.toStdString();
    site.PrefsDir = prefs;
    site.ResumBody = doc.Pages.GetBody(0);
    site.Notify = [](const std::string&) {};
    const ProduceOutcome outcome = site.Produce(true);
    ASSERT_TRUE(outcome.Produced) << outcome.Message;

    const QString outDir = QString::fromStdString(site.OutDir);
    TSiteServer server;
    server.SetRoot(outDir);
    const QUrl index = server.UrlFor(QStringLiteral("index.html"));
    ASSERT_TRUE(index.isValid());
    const quint16 port = server.Port();

    const HttpReply page = Send(port, "GET", index.path().toUtf8());
    EXPECT_EQ(page.status, 200);
    EXPECT_EQ(page.headers.value("content-type"), "text/html; charset=windows-1252");
    EXPECT_EQ(page.body, ReadFile(outDir + QStringLiteral("index.html")));
    EXPECT_TRUE(page.body.contains("<frameset") || page.body.contains("<FRAMESET")) << page.body.left(400).data();

    const QString script = QStringLiteral("hPages/") + QString::fromStdString(site.ScriptName);
    const HttpReply code = Send(port, "GET", server.UrlFor(script).path(QUrl::FullyEncoded).toUtf8());
    EXPECT_EQ(code.status, 200);
    EXPECT_EQ(code.headers.value("content-type"), "application/javascript; charset=windows-1252");
    EXPECT_FALSE(code.body.isEmpty());
    EXPECT_EQ(code.body, ReadFile(outDir + script));

    const QUrl quest = server.UrlForFile(QString::fromStdString(site.PagesDir) + QStringLiteral("quest.htm"));
    const HttpReply questPage = Send(port, "GET", quest.path().toUtf8());
    EXPECT_EQ(questPage.status, 200);
    EXPECT_EQ(questPage.body, ReadFile(outDir + QStringLiteral("hPages/quest.htm")));
}

} // namespace
} // namespace tavimor
