#include "controls/TreeGridModel.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

// A view that applies the reported row changes to its own list, as the
// list view does.
class MirrorRows : public ITreeGridRows {
public:
    std::vector<CTreeGridItem*> rows;
    void InsertRow(int row, CTreeGridItem* node) override { rows.insert(rows.begin() + row, node); }
    void DeleteRow(int row) override { rows.erase(rows.begin() + row); }
};

// A tree of named nodes: "R" a root, "R/A" its child A, and so on. It starts
// as R with A (children A1, A2) and B, everything on show.
struct Tree {
    CTreeGridModel model;
    MirrorRows view;
    std::map<std::string, CTreeGridItem*> nodes;

    Tree()
    {
        model.SetRowView(&view);
        for (const char* path : {"R", "R/A", "R/A/A1", "R/A/A2", "R/B"})
            Add(path);
    }

    CTreeGridItem* Add(const std::string& path, BOOL update = TRUE)
    {
        auto* info = new CTreeGridItemInfo;
        const size_t slash = path.rfind('/');
        info->SetItemText(path.substr(slash == std::string::npos ? 0 : slash + 1).c_str());
        CTreeGridItem* node = slash == std::string::npos ? model.InsertRootItem(info)
                                                         : model.InsertItem(nodes.at(path.substr(0, slash)), info, update);
        nodes[path] = node;
        return node;
    }
    CTreeGridItem* operator[](const std::string& path) const { return nodes.at(path); }

    // The rows as the view shows them: labels, one dot per level below the
    // roots, "+" on a collapsed node with children.
    std::string Rows() const
    {
        std::string text;
        for (size_t row = 0; row < view.rows.size(); ++row) {
            const CTreeGridItem* node = view.rows[row];
            text += (row ? " " : "") + std::string(static_cast<size_t>(node->GetIndent() - 1), '.');
            text += node->GetData()->GetItemText().GetString();
            if (node->ItemHasChildren() && node->IsCollapsed())
                text += "+";
        }
        return text;
    }
};

struct Scenario {
    const char* name;
    std::function<void(Tree&)> steps;
    const char* rows;
};

void PrintTo(const Scenario& scenario, std::ostream* out)
{
    *out << scenario.name;
}

const Scenario kScenarios[] = {
    {"built with update, all on show", [](Tree&) {}, "R .A ..A1 ..A2 .B"},
    {"child without update under a leaf: rows unchanged, parent collapsed",
     [](Tree& t) { t.Add("R/B/B1", FALSE); t.Add("R/B/B2", FALSE); }, "R .A ..A1 ..A2 .B+"},
    {"... then expanding shows all its children",
     [](Tree& t) { t.Add("R/B/B1", FALSE); t.Add("R/B/B2", FALSE); t.model.Expand(t["R/B"]); },
     "R .A ..A1 ..A2 .B ..B1 ..B2"},
    {"child without update under a parent whose children show: they hide with it",
     [](Tree& t) { t.Add("R/A/A3", FALSE); }, "R .A+ .B"},
    {"collapsing hides every level below; expanding again shows only the direct children",
     [](Tree& t) { t.model.Collapse(t["R"]); t.model.Expand(t["R"]); }, "R .A+ .B"},
    {"insert with update after a collapsed sibling lands below its row, not its hidden children",
     [](Tree& t) { t.Add("R/B/B1"); t.model.Collapse(t["R/B"]); t.Add("R/C"); }, "R .A ..A1 ..A2 .B+ .C"},
    {"expand all opens every level",
     [](Tree& t) { t.model.Collapse(t["R"]); t.model.ExpandAll(t["R"]); }, "R .A ..A1 ..A2 .B"},
    {"expand until opens the ancestors below the root",
     [](Tree& t) { t.Add("R/A/A1/X"); t.model.Collapse(t["R/A"]); t.model.ExpandUntil(t["R"], t["R/A/A1/X"]); },
     "R .A ..A1 ...X ..A2 .B"},
    {"sort then insert lands after the sorted rows",
     [](Tree& t) { t.Add("R/0"); t.model.Sort(t["R"], FALSE); t.Add("R/Z"); t.Add("R/0/X"); },
     "R .0 ..X .A ..A1 ..A2 .B .Z"},
    {"sort is case sensitive and recursive on request",
     [](Tree& t) { t.Add("R/A/a0"); t.Add("R/A/Z"); t.model.Sort(t["R"], TRUE); }, "R .A ..A1 ..A2 ..Z ..a0 .B"},
    {"sorting the roots", [](Tree& t) { t.Add("Q"); t.Add("Q/Q1"); t.model.Sort(nullptr, FALSE); },
     "Q .Q1 R .A ..A1 ..A2 .B"},
    {"delete all", [](Tree& t) { t.Add("Q"); t.model.DeleteAll(); }, ""},
    {"move under another parent: copied with its children, collapsed",
     [](Tree& t) { EXPECT_NE(t.model.MoveItem(t["R/A"], t["R/B"], [](const CTreeGridItemInfo& from) {
                       auto* info = new CTreeGridItemInfo;
                       info->CopyObjects(from);
                       return info;
                   }), nullptr); },
     "R .B ..A+"},
    {"children flag 0 gives a childless node a sign; expanding clears it",
     [](Tree& t) { t.model.SetChildrenFlag(t["R/B"], 0); }, "R .A ..A1 ..A2 .B+"},
};

