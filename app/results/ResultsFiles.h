// The results files a teacher gives the class results window: files and
// folders read into the sources the core checks, each file once, and the
// files that could not be read, with why.
#pragma once

#include "analysis/ClassResults.h"

#include <QSet>
#include <QString>

#include <vector>

namespace tavimor {

// A folder dropped by mistake (a whole home folder) is cut short with a
// message instead of keeping the window busy: at most this many files are
// taken from one folder, and this many bytes from all the files together.
inline constexpr int kMaxFolderFiles = 5000;
inline constexpr qint64 kMaxResultsBytes = qint64 {256} << 20;

class TResultsFiles {
public:
    // A file, or every file inside a folder and its subfolders (hidden names
    // apart), in the order of their paths. A file taken before, by itself or
    // inside a folder, is not taken again.
    void Add(const QString& path);

    const std::vector<TResultsSource>& Sources() const { return sources_; }
    // The files that could not be read, with French reasons (Windows-1252).
    const std::vector<TRefusedFile>& Unread() const { return unread_; }
    bool IsEmpty() const { return seen_.isEmpty(); }
    void Clear();

private:
    void AddFile(const QString& path, const QString& shownName);
    void AddFolder(const QString& path);
    void Refuse(const QString& shownName, const char* reason);

    std::vector<TResultsSource> sources_;
    std::vector<TRefusedFile> unread_;
    QSet<QString> seen_; // absolute paths of the files and folders met
    qint64 bytes_ = 0;
};

} // namespace tavimor
