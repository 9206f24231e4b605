// The state shared by the host's USER32 and GDI32 calls, and the one way a
// message reaches a window.
#pragma once

#include "mapping/gdi_objects.h"
#include "mapping/message_queue.h"
#include "mapping/window_classes.h"
#include "window_registry.h"

#include <QPointer>
#include <QWidget>

#include <vector>

namespace zor::host {

struct HostState {
    ClassRegistry classes;
    WindowRegistry windows;
    MessageQueue queue;
    GdiTable gdi;
    DeviceContextTable deviceContexts;
    // Widgets of destroyed windows that were busy in one of their own events
    // when destroyed; they are deleted at the next safe point (the next
    // GetMessageA or PeekMessageA).
    std::vector<QPointer<QWidget>> pendingDeletes;
    // Set while a window's paint event runs its procedure: device contexts
    // released then do not ask for another repaint.
    HWND painting = nullptr;
};

// One instance for the process, never destroyed: windows still open at exit
// go with the process, as they would on Windows.
HostState &State();

// Calls the procedure behind a window: the class's window procedure for a
// top-level window, the dialog procedure (with the dialog manager's default
// processing) for a dialog, the control's own handling for a control.
// Returns 0 for a handle that is not a window.
LRESULT Deliver(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Posts WM_COMMAND with `code` from a control to its dialog.
void PostNotification(HWND control, WORD code);
// Sends it instead, for changes the program itself made.
void SendNotification(HWND control, WORD code);

// Deletes a widget now, or at the next safe point when it is inside one of
// its own events.
void DeleteWidgetSoon(QWidget *widget);
void DeletePendingWidgets();

// The widget of a window, or nullptr.
QWidget *WidgetOfWindow(HWND window);

} // namespace zor::host
