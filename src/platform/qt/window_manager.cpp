// Window classes and top-level windows: creation, destruction, showing and
// finding them.

#include "window_manager.h"

#include "app_instance.h"
#include "cursors.h"
#include "device_context.h"
#include "host_state.h"
#include "host_widgets.h"
#include "mapping/gdi_mapping.h"
#include "mapping/utf8_text.h"
#include "mapping/window_style.h"
#include "window_text.h"

#include <QApplication>
#include <QGuiApplication>

#include <cstring>
#include <string>

namespace zor::host {

Qt::WindowFlags WindowFlagsForStyle(DWORD style, bool dialog)
{
    FrameHints hints = FrameHintsForStyle(style);
    Qt::WindowFlags flags = dialog ? Qt::Dialog : Qt::Window;
    if (hints.frameless)
        return flags | Qt::FramelessWindowHint;
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (hints.systemMenu)
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (hints.minimizeButton)
        flags |= Qt::WindowMinimizeButtonHint;
    if (hints.maximizeButton)
        flags |= Qt::WindowMaximizeButtonHint;
    return flags;
}

QColor BrushColour(HBRUSH brush)
{
    if (const GdiObject *object = State().gdi.Find(brush)) {
        if (const auto *solid = std::get_if<BrushObject>(object); solid != nullptr && !solid->hollow) {
            Rgb rgb = RgbOf(solid->color);
            return QColor(rgb.red, rgb.green, rgb.blue);
        }
    }
    return QColor(Qt::white);
}

QScreen *ScreenFor(QWidget *owner)
{
    if (owner != nullptr && owner->screen() != nullptr)
        return owner->screen();
    return QGuiApplication::primaryScreen();
}

void ForgetWindow(HWND window)
{
    HostState &state = State();
    for (HWND dependant : state.windows.Dependants(window))
        ForgetWindow(dependant);
    if (state.windows.Remove(window)) {
        state.queue.DropMessagesFor(window);
        state.deviceContexts.CloseAllFor(window);
    }
}

void WatchWidget(HWND window, QWidget *widget)
{
    QObject::connect(widget, &QObject::destroyed, [window] { ForgetWindow(window); });
}

} // namespace zor::host

using namespace zor::host;

extern "C" ATOM WINAPI RegisterClassExA(const WNDCLASSEXA *lpwcx)
{
    if (lpwcx == nullptr)
        return 0;
    return State().classes.Register(*lpwcx);
}

extern "C" BOOL WINAPI UnregisterClassA(LPCSTR lpClassName, HINSTANCE)
{
    HostState &state = State();
    auto hasWindows = [&state](const WindowClass &windowClass) {
        for (HWND handle : state.windows.Handles()) {
            const Window *window = state.windows.Find(handle);
            if (window->kind == WindowKind::TopLevel && SameClassName(window->className, windowClass.name.c_str()))
                return true;
        }
        return false;
    };
    return state.classes.Unregister(lpClassName, hasWindows) ? TRUE : FALSE;
}

