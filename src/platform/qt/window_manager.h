// Internal helpers of the window manager.
#pragma once

#include "window_registry.h"

#include <QColor>
#include <QScreen>

namespace zor::host {

// Window flags for a top-level window or dialog of the given style.
Qt::WindowFlags WindowFlagsForStyle(DWORD style, bool dialog);

// The colour a class's background brush paints, or white.
QColor BrushColour(HBRUSH brush);

// The screen a new window of this owner appears on.
QScreen *ScreenFor(QWidget *owner);

// Forgets a window whose widget the toolkit deleted, with its dependants.
void ForgetWindow(HWND window);

// Calls ForgetWindow when the widget goes away behind the host's back.
void WatchWidget(HWND window, QWidget *widget);

} // namespace zor::host
