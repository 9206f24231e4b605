// Reading the classic (non-extended) dialog template.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace zor::resources {

// A name in a template or resource header: an ordinal (0xFFFF followed by a
// WORD) or a text, converted from UTF-16 to UTF-8.
using NameOrId = std::variant<std::uint16_t, std::string>;

// Atoms of the predefined control classes.
inline constexpr std::uint16_t kButtonAtom = 0x0080;
inline constexpr std::uint16_t kEditAtom = 0x0081;
inline constexpr std::uint16_t kStaticAtom = 0x0082;

struct DialogItem {
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    std::int16_t x = 0, y = 0, cx = 0, cy = 0;
    std::uint16_t id = 0;
    NameOrId windowClass;
    NameOrId title;
    std::vector<std::byte> creationData;
};

struct DialogTemplate {
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    std::int16_t x = 0, y = 0, cx = 0, cy = 0;
    NameOrId menu;         // 0 when there is none
    NameOrId windowClass;  // 0 for the default dialog class
    std::string caption;
    std::uint16_t pointSize = 0;  // only with DS_SETFONT
    std::string faceName;         // only with DS_SETFONT
    std::vector<DialogItem> items;
};

struct ParseError {
    std::string message;  // one line, says what is wrong and where
};

// Parses the template bytes. Every count and length is checked against the
// data: a malformed template is an error, never a read out of bounds.
std::variant<DialogTemplate, ParseError> ParseDialogTemplate(std::span<const std::byte> data);

}  // namespace zor::resources
