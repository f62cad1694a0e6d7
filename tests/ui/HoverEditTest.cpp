#include "HoverTestWindows.h"

#include "controls/win/HoverLook.h"
#include "controls/win/SysColors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

using namespace orv::ui;

namespace {

const UINT kEditId = 101;
const UINT kSpinId = 102;

class HoverEdit : public FrameTest<> {
protected:
    HoverEdit() : FrameTest("Hover edit") {}
    void MakeControls() override
    {
        ASSERT_TRUE(m_edit.CreateEx(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                                    CRect(20, 20, 140, 43), m_frame, kEditId));
    }

    // The pixel just outside the client area's top-left corner, grown by n,
    // once the waiting messages (a repaint) are dispatched.
    COLORREF RingPixel(int n)
    {
        PumpPending();
        const RECT client = ClientRectInWindow(m_edit);
        return WindowPixel(m_edit, client.left - n, client.top - n + 3);
    }

    CStepEdit m_edit;
};

// The edit with a spin at its right, the spin's buddy when asked.
class HoverSpin : public HoverEdit {
protected:
    void CreateSpin(bool buddied, const CRect& rect = CRect(140, 20, 156, 44))
    {
        ASSERT_TRUE(m_spin.Create(WS_VISIBLE | UDS_ARROWKEYS, rect, &m_frame, kSpinId));
        m_edit.m_spin = m_spin;
        if (buddied)
            m_spin.SetBuddy(&m_edit);
    }
    int Pos() const { return static_cast<int>(m_spin.SendMessage(UDM_GETPOS32)); }

    CNimHoverSpin m_spin;
};

} // namespace

TEST_F(HoverEdit, ClassicBorderLightsUnderTheMouseAndWithTheFocus)
{
    ASSERT_FALSE(m_edit.IsThemed()); // the test program asks for no visual styles
    m_edit.SetWindowText("125.50");
    EXPECT_EQ(RingPixel(1), CSysColors::sm_crBtnFace);
    EXPECT_EQ(RingPixel(2), CSysColors::sm_cr3DShadow);
    SaveScreenshot(m_edit, "HoverEdit-normal");

    MoveMouseTo(m_edit, CPoint(30, 8));
    ASSERT_TRUE(PumpUntil([&] { return m_edit.IsTracking() != FALSE; }));
    EXPECT_EQ(RingPixel(1), CSysColors::sm_cr3DDkShadow);
    SaveScreenshot(m_edit, "HoverEdit-hot");

    MouseAway();
    ASSERT_TRUE(PumpUntil([&] { return m_edit.IsTracking() == FALSE; }));
    EXPECT_EQ(RingPixel(1), CSysColors::sm_crBtnFace);

    m_edit.SetFocus();
    EXPECT_EQ(RingPixel(1), CSysColors::sm_cr3DDkShadow);
    SaveScreenshot(m_edit, "HoverEdit-focused");

    ::SetFocus(m_frame);
    m_edit.EnableWindow(FALSE);
    EXPECT_EQ(RingPixel(1), CSysColors::sm_crBtnFace);
    SaveScreenshot(m_edit, "HoverEdit-disabled");
}

// With select-all on focus asked for, the same click selects the whole text
// (the date-time edit's spin test sees that).
TEST_F(HoverEdit, ClickThatGivesTheFocusPlacesTheCaretByDefault)
{
    m_edit.SetWindowText("12345");
    ClickAt(m_edit, CPoint(4, 8));
    ASSERT_TRUE(PumpUntil([&] { return ::GetFocus() == m_edit.GetSafeHwnd(); }));
    PumpPending();
    int start = -1, end = -1;
    m_edit.GetSel(start, end);
    EXPECT_EQ(end - start, 0);
}

