#include "window_registry.h"

namespace zor::host {
namespace {

std::uintptr_t Key(HWND handle)
{
    return reinterpret_cast<std::uintptr_t>(handle);
}

} // namespace

HWND WindowRegistry::Add(std::unique_ptr<Window> window)
{
    HWND handle = reinterpret_cast<HWND>(next_);
    next_ += 4;
    window->handle = handle;
    if (window->widget)
        byWidget_[window->widget.data()] = handle;
    windows_[Key(handle)] = std::move(window);
    return handle;
}

Window *WindowRegistry::Find(HWND handle) const
{
    auto found = windows_.find(Key(handle));
    return found == windows_.end() ? nullptr : found->second.get();
}

HWND WindowRegistry::HandleOf(const QWidget *widget) const
{
    auto found = byWidget_.find(widget);
    return found == byWidget_.end() ? nullptr : found->second;
}

void WindowRegistry::Attach(HWND handle, QWidget *widget)
{
    if (Window *window = Find(handle)) {
        window->widget = widget;
        byWidget_[widget] = handle;
    }
}

std::unique_ptr<Window> WindowRegistry::Remove(HWND handle)
{
    auto found = windows_.find(Key(handle));
    if (found == windows_.end())
        return nullptr;
    std::unique_ptr<Window> window = std::move(found->second);
    windows_.erase(found);
    std::erase_if(byWidget_, [handle](const auto &entry) { return entry.second == handle; });
    return window;
}

std::vector<HWND> WindowRegistry::Handles() const
{
    std::vector<HWND> handles;
    handles.reserve(windows_.size());
    for (const auto &entry : windows_)
        handles.push_back(entry.second->handle);
    return handles;
}

std::vector<HWND> WindowRegistry::Dependants(HWND handle) const
{
    std::vector<HWND> dependants;
    for (const auto &entry : windows_) {
        if (entry.second->owner == handle)
            dependants.push_back(entry.second->handle);
    }
    return dependants;
}

bool WindowRegistry::IsWithin(HWND handle, HWND ancestor) const
{
    for (int depth = 0; handle != nullptr && depth < 64; ++depth) {
        if (handle == ancestor)
            return true;
        const Window *window = Find(handle);
        handle = window == nullptr ? nullptr : window->owner;
    }
    return false;
}

} // namespace zor::host
