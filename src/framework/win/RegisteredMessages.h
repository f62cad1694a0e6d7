// The registered window messages and the clipboard format that the
// library's windows share. They are registered once, when the library loads
// (see LibraryStartup.cpp for where each comes in the load order); before
// that they read 0.
#pragma once

#include "OrvApi.h"
#include "base/Types.h"

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

// The registrations, one per step of the library's load, each in the order
// of its names. They set the ids above; the library calls them once.
namespace registered_messages {
// "RWM_ORV_QUERYDESIGNMODE", "RWM_ORV_AUTOUPDATE_NOTIFY".
void RegisterDesignModeAndUpdateNotify();
// "RWM_ORV_CHECKMOUSE".
void RegisterCheckMouse();
// "RWM_ORV_FORWARDIDLE".
void RegisterForwardIdle();
// "WM_DATETIME_EDIT", "RWM_ORV_AREYOUTRACKING", "RWM_ORV_GETBUDDY",
// "RWM_ORV_SPLITTER_RESIZED".
void RegisterEditTrackingAndSplitter();
// The clipboard format "OrvClipFormat".
void RegisterClipFormat();
} // namespace registered_messages
