#include "HoverTestWindows.h"

#include "controls/win/HoverCombo.h"
#include "controls/win/SysColors.h"
#include "framework/win/Dialog.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace orv::ui;

namespace {

const UINT kComboId = 301;
[[maybe_unused]] const int kKeep = -2;

class HoverCombo : public ::testing::Test {
protected:
    void SetUp() override
    {
        MouseAway();
        CSysColors::Update();
        ASSERT_TRUE(m_frame.Create("Hover combo"));
        ASSERT_TRUE(Make(m_combo, CRect(20, 20, 180, 220)));
        PumpPending();
    }
    void TearDown() override { MouseAway(); }

    bool Make(CNimHoverCombo& combo, const CRect& rect, CWnd* parent = nullptr, UINT id = kComboId)
    {
        return combo.Create(WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, rect,
                            parent != nullptr ? parent : &m_frame, id);
    }
    HWND Edit() const
    {
        COMBOBOXINFO info {};
        info.cbSize = sizeof info;
        ::GetComboBoxInfo(m_combo, &info);
        return info.hwndItem;
    }
    HWND List(const CNimHoverCombo& combo) const
    {
        COMBOBOXINFO info {};
        info.cbSize = sizeof info;
        ::GetComboBoxInfo(combo, &info);
        return info.hwndList;
    }
    CPoint Sel() const
    {
        DWORD start = 0, end = 0;
        m_combo.SendMessage(CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return CPoint(static_cast<int>(start), static_cast<int>(end));
    }
    // Keys as the keyboard makes them: characters as WM_CHAR (Backspace is
    // "\b"), the Delete key ("\x7f") as its key-down alone.
    void Keys(const char* keys)
    {
        for (const char* key = keys; *key != '\0'; ++key) {
            if (*key == '\x7f')
                ::PostMessageA(Edit(), WM_KEYDOWN, VK_DELETE, 0x01530001);
            else
                ::PostMessageA(Edit(), WM_CHAR, static_cast<unsigned char>(*key), 1);
        }
        PumpPending();
    }
    COLORREF ClientPixel(int x, int y) { return CClientDC(m_combo).GetPixel(x, y); }

    CNoticeFrame m_frame;
    CNimHoverCombo m_combo;
};

} // namespace

// Items Alpha and Beta; each row types its keys into a field holding the
// start text with the caret or selection given.
TEST_F(HoverCombo, TypedTextIsCompletedFromTheItems)
{
    struct Row {
        const char* start;
        CPoint startSel;
        const char* keys;
        const char* text;
        CPoint sel;
        int curSel;
        BOOL complete;
    };
    const Row rows[] = {
        {"", {0, 0}, "b", "Beta", {1, 4}, 1, TRUE},       // the remainder is selected
        {"", {0, 0}, "x", "x", {1, 1}, -1, TRUE},         // no item starts with it
        {"", {0, 0}, "AL", "Alpha", {2, 5}, 0, TRUE},     // case is ignored
        {"", {0, 0}, "bx", "Bx", {2, 2}, -1, TRUE},       // the key replaces the remainder
        {"Xa", {0, 0}, "B", "BXa", {1, 1}, -1, TRUE},     // the caret before the end stays
        {"", {0, 0}, "be\b", "Be", {2, 2}, kKeep, TRUE},  // Backspace takes the remainder away
        {"Beta", {0, 4}, "\x7f", "", {0, 0}, kKeep, TRUE}, // the field can be emptied
        {"", {0, 0}, "b", "b", {1, 1}, kKeep, FALSE},     // completion switched off
    };
    m_combo.AddString("Alpha");
    m_combo.AddString("Beta");
    m_combo.SetFocus();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.keys);
        m_combo.EnableAutoCompletion(row.complete);
        m_combo.SetCurSel(-1);
        m_combo.SetWindowText(row.start);
        m_combo.SendMessage(CB_SETEDITSEL, 0, MAKELPARAM(row.startSel.x, row.startSel.y));
        Keys(row.keys);
        EXPECT_EQ(m_combo.GetWindowText(), row.text);
        EXPECT_EQ(Sel(), row.sel);
        if (row.curSel != kKeep) {
            EXPECT_EQ(m_combo.GetCurSel(), row.curSel);
        }
    }
}

TEST_F(HoverCombo, RealKeysCompleteAndTheParentHearsTheChange)
{
    m_combo.AddString("Alpha");
    m_combo.AddString("Beta");
    ClickAt(m_combo, CPoint(10, 10));
    ASSERT_TRUE(PumpUntil([&] { return ::GetFocus() == Edit(); }));
    m_frame.m_notices.clear();
    PressKey('B');
    ASSERT_TRUE(PumpUntil([&] { return m_combo.GetWindowText() == "Beta"; }, 2000)) << m_combo.GetWindowText();
    EXPECT_EQ(Sel(), CPoint(1, 4));
    EXPECT_EQ(m_frame.Count(WM_COMMAND, CBN_EDITCHANGE), 1u);
    MouseAway();
    PumpPending();
    SaveScreenshot(m_frame, "HoverCombo-completed");
}

