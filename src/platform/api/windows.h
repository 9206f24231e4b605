// Everything that the program uses of the Win32 API, for hosts without the
// Windows headers.
#pragma once

#include "types.h"
#include "kernel32.h"
#include "lz32.h"
#include "user32.h"
#include "gdi32.h"
#include "shell32.h"
#include "ole32.h"
