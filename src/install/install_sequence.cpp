// What Continue does: check the folder, expand the payload, start the program,
// end setup.

#include "../common/path_text.h"
#include "../common/setup_constants.h"
#include "install.h"

static const char COPY_FAILURE[] = "Setup was unable to copy the ZOR files. Please ensure that you have enough free "
                                   "disk space, and that you have the appropriate access privelages.";

void RunInstallSequence(HWND dlg)
{
    char installFolder[MAX_PATH];
    char programPath[MAX_PATH];
    int length;
    int installed;

    GetDlgItemTextA(dlg, IDC_INSTALL_PATH, installFolder, MAX_PATH);
    if (installFolder[0] == '\0') {
        MessageBeep(0xFFFFFFFF);
        return;
    }

    if (EnsureInstallFolder(dlg, installFolder)) {
        // A folder that cannot take the separator or the program name fails
        // like a payload that cannot be copied, before anything is written.
        length = PathTextLength(installFolder);
        installed = installFolder[length - 1] == '\\' || AppendPathText(installFolder, MAX_PATH, "\\");
        installed = installed && CopyPathText(programPath, MAX_PATH, installFolder) &&
                    AppendPathText(programPath, MAX_PATH, PROGRAM_FILE);
        installed = installed && InstallPayload(installFolder);
        if (installed)
            ShellExecuteA(NULL, "open", programPath, NULL, installFolder, SW_SHOW);
        else
            MessageBoxA(dlg, COPY_FAILURE, SETUP_ERROR_TITLE, MB_OK | MB_ICONERROR);
    }

    PostQuitMessage(0);
    EndDialog(dlg, 0);
}
