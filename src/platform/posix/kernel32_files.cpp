// KERNEL32 on POSIX: the current directory, attributes, folders and files.

#include "../win32.h"
#include "host_path.h"
#include "unique_fd.h"
#include "win32_error.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using zor::posix::HostPath;
using zor::posix::SetLastErrorFromErrno;

// The prefix of GetTempFileNameA: at most three bytes, cut at a character
// boundary of UTF-8.
std::string TempPrefix(const char *prefix)
{
    std::string text = prefix != nullptr ? prefix : "";
    if (text.size() <= 3)
        return text;
    std::size_t cut = 3;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        cut--;
    return text.substr(0, cut);
}

std::string TempName(const std::string &folder, const std::string &prefix, unsigned number)
{
    std::string name = folder;
    if (!name.empty() && name.back() != '\\' && name.back() != '/') {
        std::size_t lastSlash = name.find_last_of('/');
        std::size_t lastBackslash = name.find_last_of('\\');
        bool hostStyle =
            lastSlash != std::string::npos && (lastBackslash == std::string::npos || lastSlash > lastBackslash);
        name.push_back(hostStyle ? '/' : '\\');
    }
    char digits[16];
    std::snprintf(digits, sizeof digits, "%X", number);
    return name + prefix + digits + ".TMP";
}

} // namespace

extern "C" DWORD WINAPI GetCurrentDirectoryA(DWORD nBufferLength, LPSTR lpBuffer)
{
    std::optional<std::string> cwd = zor::posix::CurrentDirectory();
    if (!cwd) {
        SetLastErrorFromErrno();
        return 0;
    }
    if (cwd->size() >= 0xFFFFFFFFu) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return 0;
    }
    auto needed = static_cast<DWORD>(cwd->size() + 1);
    if (lpBuffer == nullptr || nBufferLength < needed)
        return needed;
    std::memcpy(lpBuffer, cwd->c_str(), needed);
    return needed - 1;
}

extern "C" DWORD WINAPI GetFileAttributesA(LPCSTR lpFileName)
{
    std::optional<std::string> path = HostPath(lpFileName);
    if (!path)
        return INVALID_FILE_ATTRIBUTES;
    struct stat info {};
    if (stat(path->c_str(), &info) != 0) {
        SetLastErrorFromErrno();
        return INVALID_FILE_ATTRIBUTES;
    }
    if (S_ISDIR(info.st_mode))
        return FILE_ATTRIBUTE_DIRECTORY;
    return (info.st_mode & S_IWUSR) != 0 ? FILE_ATTRIBUTE_NORMAL : FILE_ATTRIBUTE_READONLY;
}

extern "C" BOOL WINAPI CreateDirectoryA(LPCSTR lpPathName, LPSECURITY_ATTRIBUTES)
{
    std::optional<std::string> path = HostPath(lpPathName);
    if (!path)
        return FALSE;
    if (mkdir(path->c_str(), 0777) != 0) {
        SetLastErrorFromErrno();
        if (errno == ENOENT)
            SetLastError(ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    return TRUE;
}

extern "C" BOOL WINAPI DeleteFileA(LPCSTR lpFileName)
{
    std::optional<std::string> path = HostPath(lpFileName);
    if (!path)
        return FALSE;
    struct stat info {};
    if (lstat(path->c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (unlink(path->c_str()) != 0) {
        SetLastErrorFromErrno();
        return FALSE;
    }
    return TRUE;
}

extern "C" BOOL WINAPI MoveFileExA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName, DWORD dwFlags)
{
    if (lpNewFileName == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::optional<std::string> from = HostPath(lpExistingFileName);
    if (!from)
        return FALSE;
    std::optional<std::string> to = HostPath(lpNewFileName);
    if (!to)
        return FALSE;

    int result;
    if ((dwFlags & MOVEFILE_REPLACE_EXISTING) != 0) {
        struct stat info {};
        if (stat(to->c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
            SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
        result = rename(from->c_str(), to->c_str());
    } else {
        result = renameat2(AT_FDCWD, from->c_str(), AT_FDCWD, to->c_str(), RENAME_NOREPLACE);
        if (result != 0 && (errno == EINVAL || errno == ENOSYS)) {
            // A file system without the flag: a plain check before renaming.
            struct stat info {};
            if (lstat(to->c_str(), &info) == 0) {
                errno = EEXIST;
                result = -1;
            } else {
                result = rename(from->c_str(), to->c_str());
            }
        }
    }
    if (result != 0) {
        SetLastErrorFromErrno();
        return FALSE;
    }
    return TRUE;
}

extern "C" UINT WINAPI GetTempFileNameA(LPCSTR lpPathName, LPCSTR lpPrefixString, UINT uUnique, LPSTR lpTempFileName)
{
    if (lpPathName == nullptr || lpTempFileName == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const std::string folder = lpPathName;
    const std::string prefix = TempPrefix(lpPrefixString);

    auto deliver = [&](unsigned number) {
        std::string name = TempName(folder, prefix, number);
        if (name.size() + 1 > MAX_PATH) {
            SetLastError(ERROR_BUFFER_OVERFLOW);
            return false;
        }
        std::memcpy(lpTempFileName, name.c_str(), name.size() + 1);
        return true;
    };

    if (uUnique != 0)
        return deliver(uUnique & 0xFFFFu) ? uUnique : 0;

    auto seed = static_cast<unsigned>(std::time(nullptr)) ^ static_cast<unsigned>(getpid()) * 40503u;
    static thread_local unsigned calls = 0;
    unsigned number = (seed + 7919u * ++calls) & 0xFFFFu;
    for (unsigned attempt = 0; attempt < 0xFFFFu; attempt++, number = (number + 1) & 0xFFFFu) {
        if (number == 0)
            continue;
        if (!deliver(number))
            return 0;
        std::optional<std::string> path = HostPath(lpTempFileName);
        if (!path)
            return 0;
        zor::posix::UniqueFd fd(open(path->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (fd.Valid())
            return number;
        if (errno != EEXIST) {
            SetLastErrorFromErrno();
            if (errno == ENOENT || errno == ENOTDIR)
                SetLastError(ERROR_DIRECTORY);
            return 0;
        }
    }
    SetLastError(ERROR_FILE_EXISTS);
    return 0;
}
