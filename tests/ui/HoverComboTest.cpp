#include "HoverTestWindows.h"

#include "controls/win/HoverCombo.h"
#include "controls/win/SysColors.h"
#include "framework/win/Dialog.h"

#include <gtest/gtest.h>

using namespace orv::ui;

namespace {

const UINT kId = 301;

class HoverCombo : public FrameTest<> {
protected:
    HoverCombo() : FrameTest("Hover combo") {}
    void MakeControls() override
    {
        ASSERT_TRUE(m_combo.Create(WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, CRect(20, 20, 180, 220),
                                   &m_frame, kId));
        m_combo.AddString("Alpha", 100);
        m_combo.AddString("Beta", 200);
    }
    COMBOBOXINFO Info() const { return ComboInfo(m_combo); }
    CPoint Sel() const
    {
        DWORD start = 0, end = 0;
        m_combo.SendMessage(CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return CPoint(static_cast<int>(start), static_cast<int>(end));
    }
    COLORREF Pixel(int x, int y) const { return CClientDC(m_combo).GetPixel(x, y); }

    CNimHoverCombo m_combo;
};

} // namespace

// Keys posted as the keyboard makes them: characters as WM_CHAR (Backspace
// is "\b"), the Delete key ("\x7f") as its key-down alone.
TEST_F(HoverCombo, TypedTextIsCompletedFromTheItems)
{
    struct Row { const char* start; int caret; const char* keys; const char* text; CPoint sel; BOOL complete; };
    const Row rows[] = {
        {"", 0, "b", "Beta", {1, 4}, TRUE},       // the remainder is selected
        {"", 0, "x", "x", {1, 1}, TRUE},          // no item starts with it
        {"", 0, "AL", "Alpha", {2, 5}, TRUE},     // case is ignored
        {"", 0, "bx", "Bx", {2, 2}, TRUE},        // the key replaces the remainder
        {"Xa", 0, "B", "BXa", {1, 1}, TRUE},      // a caret before the end stays
        {"", 0, "be\b", "Be", {2, 2}, TRUE},      // Backspace takes the remainder away
        {"Beta", -1, "\x7f", "", {0, 0}, TRUE},   // the field can be emptied
        {"", 0, "b", "b", {1, 1}, FALSE},         // completion switched off
    };
    m_combo.SetFocus();
    const HWND edit = Info().hwndItem;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.keys);
        m_combo.EnableAutoCompletion(row.complete);
        m_combo.SetWindowText(row.start);
        m_combo.SendMessage(CB_SETEDITSEL, 0, MAKELPARAM(row.caret == -1 ? 0 : row.caret, row.caret));
        PostKeys(edit, row.keys);
        EXPECT_EQ(m_combo.GetWindowText(), row.text);
        EXPECT_EQ(Sel(), row.sel);
    }
}

// A dialog's combo box taken over after it was made completes as well.
TEST_F(HoverCombo, AdoptedComboBoxCompletes)
{
    HWND raw = ::CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, 20, 60, 160, 100, m_frame,
                                 reinterpret_cast<HMENU>(kId + 3), nullptr, nullptr);
    CNimHoverCombo adopted;
    ASSERT_TRUE(adopted.SubclassWindow(raw));
    adopted.AddString("Gamma");
    adopted.SetFocus();
    EXPECT_NE(CWnd::FromHandlePermanent(::GetFocus()), nullptr); // its edit field's mouse is watched
    ::SendMessageA(::GetFocus(), WM_CHAR, 'g', 1);
    EXPECT_EQ(adopted.GetWindowText(), "Gamma");
}

TEST_F(HoverCombo, ItemDataAndDataExchange)
{
    EXPECT_EQ(m_combo.InsertString(9, "XOM", 40), CB_ERR);
    EXPECT_EQ(m_combo.InsertString(0, "25", 25), 0);
    EXPECT_EQ(m_combo.GetItemData(0), 25u);
    DWORD data = 7;
    CString text = "kept";
    CDataExchange save(&m_frame, TRUE), load(&m_frame, FALSE);
    DDX_nimCBItemData(&save, kId, data); // nothing selected
    EXPECT_EQ(data, 0xFFFFFFFFu);
    EXPECT_EQ(m_combo.GetCurSelData(), 0u);
    EXPECT_EQ(m_combo.GetCurSelText(text), -1);
    EXPECT_EQ(text, "kept");
    EXPECT_EQ(m_combo.SelectItemData(200), 2);
    EXPECT_EQ(m_combo.SelectItemData(99), -1); // the selection stays
    EXPECT_EQ(m_combo.GetCurSelText(text), 2);
    EXPECT_EQ(text, "Beta");
    EXPECT_EQ(m_combo.GetCurSelData(), 200u);
    data = 100;
    DDX_nimCBItemData(&load, kId, data);
    EXPECT_EQ(m_combo.GetCurSel(), 1);

    long number = 25;
    DDX_nimCBLong(&load, kId, number);
    EXPECT_EQ(m_combo.GetCurSel(), 0);
    number = -7; // no item has that text
    DDX_nimCBLong(&load, kId, number);
    EXPECT_EQ(m_combo.GetWindowText(), "-7");
    for (const auto& [shown, value] : {std::pair {"  42x", 42L}, std::pair {"abc", 0L}}) {
        m_combo.SetWindowText(shown);
        DDX_nimCBLong(&save, kId, number);
        EXPECT_EQ(number, value) << shown;
    }
    EXPECT_FALSE(save.Failed());
    DDX_nimCBLong(&save, kId + 1, number);
    EXPECT_TRUE(save.Failed());

    CStringArray recent; // replaces the items in its order, keeps the text
    recent.Add("TSLA");
    recent.Add("AMZN");
    EXPECT_EQ(m_combo.SetItems(recent), 2);
    m_combo.GetLBText(1, text);
    EXPECT_EQ(text + "/" + m_combo.GetWindowText(), "AMZN/abc");
}

