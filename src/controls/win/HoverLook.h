// The hover behaviour the library's edit-like controls share: arming the
// mouse-leave notification and the flat classic border that lights up while
// the mouse is over a control or it has the focus.
#pragma once

#include "OrvApi.h"
#include "base/Types.h"

// Asks the system for WM_MOUSELEAVE when the mouse leaves the window; returns
// whether the request was accepted.
ORV_API BOOL RequestMouseLeave(HWND wnd);

// Draws the classic border around the window's client area, in the window's
// non-client edge. Hot (focused or under the mouse): one ring just outside
// the client area, 3-D dark shadow at the top-left and button face at the
// bottom-right. Otherwise: a ring two pixels out in 3-D shadow and highlight,
// and inside it a ring in the button face colour, which reads as flat.
ORV_API void DrawHoverEditBorder(HWND wnd, BOOL hot);

// A downward triangle of four lines, 7, 5, 3 and 1 pixels long, centred in
// the rectangle: the arrow of a drop-down part.
ORV_API void DrawDropArrow(HDC dc, const RECT& rect, COLORREF color);

// The client rectangle of the window in the coordinates of its window DC.
ORV_API RECT ClientRectInWindow(HWND wnd);
