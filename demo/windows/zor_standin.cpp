// Stand-in for the installed ZOR program.
//
// It records where it was started: "zor-started.txt" in its current directory
// holds its module path and its current directory, one per line. It then shows
// both in its window title and closes by itself after two seconds, or at once
// when it is asked to close.

#include <windows.h>

namespace {

constexpr char kClassName[] = "ZOR stand-in";
constexpr char kMarkerFile[] = "zor-started.txt";
constexpr UINT_PTR kCloseTimer = 1;
constexpr UINT kLifetimeMs = 2000;

// Appends text to buffer (size bytes), always leaving it terminated.
void Append(char *buffer, size_t size, const char *text)
{
    size_t used = lstrlenA(buffer);
    while (*text != '\0' && used + 1 < size)
        buffer[used++] = *text++;
    buffer[used] = '\0';
}

bool WriteMarker(const char *contents)
{
    HANDLE file = CreateFileA(kMarkerFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD length = static_cast<DWORD>(lstrlenA(contents));
    DWORD written = 0;
    bool ok = WriteFile(file, contents, length, &written, nullptr) && written == length;
    return CloseHandle(file) && ok;
}

LRESULT CALLBACK StandInWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER:
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
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
    char modulePath[MAX_PATH] = "";
    char currentDir[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, modulePath, MAX_PATH);
    GetCurrentDirectoryA(MAX_PATH, currentDir);

    char marker[2 * MAX_PATH + 2] = "";
    Append(marker, sizeof marker, modulePath);
    Append(marker, sizeof marker, "\n");
    Append(marker, sizeof marker, currentDir);
    Append(marker, sizeof marker, "\n");
    if (!WriteMarker(marker))
        return 1;

    char title[2 * MAX_PATH + 16] = "ZOR: ";
    Append(title, sizeof title, modulePath);
    Append(title, sizeof title, " in ");
    Append(title, sizeof title, currentDir);

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = StandInWndProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassA(&windowClass))
        return 2;

    HWND window = CreateWindowExA(0, kClassName, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 480, 120, nullptr, nullptr, instance, nullptr);
    if (window == nullptr)
        return 3;
    SetTimer(window, kCloseTimer, kLifetimeMs, nullptr);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
