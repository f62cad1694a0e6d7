#include "FrameTestWindows.h"
#include "UiTestResources.h"

#include "controls/win/NimSplitterWnd.h"
#include "framework/win/DC.h"
#include "framework/win/Dialog.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>

using namespace orv::ui;

namespace {

// Presses at `from` with real input, moves to `to`, runs `beforeRelease`
// and releases there.
void DragBar(CNimSplitterWnd& splitter, CPoint from, CPoint to, const std::function<void()>& beforeRelease = {})
{
    MoveMouseTo(splitter, from);
    PumpPending();
    MouseButtonAt(splitter, from, true);
    PumpUntil([&] { return splitter.IsTracking() || splitter.GetLock(); }, 1000);
    MoveMouseTo(splitter, to);
    PumpFor(50);
    if (beforeRelease)
        beforeRelease();
    MouseButtonAt(splitter, to, false);
    PumpUntil([&] { return !splitter.IsTracking(); }, 1000);
    PumpPending();
}

// A frame whose client is a splitter of CPaneView panes: a static one with
// a pane in each cell, or a dynamic one (of one pane until split).
struct SplitWindow {
    explicit SplitWindow(int rows, int cols, bool notify = true, bool dynamic = false)
        : splitter(notify ? &frame : nullptr)
    {
        EXPECT_TRUE(frame.Create("Splitter"));
        CCreateContext context;
        context.m_pNewViewClass = &CPaneView::GetThisClass();
        EXPECT_TRUE(dynamic ? splitter.Create(&frame, rows, cols, CSize(30, 30), &context)
                            : splitter.CreateStatic(&frame, rows, cols));
        for (int row = 0; row < rows && !dynamic; ++row) {
            for (int col = 0; col < cols; ++col)
                EXPECT_TRUE(splitter.CreateView(row, col, &CPaneView::GetThisClass(), CSize(120, 110), nullptr));
        }
        frame.RecalcLayout();
        ::SetForegroundWindow(frame);
        PumpPending();
    }
    CPoint ColumnBarCentre(int col = 0) const
    {
        const CRect left = splitter.GetCellRect(0, col), right = splitter.GetCellRect(0, col + 1);
        return CPoint((left.right + right.left) / 2, left.top + 30);
    }
    CPoint IntersectionCentre() const
    {
        const CRect topLeft = splitter.GetCellRect(0, 0), bottomRight = splitter.GetCellRect(1, 1);
        return CPoint((topLeft.right + bottomRight.left) / 2, (topLeft.bottom + bottomRight.top) / 2);
    }
    // Presses at the point, moves by the offset, then releases or (escape)
    // presses Escape first.
    void Drag(CPoint from, CSize by, bool escape = false, const char* shot = nullptr)
    {
        DragBar(splitter, from, from + by, [&] {
            if (shot != nullptr)
                SaveScreenshot(frame, shot);
            if (escape) {
                PressKey(VK_ESCAPE);
                PumpUntil([&] { return !splitter.IsTracking(); }, 1000);
            }
        });
    }

    CRecordingFrame frame;
    CNimSplitterWnd splitter;
};

class NimSplitter : public ::testing::Test {
protected:
    void SetUp() override { MouseAway(); }
    void TearDown() override { MouseAway(); }
};

} // namespace

