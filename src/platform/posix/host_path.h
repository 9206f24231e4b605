// Where Windows-style paths lead on this host.
#pragma once

#include <optional>
#include <string>

namespace zor::posix {

// The host folder of drive C:, resolved afresh on every call:
//   1. $ZOR_SETUP_DRIVE_C when it is set and not empty;
//   2. $WINEPREFIX/drive_c (or ~/.wine/drive_c without WINEPREFIX) when
//      that folder exists;
//   3. ${XDG_DATA_HOME:-~/.local/share}/zor-setup/drive_c, created with a
//      "Program Files" folder in it the first time.
// Empty when none can be had (no home folder, or the folder cannot be made).
std::string DriveCFolder();

// The process's current directory as a host path, or nothing (errno set).
std::optional<std::string> CurrentDirectory();

// The host path for a Windows-style or host path, through the drive table and
// the current directory. Sets the last error when there is none.
std::optional<std::string> HostPath(const char *path);

} // namespace zor::posix
