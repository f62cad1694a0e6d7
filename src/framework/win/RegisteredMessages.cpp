#include "framework/win/RegisteredMessages.h"

UINT RWM_ORV_QUERYDESIGNMODE = 0;
UINT RWM_ORV_AUTOUPDATE_NOTIFY = 0;
UINT RWM_ORV_CHECKMOUSE = 0;
UINT RWM_ORV_FORWARDIDLE = 0;
UINT WM_DATETIME_EDIT = 0;
UINT RWM_ORV_AREYOUTRACKING = 0;
UINT RWM_ORV_GETBUDDY = 0;
UINT RWM_ORV_SPLITTER_RESIZED = 0;
CLIPFORMAT g_cfOrvClipFormat = 0;

namespace registered_messages {

void RegisterDesignModeAndUpdateNotify()
{
    RWM_ORV_QUERYDESIGNMODE = ::RegisterWindowMessageA("RWM_ORV_QUERYDESIGNMODE");
    RWM_ORV_AUTOUPDATE_NOTIFY = ::RegisterWindowMessageA("RWM_ORV_AUTOUPDATE_NOTIFY");
}

void RegisterCheckMouse()
{
    RWM_ORV_CHECKMOUSE = ::RegisterWindowMessageA("RWM_ORV_CHECKMOUSE");
}

void RegisterForwardIdle()
{
    RWM_ORV_FORWARDIDLE = ::RegisterWindowMessageA("RWM_ORV_FORWARDIDLE");
}

void RegisterEditTrackingAndSplitter()
{
    WM_DATETIME_EDIT = ::RegisterWindowMessageA("WM_DATETIME_EDIT");
    RWM_ORV_AREYOUTRACKING = ::RegisterWindowMessageA("RWM_ORV_AREYOUTRACKING");
    RWM_ORV_GETBUDDY = ::RegisterWindowMessageA("RWM_ORV_GETBUDDY");
    RWM_ORV_SPLITTER_RESIZED = ::RegisterWindowMessageA("RWM_ORV_SPLITTER_RESIZED");
}

void RegisterClipFormat()
{
    g_cfOrvClipFormat = static_cast<CLIPFORMAT>(::RegisterClipboardFormatA("OrvClipFormat"));
}

} // namespace registered_messages
