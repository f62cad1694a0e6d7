#include "HoverTestWindows.h"

#include "controls/win/IntelliCombo.h"
#include "controls/win/WindowWrappers.h"

#include <gtest/gtest.h>

using namespace orv::ui;

namespace {

const UINT kId = 401;

class IntelliCombo : public FrameTest<> {
protected:
    void MakeControls() override
    {
        ASSERT_TRUE(m_combo.Create(WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, CRect(20, 30, 200, 230), &m_frame, kId));
        for (const char* item : {"IBM\t125.50", "GE\t125.50", "T\t17.00"})
            m_combo.AddString(item);
    }

    CRect WindowRect() const { return CWindowRect(m_combo.GetListWindow()); }
    // The rightmost column of the list with a text pixel in the item's row.
    int RightmostText(int item) const
    {
        const HWND list = m_combo.GetListWindow();
        const int height = static_cast<int>(::SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
        CClientDC dc(list);
        const CClientRect area(list);
        for (int x = area.right - 1; x >= 0; --x) {
            for (int y = item * height; y < (item + 1) * height; ++y) {
                if (dc.GetPixel(x, y) != ::GetSysColor(COLOR_WINDOW))
                    return x;
            }
        }
        return -1;
    }

    CNimIntelliCombo m_combo;
};

} // namespace

TEST_F(IntelliCombo, CreationLeavesTheControlInPlaceWithItsListTakenOver)
{
    const CRect rect = RectInParent(m_combo);
    EXPECT_EQ(rect.TopLeft(), CPoint(20, 30));
    EXPECT_EQ(rect.Width(), 180);
    EXPECT_TRUE(m_combo.IsWindowVisible() && !m_combo.GetDroppedState());
    const HWND list = ComboInfo(m_combo).hwndList;
    EXPECT_EQ(::GetPropA(list, "NimIntelli"), static_cast<void*>(&m_combo));
    EXPECT_TRUE(::GetWindowLongA(list, GWL_STYLE) & LBS_USETABSTOPS);
    m_combo.SetCurSel(0);
    SaveScreenshot(m_frame, "IntelliCombo-normal");

    // Only lists made while such a control is created get the tab stops.
    CComboBox plain;
    ASSERT_TRUE(plain.Create(WS_VISIBLE | CBS_DROPDOWNLIST, CRect(20, 60, 200, 160), &m_frame, kId + 1));
    EXPECT_FALSE(::GetWindowLongA(ComboInfo(plain).hwndList, GWL_STYLE) & LBS_USETABSTOPS);

    // Opened now and closed by the posted request once the loop runs.
    m_combo.InitDropDown();
    EXPECT_TRUE(m_combo.GetDroppedState());
    EXPECT_TRUE(PumpUntil([&] { return m_combo.GetDroppedState() == FALSE; }));
}

// A list 200 high is placed at the pointer, upwards when it would pass the
// bottom of the 1024-row screen.
TEST_F(IntelliCombo, ListIsPlacedAndOpensAtThePointerWithAlignedColumns)
{
    struct Row { int pointerY; UINT flags; CPoint topLeft; };
    const Row rows[] = {
        {900, 0, {300, 700}}, {800, 0, {300, 800}}, {824, 0, {300, 824}}, {825, 0, {300, 625}},
        {900, SWP_NOMOVE, {300, 625}}, // stays where it was
    };
    ASSERT_EQ(::GetSystemMetrics(SM_CYSCREEN), 1024);
    for (const Row& row : rows) {
        ASSERT_TRUE(CursorTo(POINT {300, row.pointerY}));
        ::SetWindowPos(m_combo.GetListWindow(), nullptr, 5, 5, 150, 200, SWP_NOZORDER | SWP_NOACTIVATE | row.flags);
        EXPECT_EQ(WindowRect().TopLeft(), row.topLeft) << row.pointerY;
    }

    // Opened at the pointer, with aligned columns.
    const CRect frame = m_frame.GetWindowRect();
    const POINT pointer {frame.left + 220, frame.top + 120};
    ASSERT_TRUE(CursorTo(pointer));
    m_combo.ShowComboAtCursor();
    ASSERT_TRUE(PumpUntil([&] { return m_combo.GetDroppedState() != FALSE; }));
    PumpPending();
    EXPECT_EQ(WindowRect().TopLeft(), CPoint(pointer));
    SaveScreenshot(::GetDesktopWindow(), "IntelliCombo-dropped");
    // First columns of different widths; the second column ends level.
    EXPECT_GT(RightmostText(0), 0);
    EXPECT_EQ(RightmostText(1), RightmostText(0));

    // The list tracks the mouse in this thread's loop; a real click on the
    // second item picks it and closes the list.
    const int itemHeight = static_cast<int>(::SendMessageA(m_combo.GetListWindow(), LB_GETITEMHEIGHT, 0, 0));
    ClickAt(m_combo.GetListWindow(), CPoint(10, itemHeight * 3 / 2));
    ASSERT_TRUE(PumpUntil([&] { return m_combo.GetDroppedState() == FALSE; }));
    EXPECT_EQ(m_combo.GetCurSel(), 1);
    EXPECT_EQ(m_frame.Count(WM_COMMAND, CBN_SELCHANGE), 1u);

    ASSERT_TRUE(CursorTo(POINT {pointer.x, 1010}));
    m_combo.ShowComboAtCursor();
    ASSERT_TRUE(PumpUntil([&] { return m_combo.GetDroppedState() != FALSE; }));
    // Upwards, ending at the pointer.
    EXPECT_EQ(CPoint(WindowRect().left, WindowRect().bottom), CPoint(pointer.x, 1010));
    SaveScreenshot(::GetDesktopWindow(), "IntelliCombo-dropped-up");
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(PumpUntil([&] { return m_combo.GetDroppedState() == FALSE; }));
}
