// The name a compressed file had before compression.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zor::logic {

// True when the byte may stand in a file name as the recorded character: not
// a control character, not one of \ / : * ? " < > |, and not a byte above
// 0x7F, which on its own is no character in UTF-8.
bool IsAllowedNameCharacter(std::uint8_t c);

// The path of the expanded file for the path of a compressed one that records
// `missingChar`. When the file name (after the last `\` or `/`) ends in `_`
// and a character is recorded, the character replaces the underscore, in the
// case of the character before it: ZOR.EX_ gives ZOR.EXE, ZOR.ex_ gives
// ZOR.exe; before anything else than a letter it is used as recorded. With
// no character recorded (0) the path is returned as it is. A recorded
// character that a name may not hold gives nothing.
std::optional<std::string> ExpandedPath(std::string_view compressedPath, std::uint8_t missingChar);

} // namespace zor::logic
