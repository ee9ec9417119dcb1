#include "platform/AppSettings.h"

#include "base/IniFile.h"
#include "platform/AppFolders.h"

#include <array>
#include <filesystem>
#include <system_error>
#include <variant>

namespace tavimor {
namespace {

using StringField = std::string AppSettings::*;
using FlagField = bool AppSettings::*;

struct Key {
    const char* Section;
    const char* Name;
    std::variant<StringField, FlagField> Field;
};

// The keys in the order they are written; the defaults are those of a
// default-constructed AppSettings.
constexpr std::array<Key, 17> kKeys {{
    {"GENERAL", "Professeur", &AppSettings::Professeur},
    {"GENERAL", "EMail", &AppSettings::EMail},
    {"GENERAL", "Institut", &AppSettings::Institut},
    {"GENERAL", "BaseURL", &AppSettings::BaseURL},
    {"GENERAL", "EPgTitle", &AppSettings::EPgTitle},
    {"GENERAL", "EPgCmnt", &AppSettings::EPgCmnt},
    {"GENERAL", "RPgTitle", &AppSettings::RPgTitle},
    {"GENERAL", "RPgCmnt", &AppSettings::RPgCmnt},
    {"GENERAL", "SaveID", &AppSettings::SaveID},
    {"GENERAL", "AutoLoad", &AppSettings::AutoLoad},
    {"GENERAL", "SaveTitle", &AppSettings::SaveTitle},
    {"GENERAL", "FullPalette", &AppSettings::FullPalette},
    {"GENERAL", "LastFileName", &AppSettings::LastFileName},
    {"PREFS", "registerFType", &AppSettings::RegisterFType},
    {"QUESTPREF", "CertInd", &AppSettings::CertInd},
    {"DESCPREF", "TLabel", &AppSettings::TLabel},
    {"DESCPREF", "ResumLab", &AppSettings::ResumLab},
}};

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

AppSettings ReadSettings(const std::string& path)
{
    const TIniFile ini = TIniFile::Load(path);
    const AppSettings defaults;
    AppSettings settings;
    for (const Key& key : kKeys) {
        if (const auto* text = std::get_if<StringField>(&key.Field))
            settings.*(*text) = ini.ReadString(key.Section, key.Name, defaults.*(*text));
        else {
            const FlagField flag = std::get<FlagField>(key.Field);
            settings.*flag = ini.ReadBool(key.Section, key.Name, defaults.*flag);
        }
    }
    return settings;
}

void WriteSettings(const AppSettings& settings, const std::string& path)
{
    TIniFile ini = TIniFile::Load(path);
    for (const Key& key : kKeys) {
        if (const auto* text = std::get_if<StringField>(&key.Field))
            ini.WriteString(key.Section, key.Name, settings.*(*text));
        else
            ini.WriteBool(key.Section, key.Name, settings.*std::get<FlagField>(key.Field));
    }
    ini.Save(path);
}

std::string SettingsFileName(const std::string& programPath)
{
    std::string name = std::filesystem::path(programPath).filename().string();
    for (char& c : name)
        c = LowerAscii(c);
    const std::size_t point = name.find('.');
    // "name." keeps its point; a name without one gets it.
    name = point == std::string::npos ? name + "." : name.substr(0, point + 1);
    return name + "ini";
}

std::string RunningProgramPath()
{
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string("tavimor") : exe.string();
}

std::string SettingsFilePath(const std::string& programPath)
{
    return SettingsFolder() + SettingsFileName(programPath);
}

THMPList::RememberHook RememberPageTexts(AppSettings& settings)
{
    return [&settings](int page, THMPList::TextKind kind, const std::string& text) {
        const bool title = kind == THMPList::TextKind::Title;
        if (page == 1)
            (title ? settings.EPgTitle : settings.EPgCmnt) = text;
        else if (page == 2)
            (title ? settings.RPgTitle : settings.RPgCmnt) = text;
    };
}

} // namespace tavimor
