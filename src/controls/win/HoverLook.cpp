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

void DrawDropArrow(HDC dc, const RECT& rect, COLORREF color)
{
    CPen pen(PS_SOLID, 1, color);
    const CSelectScope penSelection(dc, pen);
    const int centre = rect.left + (rect.right - rect.left) / 2;
    const int middle = rect.top + (rect.bottom - rect.top) / 2;
    for (int line = 0; line < 4; ++line) {
        const int length = 7 - 2 * line;
        const int left = centre - length / 2;
        const int y = middle - 2 + line;
        ::MoveToEx(dc, left, y, nullptr);
        ::LineTo(dc, left + length, y);
    }
}
