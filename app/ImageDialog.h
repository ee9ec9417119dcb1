// The image insertion dialog: the form TImgFrmDlg, where the author picks a
// GIF or JPEG picture with a preview and sets its frame, size, spacing,
// alignment and alternative text, and the component THImgDlg, which opens the
// form, keeps the last choice between uses and builds the image tag.
#pragma once

#include <QDialog>
#include <QSize>
#include <QString>

#include <optional>

class QAbstractButton;
class QCheckBox;
class QLabel;
class QLineEdit;

namespace tavimor {

class TFileLists;

class TImgFrmDlg : public QDialog {
    Q_OBJECT

public:
    // The design size of the preview box: a larger picture is scaled down
    // into it, keeping its proportions; a smaller one keeps its own size.
    static constexpr QSize kPreviewSize {149, 122};

    // startFolder: the folder the picture path is made relative to; the
    // lists open there. The form never moves the process's current folder.
    explicit TImgFrmDlg(const QString& startFolder, QWidget* parent = nullptr);

    // The frame, size, spacing and alignment ("", "LEFT" or "RIGHT") of an
    // earlier use; the name and ALT fields stay empty.
    void ShowEarlierChoice(bool framed, const QString& width, const QString& height, const QString& hSpace,
        const QString& vSpace, const QString& align);

    // The start folder, the folder of the picture last selected and the path
    // from the first to the second ("" while they are the same); all three
    // end with "/" when not empty.
    const QString& FilePath() const { return filePath_; }
    const QString& ImgPath() const { return imgPath_; }
    const QString& RelImgPath() const { return relImgPath_; }

    // The fields as the author left them.
    QString name() const;
    bool framed() const;
    QString width() const;
    QString height() const;
    QString hSpace() const;
    QString vSpace() const;
    QString align() const; // "", "LEFT" or "RIGHT"
    QString alt() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void PictureSelected(const QString& path);
    // A file that is no picture shows the reader's error and an empty box.
    void ShowPicture(const QString& path);
    void ShowDetail(bool withPicture);

    QString filePath_;
    QString imgPath_;
    QString relImgPath_;

    TFileLists* lists_ = nullptr;
    QLineEdit* nameEdit_ = nullptr;
    QLabel* preview_ = nullptr;
    QLineEdit* widthEdit_ = nullptr;
    QLineEdit* heightEdit_ = nullptr;
    QLineEdit* hSpaceEdit_ = nullptr;
    QLineEdit* vSpaceEdit_ = nullptr;
    QCheckBox* borderCheck_ = nullptr;
    QAbstractButton* alignNone_ = nullptr;
    QAbstractButton* alignLeft_ = nullptr;
    QAbstractButton* alignRight_ = nullptr;
    QLineEdit* altEdit_ = nullptr;
    QLabel* detail_ = nullptr;
};

// Lives on the main window for the whole run; each use opens its own form.
class THImgDlg {
public:
    // The forms open over formParent.
    explicit THImgDlg(QWidget* formParent = nullptr)
        : formParent_(formParent)
    {
    }

    // The caller sets the start folder and the tag's path prefix, calls
    // Execute and, when it returns true, reads ImgTag. Until the first
    // accepted use everything is empty.
    QString initialDir; // start folder
    QString outPath; // put before imgName in the tag, e.g. "../"

    // The last accepted choice.
    QString imgName; // path relative to the start folder, then the file name
    QString fileName; // start folder + file name
    QString border; // "0" or "1"
    QString width;
    QString height;
    QString HSpace;
    QString VSpace;
    QString align; // "", "LEFT" or "RIGHT"
    QString alt;
    QString ImgTag; // the last tag built

    // Opens the form modally; true when "OK" closed it, the choice then
    // being kept above and its tag in ImgTag.
    bool Execute();

    // Execute from startFolder with prefix: the tag, or nothing when the
    // author cancelled.
    std::optional<QString> Pick(const QString& startFolder, const QString& prefix);

private:
    QWidget* formParent_;
};

} // namespace tavimor
