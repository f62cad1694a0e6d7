// Identifiers of the demo's resources and commands.
#pragma once

#define IDD_ABOUT 100
#define IDC_ABOUT_TEXT 1001
#define ID_SEND_DAY 2001
#define ID_SEND_GTC 2002
#define ID_SEND_IOC 2003
