// The item list that the folder picker returns: one picked item, with its
// host path when it is a file-system folder.
#pragma once

#include "src/platform/api/shell32.h"

#include <string>

struct _ITEMIDLIST {
    std::string path;        // the host path of a file-system folder
    std::string displayName; // what the picker shows for the item
    bool fileSystem = false; // false for items without a file-system path
};

namespace zor::host {

// Makes an item list for a pick. A pick that starts with '/' is a host
// folder (its display name is its last component); anything else is an item
// of that display name without a file-system path.
ITEMIDLIST *NewItemList(const std::string &pick);

// The item behind a pointer that NewItemList returned and that was not freed
// yet, or nullptr.
const ITEMIDLIST *LiveItemList(const void *pointer);

// Frees an item list; false when the pointer is not a live one.
bool FreeItemList(void *pointer);

// Frees every live item list.
void ClearItemLists();

} // namespace zor::host
