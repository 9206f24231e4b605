// Expands the compressed payload files from the current directory into the
// install folder.

#include "../common/path_text.h"
#include "../common/setup_constants.h"
#include "install.h"

const char *const PAYLOAD_FILES[PAYLOAD_FILE_COUNT] = {"ZOR.ex_", "ZOR.hl_", "ZOR.cn_"};

int InstallPayload(const char *installDir)
{
    for (int i = 0; i < PAYLOAD_FILE_COUNT; i++) {
        if (!ExpandPayloadFile(installDir, PAYLOAD_FILES[i]))
            return 0;
    }
    return 1;
}

// The file is expanded into a temporary file in the install folder and moved
// over the destination only once the expansion has succeeded, so that a failed
// run never damages a file that was installed before.
int ExpandPayloadFile(const char *installDir, const char *compressedName)
{
    char currentDir[MAX_PATH];
    char sourcePath[MAX_PATH];
    char expandedName[MAX_PATH];
    char destinationPath[MAX_PATH];
    char temporaryPath[MAX_PATH];
    OFSTRUCT openInfo;
    DWORD length;
    const char *recordedName;
    INT source;
    INT destination;
    LONG copied;

    length = GetCurrentDirectoryA(MAX_PATH, currentDir);
    if (length == 0 || length >= MAX_PATH)
        return 0;
    if (!CopyPathText(sourcePath, MAX_PATH, currentDir) || !AppendPathText(sourcePath, MAX_PATH, "\\") ||
        !AppendPathText(sourcePath, MAX_PATH, compressedName))
        return 0;

    if (GetExpandedNameA(sourcePath, expandedName) < 0)
        return 0;
    recordedName = expandedName;
    for (const char *p = expandedName; *p != '\0'; p++) {
        if (*p == '\\')
            recordedName = p + 1;
    }
    if (!CopyPathText(destinationPath, MAX_PATH, installDir) ||
        !AppendPathText(destinationPath, MAX_PATH, recordedName))
        return 0;

    source = LZOpenFileA(sourcePath, &openInfo, OF_READ | OF_SHARE_DENY_WRITE);
    if (source < 0)
        return 0;
    if (GetTempFileNameA(installDir, "zor", 0, temporaryPath) == 0) {
        LZClose(source);
        return 0;
    }
    destination = LZOpenFileA(temporaryPath, &openInfo, OF_CREATE | OF_WRITE | OF_SHARE_DENY_WRITE);
    if (destination < 0) {
        LZClose(source);
        DeleteFileA(temporaryPath);
        return 0;
    }

    copied = LZCopy(source, destination);
    LZClose(source);
    LZClose(destination);

    if (copied < 0 || !MoveFileExA(temporaryPath, destinationPath, MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileA(temporaryPath);
        return 0;
    }
    return 1;
}
