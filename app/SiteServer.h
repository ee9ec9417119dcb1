// The editor's loopback web server: it serves the folder of the last produced
// quiz site so that the user's browser (and the embedded one) open the site
// over http://127.0.0.1, where its frames may script each other. Browsers
// refuse that between file:// pages.
//
// The server listens on 127.0.0.1 only, on a port the system picks, and only
// once it is first needed. It is read-only: GET and HEAD of regular files
// inside the served folder, nothing else.
#pragma once

#include <QHostAddress>
#include <QObject>
#include <QString>
#include <QUrl>

namespace tavimor {

class TFolderHttpServer;

class TSiteServer : public QObject {
    Q_OBJECT

public:
    explicit TSiteServer(QObject* parent = nullptr);
    ~TSiteServer() override;

    // The folder served from now on (the output folder of the last
    // production). Requests already answered are not affected; the port stays
    // the same. An empty folder serves nothing (every request gets 404).
    void SetRoot(const QString& folder);

    // Starts listening on 127.0.0.1 with a free port unless already listening.
    // False when the system refuses (no loopback interface, no free port).
    bool Start();
    bool IsListening() const;
    // 0 until the server listens.
    quint16 Port() const;
    // The address listened on (127.0.0.1), null until the server listens.
    QHostAddress Address() const;

    // http://127.0.0.1:PORT/relativePath, starting the server if needed.
    // relativePath is relative to the served folder ("index.html",
    // "hPages/quest.htm"; "\" counts as "/"); it is percent-encoded here.
    // An invalid QUrl when the server cannot listen.
    QUrl UrlFor(const QString& relativePath);
    // The address of filePath (absolute, or relative to the current folder)
    // when it lies inside the served folder; an invalid QUrl otherwise or when
    // the server cannot listen.
    QUrl UrlForFile(const QString& filePath);

private:
    QString root_;
    TFolderHttpServer* http_ = nullptr; // child, created by Start()
};

} // namespace tavimor
