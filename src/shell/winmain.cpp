// Program entry, the backdrop window and the message loop.

#include "../common/setup_constants.h"
#include "../dialog/dialog.h"
#include "shell.h"

HWND g_hSetupDlg = NULL;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine, int showCommand)
{
    WNDCLASSEXA windowClass;
    MSG message;
    HWND backdrop;
    (void)previousInstance;
    (void)commandLine;
    (void)showCommand;

    windowClass.cbSize = sizeof(WNDCLASSEXA);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = BackdropWndProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = instance;
    windowClass.hIcon = NULL;
    windowClass.hCursor = LoadCursorA(NULL, IDC_ARROW);
    windowClass.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    windowClass.lpszMenuName = NULL;
    windowClass.lpszClassName = SETUP_CLASS_NAME;
    windowClass.hIconSm = NULL;
    RegisterClassExA(&windowClass);

    backdrop = CreateWindowExA(0, SETUP_CLASS_NAME, SETUP_TITLE, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, NULL, NULL, instance, NULL);
    if (backdrop == NULL)
        return -1;
    ShowWindow(backdrop, SW_SHOWMAXIMIZED);

    message.wParam = 0;
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }

    UnregisterClassA(SETUP_CLASS_NAME, instance);
    return (int)message.wParam;
}

LRESULT CALLBACK BackdropWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        g_hSetupDlg = CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_SETUP), hwnd, SetupDlgProc, 0);
        SetForegroundWindow(g_hSetupDlg);
        return 0;

    case WM_CLOSE:
        // Without a dialog there is nothing to confirm: the close ends setup.
        if (g_hSetupDlg == NULL)
            PostQuitMessage(0);
        else
            SendMessageA(g_hSetupDlg, WM_COMMAND, IDC_CANCEL_SETUP, 0);
        return 0;

    case WM_ERASEBKGND:
        return PaintBackdrop(hwnd);

    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}
