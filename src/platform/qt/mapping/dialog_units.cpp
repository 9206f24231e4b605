#include "dialog_units.h"

#include <cstdint>
#include <cstdlib>

namespace zor::host {

DialogBaseUnits BaseUnitsFromFont(int alphabetWidth, int fontHeight)
{
    return {(alphabetWidth / 26 + 1) / 2, fontHeight};
}

int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    std::int64_t product = static_cast<std::int64_t>(a) * b;
    bool negative = (product < 0) != (c < 0);
    std::int64_t magnitude = std::llabs(product);
    std::int64_t divisor = std::llabs(static_cast<std::int64_t>(c));
    std::int64_t rounded = (magnitude * 2 + divisor) / (divisor * 2);
    return static_cast<int>(negative ? -rounded : rounded);
}

PixelRect MapDialogRect(int x, int y, int cx, int cy, DialogBaseUnits units)
{
    return {MulDiv(x, units.x, 4), MulDiv(y, units.y, 8), MulDiv(x + cx, units.x, 4), MulDiv(y + cy, units.y, 8)};
}

PixelPoint CentreIn(const PixelRect &area, int width, int height)
{
    return {area.left + (area.Width() - width) / 2, area.top + (area.Height() - height) / 2};
}

} // namespace zor::host
