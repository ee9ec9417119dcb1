#include "platform/FileTypeRegistration.h"

#include "base/Cp1252.h"
#include "base/Errors.h"
#include "base/FileIo.h"
#include "base/TextHelpers.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <string_view>
#include <sys/wait.h>
#include <system_error>
#include <unistd.h>

extern char** environ;

namespace tavimor {
namespace {

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

std::string XmlEscaped(std::string_view text)
{
    std::string out;
    AppendMarkupEscaped(out, text);
    return out;
}

bool HasLineBreak(std::string_view text)
{
    return text.find_first_of("\r\n") != std::string_view::npos;
}

// The program path as the first word of an Exec value: quoted when it holds a
// character the Exec syntax reserves, "%" doubled, and every backslash of the
// result doubled again because the value is itself an escaped string.
std::string ExecProgram(std::string_view path)
{
    constexpr std::string_view kReserved = " \t\"'\\><~|&;$*?#()`";
    constexpr std::string_view kEscapedInQuotes = "\"`$\\";
    const bool quoted = path.find_first_of(kReserved) != std::string_view::npos;
    std::string word;
    for (const char c : path) {
        if (c == '%')
            word += '%';
        else if (quoted && kEscapedInQuotes.find(c) != std::string_view::npos)
            word += '\\';
        word += c;
    }
    if (quoted)
        word = '"' + word + '"';
    std::string value;
    for (const char c : word) {
        if (c == '\\')
            value += '\\';
        value += c;
    }
    return value;
}

std::string WithDot(const std::string& extension)
{
    const std::string trimmed = TrimBlanks(extension);
    return !trimmed.empty() && trimmed.front() == '.' ? trimmed : "." + trimmed;
}

// Writes text to folder/name, creating the folder; false on any failure.
bool WriteInto(const std::filesystem::path& folder, const char* name, const std::string& text)
{
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    try {
        // Registration writes these files again each time it runs.
        WriteFileAtomically((folder / name).string(), text, Durability::Regenerable);
    } catch (const Error&) {
        return false;
    }
    return true;
}

// The full path of an executable found on PATH, or nothing.
std::string FindOnPath(std::string_view program)
{
    const std::string path = Environment("PATH");
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find(':', start);
        if (end == std::string::npos)
            end = path.size();
        // An empty entry would mean the current folder; a tool is never taken from there.
        if (end > start) {
            const std::string candidate = path.substr(start, end - start) + "/" + std::string(program);
            if (::access(candidate.c_str(), X_OK) == 0)
                return candidate;
        }
        start = end + 1;
    }
    return {};
}

// Runs program with one argument, its output discarded, and waits for it.
// Whatever happens is ignored: the files are in place either way and the
// desktop picks them up at the latest at its next start.
void RunQuietly(std::string_view program, const std::string& argument)
{
    const std::string executable = FindOnPath(program);
    if (executable.empty())
        return;
    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0)
        return;
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::string arg0(program);
    std::string arg1 = argument;
    char* argv[] = {arg0.data(), arg1.data(), nullptr};
    pid_t child = 0;
    if (posix_spawn(&child, executable.c_str(), &actions, nullptr, argv, environ) == 0) {
        int status = 0;
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) { }
    }
    posix_spawn_file_actions_destroy(&actions);
}

} // namespace

std::string ChooseDataHome(const std::string& xdgDataHome, const std::string& home)
{
    // A relative base directory is ignored, as the desktop base-directory rules say.
    if (!xdgDataHome.empty() && xdgDataHome.front() == '/')
        return xdgDataHome;
    return (home.empty() ? std::string(".") : home) + "/.local/share";
}

std::string DefaultDataHome()
{
    return ChooseDataHome(Environment("XDG_DATA_HOME"), Environment("HOME"));
}

std::vector<std::string> ChooseDataDirs(const std::string& xdgDataDirs)
{
    std::vector<std::string> dirs;
    std::size_t start = 0;
    while (start <= xdgDataDirs.size()) {
        std::size_t end = xdgDataDirs.find(':', start);
        if (end == std::string::npos)
            end = xdgDataDirs.size();
        std::string dir = xdgDataDirs.substr(start, end - start);
        while (dir.size() > 1 && dir.back() == '/')
            dir.pop_back();
        if (!dir.empty() && dir.front() == '/')
            dirs.push_back(std::move(dir));
        start = end + 1;
    }
    if (dirs.empty())
        return {"/usr/local/share", "/usr/share"};
    return dirs;
}

