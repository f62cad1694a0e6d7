// Identifiers of the demo's resources and commands.
#pragma once

#define IDD_ABOUT_LINK 100
#define IDD_SETTINGS 101
#define IDC_ABOUT_LINK 1001
#define IDC_SEND_HOTKEY 1002
#define ID_SEND_DAY 2001
#define ID_SEND_GTC 2002
#define ID_SEND_IOC 2003
