#include "HoverTestWindows.h"

#include "controls/win/IntelliCombo.h"

#include <gtest/gtest.h>

using namespace orv::ui;

namespace {

const UINT kComboId = 401;

class IntelliCombo : public ::testing::Test {
protected:
    void SetUp() override
    {
        MouseAway();
        ASSERT_TRUE(m_frame.Create("Cursor combo"));
        ASSERT_TRUE(m_combo.Create(WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, CRect(20, 30, 200, 230), &m_frame,
                                   kComboId));
        PumpPending();
    }
    void TearDown() override
    {
        if (m_combo.GetDroppedState())
            m_combo.ShowDropDown(FALSE);
        MouseAway();
    }

    // Puts the pointer on a screen point and waits until the system has it.
    static void PointerAt(POINT point)
    {
        MoveMouseTo(nullptr, point);
        ASSERT_TRUE(PumpUntil([&] {
            POINT cursor {};
            ::GetCursorPos(&cursor);
            return cursor.x == point.x && cursor.y == point.y;
        }, 2000));
    }
    CRect ListRect() const
    {
        CRect rect;
        ::GetWindowRect(m_combo.GetListWindow(), &rect);
        return rect;
    }

    CNoticeFrame m_frame;
    CNimIntelliCombo m_combo;
};

// The rightmost column of the list's client area with a text pixel in the
// item's row.
int RightmostTextColumn(HWND list, int item)
{
    const int height = static_cast<int>(::SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
    RECT client {};
    ::GetClientRect(list, &client);
    CClientDC dc(list);
    const COLORREF background = dc.GetPixel(client.right - 2, item * height + 1);
    for (int x = client.right - 1; x >= 0; --x) {
        for (int y = item * height; y < (item + 1) * height; ++y) {
            if (dc.GetPixel(x, y) != background)
                return x;
        }
    }
    return -1;
}

} // namespace

TEST_F(IntelliCombo, CreationLeavesTheControlInPlaceWithItsListTakenOver)
{
    CRect rect = m_combo.GetWindowRect();
    m_frame.ScreenToClient(&rect);
    EXPECT_EQ(rect.TopLeft(), CPoint(20, 30));
    EXPECT_EQ(rect.Width(), 180);
    EXPECT_TRUE(m_combo.IsWindowVisible());
    m_combo.AddString("IBM\t125.50");
    m_combo.SetCurSel(0);
    SaveScreenshot(m_frame, "IntelliCombo-normal");

    COMBOBOXINFO info {};
    info.cbSize = sizeof info;
    ASSERT_TRUE(::GetComboBoxInfo(m_combo, &info));
    EXPECT_EQ(m_combo.GetListWindow(), info.hwndList);
    EXPECT_EQ(::GetPropA(info.hwndList, "NimIntelli"), static_cast<void*>(&m_combo));
    EXPECT_TRUE(::GetWindowLongA(info.hwndList, GWL_STYLE) & LBS_USETABSTOPS);
    EXPECT_FALSE(m_combo.GetDroppedState());

    // Only lists made while such a control is created get the tab stops.
    CComboBox plain;
    ASSERT_TRUE(plain.Create(WS_VISIBLE | CBS_DROPDOWNLIST, CRect(20, 60, 200, 160), &m_frame, kComboId + 1));
    ASSERT_TRUE(::GetComboBoxInfo(plain, &info));
    EXPECT_FALSE(::GetWindowLongA(info.hwndList, GWL_STYLE) & LBS_USETABSTOPS);
}

// Every placement of the list goes to the pointer, upwards when the list
// would pass the bottom of the 1024-row screen.
TEST_F(IntelliCombo, ListPlacementFollowsThePointer)
{
    struct Row {
        int pointerY;
        UINT flags;
        CPoint topLeft;
    };
    const Row rows[] = {
        {900, 0, {300, 700}},
        {800, 0, {300, 800}},
        {824, 0, {300, 824}},          // 824 + 200 is the screen's last row
        {825, 0, {300, 625}},
        {900, SWP_NOMOVE, {300, 625}}, // stays where it was
    };
    ASSERT_EQ(::GetSystemMetrics(SM_CYSCREEN), 1024);
    const HWND list = m_combo.GetListWindow();
    ASSERT_NE(list, nullptr);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.pointerY);
        PointerAt(POINT {300, row.pointerY});
        ::SetWindowPos(list, nullptr, 5, 5, 150, 200, SWP_NOZORDER | SWP_NOACTIVATE | row.flags);
        EXPECT_EQ(ListRect().TopLeft(), row.topLeft);
    }
}

TEST_F(IntelliCombo, ListOpensAtThePointerWithAlignedColumns)
{
    for (const char* item : {"IBM\t125.50", "GE\t125.50", "T\t17.00"})
        m_combo.AddString(item);
    const CRect frame = m_frame.GetWindowRect();
    const POINT pointer {frame.left + 220, frame.top + 120};
    PointerAt(pointer);
    m_combo.ShowComboAtCursor();
    ASSERT_TRUE(PumpUntil([&] { return m_combo.GetDroppedState() != FALSE; }));
    PumpPending();
    EXPECT_EQ(ListRect().TopLeft(), CPoint(pointer));
    SaveScreenshot(::GetDesktopWindow(), "IntelliCombo-dropped");

    // The second column ends at the same place in rows whose first columns
    // differ in width.
    const HWND list = m_combo.GetListWindow();
    const int end = RightmostTextColumn(list, 0);
    EXPECT_GT(end, 0);
    EXPECT_EQ(RightmostTextColumn(list, 1), end);

    // The list tracks the mouse in this thread's loop; a real click on the
    // second item picks it and closes the list.
    const int itemHeight = static_cast<int>(::SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
    m_frame.m_notices.clear();
    ClickAt(list, CPoint(10, itemHeight + itemHeight / 2));
    ASSERT_TRUE(PumpUntil([&] { return m_combo.GetDroppedState() == FALSE; }));
    EXPECT_EQ(m_combo.GetCurSel(), 1);
    EXPECT_EQ(m_frame.Count(WM_COMMAND, CBN_SELCHANGE), 1u);

    // Near the bottom of the screen it opens upwards, ending at the pointer.
    PointerAt(POINT {pointer.x, 1010});
    m_combo.ShowComboAtCursor();
    ASSERT_TRUE(PumpUntil([&] { return m_combo.GetDroppedState() != FALSE; }));
    PumpPending();
    EXPECT_EQ(ListRect().left, pointer.x);
    EXPECT_EQ(ListRect().bottom, 1010);
    SaveScreenshot(::GetDesktopWindow(), "IntelliCombo-dropped-up");
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(PumpUntil([&] { return m_combo.GetDroppedState() == FALSE; }));
}

TEST_F(IntelliCombo, InitDropDownOpensAndClosesOnceTheLoopRuns)
{
    m_combo.AddString("One");
    m_frame.m_notices.clear();
    m_combo.InitDropDown();
    EXPECT_TRUE(m_combo.GetDroppedState());
    ASSERT_TRUE(PumpUntil([&] { return m_combo.GetDroppedState() == FALSE; }));
    EXPECT_EQ(m_frame.Count(WM_COMMAND, CBN_DROPDOWN), 1u);
}

TEST_F(IntelliCombo, CreatingAndDestroyingLeaksNoHandles)
{
    ExpectNoHandleLeak([&] {
        CNimIntelliCombo combo;
        combo.Create(WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, CRect(20, 60, 200, 200), &m_frame, kComboId + 2);
        combo.AddString("AAPL\t1.00");
        combo.UpdateWindow();
    }, 8);
}
