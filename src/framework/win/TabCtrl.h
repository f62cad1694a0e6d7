// CTabCtrl: the system's tab control. It holds the control's window and
// forwards to the control's messages; failures are the control's answers.
#pragma once

#include "OrvApi.h"
#include "framework/win/Wnd.h"

#include <commctrl.h>

class ORV_API CTabCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    // Index of the new tab, or -1.
    int InsertItem(int index, const char* text);
    BOOL DeleteItem(int index);
    BOOL DeleteAllItems();
    int GetItemCount() const;
    // The selected tab, or -1.
    int GetCurSel() const;
    // The previously selected tab, or -1.
    int SetCurSel(int index);
    BOOL GetItemRect(int index, RECT* rect) const;
    // The tab under a client point, or -1.
    int HitTest(POINT point) const;
    // larger: the window rectangle for a display area; else the display
    // area of a window rectangle.
    void AdjustRect(BOOL larger, RECT* rect) const;
};
