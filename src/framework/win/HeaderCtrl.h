// CHeaderCtrl: the system's column header control. It holds the control's
// window and forwards to the control's messages; failures are the control's
// answers.
#pragma once

#include "OrvApi.h"
#include "framework/win/Wnd.h"

#include <commctrl.h>

class ORV_API CHeaderCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    // Index of the new column, or -1.
    int InsertItem(int index, const char* text, int width);
    BOOL DeleteItem(int index);
    int GetItemCount() const;
    // The column's rectangle in the header's client coordinates.
    BOOL GetItemRect(int index, RECT* rect) const;
    // The column's width, or -1 when there is no such column.
    int GetItemWidth(int index) const;
    BOOL SetItemWidth(int index, int width);
    // Lets the header choose its place and size inside `rect`.
    BOOL Layout(const RECT& rect, WINDOWPOS* placement) const;
};
