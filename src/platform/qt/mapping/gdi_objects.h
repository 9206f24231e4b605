// GDI objects (pens, brushes, fonts) and device-context state, as plain
// records behind handles.
#pragma once

#include "src/platform/api/gdi32.h"
#include "src/platform/api/user32.h"

#include <cstdint>
#include <map>
#include <string>
#include <variant>

namespace zor::host {

struct PenObject {
    int style = PS_SOLID;
    int width = 0;
    COLORREF color = 0;
};

struct BrushObject {
    COLORREF color = 0;
    bool hollow = false;
};

struct FontObject {
    int height = 0;
    int width = 0;
    int escapement = 0;
    int orientation = 0;
    int weight = 0;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    DWORD charSet = 0;
    DWORD outPrecision = 0;
    DWORD clipPrecision = 0;
    DWORD quality = 0;
    DWORD pitchAndFamily = 0;
    std::string face;

    bool operator==(const FontObject &) const = default;
};

using GdiObject = std::variant<PenObject, BrushObject, FontObject>;

enum class GdiKind { Pen, Brush, Font };
GdiKind KindOf(const GdiObject &object);

// The stock objects and the objects the program creates. Stock objects have
// handles of their own that never go away; deleting one does nothing.
class GdiTable {
  public:
    GdiTable();

    HGDIOBJ Add(GdiObject object);
    const GdiObject *Find(HGDIOBJ handle) const;
    // False for null and unknown handles; true (and nothing happens) for stock ones.
    bool Delete(HGDIOBJ handle);
    bool IsStock(HGDIOBJ handle) const;

    // The stock object of that index (WHITE_BRUSH, BLACK_PEN, ...) or nullptr.
    HGDIOBJ Stock(int index) const;

    // Drops every object the program created.
    void Clear();

  private:
    std::map<std::uintptr_t, GdiObject> objects_;
    std::uintptr_t next_;
};

// What a device context carries between calls.
struct DeviceContextState {
    HWND window = nullptr;
    HGDIOBJ pen = nullptr;
    HGDIOBJ brush = nullptr;
    HGDIOBJ font = nullptr;
    COLORREF textColor = 0x000000;
    COLORREF backgroundColor = 0xFFFFFF;
    int backgroundMode = OPAQUE;
    POINT position{0, 0};
};

class DeviceContextTable {
  public:
    HDC Open(HWND window, const GdiTable &objects);
    DeviceContextState *Find(HDC dc);
    bool Close(HDC dc);
    void CloseAllFor(HWND window);
    void Clear() { contexts_.clear(); }
    std::size_t Count() const { return contexts_.size(); }

  private:
    std::map<std::uintptr_t, DeviceContextState> contexts_;
    std::uintptr_t next_ = 0x00D00010;
};

// Puts `object` into its slot of the device context. Returns the object it
// replaced, or nullptr when `object` is not a pen, brush or font.
HGDIOBJ SelectInto(DeviceContextState &dc, const GdiTable &objects, HGDIOBJ object);

} // namespace zor::host
