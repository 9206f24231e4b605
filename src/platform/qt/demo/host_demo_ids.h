// Resource ids of the host demo's dialog.
#pragma once

#define IDD_DEMO 100
#define IDC_DEMO_TEXT 110
#define IDC_DEMO_NAME 111
#define IDC_DEMO_HELLO 112
#define IDC_DEMO_PICK 113
#define IDC_DEMO_QUIT 114