TEST_F(HoverCombo, ItemsCarryDataAndFailuresChangeNothing)
{
    EXPECT_EQ(m_combo.AddString("AAPL", 10), 0);
    EXPECT_EQ(m_combo.AddString("MSFT", 20), 1);
    EXPECT_EQ(m_combo.InsertString(0, "IBM", 30), 0);
    EXPECT_EQ(m_combo.InsertString(9, "XOM", 40), CB_ERR);
    EXPECT_EQ(m_combo.GetCount(), 3);
    EXPECT_EQ(m_combo.GetItemData(2), 20u);

    CString text = "unchanged";
    EXPECT_EQ(m_combo.GetCurSelData(), 0u);
    EXPECT_EQ(m_combo.GetCurSelText(text), -1);
    EXPECT_EQ(text, "unchanged");
    EXPECT_EQ(m_combo.FindItemData(10), 1);
    EXPECT_EQ(m_combo.SelectItemData(20), 2);
    EXPECT_EQ(m_combo.SelectItemData(99), -1);
    EXPECT_EQ(m_combo.GetCurSel(), 2);
    EXPECT_EQ(m_combo.GetCurSelData(), 20u);
    EXPECT_EQ(m_combo.GetCurSelText(text), 2);
    EXPECT_EQ(text, "MSFT");

    // A recent list replaces the items in its order and keeps the text.
    CStringArray recent;
    recent.Add("TSLA");
    recent.Add("AMZN");
    m_combo.SetWindowText("TS");
    EXPECT_EQ(m_combo.SetItems(recent), 2);
    EXPECT_EQ(m_combo.GetWindowText(), "TS");
    m_combo.GetLBText(1, text);
    EXPECT_EQ(text, "AMZN");
}

TEST_F(HoverCombo, DataExchangeLoadsAndSavesNumbersAndItemData)
{
    for (const char* value : {"10", "25", "50"})
        m_combo.AddString(value, static_cast<DWORD>(std::atoi(value) * 100));
    long number = 25;
    DWORD data = 5000;
    CDataExchange load(&m_frame, FALSE);
    DDX_nimCBLong(&load, kComboId, number);
    EXPECT_EQ(m_combo.GetCurSel(), 1);
    DDX_nimCBItemData(&load, kComboId, data);
    EXPECT_EQ(m_combo.GetCurSel(), 2);
    data = 7;
    DDX_nimCBItemData(&load, kComboId, data); // no item has it
    EXPECT_EQ(m_combo.GetCurSel(), 2);
    number = -7;
    DDX_nimCBLong(&load, kComboId, number); // no item has the text
    EXPECT_EQ(m_combo.GetWindowText(), "-7");
    EXPECT_FALSE(load.Failed());

    struct Row {
        const char* text;
        long number;
    };
    for (const Row& row : {Row {"  42x", 42}, Row {"abc", 0}, Row {"-13", -13}}) {
        m_combo.SetWindowText(row.text);
        CDataExchange save(&m_frame, TRUE);
        DDX_nimCBLong(&save, kComboId, number);
        EXPECT_EQ(number, row.number) << row.text;
    }
    m_combo.SetCurSel(-1);
    CDataExchange save(&m_frame, TRUE);
    DDX_nimCBItemData(&save, kComboId, data);
    EXPECT_EQ(data, 0xFFFFFFFFu);
    EXPECT_EQ(m_combo.GetCurSelData(), 0u);
    DDX_nimCBItemData(&save, kComboId + 1, data);
    EXPECT_TRUE(save.Failed());
}

// The height of the control with its list open, for a control whose top
// stands at a chosen screen row (the screen is 1024 high, items 16).
TEST_F(HoverCombo, OpenListIsSizedToItsItemsAndTheScreen)
{
    struct Row {
        int top;
        int items;
        int maxShow;
        int height;
    };
    const Row rows[] = {
        {61, 30, -1, 32 * 16},  // fits below
        {900, 30, -1, 32 * 16}, // fits above, near the bottom
        {500, 30, -1, 31 * 16}, // 31 items fit above or below
        {900, 80, -1, 56 * 16}, // cut to the 56 that fit above
        {61, 1, -1, 4 * 16},    // two at least
        {61, 30, 5, 7 * 16},
        {61, 30, 1, 4 * 16},
        {900, 80, 0, 82 * 16},  // all of them
    };
    ASSERT_EQ(m_combo.SendMessage(CB_GETITEMHEIGHT, 0), 16);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.top * 1000 + row.items);
        m_frame.SetWindowPos(nullptr, 40, row.top - 21, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ASSERT_EQ(m_combo.GetWindowRect().top, row.top);
        m_combo.ResetContent();
        for (int i = 0; i < row.items; ++i)
            m_combo.AddString("Item");
        m_combo.SetMaxShow(row.maxShow);
        m_combo.ShowDropDown(TRUE);
        PumpPending();
        CRect dropped;
        m_combo.SendMessage(CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
        // The platform keeps the list's part of the height, below the field.
        EXPECT_EQ(dropped.Height() + m_combo.GetWindowRect().Height(), row.height);
        if (row.top == 900 && row.maxShow == -1) {
            CRect list;
            ::GetWindowRect(List(m_combo), &list);
            EXPECT_LE(list.bottom, row.top); // opened upwards, on the screen
            EXPECT_GE(list.top, 0);
            SaveScreenshot(::GetDesktopWindow(), row.items == 30 ? "HoverCombo-dropped-up" : "HoverCombo-dropped-cut");
        }
        m_combo.ShowDropDown(FALSE);
        PumpPending();
    }
}

