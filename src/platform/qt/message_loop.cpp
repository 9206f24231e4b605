// The message queue and delivery: sending calls a procedure directly,
// posting queues a message for the program's loop, and GetMessageA waits on
// the toolkit's event loop while the queue is empty.

#include "app_instance.h"
#include "host_state.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>

#include <chrono>

namespace zor::host {

LRESULT DeliverToDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT DeliverToControl(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

LRESULT Deliver(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const Window *record = State().windows.Find(window);
    if (record == nullptr)
        return 0;
    switch (record->kind) {
    case WindowKind::Dialog:
        return DeliverToDialog(window, message, wParam, lParam);
    case WindowKind::Control:
        return DeliverToControl(window, message, wParam, lParam);
    case WindowKind::TopLevel:
        break;
    }
    WNDPROC procedure = record->procedure;
    return procedure != nullptr ? procedure(window, message, wParam, lParam)
                                : DefWindowProcA(window, message, wParam, lParam);
}

namespace {

bool BelongsTo(HWND target, HWND filter)
{
    return State().windows.IsWithin(target, filter);
}

void WakeEventLoop()
{
    if (QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance())
        dispatcher->wakeUp();
}

MSG Stamped(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG stamped{};
    stamped.hwnd = window;
    stamped.message = message;
    stamped.wParam = wParam;
    stamped.lParam = lParam;
    using namespace std::chrono;
    stamped.time = static_cast<DWORD>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr) {
        QPoint cursor = QCursor::pos();
        stamped.pt = POINT{cursor.x(), cursor.y()};
    }
    return stamped;
}

} // namespace

} // namespace zor::host

using namespace zor::host;

extern "C" LRESULT WINAPI SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    return Deliver(hWnd, Msg, wParam, lParam);
}

extern "C" BOOL WINAPI PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    if (hWnd != nullptr && State().windows.Find(hWnd) == nullptr)
        return FALSE;
    State().queue.Post(Stamped(hWnd, Msg, wParam, lParam));
    WakeEventLoop();
    return TRUE;
}

extern "C" void WINAPI PostQuitMessage(int nExitCode)
{
    State().queue.PostQuit(nExitCode);
    WakeEventLoop();
}

extern "C" BOOL WINAPI GetMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax)
{
    HostState &state = State();
    if (lpMsg == nullptr || (hWnd != nullptr && state.windows.Find(hWnd) == nullptr))
        return -1;
    for (;;) {
        DeletePendingWidgets();
        if (auto message = state.queue.Take(hWnd, wMsgFilterMin, wMsgFilterMax, BelongsTo)) {
            *lpMsg = *message;
            return message->message == WM_QUIT ? FALSE : TRUE;
        }
        std::string why;
        if (EnsureApplication(&why) == nullptr) {
            ReportFailure("GetMessageA", "no message can arrive: " + why);
            return -1;
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

extern "C" BOOL WINAPI PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg)
{
    HostState &state = State();
    if (lpMsg == nullptr)
        return FALSE;
    DeletePendingWidgets();
    if (QCoreApplication::instance() != nullptr)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    std::optional<MSG> message = (wRemoveMsg & PM_REMOVE) != 0
                                     ? state.queue.Take(hWnd, wMsgFilterMin, wMsgFilterMax, BelongsTo)
                                     : state.queue.Peek(hWnd, wMsgFilterMin, wMsgFilterMax, BelongsTo);
    if (!message)
        return FALSE;
    *lpMsg = *message;
    return TRUE;
}

// Keyboard messages never pass through this queue (the widgets handle their
// own keys), so there is nothing to translate.
extern "C" BOOL WINAPI TranslateMessage(const MSG *)
{
    return FALSE;
}

extern "C" LRESULT WINAPI DispatchMessageA(const MSG *lpMsg)
{
    if (lpMsg == nullptr || lpMsg->hwnd == nullptr)
        return 0;
    return Deliver(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}
