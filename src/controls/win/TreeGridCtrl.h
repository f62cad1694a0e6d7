// CTreeGridCtrl: a report list that shows a tree. Each row is one visible
// node; the first column carries the node's indentation, connecting lines
// and expand/collapse sign, the other columns its cell texts. The nodes
// (CTreeItem, owned by the control) and their rows are kept in step by the
// tree model; each node's content is a CTreeGridItemInfo.
//
// Input: a click on a sign, a double click, and the keypad keys "*", "+"
// and "-" expand and collapse; Right and Left move the focus cell; Space
// toggles the check; Delete removes the selected node. Nodes can be dragged
// with the mouse under another parent.
//
// Building and updating a tree of accounts, positions and orders:
//
//     CTreeGridCtrl grid;
//     grid.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, rect, &parent, id);
//     grid.InsertColumn(0, "Account", LVCFMT_LEFT, 150);
//     grid.InsertColumn(1, "Qty", LVCFMT_RIGHT, 60);
//     auto* info = new CTreeGridItemInfo;   // owned by the grid from here
//     info->SetItemText("ACC1");
//     CTreeGridCtrl::CTreeItem* account = grid.InsertRootItem(info);
//     CTreeGridCtrl::CTreeItem* position = grid.InsertItem(account);  // shown at once
//     grid.SetCellText(position, 0, "IBM");
//     grid.SetCellText(position, 1, "100");  // later updates: one cell, no rows rebuilt
#pragma once

#include "OrvApi.h"
#include "controls/TreeGridModel.h"
#include "framework/Map.h"
#include "framework/win/DC.h"
#include "framework/win/Gdi.h"
#include "framework/win/ListCtrl.h"

#include <vector>


class ORV_API CTreeGridCtrl : public CListCtrl, private ITreeGridRows {
public:
    using CTreeItem = CTreeGridItem;
    // The timer that scrolls while a node is dragged, and its period.
    enum : UINT_PTR { kDragScrollTimer = 1 };
    enum : UINT { kDragScrollMs = 300 };

    // Makes the pens and brush it draws with; throws CResourceException
    // when the system cannot make them.
    CTreeGridCtrl();
    ~CTreeGridCtrl() override;

    // A report list with single selection, selection always shown, shared
    // image lists and owner-drawn fixed rows, whatever else `style` asks.
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;

    // ---- building the tree. Infos handed in are owned by the control; a
    // null info gets one from CreateItemInfo.
    CTreeItem* InsertRootItem(CTreeGridItemInfo* info = nullptr);
    // A new last child of parent, shown at once when the parent's children
    // are on show. Without update the list is left alone and the parent is
    // marked collapsed (see CTreeGridModel::InsertItem), for building a
    // subtree before it is first expanded. Many shown inserts at once go
    // faster with redrawing off around them (SetRedraw), as in any list.
    CTreeItem* InsertItem(CTreeItem* parent, CTreeGridItemInfo* info = nullptr, BOOL update = TRUE);
    virtual CTreeGridItemInfo* CreateItemInfo();
    // A new info with the texts, controls and colours of `info`.
    virtual CTreeGridItemInfo* CopyData(const CTreeGridItemInfo* info);
    // Gives the node another info (the old one is deleted) and, with update,
    // rewrites its row.
    void UpdateData(CTreeItem* node, CTreeGridItemInfo* info, BOOL update = FALSE);
    // Sets one cell's text (column 0 is the label) in the node's info and,
    // when the node is on show, repaints just that cell. The list asks the
    // nodes for its texts, so no row is rewritten. FALSE for a null node or
    // a negative column.
    BOOL SetCellText(CTreeItem* node, int column, const CString& text);
    // Deletes the node's children with their rows; the node stays.
    void CleanMe(CTreeItem* node);
    CTreeGridItemInfo* GetData(const CTreeItem* node) const { return node != nullptr ? node->GetData() : nullptr; }
    int GetIndent(const CTreeItem* node) const { return node->GetIndent(); }
    int GetCurIndex(const CTreeItem* node) const { return node->GetCurIndex(); }
    CTreeItem* GetParentItem(const CTreeItem* node) const { return node->GetParentItem(); }
    void SetChildrenFlag(CTreeItem* node, int flag);
    // Collapses (hide) or expands the node.
    void Hide(CTreeItem* node, BOOL hide);
    BOOL IsCollapsed(const CTreeItem* node) const { return node->IsCollapsed(); }
    BOOL IsRoot(const CTreeItem* node) const { return node->IsRoot(); }
    // Whether node lies in the subtree of parent (parent itself included).
    BOOL IsChildOf(const CTreeItem* parent, const CTreeItem* node) const { return node->IsChildOf(parent); }
    BOOL ItemHasChildren(const CTreeItem* node) const { return node->ItemHasChildren(); }
    int NumChildren(const CTreeItem* node) const { return node->NumChildren(); }