TEST_F(NimSplitter, BarAndIntersectionDragsResizeAndNotifyUnlessLockedCancelledOrWithoutNotifyWindow)
{
    struct Case {
        const char* name;
        bool locked;
        bool notify;
        bool escape;
        int grows;        // pixels the left pane gains
        size_t notices;   // resize notifications
        const char* cursor; // over the bar
    } cases[] = {
        {"unlocked", false, true, false, 40, 1, IDC_SIZEWE},
        {"escape", false, true, true, 0, 0, IDC_SIZEWE},
        {"no notify window", false, false, false, 40, 0, IDC_SIZEWE},
        {"locked", true, true, false, 0, 0, IDC_ARROW},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SplitWindow window(1, 2, c.notify);
        window.splitter.SetLock(c.locked);
        EXPECT_EQ(window.splitter.GetLock(), c.locked ? TRUE : FALSE);
        const CPoint bar = window.ColumnBarCentre();
        MoveMouseTo(window.splitter, bar);
        EXPECT_TRUE(PumpUntil([&] { return ::GetCursor() == ::LoadCursorA(nullptr, c.cursor); }, 1000));
        const int before = window.splitter.GetCellRect(0, 0).Width();
        // The panes have their new sizes by the time the window is told.
        int widthWhenTold = -1;
        window.frame.m_onResized = [&] { widthWhenTold = window.splitter.GetCellRect(0, 0).Width(); };
        const bool shoot = !c.escape && c.notify;
        window.Drag(bar, CSize(40, 0), c.escape,
                    shoot ? (c.locked ? "NimSplitter-locked-drag" : "NimSplitter-unlocked-drag") : nullptr);
        EXPECT_EQ(window.splitter.GetCellRect(0, 0).Width(), before + c.grows);
        ASSERT_EQ(window.frame.m_resized.size(), c.notices);
        if (c.notices > 0) {
            EXPECT_EQ(window.frame.m_resized[0], reinterpret_cast<WPARAM>(&window.splitter));
            EXPECT_EQ(widthWhenTold, before + c.grows);
        }
        if (shoot)
            SaveScreenshot(window.frame, c.locked ? "NimSplitter-locked" : "NimSplitter-unlocked");
    }

    // A drag at the intersection resizes the row and the column, told once.
    SplitWindow window(2, 2);
    const CSize before = window.splitter.GetCellRect(0, 0).Size();
    window.Drag(window.IntersectionCentre(), CSize(30, -20));
    EXPECT_EQ(window.splitter.GetCellRect(0, 0).Size(), before + CSize(30, -20));
    EXPECT_EQ(window.frame.m_resized.size(), 1u);
    // The other panes follow the bars.
    EXPECT_EQ(window.splitter.GetCellRect(1, 1).left, window.splitter.GetCellRect(0, 1).left);
    EXPECT_EQ(window.splitter.GetCellRect(1, 1).top, window.splitter.GetCellRect(1, 0).top);
}

TEST_F(NimSplitter, SplitBoxMakesPanesOfTheRememberedClassWithoutNotifying)
{
    SplitWindow window(1, 2, true, true);
    CRecordingFrame& frame = window.frame;
    CNimSplitterWnd& splitter = window.splitter;
    ASSERT_EQ(splitter.GetColumnCount(), 1);

    // The column box sits at the top of the strip along the right edge.
    splitter.SetDynamicViewClass(&COtherView::GetThisClass());
    const CRect client = splitter.GetClientRect();
    const CPoint box(client.right - 4, client.top + 5);
    EXPECT_EQ(splitter.HitTest(box), CSplitterWnd::columnSplitBox);
    DragBar(splitter, box, CPoint(150, 40));
    ASSERT_EQ(splitter.GetColumnCount(), 2);
    EXPECT_NE(dynamic_cast<COtherView*>(splitter.GetPane(0, 1)), nullptr);
    EXPECT_EQ(dynamic_cast<COtherView*>(splitter.GetPane(0, 0)), nullptr);
    EXPECT_TRUE(frame.m_resized.empty());
    SaveScreenshot(frame, "NimSplitter-dynamic-split");

    // Deleting with remember keeps the deleted view's class for the next
    // split; without remember the class stays.
    splitter.SetDynamicViewClass(&CPaneView::GetThisClass());
    splitter.DeleteView(0, 1, FALSE);
    EXPECT_EQ(splitter.GetDynamicViewClass(), &CPaneView::GetThisClass());
    ASSERT_TRUE(splitter.CreateView(0, 1, &COtherView::GetThisClass(), CSize(0, 0), nullptr));
    splitter.DeleteView(0, 1, TRUE);
    EXPECT_EQ(splitter.GetDynamicViewClass(), &COtherView::GetThisClass());
    splitter.DeleteColumn(1);
    ASSERT_EQ(splitter.GetColumnCount(), 1);
    EXPECT_FALSE(splitter.SplitColumn(10)); // below the least pane size
    ASSERT_TRUE(splitter.SplitColumn(120));
    EXPECT_NE(dynamic_cast<COtherView*>(splitter.GetPane(0, 1)), nullptr);
    EXPECT_TRUE(frame.m_resized.empty());

    // A bar dragged past the right pane's least size removes that column;
    // it is a bar drag, so the window is told.
    const CPoint bar = window.ColumnBarCentre();
    DragBar(splitter, bar, CPoint(client.right - 5, bar.y));
    EXPECT_EQ(splitter.GetColumnCount(), 1);
    EXPECT_EQ(frame.m_resized.size(), 1u);
}

