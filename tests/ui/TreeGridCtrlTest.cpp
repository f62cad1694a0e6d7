#include "HoverTestWindows.h"

#include "controls/win/TreeGridCtrl.h"
#include "framework/win/DC.h"
#include "framework/win/ImageList.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <map>
#include <string>
#include <vector>

using namespace orv::ui;

namespace {

using CTreeItem = CTreeGridCtrl::CTreeItem;

// A grid that records its hooks and can refuse an expansion.
class CRecordingGrid : public CTreeGridCtrl {
public:
    std::string hooks;
    bool refuseExpand = false;

    BOOL OnItemExpanding(CTreeItem* node, int) override
    {
        hooks += "expanding " + std::string(GetData(node)->GetItemText()) + ";";
        return !refuseExpand;
    }
    BOOL OnItemCollapsed(CTreeItem* node) override
    {
        hooks += "collapsed " + std::string(GetData(node)->GetItemText()) + ";";
        return TRUE;
    }
};

class TreeGrid : public FrameTest<> {
public:
    void MakeControls() override
    {
        ::SetForegroundWindow(m_frame);
        ASSERT_TRUE(m_grid.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_EDITLABELS, CRect(8, 8, 388, 230),
                                  &m_frame, 100));
        m_grid.SetFont(HFONT(::GetStockObject(DEFAULT_GUI_FONT)));
        const char* headings[] = {"Account", "Qty", "Price", "Side"};
        const int widths[] = {150, 60, 70, 70};
        for (int i = 0; i < 4; ++i)
            m_grid.InsertColumn(i, headings[i], LVCFMT_LEFT, widths[i]);
        // Two accounts; positions below them; orders below a position.
        Add("ACC1", nullptr, {"", "", ""});
        Add("IBM", "ACC1", {"100", "131.25", "Long"});
        Add("O1", "IBM", {"50", "131.00", "Buy"});
        Add("O2", "IBM", {"50", "131.50", "Buy"});
        Add("MSFT", "ACC1", {"-20", "402.10", "Short"});
        Add("ACC2", nullptr, {"", "", ""});
        Add("AAPL", "ACC2", {"10", "190.00", "Long"});
    }

    // Presses on O1's label and moves, button held, onto MSFT's row;
    // whether that row then shows as the drop target.
    bool DragO1OverMSFT()
    {
        const CPoint from = LabelPoint("O1");
        const CPoint to = LabelPoint("MSFT");
        MoveMouseTo(m_grid, from);
        MouseButtonAt(m_grid, from, true);
        for (int step = 1; step <= 6; ++step) {
            MoveMouseTo(m_grid, CPoint(from.x, from.y + (to.y - from.y) * step / 6));
            PumpFor(30);
        }
        return PumpUntil([&] { return (m_grid.GetItemState(4, LVIS_DROPHILITED) & LVIS_DROPHILITED) != 0; }, 2000);
    }

    CTreeItem* Add(const char* text, const char* parent, std::initializer_list<const char*> cells)
    {
        auto* info = new CTreeGridItemInfo;
        info->SetItemText(text);
        for (const char* cell : cells)
            info->AddSubItemText(cell);
        CTreeItem* node = parent == nullptr ? m_grid.InsertRootItem(info) : m_grid.InsertItem(m_nodes.at(parent), info, TRUE);
        m_nodes[text] = node;
        return node;
    }

    // The rows read back from the list view: one dot per level below the
    // roots (the row's indent), then the first column's text.
    std::string Rows()
    {
        std::string text;
        for (int row = 0; row < m_grid.GetItemCount(); ++row) {
            text += (row ? " " : "") + std::string(static_cast<size_t>(m_grid.GetItemIndent(row) - 1), '.');
            text += m_grid.CListCtrl::GetItemText(row, 0).GetString();
        }
        return text;
    }

