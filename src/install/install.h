// The installation: the install sequence, the folder check and the payload.
#pragma once

#include "../platform/win32.h"

void RunInstallSequence(HWND dlg);
int EnsureInstallFolder(HWND owner, const char *path);
int InstallPayload(const char *installDir);
int ExpandPayloadFile(const char *installDir, const char *compressedName);
