// The tree behind the tree grid, without windows: CTreeGridItem (one node),
// ITreeGridRows (the rows a view shows) and CTreeGridModel (the nodes and
// the visible rows, kept in step).
//
// The visible rows are the nodes in pre-order: a root, then, unless it is
// collapsed, its children's subtrees, then the next root. Every change the
// model makes to that sequence is told to its row view, one row at a time,
// so that a list view can mirror it; the view's row i always shows
// GetRowNode(i). Visible nodes know their row (GetCurIndex); hidden ones
// answer -1.
#pragma once

#include "OrvApi.h"
#include "controls/TreeGridItemInfo.h"

#include <functional>
#include <vector>

class ORV_API CTreeGridItem {
public:
    CTreeGridItem(const CTreeGridItem&) = delete;
    CTreeGridItem& operator=(const CTreeGridItem&) = delete;

    CTreeGridItemInfo* GetData() const { return m_lpNodeInfo; }
    CTreeGridItem* GetParentItem() const { return m_pParent; }
    // 1 for a root; each level down adds 1.
    int GetIndent() const { return m_nIndent; }
    // The node's row while it is visible, else -1.
    int GetCurIndex() const { return m_nIndex; }
    BOOL IsCollapsed() const { return m_bHideChildren; }
    BOOL IsRoot() const { return m_pParent == nullptr; }
    // Children, or a children flag other than -1 (see SetChildrenFlag).
    BOOL ItemHasChildren() const { return !m_listChild.empty() || m_bSetChildFlag != -1; }
    int NumChildren() const { return static_cast<int>(m_listChild.size()); }
    CTreeGridItem* GetChild(int index) const;
    int GetChildrenFlag() const { return m_bSetChildFlag; }
    // Whether this node lies in the subtree of `ancestor` (itself included).
    BOOL IsChildOf(const CTreeGridItem* ancestor) const;

private:
    friend class CTreeGridModel;
    CTreeGridItem() = default;
    ~CTreeGridItem();

    std::vector<CTreeGridItem*> m_listChild;
    CTreeGridItem* m_pParent { nullptr };
    CTreeGridItemInfo* m_lpNodeInfo { nullptr };
    BOOL m_bHideChildren { FALSE };
    int m_nIndex { -1 };
    int m_nIndent { -1 };
    int m_bSetChildFlag { -1 };
};

// The rows of a view: each call changes one row. The node carries what the
// row shows (text, indent, check, cell texts).
class ITreeGridRows {
public:
    virtual void InsertRow(int row, CTreeGridItem* node) = 0;
    virtual void DeleteRow(int row) = 0;

protected:
    ~ITreeGridRows() = default;
};

class ORV_API CTreeGridModel {
public:
    CTreeGridModel() = default;
    // Deletes every node and info; the row view is not told.
    ~CTreeGridModel();

    CTreeGridModel(const CTreeGridModel&) = delete;
    CTreeGridModel& operator=(const CTreeGridModel&) = delete;

    // The view told of every row change; null for none.
    void SetRowView(ITreeGridRows* view) { m_view = view; }

    // A new last root with the info (owned from now on; null makes an empty
    // one); its row is appended.
    CTreeGridItem* InsertRootItem(CTreeGridItemInfo* info);
    // A new last child of `parent`. With update, it gets its row when it is
    // visible. Without, no row is added and the parent is marked collapsed;
    // when the parent's children were on show, their rows are hidden first,
    // so that the rows still match the tree. Null parent: null.
    CTreeGridItem* InsertItem(CTreeGridItem* parent, CTreeGridItemInfo* info, BOOL update);
    // Any value other than -1 makes the node count as having children (for
    // children that are added when it is first expanded); a node that has
    // none yet is marked collapsed, so that it shows a plus sign.
    void SetChildrenFlag(CTreeGridItem* node, int flag);

    // Shows the children of a collapsed node that has children, and the
    // subtrees below those of them that are not collapsed. A hidden node
    // only loses its collapsed mark. FALSE when nothing changed.
    BOOL Expand(CTreeGridItem* node);
    // Hides the node's descendants and marks it and every descendant with
    // children on show collapsed. FALSE when nothing changed.
    BOOL Collapse(CTreeGridItem* node);
    // Expands the node and every node below it.
    void ExpandAll(CTreeGridItem* node);
    // Expands the ancestors of `target` below the root, top down, when it
    // lies under `start`; FALSE when it does not.
    BOOL ExpandUntil(CTreeGridItem* start, CTreeGridItem* target);
    // Orders the node's children (the roots for null) by item text, case
    // sensitive, keeping equal texts in their order; with recursive, every
    // level below too. Rows on show are rebuilt in the new order.
    void Sort(CTreeGridItem* node, BOOL recursive);