    CRect RowRect(int row)
    {
        CRect rect;
        m_grid.GetItemRect(row, &rect, LVIR_BOUNDS);
        return rect;
    }
    CPoint SignCentre(const char* node)
    {
        const CRect sign = CTreeGridCtrl::SignRect(RowRect(m_nodes.at(node)->GetCurIndex()), m_nodes.at(node)->GetIndent());
        return CPoint(sign.left + 5, sign.top + 5);
    }
    CPoint LabelPoint(const char* node)
    {
        const int row = m_nodes.at(node)->GetCurIndex();
        return CPoint(CTreeGridCtrl::LabelLeft(RowRect(row), m_nodes.at(node)->GetIndent()) + 4, RowRect(row).CenterPoint().y);
    }
    void Select(const char* node)
    {
        m_grid.SelectNode(m_nodes.at(node));
        m_grid.SetFocus();
        PumpPending();
    }
    bool RowsBecome(const std::string& rows) { return PumpUntil([&] { return Rows() == rows; }, 3000); }
    // Presses the arrow once for each column given; the focus cell must be in
    // that column after each press.
    void Arrows(WORD key, std::initializer_list<int> columns)
    {
        for (int expected : columns) {
            PressKey(key);
            EXPECT_TRUE(PumpUntil([&] { return m_grid.GetCurrentColumn() == expected; }, 2000)) << expected;
        }
    }

    CRecordingGrid m_grid;
    std::map<std::string, CTreeItem*> m_nodes;
};

const char* const kAllRows = "ACC1 .IBM ..O1 ..O2 .MSFT ACC2 .AAPL";

} // namespace

TEST_F(TreeGrid, RowsAreTheExpandedTreeInPreOrderWithTheFontsRowHeightThroughSortAndInsert)
{
    EXPECT_EQ(Rows(), kAllRows);
    EXPECT_EQ(m_grid.CListCtrl::GetItemText(1, 2), "131.25");
    EXPECT_EQ(m_grid.GetItemData(2), reinterpret_cast<DWORD_PTR>(m_nodes["O1"]));
    const DWORD style = m_grid.GetStyle();
    EXPECT_EQ(style & (LVS_TYPEMASK | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS | LVS_OWNERDRAWFIXED),
              DWORD(LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS | LVS_OWNERDRAWFIXED));
    // The list asks the control for its row height (a reflected
    // WM_MEASUREITEM): the font's height, external leading and 4 pixels,
    // again when the font changes.
    CFont big;
    ASSERT_TRUE(big.CreatePointFont(180, "Tahoma"));
    for (HFONT font : {HFONT(::GetStockObject(DEFAULT_GUI_FONT)), HFONT(big), HFONT(::GetStockObject(DEFAULT_GUI_FONT))}) {
        m_grid.SetFont(font);
        PumpPending();
        CClientDC dc(m_grid);
        CSelectScope selected(dc, font);
        TEXTMETRICA metrics {};
        dc.GetTextMetrics(&metrics);
        EXPECT_EQ(RowRect(0).Height(), metrics.tmHeight + metrics.tmExternalLeading + 4);
        EXPECT_EQ(RowRect(1).top, RowRect(0).bottom);
    }

    // Sorted, then a node inserted below the sorted ones: the list keeps in
    // step with the tree.
    Add("AMZN", "ACC1", {"5", "180.00", "Long"});
    m_grid.Sort(m_nodes["ACC1"], FALSE);
    EXPECT_EQ(Rows(), "ACC1 .AMZN .IBM ..O1 ..O2 .MSFT ACC2 .AAPL");
    Add("O3", "AMZN", {"5", "180.00", "Buy"});
    EXPECT_EQ(Rows(), "ACC1 .AMZN ..O3 .IBM ..O1 ..O2 .MSFT ACC2 .AAPL");
    for (int row = 0; row < m_grid.GetItemCount(); ++row)
        EXPECT_EQ(m_grid.GetTreeItem(row), reinterpret_cast<CTreeItem*>(m_grid.GetItemData(row))) << row;
}