extern "C" HWND WINAPI CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int X,
                                       int Y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu,
                                       HINSTANCE hInstance, LPVOID lpParam)
{
    std::string title = lpWindowName == nullptr ? std::string() : std::string(lpWindowName);
    std::string className = lpClassName == nullptr        ? std::string("(none)")
                            : IS_INTRESOURCE(lpClassName) ? "#" + std::to_string(LOWORD(lpClassName))
                                                          : std::string(lpClassName);
    std::string what = "cannot create the window \"" + title + "\"";

    std::string why;
    if (EnsureApplication(&why) == nullptr) {
        ReportFailure("CreateWindowExA", what + ": " + why);
        return nullptr;
    }
    HostState &state = State();
    const WindowClass *windowClass = state.classes.Find(lpClassName);
    if (windowClass == nullptr) {
        ReportFailure("CreateWindowExA", what + ": there is no window class \"" + className + "\"");
        return nullptr;
    }
    if ((dwStyle & WS_CHILD) != 0) {
        ReportFailure("CreateWindowExA", what + ": child windows are not supported");
        return nullptr;
    }
    Window *owner = hWndParent == nullptr ? nullptr : state.windows.Find(hWndParent);
    if (hWndParent != nullptr && owner == nullptr) {
        ReportFailure("CreateWindowExA", what + ": the owner is not a window");
        return nullptr;
    }
    QWidget *ownerWidget = owner == nullptr ? nullptr : owner->widget.data();

    auto record = std::make_unique<Window>();
    record->kind = WindowKind::TopLevel;
    record->className = windowClass->name;
    record->procedure = windowClass->procedure;
    record->owner = hWndParent;
    record->style = dwStyle;
    record->exStyle = dwExStyle;
    record->classStyle = windowClass->style;
    record->background = windowClass->background;
    record->text = title;
    HCURSOR cursor = windowClass->cursor;
    bool redrawOnResize = (windowClass->style & (CS_HREDRAW | CS_VREDRAW)) != 0;
    QColor background = BrushColour(windowClass->background);
    HWND handle = state.windows.Add(std::move(record));

    if (ownerWidget != nullptr)
        ownerWidget->window()->winId(); // so that the new window can be made transient for it
    auto *widget =
        new TopLevelWidget(handle, ownerWidget, WindowFlagsForStyle(dwStyle, false), background, redrawOnResize);
    state.windows.Attach(handle, widget);
    WatchWidget(handle, widget);
    widget->setWindowTitle(QString::fromUtf8(title.c_str()));
    if (auto shape = CursorShapeOf(cursor))
        widget->setCursor(*shape);

    QRect work = ScreenFor(ownerWidget)->availableGeometry();
    CreateGeometry geometry =
        ResolveCreateGeometry(X, Y, nWidth, nHeight, {work.left(), work.top(), work.right() + 1, work.bottom() + 1});
    widget->resize(geometry.width, geometry.height);
    if (geometry.placed)
        widget->move(geometry.x, geometry.y);

    CREATESTRUCTA create{};
    create.lpCreateParams = lpParam;
    create.hInstance = hInstance;
    create.hMenu = hMenu;
    create.hwndParent = hWndParent;
    create.cx = geometry.width;
    create.cy = geometry.height;
    create.x = geometry.placed ? geometry.x : widget->x();
    create.y = geometry.placed ? geometry.y : widget->y();
    create.style = static_cast<LONG>(dwStyle);
    create.lpszName = lpWindowName;
    create.lpszClass = lpClassName;
    create.dwExStyle = dwExStyle;
    LRESULT created = Deliver(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create));
    if (state.windows.Find(handle) == nullptr)
        return nullptr; // the procedure destroyed it
    if (created == -1) {
        DestroyWindow(handle);
        return nullptr;
    }
    if ((dwStyle & WS_VISIBLE) != 0)
        ShowWindow(handle, (dwStyle & WS_MAXIMIZE) != 0 ? SW_SHOWMAXIMIZED : SW_SHOW);
    return handle;
}

extern "C" BOOL WINAPI DestroyWindow(HWND hWnd)
{
    HostState &state = State();
    if (state.windows.Find(hWnd) == nullptr)
        return FALSE;

    // Owned windows go first, as they do on Windows.
    for (HWND dependant : state.windows.Dependants(hWnd)) {
        const Window *window = state.windows.Find(dependant);
        if (window != nullptr && window->kind != WindowKind::Control)
            DestroyWindow(dependant);
    }
    Window *window = state.windows.Find(hWnd);
    if (window == nullptr)
        return TRUE;
    if (window->widget)
        window->widget->hide();
    Deliver(hWnd, WM_DESTROY, 0, 0);

    for (HWND dependant : state.windows.Dependants(hWnd))
        ForgetWindow(dependant);
    std::unique_ptr<Window> removed = state.windows.Remove(hWnd);
    if (removed == nullptr)
        return TRUE;
    state.queue.DropMessagesFor(hWnd);
    state.deviceContexts.CloseAllFor(hWnd);
    DeleteWidgetSoon(removed->widget.data());
    return TRUE;
}

