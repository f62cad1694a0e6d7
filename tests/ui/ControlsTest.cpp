#include "UiHarness.h"

#include "framework/win/Controls.h"
#include "framework/win/Wnd.h"

#include <gtest/gtest.h>

using namespace orv::ui;

TEST(Controls, WrappersOfTheCommonControlsForwardToTheirControls)
{
    CWnd frame;
    ASSERT_TRUE(frame.CreateEx(0, nullptr, "Controls", WS_POPUP | WS_VISIBLE, TestFrameRect(), nullptr, 0));

    CListBox list;
    ASSERT_TRUE(list.Create(WS_VISIBLE | WS_BORDER | LBS_NOTIFY, CRect(10, 10, 150, 120), &frame, 1));
    EXPECT_EQ(list.AddString("ES"), 0);
    EXPECT_EQ(list.AddString("NQ"), 1);
    EXPECT_EQ(list.InsertString(0, "CL"), 0);
    EXPECT_EQ(list.GetCount(), 3);
    EXPECT_EQ(list.FindStringExact(-1, "NQ"), 2);
    EXPECT_EQ(list.SetItemData(2, 77), TRUE);
    EXPECT_EQ(list.GetItemData(2), 77u);
    EXPECT_EQ(list.GetCurSel(), LB_ERR);
    list.SetCurSel(1);
    CString text;
    EXPECT_EQ(list.GetText(list.GetCurSel(), text), 2);
    EXPECT_EQ(text, "ES");
    EXPECT_EQ(list.GetText(5, text), LB_ERR);
    EXPECT_EQ(list.DeleteString(0), 2);

    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_VISIBLE | WS_BORDER, CRect(160, 10, 260, 34), &frame, 2));
    CSpinButtonCtrl spin;
    ASSERT_TRUE(spin.Create(WS_VISIBLE | UDS_SETBUDDYINT | UDS_ALIGNRIGHT, CRect(0, 0, 16, 24), &frame, 3));
    spin.SetBuddy(edit);
    EXPECT_EQ(spin.GetBuddy(), edit.GetSafeHwnd());
    spin.SetRange(0, 1000);
    int lower = -1, upper = -1;
    spin.GetRange(lower, upper);
    EXPECT_EQ(CPoint(lower, upper), CPoint(0, 1000));
    spin.SetPos(500);
    EXPECT_EQ(spin.GetPos(), 500);
    EXPECT_EQ(edit.GetWindowText(), "500"); // the buddy shows the position
    EXPECT_EQ(spin.GetBase(), 10u);

    edit.SetSel(0, -1);
    edit.ReplaceSel("42", TRUE);
    EXPECT_EQ(edit.GetWindowText(), "42");
    EXPECT_TRUE(edit.CanUndo());
    edit.Undo();
    EXPECT_EQ(edit.GetWindowText(), "500");

    CButton check;
    ASSERT_TRUE(check.Create("AON", WS_VISIBLE | BS_AUTOCHECKBOX, CRect(10, 130, 120, 150), &frame, 4));
    EXPECT_EQ(check.GetButtonStyle(), static_cast<UINT>(BS_AUTOCHECKBOX));
    check.Click();
    EXPECT_EQ(check.GetCheck(), BST_CHECKED);
    check.SetCheck(BST_UNCHECKED);
    EXPECT_EQ(check.GetCheck(), BST_UNCHECKED);

    CProgressCtrl progress;
    ASSERT_TRUE(progress.Create(WS_VISIBLE, CRect(10, 160, 260, 176), &frame, 5));
    progress.SetRange32(0, 2000);
    progress.GetRange(lower, upper);
    EXPECT_EQ(CPoint(lower, upper), CPoint(0, 2000));
    progress.SetPos(1500);
    EXPECT_EQ(progress.SetPos(2500), 1500); // the previous position; the new one is clamped
    EXPECT_EQ(progress.GetPos(), 2000);
    progress.SetMarquee(TRUE, 30);
    EXPECT_TRUE(progress.GetStyle() & PBS_MARQUEE);
    progress.SetMarquee(FALSE);
    EXPECT_FALSE(progress.GetStyle() & PBS_MARQUEE);
    SaveScreenshot(frame, "Controls");

    // An extended-selection list and an address field, over the others.
    CListBox multi;
    ASSERT_TRUE(multi.Create(WS_VISIBLE | WS_BORDER | LBS_EXTENDEDSEL, CRect(10, 10, 150, 120), &frame, 6));
    for (const char* entry : {"a", "b", "c", "d"})
        multi.AddString(entry);
    EXPECT_EQ(multi.GetSelItems().GetSize(), 0);
    multi.SetSel(3);
    multi.SetSel(1);
    const CArray<int, int> selected = multi.GetSelItems();
    ASSERT_EQ(selected.GetSize(), 2);
    EXPECT_EQ(CPoint(selected[0], selected[1]), CPoint(1, 3));
    multi.SetSel(-1, FALSE);
    EXPECT_EQ(multi.GetSelCount(), 0);

    CIPAddressCtrl address;
    ASSERT_TRUE(address.Create(WS_VISIBLE | WS_BORDER, CRect(160, 10, 300, 34), &frame, 7));
    EXPECT_TRUE(address.IsBlank());
    EXPECT_TRUE(address.SetAddressText("10.0.200.7"));
    EXPECT_EQ(address.GetAddressText(), "10.0.200.7");
    EXPECT_EQ(ReadWindowText(address), "10.0.200.7");
    DWORD value = 0;
    EXPECT_EQ(address.GetAddress(value), 4);
    EXPECT_EQ(value, static_cast<DWORD>(MAKEIPADDRESS(10, 0, 200, 7)));
    EXPECT_FALSE(address.SetAddressText("10.0.200"));
    EXPECT_TRUE(address.IsBlank());
    address.SetAddress(0);
    EXPECT_EQ(address.GetAddressText(), "") << "the all-zero address means every interface";

    // A tool tip keeps its tools.
    CButton button;
    ASSERT_TRUE(button.Create("Buy", WS_VISIBLE, CRect(10, 10, 90, 40), &frame, 8));
    CToolTipCtrl tip;
    ASSERT_TRUE(tip.Create(&frame));
    EXPECT_TRUE(tip.AddTool(&button, "Buy at the ask"));
    EXPECT_TRUE(tip.AddTool(&frame, "Quote area", CRect(100, 0, 200, 50), 7));
    EXPECT_EQ(tip.GetToolCount(), 2);
    tip.UpdateTipText("Buy at market", &button);
    char tipText[80] = "";
    TOOLINFOA info {};
    info.cbSize = sizeof info;
    info.hwnd = frame;
    info.uId = reinterpret_cast<UINT_PTR>(button.GetSafeHwnd());
    info.lpszText = tipText;
    tip.SendMessage(TTM_GETTEXTA, sizeof tipText, reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ(tipText, "Buy at market");
    tip.DelTool(&button);
    EXPECT_EQ(tip.GetToolCount(), 1);
    EXPECT_EQ(tip.SetMaxTipWidth(200), -1);
    tip.SetDelayTime(TTDT_INITIAL, 10);
    EXPECT_EQ(tip.SendMessage(TTM_GETDELAYTIME, TTDT_INITIAL), 10);
}
