#include "controls/win/TreeGridCtrl.h"

#include "framework/Exceptions.h"
#include "platform/SysString.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

// Positions of a child or root list: the index plus one, so that null ends
// a walk.
POSITION ToPosition(int index)
{
    return reinterpret_cast<POSITION>(static_cast<std::uintptr_t>(index + 1));
}

int FromPosition(POSITION position)
{
    return static_cast<int>(reinterpret_cast<std::uintptr_t>(position)) - 1;
}

const UINT kSelectedFocused = LVIS_SELECTED | LVIS_FOCUSED;

} // namespace

CTreeGridCtrl::CTreeGridCtrl()
{
    m_psLine.CreatePen(PS_SOLID, 1, RGB(192, 192, 192));
    m_psRectangle.CreatePen(PS_SOLID, 1, RGB(198, 198, 198));
    m_psPlusMinus.CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    m_brushErase.CreateSolidBrush(RGB(255, 255, 255));
    if (m_psLine.IsNull() || m_psRectangle.IsNull() || m_psPlusMinus.IsNull() || m_brushErase.IsNull())
        throw CResourceException();
    m_model.SetRowView(this);
}

CTreeGridCtrl::~CTreeGridCtrl()
{
    // The window goes while the object is whole, so that the list's last
    // messages still find this class's handlers.
    if (IsWindow())
        DestroyWindow();
    m_model.SetRowView(nullptr);
}

BOOL CTreeGridCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    if (!CListCtrl::Create(style, rect, parent, id))
        return FALSE;
    SetExtendedStyle(GetExtendedStyle() | LVS_EX_FULLROWSELECT);
    return TRUE;
}

BOOL CTreeGridCtrl::PreCreateWindow(CREATESTRUCTA& cs)
{
    cs.style = (cs.style & ~LVS_TYPEMASK) | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS |
               LVS_OWNERDRAWFIXED;
    return CListCtrl::PreCreateWindow(cs);
}

// ------------------------------------------------------------ the rows

void CTreeGridCtrl::InsertRow(int row, CTreeItem* node)
{
    LVITEMA item {};
    item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_INDENT;
    item.iItem = row;
    item.pszText = LPSTR_TEXTCALLBACKA;
    item.lParam = reinterpret_cast<LPARAM>(node);
    item.iIndent = node->GetIndent();
    CListCtrl::InsertItem(&item);
    // The list keeps no texts of its own: it asks for them (CellText), so
    // that a changed cell needs no message to the list.
    for (int column = 1; column < GetNumCol(); ++column)
        CListCtrl::SetItemText(row, column, LPSTR_TEXTCALLBACKA);
    SetCheck(row, node->GetData()->GetCheck());
}

void CTreeGridCtrl::DeleteRow(int row)
{
    CListCtrl::DeleteItem(row);
}

CString CTreeGridCtrl::CellText(int row, int column) const
{
    const CTreeItem* node = GetTreeItem(row);
    if (node == nullptr || column < 0 || column >= GetNumCol())
        return CString();
    const CTreeGridItemInfo* info = node->GetData();
    return column == 0 ? info->GetItemText() : info->GetSubItem(column - 1);
}

// ------------------------------------------------------ building the tree

CTreeGridItemInfo* CTreeGridCtrl::CreateItemInfo()
{
    return new CTreeGridItemInfo;
}

CTreeGridItemInfo* CTreeGridCtrl::CopyData(const CTreeGridItemInfo* info)
{
    CTreeGridItemInfo* copy = CreateItemInfo();
    copy->CopyObjects(*info);
    copy->CopyControls(*info);
    copy->CopyColors(*info);
    return copy;
}

CTreeGridCtrl::CTreeItem* CTreeGridCtrl::InsertRootItem(CTreeGridItemInfo* info)
{
    return m_model.InsertRootItem(info != nullptr ? info : CreateItemInfo());
}

