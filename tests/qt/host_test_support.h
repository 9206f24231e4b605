// Shared by the Qt host's tests: procedures that forward to per-test hooks,
// a fixture that resets the host, and helpers that run the program's loop
// and answer modal windows.
#pragma once

#include "src/platform/host_script.h"
#include "src/platform/qt/test_access.h"
#include "src/platform/win32.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zor::host::testing {

struct Delivered {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

using WindowHook = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;
using DialogHook = std::function<INT_PTR(HWND, UINT, WPARAM, LPARAM)>;

// What the test's window and dialog procedures do; empty: the defaults.
inline WindowHook g_windowHook;
inline DialogHook g_dialogHook;
// Every message the two procedures saw, in order.
inline std::vector<Delivered> g_delivered;

inline LRESULT CALLBACK TestWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    g_delivered.push_back({hwnd, message, wParam, lParam});
    if (g_windowHook)
        return g_windowHook(hwnd, message, wParam, lParam);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

inline INT_PTR CALLBACK TestDlgProc(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    g_delivered.push_back({dlg, message, wParam, lParam});
    return g_dialogHook ? g_dialogHook(dlg, message, wParam, lParam) : FALSE;
}

inline std::vector<Delivered> DeliveredOf(UINT message)
{
    std::vector<Delivered> found;
    for (const Delivered &d : g_delivered) {
        if (d.message == message)
            found.push_back(d);
    }
    return found;
}

void RegisterTestResources();

inline constexpr const char *kTestClass = "Host Test Window";

class HostTest : public ::testing::Test {
  protected:
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }

    static void Reset()
    {
        test::ResetHost();
        g_windowHook = nullptr;
        g_dialogHook = nullptr;
        g_delivered.clear();
    }

    static ATOM RegisterTestClass(HBRUSH background = nullptr, UINT style = CS_HREDRAW | CS_VREDRAW)
    {
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof(WNDCLASSEXA);
        windowClass.style = style;
        windowClass.lpfnWndProc = TestWndProc;
        windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        windowClass.hbrBackground =
            background != nullptr ? background : static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        windowClass.lpszClassName = kTestClass;
        return RegisterClassExA(&windowClass);
    }

    static HWND CreateTestWindow(const char *title = "Host Test", int width = 320, int height = 240)
    {
        RegisterTestClass();
        return CreateWindowExA(0, kTestClass, title, WS_OVERLAPPEDWINDOW, 10, 10, width, height, nullptr, nullptr,
                               nullptr, nullptr);
    }
};

// Runs the program's loop (GetMessageA, TranslateMessage, DispatchMessageA)
// until `done` holds after a dispatch, WM_QUIT arrives, or `milliseconds`
// pass. True when `done` held.
inline bool PumpUntil(const std::function<bool()> &done, int milliseconds = 5000)
{
    if (done())
        return true;
    bool timedOut = false;
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&timedOut] {
        timedOut = true;
        PostMessageA(nullptr, WM_NULL, 0, 0);
    });
    watchdog.start(milliseconds);
    MSG message;
    while (!timedOut) {
        BOOL result = GetMessageA(&message, nullptr, 0, 0);
        if (result <= 0)
            return false;
        TranslateMessage(&message);
        DispatchMessageA(&message);
        if (done())
            return true;
    }
    return false;
}

// Calls `act` with the application's modal widget as soon as there is one
// (checked every 10 ms, for up to 5 s), from the event loop that the modal
// widget runs.
inline void WhenModal(std::function<void(QWidget *)> act)
{
    auto *poll = new QTimer(QCoreApplication::instance());
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    QObject::connect(poll, &QTimer::timeout, [poll, started, act = std::move(act)] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal == nullptr && started->elapsed() < 5000)
            return;
        poll->stop();
        poll->deleteLater();
        if (modal != nullptr)
            act(modal);
    });
    poll->start(10);
}

} // namespace zor::host::testing
