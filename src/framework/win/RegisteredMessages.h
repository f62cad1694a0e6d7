// The registered window messages and the clipboard format that the
// library's windows share. They are registered once, when the library loads;
// before that they read 0.
#pragma once

#include "OrvApi.h"
#include "platform/Types.h"

#include <wtypes.h>

extern ORV_API UINT RWM_ORV_QUERYDESIGNMODE;
extern ORV_API UINT RWM_ORV_AUTOUPDATE_NOTIFY;
extern ORV_API UINT RWM_ORV_CHECKMOUSE;
extern ORV_API UINT RWM_ORV_FORWARDIDLE;
extern ORV_API UINT WM_DATETIME_EDIT;
extern ORV_API UINT RWM_ORV_AREYOUTRACKING;
extern ORV_API UINT RWM_ORV_GETBUDDY;
extern ORV_API UINT RWM_ORV_SPLITTER_RESIZED;
extern ORV_API CLIPFORMAT g_cfOrvClipFormat;
