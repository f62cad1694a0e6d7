#include "HoverTestWindows.h"

#include "controls/win/DateTimeEdit.h"
#include "controls/win/HotKeyCtrl.h"
#include "controls/win/HoverButton.h"
#include "controls/win/HoverCombo.h"
#include "controls/win/HyperLink.h"
#include "controls/win/IntelliCombo.h"
#include "controls/win/Led.h"
#include "controls/win/ToolTipCtrl.h"
#include "controls/win/WindowUtils.h"

#include <gtest/gtest.h>

#include <functional>

using namespace orv::ui;

namespace {

const UINT kButtonId = 201;
const UINT kDropDown = static_cast<UINT>(-1248);

class HoverButton : public FrameTest<> {
protected:
    HoverButton() : FrameTest("Hover button") {}
    void MakeControls() override
    {
        ASSERT_TRUE(m_button.Create("Buy", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, CRect(20, 20, 120, 46), &m_frame,
                                    kButtonId));
    }

    size_t Clicks() const { return m_frame.Count(WM_COMMAND, BN_CLICKED); }
    size_t DropDowns() const { return m_frame.Count(WM_NOTIFY, kDropDown); }
    CNimHoverButton m_button;
};

} // namespace

TEST_F(HoverButton, PushButtonsBecomeOwnerDrawnAndKeepThatStyle)
{
    EXPECT_EQ(m_button.GetStyle() & 0x0F, static_cast<DWORD>(BS_OWNERDRAW));
    EXPECT_FALSE(m_button.GetDefault());

    CNimHoverButton def;
    ASSERT_TRUE(def.Create("OK", WS_VISIBLE | BS_DEFPUSHBUTTON, CRect(20, 60, 120, 86), &m_frame, 3));
    EXPECT_TRUE(def.SendMessage(WM_GETDLGCODE) & DLGC_DEFPUSHBUTTON);
    EXPECT_FALSE(def.SendMessage(WM_GETDLGCODE) & DLGC_WANTARROWS);
    // The dialog manager's style change is refused.
    EXPECT_EQ(def.SendMessage(BM_SETSTYLE, BS_PUSHBUTTON, TRUE), 0);
    EXPECT_EQ(def.GetStyle() & 0x0F, static_cast<DWORD>(BS_OWNERDRAW));
    def.SetSplitButton(TRUE);
    EXPECT_TRUE(def.GetToggleLine());
    EXPECT_TRUE(def.SendMessage(WM_GETDLGCODE) & DLGC_WANTARROWS);

    // An existing push button is taken over; a check box is left alone.
    auto adoptedKind = [&](DWORD style) {
        CNimHoverButton adopted;
        EXPECT_TRUE(adopted.SubclassWindow(::CreateWindowExA(0, "BUTTON", "Sell", WS_CHILD | WS_VISIBLE | style, 20,
                                                             100, 100, 26, m_frame, nullptr, nullptr, nullptr)));
        return adopted.GetStyle() & 0x0F;
    };
    EXPECT_EQ(adoptedKind(BS_PUSHBUTTON), static_cast<DWORD>(BS_OWNERDRAW));
    EXPECT_EQ(adoptedKind(BS_AUTOCHECKBOX), static_cast<DWORD>(BS_AUTOCHECKBOX));
}

TEST_F(HoverButton, ColoursStartAsSystemColoursAndRepaintOnlyOnChange)
{
    EXPECT_EQ(m_button.GetSelTextColor(), 0x80000012u);
    EXPECT_EQ(m_button.GetTextColor(), 0x80000012u);
    EXPECT_EQ(m_button.GetDisabledTextColor(), 0x80000011u);
    EXPECT_EQ(m_button.GetHiliteColor(), 0x80000014u);
    EXPECT_EQ(m_button.GetBtnFaceColor(), 0x8000000Fu);
    EXPECT_EQ(m_button.GetShadowColor(), 0x80000010u);
    EXPECT_EQ(m_button.GetSelBkgndColor(), 0x80000014u);

    RECT update {};
    ::ValidateRect(m_button, nullptr);
    m_button.SetTextColor(0x80000012);
    m_button.SetBtnFaceColor(0x8000000F);
    EXPECT_FALSE(::GetUpdateRect(m_button, &update, FALSE));
    m_button.SetBtnFaceColor(RGB(0, 128, 0));
    EXPECT_TRUE(::GetUpdateRect(m_button, &update, FALSE));
    m_button.SetTextColor(RGB(255, 255, 0));
    PumpPending();
    EXPECT_EQ(WindowPixel(m_button, 50, 4), RGB(0, 128, 0)); // the face
    SaveScreenshot(m_button, "HoverButton-colours");
}

