// Every window this host made: top-level windows of registered classes,
// dialogs and their controls, behind window handles.
#pragma once

#include "src/platform/api/user32.h"

#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace zor::host {

enum class WindowKind { TopLevel, Dialog, Control };
enum class ControlKind { None, Static, Edit, Button };

// The class name of dialogs, as the dialog manager calls it.
inline constexpr const char *kDialogClassName = "#32770";

struct Window {
    HWND handle = nullptr;
    WindowKind kind = WindowKind::TopLevel;
    ControlKind control = ControlKind::None;
    std::string className;
    WNDPROC procedure = nullptr;       // top-level windows
    DLGPROC dialogProcedure = nullptr; // dialogs
    HWND owner = nullptr;              // the owner of a window or dialog; the dialog of a control
    int id = 0;                        // controls
    DWORD style = 0;
    DWORD exStyle = 0;
    UINT classStyle = 0;
    HBRUSH background = nullptr;
    std::string text; // the window text, except for edit controls (the widget holds it)
    bool dialogEnded = false;
    INT_PTR dialogResult = 0;
    QPointer<QWidget> widget;
};

class WindowRegistry {
  public:
    // Takes the record, gives it a new handle (never one used before) and
    // returns that handle.
    HWND Add(std::unique_ptr<Window> window);
    Window *Find(HWND handle) const;
    HWND HandleOf(const QWidget *widget) const;
    void Attach(HWND handle, QWidget *widget);

    // Forgets the window; its widget is left alone.
    std::unique_ptr<Window> Remove(HWND handle);

    // Handles in creation order.
    std::vector<HWND> Handles() const;
    // The windows and controls that `handle` owns or contains.
    std::vector<HWND> Dependants(HWND handle) const;
    // True when `handle` is `ancestor` or owned by it, directly or not.
    bool IsWithin(HWND handle, HWND ancestor) const;

    std::size_t Count() const { return windows_.size(); }

  private:
    std::map<std::uintptr_t, std::unique_ptr<Window>> windows_;
    std::unordered_map<const QWidget *, HWND> byWidget_;
    std::uintptr_t next_ = 0x00010010;
};

} // namespace zor::host
