// Creates a window with no QApplication made beforehand, as the program
// does, and says on standard output whether it got one: "created" or
// "null". The exit code is 0 either way; a crash or abort is the fault the
// test looks for.
#include "src/platform/win32.h"

#include <cstdio>

namespace {

LRESULT CALLBACK HelperWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

} // namespace

int main()
{
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = HelperWndProc;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = "Helper";
    RegisterClassExA(&windowClass);
    HWND hwnd = CreateWindowExA(0, "Helper", "Helper", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr);
    if (hwnd == nullptr) {
        std::printf("null\n");
        std::fflush(stdout);
        return 0;
    }
    ShowWindow(hwnd, SW_SHOWMAXIMIZED);
    PostQuitMessage(0);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchMessageA(&message);
    DestroyWindow(hwnd);
    std::printf("created\n");
    std::fflush(stdout);
    return 0;
}
