// Dialog units: the font-relative coordinates of dialog templates.
#pragma once

namespace zor::host {

// One horizontal dialog unit is a quarter of baseX pixels, one vertical unit
// an eighth of baseY pixels.
struct DialogBaseUnits {
    int x = 0;
    int y = 0;
};

struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

// Base units of a font from the width of the 52 letters A-Z a-z set in it and
// its height: baseX is their average width, rounded; baseY the height.
DialogBaseUnits BaseUnitsFromFont(int alphabetWidth, int fontHeight);

// a * b / c rounded to the nearest integer, halves away from zero, without
// overflow in between; -1 when c is 0.
int MulDiv(int a, int b, int c);

// The pixel rectangle of a rectangle given in dialog units. Each edge is
// mapped on its own, so adjacent controls stay adjacent.
PixelRect MapDialogRect(int x, int y, int cx, int cy, DialogBaseUnits units);

// The top-left corner that centres a box of the given size in `area`.
struct PixelPoint {
    int x = 0;
    int y = 0;
};
PixelPoint CentreIn(const PixelRect &area, int width, int height);

} // namespace zor::host
