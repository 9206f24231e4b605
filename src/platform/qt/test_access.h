// What tests may see of the Qt host beyond the Win32 calls.
//
// These are stable: end-to-end tests of the whole program rely on them.
// Call them on the thread that runs the program's message loop.
#pragma once

#include "src/platform/api/user32.h"

#include <QImage>
#include <QWidget>

#include <cstddef>
#include <vector>

namespace zor::host::test {

// The widget behind a window, dialog or control handle; nullptr for a handle
// that is not (or no longer) a window. A top-level window is a QWidget, a
// dialog a QWidget, an edit a QLineEdit, a static a QLabel, a button a
// QPushButton.
QWidget *WidgetOf(HWND window);

// The handle of a widget that stands for a window, or nullptr.
HWND WindowOf(const QWidget *widget);

// A copy of the image that a top-level window's painting went into, the size
// of its client area; a null image for dialogs, controls and non-windows.
QImage BackingImage(HWND window);

// Paints a top-level window into its backing image now, as when it is
// first shown: WM_ERASEBKGND then WM_PAINT reach its procedure before this
// returns (the screen follows at the next paint event). False when the
// window is not a visible top-level window.
bool RepaintNow(HWND window);

// The handles of all windows, dialogs and controls, oldest first.
std::vector<HWND> AllWindows();

// How many messages are waiting in the queue (the quit request not counted).
std::size_t PostedMessageCount();

// Destroys every window without calling any procedure, and drops the posted
// messages, the quit request and the open device contexts. Call it between
// tests, and before the test's QApplication goes away.
void DestroyAllWindows();

// DestroyAllWindows, and forgets the registered classes, the created GDI
// objects and the item lists not yet freed: the host as at start.
void ResetHost();

} // namespace zor::host::test
