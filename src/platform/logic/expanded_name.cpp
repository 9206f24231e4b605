#include "expanded_name.h"

#include "path_mapping.h"

namespace zor::logic {

namespace {

bool IsLower(char c)
{
    return c >= 'a' && c <= 'z';
}

bool IsUpper(char c)
{
    return c >= 'A' && c <= 'Z';
}

} // namespace

bool IsAllowedNameCharacter(std::uint8_t c)
{
    if (c < 0x20 || c >= 0x7F)
        return false;
    switch (c) {
    case '\\':
    case '/':
    case ':':
    case '*':
    case '?':
    case '"':
    case '<':
    case '>':
    case '|':
        return false;
    default:
        return true;
    }
}

std::optional<std::string> ExpandedPath(std::string_view compressedPath, std::uint8_t missingChar)
{
    std::string path(compressedPath);
    if (missingChar == 0)
        return path;
    if (!IsAllowedNameCharacter(missingChar))
        return std::nullopt;

    std::size_t nameStart = 0;
    for (std::size_t i = 0; i < path.size(); i++) {
        if (IsPathSeparator(path[i]))
            nameStart = i + 1;
    }
    if (path.size() == nameStart || path.back() != '_')
        return path;

    char replacement = static_cast<char>(missingChar);
    std::size_t last = path.size() - 1;
    if (last > nameStart) {
        char before = path[last - 1];
        if (IsLower(before) && IsUpper(replacement))
            replacement = static_cast<char>(replacement - 'A' + 'a');
        else if (IsUpper(before) && IsLower(replacement))
            replacement = static_cast<char>(replacement - 'a' + 'A');
    }
    path[last] = replacement;
    return path;
}

} // namespace zor::logic
