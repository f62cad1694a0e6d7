#include "controls/TreeGridModel.h"

#include <algorithm>
#include <cstring>

CTreeGridItem::~CTreeGridItem() = default;

CTreeGridItem* CTreeGridItem::GetChild(int index) const
{
    if (index < 0 || index >= NumChildren())
        return nullptr;
    return m_listChild[static_cast<size_t>(index)];
}

BOOL CTreeGridItem::IsChildOf(const CTreeGridItem* ancestor) const
{
    for (const CTreeGridItem* node = this; node != nullptr; node = node->m_pParent) {
        if (node == ancestor)
            return TRUE;
    }
    return FALSE;
}

CTreeGridModel::~CTreeGridModel()
{
    for (CTreeGridItem* root : m_roots)
        Destroy(root, TRUE);
}

void CTreeGridModel::Destroy(CTreeGridItem* node, BOOL deleteData)
{
    for (CTreeGridItem* child : node->m_listChild)
        Destroy(child, deleteData);
    if (deleteData)
        delete node->m_lpNodeInfo;
    delete node;
}

CTreeGridItem* CTreeGridModel::NewNode(CTreeGridItem* parent, CTreeGridItemInfo* info)
{
    auto* node = new CTreeGridItem;
    node->m_lpNodeInfo = info != nullptr ? info : new CTreeGridItemInfo;
    node->m_pParent = parent;
    node->m_nIndent = parent != nullptr ? parent->m_nIndent + 1 : 1;
    (parent != nullptr ? parent->m_listChild : m_roots).push_back(node);
    return node;
}

CTreeGridItem* CTreeGridModel::InsertRootItem(CTreeGridItemInfo* info)
{
    CTreeGridItem* node = NewNode(nullptr, info);
    ShowRows(GetRowCount(), {node});
    return node;
}

CTreeGridItem* CTreeGridModel::InsertItem(CTreeGridItem* parent, CTreeGridItemInfo* info, BOOL update)
{
    if (parent == nullptr) {
        delete info;
        return nullptr;
    }
    if (!update) {
        Collapse(parent);
        parent->m_bHideChildren = TRUE;
        return NewNode(parent, info);
    }
    CTreeGridItem* node = NewNode(parent, info);
    const int row = AppendedChildRow(node);
    if (row >= 0)
        ShowRows(row, {node});
    return node;
}

int CTreeGridModel::AppendedChildRow(const CTreeGridItem* node) const
{
    // Under a parent on show with its children on show, the new last child
    // follows the last shown node of its previous sibling's subtree (or the
    // parent itself): its row comes from the rows the nodes keep, without
    // walking the tree.
    const CTreeGridItem* parent = node->m_pParent;
    if (parent->m_nIndex < 0 || parent->m_bHideChildren)
        return NodeToIndex(node);
    const CTreeGridItem* last = parent;
    const size_t children = parent->m_listChild.size();
    if (children >= 2) {
        last = parent->m_listChild[children - 2];
        while (!last->m_bHideChildren && !last->m_listChild.empty())
            last = last->m_listChild.back();
    }
    return last->m_nIndex + 1;
}

void CTreeGridModel::SetChildrenFlag(CTreeGridItem* node, int flag)
{
    if (node == nullptr)
        return;
    node->m_bSetChildFlag = flag;
    if (flag != -1 && node->m_listChild.empty())
        node->m_bHideChildren = TRUE;
}

void CTreeGridModel::CollectShown(const CTreeGridItem* node, std::vector<CTreeGridItem*>& out) const
{
    for (CTreeGridItem* child : node->m_listChild) {
        out.push_back(child);
        if (!child->m_bHideChildren)
            CollectShown(child, out);
    }
}

void CTreeGridModel::ShowRows(int row, const std::vector<CTreeGridItem*>& nodes)
{
    for (size_t i = 0; i < nodes.size(); ++i) {
        const int at = row + static_cast<int>(i);
        m_rows.insert(m_rows.begin() + at, nodes[i]);
        nodes[i]->m_nIndex = at;
        if (m_view != nullptr)
            m_view->InsertRow(at, nodes[i]);
    }
    Renumber(row);
}

void CTreeGridModel::HideRows(int row, int count)
{
    for (int i = 0; i < count; ++i) {
        m_rows[static_cast<size_t>(row)]->m_nIndex = -1;
        m_rows.erase(m_rows.begin() + row);
        if (m_view != nullptr)
            m_view->DeleteRow(row);
    }
    Renumber(row);
}

void CTreeGridModel::Renumber(int from)
{
    for (int i = from; i < GetRowCount(); ++i)
        m_rows[static_cast<size_t>(i)]->m_nIndex = i;
}

BOOL CTreeGridModel::Expand(CTreeGridItem* node)
{
    if (node == nullptr || !node->ItemHasChildren() || !node->m_bHideChildren)
        return FALSE;
    node->m_bHideChildren = FALSE;
    if (node->m_nIndex >= 0) {
        std::vector<CTreeGridItem*> shown;
        CollectShown(node, shown);
        ShowRows(node->m_nIndex + 1, shown);
    }
    return TRUE;
}

