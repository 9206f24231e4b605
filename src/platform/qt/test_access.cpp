#include "test_access.h"

#include "host_state.h"
#include "host_widgets.h"
#include "device_context.h"
#include "item_list.h"

namespace zor::host::test {

QWidget *WidgetOf(HWND window)
{
    return WidgetOfWindow(window);
}

HWND WindowOf(const QWidget *widget)
{
    return State().windows.HandleOf(widget);
}

QImage BackingImage(HWND window)
{
    QImage *image = BackingImageOf(window);
    return image == nullptr ? QImage() : image->copy();
}

bool RepaintNow(HWND window)
{
    auto *widget = dynamic_cast<TopLevelWidget *>(WidgetOfWindow(window));
    if (widget == nullptr || !widget->isVisible())
        return false;
    widget->Invalidate();
    widget->EraseIfNeeded();
    return true;
}

std::vector<HWND> AllWindows()
{
    return State().windows.Handles();
}

std::size_t PostedMessageCount()
{
    return State().queue.PostedCount();
}

void DestroyAllWindows()
{
    HostState &state = State();
    DeletePendingWidgets();
    std::vector<QPointer<QWidget>> widgets;
    for (HWND handle : state.windows.Handles()) {
        Window *window = state.windows.Find(handle);
        if (window->kind != WindowKind::Control)
            widgets.emplace_back(window->widget);
    }
    for (HWND handle : state.windows.Handles())
        state.windows.Remove(handle);
    // Owned windows are the toolkit children of their owners: newest first
    // deletes them before their owners.
    for (auto it = widgets.rbegin(); it != widgets.rend(); ++it)
        delete it->data();
    state.queue.Clear();
    state.deviceContexts.Clear();
    state.painting = nullptr;
}

void ResetHost()
{
    DestroyAllWindows();
    HostState &state = State();
    state.classes.Clear();
    state.gdi.Clear();
    ClearItemLists();
}

} // namespace zor::host::test
