#include "HoverTestWindows.h"

#include "controls/win/WindowWrappers.h"
#include "framework/win/Wnd.h"

#include <gtest/gtest.h>

using namespace orv::ui;

namespace {

// A window that existed once and is gone.
HWND NotAWindow()
{
    HWND wnd = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ::DestroyWindow(wnd);
    return wnd;
}

} // namespace

TEST(WindowWrappers, RectanglesTextAndClassAreReadOnceAndEmptyForAMissingWindow)
{
    CWnd wnd, edit;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "Rects", WS_POPUP | WS_VISIBLE | WS_BORDER, CRect(50, 60, 250, 160),
                             nullptr, 0));
    ASSERT_TRUE(edit.CreateEx(0, "EDIT", "Sell 100 IBM", WS_POPUP, CRect(0, 0, 100, 20), nullptr, 0));
    CWindowRect window(wnd);
    EXPECT_EQ(CClientRect(wnd), CRect(0, 0, 198, 98)); // inside a one-pixel border
    wnd.MoveWindow(CRect(0, 0, 100, 100));
    EXPECT_EQ(window, CRect(50, 60, 250, 160)); // as read before the move
    window = CRect(1, 2, 3, 4);
    EXPECT_EQ(window, CRect(1, 2, 3, 4));

    CWindowText text(edit);
    EXPECT_STREQ(text, "Sell 100 IBM");
    EXPECT_EQ(text.GetLength(), 12);
    CWindowClass windowClass(edit);
    EXPECT_EQ(CString(windowClass).CompareNoCase("Edit"), 0);
    EXPECT_EQ(windowClass.GetLength(), 4);
    CWindowClass copy(windowClass);
    EXPECT_STREQ(copy, windowClass);
    edit.SetWindowText("");
    EXPECT_EQ(CWindowText(edit).GetLength(), 0);
    CWindowText fromText("AAPL");
    EXPECT_STREQ(fromText, "AAPL");
    EXPECT_EQ(fromText.GetLength(), 4);
    EXPECT_EQ(CWindowText(static_cast<const char*>(nullptr)).GetLength(), 0);

    HWND gone = NotAWindow();
    EXPECT_TRUE(CClientRect(gone).IsRectNull());
    EXPECT_TRUE(CWindowRect(gone).IsRectNull());
    EXPECT_STREQ(CWindowText(gone), "");
    copy = CWindowClass(gone);
    EXPECT_STREQ(copy, "");
    EXPECT_EQ(copy.GetLength(), 0);
}

TEST(WindowWrappers, NestedRedrawScopesTurnRedrawingBackOnAndRepaintOnce)
{
    Counted<CWnd> wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "Redraw", WS_POPUP | WS_VISIBLE, TestFrameRect(), nullptr, 0));
    wnd.UpdateWindow();
    PumpPending();
    const int paintsBefore = wnd.m_paints;
    {
        CWindowRedraw outer(wnd);
        {
            CWindowRedraw inner(wnd);
            // Redrawing off: the system treats the window as hidden.
            EXPECT_FALSE(wnd.IsWindowVisible());
            wnd.Invalidate();
            PumpPending();
            EXPECT_EQ(wnd.m_paints, paintsBefore);
        }
        EXPECT_TRUE(wnd.IsWindowVisible());
        ASSERT_TRUE(PumpUntil([&] { return wnd.m_paints > paintsBefore; }));
    }
    EXPECT_TRUE(wnd.IsWindowVisible());
}
