// The setup shell: the backdrop window and its painting.
#pragma once

#include "../platform/win32.h"

extern HWND g_hSetupDlg;

LRESULT CALLBACK BackdropWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT PaintBackdrop(HWND hwnd);
