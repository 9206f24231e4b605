// Device contexts paint into the backing image of a top-level window.
#pragma once

#include "src/platform/api/gdi32.h"
#include "src/platform/api/user32.h"

class QImage;

namespace zor::host {

// The backing image of a window, or nullptr for a window without one
// (dialogs and controls are drawn by their widgets).
QImage *BackingImageOf(HWND window);

// Fills a rectangle through a device context, as erasing the background does.
bool FillRectangle(HDC dc, const RECT &rect, COLORREF colour);

} // namespace zor::host