CTreeGridCtrl::CTreeItem* CTreeGridCtrl::InsertItem(CTreeItem* parent, CTreeGridItemInfo* info, BOOL update)
{
    if (parent == nullptr) {
        delete info;
        return nullptr;
    }
    CTreeItem* node = m_model.InsertItem(parent, info != nullptr ? info : CreateItemInfo(), update);
    // The parent's sign may have changed.
    if (parent->GetCurIndex() >= 0)
        RedrawItems(parent->GetCurIndex(), parent->GetCurIndex());
    return node;
}

void CTreeGridCtrl::UpdateData(CTreeItem* node, CTreeGridItemInfo* info, BOOL update)
{
    if (node == nullptr)
        return;
    m_model.SetData(node, info != nullptr ? info : CreateItemInfo());
    const int row = node->GetCurIndex();
    if (update && row >= 0) {
        SetCheck(row, node->GetData()->GetCheck());
        RedrawItems(row, row);
    }
}

BOOL CTreeGridCtrl::SetCellText(CTreeItem* node, int column, const CString& text)
{
    if (node == nullptr || column < 0)
        return FALSE;
    if (column == 0)
        node->GetData()->SetItemText(text);
    else
        node->GetData()->SetSubItemText(column - 1, text);
    const int row = node->GetCurIndex();
    if (row >= 0 && m_hWnd != nullptr) {
        // Only the cell is repainted (the row draws just the cells inside
        // the part being painted).
        CRect rowRect;
        if (GetItemRect(row, &rowRect, LVIR_BOUNDS)) {
            const CRect cell = CellRect(row, column, rowRect);
            InvalidateRect(&cell, FALSE);
        }
    }
    return TRUE;
}

void CTreeGridCtrl::CleanMe(CTreeItem* node)
{
    if (m_pDragNode != nullptr && node != nullptr && m_pDragNode->IsChildOf(node) && m_pDragNode != node)
        EndDrag(FALSE, CPoint());
    m_model.DeleteChildren(node);
}

void CTreeGridCtrl::SetChildrenFlag(CTreeItem* node, int flag)
{
    m_model.SetChildrenFlag(node, flag);
    if (node != nullptr && node->GetCurIndex() >= 0)
        RedrawItems(node->GetCurIndex(), node->GetCurIndex());
}

void CTreeGridCtrl::Hide(CTreeItem* node, BOOL hide)
{
    if (hide)
        Collapse(node);
    else if (node != nullptr)
        Expand(node, node->GetCurIndex());
}

void CTreeGridCtrl::SetCheckBoxes(BOOL on)
{
    m_bCheckBoxes = on;
    Invalidate(FALSE);
}

// ---------------------------------------------------------- navigation

POSITION CTreeGridCtrl::GetRootHeadPosition() const
{
    return GetRootCount() > 0 ? ToPosition(0) : nullptr;
}

POSITION CTreeGridCtrl::GetRootTailPosition() const
{
    return GetRootCount() > 0 ? ToPosition(GetRootCount() - 1) : nullptr;
}

CTreeGridCtrl::CTreeItem* CTreeGridCtrl::GetNextRoot(POSITION& position) const
{
    const int index = FromPosition(position);
    position = index + 1 < GetRootCount() ? ToPosition(index + 1) : nullptr;
    return GetRootItem(index);
}

CTreeGridCtrl::CTreeItem* CTreeGridCtrl::GetPrevRoot(POSITION& position) const
{
    const int index = FromPosition(position);
    position = index > 0 ? ToPosition(index - 1) : nullptr;
    return GetRootItem(index);
}

POSITION CTreeGridCtrl::GetHeadPosition(const CTreeItem* node) const
{
    return node != nullptr && node->NumChildren() > 0 ? ToPosition(0) : nullptr;
}

POSITION CTreeGridCtrl::GetTailPosition(const CTreeItem* node) const
{
    return node != nullptr && node->NumChildren() > 0 ? ToPosition(node->NumChildren() - 1) : nullptr;
}

CTreeGridCtrl::CTreeItem* CTreeGridCtrl::GetNextChild(const CTreeItem* node, POSITION& position) const
{
    const int index = FromPosition(position);
    position = index + 1 < node->NumChildren() ? ToPosition(index + 1) : nullptr;
    return node->GetChild(index);
}

