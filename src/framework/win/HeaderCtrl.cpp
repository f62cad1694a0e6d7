#include "framework/win/HeaderCtrl.h"

BOOL CHeaderCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create(WC_HEADERA, nullptr, style, rect, parent, id);
}

int CHeaderCtrl::InsertItem(int index, const char* text, int width)
{
    HDITEMA item {};
    item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
    item.fmt = HDF_LEFT | HDF_STRING;
    item.pszText = const_cast<char*>(text);
    item.cxy = width;
    return static_cast<int>(SendMessage(HDM_INSERTITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
}

BOOL CHeaderCtrl::DeleteItem(int index) { return static_cast<BOOL>(SendMessage(HDM_DELETEITEM, static_cast<WPARAM>(index))); }
int CHeaderCtrl::GetItemCount() const { return static_cast<int>(SendMessage(HDM_GETITEMCOUNT)); }

BOOL CHeaderCtrl::GetItemRect(int index, RECT* rect) const
{
    return static_cast<BOOL>(SendMessage(HDM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(rect)));
}

int CHeaderCtrl::GetItemWidth(int index) const
{
    HDITEMA item {};
    item.mask = HDI_WIDTH;
    if (!SendMessage(HDM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)))
        return -1;
    return item.cxy;
}

BOOL CHeaderCtrl::SetItemWidth(int index, int width)
{
    HDITEMA item {};
    item.mask = HDI_WIDTH;
    item.cxy = width;
    return static_cast<BOOL>(SendMessage(HDM_SETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
}

BOOL CHeaderCtrl::Layout(const RECT& rect, WINDOWPOS* placement) const
{
    RECT area = rect;
    HDLAYOUT layout {&area, placement};
    return static_cast<BOOL>(SendMessage(HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&layout)));
}