void CTreeGridModel::MarkCollapsed(CTreeGridItem* node)
{
    if (node->m_bHideChildren || !node->ItemHasChildren())
        return;
    node->m_bHideChildren = TRUE;
    for (CTreeGridItem* child : node->m_listChild)
        MarkCollapsed(child);
}

BOOL CTreeGridModel::Collapse(CTreeGridItem* node)
{
    if (node == nullptr || node->m_bHideChildren || !node->ItemHasChildren())
        return FALSE;
    if (node->m_nIndex >= 0) {
        std::vector<CTreeGridItem*> shown;
        CollectShown(node, shown);
        HideRows(node->m_nIndex + 1, static_cast<int>(shown.size()));
    }
    MarkCollapsed(node);
    return TRUE;
}

void CTreeGridModel::ExpandAll(CTreeGridItem* node)
{
    if (node == nullptr)
        return;
    Expand(node);
    for (CTreeGridItem* child : node->m_listChild)
        ExpandAll(child);
}

BOOL CTreeGridModel::ExpandUntil(CTreeGridItem* start, CTreeGridItem* target)
{
    if (start == nullptr || target == nullptr || target == start || !target->IsChildOf(start))
        return FALSE;
    std::vector<CTreeGridItem*> chain;
    for (CTreeGridItem* node = target->m_pParent; node != nullptr && node->m_pParent != nullptr; node = node->m_pParent)
        chain.push_back(node);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        Expand(*it);
    return TRUE;
}

namespace {

void SortByText(std::vector<CTreeGridItem*>& nodes)
{
    std::stable_sort(nodes.begin(), nodes.end(), [](const CTreeGridItem* a, const CTreeGridItem* b) {
        return std::strcmp(a->GetData()->GetItemText(), b->GetData()->GetItemText()) < 0;
    });
}

} // namespace

void CTreeGridModel::SortLevels(std::vector<CTreeGridItem*>& children, BOOL recursive)
{
    SortByText(children);
    if (recursive) {
        for (CTreeGridItem* child : children)
            SortLevels(child->m_listChild, TRUE);
    }
}

void CTreeGridModel::Sort(CTreeGridItem* node, BOOL recursive)
{
    // The rows below the node (every row for the roots) are taken out and
    // put back in the new order.
    std::vector<CTreeGridItem*> shown;
    int first = 0;
    if (node == nullptr) {
        shown = m_rows;
    } else if (node->m_nIndex >= 0 && !node->m_bHideChildren) {
        CollectShown(node, shown);
        first = node->m_nIndex + 1;
    }
    HideRows(first, static_cast<int>(shown.size()));

    SortLevels(node != nullptr ? node->m_listChild : m_roots, recursive);

    shown.clear();
    if (node == nullptr) {
        for (CTreeGridItem* root : m_roots) {
            shown.push_back(root);
            if (!root->m_bHideChildren)
                CollectShown(root, shown);
        }
    } else if (first > 0) {
        CollectShown(node, shown);
    }
    ShowRows(first, shown);
}

int CTreeGridModel::ShownBelow(const CTreeGridItem* node) const
{
    if (node->m_nIndex < 0 || node->m_bHideChildren)
        return 0;
    std::vector<CTreeGridItem*> shown;
    CollectShown(node, shown);
    return static_cast<int>(shown.size());
}

void CTreeGridModel::Delete(CTreeGridItem* node, BOOL deleteData)
{
    if (node == nullptr)
        return;
    std::vector<CTreeGridItem*>& siblings = node->m_pParent != nullptr ? node->m_pParent->m_listChild : m_roots;
    const auto found = std::find(siblings.begin(), siblings.end(), node);
    if (found == siblings.end())
        return; // not a node of this tree
    if (node->m_nIndex >= 0)
        HideRows(node->m_nIndex, 1 + ShownBelow(node));
    siblings.erase(std::find(siblings.begin(), siblings.end(), node));
    Destroy(node, deleteData);
}

void CTreeGridModel::DeleteAll()
{
    HideRows(0, GetRowCount());
    for (CTreeGridItem* root : m_roots)
        Destroy(root, TRUE);
    m_roots.clear();
}

void CTreeGridModel::DeleteChildren(CTreeGridItem* node)
{
    while (node != nullptr && !node->m_listChild.empty())
        Delete(node->m_listChild.back(), TRUE);
}

void CTreeGridModel::SetData(CTreeGridItem* node, CTreeGridItemInfo* info)
{
    if (node == nullptr || info == node->m_lpNodeInfo)
        return;
    delete node->m_lpNodeInfo;
    node->m_lpNodeInfo = info != nullptr ? info : new CTreeGridItemInfo;
}

BOOL CTreeGridModel::CanDrop(const CTreeGridItem* dragged, const CTreeGridItem* target)
{
    return dragged != nullptr && target != nullptr && dragged->m_pParent != nullptr && target != dragged->m_pParent &&
           !target->IsChildOf(dragged);
}

