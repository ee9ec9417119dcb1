// The open and save dialogs of the editor's file commands.
#pragma once

#include <QString>

class QWidget;

namespace tavimor {

struct FileDialogRequest {
    QString title;
    QString folder; // shown first
    QString filter; // Qt form, e.g. "Fichiers KWZ (*.kwz)"
    QString objectName; // tests find the dialog by it
    QString defaultSuffix; // added to a typed name without extension
    bool save = false;
    bool ownDialog = false; // the application's dialog even where the desktop has one
};

// Runs the dialog modally: the absolute path chosen, or an empty string when
// the author cancels.
QString ChooseFileWithDialog(QWidget* parent, const FileDialogRequest& request);

} // namespace tavimor
