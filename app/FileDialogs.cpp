#include "app/FileDialogs.h"

#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>

namespace tavimor {

namespace {

// Qt's own dialog (where the desktop offers none) leaves its folder and type
// boxes untied to their labels, so a screen reader reads each box as the
// entry it shows and its drop-down list as nothing. Its parts exist once it
// is shown: they are tied then.
class TOwnDialogNames : public QObject {
public:
    explicit TOwnDialogNames(QFileDialog& dialog)
        : QObject(&dialog)
        , dialog_(dialog)
    {
        dialog.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &dialog_ && event->type() == QEvent::Show)
            NameParts();
        return false;
    }

private:
    void NameParts()
    {
        Tie("lookInLabel", "lookInCombo");
        Tie("fileNameLabel", "fileNameEdit");
        Tie("fileTypeLabel", "fileTypeCombo");
    }

    void Tie(const char* labelName, const char* fieldName)
    {
        auto* label = dialog_.findChild<QLabel*>(QLatin1String(labelName));
        auto* field = dialog_.findChild<QWidget*>(QLatin1String(fieldName));
        if (label && field && !label->buddy())
            label->setBuddy(field);
    }

    QFileDialog& dialog_;
};

} // namespace

QString ChooseFileWithDialog(QWidget* parent, const FileDialogRequest& request)
{
    QFileDialog dialog(parent, request.title, request.folder, request.filter);
    dialog.setObjectName(request.objectName);
    new TOwnDialogNames(dialog);
    if (request.ownDialog)
        dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (!request.defaultSuffix.isEmpty())
        dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return QFileInfo(dialog.selectedFiles().constFirst()).absoluteFilePath();
}

} // namespace tavimor
