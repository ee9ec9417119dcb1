// The editor's settings file: what it remembers between runs. An INI file
// (Windows-1252 values) with the sections GENERAL, PREFS, QUESTPREF and
// DESCPREF, read once at start-up and written once at exit.
#pragma once

#include "presentation/PageTexts.h"

#include <string>

namespace tavimor {

struct AppSettings {
    // GENERAL: the identity put into new documents when SaveID is on.
    std::string Professeur;
    std::string EMail;
    std::string Institut;
    std::string BaseURL;
    // GENERAL: the texts of pages 1 and 2 put into new documents when SaveTitle is on.
    std::string EPgTitle = "Termin\xE9?";
    std::string EPgCmnt = "Vous pouvez maintenant revoir vos r\xE9ponses ou passer aux r\xE9sultats.";
    std::string RPgTitle = "R\xE9sultats";
    std::string RPgCmnt = "Voici vos r\xE9sultats.";
    // GENERAL: the preferences form.
    bool SaveID = true; // "Conserver les paramètres d'identité"
    bool AutoLoad = false; // "Chargement auto du dernier fichier"
    bool SaveTitle = true; // "Conserver titres et comment. de pages"
    bool FullPalette = false; // "Palette d'outils étendue", kept only
    std::string LastFileName;
    // PREFS: the document type has been registered with the desktop.
    bool RegisterFType = false;
    // QUESTPREF: start state of "Utiliser l'indice de certitude".
    bool CertInd = false;
    // DESCPREF: captions of the page-title and page-message labels.
    std::string TLabel = "Titre";
    std::string ResumLab = "R\xE9sum\xE9";
};

// Every key of the file at path; a missing file or key gives its default, a
// boolean is true for any non-zero integer and a non-number gives the default.
AppSettings ReadSettings(const std::string& path);

// Writes every key, section by section in the order of the settings table,
// into the file at path. Keys already there are replaced in place; anything
// else the file holds stays. "Unable to write to %s" when it cannot be written.
void WriteSettings(const AppSettings& settings, const std::string& path);

// The settings file's name for a program file: its name in lower case, cut
// after its first point, + "ini" ("Editeur.Quiz.exe" -> "editeur.ini"). A
// name without a point gets ".ini" ("tavimor" -> "tavimor.ini").
std::string SettingsFileName(const std::string& programPath);

// The path of the running program.
std::string RunningProgramPath();

// SettingsFolder() + SettingsFileName(programPath).
std::string SettingsFilePath(const std::string& programPath);

// A hook for THMPList::SetRememberHook: setting the title or body of page 1
// or 2 (loading a document or a text, a reset) updates the remembered texts
// in settings, which must outlive the hook.
THMPList::RememberHook RememberPageTexts(AppSettings& settings);

} // namespace tavimor
