// The thread's last-error code and its translation from errno.
#pragma once

#include "../win32.h"

namespace zor::posix {

// The ERROR_* code for an errno value.
DWORD Win32ErrorFromErrno(int error);

// Sets the last error from errno as it is now.
void SetLastErrorFromErrno();

} // namespace zor::posix