CTreeGridCtrl::CTreeItem* CTreeGridCtrl::GetPrevChild(const CTreeItem* node, POSITION& position) const
{
    const int index = FromPosition(position);
    position = index > 0 ? ToPosition(index - 1) : nullptr;
    return node->GetChild(index);
}

CTreeGridCtrl::CTreeItem* CTreeGridCtrl::GetNext(CTreeItem* start, CTreeItem* node, BOOL init, BOOL expandedOnly) const
{
    return m_model.GetNext(start, node, init, expandedOnly);
}

CTreeGridCtrl::CTreeItem* CTreeGridCtrl::GetPrev(CTreeItem* start, CTreeItem* node, BOOL init, BOOL expandedOnly) const
{
    return m_model.GetPrev(start, node, init, expandedOnly);
}

CTreeGridCtrl::CTreeItem* CTreeGridCtrl::GetSelectedItem() const
{
    return GetTreeItem(GetNextItem(-1, LVNI_SELECTED));
}

std::vector<int> CTreeGridCtrl::ColumnOrder() const
{
    const int count = GetNumCol();
    std::vector<int> order(static_cast<size_t>(count > 0 ? count : 0));
    if (count <= 0 || !GetColumnOrderArray(order.data(), count))
        order.clear();
    return order;
}

int CTreeGridCtrl::IndexToOrder(int column) const
{
    const std::vector<int> order = ColumnOrder();
    for (size_t i = 0; i < order.size(); ++i) {
        if (order[i] == column)
            return static_cast<int>(i);
    }
    return -1;
}

// ----------------------------------------------------- changing the view

BOOL CTreeGridCtrl::Expand(CTreeItem* node, int)
{
    if (node == nullptr)
        return FALSE;
    SetRedraw(FALSE);
    const BOOL changed = m_model.Expand(node);
    if (changed && node->GetCurIndex() >= 0)
        SetItemIndent(node->GetCurIndex(), node->GetIndent());
    SetRedraw(TRUE);
    Invalidate(FALSE);
    return changed;
}

void CTreeGridCtrl::Collapse(CTreeItem* node)
{
    SetRedraw(FALSE);
    m_model.Collapse(node);
    SetRedraw(TRUE);
    Invalidate(FALSE);
}

void CTreeGridCtrl::ExpandAll(CTreeItem* node, int& row)
{
    SetRedraw(FALSE);
    m_model.ExpandAll(node);
    SetRedraw(TRUE);
    Invalidate(FALSE);
    row = node != nullptr ? node->GetCurIndex() : -1;
}

void CTreeGridCtrl::ExpandUntil(CTreeItem* start, CTreeItem* target)
{
    SetRedraw(FALSE);
    m_model.ExpandUntil(start, target);
    SetRedraw(TRUE);
    Invalidate(FALSE);
}

BOOL CTreeGridCtrl::SelectNode(CTreeItem* node)
{
    if (node == nullptr)
        return FALSE;
    CTreeItem* root = node;
    while (root->GetParentItem() != nullptr)
        root = root->GetParentItem();
    if (root != node) {
        SetRedraw(FALSE);
        m_model.Expand(root);
        m_model.ExpandUntil(root, node);
        SetRedraw(TRUE);
        Invalidate(FALSE);
    }
    const int row = node->GetCurIndex();
    SetItemState(row, kSelectedFocused, kSelectedFocused);
    EnsureVisible(row, FALSE);
    return TRUE;
}

void CTreeGridCtrl::Sort(CTreeItem* node, BOOL recursive)
{
    SetRedraw(FALSE);
    m_model.Sort(node, recursive);
    SetRedraw(TRUE);
    Invalidate(FALSE);
}

void CTreeGridCtrl::MakeColumnVisible(int column)
{
    int offset = 0;
    bool found = false;
    for (int shown : ColumnOrder()) {
        if (shown == column) {
            found = true;
            break;
        }
        offset += GetColumnWidth(shown);
    }
    if (!found)
        return;
    const int scrolled = ::GetScrollPos(m_hWnd, SB_HORZ);
    const int width = GetColumnWidth(column);
    if (offset < scrolled || offset + width > scrolled + GetClientRect().Width()) {
        Scroll(CSize(offset - scrolled, 0));
        Invalidate(FALSE);
    }
}

