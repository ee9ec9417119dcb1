// The link dialog THRefDlgFrm: the author picks an HTML file, chooses between
// its bare name and its full path, a frame target and the link's label; the
// dialog shows the quoted address with its target. ChooseAttachedFile runs it
// for the attached file of a message, from and into the two captions that
// hold that file on the "Mess." page.
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tavimor {

class TFileLists;

class THRefDlgFrm : public QDialog {
    Q_OBJECT

public:
    // frameTargets: the main window's list of frame targets; the target field
    // starts with its first entry, or "main" when it is empty. The lists open
    // in the folder given to setFolder; the process's current folder is never
    // moved.
    explicit THRefDlgFrm(const QStringList& frameTargets = {}, QWidget* parent = nullptr);

    // What the caller sets before exec().
    void setFolder(const QString& folder);
    void setLinkLabel(const QString& label);
    void setTarget(const QString& target);
    void setFileName(const QString& fileName);

    // What the caller reads after "OK".
    QString address() const; // the address label, trimmed
    QString linkLabel() const; // the label field, trimmed
    QString folder() const; // the folder the author ended in
    QString target() const;
    QString fileName() const;

    // The folders "Bur." opens, the first that exists; by default the
    // session's desktop folder, then ~/Bureau and ~/Desktop.
    void setDesktopFolders(const QStringList& folders) { desktopFolders_ = folders; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FileSelected(const QString& path);
    void RelativeToggled(bool relative);
    void DesktopClicked();
    void RebuildAddress();

    TFileLists* lists_ = nullptr;
    QPushButton* desktopBtn_ = nullptr;
    QCheckBox* relativeCheck_ = nullptr;
    QLineEdit* fileEdit_ = nullptr;
    QComboBox* targetCombo_ = nullptr;
    QLineEdit* linkEdit_ = nullptr;
    QLabel* addressLab_ = nullptr;

    QString clickedFile_; // full path of the file last selected, empty before
    QString folderBeforeDesktop_;
    QStringList desktopFolders_;
};

// The two captions of a message's attached file: the check box caption
// (lead-in + "|" + link text) and the button caption (the link address).
struct TAttachedFileCaptions {
    QString CheckCaption;
    QString ButtonCaption;
};

// Opens the link dialog titled "Associer un fichier HTML externe" in
// linkFolder, seeded from the captions. Returns the new captions: the check
// box always gets lead-in + "|" + the link text (the proposed one when the
// author cancelled); the button gets the new address only when the dialog was
// accepted with one. linkFolder becomes the folder the author ended in when
// accepted.
TAttachedFileCaptions ChooseAttachedFile(
    QWidget* parent, const TAttachedFileCaptions& captions, QString& linkFolder, const QStringList& frameTargets);

} // namespace tavimor