TEST_F(HoverEdit, UndoAnnouncesTheRestoredTextAndTheContextMenuGoesToTheParentOnlyWhenForwarded)
{
    m_edit.SetWindowText("100");
    m_edit.SetSel(0, -1);
    m_edit.ReplaceSel("250", TRUE);
    // The second undo undoes the first.
    for (const auto& [message, restored] : {std::pair<UINT, const char*> {EM_UNDO, "100"}, {WM_UNDO, "250"}}) {
        m_frame.m_notices.clear();
        m_edit.SendMessage(message);
        const Notice* change = m_frame.Last(WM_COMMAND, EN_CHANGE);
        ASSERT_NE(change, nullptr);
        EXPECT_EQ(change->id, kEditId);
        EXPECT_EQ(change->from, m_edit.GetSafeHwnd());
        EXPECT_EQ(change->text, restored);
    }

    // The context menu goes to the parent only when forwarded.
    m_edit.SetForwardContextMenu(TRUE);
    m_edit.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(m_edit.GetSafeHwnd()), MAKELPARAM(77, 88));
    ASSERT_EQ(m_frame.Count(WM_CONTEXTMENU, 0), 1u);
    EXPECT_EQ(m_frame.m_notices.back().from, m_edit.GetSafeHwnd());
    EXPECT_EQ(CRect(m_frame.m_notices.back().rect).TopLeft(), CPoint(77, 88));

    // The edit's own menu runs a modal loop; a timer closes it.
    m_edit.SetForwardContextMenu(FALSE);
    m_frame.m_notices.clear();
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 150, [](HWND, UINT, UINT_PTR, DWORD) { ::EndMenu(); });
    m_edit.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(m_edit.GetSafeHwnd()), MAKELPARAM(200, 200));
    ::KillTimer(nullptr, timer);
    EXPECT_EQ(m_frame.Count(WM_CONTEXTMENU, 0), 0u);
}

// ------------------------------------------------------------------ spin

