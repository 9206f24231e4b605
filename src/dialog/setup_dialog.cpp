// The setup dialog's procedure.

#include "../common/setup_constants.h"
#include "../install/install.h"
#include "dialog.h"

static const char CANCEL_QUESTION[] = "Are you sure you wish to cancel ZOR Setup?";

INT_PTR CALLBACK SetupDlgProc(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    char folder[MAX_PATH];
    (void)lParam;

    switch (message) {
    case WM_INITDIALOG:
        ShowWindow(dlg, SW_SHOW);
        SetForegroundWindow(dlg);
        SetDlgItemTextA(dlg, IDC_INSTALL_PATH, DEFAULT_INSTALL_DIR);
        return TRUE;

    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_BROWSE:
            BrowseForInstallFolder(dlg, folder);
            if (folder[0] != '\0')
                SetDlgItemTextA(dlg, IDC_INSTALL_PATH, folder);
            return TRUE;
        case IDC_CONTINUE:
            RunInstallSequence(dlg);
            return TRUE;
        case IDC_CANCEL_SETUP:
            if (MessageBoxA(dlg, CANCEL_QUESTION, SETUP_TITLE, MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
                return FALSE;
            PostQuitMessage(0);
            EndDialog(dlg, 0);
            return TRUE;
        default:
            return FALSE;
        }

    default:
        return FALSE;
    }
}
