#include "HoverTestWindows.h"

#include "controls/win/GridHelper.h"
#include "controls/win/WindowWrappers.h"
#include "framework/win/ListCtrl.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

using namespace orv::ui;

namespace {

const UINT kListId = 401;
const UINT kEditorId = 402;

// The fields of the test list's columns.
const int kFields[] = {1003, 1001, 1002, 1004, 9952, 2002};

// What the owner saw when the editor notified it.
struct Ending {
    GHDirections next;
    BOOL modified;
    CString text;
};

// A plain report list as the editor's owner; it records each notification
// of the editor with the editor's state at that moment.
class CTestList : public CListCtrl {
public:
    CGridHelper* m_editor = nullptr;
    std::vector<Ending> m_endings;
    std::function<void()> m_onEnding;

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override
    {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->code != static_cast<UINT>(CGridHelper::kNotifyCode) || m_editor == nullptr)
            return CListCtrl::OnNotify(wParam, lParam, result);
        EXPECT_EQ(header->idFrom, kEditorId);
        EXPECT_EQ(header->hwndFrom, m_editor->GetSafeHwnd());
        m_endings.push_back({m_editor->NextCell(), m_editor->IsModified(), m_editor->GetValue()});
        if (m_onEnding)
            m_onEnding();
        return TRUE;
    }
};

class GridHelper : public FrameTest<> {
protected:
    GridHelper() : FrameTest("Grid editor") {}
    void MakeControls() override
    {
        ASSERT_TRUE(m_list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(10, 10, 390, 200), &m_frame, kListId));
        const char* titles[] = {"Symbol", "Action", "Quantity", "Price", "Active", "Last"};
        for (int i = 0; i < 6; ++i)
            m_list.InsertColumn(i, titles[i], LVCFMT_LEFT, i == 1 ? 80 : 60);
        const char* row[] = {"IBM", "Sell", "1,000", "108'16", "0", "108.25"};
        for (int item = 0; item < 3; ++item) {
            m_list.InsertItem(item, row[0]);
            for (int sub = 1; sub < 6; ++sub)
                m_list.SetItemText(item, sub, row[sub]);
        }
        m_list.m_editor = &m_editor;
        ::SetForegroundWindow(m_frame);
    }

    CRect Cell(int item, int column) const
    {
        CRect rect(column == 0 ? LVIR_LABEL : LVIR_BOUNDS, column, 0, 0);
        m_list.SendMessage(LVM_GETSUBITEMRECT, item, reinterpret_cast<LPARAM>(&rect));
        return rect;
    }
    int Edit(int item, int column, const char* text, double minimum = 0, double maximum = 1000,
             double increment = 1, int format = 2)
    {
        const int started = m_editor.EditItem(text, item, kFields[column], 7, Cell(item, column), minimum, maximum,
                                              increment, format);
        PumpPending();
        return started;
    }
    // A key through SendInput, with Shift held when asked.
    static void Key(WORD key, bool shift = false) { shift ? PressKey(key, {VK_SHIFT}) : PressKey(key); }
    bool WaitEndings(size_t count)
    {
        return PumpUntil([&] { return m_list.m_endings.size() >= count; }, 3000);
    }
    // The direction and the modified flag of the owner's count-th
    // notification, once it has come ({GHD_NONE, -1} when it does not).
    std::pair<GHDirections, BOOL> Ended(size_t count)
    {
        if (!WaitEndings(count))
            return {GHD_NONE, -1};
        return {m_list.m_endings[count - 1].next, m_list.m_endings[count - 1].modified};
    }
    void ClickSpin(bool up)
    {
        CRect upper;
        CRect lower;
        m_editor.GetSpin().GetUpDownRects(upper, lower);
        ClickAt(m_editor.GetSpin(), (up ? upper : lower).CenterPoint());
        PumpPending();
    }

    CTestList m_list;
    CGridHelper m_editor {&m_list, kEditorId};
};

} // namespace

