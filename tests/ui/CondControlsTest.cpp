// The condition controls: each registers as a drop target when attached;
// the frame's fill, its collapse to a line and back, its minimum width; the
// expand glyph's size and its two states; the symbol edit's background.
#include "DragTestWindows.h"
#include "HoverTestWindows.h"

#include "controls/win/CondControls.h"

#include <gtest/gtest.h>

using namespace orv::ui;

namespace {

class NoDrops : public ICondDropTargetCallback {
public:
    DROPEFFECT OnCondDragOver(COleDataObject*, DWORD, CPoint) override { return DROPEFFECT_NONE; }
    void OnCondDragLeave() override {}
    BOOL OnCondDrop(COleDataObject*, DROPEFFECT, CPoint) override { return FALSE; }
};

class CondControls : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxOleInit());
        MouseAway();
        ASSERT_TRUE(m_parent.Create("conditions"));
        const DWORD child = WS_CHILD | WS_VISIBLE;
        ASSERT_TRUE(m_frame.Create("", child, CRect(10, 10, 390, 110), &m_parent));
        ASSERT_TRUE(m_expand.Create("", child, CRect(20, 20, 60, 60), &m_parent));
        ASSERT_TRUE(m_symbol.Create(child | WS_BORDER | ES_AUTOHSCROLL, CRect(40, 20, 140, 42), &m_parent, 1));
        ASSERT_TRUE(m_price.Create(child | WS_BORDER | ES_AUTOHSCROLL, CRect(150, 20, 250, 42), &m_parent, 2));
        ASSERT_TRUE(m_button.Create("Buy", child | BS_PUSHBUTTON, CRect(260, 20, 360, 44), &m_parent, 3));
        m_symbol.SetWindowText("IBM");
        m_symbol.SetBkColor(RGB(255, 255, 200));
        m_price.SetValue(12.5);
        m_button.SetToolTipText("Drop a symbol");
        PumpPending();
    }

    COLORREF PixelOf(HWND wnd, int x, int y)
    {
        ::UpdateWindow(wnd);
        return CClientDC(wnd).GetPixel(x, y);
    }

    NoDrops m_callback;
    CNoticeFrame m_parent;
    CCondFrameStatic m_frame {&m_callback};
    CCondExpandStatic m_expand {&m_callback};
    CCondSymbolEdit m_symbol {&m_callback};
    CCondPriceEdit m_price {&m_callback, 0};
    CCondButton m_button {&m_callback};
};

} // namespace

TEST_F(CondControls, EachIsADropTargetOnceAttachedTheGlyphPointsDownOrRightAndTheFrameCollapses)
{
    CWnd* controls[] = {&m_frame, &m_expand, &m_symbol, &m_price, &m_button};
    for (CWnd* control : controls) {
        COleDropTarget probe;
        EXPECT_FALSE(probe.Register(control)) << control->GetDlgCtrlID(); // taken already
    }
    EXPECT_EQ(m_expand.GetClientRect().Size(), CSize(13, 10));
    EXPECT_STREQ(m_price.GetWindowText(), "12.50");
    EXPECT_EQ(CCondFrameStatic::FillColor(RGB(212, 208, 200)), RGB(192, 189, 181));
    // The frame fills around its siblings: the symbol edit keeps its colour.
    EXPECT_EQ(PixelOf(m_parent, 370, 90), CCondFrameStatic::FillColor(::GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(PixelOf(m_symbol, 80, 8), RGB(255, 255, 200));
    SaveScreenshot(m_parent, "CondControls");

    // The glyph points down, or right once collapsed; the frame collapses to
    // its bottom line and back, and keeps its minimum width.
    const COLORREF text = ::GetSysColor(COLOR_BTNTEXT);
    EXPECT_EQ(PixelOf(m_expand, 8, 3), text);
    m_expand.SetExpanded(FALSE);
    EXPECT_EQ(PixelOf(m_expand, 8, 3), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(PixelOf(m_expand, 6, 5), text);

    m_frame.SetExpanded(FALSE);
    EXPECT_EQ(RectInParent(m_frame), CRect(10, 109, 390, 110));
    m_frame.SetExpanded(TRUE);
    EXPECT_EQ(RectInParent(m_frame), CRect(10, 10, 390, 110));
    m_frame.SetMinWidth(200);
    m_frame.MoveWindow(CRect(10, 10, 60, 110));
    EXPECT_EQ(RectInParent(m_frame), CRect(10, 10, 210, 110));
}

