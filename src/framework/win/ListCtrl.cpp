#include "framework/win/ListCtrl.h"

namespace {

int ToInt(LRESULT value) { return static_cast<int>(value); }
BOOL ToBool(LRESULT value) { return static_cast<BOOL>(value != 0); }

} // namespace

BOOL CListCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    INITCOMMONCONTROLSEX init {sizeof init, ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&init);
    return CWnd::Create(WC_LISTVIEWA, nullptr, style, rect, parent, id);
}

int CListCtrl::InsertColumn(int column, const char* heading, int format, int width)
{
    LVCOLUMNA info {};
    info.mask = LVCF_TEXT | LVCF_FMT | LVCF_SUBITEM | (width >= 0 ? LVCF_WIDTH : 0);
    info.fmt = format;
    info.cx = width;
    info.pszText = const_cast<char*>(heading);
    info.iSubItem = column;
    return ToInt(SendMessage(LVM_INSERTCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info)));
}

BOOL CListCtrl::DeleteColumn(int column) { return ToBool(SendMessage(LVM_DELETECOLUMN, static_cast<WPARAM>(column))); }
int CListCtrl::GetColumnWidth(int column) const { return ToInt(SendMessage(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column))); }

BOOL CListCtrl::SetColumnWidth(int column, int width)
{
    return ToBool(SendMessage(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(width, 0)));
}

int CListCtrl::GetColumnCount() const
{
    const HWND header = GetHeaderCtrl();
    return header != nullptr ? ToInt(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

BOOL CListCtrl::GetColumnOrderArray(int* order, int count) const
{
    return ToBool(SendMessage(LVM_GETCOLUMNORDERARRAY, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(order)));
}

HWND CListCtrl::GetHeaderCtrl() const { return reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER)); }

int CListCtrl::InsertItem(const LVITEMA* item) { return ToInt(SendMessage(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(item))); }

int CListCtrl::InsertItem(int row, const char* text)
{
    LVITEMA item {};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = const_cast<char*>(text);
    return InsertItem(&item);
}

BOOL CListCtrl::SetItem(const LVITEMA* item) { return ToBool(SendMessage(LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(item))); }
BOOL CListCtrl::DeleteItem(int row) { return ToBool(SendMessage(LVM_DELETEITEM, static_cast<WPARAM>(row))); }
BOOL CListCtrl::DeleteAllItems() { return ToBool(SendMessage(LVM_DELETEALLITEMS)); }
int CListCtrl::GetItemCount() const { return ToInt(SendMessage(LVM_GETITEMCOUNT)); }

