#include "app/FileDialogs.h"

#include <QFileDialog>
#include <QFileInfo>

namespace tavimor {

QString ChooseFileWithDialog(QWidget* parent, const FileDialogRequest& request)
{
    QFileDialog dialog(parent, request.title, request.folder, request.filter);
    dialog.setObjectName(request.objectName);
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