TEST_F(GridHelper, EachEndingKeyTellsTheOwnerWhereToGo)
{
    const struct { WORD key; bool shift; BOOL enterMovesDown; GHDirections next; } cases[] = {
        {VK_TAB, false, FALSE, GHD_NEXT},  {VK_TAB, true, FALSE, GHD_PREVIOUS}, {VK_RETURN, false, FALSE, GHD_NONE},
        {VK_RETURN, false, TRUE, GHD_DOWN}, {VK_UP, false, FALSE, GHD_UP},       {VK_DOWN, false, FALSE, GHD_DOWN},
    };
    for (const auto& c : cases) {
        m_list.m_endings.clear();
        m_editor.SetEnterMovesDown(c.enterMovesDown);
        ASSERT_EQ(Edit(1, 0, "IBM"), 1);
        EXPECT_EQ(m_editor.GetGHStyle(), GHS_TEXT);
        EXPECT_EQ(m_editor.NextCell(), GHD_EDITING);
        PostKeys(m_editor, "msft");
        Key(c.key, c.shift);
        EXPECT_EQ(Ended(1), std::pair(c.next, TRUE)) << c.key << " " << c.shift;
        EXPECT_EQ(m_list.m_endings.size(), 1u);
        EXPECT_EQ(m_editor.GetValue(), "MSFT"); // typed letters become capitals
        EXPECT_FALSE(m_editor.IsActive());
        EXPECT_EQ(::GetFocus(), m_list.GetSafeHwnd());
    }
}

TEST_F(GridHelper, EscapeAndClickingAwayEndTheEditAndTheOwnerMayStartTheNextFromTheNotification)
{
    ASSERT_EQ(Edit(0, 0, "IBM"), 1);
    PostKeys(m_editor, "X");
    Key(VK_ESCAPE);
    EXPECT_EQ(Ended(1), std::pair(GHD_ESCAPE, FALSE));
    EXPECT_TRUE(m_editor.IsEsc());
    EXPECT_EQ(m_editor.GetValue(), "");

    // Losing the focus keeps the edit open in direction, once only.
    ASSERT_EQ(Edit(0, 0, "IBM"), 1);
    EXPECT_FALSE(m_editor.IsEsc());
    ClickAt(m_list, Cell(2, 5).CenterPoint());
    EXPECT_EQ(Ended(2), std::pair(GHD_EDITING, FALSE)); // the text is unchanged
    PumpFor(100);
    EXPECT_EQ(m_list.m_endings.size(), 2u);
    EXPECT_EQ(m_editor.GetValue(), "IBM");

    // Fields without an editor start nothing.
    CGridHelper fresh(&m_list, kEditorId + 10);
    EXPECT_EQ(fresh.EditItem("108.25", 0, 2002, 0, Cell(0, 5), 0, 1000, 1, 2), 0);
    EXPECT_EQ(fresh.GetSafeHwnd(), nullptr);
    EXPECT_EQ(fresh.GetGHStyle(), GHS_NONE);

    // The owner starts the next edit from the notification of the last, as a
    // grid moving with Tab does.
    m_list.m_endings.clear();
    m_list.m_onEnding = [&] {
        if (m_list.m_endings.size() == 1)
            m_editor.EditItem("1,000", 0, 1002, 0, Cell(0, 2), 0, 5000, 100, 0);
    };
    ASSERT_EQ(Edit(0, 0, "IBM"), 1);
    Key(VK_TAB);
    ASSERT_TRUE(WaitEndings(1));
    PumpPending();
    EXPECT_TRUE(m_editor.IsActive());
    EXPECT_EQ(m_editor.GetCol(), 1002);
    EXPECT_EQ(m_editor.NextCell(), GHD_EDITING);
    EXPECT_EQ(m_editor.GetValue(1L), 1000);
    Key(VK_ESCAPE);
    EXPECT_EQ(Ended(2).first, GHD_ESCAPE);
}


