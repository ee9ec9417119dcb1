#include "app/FileLists.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QListView>
#include <QScreen>
#include <QSignalBlocker>
#include <QStorageInfo>
#include <QTreeView>
#include <QWidget>

namespace tavimor {

QString WithFinalSlash(const QString& folder)
{
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

void CenterDialog(QWidget& window)
{
    const QWidget* parent = window.parentWidget();
    const QScreen* screen = parent ? parent->screen() : window.screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen)
        window.move(screen->availableGeometry().center() - window.rect().center());
}

TFileLists::TFileLists(QWidget* parent, const QStringList& nameFilters)
    : QObject(parent)
{
    drives_ = new QComboBox(parent);
    drives_->setObjectName(QStringLiteral("DriveList"));
    fillDrives();

    folderModel_ = new QFileSystemModel(this);
    folderModel_->setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot);
    folderModel_->setRootPath(QDir::rootPath());
    folders_ = new QTreeView(parent);
    folders_->setObjectName(QStringLiteral("DirList"));
    folders_->setModel(folderModel_);
    for (int column = 1; column < folderModel_->columnCount(); ++column)
        folders_->hideColumn(column);
    folders_->setHeaderHidden(true);
    folders_->setIndentation(10);
    folders_->setSelectionMode(QAbstractItemView::SingleSelection);

    fileModel_ = new QFileSystemModel(this);
    fileModel_->setFilter(QDir::Files);
    fileModel_->setNameFilters(nameFilters);
    fileModel_->setNameFilterDisables(false);
    files_ = new QListView(parent);
    files_->setObjectName(QStringLiteral("FileList"));
    files_->setModel(fileModel_);
    files_->setSelectionMode(QAbstractItemView::SingleSelection);

    connect(drives_, &QComboBox::activated, this, [this](int index) {
        const QString root = drives_->itemData(index).toString();
        if (!root.isEmpty())
            showFolder(root, false);
    });
    connect(folders_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        const QModelIndexList selected = folders_->selectionModel()->selectedRows();
        if (!selected.isEmpty())
            showFolder(folderModel_->filePath(selected.first()), true);
    });
    // Selection rather than the current item: a view that takes the focus
    // makes its first line current without anybody choosing it.
    connect(files_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        const QModelIndexList selected = files_->selectionModel()->selectedRows();
        if (!selected.isEmpty())
            emit fileSelected(fileModel_->filePath(selected.first()));
    });
}

void TFileLists::fillDrives()
{
    // The root, the home folder and every mounted volume that is a folder.
    QStringList roots {QDir::rootPath(), QDir::homePath()};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady() && QFileInfo(volume.rootPath()).isDir())
            roots << volume.rootPath();
    }
    roots.removeDuplicates();
    for (const QString& root : roots)
        drives_->addItem(QDir::toNativeSeparators(root), root);
}

void TFileLists::setFolder(const QString& folder)
{
    QString shown = QDir::cleanPath(QDir(folder).absolutePath());
    while (!QFileInfo(shown).isDir() && shown != QDir::rootPath())
        shown = QFileInfo(shown).absolutePath();
    showFolder(shown, false);
}

void TFileLists::showFolder(const QString& folder, bool fromTree)
{
    folder_ = QDir::cleanPath(folder);
    const QModelIndex dirIndex = folderModel_->index(folder_);
    if (!fromTree && dirIndex.isValid()) {
        const QSignalBlocker blocker(folders_->selectionModel());
        folders_->selectionModel()->setCurrentIndex(dirIndex, QItemSelectionModel::ClearAndSelect);
        folders_->viewport()->update();
    }
    // The folder list shows the way down to the folder and its subfolders.
    for (QModelIndex up = dirIndex; up.isValid(); up = up.parent())
        folders_->expand(up);
    folders_->scrollTo(dirIndex);

    files_->selectionModel()->clear();
    fileModel_->setRootPath(folder_);
    files_->setRootIndex(fileModel_->index(folder_));
    syncDrive();
    emit folderChanged(folder_);
}

void TFileLists::syncDrive()
{
    // The longest drive root that holds the folder.
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < drives_->count(); ++i) {
        const QString root = drives_->itemData(i).toString();
        if ((folder_ == root || folder_.startsWith(WithFinalSlash(root))) && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    const QSignalBlocker blocker(drives_);
    drives_->setCurrentIndex(best);
}

} // namespace tavimor