// Pixels of the classic look: the outer ring of the client area, the ring
// inside it, and the outer ring of the drop-down button.
TEST_F(HoverCombo, ClassicBorderIsFlatUntilHoveredOrFocused)
{
    ASSERT_FALSE(m_combo.IsThemed());
    m_combo.AddString("Alpha");
    m_combo.AddString("Beta");
    m_combo.SetCurSel(0);
    PumpPending();
    const CRect client = m_combo.GetClientRect();
    const int buttonLeft = client.right - 2 - ::GetSystemMetrics(SM_CXVSCROLL);
    auto inner = [&] { return ClientPixel(1, 5); };
    auto buttonEdge = [&] { return ClientPixel(buttonLeft, 5); };
    EXPECT_EQ(ClientPixel(0, 5), CSysColors::sm_cr3DShadow);
    EXPECT_EQ(ClientPixel(5, client.bottom - 1), CSysColors::sm_cr3DHilite);
    EXPECT_EQ(inner(), CSysColors::sm_crBtnFace);
    EXPECT_EQ(buttonEdge(), CSysColors::sm_cr3DHilite);
    SaveScreenshot(m_combo, "HoverCombo-normal");

    // Over the text: the platform's sunken edge shows.
    MoveMouseTo(Edit(), CPoint(10, 5));
    ASSERT_TRUE(PumpUntil([&] { return m_combo.IsTracking() != FALSE; }));
    PumpPending();
    EXPECT_NE(inner(), CSysColors::sm_crBtnFace);
    EXPECT_EQ(buttonEdge(), CSysColors::sm_cr3DHilite);
    SaveScreenshot(m_combo, "HoverCombo-hover-text");

    // On to the button: still tracked, and the button's ring turns.
    MoveMouseTo(m_combo, CPoint(buttonLeft + 5, client.Height() / 2));
    ASSERT_TRUE(PumpUntil([&] { return buttonEdge() == CSysColors::sm_cr3DShadow; }, 2000));
    EXPECT_TRUE(m_combo.IsTracking());
    EXPECT_NE(inner(), CSysColors::sm_crBtnFace);
    SaveScreenshot(m_combo, "HoverCombo-hover-button");

    MouseAway();
    ASSERT_TRUE(PumpUntil([&] { return m_combo.IsTracking() == FALSE; }));
    PumpPending();
    EXPECT_EQ(inner(), CSysColors::sm_crBtnFace);
    EXPECT_EQ(buttonEdge(), CSysColors::sm_cr3DHilite);

    m_combo.SetFocus();
    PumpPending();
    EXPECT_NE(inner(), CSysColors::sm_crBtnFace);
    SaveScreenshot(m_combo, "HoverCombo-focused");

    // A real click on the button opens the list; the list's own tracking
    // runs in this thread's loop, and a click on an item closes it.
    ClickAt(m_combo, CPoint(buttonLeft + 5, client.Height() / 2));
    ASSERT_TRUE(PumpUntil([&] { return m_combo.GetDroppedState() != FALSE; }));
    SaveScreenshot(::GetDesktopWindow(), "HoverCombo-dropped");
    ClickAt(List(m_combo), CPoint(10, 16 + 8));
    ASSERT_TRUE(PumpUntil([&] { return m_combo.GetDroppedState() == FALSE; }));
    EXPECT_EQ(m_combo.GetCurSel(), 1);
    EXPECT_EQ(m_combo.GetWindowText(), "Beta");
    MouseAway();
}

TEST_F(HoverCombo, CreatingAndDestroyingLeaksNoHandles)
{
    ExpectNoHandleLeak([&] {
        CNimHoverCombo combo;
        Make(combo, CRect(20, 60, 180, 200), &m_frame, kComboId + 5);
        combo.AddString("Alpha", 1);
        combo.AddString("Beta", 2);
        combo.SetFocus();
        ::SendMessageA(::GetFocus(), WM_CHAR, 'b', 1);
        combo.UpdateWindow();
    }, 8);
}
