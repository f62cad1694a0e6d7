#include "HoverTestWindows.h"

#include "controls/win/DragWnd.h"
#include "controls/win/SysColors.h"
#include "controls/win/WindowWrappers.h"

#include <gtest/gtest.h>

using namespace orv::ui;

namespace {

const COLORREF kMarker = RGB(200, 0, 0);

// Inverts a colour as the drag box's last drawing step does.
COLORREF Inverted(COLORREF colour)
{
    return colour ^ 0x00FFFFFF;
}

using DividerDrag = FrameTest<>;

} // namespace

TEST_F(DividerDrag, DividerShowsTwoArrowsCentredOnThePoint)
{
    auto* divider = new CDividerWnd(kMarker, TRUE);
    ASSERT_TRUE(divider->Create(100));
    const HWND wnd = divider->GetSafeHwnd();
    EXPECT_FALSE(divider->IsWindowVisible());
    EXPECT_FALSE(divider->IsWindowEnabled());
    EXPECT_TRUE(divider->GetExStyle() & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(divider->SetWindowPos(300, 200));
    EXPECT_EQ(divider->GetWindowRect(), CRect(294, 140, 306, 260));
    EXPECT_TRUE(divider->GetExStyle() & WS_EX_TOPMOST);

    // Only the arrows belong to the window: the heads' tips, the shafts'
    // ends, and nothing between them.
    CRgn shape;
    shape.CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(::GetWindowRgn(wnd, shape), ERROR);
    const struct { int x, y; bool inside; } points[] = {
        {6, 1, true}, {6, 7, true}, {2, 5, true}, {1, 1, false}, {6, 60, false},
        {6, 111, true}, {6, 118, true}, {9, 115, true}, {1, 118, false}, {11, 2, false},
    };
    for (const auto& p : points)
        EXPECT_EQ(shape.PtInRegion(p.x, p.y) != FALSE, p.inside) << p.x << "," << p.y;
    EXPECT_EQ(WindowPixel(wnd, 6, 3), kMarker);
    EXPECT_EQ(WindowPixel(wnd, 6, 114), kMarker);
    SaveScreenshot(wnd, "Divider");

    // A click on the disabled marker does not take the focus or activate it.
    ::SetForegroundWindow(m_frame);
    PumpPending();
    ClickAt(wnd, CPoint(6, 114));
    EXPECT_EQ(::GetForegroundWindow(), m_frame.GetSafeHwnd());

    divider->DestroyWindow(); // deletes the object
}

TEST_F(DividerDrag, DragBoxShowsItsCaptionInvertedAndHalfTransparent)
{
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(90, "Tahoma"));
    auto* drag = new CDragWnd;
    ASSERT_TRUE(drag->Create(CRect(0, 0, 120, 24), &font, "Last Size"));
    const HWND wnd = drag->GetSafeHwnd();
    EXPECT_EQ(drag->GetCaption(), "Last Size");
    EXPECT_FALSE(drag->IsWindowVisible());
    EXPECT_FALSE(drag->IsWindowEnabled());
    const DWORD kinds = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_LAYERED; // the system offers layered windows
    ASSERT_EQ(drag->GetExStyle() & kinds, kinds);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(::GetLayeredWindowAttributes(wnd, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 126);
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));

    EXPECT_TRUE(drag->SetWindowPos(150, 120, TRUE));
    EXPECT_TRUE(drag->IsWindowVisible());
    EXPECT_EQ(drag->GetWindowRect(), CRect(150, 120, 270, 144));
    CClientDC dc(wnd);
    EXPECT_EQ(dc.GetPixel(110, 12), Inverted(CSysColors::sm_crBtnFace));
    EXPECT_EQ(dc.GetPixel(0, 0), Inverted(CSysColors::sm_cr3DHilite));
    EXPECT_EQ(dc.GetPixel(119, 23), Inverted(CSysColors::sm_cr3DShadow));
    EXPECT_GT(CountPixels(wnd, CRect(4, 0, 80, 24), Inverted(CSysColors::sm_crText)), 10); // the caption

    auto* divider = new CDividerWnd(kMarker, TRUE);
    ASSERT_TRUE(divider->Create(24));
    divider->SetWindowPos(150, 132);
    SaveScreenshot(wnd, "DragBox");
    SaveScreenshot(::GetDesktopWindow(), "DragBox-with-divider");

    EXPECT_TRUE(drag->SetWindowPos(10, 10, FALSE));
    EXPECT_FALSE(drag->IsWindowVisible());
    divider->DestroyWindow();
    drag->DestroyWindow();
}

// The divider's shape belongs to its window once set, and both objects go
// with their windows: nothing is left behind or deleted twice.
TEST_F(DividerDrag, CreatingAndDestroyingLeavesNoHandles)
{
    ExpectNoHandleLeak(
        [&] {
            auto* divider = new CDividerWnd(kMarker);
            divider->Create(60);
            divider->SetWindowPos(200, 200);
            auto* drag = new CDragWnd;
            drag->Create(CRect(0, 0, 80, 20), static_cast<HFONT>(nullptr), "Bid");
            drag->SetWindowPos(220, 200, TRUE);
            divider->DestroyWindow();
            drag->DestroyWindow();
        },
        0, 300);
    // A negative height makes nothing.
    auto* divider = new CDividerWnd(kMarker);
    EXPECT_FALSE(divider->Create(-1));
    delete divider;
}