std::vector<std::string> DefaultDataDirs()
{
    return ChooseDataDirs(Environment("XDG_DATA_DIRS"));
}

bool DocumentTypeInstalled(const std::vector<std::string>& dataDirs)
{
    for (const std::string& dir : dataDirs) {
        std::error_code error;
        if (std::filesystem::is_regular_file(
                std::filesystem::path(dir) / "mime" / "packages" / kMimePackageFileName, error))
            return true;
    }
    return false;
}

std::string MimePackageText(const std::string& extension, const std::string& description)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
           "  <mime-type type=\""
        + std::string(kDocumentMimeType)
        + "\">\n"
          "    <comment>"
        + XmlEscaped(Cp1252ToUtf8(description))
        + "</comment>\n"
          "    <comment xml:lang=\"fr\">"
        + Cp1252ToUtf8("Questionnaire Tavimor")
        + "</comment>\n"
          "    <icon name=\""
        + std::string(kProgramIconName)
        + "\"/>\n"
          "    <glob pattern=\"*"
        + XmlEscaped(WithDot(extension))
        + "\"/>\n"
          "  </mime-type>\n"
          "</mime-info>\n";
}

std::string DesktopEntryText(const std::string& programPath, const std::string& icon)
{
    if (programPath.empty() || HasLineBreak(programPath) || HasLineBreak(icon))
        return {};
    std::string text = "[Desktop Entry]\n"
                       "Type=Application\n"
                       "Name=Tavimor\n"
                       "Name[fr]=Tavimor\n"
                       "GenericName=Quiz editor\n"
                       "GenericName[fr]="
        + Cp1252ToUtf8("\xC9"
                       "diteur de questionnaires")
        + "\n"
          "Comment=Write multiple-choice quizzes and publish them as web pages\n"
          "Comment[fr]="
        + Cp1252ToUtf8("\xC9"
                       "crire des questionnaires \xE0 choix multiples et les publier en pages web")
        + "\n"
          "Keywords=quiz;test;multiple choice;exam;teaching;\n"
          "Keywords[fr]="
        + Cp1252ToUtf8("quiz;questionnaire;QCM;examen;\xE9valuation;enseignement;")
        + "\n"
          "Exec="
        + ExecProgram(programPath) + " %f\n";
    if (!icon.empty())
        text += "Icon=" + icon + "\n";
    text += "MimeType=" + std::string(kDocumentMimeType)
        + ";\n"
          "Terminal=false\n"
          "Categories=Education;\n";
    return text;
}

bool RegisterFileType(const std::string& programPath, const std::string& extension, const std::string& description,
    const std::string& icon, const std::string& dataHome)
{
    if (TrimBlanks(extension).empty())
        return false;
    const std::filesystem::path home(dataHome);
    const std::filesystem::path mimeFolder = home / "mime";
    const std::filesystem::path applications = home / "applications";

    // The type is useful on its own, so a failure here does not stop the entry.
    WriteInto(mimeFolder / "packages", kMimePackageFileName, MimePackageText(extension, description));

    const std::string entry = DesktopEntryText(programPath, icon);
    const bool written = !entry.empty() && WriteInto(applications, kDesktopFileName, entry);

    RunQuietly("update-mime-database", mimeFolder.string());
    RunQuietly("update-desktop-database", applications.string());
    return written;
}

void RegisterDocumentTypeOnce(AppSettings& settings, const std::string& programPath, const std::string& dataHome,
    const std::vector<std::string>& dataDirs)
{
    if (settings.RegisterFType || DocumentTypeInstalled(dataDirs))
        return;
    settings.RegisterFType
        = RegisterFileType(programPath, kDocumentExtension, kDocumentDescription, kProgramIconName, dataHome);
}

void RegisterDocumentTypeOnce(AppSettings& settings, const std::string& programPath, const std::string& dataHome)
{
    RegisterDocumentTypeOnce(settings, programPath, dataHome, DefaultDataDirs());
}

} // namespace tavimor
