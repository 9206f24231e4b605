// Makes sure that the install folder exists, creating it when the user agrees.

#include "../common/setup_constants.h"
#include "install.h"

static const char FOLDER_QUESTION[] = "Specified directory does not exist! Would you like to create it?";
static const char FOLDER_ERROR[] = "Setup was unable to create the specified directory! Please make sure it is a "
                                   "valid path and that you have the appropriate permissions.";

int EnsureInstallFolder(HWND owner, const char *path)
{
    DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return 1;

    if (MessageBoxA(owner, FOLDER_QUESTION, SETUP_TITLE, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return 0;
    if (CreateDirectoryA(path, NULL))
        return 1;

    MessageBoxA(owner, FOLDER_ERROR, SETUP_TITLE, MB_OK | MB_ICONERROR);
    return 0;
}
