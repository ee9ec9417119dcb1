#include "app/results/ResultsFiles.h"

#include "analysis/ResultsRecord.h"
#include "app/TextCodec.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>

namespace tavimor {

namespace {

// The same file reached by two paths (a link, "..") is one file.
QString Identity(const QFileInfo& info)
{
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

} // namespace

void TResultsFiles::Clear()
{
    sources_.clear();
    unread_.clear();
    seen_.clear();
    bytes_ = 0;
}

void TResultsFiles::Add(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir())
        AddFolder(info.absoluteFilePath());
    else
        AddFile(info.absoluteFilePath(), info.fileName());
}

void TResultsFiles::Refuse(const QString& shownName, const char* reason)
{
    unread_.push_back({ToCore(shownName), reason});
}

void TResultsFiles::AddFile(const QString& path, const QString& shownName)
{
    const QFileInfo info(path);
    const QString identity = Identity(info);
    if (seen_.contains(identity))
        return;
    seen_.insert(identity);
    if (!info.isFile()) {
        Refuse(shownName, "le fichier est introuvable ou illisible");
        return;
    }
    // Refused unread: its size alone says it is no results file.
    if (info.size() > static_cast<qint64>(kMaxResultsFileSize)) {
        Refuse(shownName, "le fichier est trop grand pour \xEAtre un r\xE9sultat");
        return;
    }
    if (bytes_ + info.size() > kMaxResultsBytes) {
        Refuse(shownName, "les fichiers d\xE9j\xE0 ajout\xE9s d\xE9passent 256 Mo : celui-ci n'a pas \xE9t\xE9 lu");
        return;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Refuse(shownName, "le fichier est illisible");
        return;
    }
    // No more than the limit, though the file may have grown since its size was taken.
    const QByteArray bytes = file.read(static_cast<qint64>(kMaxResultsFileSize) + 1);
    if (file.error() != QFileDevice::NoError) {
        Refuse(shownName, "le fichier est illisible");
        return;
    }
    if (bytes.size() > static_cast<qint64>(kMaxResultsFileSize)) {
        Refuse(shownName, "le fichier est trop grand pour \xEAtre un r\xE9sultat");
        return;
    }
    bytes_ += bytes.size();
    sources_.push_back({ToCore(shownName), bytes.toStdString()});
}

void TResultsFiles::AddFolder(const QString& path)
{
    const QDir folder(path);
    // Files are shown from the folder's own name down: "classe/alice.txt".
    const QDir above = QFileInfo(path).dir();
    if (!folder.isReadable()) {
        Refuse(above.relativeFilePath(path), "le dossier n'a pas pu \xEAtre lu en entier");
        return;
    }
    // Without QDir::Hidden the iterator neither lists hidden files nor goes
    // into hidden folders; without FollowSymlinks it cannot go round a loop.
    QStringList files;
    bool cut = false;
    QDirIterator it(path, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        if (files.size() == kMaxFolderFiles) {
            cut = true;
            break;
        }
        files << it.next();
    }
    std::sort(files.begin(), files.end());
    for (const QString& file : files)
        AddFile(file, above.relativeFilePath(file));
    if (cut)
        Refuse(above.relativeFilePath(path),
            "le dossier contient plus de 5 000 fichiers : les suivants n'ont pas \xE9t\xE9 lus");
}

} // namespace tavimor
