#include "app/LinkDialog.h"

#include "app/WidgetHelpers.h"

#include "app/FileLists.h"
#include "app/TextCodec.h"
#include "generator/LinkPaths.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStandardPaths>
#include <QTreeView>
#include <QVBoxLayout>

namespace tavimor {

namespace {

const QString kDesktopCaption = QStringLiteral("Bur.");
const QString kBackCaption = QStringLiteral("<->");

} // namespace

THRefDlgFrm::THRefDlgFrm(const QStringList& frameTargets, QWidget* parent)
    : QDialog(parent)
    , desktopFolders_ {QStandardPaths::writableLocation(QStandardPaths::DesktopLocation),
          QDir::home().filePath(QStringLiteral("Bureau")), QDir::home().filePath(QStringLiteral("Desktop"))}
{
    setWindowTitle(QStringLiteral("Lien..."));
    setFont(QFont(QStringLiteral("Arial"), 9));
    setFixedSize(371, 271);

    // "*.htm" also names the ".html" files, as the system's own masks did.
    lists_ = new TFileLists(this, {QStringLiteral("*.htm"), QStringLiteral("*.html")});
    desktopBtn_ = new QPushButton(kDesktopCaption, this);
    desktopBtn_->setObjectName(QStringLiteral("DeskBtn"));
    desktopBtn_->setAutoDefault(false);
    desktopBtn_->setFixedWidth(36);
    NameControl(desktopBtn_, QStringLiteral("Bureau"));

    relativeCheck_ = new QCheckBox(QStringLiteral("Utiliser l'adresse relative"), this);
    relativeCheck_->setObjectName(QStringLiteral("RelCheck"));
    relativeCheck_->setChecked(true);
    fileEdit_ = new QLineEdit(this);
    fileEdit_->setObjectName(QStringLiteral("FileEdit"));
    targetCombo_ = new QComboBox(this);
    targetCombo_->setObjectName(QStringLiteral("TargetCombo"));
    targetCombo_->setEditable(true);
    targetCombo_->addItems({QStringLiteral("main"), QStringLiteral("_top"), QStringLiteral("blank")});
    targetCombo_->setEditText(frameTargets.isEmpty() ? QStringLiteral("main") : frameTargets.first());
    linkEdit_ = new QLineEdit(this);
    linkEdit_->setObjectName(QStringLiteral("LinkEdit"));
    addressLab_ = new QLabel(this);
    addressLab_->setObjectName(QStringLiteral("AddressLab"));
    addressLab_->setTextFormat(Qt::PlainText);
    addressLab_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto* okBtn = new QPushButton(QStringLiteral("OK"), this);
    okBtn->setObjectName(QStringLiteral("OkBtn"));
    okBtn->setDefault(true);

    auto* driveRow = new QHBoxLayout;
    driveRow->addWidget(lists_->driveList(), 1);
    driveRow->addWidget(desktopBtn_);
    auto* folderColumn = new QVBoxLayout;
    folderColumn->addLayout(driveRow);
    folderColumn->addWidget(lists_->folderList(), 1);
    auto* top = new QHBoxLayout;
    top->addLayout(folderColumn, 1);
    top->addWidget(lists_->fileList(), 1);

    auto* fields = new QGridLayout;
    fields->setVerticalSpacing(3);
    fields->addWidget(relativeCheck_, 0, 0, 1, 4, Qt::AlignLeft);
    const auto label = [this](const QString& caption, QWidget* field) {
        auto* tied = new QLabel(caption, this);
        tied->setBuddy(field);
        return tied;
    };
    fields->addWidget(label(QStringLiteral("nom du fichier:"), fileEdit_), 1, 0);
    fields->addWidget(fileEdit_, 1, 1, 1, 3);
    fields->addWidget(label(QStringLiteral("TARGET="), targetCombo_), 2, 0);
    fields->addWidget(targetCombo_, 2, 1);
    fields->addWidget(label(QStringLiteral("étiquette du lien:"), linkEdit_), 2, 2);
    fields->addWidget(linkEdit_, 2, 3);
    NameComboBox(targetCombo_, QStringLiteral("TARGET="), QStringLiteral("Cadre cible (TARGET=)"));
    fields->setColumnStretch(1, 1);
    fields->setColumnStretch(3, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(addressLab_, 1);
    bottom->addWidget(okBtn);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);
    layout->addLayout(top, 1);
    layout->addLayout(fields);
    layout->addLayout(bottom);

    ChainTabOrder({lists_->driveList(), desktopBtn_, lists_->folderList(), lists_->fileList(), relativeCheck_,
        fileEdit_, targetCombo_, linkEdit_, okBtn});

    connect(okBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(desktopBtn_, &QPushButton::clicked, this, &THRefDlgFrm::DesktopClicked);
    connect(lists_, &TFileLists::fileSelected, this, &THRefDlgFrm::FileSelected);
    connect(relativeCheck_, &QCheckBox::toggled, this, &THRefDlgFrm::RelativeToggled);
    connect(targetCombo_, &QComboBox::editTextChanged, this, &THRefDlgFrm::RebuildAddress);
    connect(fileEdit_, &QLineEdit::textChanged, this, &THRefDlgFrm::RebuildAddress);
    connect(linkEdit_, &QLineEdit::textChanged, this, &THRefDlgFrm::RebuildAddress);

    RebuildAddress();
}

void THRefDlgFrm::setFolder(const QString& folder)
{
    lists_->setFolder(folder.isEmpty() ? QDir::homePath() : folder);
}

void THRefDlgFrm::setLinkLabel(const QString& label)
{
    linkEdit_->setText(label);
}

void THRefDlgFrm::setTarget(const QString& target)
{
    targetCombo_->setEditText(target);
}

void THRefDlgFrm::setFileName(const QString& fileName)
{
    fileEdit_->setText(fileName);
}

QString THRefDlgFrm::address() const
{
    return addressLab_->text().trimmed();
}

QString THRefDlgFrm::linkLabel() const
{
    return linkEdit_->text().trimmed();
}

QString THRefDlgFrm::folder() const
{
    return lists_->folder();
}

QString THRefDlgFrm::target() const
{
    return targetCombo_->currentText();
}

QString THRefDlgFrm::fileName() const
{
    return fileEdit_->text();
}

void THRefDlgFrm::showEvent(QShowEvent* event)
{
    if (lists_->folder().isEmpty())
        lists_->setFolder(QDir::homePath());
    CenterOnScreen(*this);
    QDialog::showEvent(event);
}

void THRefDlgFrm::FileSelected(const QString& path)
{
    clickedFile_ = path;
    fileEdit_->setText(relativeCheck_->isChecked() ? QFileInfo(path).fileName() : path);
    RebuildAddress();
}

void THRefDlgFrm::RelativeToggled(bool relative)
{
    // Before any file was picked the field keeps what the caller proposed.
    // The full path is the one of the file picked, wherever the lists went since.
    if (!clickedFile_.isEmpty())
        fileEdit_->setText(relative ? QFileInfo(clickedFile_).fileName() : clickedFile_);
    RebuildAddress();
}

void THRefDlgFrm::DesktopClicked()
{
    if (desktopBtn_->text() == kDesktopCaption) {
        folderBeforeDesktop_ = lists_->folder();
        for (const QString& desktop : std::as_const(desktopFolders_)) {
            if (!desktop.isEmpty() && QFileInfo(desktop).isDir()) {
                lists_->setFolder(desktop);
                break;
            }
        }
        desktopBtn_->setText(kBackCaption);
        NameControl(desktopBtn_, QStringLiteral("Revenir au dossier précédent"));
    } else {
        lists_->setFolder(folderBeforeDesktop_);
        desktopBtn_->setText(kDesktopCaption);
        NameControl(desktopBtn_, QStringLiteral("Bureau"));
    }
}

void THRefDlgFrm::RebuildAddress()
{
    addressLab_->setText(FromCore(LinkAddress(ToCore(fileEdit_->text()), ToCore(targetCombo_->currentText()))));
    addressLab_->setToolTip(addressLab_->text());
}

TAttachedFileCaptions ChooseAttachedFile(
    QWidget* parent, const TAttachedFileCaptions& captions, QString& linkFolder, const QStringList& frameTargets)
{
    const TLinkSeed seed = LinkSeedFromCaptions(ToCore(captions.CheckCaption), ToCore(captions.ButtonCaption));
    THRefDlgFrm dialog(frameTargets, parent);
    dialog.setWindowTitle(QStringLiteral("Associer un fichier HTML externe"));
    dialog.setFolder(linkFolder);
    dialog.setLinkLabel(FromCore(seed.LinkText));
    dialog.setTarget(FromCore(seed.Target));
    dialog.setFileName(FromCore(seed.FileName));

    QString linkText = FromCore(seed.LinkText);
    QString address;
    if (dialog.exec() == QDialog::Accepted) {
        address = dialog.address();
        linkText = dialog.linkLabel();
        linkFolder = dialog.folder();
    }
    TAttachedFileCaptions result = captions;
    result.CheckCaption = FromCore(CheckCaptionWithLinkText(ToCore(captions.CheckCaption), ToCore(linkText)));
    if (!address.isEmpty())
        result.ButtonCaption = address;
    return result;
}

} // namespace tavimor