TEST_F(GridHelper, NumericEditorsFilterKeysAndStepWithinTheirBounds)
{
    ASSERT_EQ(Edit(0, 2, "1,000", 0, 20, 5), 1);
    EXPECT_EQ(m_editor.GetGHStyle(), GHS_INTEGER);
    PostKeys(m_editor, "1x-.2");
    EXPECT_EQ(m_editor.GetWindowText(), "12");
    ASSERT_TRUE(SetClipboardText(m_frame, "9z"));
    m_editor.SendMessage(WM_PASTE);
    EXPECT_EQ(m_editor.GetWindowText(), "12");
    ClickSpin(true);
    EXPECT_EQ(m_editor.GetWindowText(), "17");
    ASSERT_EQ(m_list.m_endings.size(), 1u); // each step is told
    EXPECT_EQ(Ended(1), std::pair(GHD_EDITING, TRUE));
    ClickSpin(true); // 22 would pass the maximum
    EXPECT_EQ(m_editor.GetWindowText(), "17");
    ClickSpin(false);
    EXPECT_EQ(m_editor.GetWindowText(), "12");
    SaveScreenshot(m_frame, "GridHelper-integer");
    Key(VK_RETURN);
    ASSERT_TRUE(WaitEndings(3));
    EXPECT_EQ(m_editor.GetValue(0L), 12);
    EXPECT_FALSE(m_editor.GetSpin().IsWindowVisible());

    // A price in 64ths steps in the host's apostrophe text.
    ASSERT_EQ(Edit(0, 3, "108'16", 0, 200, 1.0 / 64, 32), 1);
    EXPECT_EQ(m_editor.GetGHStyle(), GHS_DECIMAL);
    ClickSpin(true);
    EXPECT_EQ(m_editor.GetWindowText(), "108'165");
    PostKeys(m_editor, "\b\b\b\b\b\b\b-1'08");
    EXPECT_EQ(m_editor.GetWindowText(), "1'08"); // no sign with a minimum of 0
    Key(VK_TAB);
    ASSERT_TRUE(WaitEndings(5));
    EXPECT_EQ(m_editor.GetValue(0.0), 1.25);
}

TEST_F(GridHelper, PickListOffersTheCaptionsAndReturnsTheChosenField)
{
    const unsigned short actions[] = {10000, 10001, 10002};
    EXPECT_EQ(m_editor.SetPickList(1004, 3, actions), 0);
    EXPECT_EQ(m_editor.SetPickList(1001, 3, nullptr), 0);
    ASSERT_EQ(m_editor.SetPickList(1001, 3, actions), 1);
    ASSERT_EQ(m_editor.EditItem("Sell", 0, 1001, 10001, Cell(0, 1), 0, 0, 0, 0), 1);
    EXPECT_EQ(m_editor.GetGHStyle(), GHS_PICKLIST);
    EXPECT_EQ(m_editor.GetDWordData(), 10001u);
    EXPECT_EQ(m_editor.FindItemData(10004), -1);

    // Drop the list with a click and click its third entry.
    ClickAt(m_editor, CPoint(10, 8));
    ASSERT_TRUE(PumpUntil([&] { return m_editor.SendMessage(CB_GETDROPPEDSTATE) != 0; }));
    COMBOBOXINFO info {};
    info.cbSize = sizeof info;
    ASSERT_TRUE(::GetComboBoxInfo(m_editor, &info));
    SaveScreenshot(::GetDesktopWindow(), "GridHelper-picklist");
    CRect entry;
    ::SendMessageA(info.hwndList, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&entry));
    ClickAt(info.hwndList, entry.CenterPoint());
    ASSERT_TRUE(PumpUntil([&] { return m_editor.SendMessage(CB_GETDROPPEDSTATE) == 0; }));
    Key(VK_TAB);
    EXPECT_EQ(Ended(1), std::pair(GHD_NEXT, TRUE));
    EXPECT_EQ(m_editor.GetValue(), "Sell Short");
    EXPECT_EQ(m_editor.GetDWordData(), 10002u);
}

TEST_F(GridHelper, CheckEditorTogglesWithTheSpaceBar)
{
    ASSERT_EQ(Edit(0, 4, "0"), 1);
    EXPECT_EQ(m_editor.GetGHStyle(), GHS_CHECK);
    EXPECT_EQ(m_editor.GetValue(-1.0), 0);
    const CRect client = m_editor.GetClientRect();
    const int darkBefore = CountPixels(m_editor, client, RGB(0, 0, 0));
    Key(VK_SPACE);
    EXPECT_TRUE(PumpUntil([&] { return m_editor.GetValue(-1.0) == 1; }));
    EXPECT_GT(CountPixels(m_editor, client, RGB(0, 0, 0)), darkBefore); // the tick is drawn
    SaveScreenshot(m_frame, "GridHelper-check");
    Key(VK_SPACE);
    EXPECT_TRUE(PumpUntil([&] { return m_editor.GetValue(-1L) == 0; }));
    Key(VK_SPACE);
    EXPECT_TRUE(PumpUntil([&] { return m_editor.GetValue(-1L) == 1; }));
    Key(VK_DOWN);
    EXPECT_EQ(Ended(1), std::pair(GHD_DOWN, TRUE));
}