TEST_F(HoverButton, SelectedButtonIsReleasedByTheNextClick)
{
    m_button.SetSelected(TRUE);
    PumpPending();
    EXPECT_EQ(WindowPixel(m_button, 50, 4), TranslateColor(m_button.GetSelBkgndColor()));
    SaveScreenshot(m_button, "HoverButton-selected");
    ClickAt(m_button, CPoint(30, 12));
    ASSERT_TRUE(PumpUntil([&] { return Clicks() == 1; }));
    EXPECT_FALSE(m_button.GetSelected());
    ClickAt(m_button, CPoint(80, 12)); // far enough not to make a double click
    ASSERT_TRUE(PumpUntil([&] { return Clicks() == 2; }));
    EXPECT_FALSE(m_button.GetSelected()); // selecting is the caller's business
}

TEST_F(HoverButton, SplitArrowIsATriangleOfSevenFiveThreeAndOnePixelsAndOnlyTheMainPartClicks)
{
    m_button.SetSplitButton(TRUE);
    m_button.SetTextColor(RGB(200, 0, 0));
    PumpPending();
    const CRect split = m_button.GetSplitRect();
    EXPECT_EQ(split.right, 100);
    EXPECT_EQ(RowCounts(m_button, split, RGB(200, 0, 0)), (std::vector<int> {7, 5, 3, 1}));
    SaveScreenshot(m_button, "HoverButton-split");
    m_button.SetDisabledTextColor(RGB(0, 0, 200));
    m_button.EnableWindow(FALSE);
    PumpPending();
    EXPECT_EQ(RowCounts(m_button, split, RGB(0, 0, 200)), (std::vector<int> {7, 5, 3, 1}));
    SaveScreenshot(m_button, "HoverButton-split-disabled");
    m_button.EnableWindow(TRUE);

    ClickAt(m_button, CPoint(20, 12));
    ASSERT_TRUE(PumpUntil([&] { return Clicks() == 1; }));
    EXPECT_EQ(DropDowns(), 0u);

    bool droppingWhileNotified = false;
    m_frame.m_onDropDown = [&](const Notice&) {
        droppingWhileNotified = m_button.IsDroppingDown() != FALSE;
        SaveScreenshot(m_button, "HoverButton-dropping-down");
    };
    ClickAt(m_button, CPoint(split.left + 5, 12));
    ASSERT_TRUE(PumpUntil([&] { return DropDowns() == 1; }));
    PumpFor(100);
    EXPECT_EQ(Clicks(), 1u); // the press on the split part is no click
    const Notice* drop = m_frame.Last(WM_NOTIFY, kDropDown);
    EXPECT_EQ(drop->id, kButtonId);
    EXPECT_EQ(drop->from, m_button.GetSafeHwnd());
    EXPECT_EQ(CRect(drop->rect), split);
    EXPECT_TRUE(droppingWhileNotified);
    EXPECT_FALSE(m_button.IsDroppingDown());
    EXPECT_EQ(::GetCapture(), nullptr);

    // The down arrow drops down as well.
    m_button.SendMessage(WM_KEYDOWN, VK_DOWN, 1);
    EXPECT_EQ(DropDowns(), 2u);

    // A parent that destroys the button from the notification: the release
    // that sent it repaints nothing afterwards (a null window would mean
    // every top-level window).
    Counted<CWnd> other;
    ASSERT_TRUE(other.CreateEx(0, nullptr, "Other", WS_POPUP | WS_VISIBLE, CRect(500, 40, 600, 90), nullptr, 0));
    m_frame.m_onDropDown = [&](const Notice&) { m_button.DestroyWindow(); };
    PumpPending();
    other.m_paints = 0;
    ClickAt(m_button, CPoint(split.left + 5, 12));
    ASSERT_TRUE(PumpUntil([&] { return m_button.GetSafeHwnd() == nullptr; }));
    PumpFor(100);
    EXPECT_EQ(other.m_paints, 0);
}