void CTreeGridCtrl::InternaleUpdateTree()
{
    SetRedraw(FALSE);
    DeleteAllItems();
    for (int row = 0; row < m_model.GetRowCount(); ++row)
        InsertRow(row, m_model.GetRowNode(row));
    SetRedraw(TRUE);
    Invalidate(FALSE);
}

// -------------------------------------------------------------- removing

void CTreeGridCtrl::Delete(CTreeItem* node, BOOL deleteData)
{
    if (node == nullptr)
        return;
    if (m_pDragNode != nullptr && m_pDragNode->IsChildOf(node))
        EndDrag(FALSE, CPoint());
    SetRedraw(FALSE);
    m_model.Delete(node, deleteData);
    SetRedraw(TRUE);
    Invalidate(FALSE);
}

BOOL CTreeGridCtrl::DeleteItemEx(CTreeItem* node, int row)
{
    if (node == nullptr)
        return FALSE;
    if (node->GetCurIndex() >= 0)
        row = node->GetCurIndex();
    Delete(node, TRUE);
    const int count = GetItemCount();
    const int select = row < count ? row : count - 1;
    if (select >= 0)
        SetItemState(select, kSelectedFocused, kSelectedFocused);
    return TRUE;
}

void CTreeGridCtrl::DeleteAll()
{
    if (m_bIsDragging)
        EndDrag(FALSE, CPoint());
    SetRedraw(FALSE);
    m_model.DeleteAll();
    SetRedraw(TRUE);
    Invalidate(FALSE);
}

// ----------------------------------------------------------------- hooks

int CTreeGridCtrl::GetIcon(const CTreeItem*) { return 0; }
COLORREF CTreeGridCtrl::GetCellRGB() { return RGB(192, 0, 0); }

void CTreeGridCtrl::OnUpdateListViewItem(CTreeItem* node, LVITEMA* item)
{
    SetCellText(node, item->iSubItem, item->pszText);
}

void CTreeGridCtrl::OnControlLButtonDown(UINT, CPoint, LVHITTESTINFO&) {}

BOOL CTreeGridCtrl::OnItemExpanding(CTreeItem*, int) { return TRUE; }
BOOL CTreeGridCtrl::OnItemExpanded(CTreeItem*, int) { return TRUE; }
BOOL CTreeGridCtrl::OnCollapsing(CTreeItem*) { return TRUE; }
BOOL CTreeGridCtrl::OnItemCollapsed(CTreeItem*) { return TRUE; }
BOOL CTreeGridCtrl::OnDeleteItem(CTreeItem*, int) { return TRUE; }
BOOL CTreeGridCtrl::OnVKMultiply(CTreeItem*, int) { return TRUE; }
BOOL CTreeGridCtrl::OnVkSubTract(CTreeItem*, int) { return TRUE; }
BOOL CTreeGridCtrl::OnVKAdd(CTreeItem*, int) { return TRUE; }
BOOL CTreeGridCtrl::OnVkReturn() { return FALSE; }
BOOL CTreeGridCtrl::OnItemLButtonDown(LVHITTESTINFO&) { return TRUE; }

// ------------------------------------------------------------------ input

void CTreeGridCtrl::ToggleExpansion(CTreeItem* node, int row)
{
    if (node->IsCollapsed()) {
        if (OnItemExpanding(node, row)) {
            Expand(node, row);
            OnItemExpanded(node, row);
        }
    } else if (OnCollapsing(node)) {
        Collapse(node);
        OnItemCollapsed(node);
    }
}

void CTreeGridCtrl::ToggleCheck(CTreeItem* node, int row)
{
    const BOOL check = !node->GetData()->GetCheck();
    node->GetData()->SetCheck(check);
    SetCheck(row, check);
    RedrawItems(row, row);
}

