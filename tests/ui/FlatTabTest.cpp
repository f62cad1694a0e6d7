#include "HoverTestWindows.h"

#include "controls/win/FlatTabCtrl.h"
#include "controls/win/ListHeaderCtrl.h"
#include "controls/win/WindowWrappers.h"
#include "framework/win/ListCtrl.h"

#include <gtest/gtest.h>

using namespace orv::ui;

namespace {

class FlatTab : public FrameTest<> {
protected:
    FlatTab() : FrameTest("Flat tabs") {}
    void AddTabs(CTabCtrl& tabs, const CRect& rect, UINT id)
    {
        ASSERT_TRUE(tabs.Create(WS_VISIBLE, rect, &m_frame, id));
        tabs.SetFont(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        tabs.InsertItem(0, "Positions");
        tabs.InsertItem(1, "Orders");
        tabs.InsertItem(2, "Messages");
    }
};

} // namespace

// In the classic look the flat control's last column and row keep the
// background; inside them it paints as the platform's control does (the
// platform may draw its pane's edge and corners a pixel or two further in, into the space it
// is given).
TEST_F(FlatTab, LeavesTheRightColumnAndBottomRowUnpaintedInTheClassicLookAndTheListHeaderIsTwoPixelsWider)
{
    CTabCtrl plain;
    CFlatTabCtrl flat;
    AddTabs(plain, CRect(0, 0, 200, 100), 501);
    AddTabs(flat, CRect(0, 150, 200, 250), 502);
    PumpPending();
    CClientDC plainDC(plain);
    CClientDC flatDC(flat);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    EXPECT_NE(plainDC.GetPixel(199, 60), face); // the platform's border
    EXPECT_NE(plainDC.GetPixel(100, 99), face);
    int differing = 0;
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 200; ++x) {
            if (x == 199 || y == 99)
                EXPECT_EQ(flatDC.GetPixel(x, y), face) << x << "," << y;
            else if (x < 196 && y < 96)
                differing += flatDC.GetPixel(x, y) != plainDC.GetPixel(x, y) ? 1 : 0;
        }
    }
    EXPECT_EQ(differing, 0);
    SaveScreenshot(m_frame, "FlatTab-classic");

    CRect second;
    ASSERT_TRUE(flat.GetItemRect(1, &second));
    ClickAt(flat, second.CenterPoint());
    EXPECT_TRUE(PumpUntil([&] { return flat.GetCurSel() == 1; }));
    EXPECT_GE(m_frame.Count(WM_NOTIFY, static_cast<UINT>(TCN_SELCHANGE)), 1u);

    // The list view lays its header out at its own client width.
    CListCtrl list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(10, 10, 310, 200), &m_frame, 503));
    CListHeaderCtrl header;
    ASSERT_TRUE(header.SubclassWindow(list.GetHeaderCtrl()));
    list.InsertColumn(0, "Symbol", LVCFMT_LEFT, 120);
    EXPECT_EQ(header.GetItemCount(), 1);
    EXPECT_EQ(header.GetItemWidth(0), 120);
    EXPECT_EQ(header.GetItemWidth(1), -1);
    for (int width : {300, 250, 377}) {
        list.SetWindowPos(nullptr, 0, 0, width, 190, SWP_NOMOVE | SWP_NOZORDER);
        PumpPending();
        EXPECT_EQ(list.GetClientRect().Width(), width);
        EXPECT_EQ(header.GetWindowRect().Width(), width + 2);
    }
    header.SetWindowPos(nullptr, 0, 0, 100, 20, SWP_NOZORDER | SWP_NOMOVE);
    EXPECT_EQ(header.GetWindowRect().Width(), 102);
    header.UnsubclassWindow();
}

