// Reading a compiled resource file (.res): a sequence of resource entries.
#pragma once

#include "dialog_template.h"

namespace zor::resources {

inline constexpr std::uint16_t kDialogType = 5;  // RT_DIALOG

struct ResourceEntry {
    NameOrId type;
    NameOrId name;
    std::uint16_t language = 0;
    std::span<const std::byte> data;  // points into the parsed file's bytes
};

// Parses the whole file; every header is checked against the data.
std::variant<std::vector<ResourceEntry>, ParseError> ParseResFile(std::span<const std::byte> data);

// The entry of the given type and name: the given language when there is one,
// else the first of any language. nullptr when there is none.
const ResourceEntry *FindResource(const std::vector<ResourceEntry> &entries, const NameOrId &type,
                                  const NameOrId &name, std::uint16_t language);

}  // namespace zor::resources