void CTreeGridCtrl::MoveFocusCell(int step)
{
    const std::vector<int> order = ColumnOrder();
    const int count = static_cast<int>(order.size());
    if (count == 0)
        return;
    const int at = IndexToOrder(m_CurSubItem);
    const int next = step > 0 ? (at + 1 < count ? at + 1 : count - 1) : 0;
    m_CurSubItem = order[static_cast<size_t>(next)];
    MakeColumnVisible(m_CurSubItem);
    const int row = GetNextItem(-1, LVNI_SELECTED);
    if (row >= 0)
        RedrawItems(row, row);
}

void CTreeGridCtrl::OnKeyDown(UINT key, UINT repeat, UINT flags)
{
    CTreeItem* node = GetSelectedItem();
    const int row = node != nullptr ? node->GetCurIndex() : -1;
    switch (key) {
    case VK_RIGHT:
        MoveFocusCell(1);
        return;
    case VK_LEFT:
        MoveFocusCell(-1);
        return;
    case VK_SPACE:
        if (!m_bCheckBoxes)
            break;
        if (node != nullptr)
            ToggleCheck(node, row);
        return;
    case VK_DELETE:
        if (node != nullptr && OnDeleteItem(node, row))
            DeleteItemEx(node, row);
        return;
    case VK_MULTIPLY:
        if (node != nullptr && OnVKMultiply(node, row)) {
            int shown = row;
            ExpandAll(node, shown);
            SelectNode(node);
        }
        return;
    case VK_ADD:
        if (node != nullptr && OnVKAdd(node, row))
            Expand(node, row);
        return;
    case VK_SUBTRACT:
        if (node != nullptr && OnVkSubTract(node, row))
            Collapse(node);
        return;
    case VK_RETURN:
        OnVkReturn();
        break;
    default:
        break;
    }
    CListCtrl::OnKeyDown(key, repeat, flags);
}

UINT CTreeGridCtrl::OnGetDlgCode()
{
    return CListCtrl::OnGetDlgCode() | DLGC_WANTARROWS | DLGC_WANTCHARS;
}

CRect CTreeGridCtrl::SignRect(const RECT& row, int indent)
{
    const int x = row.left + 16 * indent - 8;
    const int y = (row.top + row.bottom) / 2;
    return CRect(x - 5, y - 5, x + 6, y + 6);
}

CRect CTreeGridCtrl::CheckBoxRect(const RECT& row, int indent) const
{
    const int x = row.left + 16 * indent + 8;
    const int y = (row.top + row.bottom) / 2;
    return CRect(x - 6, y - 6, x + 7, y + 7);
}

void CTreeGridCtrl::OnLButtonDown(UINT flags, CPoint point)
{
    SetFocus();
    LVHITTESTINFO hit {};
    hit.pt = point;
    SubItemHitTest(&hit);
    CTreeItem* node = GetTreeItem(hit.iItem);
    if (node == nullptr) {
        CListCtrl::OnLButtonDown(flags, point);
        return;
    }
    if (!OnItemLButtonDown(hit))
        return;
    const int row = hit.iItem;
    CRect rowRect;
    GetItemRect(row, &rowRect, LVIR_BOUNDS);
    if (node->ItemHasChildren() && SignRect(rowRect, node->GetIndent()).PtInRect(point)) {
        ToggleExpansion(node, row);
        return;
    }
    if (m_bCheckBoxes && CheckBoxRect(rowRect, node->GetIndent()).PtInRect(point)) {
        ToggleCheck(node, row);
        return;
    }
    m_CurSubItem = hit.iSubItem;
    MakeColumnVisible(m_CurSubItem);
    OnControlLButtonDown(flags, point, hit);
    // The list selects the row and may begin a drag; the node may be gone
    // when it returns.
    if (m_bSelectEnabled)
        CListCtrl::OnLButtonDown(flags, point);
    if (row < GetItemCount())
        RedrawItems(row, row);
}

void CTreeGridCtrl::OnLButtonDblClk(UINT flags, CPoint point)
{
    const int row = HitTest(point);
    CTreeItem* node = GetTreeItem(row);
    if (node != nullptr && node->ItemHasChildren())
        ToggleExpansion(node, row);
    else
        CListCtrl::OnLButtonDblClk(flags, point);
}

// -------------------------------------------------------- dragging nodes

