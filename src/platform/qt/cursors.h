// The standard cursors that LoadCursorA hands out.
#pragma once

#include "src/platform/api/user32.h"

#include <Qt>

#include <optional>

namespace zor::host {

// The handle of a standard cursor (IDC_ARROW, IDC_IBEAM, ...), or nullptr.
HCURSOR StandardCursor(LPCSTR name);
// The cursor shape behind such a handle.
std::optional<Qt::CursorShape> CursorShapeOf(HCURSOR cursor);

} // namespace zor::host