TEST_F(HoverButton, DoubleClickIsASecondPressWhenIgnoredAndTheSpaceBarNoneWhenEaten)
{
    auto doubleClick = [&] {
        const LPARAM at = MAKELPARAM(30, 12);
        for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
            m_button.PostMessage(message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, at);
        PumpPending();
    };
    auto space = [&] {
        m_button.SetFocus();
        m_button.SendMessage(WM_KEYDOWN, VK_SPACE, 1);
        m_button.SendMessage(WM_KEYUP, VK_SPACE, 1);
    };
    const struct {
        std::function<void()> input;
        void (CNimHoverButton::*set)(BOOL);
        BOOL (CNimHoverButton::*get)() const;
        size_t clicksWithout, clicksWith;
    } cases[] = {
        {doubleClick, &CNimHoverButton::SetIgnoreDoubleClicks, &CNimHoverButton::GetIgnoreDoubleClicks, 1, 2},
        {space, &CNimHoverButton::SetEatSpaceClicks, &CNimHoverButton::GetEatSpaceClicks, 1, 0},
    };
    for (const auto& c : cases) {
        for (BOOL flag : {FALSE, TRUE}) {
            (m_button.*c.set)(flag);
            EXPECT_EQ((m_button.*c.get)(), flag);
            m_frame.m_notices.clear();
            c.input();
            EXPECT_EQ(Clicks(), flag ? c.clicksWith : c.clicksWithout);
        }
        (m_button.*c.set)(FALSE);
    }
}

TEST_F(HoverButton, HoverIsTrackedAndReportedToTheBuddy)
{
    EXPECT_EQ(m_button.SendMessage(RWM_ORV_AREYOUTRACKING), 0);
    SaveScreenshot(m_button, "HoverButton-normal");
    MoveMouseTo(m_button, CPoint(30, 12));
    ASSERT_TRUE(PumpUntil([&] { return m_button.IsTracking() != FALSE; }));
    EXPECT_EQ(m_button.SendMessage(RWM_ORV_AREYOUTRACKING), 1);
    SaveScreenshot(m_button, "HoverButton-hot");

    MouseButtonAt(m_button, CPoint(30, 12), true);
    PumpUntil([&] { return ::GetCapture() == m_button.GetSafeHwnd(); }, 1000);
    SaveScreenshot(m_button, "HoverButton-pressed");
    EXPECT_EQ(WindowPixel(m_button, 0, 0), TranslateColor(m_button.GetShadowColor())); // sunken
    MouseButtonAt(m_button, CPoint(30, 12), false);
    ASSERT_TRUE(PumpUntil([&] { return Clicks() == 1; }));

    MouseAway();
    ASSERT_TRUE(PumpUntil([&] { return m_button.IsTracking() == FALSE; }));
    m_button.SetFocus();
    SaveScreenshot(m_button, "HoverButton-focused");
    m_button.SetDefault(TRUE);
    SaveScreenshot(m_button, "HoverButton-default");
    m_button.EnableWindow(FALSE);
    SaveScreenshot(m_button, "HoverButton-disabled");
}

TEST_F(HoverButton, BuddyPlacementFollowsTheBuddyOrItsSpin)
{
    CStepEdit edit;
    ASSERT_TRUE(edit.CreateEx(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE, CRect(20, 80, 120, 101), m_frame, 7));
    m_button.MoveWindow(CRect(0, 0, 24, 15));
    m_button.SetBuddy(edit, FALSE);
    EXPECT_EQ(m_button.GetWindowRect().Size(), CSize(24, 15)); // only remembered

    m_button.SetBuddy(edit, TRUE);
    EXPECT_EQ(RectInParent(m_button), CRect(120, 80, 144, 101));

    CNimHoverSpin spin;
    ASSERT_TRUE(spin.Create(WS_VISIBLE, CRect(120, 80, 136, 101), &m_frame, 8));
    edit.m_spin = spin;
    m_button.SetBuddy(edit, TRUE);
    EXPECT_EQ(RectInParent(m_button), CRect(135, 80, 159, 101));

    // With a buddy, a click also tells the parent once more.
    ClickAt(m_button, CPoint(8, 8));
    ASSERT_TRUE(PumpUntil([&] { return Clicks() == 2; }));
    EXPECT_EQ(m_frame.m_notices.back().from, m_button.GetSafeHwnd());
    EXPECT_EQ(m_frame.m_notices.back().id, kButtonId);
}

