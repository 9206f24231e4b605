// Registered window classes.
#pragma once

#include "src/platform/api/user32.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zor::host {

struct WindowClass {
    std::string name;
    ATOM atom = 0;
    UINT style = 0;
    WNDPROC procedure = nullptr;
    HINSTANCE instance = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
};

class ClassRegistry {
  public:
    // The new class's atom, or 0 when the record is incomplete (wrong size, no
    // procedure, no name) or a class of that name exists.
    ATOM Register(const WNDCLASSEXA &record);

    // Fails when there is no such class or a window of it still exists.
    bool Unregister(LPCSTR nameOrAtom, const std::function<bool(const WindowClass &)> &hasWindows);

    // By name (letter case does not matter) or by atom (MAKEINTATOM).
    const WindowClass *Find(LPCSTR nameOrAtom) const;

    void Clear() { classes_.clear(); }

  private:
    std::vector<std::unique_ptr<WindowClass>> classes_;
    ATOM nextAtom_ = 0xC000;
};

// Letter case is ignored in ASCII, as class names and titles compare.
bool SameClassName(const std::string &a, const char *b);

} // namespace zor::host
