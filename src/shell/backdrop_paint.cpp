// Paints the backdrop: a blue gradient and the shadowed credit line.

#include "../common/setup_constants.h"
#include "shell.h"

#define BAND_HEIGHT 16

LRESULT PaintBackdrop(HWND hwnd)
{
    RECT client;
    HDC dc;
    HPEN pen;
    HFONT font;
    HGDIOBJ previous;
    int height;
    int blue;

    dc = GetDC(hwnd);
    GetClientRect(hwnd, &client);

    // Laid out over one caption more than the client area, so that the last
    // band stays a little blue.
    height = (client.bottom + GetSystemMetrics(SM_CYCAPTION)) - client.top;
    for (int y = client.top; y < height; y += BAND_HEIGHT) {
        blue = 255 - (255 * y) / height;
        pen = CreatePen(PS_SOLID, BAND_HEIGHT, RGB(0, 0, blue));
        previous = SelectObject(dc, pen);
        MoveToEx(dc, 0, y, NULL);
        LineTo(dc, client.right - client.left, y);
        SelectObject(dc, previous);
        DeleteObject(pen);
    }

    font = CreateFontA(36, 0, 0, 0, FW_BOLD, TRUE, FALSE, FALSE, ANSI_CHARSET, OUT_TT_ONLY_PRECIS,
                       CLIP_DEFAULT_PRECIS, PROOF_QUALITY, VARIABLE_PITCH, "Verdana");
    previous = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    TextOutA(dc, 20, 20, BANNER_TEXT, sizeof(BANNER_TEXT) - 1);
    SetTextColor(dc, RGB(255, 255, 255));
    TextOutA(dc, 17, 17, BANNER_TEXT, sizeof(BANNER_TEXT) - 1);
    SelectObject(dc, previous);
    DeleteObject(font);

    ReleaseDC(hwnd, dc);
    return 0;
}
