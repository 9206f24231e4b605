// A small program on the Qt host: a window painted through GDI (coloured
// bands and a line of text) and a modeless dialog from the demo's own
// template. Hello shows a message box, Folder... the folder picker, Quit (or
// closing the window) ends the demo.
#include "host_demo_ids.h"

#include "src/platform/win32.h"

#include <cstdio>
#include <cstring>

namespace {

const char kClassName[] = "Qt Host Demo";
HWND g_dialog = nullptr;

void PaintBands(HWND hwnd)
{
    static const COLORREF kColours[] = {RGB(200, 30, 30), RGB(230, 150, 20), RGB(40, 160, 60), RGB(30, 90, 200)};
    RECT client;
    GetClientRect(hwnd, &client);
    HDC dc = GetDC(hwnd);
    int band = 0;
    for (int y = 8; y < client.bottom + 8; y += 16, ++band) {
        HPEN pen = CreatePen(PS_SOLID, 16, kColours[band % 4]);
        HGDIOBJ previous = SelectObject(dc, pen);
        MoveToEx(dc, 0, y, nullptr);
        LineTo(dc, client.right, y);
        SelectObject(dc, previous);
        DeleteObject(pen);
    }
    HPEN white = CreatePen(PS_SOLID, 0, RGB(255, 255, 255));
    HGDIOBJ previous = SelectObject(dc, white);
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, client.right, client.bottom);
    SelectObject(dc, previous);
    DeleteObject(white);

    HFONT font = CreateFontA(32, 0, 0, 0, FW_BOLD, TRUE, FALSE, FALSE, ANSI_CHARSET, OUT_TT_ONLY_PRECIS,
                             CLIP_DEFAULT_PRECIS, PROOF_QUALITY, VARIABLE_PITCH, "Verdana");
    previous = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    const char text[] = "Qt host demo — GDI on Qt";
    SetTextColor(dc, RGB(0, 0, 0));
    TextOutA(dc, 23, 23, text, static_cast<int>(std::strlen(text)));
    SetTextColor(dc, RGB(255, 255, 255));
    TextOutA(dc, 20, 20, text, static_cast<int>(std::strlen(text)));
    SelectObject(dc, previous);
    DeleteObject(font);
    ReleaseDC(hwnd, dc);
}

INT_PTR CALLBACK DemoDlgProc(HWND dlg, UINT message, WPARAM wParam, LPARAM)
{
    char text[MAX_PATH];
    char greeting[MAX_PATH + 16];
    switch (message) {
    case WM_INITDIALOG:
        SetDlgItemTextA(dlg, IDC_DEMO_NAME, "Grüße aus dem Qt-Host");
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_DEMO_HELLO:
            GetDlgItemTextA(dlg, IDC_DEMO_NAME, text, MAX_PATH);
            std::snprintf(greeting, sizeof greeting, "Hello: %s", text);
            MessageBoxA(dlg, greeting, "Qt host demo", MB_OK | MB_ICONINFORMATION);
            return TRUE;
        case IDC_DEMO_PICK: {
            BROWSEINFOA request{};
            request.hwndOwner = dlg;
            request.pszDisplayName = text;
            request.lpszTitle = "Pick any folder";
            request.ulFlags = BIF_RETURNONLYFSDIRS;
            LPITEMIDLIST items = SHBrowseForFolderA(&request);
            if (items != nullptr && SHGetPathFromIDListA(items, text))
                SetDlgItemTextA(dlg, IDC_DEMO_NAME, text);
            CoTaskMemFree(items);
            return TRUE;
        }
        case IDC_DEMO_QUIT:
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

LRESULT CALLBACK DemoWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        g_dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_DEMO), hwnd, DemoDlgProc, 0);
        return 0;
    case WM_ERASEBKGND:
        PaintBands(hwnd);
        return 1;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = DemoWndProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = kClassName;
    RegisterClassExA(&windowClass);

    HWND window = CreateWindowExA(0, kClassName, "Qt host demo", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    if (window == nullptr)
        return 1;
    ShowWindow(window, SW_SHOWMAXIMIZED);
    if (g_dialog != nullptr)
        SetForegroundWindow(g_dialog);

    MSG message;
    message.wParam = 0;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
