// Qt's own texts (file dialogs, standard buttons, text-box menus) in French,
// like the rest of the editor.
#pragma once

class QCoreApplication;

namespace tavimor {

// Installs Qt's French translations on app from the system's Qt translations
// folder (Debian: qt6-translations-l10n). False when they are not installed;
// Qt's texts then stay in English and everything else works.
bool InstallFrenchQtTranslations(QCoreApplication& app);

} // namespace tavimor