// The height of the control with its list open, for a control whose top
// stands at a chosen screen row (the screen is 1024 high, items 16).
TEST_F(HoverCombo, OpenListIsSizedToItsItemsAndTheScreen)
{
    struct Row { int top, items, maxShow, height; };
    const Row rows[] = {
        {61, 30, -1, 32 * 16},  {900, 30, -1, 32 * 16}, // fits below; fits above
        {500, 30, -1, 31 * 16}, {900, 80, -1, 56 * 16}, // cut to what fits
        {61, 1, -1, 4 * 16},    {61, 30, 1, 4 * 16},    // two items at least
        {61, 30, 5, 7 * 16},    {900, 80, 0, 82 * 16},  // a chosen count; all
    };
    ASSERT_EQ(m_combo.SendMessage(CB_GETITEMHEIGHT, 0), 16);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.top * 1000 + row.items);
        m_frame.SetWindowPos(nullptr, 40, row.top - 21, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        m_combo.ResetContent();
        for (int i = 0; i < row.items; ++i)
            m_combo.AddString("Item");
        m_combo.SetMaxShow(row.maxShow);
        m_combo.ShowDropDown(TRUE);
        CRect dropped;
        m_combo.SendMessage(CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
        // The platform keeps the list's part of the height, below the field.
        EXPECT_EQ(dropped.Height() + m_combo.GetWindowRect().Height(), row.height);
        if (row.top == 900 && row.maxShow == -1) {
            CRect shown;
            ::GetWindowRect(Info().hwndList, &shown);
            EXPECT_LE(shown.bottom, row.top); // opened upwards, on the screen
            EXPECT_GE(shown.top, 0);
            SaveScreenshot(::GetDesktopWindow(), row.items == 30 ? "HoverCombo-dropped-up" : "HoverCombo-dropped-cut");
        }
        m_combo.ShowDropDown(FALSE);
    }
}

// Real input throughout. Pixels of the classic look: the ring inside the
// client edge (flat when button face) and the drop-down button's left edge.
TEST_F(HoverCombo, ClassicLookFollowsMouseAndFocusAndRealKeysComplete)
{
    ASSERT_FALSE(m_combo.IsThemed());
    const CRect client = m_combo.GetClientRect();
    const CPoint button(client.right - 2 - ::GetSystemMetrics(SM_CXVSCROLL), client.Height() / 2);
    auto flat = [&] { return Pixel(1, 5) == CSysColors::sm_crBtnFace; };
    auto buttonEdge = [&] { return Pixel(button.x, 5); };
    EXPECT_EQ(Pixel(0, 5), CSysColors::sm_cr3DShadow);
    EXPECT_TRUE(flat());
    EXPECT_EQ(buttonEdge(), CSysColors::sm_cr3DHilite);
    SaveScreenshot(m_combo, "HoverCombo-normal");

    MoveMouseTo(Info().hwndItem, CPoint(10, 5)); // over the text
    ASSERT_TRUE(PumpUntil([&] { return m_combo.IsTracking() && !flat(); }));
    EXPECT_EQ(buttonEdge(), CSysColors::sm_cr3DHilite);
    SaveScreenshot(m_combo, "HoverCombo-hover-text");
    MoveMouseTo(m_combo, CPoint(button.x + 5, button.y)); // on to the button: still tracked
    ASSERT_TRUE(PumpUntil([&] { return buttonEdge() == CSysColors::sm_cr3DShadow; }));
    EXPECT_TRUE(m_combo.IsTracking() && !flat());
    SaveScreenshot(m_combo, "HoverCombo-hover-button");
    MouseAway();
    ASSERT_TRUE(PumpUntil([&] { return !m_combo.IsTracking() && flat(); }));

    ClickAt(Info().hwndItem, CPoint(10, 5));
    ASSERT_TRUE(PumpUntil([&] { return ::GetFocus() == Info().hwndItem; }));
    MouseAway();
    m_frame.m_notices.clear();
    PressKey('B');
    ASSERT_TRUE(PumpUntil([&] { return m_combo.GetWindowText() == "Beta"; }, 2000)) << m_combo.GetWindowText();
    EXPECT_EQ(m_combo.GetCurSel(), 1);
    EXPECT_EQ(m_frame.Count(WM_COMMAND, CBN_EDITCHANGE), 1u); // the parent hears of it too
    ASSERT_TRUE(PumpUntil([&] { return !m_combo.IsTracking(); }));
    EXPECT_FALSE(flat()); // focused
    SaveScreenshot(m_combo, "HoverCombo-completed");

    // The list tracks the mouse in this thread's loop: a click opens it, a
    // click on an item picks it and closes it.
    ClickAt(m_combo, CPoint(button.x + 5, button.y));
    ASSERT_TRUE(PumpUntil([&] { return m_combo.GetDroppedState() != FALSE; }));
    SaveScreenshot(::GetDesktopWindow(), "HoverCombo-dropped");
    ClickAt(Info().hwndList, CPoint(10, 8));
    ASSERT_TRUE(PumpUntil([&] { return m_combo.GetDroppedState() == FALSE; }));
    EXPECT_EQ(m_combo.GetWindowText(), "Alpha");
}
