// The text of a window: the title of a top-level window or dialog, the text
// of a control.
#pragma once

#include "window_registry.h"

#include <string>
#include <string_view>

namespace zor::host {

std::string WindowText(const Window &window);
// Sets the text and shows it. Edit controls do not notify here; the caller
// decides.
void SetWindowTextOf(Window &window, std::string_view text);

// WM_GETTEXT into a buffer of `capacity` bytes, cut on a character boundary.
LRESULT CopyWindowText(const Window &window, WPARAM capacity, LPARAM buffer);

} // namespace zor::host