CTreeGridItem* CTreeGridModel::MoveItem(CTreeGridItem* dragged, CTreeGridItem* target,
                                        const std::function<CTreeGridItemInfo*(const CTreeGridItemInfo&)>& copyInfo)
{
    if (!CanDrop(dragged, target))
        return nullptr;
    CTreeGridItem* moved = InsertItem(target, copyInfo(*dragged->m_lpNodeInfo), TRUE);
    CopyChildren(dragged, moved, copyInfo);
    moved->m_bSetChildFlag = dragged->m_bSetChildFlag;
    Delete(dragged, TRUE);
    return moved;
}

void CTreeGridModel::CopyChildren(const CTreeGridItem* from, CTreeGridItem* to,
                                  const std::function<CTreeGridItemInfo*(const CTreeGridItemInfo&)>& copyInfo)
{
    for (const CTreeGridItem* child : from->m_listChild) {
        CTreeGridItem* copy = InsertItem(to, copyInfo(*child->m_lpNodeInfo), FALSE);
        copy->m_bSetChildFlag = child->m_bSetChildFlag;
        CopyChildren(child, copy, copyInfo);
    }
}

int CTreeGridModel::NodeToIndex(const CTreeGridItem* node) const
{
    // Every shown node keeps its row in step with the rows, so no walk is
    // needed.
    return node != nullptr ? node->m_nIndex : -1;
}

CTreeGridItem* CTreeGridModel::GetRowNode(int row) const
{
    if (row < 0 || row >= GetRowCount())
        return nullptr;
    return m_rows[static_cast<size_t>(row)];
}

int CTreeGridModel::GetCount() const
{
    std::vector<CTreeGridItem*> all;
    PreOrder(nullptr, FALSE, all);
    return static_cast<int>(all.size());
}

CTreeGridItem* CTreeGridModel::GetRootItem(int n) const
{
    if (n < 0 || n >= GetRootCount())
        return nullptr;
    return m_roots[static_cast<size_t>(n)];
}

int CTreeGridModel::GetRootIndex(const CTreeGridItem* root) const
{
    const auto found = std::find(m_roots.begin(), m_roots.end(), root);
    return found == m_roots.end() ? -1 : static_cast<int>(found - m_roots.begin());
}

void CTreeGridModel::PreOrder(CTreeGridItem* start, BOOL expandedOnly, std::vector<CTreeGridItem*>& out) const
{
    std::vector<CTreeGridItem*> stack;
    if (start != nullptr)
        stack.push_back(start);
    else
        stack.assign(m_roots.rbegin(), m_roots.rend());
    while (!stack.empty()) {
        CTreeGridItem* at = stack.back();
        stack.pop_back();
        out.push_back(at);
        if (!expandedOnly || !at->m_bHideChildren)
            stack.insert(stack.end(), at->m_listChild.rbegin(), at->m_listChild.rend());
    }
}

// The sibling after (step 1) or before (step -1) the node; null at the end.
CTreeGridItem* CTreeGridModel::Sibling(const CTreeGridItem* node, int step) const
{
    const std::vector<CTreeGridItem*>& siblings = node->m_pParent != nullptr ? node->m_pParent->m_listChild : m_roots;
    const auto found = std::find(siblings.begin(), siblings.end(), node);
    const auto index = (found - siblings.begin()) + step;
    return index >= 0 && index < static_cast<std::ptrdiff_t>(siblings.size()) ? siblings[static_cast<size_t>(index)] : nullptr;
}

CTreeGridItem* CTreeGridModel::GetNext(CTreeGridItem* start, CTreeGridItem* node, BOOL init, BOOL expandedOnly) const
{
    if (node == nullptr || (start != nullptr && !node->IsChildOf(start)))
        return init ? node : nullptr;
    if (!node->m_listChild.empty() && (!expandedOnly || !node->m_bHideChildren))
        return node->m_listChild.front();
    // Up until a node with a next sibling, without leaving the start's subtree.
    for (const CTreeGridItem* at = node; at != start; at = at->m_pParent) {
        if (CTreeGridItem* next = Sibling(at, 1))
            return next;
        if (at->m_pParent == nullptr)
            break;
    }
    return init ? node : nullptr;
}

CTreeGridItem* CTreeGridModel::GetPrev(CTreeGridItem* start, CTreeGridItem* node, BOOL init, BOOL expandedOnly) const
{
    if (node == nullptr || node == start || (start != nullptr && !node->IsChildOf(start)))
        return init ? node : nullptr;
    CTreeGridItem* prev = Sibling(node, -1);
    if (prev == nullptr)
        return node->m_pParent != nullptr ? node->m_pParent : (init ? node : nullptr);
    // The last node of the previous sibling's subtree.
    while (!prev->m_listChild.empty() && (!expandedOnly || !prev->m_bHideChildren))
        prev = prev->m_listChild.back();
    return prev;
}
