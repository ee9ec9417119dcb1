#include "app/ImageDialog.h"

#include "app/WidgetHelpers.h"

#include "app/FileLists.h"
#include "app/MessageBoxes.h"
#include "app/TextCodec.h"
#include "generator/LinkPaths.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace tavimor {

namespace {

QLineEdit* MakeField(QWidget* parent, const QString& name)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    return field;
}

QRadioButton* MakeRadio(QWidget* parent, const QString& text, const QString& name)
{
    auto* radio = new QRadioButton(text, parent);
    radio->setObjectName(name);
    return radio;
}

} // namespace

TImgFrmDlg::TImgFrmDlg(const QString& startFolder, QWidget* parent)
    : QDialog(parent)
    , filePath_(WithFinalSlash(QDir::cleanPath(QDir(startFolder).absolutePath())))
{
    setWindowTitle(QStringLiteral("Image..."));
    setFont(QFont(QStringLiteral("Arial"), 9));
    setFixedSize(470, 315);

    lists_ = new TFileLists(this, {QStringLiteral("*.jpg"), QStringLiteral("*.jpeg"), QStringLiteral("*.gif")});
    nameEdit_ = MakeField(this, QStringLiteral("NameEdit"));

    // The preview box keeps its design size inside a sunken frame.
    auto* previewFrame = new QFrame(this);
    previewFrame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    previewFrame->setLineWidth(1);
    previewFrame->setFixedSize(kPreviewSize + QSize(2, 2));
    preview_ = new QLabel(previewFrame);
    preview_->setObjectName(QStringLiteral("ImgPreview"));
    preview_->setGeometry(QRect(QPoint(1, 1), kPreviewSize));
    preview_->setAlignment(Qt::AlignCenter);

    widthEdit_ = MakeField(this, QStringLiteral("WidthEdit"));
    heightEdit_ = MakeField(this, QStringLiteral("HeightEdit"));
    hSpaceEdit_ = MakeField(this, QStringLiteral("HSpaceEdit"));
    vSpaceEdit_ = MakeField(this, QStringLiteral("VSpaceEdit"));
    borderCheck_ = new QCheckBox(QStringLiteral("Cadre"), this);
    borderCheck_->setObjectName(QStringLiteral("BorderCheck"));

    auto* alignGroup = new QGroupBox(QStringLiteral("Alignement "), this);
    alignGroup->setObjectName(QStringLiteral("AlignGroup"));
    alignNone_ = MakeRadio(alignGroup, QStringLiteral("aucun"), QStringLiteral("AlignNone"));
    alignLeft_ = MakeRadio(alignGroup, QStringLiteral("gauche"), QStringLiteral("AlignLeft"));
    alignRight_ = MakeRadio(alignGroup, QStringLiteral("droite"), QStringLiteral("AlignRight"));
    alignNone_->setChecked(true);
    auto* alignLayout = new QVBoxLayout(alignGroup);
    alignLayout->setContentsMargins(6, 2, 6, 2);
    alignLayout->setSpacing(0);
    alignLayout->addWidget(alignNone_);
    alignLayout->addWidget(alignLeft_);
    alignLayout->addWidget(alignRight_);

    altEdit_ = MakeField(this, QStringLiteral("AltEdit"));
    detail_ = new QLabel(this);
    detail_->setObjectName(QStringLiteral("DetailLab"));
    detail_->setTextFormat(Qt::PlainText);
    detail_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    detail_->setFont(QFont(QStringLiteral("Arial"), 7));
    // Long folders are cut at the right rather than widening the fixed form.
    detail_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    auto* okBtn = new QPushButton(QStringLiteral("OK"), this);
    okBtn->setObjectName(QStringLiteral("OkBtn"));
    okBtn->setDefault(true);

    const auto label = [this](const QString& caption, QWidget* field) {
        auto* tied = new QLabel(caption, this);
        tied->setBuddy(field);
        return tied;
    };
    auto* nameColumn = new QVBoxLayout;
    nameColumn->addWidget(label(QStringLiteral("Nom du fichier:"), nameEdit_));
    nameColumn->addWidget(nameEdit_);
    nameColumn->addWidget(lists_->fileList(), 1);
    auto* folderColumn = new QVBoxLayout;
    folderColumn->addWidget(lists_->driveList());
    folderColumn->addWidget(lists_->folderList(), 1);
    auto* previewColumn = new QVBoxLayout;
    previewColumn->addWidget(previewFrame);
    previewColumn->addWidget(borderCheck_, 0, Qt::AlignLeft);
    previewColumn->addStretch();
    auto* top = new QHBoxLayout;
    top->addLayout(nameColumn, 1);
    top->addLayout(folderColumn, 1);
    top->addLayout(previewColumn);

    auto* sizes = new QGridLayout;
    sizes->setVerticalSpacing(2);
    const auto addSize = [sizes, &label](int row, int column, const QString& caption, QLineEdit* field) {
        sizes->addWidget(label(caption, field), row, column);
        field->setFixedWidth(44);
        sizes->addWidget(field, row, column + 1);
    };
    addSize(0, 0, QStringLiteral("Width:"), widthEdit_);
    addSize(0, 2, QStringLiteral("Height:"), heightEdit_);
    addSize(1, 0, QStringLiteral("HSpace:"), hSpaceEdit_);
    addSize(1, 2, QStringLiteral("VSpace:"), vSpaceEdit_);
    auto* altColumn = new QVBoxLayout;
    altColumn->setSpacing(2);
    altColumn->addWidget(label(QStringLiteral("Texte de l'image (ALT=)"), altEdit_));
    altColumn->addWidget(altEdit_);
    altColumn->addStretch();
    auto* middle = new QHBoxLayout;
    middle->addLayout(sizes);
    middle->addWidget(alignGroup);
    middle->addLayout(altColumn, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(detail_, 1);
    bottom->addWidget(okBtn, 0, Qt::AlignBottom);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);
    layout->addLayout(top, 1);
    layout->addLayout(middle);
    layout->addLayout(bottom);

    // The name column, the folder column, the frame box by the picture, then
    // the sizes, the alignment and the text below.
    ChainTabOrder({nameEdit_, lists_->fileList(), lists_->driveList(), lists_->folderList(), borderCheck_, widthEdit_,
        heightEdit_, hSpaceEdit_, vSpaceEdit_, alignNone_, alignLeft_, alignRight_, altEdit_, okBtn});

    connect(okBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(lists_, &TFileLists::fileSelected, this, &TImgFrmDlg::PictureSelected);

    lists_->setFolder(filePath_);
    ShowDetail(false);
}

void TImgFrmDlg::ShowEarlierChoice(bool framed, const QString& width, const QString& height, const QString& hSpace,
    const QString& vSpace, const QString& align)
{
    borderCheck_->setChecked(framed);
    widthEdit_->setText(width);
    heightEdit_->setText(height);
    hSpaceEdit_->setText(hSpace);
    vSpaceEdit_->setText(vSpace);
    if (align == QStringLiteral("LEFT"))
        alignLeft_->setChecked(true);
    else if (align == QStringLiteral("RIGHT"))
        alignRight_->setChecked(true);
    else
        alignNone_->setChecked(true);
}

QString TImgFrmDlg::name() const
{
    return nameEdit_->text();
}

bool TImgFrmDlg::framed() const
{
    return borderCheck_->isChecked();
}

QString TImgFrmDlg::width() const
{
    return widthEdit_->text();
}

QString TImgFrmDlg::height() const
{
    return heightEdit_->text();
}

QString TImgFrmDlg::hSpace() const
{
    return hSpaceEdit_->text();
}

QString TImgFrmDlg::vSpace() const
{
    return vSpaceEdit_->text();
}

QString TImgFrmDlg::align() const
{
    if (alignLeft_->isChecked())
        return QStringLiteral("LEFT");
    if (alignRight_->isChecked())
        return QStringLiteral("RIGHT");
    return {};
}

QString TImgFrmDlg::alt() const
{
    return altEdit_->text();
}

void TImgFrmDlg::showEvent(QShowEvent* event)
{
    CenterOnScreen(*this);
    QDialog::showEvent(event);
}

void TImgFrmDlg::PictureSelected(const QString& path)
{
    const QFileInfo file(path);
    imgPath_ = WithFinalSlash(file.absolutePath());
    relImgPath_ = PathFromCore(RelativeImageFolder(PathToCore(imgPath_), PathToCore(filePath_)));
    ShowDetail(true);
    nameEdit_->setText(file.fileName());
    ShowPicture(path);
}

void TImgFrmDlg::ShowPicture(const QString& path)
{
    // A ".gif" file is read as GIF (its first frame); anything else by the
    // reader that recognises the content, JPEG in practice.
    const bool gif = QFileInfo(path).fileName().endsWith(QStringLiteral(".gif"), Qt::CaseSensitive);
    QImageReader reader(path, gif ? QByteArrayLiteral("gif") : QByteArray());
    reader.setDecideFormatFromContent(!gif);
    // Browsers turn a JPEG as its orientation tag says: so do the preview and the sizes.
    reader.setAutoTransform(true);
    const QImage picture = reader.read();
    if (picture.isNull()) {
        preview_->clear();
        ShowError(this, reader.errorString());
        return;
    }
    widthEdit_->setText(QString::number(picture.width()));
    heightEdit_->setText(QString::number(picture.height()));
    const bool tooLarge = picture.width() > kPreviewSize.width() || picture.height() > kPreviewSize.height();
    preview_->setPixmap(QPixmap::fromImage(
        tooLarge ? picture.scaled(kPreviewSize, Qt::KeepAspectRatio, Qt::SmoothTransformation) : picture));
}

void TImgFrmDlg::ShowDetail(bool withPicture)
{
    const QString filePathLine = QStringLiteral("FilePath=") + filePath_;
    const QString text = withPicture
        ? QStringLiteral("ImgPath=") + imgPath_ + u'\n' + filePathLine + QStringLiteral("\nRelImgPath=") + relImgPath_
        : filePathLine;
    detail_->setText(text);
    detail_->setToolTip(text);
}

bool THImgDlg::Execute()
{
    imgName.clear();
    alt.clear();
    TImgFrmDlg form(initialDir, formParent_);
    if (!ImgTag.isEmpty())
        form.ShowEarlierChoice(border != QStringLiteral("0"), width, height, HSpace, VSpace, align);
    if (form.exec() != QDialog::Accepted)
        return false;

    imgName = form.RelImgPath() + form.name();
    fileName = form.FilePath() + form.name();
    border = form.framed() ? QStringLiteral("1") : QStringLiteral("0");
    width = form.width();
    height = form.height();
    HSpace = form.hSpace();
    VSpace = form.vSpace();
    align = form.align();
    alt = form.alt();

    TImageTagParts parts;
    parts.OutPath = ToCore(outPath);
    parts.ImgName = ToCore(imgName);
    parts.Border = ToCore(border);
    parts.Width = ToCore(width);
    parts.Height = ToCore(height);
    parts.HSpace = ToCore(HSpace);
    parts.VSpace = ToCore(VSpace);
    parts.Align = ToCore(align);
    parts.Alt = ToCore(alt);
    ImgTag = FromCore(ImageTag(parts));
    return true;
}

std::optional<QString> THImgDlg::Pick(const QString& startFolder, const QString& prefix)
{
    initialDir = startFolder;
    outPath = prefix;
    if (!Execute())
        return std::nullopt;
    return ImgTag;
}

} // namespace tavimor
