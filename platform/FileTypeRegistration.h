// Registration of the quiz document type with the desktop, the freedesktop
// way and per user: a shared-mime-info package that names "*.kwz" and a
// desktop entry that opens such a document with the program.
#pragma once

#include "platform/AppSettings.h"

#include <string>
#include <vector>

namespace tavimor {

inline constexpr const char* kDocumentMimeType = "application/x-tavimor";
inline constexpr const char* kDocumentExtension = ".kwz";
inline constexpr const char* kDocumentDescription = "Tavimor file";
// The icon of the document type and of the program, by its theme name.
inline constexpr const char* kProgramIconName = "tavimor";
// The file names the registration writes (and that the install rule installs).
inline constexpr const char* kMimePackageFileName = "tavimor.xml";
inline constexpr const char* kDesktopFileName = "tavimor.desktop";

// The per-user data folder: xdgDataHome when it is an absolute path, else
// home + "/.local/share". No trailing "/".
std::string ChooseDataHome(const std::string& xdgDataHome, const std::string& home);
// ChooseDataHome of $XDG_DATA_HOME and $HOME.
std::string DefaultDataHome();

// The shared data folders named by xdgDataDirs (the value of $XDG_DATA_DIRS:
// absolute folders separated by ":", relative ones ignored, trailing "/"
// dropped); "/usr/local/share" and "/usr/share" when it names none.
std::vector<std::string> ChooseDataDirs(const std::string& xdgDataDirs);
// ChooseDataDirs of $XDG_DATA_DIRS.
std::vector<std::string> DefaultDataDirs();

// True when one of dataDirs holds mime/packages/tavimor.xml: a package or a
// system-wide installation put the document type and the desktop entry in
// place, and a per-user registration would only duplicate them.
bool DocumentTypeInstalled(const std::vector<std::string>& dataDirs);

// The shared-mime-info package text (UTF-8): the type kDocumentMimeType with
// the comment description, its French comment, the program's icon and the
// glob "*" + extension (a dot is put in front of an extension without one).
// description is Windows-1252.
std::string MimePackageText(const std::string& extension, const std::string& description);

// The desktop entry text (UTF-8), with its English and French names and
// comments, that opens a document with the program at programPath
// ("Exec=/usr/bin/tavimor %f"; a path holding blanks or other reserved
// characters is quoted). Empty when programPath or icon holds a line break,
// which a desktop entry cannot carry.
std::string DesktopEntryText(const std::string& programPath, const std::string& icon);

// Writes dataHome/mime/packages/tavimor.xml and dataHome/applications/
// tavimor.desktop (creating the folders), then runs update-mime-database and
// update-desktop-database on them when they are installed, ignoring their
// failure. True exactly when the desktop entry was written. A blank extension
// registers nothing and gives false.
bool RegisterFileType(const std::string& programPath, const std::string& extension, const std::string& description,
    const std::string& icon, const std::string& dataHome);

// The start-up step: until a registration has succeeded once (the setting
// registerFType), registers ".kwz" as "Tavimor file" for programPath and
// remembers the outcome. Writes nothing once the setting is true, nor while
// the type is installed in one of dataDirs (the setting then stays as it
// is, so that a later start registers if the installation goes away).
void RegisterDocumentTypeOnce(AppSettings& settings, const std::string& programPath, const std::string& dataHome,
    const std::vector<std::string>& dataDirs);
// The same with DefaultDataDirs().
void RegisterDocumentTypeOnce(AppSettings& settings, const std::string& programPath, const std::string& dataHome);

} // namespace tavimor