void CTreeGridCtrl::SetDropTarget(int row)
{
    if (row == m_nDragTarget)
        return;
    if (m_hDragImage != nullptr)
        ImageList_DragShowNolock(FALSE);
    if (m_nDragTarget >= 0)
        SetItemState(m_nDragTarget, 0, LVIS_DROPHILITED);
    if (row >= 0)
        SetItemState(row, LVIS_DROPHILITED, LVIS_DROPHILITED);
    m_nDragTarget = row;
    UpdateWindow();
    if (m_hDragImage != nullptr)
        ImageList_DragShowNolock(TRUE);
}

void CTreeGridCtrl::OnMouseMove(UINT flags, CPoint point)
{
    if (!m_bIsDragging) {
        CListCtrl::OnMouseMove(flags, point);
        return;
    }
    if (m_hDragImage != nullptr)
        ImageList_DragMove(point.x, point.y);
    SetDropTarget(HitTest(point));
}

void CTreeGridCtrl::OnTimer(UINT_PTR id)
{
    if (id != kDragScrollTimer) {
        CListCtrl::OnTimer(id);
        return;
    }
    if (!m_bIsDragging) {
        KillTimer(kDragScrollTimer);
        return;
    }
    POINT cursor {};
    ::GetCursorPos(&cursor);
    ScreenToClient(&cursor);
    CRect client = GetClientRect();
    CRect header;
    if (::GetWindowRect(GetHeaderCtrl(), &header))
        client.top += header.Height();
    int scroll = 0;
    if (cursor.y < client.top + m_cyImage)
        scroll = -1;
    else if (cursor.y > client.bottom - m_cyImage)
        scroll = 1;
    if (scroll != 0) {
        const int top = GetTopIndex();
        if (m_hDragImage != nullptr)
            ImageList_DragShowNolock(FALSE);
        Scroll(CSize(0, scroll * (m_nRowHeight > 0 ? m_nRowHeight : m_cyImage)));
        UpdateWindow();
        if (m_hDragImage != nullptr)
            ImageList_DragShowNolock(TRUE);
        if (GetTopIndex() == top)
            KillTimer(kDragScrollTimer);
        return;
    }
    const int row = HitTest(cursor);
    SetDropTarget(row);
    CTreeItem* node = GetTreeItem(row);
    if (node != nullptr && node != m_pDragNode && node->ItemHasChildren() && node->IsCollapsed()) {
        if (m_hDragImage != nullptr)
            ImageList_DragShowNolock(FALSE);
        ToggleExpansion(node, row);
        UpdateWindow();
        if (m_hDragImage != nullptr)
            ImageList_DragShowNolock(TRUE);
    }
}

void CTreeGridCtrl::OnLButtonUp(UINT flags, CPoint point)
{
    if (m_bIsDragging)
        EndDrag(TRUE, point);
    else
        CListCtrl::OnLButtonUp(flags, point);
}

void CTreeGridCtrl::OnCaptureChanged(HWND newCapture)
{
    if (m_bIsDragging && newCapture != m_hWnd)
        EndDrag(FALSE, CPoint());
    CListCtrl::OnCaptureChanged(newCapture);
}

void CTreeGridCtrl::EndDrag(BOOL drop, CPoint point)
{
    if (!m_bIsDragging)
        return;
    m_bIsDragging = FALSE;
    KillTimer(kDragScrollTimer);
    if (m_hDragImage != nullptr) {
        ImageList_DragLeave(m_hWnd);
        ImageList_EndDrag();
        ImageList_Destroy(m_hDragImage);
        m_hDragImage = nullptr;
    }
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    SetDropTarget(-1);
    CTreeItem* dragged = m_pDragNode;
    m_pDragNode = nullptr;
    m_nDragItem = -1;
    if (drop)
        DoDragDrop(dragged, GetTreeItem(HitTest(point)));
}

BOOL CTreeGridCtrl::DoDragDrop(CTreeItem* dragged, CTreeItem* target)
{
    if (!CTreeGridModel::CanDrop(dragged, target))
        return FALSE;
    SetRedraw(FALSE);
    CTreeItem* moved = m_model.MoveItem(dragged, target, [this](const CTreeGridItemInfo& info) { return CopyData(&info); });
    SetRedraw(TRUE);
    Invalidate(FALSE);
    SelectNode(moved);
    return moved != nullptr;
}

