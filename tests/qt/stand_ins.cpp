// Temporary stand-ins for KERNEL32's module handle and the test seam's
// script slot, which come from the POSIX layer once it is merged. Only the
// test programs link this file.
#include "src/platform/host_script.h"

namespace {
zor::host::Script *g_script = nullptr;
}

extern "C" HMODULE WINAPI GetModuleHandleA(LPCSTR name)
{
    return name == nullptr ? reinterpret_cast<HMODULE>(0x400000) : nullptr;
}

namespace zor::host {
void SetScript(Script *script) { g_script = script; }
Script *CurrentScript() { return g_script; }
}  // namespace zor::host
