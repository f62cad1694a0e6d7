// CListCtrl: the system's list view. It forwards to the control's messages
// and answers what the control answers. Owner-drawn rows arrive as DrawItem
// and, for owner-drawn fixed rows, their height is asked through
// MeasureItem: both come back from the parent to this object.
#pragma once

#include "OrvApi.h"
#include "framework/String.h"
#include "framework/win/Wnd.h"

#include <commctrl.h>

class ORV_API CListCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    // Columns. InsertColumn returns the new column's index or -1.
    int InsertColumn(int column, const char* heading, int format = LVCFMT_LEFT, int width = -1);
    BOOL DeleteColumn(int column);
    int GetColumnWidth(int column) const;
    BOOL SetColumnWidth(int column, int width);
    // The number of columns (the header's items).
    int GetColumnCount() const;
    // The columns' indexes in the order the header shows them.
    BOOL GetColumnOrderArray(int* order, int count) const;
    HWND GetHeaderCtrl() const;

    // Rows. InsertItem returns the new row's index or -1.
    int InsertItem(const LVITEMA* item);
    int InsertItem(int row, const char* text);
    BOOL SetItem(const LVITEMA* item);
    BOOL DeleteItem(int row);
    BOOL DeleteAllItems();
    int GetItemCount() const;
    BOOL SetItemText(int row, int subItem, const char* text);
    CString GetItemText(int row, int subItem) const;
    BOOL SetItemData(int row, DWORD_PTR data);
    // The row's data; 0 for a row that does not exist.
    DWORD_PTR GetItemData(int row) const;
    BOOL SetItemIndent(int row, int indent);
    int GetItemIndent(int row) const;

    // States (LVIS_ bits): selected, focused, drop-highlighted.
    UINT GetItemState(int row, UINT mask) const;
    BOOL SetItemState(int row, UINT state, UINT mask);
    // The next row after `start` (-1: from the top) with the LVNI_ flags.
    int GetNextItem(int start, int flags) const;
    int GetSelectedCount() const;
    // Check boxes (LVS_EX_CHECKBOXES).
    BOOL GetCheck(int row) const;
    BOOL SetCheck(int row, BOOL check = TRUE);
    DWORD GetExtendedStyle() const;
    DWORD SetExtendedStyle(DWORD style);

    // Rectangles in client coordinates; code is LVIR_BOUNDS, LVIR_LABEL...
    BOOL GetItemRect(int row, RECT* rect, UINT code) const;
    BOOL GetSubItemRect(int row, int subItem, int code, RECT& rect) const;
    // The row at the point, or -1; flags receives the LVHT_ bits.
    int HitTest(POINT point, UINT* flags = nullptr) const;
    // Row and column at info->pt; returns the row or -1.
    int SubItemHitTest(LVHITTESTINFO* info) const;

    // Scrolling, in pixels (rows scroll by whole rows).
    BOOL Scroll(SIZE size);
    BOOL EnsureVisible(int row, BOOL partialOK);
    int GetTopIndex() const;
    int GetCountPerPage() const;
    BOOL RedrawItems(int first, int last);

    // Label editing (LVS_EDITLABELS): starts editing the row's label;
    // returns the edit window, or null.
    HWND EditLabel(int row);
    HWND GetEditControl() const;

    HIMAGELIST SetImageList(HIMAGELIST list, int type);
    HIMAGELIST GetImageList(int type) const;
    // An image of the row for dragging (the caller destroys it) with the
    // row's top-left in client coordinates at *point; null on failure.
    HIMAGELIST CreateDragImage(int row, POINT* point);

    // Owner drawing. The defaults draw nothing and leave the height.
    virtual void DrawItem(DRAWITEMSTRUCT* item);
    virtual void MeasureItem(MEASUREITEMSTRUCT* item);

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};
