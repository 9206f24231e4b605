#include "cursors.h"

#include <cstdint>

namespace zor::host {
namespace {

constexpr std::uintptr_t kCursorBase = 0x00E00000;

struct StandardCursorEntry {
    WORD id;
    Qt::CursorShape shape;
};

constexpr StandardCursorEntry kCursors[] = {
    {32512, Qt::ArrowCursor},        // IDC_ARROW
    {32513, Qt::IBeamCursor},        // IDC_IBEAM
    {32514, Qt::WaitCursor},         // IDC_WAIT
    {32515, Qt::CrossCursor},        // IDC_CROSS
    {32649, Qt::PointingHandCursor}, // IDC_HAND
};

} // namespace

HCURSOR StandardCursor(LPCSTR name)
{
    if (name == nullptr || !IS_INTRESOURCE(name))
        return nullptr;
    for (const StandardCursorEntry &entry : kCursors) {
        if (entry.id == LOWORD(name))
            return reinterpret_cast<HCURSOR>(kCursorBase + entry.id);
    }
    return nullptr;
}

std::optional<Qt::CursorShape> CursorShapeOf(HCURSOR cursor)
{
    std::uintptr_t value = reinterpret_cast<std::uintptr_t>(cursor);
    for (const StandardCursorEntry &entry : kCursors) {
        if (value == kCursorBase + entry.id)
            return entry.shape;
    }
    return std::nullopt;
}

} // namespace zor::host

extern "C" HCURSOR WINAPI LoadCursorA(HINSTANCE hInstance, LPCSTR lpCursorName)
{
    // Only the system's standard cursors exist; the program has no cursor
    // resources of its own.
    if (hInstance != nullptr)
        return nullptr;
    return zor::host::StandardCursor(lpCursorName);
}
