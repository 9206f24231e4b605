// Translation of Windows-style paths to host paths.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace zor::logic {

// The folders that drive letters stand for. A letter without a folder is not
// mapped: paths on it name nothing on the host.
class DriveTable {
  public:
    // Maps the letter (either case) to a host folder; an empty folder unmaps it.
    void Map(char letter, std::string folder);
    // The host folder of the letter, when it is mapped.
    std::optional<std::string_view> Folder(char letter) const;

    // The usual table: C: is the given folder, Z: is the host's root.
    static DriveTable Standard(std::string driveC);

  private:
    std::array<std::string, 26> folders_;
};

// Translates a Windows-style or host path into a host path.
//
// - `\` and `/` both separate, and a run of separators counts as one.
// - `X:` followed by a path goes through the drive table; an unmapped letter
//   gives no host path. `X:` alone and `X:relative` are taken from the root
//   of the drive: the process's current directory is a host path, never a
//   folder on a drive, so every drive's own current directory is its root.
// - A path that starts with a separator is a host path as it stands.
// - Any other path is taken from `cwd`, which must be an absolute host path.
// - `.` is dropped and `..` goes up one level, never above the root of the
//   drive or of the host, as the Windows path rules do.
// - A trailing separator is kept as one `/`, so that a file named with one
//   stays an error as on Windows.
//
// Returns nothing for an empty path, an unmapped drive or a relative `cwd`.
std::optional<std::string> MapPath(std::string_view path, const DriveTable &drives, std::string_view cwd);

// True for the two separators of Windows-style paths.
constexpr bool IsPathSeparator(char c)
{
    return c == '\\' || c == '/';
}

} // namespace zor::logic
