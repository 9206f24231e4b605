// Behind the Browse... button: the shell's folder picker.

#include "../common/path_text.h"
#include "dialog.h"

static const char BROWSE_TITLE[] = "Select the folder in which to install ZOR.";

void BrowseForInstallFolder(HWND owner, char *path)
{
    char title[MAX_PATH];
    BROWSEINFOA request;
    LPITEMIDLIST items;

    path[0] = '\0';
    CopyPathText(title, MAX_PATH, BROWSE_TITLE);

    request.hwndOwner = owner;
    request.pidlRoot = NULL;
    request.pszDisplayName = path;
    request.lpszTitle = title;
    request.ulFlags = BIF_RETURNONLYFSDIRS;
    request.lpfn = NULL;
    request.lParam = 0;
    request.iImage = 0;

    items = SHBrowseForFolderA(&request);

    // Whatever the picker left in the buffer as a display name is never
    // taken for a path.
    if (items == NULL || !SHGetPathFromIDListA(items, path))
        path[0] = '\0';
    CoTaskMemFree(items);
}
