// What a window's style and creation arguments say about its frame, place
// and size, and how controls show their text.
#pragma once

#include "dialog_units.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace zor::host {

struct FrameHints {
    bool frameless = false;      // no caption: no title bar at all
    bool title = false;          // WS_CAPTION
    bool systemMenu = false;     // WS_SYSMENU: the window menu and the close button
    bool minimizeButton = false; // WS_MINIMIZEBOX, shown only with the system menu
    bool maximizeButton = false; // WS_MAXIMIZEBOX, likewise
    bool resizable = false;      // WS_THICKFRAME
};

FrameHints FrameHintsForStyle(std::uint32_t style);

// Where and how large a new top-level window is. CW_USEDEFAULT in x leaves
// the position to the window manager (y is then ignored); CW_USEDEFAULT in
// width gives three quarters of the screen's work area in each direction
// (the height is then ignored).
struct CreateGeometry {
    bool placed = false;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

CreateGeometry ResolveCreateGeometry(int x, int y, int width, int height, const PixelRect &workArea);

// The text a static control shows: "&&" shows as "&", and a single "&" marks
// the next letter as the mnemonic and is not shown, unless SS_NOPREFIX.
std::string StaticDisplayText(std::string_view text, bool noPrefix);

} // namespace zor::host
