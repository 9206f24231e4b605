// The host's start-up code: calls WinMain and returns its result as the exit
// code.
#include "src/platform/win32.h"

int main()
{
    return WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<char *>(""), SW_SHOWDEFAULT);
}
