// Applies a random sequence of tree operations to the tree grid's model and
// checks, after each, that the rows a view would show (rebuilt from the
// row changes the model reports) are the pre-order of the expanded tree,
// that every node knows its row, and that links and indents agree.
// Each operation takes three bytes: the operation and two node choices.
#include "controls/TreeGridModel.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

class MirrorRows : public ITreeGridRows {
public:
    std::vector<CTreeGridItem*> rows;
    void InsertRow(int row, CTreeGridItem* node) override
    {
        Check(row >= 0 && row <= static_cast<int>(rows.size()));
        rows.insert(rows.begin() + row, node);
    }
    void DeleteRow(int row) override
    {
        Check(row >= 0 && row < static_cast<int>(rows.size()));
        rows.erase(rows.begin() + row);
    }
};

// Walks a subtree: checks links and indents, collects every node with the
// row it should show on (-1 for none) and the rows in order.
void Walk(CTreeGridItem* node, int depth, bool visible, std::vector<CTreeGridItem*>& all, std::vector<int>& rowOf,
          std::vector<CTreeGridItem*>& expected)
{
    Check(node->GetIndent() == depth + 1);
    all.push_back(node);
    rowOf.push_back(visible ? static_cast<int>(expected.size()) : -1);
    if (visible)
        expected.push_back(node);
    for (int i = 0; i < node->NumChildren(); ++i) {
        CTreeGridItem* child = node->GetChild(i);
        Check(child->GetParentItem() == node);
        Walk(child, depth + 1, visible && !node->IsCollapsed(), all, rowOf, expected);
    }
}

void CheckModel(const CTreeGridModel& model, const MirrorRows& view)
{
    std::vector<CTreeGridItem*> all, expected;
    std::vector<int> rowOf;
    for (int i = 0; i < model.GetRootCount(); ++i) {
        Check(model.GetRootItem(i)->GetParentItem() == nullptr);
        Walk(model.GetRootItem(i), 0, true, all, rowOf, expected);
    }
    Check(model.GetCount() == static_cast<int>(all.size()));
    // Stepping back from each node's successor returns to it, in the whole
    // tree and, for visible nodes, in the expanded part.
    for (CTreeGridItem* node : all) {
        for (BOOL expandedOnly : {FALSE, node->GetCurIndex() >= 0 ? TRUE : FALSE}) {
            CTreeGridItem* next = model.GetNext(nullptr, node, FALSE, expandedOnly);
            if (next != nullptr)
                Check(model.GetPrev(nullptr, next, FALSE, expandedOnly) == node);
        }
    }
    Check(view.rows == expected);
    Check(model.GetRowCount() == static_cast<int>(expected.size()));
    for (int row = 0; row < model.GetRowCount(); ++row)
        Check(model.GetRowNode(row) == expected[static_cast<size_t>(row)]);
    for (size_t i = 0; i < all.size(); ++i) {
        Check(model.NodeToIndex(all[i]) == rowOf[i]);
        Check(all[i]->GetCurIndex() == rowOf[i]);
    }
}

std::vector<CTreeGridItem*> AllNodes(const CTreeGridModel& model)
{
    std::vector<CTreeGridItem*> all;
    for (CTreeGridItem* node = model.GetRootItem(0); node != nullptr;) {
        all.push_back(node);
        CTreeGridItem* next = model.GetNext(nullptr, node, FALSE, FALSE);
        node = next;
    }
    return all;
}

CTreeGridItemInfo* Info(std::uint8_t text)
{
    auto* info = new CTreeGridItemInfo;
    const char label[2] = {static_cast<char>('A' + text % 8), 0};
    info->SetItemText(label);
    return info;
}

CTreeGridItemInfo* Copy(const CTreeGridItemInfo& from)
{
    auto* info = new CTreeGridItemInfo;
    info->CopyObjects(from);
    return info;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CTreeGridModel model;
    MirrorRows view;
    model.SetRowView(&view);
    for (std::size_t at = 0; at + 3 <= size && at < 3 * 400; at += 3) {
        const std::vector<CTreeGridItem*> nodes = AllNodes(model);
        const auto pick = [&](std::uint8_t choice) -> CTreeGridItem* {
            // The last choice is no node at all.
            return choice % (nodes.size() + 1) < nodes.size() ? nodes[choice % (nodes.size() + 1)] : nullptr;
        };
        CTreeGridItem* a = pick(data[at + 1]);
        CTreeGridItem* b = pick(data[at + 2]);
        switch (data[at] % 12) {
        case 0: model.InsertRootItem(Info(data[at + 1])); break;
        case 1: model.InsertItem(a, Info(data[at + 2]), TRUE); break;
        case 2: model.InsertItem(a, Info(data[at + 2]), FALSE); break;
        case 3: model.Expand(a); break;
        case 4: model.Collapse(a); break;
        case 5: model.ExpandAll(a); break;
        case 6: model.ExpandUntil(a, b); break;
        case 7: model.Sort(a, data[at + 2] & 1); break;
        case 8: model.Delete(a); break;
        case 9: {
            const BOOL allowed = CTreeGridModel::CanDrop(a, b);
            CTreeGridItem* moved = model.MoveItem(a, b, Copy);
            Check((moved != nullptr) == (allowed != FALSE));
            if (moved != nullptr)
                Check(moved->GetParentItem() == b);
            break;
        }
        case 10: model.SetChildrenFlag(a, data[at + 2] & 1 ? 0 : -1); break;
        default:
            if (data[at + 2] == 0xFF)
                model.DeleteAll();
            break;
        }
        if (data[at] % 12 == 7 && a != nullptr) {
            for (int i = 1; i < a->NumChildren(); ++i)
                Check(std::strcmp(a->GetChild(i - 1)->GetData()->GetItemText(), a->GetChild(i)->GetData()->GetItemText()) <= 0);
        }
        CheckModel(model, view);
    }
    return 0;
}
