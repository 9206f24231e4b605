// Resource ids of the setup dialog and its controls.
#pragma once

#define IDD_SETUP 101

#define IDC_INSTALL_PATH 1001
#define IDC_BROWSE 1002
#define IDC_PROMPT_TEXT 1003
#define IDC_CONTINUE 1004
#define IDC_WELCOME_TEXT 1005
#define IDC_CANCEL_SETUP 1006
