#include "host_state.h"

#include "host_widgets.h"

namespace zor::host {

HostState &State()
{
    static HostState *state = new HostState;
    return *state;
}

QWidget *WidgetOfWindow(HWND window)
{
    Window *record = State().windows.Find(window);
    return record == nullptr ? nullptr : record->widget.data();
}

void PostNotification(HWND control, WORD code)
{
    Window *record = State().windows.Find(control);
    if (record == nullptr || record->owner == nullptr)
        return;
    PostMessageA(record->owner, WM_COMMAND, MAKEWPARAM(record->id, code), reinterpret_cast<LPARAM>(control));
}

void SendNotification(HWND control, WORD code)
{
    Window *record = State().windows.Find(control);
    if (record == nullptr || record->owner == nullptr)
        return;
    SendMessageA(record->owner, WM_COMMAND, MAKEWPARAM(record->id, code), reinterpret_cast<LPARAM>(control));
}

void DeleteWidgetSoon(QWidget *widget)
{
    if (widget == nullptr)
        return;
    auto *topLevel = dynamic_cast<TopLevelWidget *>(widget);
    if (topLevel != nullptr && topLevel->InOwnEvent()) {
        widget->hide();
        State().pendingDeletes.emplace_back(widget);
        return;
    }
    delete widget;
}

void DeletePendingWidgets()
{
    auto pending = std::move(State().pendingDeletes);
    State().pendingDeletes.clear();
    for (QPointer<QWidget> &widget : pending)
        delete widget.data();
}

} // namespace zor::host
