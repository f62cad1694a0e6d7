#include "controls/win/HoverLook.h"

#include "controls/win/SysColors.h"
#include "framework/win/DC.h"

#include <commctrl.h>

BOOL RequestMouseLeave(HWND wnd)
{
    TRACKMOUSEEVENT track {};
    track.cbSize = sizeof track;
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = wnd;
    return ::_TrackMouseEvent(&track);
}

RECT ClientRectInWindow(HWND wnd)
{
    RECT client {};
    ::GetClientRect(wnd, &client);
    RECT window {};
    ::GetWindowRect(wnd, &window);
    POINT origin {0, 0};
    ::ClientToScreen(wnd, &origin);
    ::OffsetRect(&client, origin.x - window.left, origin.y - window.top);
    return client;
}

void DrawHoverEditBorder(HWND wnd, BOOL hot)
{
    CWindowDC dc(wnd);
    if (dc.GetSafeHdc() == nullptr)
        return;
    CRect rect(ClientRectInWindow(wnd));
    if (hot) {
        rect.InflateRect(1, 1);
        dc.Draw3dRect(rect, CSysColors::sm_cr3DDkShadow, CSysColors::sm_crBtnFace);
        return;
    }
    rect.InflateRect(2, 2);
    dc.Draw3dRect(rect, CSysColors::sm_cr3DShadow, CSysColors::sm_cr3DHilite);
    rect.DeflateRect(1, 1);
    dc.Draw3dRect(rect, CSysColors::sm_crBtnFace, CSysColors::sm_crBtnFace);
}