BOOL CTreeGridCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message != WM_NOTIFY)
        return CListCtrl::OnChildNotify(message, wParam, lParam, result);
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    switch (header->code) {
    case LVN_BEGINDRAG: {
        const auto* list = reinterpret_cast<const NMLISTVIEW*>(lParam);
        CTreeItem* node = GetTreeItem(list->iItem);
        if (node == nullptr || m_bIsDragging)
            break;
        m_pDragNode = node;
        m_nDragItem = list->iItem;
        m_nDragTarget = -1;
        m_hDragImage = CreateDragImageEx(list->iItem);
        if (m_hDragImage != nullptr && ImageList_BeginDrag(m_hDragImage, 0, 0, 0))
            ImageList_DragEnter(m_hWnd, list->ptAction.x, list->ptAction.y);
        m_bIsDragging = TRUE;
        ::SetCapture(m_hWnd);
        SetTimer(kDragScrollTimer, kDragScrollMs);
        *result = 0;
        return TRUE;
    }
    case LVN_GETDISPINFOA: {
        auto* info = reinterpret_cast<NMLVDISPINFOA*>(lParam);
        if ((info->item.mask & LVIF_TEXT) != 0 && info->item.pszText != nullptr && info->item.cchTextMax > 0)
            ::lstrcpynA(info->item.pszText, CellText(info->item.iItem, info->item.iSubItem), info->item.cchTextMax);
        *result = 0;
        return TRUE;
    }
    case LVN_GETDISPINFOW: {
        auto* info = reinterpret_cast<NMLVDISPINFOW*>(lParam);
        if ((info->item.mask & LVIF_TEXT) != 0 && info->item.pszText != nullptr && info->item.cchTextMax > 0) {
            const CString text = CellText(info->item.iItem, info->item.iSubItem);
            // At most one wide character per byte in the code page.
            std::wstring wide(static_cast<size_t>(text.GetLength()) + 1, L'\0');
            ::MultiByteToWideChar(CP_ACP, 0, text, text.GetLength(), wide.data(), text.GetLength());
            ::lstrcpynW(info->item.pszText, wide.c_str(), info->item.cchTextMax);
        }
        *result = 0;
        return TRUE;
    }
    case LVN_ENDLABELEDITA: {
        auto* info = reinterpret_cast<NMLVDISPINFOA*>(lParam);
        CTreeItem* node = GetTreeItem(info->item.iItem);
        if (info->item.pszText != nullptr && node != nullptr)
            OnUpdateListViewItem(node, &info->item);
        *result = FALSE;
        return TRUE;
    }
    case LVN_ENDLABELEDITW: {
        const auto* info = reinterpret_cast<const NMLVDISPINFOW*>(lParam);
        CTreeItem* node = GetTreeItem(info->item.iItem);
        if (info->item.pszText != nullptr && node != nullptr) {
            const std::string text = platform::OleToCodePage(info->item.pszText);
            LVITEMA item {};
            item.mask = LVIF_TEXT;
            item.iItem = info->item.iItem;
            item.iSubItem = info->item.iSubItem;
            item.pszText = const_cast<char*>(text.c_str());
            OnUpdateListViewItem(node, &item);
        }
        *result = FALSE;
        return TRUE;
    }
    default:
        break;
    }
    return CListCtrl::OnChildNotify(message, wParam, lParam, result);
}

LRESULT CTreeGridCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = CListCtrl::WindowProc(message, wParam, lParam);
    if (message == WM_SETFONT)
        RemeasureRows();
    return result;
}

// The list asks its rows' height again when its size changes.
void CTreeGridCtrl::RemeasureRows()
{
    const CRect rect = GetWindowRect();
    const UINT flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
    SetWindowPos(nullptr, 0, 0, rect.Width(), rect.Height() + 1, flags);
    SetWindowPos(nullptr, 0, 0, rect.Width(), rect.Height(), flags);
}