// The hover controls and their kin (combo boxes, date-time and hot key
// fields, links, lamps, tool tips) made, used and destroyed together.
TEST(HoverLeaks, ControlsCreatedPaintedAndDestroyedAThousandTimesLeaveNoHandles)
{
    CNoticeFrame frame;
    ASSERT_TRUE(frame.Create("Leaks"));
    ExpectNoHandleLeak([&] {
        CNimHoverButton button;
        button.Create("Sell", WS_VISIBLE | BS_DEFPUSHBUTTON, CRect(10, 10, 100, 36), &frame, 1);
        button.SetSplitButton(TRUE);
        button.SetSelected(TRUE);
        button.UpdateWindow();
        button.SendMessage(WM_KEYDOWN, VK_DOWN, 1);
        CStepEdit edit;
        edit.CreateEx(WS_EX_CLIENTEDGE, "EDIT", "1.25", WS_CHILD | WS_VISIBLE, CRect(10, 40, 100, 61), frame, 2);
        CNimHoverSpin spin;
        spin.Create(WS_VISIBLE | UDS_ARROWKEYS, CRect(100, 40, 115, 61), &frame, 3);
        spin.SetBuddy(&edit);
        edit.m_spin = spin;
        edit.SendMessage(WM_KEYDOWN, VK_UP, 1);
        edit.UpdateWindow();
        spin.UpdateWindow();
        CNimDateTimeEdit date(8);
        date.CreateEx(WS_EX_CLIENTEDGE, WS_VISIBLE, CRect(180, 100, 280, 123), &frame, 7);
        date.SetFont(HFONT(::GetStockObject(DEFAULT_GUI_FONT)));
        date.SetMask("MM/DD/YYYY hh:mm");
        date.SetTimeZoneSuffix("EST");
        date.UpdateWindow();
        date.SendMessage(WM_CHAR, '1', 1);
        date.ChangeAmount(1);
        CNimHotKeyCtrl hotKey;
        hotKey.Create(WS_CHILD | WS_VISIBLE, CRect(180, 130, 320, 152), &frame, 9);
        hotKey.SetFocus();
        hotKey.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        ::SetFocus(frame);
        hotKey.UpdateWindow();
        CNimHoverCombo combo;
        combo.Create(WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, CRect(10, 70, 170, 270), &frame, 4);
        combo.AddString("Alpha", 1);
        combo.SetFocus();
        ::SendMessageA(::GetFocus(), WM_CHAR, 'a', 1);
        combo.UpdateWindow();
        CNimIntelliCombo intelli;
        intelli.Create(WS_VISIBLE | CBS_DROPDOWNLIST, CRect(180, 10, 360, 150), &frame, 5);
        intelli.AddString("AAPL\t1.00");
        intelli.UpdateWindow();
        CHyperLink link;
        link.Create("https://example.test/leak", WS_CHILD | WS_VISIBLE, CRect(180, 40, 370, 60), &frame, 6);
        link.SetUnderline(FALSE);
        CNimLed lamp;
        lamp.Create("", WS_VISIBLE, CRect(180, 70, 200, 90), &frame);
        lamp.SetLed(CLed::LedYellow, CLed::LedOn, CLed::LedRound);
        lamp.Ping(1000);
        CNimToolTipCtrl tip;
        tip.Create(&frame);
        tip.AddWindowTool(&button, "Buy at the ask");
        tip.AddRectTool(&frame, "Bid side", CRect(0, 100, 200, 300), 1);
    }, 8);
}
