#include "host_path.h"

#include "../logic/path_mapping.h"
#include "win32_error.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zor::posix {

namespace {

std::string Environment(const char *name)
{
    const char *value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

bool IsFolder(const std::string &path)
{
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string HomeFolder()
{
    std::string home = Environment("HOME");
    if (!home.empty())
        return home;
    if (const passwd *entry = getpwuid(getuid()); entry != nullptr && entry->pw_dir != nullptr)
        return entry->pw_dir;
    return {};
}

std::string Absolute(std::string path)
{
    if (path.empty() || path[0] == '/')
        return path;
    std::optional<std::string> cwd = CurrentDirectory();
    if (!cwd)
        return {};
    return *cwd + "/" + path;
}

// Creates the folder and its missing parents.
bool MakeFolders(const std::string &path)
{
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        std::string parent = path.substr(0, slash);
        if (mkdir(parent.c_str(), 0777) != 0 && errno != EEXIST)
            return false;
    }
    return mkdir(path.c_str(), 0777) == 0 || errno == EEXIST;
}

bool HasDriveC(const char *path)
{
    return (path[0] == 'C' || path[0] == 'c') && path[1] == ':';
}

} // namespace

std::string DriveCFolder()
{
    std::string chosen = Environment("ZOR_SETUP_DRIVE_C");
    if (!chosen.empty())
        return Absolute(chosen);

    std::string home = HomeFolder();
    std::string prefix = Environment("WINEPREFIX");
    std::string wine = !prefix.empty() ? Absolute(prefix) + "/drive_c" : (home.empty() ? "" : home + "/.wine/drive_c");
    if (!wine.empty() && IsFolder(wine))
        return wine;

    std::string data = Environment("XDG_DATA_HOME");
    if (data.empty() || data[0] != '/') {
        if (home.empty())
            return {};
        data = home + "/.local/share";
    }
    std::string own = data + "/zor-setup/drive_c";
    if (IsFolder(own))
        return own;
    if (!MakeFolders(own))
        return {};
    std::string programFiles = own + "/Program Files";
    mkdir(programFiles.c_str(), 0777);
    return own;
}

std::optional<std::string> CurrentDirectory()
{
    std::string buffer(256, '\0');
    for (;;) {
        if (getcwd(buffer.data(), buffer.size()) != nullptr) {
            buffer.resize(buffer.find('\0'));
            return buffer;
        }
        if (errno != ERANGE)
            return std::nullopt;
        buffer.resize(buffer.size() * 2);
    }
}

std::optional<std::string> HostPath(const char *path)
{
    if (path == nullptr || path[0] == '\0') {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return std::nullopt;
    }
    std::string driveC = HasDriveC(path) ? DriveCFolder() : std::string();
    logic::DriveTable drives = logic::DriveTable::Standard(driveC);
    std::string cwd;
    bool drivePath = ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) && path[1] == ':';
    if (!logic::IsPathSeparator(path[0]) && !drivePath) {
        std::optional<std::string> current = CurrentDirectory();
        if (!current) {
            SetLastErrorFromErrno();
            return std::nullopt;
        }
        cwd = std::move(*current);
    }
    std::optional<std::string> host = logic::MapPath(path, drives, cwd);
    if (!host)
        SetLastError(ERROR_PATH_NOT_FOUND);
    return host;
}

} // namespace zor::posix
