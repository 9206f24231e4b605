// The setup dialog and the install folder browser.
#pragma once

#include "../platform/win32.h"

INT_PTR CALLBACK SetupDlgProc(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam);
void BrowseForInstallFolder(HWND owner, char *path);
