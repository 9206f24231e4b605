// ole32: the task-memory allocator.

#include "item_list.h"

#include "src/platform/api/ole32.h"

// Only item lists come from this host's task allocator; anything else (null
// included) is left alone.
extern "C" void WINAPI CoTaskMemFree(LPVOID pv)
{
    zor::host::FreeItemList(pv);
}
