// The tree grid's owner drawing: row height, the rows' cells, the tree part
// of the first column with its lines, sign, marker or check box and image.
#include "controls/win/TreeGridCtrl.h"

#include "framework/win/DC.h"

void CTreeGridCtrl::MeasureItem(MEASUREITEMSTRUCT* item)
{
    CClientDC dc(m_hWnd);
    CSelectScope font(dc, GetFont());
    TEXTMETRICA metrics {};
    dc.GetTextMetrics(&metrics);
    m_nRowHeight = metrics.tmHeight + metrics.tmExternalLeading + 4;
    item->itemHeight = static_cast<UINT>(m_nRowHeight);
}

void CTreeGridCtrl::DrawItem(DRAWITEMSTRUCT* item)
{
    const int row = static_cast<int>(item->itemID);
    const CTreeItem* node = GetTreeItem(row);
    if (node == nullptr)
        return;
    // Only the cells inside the part being repainted are drawn: a feed
    // update invalidates one cell, and the row's other cells stay as shown.
    CRect area = item->rcItem;
    CRect clip;
    const int clipKind = ::GetClipBox(item->hDC, &clip);
    if (clipKind == NULLREGION || (clipKind != ERROR && !area.IntersectRect(area, clip)))
        return;
    CDCHandle target(item->hDC);
    CMemDC dc(target, area, m_drawBuffer);
    // A drop target shows as selected, without the focus cell.
    const UINT state = GetItemState(row, LVIS_SELECTED | LVIS_DROPHILITED);
    const BOOL selected = (state & (LVIS_SELECTED | LVIS_DROPHILITED)) != 0;
    const BOOL focusRow = (state & LVIS_SELECTED) != 0;
    dc.FillSolidRect(area, ::GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    CSelectScope font(dc, GetFont());
    dc.SetBkMode(TRANSPARENT);
    for (int column = 0; column < GetNumCol(); ++column) {
        const CRect cell = CellRect(row, column, item->rcItem);
        CRect shown;
        if (shown.IntersectRect(cell, area))
            DrawCell(dc, cell, node, column, selected, focusRow && column == m_CurSubItem);
    }
}

CRect CTreeGridCtrl::CellRect(int row, int column, const RECT& rowRect) const
{
    CRect cell;
    if (!GetSubItemRect(row, column, LVIR_BOUNDS, cell))
        return CRect();
    if (column == 0)
        cell.right = cell.left + GetColumnWidth(0);
    cell.top = rowRect.top;
    cell.bottom = rowRect.bottom;
    return cell;
}

void CTreeGridCtrl::DrawCell(CDC& dc, const CRect& cell, const CTreeItem* node, int column, BOOL selected,
                             BOOL focusCell)
{
    const CTreeGridItemInfo* info = node->GetData();
    const COLORREF background = info->GetBkColor(column);
    if (column > 0 && background != CTreeGridItemInfo::kDefaultColor && !selected)
        dc.FillSolidRect(cell, background);

    CRect text = cell;
    text.left += 4;
    if (column == 0) {
        if (m_bHierarchyOnly)
            DrawTreeItem2(dc, node, cell);
        else
            DrawTreeItem(dc, node, cell);
        text.left = LabelLeft(cell, node->GetIndent());
    }
    COLORREF ink = ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
    if (column == 0 && !selected && info->GetItemClr() != CTreeGridItemInfo::kDefaultColor)
        ink = info->GetItemClr();
    if (focusCell) {
        CRect focus = cell;
        focus.left = text.left - 2;
        dc.FillSolidRect(focus, GetCellRGB());
        dc.DrawFocusRect(focus);
        CTreeGridItemInfo::CONTROLTYPE type = CTreeGridItemInfo::edit;
        if (info->GetControlType(column, type) && type == CTreeGridItemInfo::combobox) {
            CRect button = focus;
            button.left = button.right - ::GetSystemMetrics(SM_CXVSCROLL);
            dc.DrawFrameControl(&button, DFC_SCROLL, DFCS_SCROLLDOWN);
            text.right = button.left;
        }
        ink = RGB(255, 255, 255);
    }
    dc.SetTextColor(ink);
    text.right -= 2;
    CString label = column == 0 ? info->GetItemText() : info->GetSubItem(column - 1);
    // The cells follow their column's alignment; the tree column is left.
    UINT align = DT_LEFT;
    LVCOLUMNA format {};
    format.mask = LVCF_FMT;
    if (column > 0 && SendMessage(LVM_GETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&format))) {
        const int justify = format.fmt & LVCFMT_JUSTIFYMASK;
        align = justify == LVCFMT_RIGHT ? DT_RIGHT : justify == LVCFMT_CENTER ? DT_CENTER : DT_LEFT;
    }
    dc.DrawText(label, &text, align | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
}

namespace {

// Whether a sibling follows the node among its parent's children (or the
// roots).
bool HasNextSibling(const CTreeGridItem* node, const CTreeGridModel& model)
{
    const CTreeGridItem* parent = node->GetParentItem();
    if (parent == nullptr) {
        const int index = model.GetRootIndex(node);
        return index >= 0 && index + 1 < model.GetRootCount();
    }
    return parent->GetChild(parent->NumChildren() - 1) != node;
}

bool HasPrevSibling(const CTreeGridItem* node, const CTreeGridModel& model)
{
    const CTreeGridItem* parent = node->GetParentItem();
    if (parent == nullptr)
        return model.GetRootIndex(node) > 0;
    return parent->GetChild(0) != node;
}

void VerticalLine(CDC& dc, int x, int top, int bottom)
{
    dc.MoveTo(x, top);
    dc.LineTo(x, bottom);
}

} // namespace

void CTreeGridCtrl::DrawTreeItem(CDC& dc, const CTreeItem* node, const CRect& cell)
{
    const int indent = node->GetIndent();
    const int middle = (cell.top + cell.bottom) / 2;
    const int x = cell.left + 16 * indent - 8;
    {
        CSelectScope pen(dc, m_psLine);
        // The levels above that go on below this row.
        for (const CTreeItem* above = node->GetParentItem(); above != nullptr; above = above->GetParentItem()) {
            if (HasNextSibling(above, m_model))
                VerticalLine(dc, cell.left + 16 * above->GetIndent() - 8, cell.top, cell.bottom);
        }
        // This node's own link: from above, on down to a next sibling, and
        // across to its marker.
        if (node->GetParentItem() != nullptr || HasPrevSibling(node, m_model))
            VerticalLine(dc, x, cell.top, middle);
        if (HasNextSibling(node, m_model))
            VerticalLine(dc, x, middle, cell.bottom);
        dc.MoveTo(x, middle);
        dc.LineTo(x + 13, middle);
        // Down to the children shown below.
        if (!node->IsCollapsed() && node->NumChildren() > 0)
            VerticalLine(dc, x + 16, cell.top + 11, cell.bottom);
    }
    DrawSign(dc, node, cell);
}

void CTreeGridCtrl::DrawTreeItem2(CDC& dc, const CTreeItem* node, const CRect& cell)
{
    DrawSign(dc, node, cell);
}

void CTreeGridCtrl::DrawSign(CDC& dc, const CTreeItem* node, const CRect& cell)
{
    const int indent = node->GetIndent();
    if (node->ItemHasChildren()) {
        const CRect sign = SignRect(cell, indent);
        {
            CSelectScope pen(dc, m_psRectangle);
            CSelectScope brush(dc, m_brushErase);
            dc.Rectangle(sign);
        }
        CSelectScope pen(dc, m_psPlusMinus);
        const int cx = sign.left + 5, cy = sign.top + 5;
        dc.MoveTo(cx - 2, cy);
        dc.LineTo(cx + 3, cy);
        if (node->IsCollapsed()) {
            dc.MoveTo(cx, cy - 2);
            dc.LineTo(cx, cy + 3);
        }
    }
    // The node's marker, or its check box; then its image.
    const int markerX = cell.left + 16 * indent + 8;
    if (m_bCheckBoxes) {
        CRect box = CheckBoxRect(cell, indent);
        dc.DrawFrameControl(&box, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT | (node->GetData()->GetCheck() ? DFCS_CHECKED : 0));
    } else {
        dc.FillSolidRect(CRect(markerX - 3, cell.top + 5, markerX + 3, cell.top + 11), RGB(190, 190, 190));
    }
    const HIMAGELIST images = GetImageList(LVSIL_SMALL);
    const int image = images != nullptr ? GetIcon(node) : -1;
    if (image >= 0)
        ImageList_Draw(images, image, dc, cell.left + 16 * indent, (cell.top + cell.bottom - m_cyImage) / 2, ILD_TRANSPARENT);
}

// The dragged row's label on the selection colour, as wide as the text.
HIMAGELIST CTreeGridCtrl::CreateDragImageEx(int row)
{
    const CTreeItem* node = GetTreeItem(row);
    if (node == nullptr || m_hWnd == nullptr)
        return nullptr;
    CClientDC screen(m_hWnd);
    CDC dc;
    if (!dc.CreateCompatibleDC(screen))
        return nullptr;
    CSelectScope font(dc, GetFont());
    const CString& text = node->GetData()->GetItemText();
    const CSize extent = dc.GetTextExtent(text, text.GetLength());
    const CRect image(0, 0, extent.cx + 8, m_nRowHeight > 0 ? m_nRowHeight : extent.cy + 4);
    CBitmap bitmap;
    if (!bitmap.CreateCompatibleBitmap(screen, image.Width(), image.Height()))
        return nullptr;
    {
        CSelectScope selected(dc, bitmap);
        dc.FillSolidRect(image, ::GetSysColor(COLOR_HIGHLIGHT));
        dc.SetTextColor(::GetSysColor(COLOR_HIGHLIGHTTEXT));
        dc.SetBkMode(TRANSPARENT);
        CRect label = image;
        label.left += 4;
        dc.DrawText(text, &label, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    HIMAGELIST list = ImageList_Create(image.Width(), image.Height(), ILC_COLOR24, 1, 0);
    if (list != nullptr && ImageList_Add(list, bitmap, nullptr) < 0) {
        ImageList_Destroy(list);
        list = nullptr;
    }
    return list;
}