TEST_F(HoverSpin, RangeAndPositionStayFixedWhateverTheCallerAsks)
{
    CreateSpin(false);
    for (int call = 0; call < 2; ++call) {
        if (call == 1) {
            m_spin.SetRange(5.5, 7.25);
            m_spin.SetPos(3.0);
        }
        int lower = -1, upper = -1;
        m_spin.SendMessage(UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
        EXPECT_EQ(CPoint(lower, upper), CPoint(0, 1000));
        EXPECT_EQ(Pos(), 500);
    }
}

TEST_F(HoverSpin, BuddyMakesTheSizeEvenAndKeepsTheBuddyLevel)
{
    m_edit.MoveWindow(CRect(20, 20, 140, 35)); // 15 high
    CreateSpin(false, CRect(140, 20, 155, 35)); // 15 by 15
    m_spin.SetBuddy(&m_edit);
    EXPECT_EQ(RectInParent(m_spin), CRect(140, 20, 156, 36));
    EXPECT_EQ(m_edit.GetWindowRect().Size(), CSize(120, 16));

    // Even already: nothing moves.
    m_spin.SetBuddy(nullptr);
    EXPECT_EQ(m_spin.GetBuddy(), nullptr);
    m_spin.SetBuddy(&m_edit);
    EXPECT_EQ(m_spin.GetWindowRect().Size(), CSize(16, 16));
    EXPECT_EQ(m_edit.GetWindowRect().Height(), 16);

    // The spin follows its buddy's visibility.
    m_edit.ShowWindow(SW_HIDE);
    m_spin.SetBuddy(&m_edit);
    EXPECT_FALSE(m_spin.GetStyle() & WS_VISIBLE);
    m_edit.ShowWindow(SW_SHOW);
    m_spin.SetBuddy(&m_edit);
    EXPECT_TRUE(m_spin.GetStyle() & WS_VISIBLE);
}

TEST_F(HoverSpin, RepeatedStepsStayInsideTheRangeAndReachTheBuddyOncePerRepeat)
{
    CreateSpin(true);
    m_edit.m_maximum = 100000;
    m_edit.m_minimum = -100000;
    // Holding the up arrow with the mouse repeats until it is let go.
    MoveMouseTo(m_spin, CPoint(8, 6));
    MouseButtonAt(m_spin, CPoint(8, 6), true);
    PumpUntil([&] { return m_edit.m_steps.size() >= 6; }, 3000);
    MouseButtonAt(m_spin, CPoint(8, 6), false);
    PumpPending();
    EXPECT_GE(m_edit.m_steps.size(), 6u);
    for (int s : m_edit.m_steps)
        EXPECT_GT(s, 0);
    m_edit.m_steps.clear();
    m_edit.m_value = 0;

    // The arrow keys in the buddy step the spin as its arrows do. Up, the
    // top is reached and the spin starts again from the middle; down, the
    // bottom likewise.
    const struct { UINT key; int step; int value; } runs[] = {{VK_UP, 1, 1500}, {VK_DOWN, -1, 0}};
    for (const auto& run : runs) {
        m_edit.m_steps.clear();
        int lowest = 1000, highest = 0;
        for (int i = 0; i < 1500; ++i) {
            m_edit.SendMessage(WM_KEYDOWN, run.key, 1);
            lowest = std::min(lowest, Pos());
            highest = std::max(highest, Pos());
        }
        m_edit.SendMessage(WM_KEYUP, run.key, 1); // the spin forgets the arrow
        ASSERT_EQ(m_edit.m_steps.size(), 1500u);
        EXPECT_EQ(std::count(m_edit.m_steps.begin(), m_edit.m_steps.end(), run.step), 1500);
        EXPECT_EQ(m_edit.m_value, run.value);
        EXPECT_EQ(run.step > 0 ? highest : lowest, run.step > 0 ? 999 : 1);
        EXPECT_TRUE(lowest >= 1 && highest <= 999);
    }
}

TEST_F(HoverSpin, ArrowAtTheBuddysLimitCannotBePressed)
{
    CreateSpin(true);
    const CPoint up(8, 6), down(8, 17);
    auto hit = [&](CPoint point) {
        m_spin.ClientToScreen(&point);
        return m_spin.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y));
    };
    m_edit.m_value = m_edit.m_minimum;
    EXPECT_EQ(hit(up), HTCLIENT);
    EXPECT_EQ(hit(down), HTNOWHERE);
    m_edit.m_value = m_edit.m_maximum;
    EXPECT_EQ(hit(up), HTNOWHERE);
    EXPECT_EQ(hit(down), HTCLIENT);

    ClickAt(m_spin, up);
    PumpFor(200);
    EXPECT_TRUE(m_edit.m_steps.empty());
    ClickAt(m_spin, down);
    ASSERT_TRUE(PumpUntil([&] { return !m_edit.m_steps.empty(); }));
    EXPECT_EQ(m_edit.m_steps, std::vector<int> {-1});
    EXPECT_EQ(m_edit.m_value, 99);
}

TEST_F(HoverSpin, HoverIsTrackedOnlyWhileTheSpinAndItsBuddyAreEnabled)
{
    CreateSpin(true);
    SaveScreenshot(m_spin, "HoverSpin-normal");
    MoveMouseTo(m_spin, CPoint(8, 6));
    ASSERT_TRUE(PumpUntil([&] { return m_spin.IsTracking() != FALSE; }));
    SaveScreenshot(m_spin, "HoverSpin-hot");
    MouseAway();
    ASSERT_TRUE(PumpUntil([&] { return m_spin.IsTracking() == FALSE; }));

    m_edit.EnableWindow(FALSE);
    MoveMouseTo(m_spin, CPoint(8, 17));
    PumpFor(200);
    EXPECT_FALSE(m_spin.IsTracking());
    m_spin.EnableWindow(FALSE);
    SaveScreenshot(m_spin, "HoverSpin-disabled");
}
