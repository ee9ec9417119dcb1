#include "app/FileLists.h"

#include "app/WidgetHelpers.h"

#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QItemSelectionModel>
#include <QListView>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStorageInfo>
#include <QTimer>
#include <QTreeView>
#include <QWidget>

namespace tavimor {

QString WithFinalSlash(const QString& folder)
{
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

TFileLists::TFileLists(QWidget* parent, const QStringList& nameFilters)
    : QObject(parent)
    , nameFilters_(nameFilters)
{
    drives_ = new QComboBox(parent);
    drives_->setObjectName(QStringLiteral("DriveList"));
    NameComboBox(drives_, QStringLiteral("Lecteur"));
    drives_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    drives_->setMinimumContentsLength(6);
    FillDrives();

    folderModel_ = new QFileSystemModel(this);
    folderModel_->setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot);
    folderModel_->setRootPath(QDir::rootPath());
    folders_ = new QTreeView(parent);
    folders_->setObjectName(QStringLiteral("DirList"));
    folders_->setAccessibleName(QStringLiteral("Dossiers"));
    folders_->setModel(folderModel_);
    for (int column = 1; column < folderModel_->columnCount(); ++column)
        folders_->hideColumn(column);
    folders_->setHeaderHidden(true);
    folders_->setIndentation(10);
    folders_->setSelectionMode(QAbstractItemView::SingleSelection);
    folders_->installEventFilter(this);
    folders_->viewport()->installEventFilter(this);
    folders_->verticalScrollBar()->installEventFilter(this);

    files_ = new QListView(parent);
    files_->setObjectName(QStringLiteral("FileList"));
    files_->setAccessibleName(QStringLiteral("Fichiers"));
    files_->setSelectionMode(QAbstractItemView::SingleSelection);

    connect(drives_, &QComboBox::activated, this, [this](int index) {
        const QString root = drives_->itemData(index).toString();
        if (!root.isEmpty())
            ShowFolder(root, false);
    });
    connect(folders_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        const QModelIndexList selected = folders_->selectionModel()->selectedRows();
        if (!selected.isEmpty())
            ShowFolder(folderModel_->filePath(selected.first()), true);
    });
    // The folders load, are listed and sorted in the background, each step
    // later than the one before: whenever the way down to the folder shown
    // changes, the folder is brought into view again once things settle,
    // until the author takes the folder list in hand.
    revealTimer_ = new QTimer(this);
    revealTimer_->setSingleShot(true);
    revealTimer_->setInterval(30);
    connect(revealTimer_, &QTimer::timeout, this, [this] {
        if (autoReveal_)
            RevealFolder();
    });
    const auto onTheWay = [this](const QModelIndex& parent) {
        const QString path = folderModel_->filePath(parent);
        if (!parent.isValid() || folder_ == path || folder_.startsWith(WithFinalSlash(path)))
            revealTimer_->start();
    };
    connect(folderModel_, &QFileSystemModel::rowsInserted, this, onTheWay);
    connect(folderModel_, &QFileSystemModel::layoutChanged, revealTimer_, qOverload<>(&QTimer::start));
}

bool TFileLists::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Show:
        // Scrolling means something only once the list has its size on screen.
        if (watched == folders_)
            revealTimer_->start();
        break;
    case QEvent::MouseButtonPress:
    case QEvent::Wheel:
    case QEvent::KeyPress:
        autoReveal_ = false;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void TFileLists::FillDrives()
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
    ShowFolder(shown, false);
}

void TFileLists::ShowFolder(const QString& folder, bool fromTree)
{
    folder_ = QDir::cleanPath(folder);
    // A folder clicked in the list is in view already: it only opens.
    autoReveal_ = !fromTree;
    if (fromTree)
        folders_->expand(folderModel_->index(folder_));
    else
        RevealFolder();

    ListFiles();
    SyncDrive();
}

void TFileLists::ListFiles()
{
    // A file model asked about a path lists the folders on the way to it,
    // whatever its filter: a fresh model per folder keeps those out of the list.
    QFileSystemModel* previous = fileModel_;
    QItemSelectionModel* previousSelection = files_->selectionModel();
    fileModel_ = new QFileSystemModel(this);
    fileModel_->setFilter(QDir::Files);
    fileModel_->setNameFilters(nameFilters_);
    fileModel_->setNameFilterDisables(false);
    files_->setModel(fileModel_);
    files_->setRootIndex(fileModel_->setRootPath(folder_));
    delete previousSelection;
    if (previous)
        previous->deleteLater();

    // Selection rather than the current item: a view that takes the focus
    // makes its first line current without anybody choosing it. Only the
    // name column of a list is selected, not whole rows.
    connect(files_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        const QModelIndexList selected = files_->selectionModel()->selectedIndexes();
        if (!selected.isEmpty())
            emit fileSelected(fileModel_->filePath(selected.first()));
    });
}

void TFileLists::RevealFolder()
{
    // The folder list shows the way down to the folder, selected, and its subfolders.
    const QModelIndex dirIndex = folderModel_->index(folder_);
    if (!dirIndex.isValid())
        return;
    for (QModelIndex up = dirIndex; up.isValid(); up = up.parent())
        folders_->expand(up);
    {
        const QSignalBlocker blocker(folders_->selectionModel());
        folders_->selectionModel()->setCurrentIndex(dirIndex, QItemSelectionModel::ClearAndSelect);
    }
    folders_->viewport()->update();
    folders_->scrollTo(dirIndex, QAbstractItemView::PositionAtCenter);
}

void TFileLists::SyncDrive()
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
