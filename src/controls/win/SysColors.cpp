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

// The colours, the pens and sm_init are defined with the library's other
// static objects, in LibraryStartup.cpp, so that they are built in the
// library's load order.

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