TEST_F(TreeGrid, FocusCellFollowsTheHeadersOrderAndScrollsIntoView)
{
    // Display order Account, Side, Qty, Price; the grid too narrow for all.
    int order[] = {0, 3, 1, 2};
    ASSERT_TRUE(m_grid.SendMessage(LVM_SETCOLUMNORDERARRAY, 4, reinterpret_cast<LPARAM>(order)));
    m_grid.SetColumnWidth(2, 500);
    EXPECT_EQ(m_grid.IndexToOrder(9), -1);
    Select("O1");
    Arrows(VK_RIGHT, {3, 1, 2});
    // Price starts after Account, Side and Qty (150 + 70 + 60 pixels).
    EXPECT_EQ(::GetScrollPos(m_grid, SB_HORZ), 280);
    Arrows(VK_LEFT, {0});
    EXPECT_EQ(::GetScrollPos(m_grid, SB_HORZ), 0);
}

TEST_F(TreeGrid, SignClicksDoubleClicksAndKeypadKeysExpandAndCollapse)
{
    struct Step {
        const char* what;
        std::function<void(TreeGrid&)> act;
        const char* rows;
    };
    const Step steps[] = {
        {"click IBM's sign", [](TreeGrid& t) { ClickAt(t.m_grid, t.SignCentre("IBM")); }, "ACC1 .IBM .MSFT ACC2 .AAPL"},
        {"click it again", [](TreeGrid& t) { ClickAt(t.m_grid, t.SignCentre("IBM")); }, kAllRows},
        {"double click ACC1's label",
         [](TreeGrid& t) { ClickAt(t.m_grid, t.LabelPoint("ACC1")); ClickAt(t.m_grid, t.LabelPoint("ACC1")); },
         "ACC1 ACC2 .AAPL"},
        {"keypad + on ACC1", [](TreeGrid& t) { t.Select("ACC1"); PressKey(VK_ADD); }, "ACC1 .IBM .MSFT ACC2 .AAPL"},
        {"keypad - on ACC2", [](TreeGrid& t) { t.Select("ACC2"); PressKey(VK_SUBTRACT); }, "ACC1 .IBM .MSFT ACC2"},
        {"keypad * on ACC1", [](TreeGrid& t) { t.Select("ACC1"); PressKey(VK_MULTIPLY); }, "ACC1 .IBM ..O1 ..O2 .MSFT ACC2"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.act(*this);
        EXPECT_TRUE(RowsBecome(step.rows)) << Rows();
        PumpFor(600); // past the double-click time, so that the next click is a single one
    }
    EXPECT_EQ(m_grid.hooks, "collapsed IBM;expanding IBM;collapsed ACC1;");
    // A refusing hook keeps the node collapsed.
    m_grid.refuseExpand = true;
    ClickAt(m_grid, SignCentre("ACC2"));
    PumpFor(100);
    EXPECT_EQ(Rows(), "ACC1 .IBM ..O1 ..O2 .MSFT ACC2");
}

TEST_F(TreeGrid, RightAndLeftMoveTheFocusCellSpaceChecksDeleteRemoves)
{
    ClickAt(m_grid, LabelPoint("MSFT"));
    ASSERT_TRUE(PumpUntil([&] { return m_grid.GetSelectedItem() == m_nodes["MSFT"]; }));
    Arrows(VK_RIGHT, {1, 2, 3, 3, 3});
    Arrows(VK_LEFT, {0});

    m_grid.SetCheckBoxes(TRUE);
    PressKey(VK_SPACE);
    EXPECT_TRUE(PumpUntil([&] { return m_grid.GetData(m_nodes["MSFT"])->GetCheck() == TRUE; }, 2000));
    EXPECT_TRUE(m_grid.GetCheck(4));
    // A click on the box toggles it back.
    const CRect box = RowRect(4);
    ClickAt(m_grid, CPoint(box.left + 16 * 2 + 8, box.CenterPoint().y));
    EXPECT_TRUE(PumpUntil([&] { return m_grid.GetData(m_nodes["MSFT"])->GetCheck() == FALSE; }, 2000));
    EXPECT_FALSE(m_grid.GetCheck(4));
    PumpFor(600);

    Select("IBM");
    PressKey(VK_DELETE);
    EXPECT_TRUE(RowsBecome("ACC1 .MSFT ACC2 .AAPL")) << Rows();
    EXPECT_EQ(m_grid.GetSelectedItem(), m_nodes["MSFT"]); // the row that took its place
    EXPECT_EQ(m_grid.GetCount(), 4);
}

TEST_F(TreeGrid, DraggingANodeWithTheMouseMovesItUnderAnotherParentUnlessTheCaptureIsLost)
{
    // Losing the capture cancels a drag and clears the highlight.
    ASSERT_TRUE(DragO1OverMSFT());
    ::SetCapture(m_frame);
    EXPECT_EQ(m_grid.GetItemState(4, LVIS_DROPHILITED), 0u);
    MouseButtonAt(m_grid, LabelPoint("MSFT"), false);
    PumpFor(100);
    ::ReleaseCapture();
    EXPECT_EQ(Rows(), kAllRows);
    PumpFor(600); // past the double-click time, so that the next press starts a drag

    EXPECT_TRUE(DragO1OverMSFT());
    SaveScreenshot(m_frame, "TreeGrid-dragging");
    {
        // The drop target is highlighted without a focus cell.
        CClientDC dc(m_grid);
        const CPoint label = LabelPoint("MSFT");
        EXPECT_EQ(dc.GetPixel(label.x, RowRect(4).top + 2), ::GetSysColor(COLOR_HIGHLIGHT));
    }
    MouseButtonAt(m_grid, LabelPoint("MSFT"), false);
    EXPECT_TRUE(RowsBecome("ACC1 .IBM ..O2 .MSFT ..O1 ACC2 .AAPL")) << Rows();
    CTreeItem* moved = m_grid.GetSelectedItem();
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(m_grid.GetData(moved)->GetSubItem(1), "131.00"); // the cells came along
    EXPECT_EQ(m_grid.GetParentItem(moved), m_nodes["MSFT"]);
    for (int row = 0; row < m_grid.GetItemCount(); ++row)
        EXPECT_EQ(m_grid.GetItemState(row, LVIS_DROPHILITED), 0u) << row;
    EXPECT_EQ(::GetCapture(), nullptr);

    // The drag image is the row's label, a row high.
    HIMAGELIST image = m_grid.CreateDragImageEx(1);
    ASSERT_NE(image, nullptr);
    int cx = 0, cy = 0;
    EXPECT_TRUE(ImageList_GetIconSize(image, &cx, &cy));
    EXPECT_GT(cx, 8);
    EXPECT_EQ(cy, RowRect(1).Height());
    ImageList_Destroy(image);
    EXPECT_EQ(m_grid.CreateDragImageEx(99), nullptr);
}

TEST_F(TreeGrid, LabelEditsAndSetCellTextWriteTheInfoAndTheRowInPlace)
{
    HWND edit = m_grid.EditLabel(1);
    ASSERT_NE(edit, nullptr);
    ::SetWindowTextA(edit, "IBM US");
    PressKey(VK_RETURN);
    EXPECT_TRUE(PumpUntil([&] { return m_grid.GetData(m_nodes["IBM"])->GetItemText() == "IBM US"; }, 2000));
    EXPECT_EQ(m_grid.CListCtrl::GetItemText(1, 0), "IBM US");
    // A cancelled edit changes nothing.
    edit = m_grid.EditLabel(4);
    ASSERT_NE(edit, nullptr);
    ::SetWindowTextA(edit, "dropped");
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(PumpUntil([&] { return m_grid.GetEditControl() == nullptr; }, 2000));
    EXPECT_EQ(m_grid.GetData(m_nodes["MSFT"])->GetItemText(), "MSFT");
    EXPECT_EQ(m_grid.CListCtrl::GetItemText(4, 0), "MSFT");

    // One cell changes and only it is repainted; rows are not rebuilt
    // (same node in each row).
    PumpPending();
    EXPECT_TRUE(m_grid.SetCellText(m_nodes["O2"], 2, "131.75"));
    CRect update, cell;
    ::GetUpdateRect(m_grid, &update, FALSE);
    ASSERT_TRUE(m_grid.GetSubItemRect(3, 2, LVIR_BOUNDS, cell));
    EXPECT_EQ(update, cell);
    EXPECT_EQ(m_grid.CListCtrl::GetItemText(3, 2), "131.75");
    EXPECT_EQ(m_grid.GetData(m_nodes["O2"])->GetSubItem(1), "131.75");
    EXPECT_EQ(m_grid.GetItemData(3), reinterpret_cast<DWORD_PTR>(m_nodes["O2"]));
    // A hidden node keeps the text for when it shows.
    m_grid.Collapse(m_nodes["IBM"]);
    EXPECT_TRUE(m_grid.SetCellText(m_nodes["O1"], 5, "late"));
    EXPECT_FALSE(m_grid.SetCellText(m_nodes["O1"], -1, "bad"));
    m_grid.Expand(m_nodes["IBM"], 1);
    EXPECT_EQ(m_grid.CListCtrl::GetItemText(2, 5 - 1 + 1), ""); // only four columns exist
    EXPECT_EQ(m_grid.GetData(m_nodes["O1"])->GetSubItem(4), "late");
}

TEST_F(TreeGrid, ScreenshotOfThreeLevelsWithFocusCellBothSignsAndImagesAtTheIndent)
{
    m_grid.Collapse(m_nodes["ACC2"]);
    auto* info = m_grid.GetData(m_nodes["MSFT"]);
    info->SetControlType(CTreeGridItemInfo::combobox, 3);
    info->SetBkColor(1, RGB(255, 230, 230));
    m_grid.GetData(m_nodes["O2"])->SetBkColor(2, RGB(220, 255, 220));
    ClickAt(m_grid, LabelPoint("MSFT"));
    ASSERT_TRUE(PumpUntil([&] { return m_grid.GetSelectedItem() == m_nodes["MSFT"]; }));
    Arrows(VK_RIGHT, {1, 2, 3});
    m_grid.RedrawWindow();
    SaveScreenshot(m_frame, "TreeGrid-three-levels");

    // The focus cell is filled with the focus colour; ACC2 shows a plus,
    // IBM a minus (its vertical stroke is white).
    CRect focus;
    m_grid.GetSubItemRect(4, 3, LVIR_BOUNDS, focus);
    CClientDC dc(m_grid);
    EXPECT_EQ(dc.GetPixel(focus.left + 4, focus.top + 3), RGB(192, 0, 0));
    const CPoint plus = SignCentre("ACC2"), minus = SignCentre("IBM");
    EXPECT_EQ(dc.GetPixel(plus.x, plus.y - 2), RGB(0, 0, 0));
    EXPECT_EQ(dc.GetPixel(minus.x, minus.y - 2), RGB(255, 255, 255));
    EXPECT_EQ(dc.GetPixel(minus.x - 2, minus.y), RGB(0, 0, 0));
    EXPECT_EQ(dc.GetPixel(minus.x - 5, minus.y - 5), RGB(198, 198, 198));

    // Images sit at the indent, and the hierarchy-only look draws no lines.
    // One red image, which every node shows (GetIcon answers 0).
    CImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 0));
    const std::vector<DWORD> redPixels(16 * 16, 0x00FF0000);
    CBitmap red;
    ASSERT_TRUE(red.CreateBitmap(16, 16, 1, 32, redPixels.data()));
    ASSERT_EQ(images.AddMasked(red, RGB(255, 255, 255)), 0);
    m_grid.SetImageList(images, LVSIL_SMALL);
    const CRect row = RowRect(m_nodes["O1"]->GetCurIndex());
    const int indent = m_nodes["O1"]->GetIndent();
    const CPoint image(row.left + 16 * indent + 8, row.CenterPoint().y);
    const CPoint link(row.left + 16 * indent - 8, row.top + 1);
    // The pixel once the grid is drawn afresh.
    const auto pixel = [&](CPoint point) { return m_grid.RedrawWindow(), dc.GetPixel(point.x, point.y); };
    EXPECT_EQ(pixel(image), RGB(255, 0, 0));
    EXPECT_EQ(pixel(link), RGB(192, 192, 192));
    m_grid.SetHierarchyOnly(TRUE);
    EXPECT_EQ(pixel(image), RGB(255, 0, 0));
    EXPECT_EQ(pixel(link), RGB(255, 255, 255));
    SaveScreenshot(m_frame, "TreeGrid-hierarchy-only-images");
    m_grid.SetImageList(nullptr, LVSIL_SMALL);
}

