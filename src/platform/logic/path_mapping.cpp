#include "path_mapping.h"

#include <vector>

namespace zor::logic {

namespace {

int LetterIndex(char letter)
{
    if (letter >= 'a' && letter <= 'z')
        return letter - 'a';
    if (letter >= 'A' && letter <= 'Z')
        return letter - 'A';
    return -1;
}

bool HasDrivePrefix(std::string_view path)
{
    return path.size() >= 2 && path[1] == ':' && LetterIndex(path[0]) >= 0;
}

// Appends the components of `path` to `parts`, resolving `.` and `..`
// within the parts that are there.
void AppendComponents(std::vector<std::string_view> &parts, std::string_view path)
{
    std::size_t i = 0;
    while (i < path.size()) {
        while (i < path.size() && IsPathSeparator(path[i]))
            i++;
        std::size_t start = i;
        while (i < path.size() && !IsPathSeparator(path[i]))
            i++;
        std::string_view part = path.substr(start, i - start);
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
}

std::string Join(std::string_view root, const std::vector<std::string_view> &parts, bool trailingSeparator)
{
    std::string result(root);
    while (result.size() > 1 && result.back() == '/')
        result.pop_back();
    for (std::string_view part : parts) {
        if (result.empty() || result.back() != '/')
            result.push_back('/');
        result.append(part);
    }
    if (trailingSeparator && !parts.empty())
        result.push_back('/');
    return result;
}

} // namespace

void DriveTable::Map(char letter, std::string folder)
{
    int index = LetterIndex(letter);
    if (index >= 0)
        folders_[static_cast<std::size_t>(index)] = std::move(folder);
}

std::optional<std::string_view> DriveTable::Folder(char letter) const
{
    int index = LetterIndex(letter);
    if (index < 0 || folders_[static_cast<std::size_t>(index)].empty())
        return std::nullopt;
    return std::string_view(folders_[static_cast<std::size_t>(index)]);
}

DriveTable DriveTable::Standard(std::string driveC)
{
    DriveTable table;
    table.Map('C', std::move(driveC));
    table.Map('Z', "/");
    return table;
}

std::optional<std::string> MapPath(std::string_view path, const DriveTable &drives, std::string_view cwd)
{
    if (path.empty())
        return std::nullopt;
    bool trailing = IsPathSeparator(path.back());
    std::vector<std::string_view> parts;

    if (HasDrivePrefix(path)) {
        std::optional<std::string_view> root = drives.Folder(path[0]);
        if (!root)
            return std::nullopt;
        AppendComponents(parts, path.substr(2));
        return Join(*root, parts, trailing);
    }
    if (IsPathSeparator(path[0])) {
        AppendComponents(parts, path);
        return Join("/", parts, trailing);
    }
    if (cwd.empty() || cwd[0] != '/')
        return std::nullopt;
    AppendComponents(parts, cwd);
    AppendComponents(parts, path);
    return Join("/", parts, trailing);
}

} // namespace zor::logic
