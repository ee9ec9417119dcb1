#include "platform/AppFolders.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace tavimor {

namespace {

std::string WithSlash(std::string folder)
{
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

} // namespace

std::string ProgramFolder()
{
    std::error_code error;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return WithSlash(std::filesystem::current_path().string());
    return WithSlash(exe.parent_path().string());
}

std::string ChooseSettingsFolder(const std::string& programFolder, bool programFolderWritable,
    const std::string& xdgConfigHome, const std::string& home)
{
    if (programFolderWritable)
        return WithSlash(programFolder);
    if (!xdgConfigHome.empty())
        return WithSlash(xdgConfigHome) + "tavimor/";
    return WithSlash(home.empty() ? std::string(".") : home) + ".config/tavimor/";
}

bool IsInstalledProgramFolder(const std::string& programFolder)
{
    std::error_code error;
    return std::filesystem::is_regular_file(
        std::filesystem::path(programFolder) / ".." / "share" / "applications" / "tavimor.desktop", error);
}

std::string SettingsFolder()
{
    const std::string program = ProgramFolder();
    const bool writable = ::access(program.c_str(), W_OK) == 0 && !IsInstalledProgramFolder(program);
    return ChooseSettingsFolder(program, writable, Environment("XDG_CONFIG_HOME"), Environment("HOME"));
}

std::string PrefsFolder()
{
    return SettingsFolder() + "Prefs/";
}

} // namespace tavimor