BOOL CListCtrl::SetItemText(int row, int subItem, const char* text)
{
    LVITEMA item {};
    item.iSubItem = subItem;
    item.pszText = const_cast<char*>(text);
    return ToBool(SendMessage(LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
}

CString CListCtrl::GetItemText(int row, int subItem) const
{
    // The control copies at most the buffer's size; grow until it fits.
    CString text;
    for (int size = 256;; size *= 2) {
        LVITEMA item {};
        item.iSubItem = subItem;
        item.cchTextMax = size;
        item.pszText = text.GetBuffer(size);
        item.pszText[0] = '\0';
        const int copied = ToInt(SendMessage(LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
        text.ReleaseBuffer(copied >= 0 && copied < size ? copied : 0);
        if (copied < size - 1 || size >= (1 << 20))
            return text;
    }
}

BOOL CListCtrl::SetItemData(int row, DWORD_PTR data)
{
    LVITEMA item {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    item.lParam = static_cast<LPARAM>(data);
    return SetItem(&item);
}

DWORD_PTR CListCtrl::GetItemData(int row) const
{
    LVITEMA item {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    return SendMessage(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)) ? static_cast<DWORD_PTR>(item.lParam) : 0;
}

BOOL CListCtrl::SetItemIndent(int row, int indent)
{
    LVITEMA item {};
    item.mask = LVIF_INDENT;
    item.iItem = row;
    item.iIndent = indent;
    return SetItem(&item);
}

int CListCtrl::GetItemIndent(int row) const
{
    LVITEMA item {};
    item.mask = LVIF_INDENT;
    item.iItem = row;
    return SendMessage(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)) ? item.iIndent : -1;
}

UINT CListCtrl::GetItemState(int row, UINT mask) const
{
    return static_cast<UINT>(SendMessage(LVM_GETITEMSTATE, static_cast<WPARAM>(row), static_cast<LPARAM>(mask)));
}

BOOL CListCtrl::SetItemState(int row, UINT state, UINT mask)
{
    LVITEMA item {};
    item.state = state;
    item.stateMask = mask;
    return ToBool(SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
}

int CListCtrl::GetNextItem(int start, int flags) const
{
    return ToInt(SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(start), MAKELPARAM(flags, 0)));
}

int CListCtrl::GetSelectedCount() const { return ToInt(SendMessage(LVM_GETSELECTEDCOUNT)); }

BOOL CListCtrl::GetCheck(int row) const
{
    // The state image is 1 for unchecked and 2 for checked.
    return ((GetItemState(row, LVIS_STATEIMAGEMASK) >> 12) - 1) == 1;
}

BOOL CListCtrl::SetCheck(int row, BOOL check)
{
    return SetItemState(row, INDEXTOSTATEIMAGEMASK(check ? 2 : 1), LVIS_STATEIMAGEMASK);
}

DWORD CListCtrl::GetExtendedStyle() const { return static_cast<DWORD>(SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE)); }

DWORD CListCtrl::SetExtendedStyle(DWORD style)
{
    return static_cast<DWORD>(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(style)));
}

BOOL CListCtrl::GetItemRect(int row, RECT* rect, UINT code) const
{
    rect->left = static_cast<LONG>(code);
    return ToBool(SendMessage(LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(rect)));
}

BOOL CListCtrl::GetSubItemRect(int row, int subItem, int code, RECT& rect) const
{
    rect.top = subItem;
    rect.left = code;
    return ToBool(SendMessage(LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect)));
}

int CListCtrl::HitTest(POINT point, UINT* flags) const
{
    LVHITTESTINFO info {};
    info.pt = point;
    const int row = ToInt(SendMessage(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
    if (flags != nullptr)
        *flags = info.flags;
    return row;
}

int CListCtrl::SubItemHitTest(LVHITTESTINFO* info) const
{
    return ToInt(SendMessage(LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(info)));
}

BOOL CListCtrl::Scroll(SIZE size) { return ToBool(SendMessage(LVM_SCROLL, static_cast<WPARAM>(size.cx), size.cy)); }

BOOL CListCtrl::EnsureVisible(int row, BOOL partialOK)
{
    return ToBool(SendMessage(LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), partialOK));
}

int CListCtrl::GetTopIndex() const { return ToInt(SendMessage(LVM_GETTOPINDEX)); }
int CListCtrl::GetCountPerPage() const { return ToInt(SendMessage(LVM_GETCOUNTPERPAGE)); }

BOOL CListCtrl::RedrawItems(int first, int last)
{
    if (!ToBool(SendMessage(LVM_REDRAWITEMS, static_cast<WPARAM>(first), last)))
        return FALSE;
    UpdateWindow();
    return TRUE;
}

HWND CListCtrl::EditLabel(int row) { return reinterpret_cast<HWND>(SendMessage(LVM_EDITLABELA, static_cast<WPARAM>(row))); }
HWND CListCtrl::GetEditControl() const { return reinterpret_cast<HWND>(SendMessage(LVM_GETEDITCONTROL)); }

HIMAGELIST CListCtrl::SetImageList(HIMAGELIST list, int type)
{
    return reinterpret_cast<HIMAGELIST>(SendMessage(LVM_SETIMAGELIST, static_cast<WPARAM>(type), reinterpret_cast<LPARAM>(list)));
}

HIMAGELIST CListCtrl::GetImageList(int type) const
{
    return reinterpret_cast<HIMAGELIST>(SendMessage(LVM_GETIMAGELIST, static_cast<WPARAM>(type)));
}

HIMAGELIST CListCtrl::CreateDragImage(int row, POINT* point)
{
    return reinterpret_cast<HIMAGELIST>(SendMessage(LVM_CREATEDRAGIMAGE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(point)));
}

void CListCtrl::DrawItem(DRAWITEMSTRUCT*) {}
void CListCtrl::MeasureItem(MEASUREITEMSTRUCT*) {}

BOOL CListCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    switch (message) {
    case WM_DRAWITEM:
        DrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        *result = TRUE;
        return TRUE;
    case WM_MEASUREITEM:
        MeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
        *result = TRUE;
        return TRUE;
    default:
        return CWnd::OnChildNotify(message, wParam, lParam, result);
    }
}