    // Removes the node and its subtree with their rows. With deleteData the
    // infos are deleted too; without, they stay the caller's.
    void Delete(CTreeGridItem* node, BOOL deleteData = TRUE);
    void DeleteAll();
    // Removes the node's children with their subtrees and rows.
    void DeleteChildren(CTreeGridItem* node);
    // Gives the node another info (null makes an empty one) and deletes
    // the old one.
    void SetData(CTreeGridItem* node, CTreeGridItemInfo* info);

    // Whether the dragged node may be dropped under the target: never a
    // root, never under its current parent, never inside its own subtree.
    static BOOL CanDrop(const CTreeGridItem* dragged, const CTreeGridItem* target);
    // Moves the dragged node with its subtree under the target as copies
    // made by `copyInfo` (the moved node is collapsed, the target keeps its
    // state), then deletes the dragged subtree. Returns the new node, or
    // null when the drop is refused (nothing changes).
    CTreeGridItem* MoveItem(CTreeGridItem* dragged, CTreeGridItem* target,
                            const std::function<CTreeGridItemInfo*(const CTreeGridItemInfo&)>& copyInfo);

    // The row of the node counted through the expanded part of the tree;
    // -1 when it is hidden or null.
    int NodeToIndex(const CTreeGridItem* node) const;
    int GetRowCount() const { return static_cast<int>(m_rows.size()); }
    // The node of a row; null outside the rows.
    CTreeGridItem* GetRowNode(int row) const;
    // Every node.
    int GetCount() const;

    int GetRootCount() const { return static_cast<int>(m_roots.size()); }
    // The root at n; null outside.
    CTreeGridItem* GetRootItem(int n) const;
    // The place of the root among the roots, -1 for a node that is none.
    int GetRootIndex(const CTreeGridItem* root) const;

    // The node after (GetNext) or before (GetPrev) `node` in pre-order of
    // the subtree of `start` (of all roots for null), skipping the
    // descendants of collapsed nodes when expandedOnly is set. Past the end
    // they answer null, or `node` itself when init is set.
    CTreeGridItem* GetNext(CTreeGridItem* start, CTreeGridItem* node, BOOL init = TRUE, BOOL expandedOnly = TRUE) const;
    CTreeGridItem* GetPrev(CTreeGridItem* start, CTreeGridItem* node, BOOL init = TRUE, BOOL expandedOnly = TRUE) const;

private:
    CTreeGridItem* NewNode(CTreeGridItem* parent, CTreeGridItemInfo* info);
    // The row of a node just appended as its parent's last child; -1 when
    // it is not shown.
    int AppendedChildRow(const CTreeGridItem* node) const;
    // The nodes shown below a visible, expanded node, in row order.
    void CollectShown(const CTreeGridItem* node, std::vector<CTreeGridItem*>& out) const;
    void ShowRows(int row, const std::vector<CTreeGridItem*>& nodes);
    void HideRows(int row, int count);
    void MarkCollapsed(CTreeGridItem* node);
    // How many rows the node's visible descendants fill.
    int ShownBelow(const CTreeGridItem* node) const;
    CTreeGridItem* Sibling(const CTreeGridItem* node, int step) const;
    static void SortLevels(std::vector<CTreeGridItem*>& children, BOOL recursive);
    void Renumber(int from);
    void PreOrder(CTreeGridItem* start, BOOL expandedOnly, std::vector<CTreeGridItem*>& out) const;
    void CopyChildren(const CTreeGridItem* from, CTreeGridItem* to,
                      const std::function<CTreeGridItemInfo*(const CTreeGridItemInfo&)>& copyInfo);
    static void Destroy(CTreeGridItem* node, BOOL deleteData);

    std::vector<CTreeGridItem*> m_roots;
    std::vector<CTreeGridItem*> m_rows;
    ITreeGridRows* m_view { nullptr };
};