    // ---- navigation. A position stays valid until the list it walks
    // changes.
    POSITION GetRootHeadPosition() const;
    POSITION GetRootTailPosition() const;
    CTreeItem* GetNextRoot(POSITION& position) const;
    CTreeItem* GetPrevRoot(POSITION& position) const;
    CTreeItem* GetRootItem(int n) const { return m_model.GetRootItem(n); }
    int GetRootIndex(const CTreeItem* root) const { return m_model.GetRootIndex(root); }
    int GetRootCount() const { return m_model.GetRootCount(); }
    POSITION GetHeadPosition(const CTreeItem* node) const;
    POSITION GetTailPosition(const CTreeItem* node) const;
    CTreeItem* GetNextChild(const CTreeItem* node, POSITION& position) const;
    CTreeItem* GetPrevChild(const CTreeItem* node, POSITION& position) const;
    CTreeItem* GetNext(CTreeItem* start, CTreeItem* node, BOOL init = TRUE, BOOL expandedOnly = TRUE) const;
    CTreeItem* GetPrev(CTreeItem* start, CTreeItem* node, BOOL init = TRUE, BOOL expandedOnly = TRUE) const;
    // The node of a row; null outside the rows.
    CTreeItem* GetTreeItem(int row) const { return m_model.GetRowNode(row); }
    int NodeToIndex(const CTreeItem* node) const { return m_model.NodeToIndex(node); }
    CTreeItem* GetSelectedItem() const;
    // Every node, shown or not.
    int GetCount() const { return m_model.GetCount(); }
    int GetNumCol() const { return GetColumnCount(); }
    // The place of the column in the header's display order; -1 when none.
    int IndexToOrder(int column) const;
    // The columns in the header's display order; empty when it cannot be read.
    std::vector<int> ColumnOrder() const;
    // The focus cell's column.
    int GetCurrentColumn() const { return m_CurSubItem; }
    // While a node is dragged with the mouse: the dragged row and the row
    // under the cursor that would take it (-1 for none).
    BOOL IsDragging() const { return m_bIsDragging; }
    int GetDragRow() const { return m_nDragItem; }
    int GetDropTargetRow() const { return m_nDragTarget; }

    // ---- changing the view
    BOOL Expand(CTreeItem* node, int row);
    void Collapse(CTreeItem* node);
    // Expands the node and everything below it; row receives its row.
    void ExpandAll(CTreeItem* node, int& row);
    void ExpandUntil(CTreeItem* start, CTreeItem* target);
    // Shows the node (expanding its ancestors), selects and focuses its row
    // and scrolls it into view. FALSE for null.
    BOOL SelectNode(CTreeItem* node);
    // Orders the node's children by label (the roots for null); their rows
    // follow.
    void Sort(CTreeItem* node, BOOL recursive);
    // Scrolls horizontally so that the column starts at the left edge when
    // it is not wholly inside the client area.
    void MakeColumnVisible(int column);
    // Rewrites every row from the tree, after infos were changed in place.
    void InternaleUpdateTree();
    // Draw the tree part without lines (DrawTreeItem2), and whether clicks
    // select rows.
    void SetHierarchyOnly(BOOL on) { m_bHierarchyOnly = on; }
    void EnableSelect(BOOL on) { m_bSelectEnabled = on; }
    // Check boxes drawn in the tree part, toggled by click and Space.
    void SetCheckBoxes(BOOL on);
    BOOL HasCheckBoxes() const { return m_bCheckBoxes; }
    int GetRowHeight() const { return m_nRowHeight; }

    // ---- removing
    // Removes the node and its subtree with their rows; with deleteData the
    // infos go too.
    void Delete(CTreeItem* node, BOOL deleteData = TRUE);
    void DeleteRootItem(CTreeItem* root) { Delete(root, TRUE); }
    // Removes the node of the row with its subtree, then selects the row
    // that takes its place, or the one above when none does.
    virtual BOOL DeleteItemEx(CTreeItem* node, int row);
    virtual void DeleteAll();

