// The library's static objects with a dynamic start, all defined here, in
// the order they are built when the library loads. C++ builds the objects of
// one source file in the order of their definitions and destroys them in
// reverse; across files the order would be whatever the linker gives.
//
// The load order, with the place of each object that has a dynamic start,
// so that a class that brings one defines it here at its step:
//  1. The lock of the document template being opened.
//  2. The registered messages "RWM_ORV_QUERYDESIGNMODE" and
//     "RWM_ORV_AUTOUPDATE_NOTIFY".
//  3. The colour picker's lock and "RWM_ORV_CHECKMOUSE".
//  4. The caption-frame button map and its lock.
//  5. The message box's lock and remembered answers, and
//     "RWM_ORV_FORWARDIDLE".
//  6. The field-caption table, CMapFidToCaption::sm_staticMap.
//  7. The cached system colours (CSysColors, Windows only), the branding
//     lock and the decimal and thousands separators (CLocale).
//  8. The market clock's lock, zone strings and spans, then COrvDateTime's
//     sm_init, which initialises the clock at once.
//  9. "WM_DATETIME_EDIT", "RWM_ORV_AREYOUTRACKING", "RWM_ORV_GETBUDDY" and
//     "RWM_ORV_SPLITTER_RESIZED".
// 10. The clipboard format "OrvClipFormat".
// 11. The symbol reference data, CSymbolData::sm_staticInstance.
// When the library unloads they are destroyed in reverse. Natively there are
// no window messages, clipboard formats or system colours; the other steps
// keep their order.
//
// After the objects of each step a CStartupStep records it in the start-up
// log, and removes it again as the objects are about to be destroyed; the
// start-up order test (tests/framework/LibraryStartupTest.cpp) checks the
// steps recorded.
//
// What a step uses from elsewhere is ready before it: the message ids, the
// separators and the log itself are constant-initialised, and the branding
// state and the system colours' lock are function-local statics, built by
// their step on first use (and so destroyed in their step's place).

#include "LibraryStartup.h"

#include "framework/Section.h"
#include "framework/String.h"
#include "market/MapFidToCaption.h"
#include "market/OrvDateTime.h"
#include "market/SymbolData.h"
#include "services/Branding.h"
#include "text/Locale.h"

#if defined(_WIN32)
#  include "controls/win/HookedMsgBox.h"
#  include "controls/win/SysColors.h"
#  include "framework/win/RegisteredMessages.h"
#endif

namespace {

constinit CStartupLog g_startupLog;

} // namespace

const CStartupLog& GetLibraryStartupLog()
{
    return g_startupLog;
}

namespace {

// ------------------------------------------------------------ 2 to 5

#if defined(_WIN32)
CStartupStep g_designModeAndUpdateNotify(g_startupLog, "RWM_ORV_QUERYDESIGNMODE RWM_ORV_AUTOUPDATE_NOTIFY",
                                         registered_messages::RegisterDesignModeAndUpdateNotify);
CStartupStep g_checkMouse(g_startupLog, "RWM_ORV_CHECKMOUSE", registered_messages::RegisterCheckMouse);
} // namespace

CSection CHookedMsgBox::sm_sect(4000);
CDoNotAgainMap CHookedMsgBox::sm_mapDoNotAgain;
CHookedMsgBox::_init CHookedMsgBox::sm_init;

namespace {
CStartupStep g_msgBoxAnswers(g_startupLog, "CHookedMsgBox");
CStartupStep g_forwardIdle(g_startupLog, "RWM_ORV_FORWARDIDLE", registered_messages::RegisterForwardIdle);
#endif

} // namespace

// ------------------------------------------------------------ 6

CMapFidToCaption CMapFidToCaption::sm_staticMap;

namespace {
CStartupStep g_fieldCaptions(g_startupLog, "CMapFidToCaption");
} // namespace

// ------------------------------------------------------------ 7

#if defined(_WIN32)
COLORREF CSysColors::sm_crText = 0;
COLORREF CSysColors::sm_crBtnFace = 0;
COLORREF CSysColors::sm_cr3DHilite = 0;
COLORREF CSysColors::sm_cr3DShadow = 0;
COLORREF CSysColors::sm_cr3DDkShadow = 0;
COLORREF CSysColors::sm_crWindow = 0;
COLORREF CSysColors::sm_crGrayText = 0;
COLORREF CSysColors::sm_crBtnText = 0;
COLORREF CSysColors::sm_crAppWorkspace = 0;

CPen CSysColors::sm_penText;
CPen CSysColors::sm_penBtnFace;
CPen CSysColors::sm_pen3DHilite;
CPen CSysColors::sm_pen3DShadow;
CPen CSysColors::sm_pen3DDkShadow;
CPen CSysColors::sm_penWindow;
CPen CSysColors::sm_penGrayText;
CPen CSysColors::sm_penBtnText;
CPen CSysColors::sm_penAppWorkspace;

CSysColors::_init CSysColors::sm_init;

namespace {
CStartupStep g_sysColors(g_startupLog, "CSysColors");
} // namespace
#endif

namespace {
CStartupStep g_brandingLock(g_startupLog, "branding lock", branding::BuildLock);
CStartupStep g_separators(g_startupLog, "separators", CLocale::LoadSeparators);
} // namespace

// ------------------------------------------------------------ 8

CSection COrvDateTime::sm_sect;
CString COrvDateTime::sm_sLocalZone;
CString COrvDateTime::sm_sETZone;
CString COrvDateTime::sm_sDisplayZone;
CString COrvDateTime::sm_sFmtTimeWithZone;
CString COrvDateTime::sm_sFmtTimeWithZoneNoSec;
int COrvDateTime::sm_bLocalFormat = 0;
COleDateTimeSpan COrvDateTime::sm_spanLocal;
COleDateTimeSpan COrvDateTime::sm_spanET;
COleDateTimeSpan COrvDateTime::sm_span;
COleDateTimeSpan COrvDateTime::sm_spanDelta;
COrvDateTime COrvDateTime::sm_timeMktOpen;
COrvDateTime COrvDateTime::sm_timeMktClose;
COrvDateTime::_init COrvDateTime::sm_init;

namespace {
CStartupStep g_marketClock(g_startupLog, "COrvDateTime");
} // namespace

// ------------------------------------------------------------ 9 and 10

#if defined(_WIN32)
namespace {
CStartupStep g_editTrackingAndSplitter(g_startupLog,
                                       "WM_DATETIME_EDIT RWM_ORV_AREYOUTRACKING RWM_ORV_GETBUDDY RWM_ORV_SPLITTER_RESIZED",
                                       registered_messages::RegisterEditTrackingAndSplitter);
CStartupStep g_clipFormat(g_startupLog, "OrvClipFormat", registered_messages::RegisterClipFormat);
} // namespace
#endif

// ------------------------------------------------------------ 11

CSymbolData CSymbolData::sm_staticInstance;

namespace {
CStartupStep g_symbolData(g_startupLog, "CSymbolData");
} // namespace
