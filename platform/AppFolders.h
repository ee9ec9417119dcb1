// Where the program keeps its settings file and its preferences folder: the
// program's own folder when it is writable (portable use) and not the bin
// folder of an installation, otherwise the user's configuration folder.
// Every path returned ends with "/".
#pragma once

#include <string>

namespace tavimor {

// The folder that holds the running program.
std::string ProgramFolder();

// The rule behind SettingsFolder, without looking at the system: the program
// folder when writable; else xdgConfigHome + "/tavimor/" when xdgConfigHome is
// set and not empty; else home + "/.config/tavimor/" (home empty: "./.config/...").
std::string ChooseSettingsFolder(const std::string& programFolder, bool programFolderWritable,
    const std::string& xdgConfigHome, const std::string& home);

// True when programFolder is the bin folder of an installation (a package or
// `cmake --install`): its prefix holds the program's desktop entry,
// ../share/applications/tavimor.desktop. The superuser may write there, but
// settings and preferences never belong in it.
bool IsInstalledProgramFolder(const std::string& programFolder);

// The folder of the settings file, from the running program and the
// environment: ChooseSettingsFolder, where an installed program's folder
// counts as not writable.
std::string SettingsFolder();

// SettingsFolder() + "Prefs/": the style preference files and the images that
// replace the built-in ones in the produced sites.
std::string PrefsFolder();

} // namespace tavimor