TEST_F(TreeGrid, NoHandlesGrowOverCreateFillDestroyCycles)
{
    ExpectNoHandleLeak([&] {
        CTreeGridCtrl grid;
        grid.Create(WS_CHILD | WS_VISIBLE, CRect(10, 240, 300, 330), &m_frame, 101);
        grid.InsertColumn(0, "Name", LVCFMT_LEFT, 120);
        grid.InsertColumn(1, "Qty", LVCFMT_LEFT, 60);
        CTreeItem* root = grid.InsertRootItem();
        grid.SetCellText(root, 0, "Root");
        for (int i = 0; i < 5; ++i)
            grid.SetCellText(grid.InsertItem(root, nullptr, TRUE), 1, "7");
        grid.SelectNode(grid.GetTreeItem(2));
        grid.UpdateWindow();
    }, 8, 1000);
}

TEST_F(TreeGrid, DraggingToTheBottomEdgeScrollsAndHoveringExpandsTheTarget)
{
    m_grid.DeleteAll();
    m_nodes.clear();
    for (int i = 0; i < 30; ++i) {
        const std::string root = "R" + std::to_string(i), child = "C" + std::to_string(i);
        Add(root.c_str(), nullptr, {});
        Add(child.c_str(), root.c_str(), {});
        if (i > 0)
            m_grid.Collapse(m_nodes[root]);
    }
    PumpPending();
    const CPoint from = LabelPoint("C0");
    const CRect client = m_grid.GetClientRect();
    MoveMouseTo(m_grid, from);
    MouseButtonAt(m_grid, from, true);
    for (int y = from.y; y < client.bottom - 6; y += 10) {
        MoveMouseTo(m_grid, CPoint(from.x, y));
        PumpFor(20);
    }
    MoveMouseTo(m_grid, CPoint(from.x, client.bottom - 6));
    // Every 300 ms one row scrolls up into view.
    ASSERT_TRUE(PumpUntil([&] { return m_grid.GetTopIndex() >= 3; }, 4000)) << m_grid.GetTopIndex();
    // Resting on a collapsed root with children expands it at the next tick.
    const int row = m_grid.GetTopIndex() + 4;
    CTreeItem* target = m_grid.GetTreeItem(row);
    ASSERT_NE(target, nullptr);
    ASSERT_TRUE(m_grid.IsCollapsed(target));
    const CPoint over(from.x, RowRect(row).CenterPoint().y);
    MoveMouseTo(m_grid, over);
    EXPECT_TRUE(PumpUntil([&] { return !m_grid.IsCollapsed(target); }, 2000));
    MouseButtonAt(m_grid, over, false);
    EXPECT_TRUE(PumpUntil([&] { return m_grid.GetSelectedItem() != nullptr && m_grid.GetParentItem(m_grid.GetSelectedItem()) == target; }, 2000));
    EXPECT_EQ(m_grid.NumChildren(target), 2);
    EXPECT_EQ(m_grid.NumChildren(m_grid.GetRootItem(0)), 0);
    EXPECT_EQ(m_grid.GetData(m_grid.GetSelectedItem())->GetItemText(), "C0");
}
