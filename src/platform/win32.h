// The one header through which the program reaches the Win32 API: the real
// system headers on Windows, our own declarations elsewhere.
#pragma once

#if defined(_WIN32)
#include <windows.h>
#include <lzexpand.h>
#include <shellapi.h>
#include <shlobj.h>
#else
#include "api/windows.h"
#endif