class TreeGridModelScenario : public ::testing::TestWithParam<Scenario> {};

TEST_P(TreeGridModelScenario, RowsFollowTheTree)
{
    Tree t;
    GetParam().steps(t);
    EXPECT_EQ(t.Rows(), GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(TreeGridModel, TreeGridModelScenario, ::testing::ValuesIn(kScenarios),
                         [](const auto& info) { return "case" + std::to_string(info.index); });

// Drops on itself, its subtree, its parent or from a root are refused;
// walks go in pre-order, into collapsed subtrees too.
TEST(TreeGridModel, RefusedDropsAndPreOrderWalks)
{
    struct Case {
        const char* dragged;
        const char* target;
    };
    const Case refused[] = {{"R/A", "R/A"}, {"R/A", "R/A/A1"}, {"R/A/A1", "R/A"}, {"R", "Q"}, {"R/B", ""}};
    for (const Case& c : refused) {
        SCOPED_TRACE(std::string(c.dragged) + " on " + c.target);
        Tree t;
        t.Add("Q");
        CTreeGridItem* target = *c.target ? t[c.target] : nullptr;
        bool copied = false;
        EXPECT_EQ(t.model.MoveItem(t[c.dragged], target, [&](const CTreeGridItemInfo&) {
            copied = true;
            return new CTreeGridItemInfo;
        }), nullptr);
        EXPECT_FALSE(copied);
        EXPECT_EQ(t.Rows(), "R .A ..A1 ..A2 .B Q");
    }

    // Inside a collapsed subtree a node has no row; the walks still reach it.
    Tree t;
    t.model.Collapse(t["R/A"]);
    // Started fresh, a walk answers the node at the end.
    EXPECT_EQ(t.model.GetNext(nullptr, t["R/A"], TRUE, TRUE), t["R/B"]);
    EXPECT_EQ(t.model.GetNext(nullptr, t["R/A"], TRUE, FALSE), t["R/A/A1"]);
    EXPECT_EQ(t.model.GetPrev(nullptr, t["R/B"], TRUE, FALSE), t["R/A/A2"]);
    EXPECT_EQ(t.model.GetNext(t["R/A"], t["R/A/A2"], TRUE, FALSE), t["R/A/A2"]);
    EXPECT_EQ(t.model.GetNext(t["R/A"], t["R/A/A2"], FALSE, FALSE), nullptr);
    EXPECT_EQ(t.model.GetPrev(nullptr, t["R"], FALSE, FALSE), nullptr);
}

TEST(TreeGridItemInfo, CellTextsGrowAndCopiesCarryTextsControlsAndColours)
{
    CTreeGridItemInfo info;
    EXPECT_TRUE(info.SetSubItemText(2, "c3"));
    EXPECT_FALSE(info.SetSubItemText(-1, "bad"));
    EXPECT_EQ(info.GetItemCount(), 3);
    EXPECT_EQ(info.GetSubItem(0), "");
    EXPECT_EQ(info.GetSubItem(7), "");
    CTreeGridItemInfo::CONTROLTYPE type = CTreeGridItemInfo::combobox;
    EXPECT_FALSE(info.GetControlType(1, type));
    EXPECT_EQ(type, CTreeGridItemInfo::edit);
    EXPECT_EQ(info.GetBkColor(1), static_cast<COLORREF>(-1));

    CStringArray choices;
    choices.Add("Buy");
    choices.Add("Sell");
    info.SetControlType(CTreeGridItemInfo::combobox, 1);
    info.SetListData(1, choices);
    info.SetBkColor(2, 0x00FF00);
    info.SetItemText("Label", 0x0000FF);
    choices.RemoveAll(); // the info keeps its own copy

    CTreeGridItemInfo copy;
    copy.CopyObjects(info);
    copy.CopyControls(info);
    copy.CopyColors(info);
    EXPECT_EQ(copy.GetItemText(), "Label");
    EXPECT_EQ(copy.GetItemClr(), 0x0000FFu);
    EXPECT_EQ(copy.GetSubItem(2), "c3");
    EXPECT_TRUE(copy.GetControlType(1, type));
    EXPECT_EQ(type, CTreeGridItemInfo::combobox);
    ASSERT_NE(copy.GetListData(1), nullptr);
    EXPECT_EQ(copy.GetListData(1)->GetSize(), 2);
    EXPECT_EQ(copy.GetListData(1)->GetAt(1), "Sell");
    EXPECT_EQ(copy.GetBkColor(2), 0x00FF00u);
}

} // namespace
