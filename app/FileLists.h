// The drive list, folder list and masked file list with which the image and
// link insertion dialogs let the author pick a file. They browse on their own
// and never move the process's current folder.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QComboBox;
class QFileSystemModel;
class QListView;
class QTimer;
class QTreeView;
class QWidget;

namespace tavimor {

// `folder` with a final "/" ("/" stays "/").
QString WithFinalSlash(const QString& folder);

class TFileLists : public QObject {
    Q_OBJECT

public:
    // The three controls are children of parent, named DriveList, DirList and
    // FileList; the file list shows the files matching one of nameFilters
    // (without regard to case).
    TFileLists(QWidget* parent, const QStringList& nameFilters);

    QComboBox* driveList() const { return drives_; }
    QTreeView* folderList() const { return folders_; }
    QListView* fileList() const { return files_; }

    // Shows folder, or its nearest existing ancestor when it does not exist.
    void setFolder(const QString& folder);
    // The folder shown: absolute, without a final "/" (except "/" itself).
    QString folder() const { return folder_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    // A file was selected in the file list, with the mouse or the keys.
    void fileSelected(const QString& path);

private:
    void ShowFolder(const QString& folder, bool fromTree);
    void FillDrives();
    void SyncDrive();
    void RevealFolder();
    void ListFiles();

    QComboBox* drives_ = nullptr;
    QTreeView* folders_ = nullptr;
    QListView* files_ = nullptr;
    QFileSystemModel* folderModel_ = nullptr;
    QStringList nameFilters_;
    QFileSystemModel* fileModel_ = nullptr; // one per folder shown
    QString folder_;
    QTimer* revealTimer_ = nullptr;
    bool autoReveal_ = true;
};

} // namespace tavimor
