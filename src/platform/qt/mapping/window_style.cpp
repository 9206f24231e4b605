#include "window_style.h"

#include "src/platform/api/user32.h"

#include <algorithm>

namespace zor::host {

FrameHints FrameHintsForStyle(std::uint32_t style)
{
    FrameHints hints;
    hints.title = (style & WS_CAPTION) == WS_CAPTION;
    hints.frameless = !hints.title;
    hints.systemMenu = hints.title && (style & WS_SYSMENU) != 0;
    hints.minimizeButton = hints.systemMenu && (style & WS_MINIMIZEBOX) != 0;
    hints.maximizeButton = hints.systemMenu && (style & WS_MAXIMIZEBOX) != 0;
    hints.resizable = (style & WS_THICKFRAME) != 0;
    return hints;
}

CreateGeometry ResolveCreateGeometry(int x, int y, int width, int height, const PixelRect &workArea)
{
    CreateGeometry geometry;
    if (x != CW_USEDEFAULT) {
        geometry.placed = true;
        geometry.x = x;
        geometry.y = y == CW_USEDEFAULT ? 0 : y;
    }
    if (width == CW_USEDEFAULT) {
        geometry.width = workArea.Width() * 3 / 4;
        geometry.height = workArea.Height() * 3 / 4;
    } else {
        geometry.width = width;
        geometry.height = height == CW_USEDEFAULT ? workArea.Height() * 3 / 4 : height;
    }
    geometry.width = std::max(geometry.width, 1);
    geometry.height = std::max(geometry.height, 1);
    return geometry;
}

std::string StaticDisplayText(std::string_view text, bool noPrefix)
{
    if (noPrefix)
        return std::string(text);
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            shown += text[i];
        } else if (i + 1 < text.size() && text[i + 1] == '&') {
            shown += '&';
            ++i;
        }
    }
    return shown;
}

} // namespace zor::host
