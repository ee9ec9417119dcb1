// The user manual behind "Aide" (F1): where it is found and how it is opened.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace tavimor {

// The folders that may hold the manual, best first: the one an installation
// puts beside the running program (whatever its prefix), the installation
// folder the build was configured for, and the manual built in the build tree.
QStringList ManualFolders();

// The index page of the first folder that holds one; empty when none does.
QString FindManualPage(const QStringList& folders);

// Asks the desktop to show the manual's index page in the system browser.
// A manual found nowhere, or a desktop that refuses the request, gets a
// French message box saying so.
void OpenManual(QWidget* parent, const QStringList& folders = ManualFolders());

} // namespace tavimor
