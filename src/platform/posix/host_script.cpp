// The scripted stand-in for the user: one script at a time, installed by tests.
#include "src/platform/host_script.h"

namespace zor::host {
namespace {

Script *g_script = nullptr;

}  // namespace

void SetScript(Script *script) { g_script = script; }

Script *CurrentScript() { return g_script; }

}  // namespace zor::host
