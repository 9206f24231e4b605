// ole32: the task-memory allocator.
#pragma once

#include "types.h"

extern "C" {
void WINAPI CoTaskMemFree(LPVOID pv);
}
