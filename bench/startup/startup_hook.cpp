// Benchmark-only build of the setup program: the first GetMessageA that finds
// the setup dialog on screen lets Qt finish the pending paints, writes the
// moment the dialog was shown to standard output, and ends the message loop as
// WM_QUIT would. The shipped program has no such hook; this one is put in
// front of the real GetMessageA by the linker (--wrap=GetMessageA).

#include "src/shell/shell.h"
#include "startup_clock.h"

#include <QCoreApplication>

extern "C" BOOL __real_GetMessageA(LPMSG message, HWND window, UINT first, UINT last);

extern "C" BOOL __wrap_GetMessageA(LPMSG message, HWND window, UINT first, UINT last)
{
    if (g_hSetupDlg == nullptr || !IsWindowVisible(g_hSetupDlg))
        return __real_GetMessageA(message, window, first, last);

    QCoreApplication::processEvents();
    zor::bench::ReportShown();

    *message = MSG{};
    message->message = WM_QUIT;
    return FALSE;
}
