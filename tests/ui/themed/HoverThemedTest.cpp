// The hover controls in their themed look, in a program whose manifest asks
// for common controls 6 so that the theme's data and drawing are live. Wine's
// common controls 6 report version 5.81, so the visual-style test answers
// false there; the controls below take the themed look regardless, as they
// do on Windows when the test answers true.
#include "../HoverTestWindows.h"

#include "controls/win/HoverButton.h"
#include "controls/win/HoverCombo.h"
#include "controls/win/MenuButton.h"
#include "controls/win/SysColors.h"
#include "controls/win/ThemeUtil.h"
#include "controls/win/WindowUtils.h"

#include <gtest/gtest.h>

#include <vector>

using namespace orv::ui;

namespace {

const UINT kButtonId = 301;

using Themed = FrameTest<>;

// The control of the class in the themed look.
template <class TControl>
class CThemedLook : public TControl {
public:
    CThemedLook() { this->m_hover.SetThemed(true); }
};

class CThemedButton : public CNimHoverButton {
public:
    using CNimHoverButton::HasThemeData;

protected:
    bool UseThemedLook() const override { return HasThemeData(); }
};

} // namespace

TEST_F(Themed, EditSpinAndComboKeepTheSystemLookTrackNoHoverAndTheComboStillCompletes)
{
    CThemedLook<CStepEdit> edit;
    ASSERT_TRUE(edit.CreateEx(WS_EX_CLIENTEDGE, "EDIT", "125.50", WS_CHILD | WS_VISIBLE, CRect(20, 20, 140, 43),
                              m_frame, 1));
    CThemedLook<CNimHoverSpin> spin;
    ASSERT_TRUE(spin.Create(WS_VISIBLE, CRect(140, 20, 156, 43), &m_frame, 2));
    spin.SetBuddy(&edit);
    EXPECT_TRUE(edit.IsThemed());
    EXPECT_TRUE(spin.IsThemed());
    PumpPending();
    // Whether the control tracks the mouse moved over it.
    const auto tracksHover = [](auto& control, CPoint point) {
        MoveMouseTo(control, point);
        PumpFor(200);
        return control.IsTracking() != FALSE;
    };
    const COLORREF before = WindowPixel(edit, 1, 5);
    EXPECT_FALSE(tracksHover(edit, CPoint(30, 8)));
    EXPECT_EQ(WindowPixel(edit, 1, 5), before); // the system's border stays
    SaveScreenshot(edit, "Themed-HoverEdit");
    EXPECT_FALSE(tracksHover(spin, CPoint(8, 6)));
    SaveScreenshot(spin, "Themed-HoverSpin");
    // A theme change reads the visual-style test again.
    for (CWnd* control : {static_cast<CWnd*>(&edit), static_cast<CWnd*>(&spin)})
        control->SendMessage(WM_THEMECHANGED);
    EXPECT_EQ(edit.IsThemed(), IsThemeInUse());
    EXPECT_EQ(spin.IsThemed(), IsThemeInUse());

    // The combo box as well, and it still completes.
    CThemedLook<CNimHoverCombo> combo;
    ASSERT_TRUE(combo.Create(WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWN, CRect(20, 60, 180, 200), &m_frame, 3));
    combo.AddString("Beta");
    PumpPending();
    const COLORREF ring = CClientDC(combo).GetPixel(1, 5);
    EXPECT_NE(ring, CSysColors::sm_crBtnFace); // no flat ring of the classic look
    EXPECT_FALSE(tracksHover(combo, CPoint(combo.GetClientRect().right - 8, 8)));
    EXPECT_EQ(CClientDC(combo).GetPixel(1, 5), ring);
    combo.SetFocus();
    ::SendMessageA(::GetFocus(), WM_CHAR, 'b', 1);
    EXPECT_EQ(combo.GetWindowText(), "Beta");
    SaveScreenshot(combo, "Themed-HoverCombo");
}

TEST_F(Themed, ButtonPaintsItsStatesWithTheThemeAndKeepsItsArrowAndColours)
{
    CThemedButton button;
    ASSERT_TRUE(button.Create("Send", WS_VISIBLE | BS_PUSHBUTTON, CRect(20, 20, 120, 46), &m_frame, kButtonId));
    button.SetSplitButton(TRUE);
    button.SetTextColor(RGB(200, 0, 0));
    PumpPending();
    ASSERT_TRUE(button.HasThemeData());
    SaveScreenshot(button, "Themed-HoverButton-normal");
    const COLORREF normalEdge = WindowPixel(button, 0, 13);

    // The arrow is drawn over the theme's background all the same.
    EXPECT_EQ(RowCounts(button, button.GetSplitRect(), RGB(200, 0, 0)), (std::vector<int> {7, 5, 3, 1}));

    MoveMouseTo(button, CPoint(30, 12));
    ASSERT_TRUE(PumpUntil([&] { return button.IsTracking() != FALSE; }));
    SaveScreenshot(button, "Themed-HoverButton-hot");
    EXPECT_NE(WindowPixel(button, 0, 13), normalEdge); // the theme's hot edge

    MouseButtonAt(button, CPoint(30, 12), true);
    PumpUntil([&] { return ::GetCapture() == button.GetSafeHwnd(); }, 1000);
    SaveScreenshot(button, "Themed-HoverButton-pressed");
    MouseButtonAt(button, CPoint(30, 12), false);
    ASSERT_TRUE(PumpUntil([&] { return m_frame.Count(WM_COMMAND, BN_CLICKED) == 1; }));

    MouseAway();
    ASSERT_TRUE(PumpUntil([&] { return button.IsTracking() == FALSE; }));
    button.SetSelected(TRUE);
    PumpPending();
    EXPECT_EQ(WindowPixel(button, 8, 13), TranslateColor(button.GetSelBkgndColor()));
    SaveScreenshot(button, "Themed-HoverButton-selected");
    button.SetSelected(FALSE);
    button.SetFocus();
    button.SetDefault(TRUE);
    SaveScreenshot(button, "Themed-HoverButton-focused-default");
    button.EnableWindow(FALSE);
    SaveScreenshot(button, "Themed-HoverButton-disabled");
}

namespace {

class CThemedMenuButton : public CNimMenuButton {
public:
    using CNimMenuButton::HasComboThemeData;

protected:
    bool UseThemedLook() const override { return HasComboThemeData(); }
};

} // namespace

TEST_F(Themed, MenuButtonDrawsTheThemesDropDownButtonInItsStates)
{
    CThemedMenuButton button;
    ASSERT_TRUE(button.Create("", WS_VISIBLE | BS_PUSHBUTTON, CRect(20, 20, 140, 44), &m_frame, kButtonId));
    button.AddItem("Market");
    button.SetSel(0);
    PumpPending();
    ASSERT_TRUE(button.HasComboThemeData());
    const int arrowLeft = 120 - 1 - button.GetArrowWidth();
    EXPECT_NE(WindowPixel(button, arrowLeft, 12), CSysColors::sm_cr3DDkShadow); // no classic separator
    const COLORREF normal = WindowPixel(button, arrowLeft, 12);
    SaveScreenshot(button, "Themed-MenuButton-normal");
    MoveMouseTo(button, CPoint(40, 12));
    ASSERT_TRUE(PumpUntil([&] { return button.IsTracking() != FALSE; }));
    EXPECT_NE(WindowPixel(button, arrowLeft, 12), normal); // the theme's hot frame
    SaveScreenshot(button, "Themed-MenuButton-hot");
}
