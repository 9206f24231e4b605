#include "gdi_objects.h"

namespace zor::host {
namespace {

constexpr std::uintptr_t kStockBase = 0x00900000;
constexpr std::uintptr_t kStockStep = 4;
constexpr int kStockCount = 20;
constexpr std::uintptr_t kFirstCreated = 0x00A00010;

std::uintptr_t Key(HGDIOBJ handle)
{
    return reinterpret_cast<std::uintptr_t>(handle);
}
HGDIOBJ Handle(std::uintptr_t key)
{
    return reinterpret_cast<HGDIOBJ>(key);
}

} // namespace

GdiKind KindOf(const GdiObject &object)
{
    switch (object.index()) {
    case 0:
        return GdiKind::Pen;
    case 1:
        return GdiKind::Brush;
    default:
        return GdiKind::Font;
    }
}

GdiTable::GdiTable() : next_(kFirstCreated)
{
    auto stock = [this](int index, GdiObject object) { objects_[kStockBase + kStockStep * index] = std::move(object); };
    stock(WHITE_BRUSH, BrushObject{RGB(255, 255, 255), false});
    stock(LTGRAY_BRUSH, BrushObject{RGB(192, 192, 192), false});
    stock(GRAY_BRUSH, BrushObject{RGB(128, 128, 128), false});
    stock(DKGRAY_BRUSH, BrushObject{RGB(64, 64, 64), false});
    stock(BLACK_BRUSH, BrushObject{RGB(0, 0, 0), false});
    stock(NULL_BRUSH, BrushObject{0, true});
    stock(WHITE_PEN, PenObject{PS_SOLID, 0, RGB(255, 255, 255)});
    stock(BLACK_PEN, PenObject{PS_SOLID, 0, RGB(0, 0, 0)});
    stock(NULL_PEN, PenObject{PS_NULL, 0, 0});
    // The system font is a bold sans-serif of 16 pixels; the GUI font the
    // 8-point face of dialogs.
    FontObject system;
    system.height = 16;
    system.weight = FW_BOLD;
    system.pitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    stock(SYSTEM_FONT, system);
    FontObject gui;
    gui.height = -11;
    gui.weight = FW_NORMAL;
    gui.pitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    gui.face = "MS Shell Dlg";
    stock(DEFAULT_GUI_FONT, gui);
}

HGDIOBJ GdiTable::Add(GdiObject object)
{
    std::uintptr_t key = next_;
    next_ += 4;
    objects_[key] = std::move(object);
    return Handle(key);
}

const GdiObject *GdiTable::Find(HGDIOBJ handle) const
{
    auto found = objects_.find(Key(handle));
    return found == objects_.end() ? nullptr : &found->second;
}

bool GdiTable::IsStock(HGDIOBJ handle) const
{
    std::uintptr_t key = Key(handle);
    return key >= kStockBase && key < kStockBase + kStockStep * kStockCount && objects_.count(key) != 0;
}

bool GdiTable::Delete(HGDIOBJ handle)
{
    if (IsStock(handle))
        return true;
    return objects_.erase(Key(handle)) != 0;
}

HGDIOBJ GdiTable::Stock(int index) const
{
    if (index < 0 || index >= kStockCount)
        return nullptr;
    std::uintptr_t key = kStockBase + kStockStep * static_cast<std::uintptr_t>(index);
    return objects_.count(key) != 0 ? Handle(key) : nullptr;
}

void GdiTable::Clear()
{
    std::erase_if(objects_, [](const auto &entry) { return entry.first >= kFirstCreated; });
    next_ = kFirstCreated;
}

HDC DeviceContextTable::Open(HWND window, const GdiTable &objects)
{
    DeviceContextState state;
    state.window = window;
    state.pen = objects.Stock(BLACK_PEN);
    state.brush = objects.Stock(WHITE_BRUSH);
    state.font = objects.Stock(SYSTEM_FONT);
    std::uintptr_t key = next_;
    next_ += 4;
    contexts_[key] = state;
    return reinterpret_cast<HDC>(key);
}

DeviceContextState *DeviceContextTable::Find(HDC dc)
{
    auto found = contexts_.find(reinterpret_cast<std::uintptr_t>(dc));
    return found == contexts_.end() ? nullptr : &found->second;
}

bool DeviceContextTable::Close(HDC dc)
{
    return contexts_.erase(reinterpret_cast<std::uintptr_t>(dc)) != 0;
}

void DeviceContextTable::CloseAllFor(HWND window)
{
    std::erase_if(contexts_, [window](const auto &entry) { return entry.second.window == window; });
}

HGDIOBJ SelectInto(DeviceContextState &dc, const GdiTable &objects, HGDIOBJ object)
{
    const GdiObject *found = objects.Find(object);
    if (found == nullptr)
        return nullptr;
    HGDIOBJ *slot = nullptr;
    switch (KindOf(*found)) {
    case GdiKind::Pen:
        slot = &dc.pen;
        break;
    case GdiKind::Brush:
        slot = &dc.brush;
        break;
    case GdiKind::Font:
        slot = &dc.font;
        break;
    }
    HGDIOBJ previous = *slot;
    *slot = object;
    return previous;
}

} // namespace zor::host
