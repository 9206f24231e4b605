// Constants and ids shared by the setup program's modules.
#pragma once

#include "../../res/resource.h"

#define SETUP_TITLE "ZOR Setup"
#define SETUP_CLASS_NAME "ZOR Setup"
#define SETUP_ERROR_TITLE "ZOR Setup Error"
#define DEFAULT_INSTALL_DIR "C:\\Program Files\\ZOR\\"
#define PROGRAM_FILE "ZOR.exe"
#define BANNER_TEXT "ZOR by The ZOR Team <team@zor.example>"

#define PAYLOAD_FILE_COUNT 3
extern const char *const PAYLOAD_FILES[PAYLOAD_FILE_COUNT];