TEST_F(NimSplitter, WheelScrollsThePaneOnlyWithThePointerInside)
{
    SplitWindow window(1, 2);
    auto* left = dynamic_cast<CPaneView*>(window.splitter.GetPane(0, 0));
    ASSERT_NE(left, nullptr);
    CPoint inside = window.splitter.GetCellRect(0, 0).CenterPoint();
    window.splitter.ClientToScreen(&inside);
    const CRect frameRect = window.frame.GetWindowRect();
    const CPoint outside(frameRect.right + 30, frameRect.top + 10);
    struct Case {
        const char* name;
        CPoint screen;
        short delta;
        int lines;  // the left pane's lines afterwards
        int wheels; // wheel messages passed on to the frame
    } cases[] = {
        {"inside, two notches down", inside, -240, 2, 0},
        {"inside, one notch up", inside, 120, 1, 0},
        {"outside", outside, -120, 1, 1},
    };
    for (const Case& c : cases) {
        window.splitter.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(c.delta)),
                                    MAKELPARAM(c.screen.x, c.screen.y));
        EXPECT_EQ(std::pair(left->m_lines, window.frame.m_wheels), std::pair(c.lines, c.wheels)) << c.name;
    }
}

TEST_F(NimSplitter, AvailableClientSizeLeavesOneGapPerExtraPaneAndNeverGoesNegative)
{
    struct Case {
        int rows, cols, width, height;
        CSize expected;
    } cases[] = {
        {1, 1, 300, 200, CSize(298, 198)},
        {2, 2, 300, 200, CSize(291, 191)},
        {1, 3, 300, 200, CSize(284, 198)},
        {1, 3, 10, 200, CSize(0, 198)},
        {3, 1, 300, 12, CSize(298, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rows << "x" << c.cols << " in " << c.width << "x" << c.height);
        CRecordingFrame frame;
        ASSERT_TRUE(frame.Create("Sizes"));
        CNimSplitterWnd splitter;
        ASSERT_TRUE(splitter.CreateStatic(&frame, c.rows, c.cols, WS_CHILD | WS_VISIBLE, 1));
        splitter.MoveWindow(CRect(0, 0, c.width, c.height));
        EXPECT_EQ(splitter.GetAvailableClientSize(), c.expected);
    }
}

TEST_F(NimSplitter, PaintsFlatAndItsSplitBoxRaisedInSystemColoursAndRereadsThemOnAChange)
{
    SplitWindow window(1, 2);
    window.splitter.UpdateWindow();
    const CPoint bar = window.ColumnBarCentre();
    const CRect cell = window.splitter.GetCellRect(0, 0);
    {
        CClientDC dc(window.splitter);
        EXPECT_EQ(dc.GetPixel(bar.x, bar.y), ::GetSysColor(COLOR_BTNFACE));
        // The one-pixel border: shadow at the top-left, highlight at the
        // bottom-right.
        EXPECT_EQ(dc.GetPixel(cell.left - 1, cell.top + 20), ::GetSysColor(COLOR_BTNSHADOW));
        EXPECT_EQ(dc.GetPixel(cell.right, cell.top + 20), ::GetSysColor(COLOR_BTNHIGHLIGHT));
    }
    // Without a DC a part is invalidated, and the panes are not.
    window.splitter.UpdateWindow();
    window.splitter.RecalcLayout();
    EXPECT_TRUE(::GetUpdateRect(window.splitter, nullptr, FALSE));
    EXPECT_FALSE(::GetUpdateRect(window.splitter.GetPaneWnd(0, 0), nullptr, FALSE));

    const int element = COLOR_BTNFACE;
    const COLORREF original = ::GetSysColor(COLOR_BTNFACE), changed = RGB(200, 40, 40);
    ASSERT_TRUE(::SetSysColors(1, &element, &changed));
    // The system tells top-level windows; the frame passes it down.
    window.frame.SendMessage(WM_SYSCOLORCHANGE);
    PumpPending();
    window.splitter.UpdateWindow();
    // The colour the splitter holds and the one it paints.
    const std::pair seen(window.splitter.GetFaceColor(), CClientDC(window.splitter).GetPixel(bar.x, bar.y));
    ::SetSysColors(1, &element, &original);
    window.frame.SendMessage(WM_SYSCOLORCHANGE);
    EXPECT_EQ(seen, std::pair(changed, changed));

    // A dynamic splitter's split box is a raised box in the same colours.
    SplitWindow boxes(2, 2, false, true);
    CNimSplitterWnd& splitter = boxes.splitter;
    splitter.UpdateWindow();
    const CRect client = splitter.GetClientRect();
    // The column box's strip: 1 pixel of border, then 7 of box.
    const int left = client.right - 8, top = 1;
    CClientDC dc(splitter);
    EXPECT_EQ(dc.GetPixel(left, top), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(dc.GetPixel(left + 6, top + 10), ::GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(dc.GetPixel(left + 1, top + 1), ::GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(dc.GetPixel(left + 5, top + 10), ::GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(dc.GetPixel(left + 3, top + 5), ::GetSysColor(COLOR_BTNFACE));
    SaveScreenshot(boxes.frame, "NimSplitter-split-boxes");
}

TEST_F(NimSplitter, AnExistingDialogBecomesAPaneAndFollowsTheBar)
{
    CRecordingFrame frame;
    ASSERT_TRUE(frame.Create("Dialog pane"));
    CNimSplitterWnd splitter(&frame);
    ASSERT_TRUE(splitter.CreateStatic(&frame, 1, 2));
    ASSERT_TRUE(splitter.CreateView(0, 0, &CPaneView::GetThisClass(), CSize(140, 0), nullptr));
    CDialog dialog(IDD_TEST_DIALOG);
    ASSERT_TRUE(dialog.Create(IDD_TEST_DIALOG));
    ASSERT_TRUE(splitter.SetPane(0, 1, dialog));
    EXPECT_FALSE(splitter.SetPane(0, 1, dialog)); // the place is taken
    frame.RecalcLayout();
    ::SetForegroundWindow(frame);
    PumpPending();
    EXPECT_EQ(dialog.GetParent(), splitter.GetSafeHwnd());
    EXPECT_NE(dialog.GetStyle() & WS_CHILD, 0u);
    EXPECT_EQ(splitter.GetPaneWnd(0, 1), dialog.GetSafeHwnd());
    EXPECT_EQ(RectInParent(dialog), splitter.GetCellRect(0, 1));
    SaveScreenshot(frame, "NimSplitter-dialog-pane");

    const CRect left = splitter.GetCellRect(0, 0);
    const CPoint bar(left.right + 3, 40);
    DragBar(splitter, bar, CPoint(bar.x - 30, 40));
    EXPECT_EQ(splitter.GetCellRect(0, 0).Width(), left.Width() - 30);
    EXPECT_EQ(RectInParent(dialog), splitter.GetCellRect(0, 1));
    EXPECT_EQ(frame.m_resized.size(), 1u);
}