extern "C" LRESULT WINAPI DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    Window *window = State().windows.Find(hWnd);
    if (window == nullptr)
        return 0;
    switch (Msg) {
    case WM_CLOSE:
        DestroyWindow(hWnd);
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE)
            SendMessageA(hWnd, WM_CLOSE, 0, 0);
        return 0;
    case WM_ERASEBKGND: {
        // Fills the client area with the class's background brush through
        // the device context that comes with the message.
        HDC dc = reinterpret_cast<HDC>(wParam);
        if (window->background == nullptr || dc == nullptr)
            return 0;
        const GdiObject *object = State().gdi.Find(window->background);
        const auto *brush = object == nullptr ? nullptr : std::get_if<BrushObject>(object);
        if (brush == nullptr || brush->hollow)
            return 0;
        RECT client;
        GetClientRect(hWnd, &client);
        return FillRectangle(dc, client, brush->color) ? 1 : 0;
    }
    case WM_SETTEXT:
        SetWindowTextOf(*window, lParam == 0 ? "" : reinterpret_cast<const char *>(lParam));
        return TRUE;
    case WM_GETTEXT:
        return CopyWindowText(*window, wParam, lParam);
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(WindowText(*window).size());
    default:
        return 0;
    }
}

extern "C" BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow)
{
    Window *window = State().windows.Find(hWnd);
    if (window == nullptr || window->widget == nullptr)
        return FALSE;
    QWidget *widget = window->widget.data();
    bool control = window->kind == WindowKind::Control;
    bool wasVisible = control ? !widget->isHidden() : widget->isVisible();

    switch (nCmdShow) {
    case SW_HIDE:
        widget->hide();
        break;
    case SW_SHOWMAXIMIZED:
        if (control) {
            widget->show();
        } else {
            // Without a window manager nothing would maximize the window:
            // it is given the work area first.
            widget->setGeometry(ScreenFor(widget)->availableGeometry());
            widget->showMaximized();
        }
        break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
        if (control)
            widget->show();
        else
            widget->showMinimized();
        break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
        if (control)
            widget->show();
        else
            widget->showNormal();
        break;
    case SW_SHOWNOACTIVATE:
    case SW_SHOWNA:
        widget->setAttribute(Qt::WA_ShowWithoutActivating, true);
        widget->show();
        widget->setAttribute(Qt::WA_ShowWithoutActivating, false);
        break;
    default:
        widget->show();
        break;
    }
    return wasVisible ? TRUE : FALSE;
}

extern "C" BOOL WINAPI SetForegroundWindow(HWND hWnd)
{
    QWidget *widget = WidgetOfWindow(hWnd);
    if (widget == nullptr)
        return FALSE;
    QWidget *top = widget->window();
    top->raise();
    top->activateWindow();
    return TRUE;
}

extern "C" BOOL WINAPI IsWindow(HWND hWnd)
{
    return WidgetOfWindow(hWnd) != nullptr ? TRUE : FALSE;
}

extern "C" BOOL WINAPI IsWindowVisible(HWND hWnd)
{
    QWidget *widget = WidgetOfWindow(hWnd);
    return widget != nullptr && widget->isVisible() ? TRUE : FALSE;
}

extern "C" HWND WINAPI FindWindowA(LPCSTR lpClassName, LPCSTR lpWindowName)
{
    HostState &state = State();
    for (HWND handle : state.windows.Handles()) {
        const Window *window = state.windows.Find(handle);
        if (window->kind == WindowKind::Control)
            continue;
        if (lpClassName != nullptr) {
            if (IS_INTRESOURCE(lpClassName)) {
                const WindowClass *windowClass = state.classes.Find(lpClassName);
                if (windowClass == nullptr || !SameClassName(window->className, windowClass->name.c_str()))
                    continue;
            } else if (!SameClassName(window->className, lpClassName)) {
                continue;
            }
        }
        if (lpWindowName != nullptr && window->text != lpWindowName)
            continue;
        return handle;
    }
    return nullptr;
}

extern "C" BOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect)
{
    QWidget *widget = WidgetOfWindow(hWnd);
    if (widget == nullptr || lpRect == nullptr)
        return FALSE;
    *lpRect = RECT{0, 0, widget->width(), widget->height()};
    return TRUE;
}

extern "C" HWND WINAPI GetParent(HWND hWnd)
{
    const Window *window = State().windows.Find(hWnd);
    return window == nullptr ? nullptr : window->owner;
}

extern "C" int WINAPI GetDlgCtrlID(HWND hWnd)
{
    const Window *window = State().windows.Find(hWnd);
    return window == nullptr || window->kind != WindowKind::Control ? 0 : window->id;
}
