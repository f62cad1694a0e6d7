#include "controls/win/SysColors.h"

#include "framework/Section.h"

namespace {

// The lock is made on first use, so that Update works whatever the order in
// which the library's static objects are built.
CSection& SysColorsLock()
{
    static CSection section(4000);
    return section;
}

// The second of the tick count at the last refresh; none yet at first.
bool g_refreshed = false;
DWORD g_lastSecond = 0;

} // namespace

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

CSysColors::_init::_init()
{
    CSysColors::Update();
}

void CSysColors::Update()
{
    struct Row {
        int index;
        COLORREF* color;
        CPen* pen;
    };
    static const Row rows[] = {
        {COLOR_WINDOWTEXT, &sm_crText, &sm_penText},
        {COLOR_BTNFACE, &sm_crBtnFace, &sm_penBtnFace},
        {COLOR_BTNHIGHLIGHT, &sm_cr3DHilite, &sm_pen3DHilite},
        {COLOR_BTNSHADOW, &sm_cr3DShadow, &sm_pen3DShadow},
        {COLOR_3DDKSHADOW, &sm_cr3DDkShadow, &sm_pen3DDkShadow},
        {COLOR_WINDOW, &sm_crWindow, &sm_penWindow},
        {COLOR_GRAYTEXT, &sm_crGrayText, &sm_penGrayText},
        {COLOR_BTNTEXT, &sm_crBtnText, &sm_penBtnText},
        {COLOR_APPWORKSPACE, &sm_crAppWorkspace, &sm_penAppWorkspace},
    };

    CSectionLock lock(SysColorsLock());
    const DWORD second = ::GetTickCount() / 1000;
    if (g_refreshed && second == g_lastSecond)
        return;
    for (const Row& row : rows) {
        *row.color = ::GetSysColor(row.index);
        row.pen->CreatePen(PS_SOLID, 1, *row.color);
    }
    g_lastSecond = second;
    g_refreshed = true;
}
