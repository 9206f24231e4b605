#include "window_classes.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace zor::host {

bool SameClassName(const std::string &a, const char *b)
{
    std::size_t length = std::strlen(b);
    if (a.size() != length)
        return false;
    for (std::size_t i = 0; i < length; ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

ATOM ClassRegistry::Register(const WNDCLASSEXA &record)
{
    if (record.cbSize != sizeof(WNDCLASSEXA) || record.lpfnWndProc == nullptr || record.lpszClassName == nullptr ||
        IS_INTRESOURCE(record.lpszClassName) || record.lpszClassName[0] == '\0')
        return 0;
    if (Find(record.lpszClassName) != nullptr)
        return 0;

    auto windowClass = std::make_unique<WindowClass>();
    windowClass->name = record.lpszClassName;
    windowClass->atom = nextAtom_++;
    windowClass->style = record.style;
    windowClass->procedure = record.lpfnWndProc;
    windowClass->instance = record.hInstance;
    windowClass->cursor = record.hCursor;
    windowClass->background = record.hbrBackground;
    ATOM atom = windowClass->atom;
    classes_.push_back(std::move(windowClass));
    return atom;
}

bool ClassRegistry::Unregister(LPCSTR nameOrAtom, const std::function<bool(const WindowClass &)> &hasWindows)
{
    const WindowClass *found = Find(nameOrAtom);
    if (found == nullptr || (hasWindows && hasWindows(*found)))
        return false;
    std::erase_if(classes_, [found](const std::unique_ptr<WindowClass> &c) { return c.get() == found; });
    return true;
}

const WindowClass *ClassRegistry::Find(LPCSTR nameOrAtom) const
{
    if (nameOrAtom == nullptr)
        return nullptr;
    for (const auto &windowClass : classes_) {
        if (IS_INTRESOURCE(nameOrAtom) ? windowClass->atom == LOWORD(nameOrAtom)
                                       : SameClassName(windowClass->name, nameOrAtom))
            return windowClass.get();
    }
    return nullptr;
}

} // namespace zor::host