    // ---- hooks. Those answering a boolean default to TRUE; FALSE cancels.
    // The image of the node in the small image list.
    virtual int GetIcon(const CTreeItem* node);
    // The fill of the focus cell.
    virtual COLORREF GetCellRGB();
    // After an in-place edit: stores the text in the info and the row.
    virtual void OnUpdateListViewItem(CTreeItem* node, LVITEMA* item);
    virtual void OnControlLButtonDown(UINT flags, CPoint point, LVHITTESTINFO& hit);
    // The image shown while the row is dragged, owned by the caller; null
    // for none.
    virtual HIMAGELIST CreateDragImageEx(int row);
    virtual BOOL OnItemExpanding(CTreeItem* node, int row);
    virtual BOOL OnItemExpanded(CTreeItem* node, int row);
    virtual BOOL OnCollapsing(CTreeItem* node);
    virtual BOOL OnItemCollapsed(CTreeItem* node);
    virtual BOOL OnDeleteItem(CTreeItem* node, int row);
    virtual BOOL OnVKMultiply(CTreeItem* node, int row);
    virtual BOOL OnVkSubTract(CTreeItem* node, int row);
    virtual BOOL OnVKAdd(CTreeItem* node, int row);
    virtual BOOL OnVkReturn();
    virtual BOOL OnItemLButtonDown(LVHITTESTINFO& hit);

    // Owner drawing.
    void DrawItem(DRAWITEMSTRUCT* item) override;
    void MeasureItem(MEASUREITEMSTRUCT* item) override;

    // The sign's box of a node at the indent in a row rectangle, and the x
    // where the label starts.
    static CRect SignRect(const RECT& row, int indent);
    static int LabelLeft(const RECT& row, int indent) { return row.left + (indent + 1) * 16 + 2; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void OnKeyDown(UINT key, UINT repeat, UINT flags) override;
    UINT OnGetDlgCode() override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnLButtonDblClk(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnTimer(UINT_PTR id) override;
    void OnCaptureChanged(HWND newCapture) override;

    // The tree part of column 0: lines and sign, and the hierarchy-only form.
    void DrawTreeItem(CDC& dc, const CTreeItem* node, const CRect& cell);
    void DrawTreeItem2(CDC& dc, const CTreeItem* node, const CRect& cell);
    // Copies the dragged node with its subtree under the target and deletes
    // the original; FALSE when the drop is refused.
    BOOL DoDragDrop(CTreeItem* dragged, CTreeItem* target);

    int m_cxImage { 16 };
    int m_cyImage { 16 };
    int m_CurSubItem { 0 };
    int m_nDragTarget { -1 };
    int m_nDragItem { -1 };
    BOOL m_bIsDragging { FALSE };
    BOOL m_bHierarchyOnly { FALSE };
    BOOL m_bSelectEnabled { TRUE };

private:
    void InsertRow(int row, CTreeItem* node) override;
    void DeleteRow(int row) override;
    // The text of a cell, from the row's node; empty outside the rows and
    // the columns.
    CString CellText(int row, int column) const;
    void DrawSign(CDC& dc, const CTreeItem* node, const CRect& cell);
    void DrawCheckBox(CDC& dc, const CTreeItem* node, const CRect& cell);
    // The cell's rectangle in the row; column 0 ends at its own width. Empty
    // when the list cannot say.
    CRect CellRect(int row, int column, const RECT& rowRect) const;
    void DrawCell(CDC& dc, const CRect& cell, const CTreeItem* node, int column, BOOL selected, BOOL focusCell);
    void ToggleExpansion(CTreeItem* node, int row);
    void ToggleCheck(CTreeItem* node, int row);
    void MoveFocusCell(int step);
    void SetDropTarget(int row);
    void EndDrag(BOOL drop, CPoint point);
    void RemeasureRows();
    CRect CheckBoxRect(const RECT& row, int indent) const;

    CTreeGridModel m_model;
    CPen m_psLine;      // connecting lines, RGB 192,192,192
    CPen m_psRectangle; // sign box, RGB 198,198,198
    CPen m_psPlusMinus; // the sign's strokes, black
    CBrush m_brushErase; // the sign box's white fill
    CDrawBuffer m_drawBuffer; // rows are drawn off-screen in it
    CTreeItem* m_pDragNode { nullptr };
    HIMAGELIST m_hDragImage { nullptr };
    BOOL m_bCheckBoxes { FALSE };
    int m_nRowHeight { 0 };
};
