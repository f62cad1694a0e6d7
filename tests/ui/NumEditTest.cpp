#include "HoverTestWindows.h"
#include "UiTestResources.h"

#include "controls/win/HoverLook.h"
#include "controls/win/NumEdit.h"
#include "controls/win/SysColors.h"
#include "framework/win/DC.h"
#include "framework/win/Dialog.h"
#include "support/SavedNumberSettings.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

using namespace orv::ui;
using namespace orv::controls;

namespace {

const UINT kEditId = 301;
const UINT kSpinId = 302;
// An edit's text and the value it reads.
using Shown = std::pair<CString, double>;

// The notice frame, with a call made for each command it receives.
class CFrame : public CNoticeFrame {
public:
    std::function<void()> m_onCommand;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        const BOOL result = CNoticeFrame::OnCommand(wParam, lParam);
        if (m_onCommand)
            m_onCommand();
        return result;
    }
};

class NumEdit : public FrameTest<CFrame> {
protected:
    void MakeControls() override
    {
        ASSERT_TRUE(m_edit.CreateEx(WS_EX_CLIENTEDGE, WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                                    CRect(20, 20, 160, 43), &m_frame, kEditId));
    }

    double Value() const
    {
        double value = -1;
        m_edit.GetValue(value);
        return value;
    }
    Shown Showing() const { return {m_edit.GetWindowText(), Value()}; }
    size_t Changes() const { return m_frame.Count(WM_COMMAND, EN_CHANGE); }

    orv_test::SavedNumberSettings m_saved;
    CNimNumEdit m_edit {kSpinId};
};

} // namespace

// Each row starts from the value's text with the selection given (-1: the
// end) and types the keys.
TEST_F(NumEdit, TypingKeepsWhatReadsAsANumberOfTheEdit)
{
    const struct {
        int kind, decimals;
        double minimum, start;
        int selStart, selEnd;
        const char* keys;
        const char* text;
        double value;
    } rows[] = {
        {NumberPrice, 2, 0, 0, 0, -1, "12.5", "12.5", 12.5},
        {NumberWhole, 0, 0, 0, 0, -1, "-5", "5", 5},          // minimum 0: no sign
        {NumberPrice, 2, 0, 12.5, 2, 2, "\x7f", "1250", 1250}, // Delete removes the point
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.keys);
        m_edit.SetFormat(row.kind);
        m_edit.SetNumDecimalPlaces(row.decimals, -1);
        m_edit.SetMinMax(row.minimum, 2147483647.0);
        m_edit.SetValue(row.start);
        m_edit.ResetValue();
        const int length = m_edit.GetWindowTextLength();
        m_edit.SetSel(row.selStart < 0 ? length : row.selStart, row.selEnd < 0 ? length : row.selEnd);
        PostKeys(m_edit, row.keys);
        EXPECT_EQ(Showing(), Shown(row.text, row.value));
    }
}

// The keyboard itself, through SendInput: the Delete key deletes and the
// point key types the separator, and neither is taken for the other.
TEST_F(NumEdit, RealKeysDeleteAndTypeThroughTheSystem)
{
    m_edit.SetValue(12.5);
    ClickAt(m_edit, CPoint(4, 8));
    ASSERT_TRUE(PumpUntil([&] { return ::GetFocus() == m_edit.GetSafeHwnd(); }));
    for (WORD key : {WORD(VK_HOME), WORD(VK_RIGHT), WORD(VK_RIGHT), WORD(VK_DELETE)})
        PressKey(key);
    ASSERT_TRUE(PumpUntil([&] { return Showing() == Shown("1250", 1250); }, 2000)) << m_edit.GetWindowText();
    for (WORD key : {WORD(VK_END), WORD(VK_OEM_PERIOD), WORD('5')})
        PressKey(key);
    EXPECT_TRUE(PumpUntil([&] { return Showing() == Shown("1250.5", 1250.5); }, 2000)) << m_edit.GetWindowText();
    MouseAway();
}

TEST_F(NumEdit, EachAcceptedKeyOrPasteTellsTheParentOnceFocusLossRewritesTheTextAndASetWithinASetIsRefused)
{
    m_edit.SetMinMax(0.0, 100.0);
    m_edit.SetFocus();
    m_edit.SetSel(0, -1);
    m_frame.m_notices.clear();
    PostKeys(m_edit, "2x5");
    EXPECT_EQ(Changes(), 2u); // "x" is refused, silently
    EXPECT_EQ(m_frame.Last(WM_COMMAND, EN_CHANGE)->text, "25");
    PostKeys(m_edit, "0");
    EXPECT_EQ(Showing(), Shown("250", 100)); // the value clamped at once, shown when the focus leaves
    ::SetFocus(m_frame);
    PumpPending();
    EXPECT_EQ(m_edit.GetWindowText(), "100.00");

    // Escape takes the last keystroke back, and the value with it.
    m_edit.SetFocus();
    m_edit.SetSel(0, -1);
    PostKeys(m_edit, "3");
    EXPECT_DOUBLE_EQ(Value(), 3);
    m_edit.PostMessage(WM_KEYUP, VK_ESCAPE, 0xC0010001);
    PumpUntil([&] { return Value() == 100; }, 1000);
    EXPECT_EQ(Showing(), Shown("100.00", 100));

    // A paste takes a number from the clipboard, told once, and refuses
    // other text.
    m_edit.SetValue(1.0);
    m_edit.SetSel(0, -1);
    ASSERT_TRUE(SetClipboardText(m_frame, "  42.25\r\n"));
    m_frame.m_notices.clear();
    PostKeys(m_edit, "\x16"); // Ctrl+V
    EXPECT_EQ(Showing(), Shown("42.25", 42.25));
    EXPECT_EQ(Changes(), 1u);

    m_edit.SetSel(0, -1);
    ASSERT_TRUE(SetClipboardText(m_frame, "12 shares"));
    m_edit.SendMessage(WM_PASTE);
    EXPECT_EQ(Showing(), Shown("42.25", 42.25));

    // A set made while a set runs (from the change it announces) is refused.
    BOOL inner = TRUE;
    m_frame.m_onCommand = [&] { inner = m_edit.SetValue(7L); };
    EXPECT_TRUE(m_edit.SetValue(3L));
    m_frame.m_onCommand = nullptr;
    EXPECT_FALSE(inner);
    EXPECT_DOUBLE_EQ(Value(), 3);
}

TEST_F(NumEdit, SpinClicksAndArrowKeysStepByTheDelta)
{
    ASSERT_NE(m_edit.GetSpin(), nullptr);
    CNimHoverSpin& spin = *m_edit.GetSpin();
    EXPECT_EQ(spin.GetDlgCtrlID(), int(kSpinId));
    EXPECT_EQ(HWND(m_edit.SendMessage(RWM_ORV_GETBUDDY)), spin.GetSafeHwnd());
    EXPECT_TRUE(spin.IsWindowVisible());

    m_edit.SetMinMax(0.0, 1.02);
    m_edit.SetValue(1.0);
    for (int i = 0; i < 3; ++i)
        m_edit.SendMessage(WM_KEYDOWN, VK_UP, 1);
    m_edit.SendMessage(WM_KEYUP, VK_UP, 1);
    EXPECT_EQ(m_edit.GetWindowText(), "1.02"); // stopped at the maximum
    EXPECT_FALSE(m_edit.CanIncrement());
    m_edit.SendMessage(WM_KEYDOWN, VK_DOWN, 1);
    m_edit.SendMessage(WM_KEYUP, VK_DOWN, 1);
    EXPECT_EQ(m_edit.GetWindowText(), "1.01");

    const CRect arrows = spin.GetClientRect();
    ClickAt(spin, CPoint(arrows.Width() / 2, arrows.Height() - 5));
    ASSERT_TRUE(PumpUntil([&] { return m_edit.GetWindowText() == "1.00"; }));
    SaveScreenshot(m_frame, "NumEdit-stepped");

    // Read-only: the spin's steps do nothing.
    m_edit.SetReadOnly(TRUE);
    m_edit.ChangeAmount(1);
    EXPECT_DOUBLE_EQ(Value(), 1.0);
}

TEST_F(NumEdit, SpinIsMadeTakenOverOrLeftOutByItsId)
{
    // 0: the next up-down sibling of an edit that is subclassed.
    HWND plain = ::CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "5", WS_CHILD | WS_VISIBLE, 20, 60, 100, 23, m_frame,
                                   HMENU(UINT_PTR(kEditId + 10)), nullptr, nullptr);
    HWND updownWnd = ::CreateWindowExA(0, UPDOWN_CLASSA, nullptr, WS_CHILD | WS_VISIBLE | UDS_ARROWKEYS, 120, 60, 16,
                                       23, m_frame, HMENU(UINT_PTR(kEditId + 11)), nullptr, nullptr);
    ASSERT_TRUE(plain != nullptr && updownWnd != nullptr);
    CNimNumEdit attached(CNimSpinnableEdit::kAttachNextSpin, NumberWhole);
    ASSERT_TRUE(attached.SubclassWindow(plain));
    ASSERT_NE(attached.GetSpin(), nullptr);
    EXPECT_EQ(attached.GetSpin()->GetSafeHwnd(), updownWnd);
    attached.SendMessage(WM_KEYDOWN, VK_UP, 1);
    EXPECT_EQ(attached.GetWindowText(), "100");

    // 1: none; the arrow keys step the edit by themselves.
    CNimNumEdit alone(CNimSpinnableEdit::kNoSpin, NumberWhole);
    ASSERT_TRUE(alone.CreateEx(WS_EX_CLIENTEDGE, WS_VISIBLE, CRect(20, 100, 120, 123), &m_frame, kEditId + 12));
    EXPECT_EQ(alone.GetSpin(), nullptr);
    EXPECT_EQ(alone.SendMessage(RWM_ORV_GETBUDDY), 0);
    alone.SendMessage(WM_KEYDOWN, VK_UP, 1);
    alone.SendMessage(WM_KEYDOWN, VK_UP, 1);
    EXPECT_EQ(alone.GetWindowText(), "200");

    // The spin hides and shows with the edit.
    HWND spin = m_edit.GetSpin()->GetSafeHwnd();
    m_edit.ShowWindow(SW_HIDE);
    EXPECT_FALSE(::IsWindowVisible(spin));
    m_edit.ShowWindow(SW_SHOW);
    EXPECT_TRUE(::IsWindowVisible(spin));
}

TEST_F(NumEdit, TheOtherBuddyLightsTheEditAndAnswersForIt)
{
    CNimNumEdit other(CNimSpinnableEdit::kNoSpin);
    ASSERT_TRUE(other.CreateEx(WS_EX_CLIENTEDGE, WS_VISIBLE, CRect(20, 100, 120, 123), &m_frame, kEditId + 30));
    m_edit.SetOtherBuddy(&other);
    other.SetOtherBuddy(&m_edit); // each names the other: the question must not go round for ever
    EXPECT_EQ(m_edit.SendMessage(RWM_ORV_AREYOUTRACKING), 0);

    MoveMouseTo(other, CPoint(30, 8));
    ASSERT_TRUE(PumpUntil([&] { return other.IsTracking() != FALSE; }));
    EXPECT_EQ(m_edit.SendMessage(RWM_ORV_AREYOUTRACKING), 1);
    m_edit.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    const RECT client = ClientRectInWindow(m_edit);
    EXPECT_EQ(WindowPixel(m_edit, client.left - 1, client.top + 3), CSysColors::sm_cr3DDkShadow); // lit
    SaveScreenshot(m_frame, "NumEdit-other-buddy-hot");

    MoveMouseTo(*m_edit.GetSpin(), CPoint(4, 4));
    ASSERT_TRUE(PumpUntil([&] { return m_edit.GetSpin()->IsTracking() != FALSE; }));
    EXPECT_EQ(other.SendMessage(RWM_ORV_AREYOUTRACKING), 1); // through its buddy's spin
    MouseAway();
    ASSERT_TRUE(PumpUntil([&] { return m_edit.SendMessage(RWM_ORV_AREYOUTRACKING) == 0; }));
    m_edit.SetOtherBuddy(nullptr);
}

TEST_F(NumEdit, KindsShowTheirTextForexPipsAreUnderlinedAndAnOffsetLabelIsFound)
{
    CStatic label;
    ASSERT_TRUE(label.Create("Trail offset", WS_VISIBLE, CRect(20, 60, 120, 80), &m_frame));
    const struct { int kind, decimals; double value; const char* text; } rows[] = {
        {NumberPrice, 2, 412.35, "412.35"},
        {NumberPrice, 32, 101.515625, "101'165"},
        {NumberPercent, 2, 12.5, "12.50%"},
    };
    std::vector<std::unique_ptr<CNimNumEdit>> edits;
    int top = 80;
    for (const auto& row : rows) {
        edits.push_back(std::make_unique<CNimNumEdit>(kSpinId + 40 + UINT(edits.size()), row.kind, nullptr,
                                                      row.decimals));
        CNimNumEdit& edit = *edits.back();
        ASSERT_TRUE(edit.CreateEx(WS_EX_CLIENTEDGE, WS_VISIBLE | ES_RIGHT, CRect(20, top, 140, top + 23), &m_frame,
                                  kEditId + 40 + UINT(edits.size())));
        edit.SetFont(HFONT(::GetStockObject(DEFAULT_GUI_FONT)));
        edit.SetValue(row.value);
        EXPECT_EQ(edit.GetWindowText(), row.text);
        top += 30;
    }
    EXPECT_TRUE(edits[0]->HasOffsetLabel());
    EXPECT_FALSE(edits[1]->HasOffsetLabel()); // its neighbour is the first edit's spin
    edits[2]->EnableWindow(FALSE);
    EXPECT_FALSE(edits[2]->GetSpin()->IsWindowEnabled()); // the spin goes with the edit
    SaveScreenshot(m_frame, "NumEdit-kinds");
    edits[2]->EnableWindow(TRUE);
    EXPECT_TRUE(edits[2]->GetSpin()->IsWindowEnabled());

    // Forex pips are underlined in the text colour.
    m_edit.SetNumDecimalPlaces(5, -1);
    m_edit.SetValue(1.23456);
    m_edit.SetForexPipsMode(TRUE);
    PumpPending();
    SaveScreenshot(m_edit, "NumEdit-pips");
    // The line lies one font height below the top of the text, under the
    // last two decimals of "1.23456" (characters 5 and 6) and nowhere else.
    CClientDC dc(m_edit);
    CSelectScope font(dc, m_edit.GetFont());
    TEXTMETRICA metrics {};
    dc.GetTextMetrics(&metrics);
    auto at = [&](int index) { return m_edit.SendMessage(EM_POSFROMCHAR, index); };
    const int y = short(HIWORD(at(0))) + metrics.tmHeight;
    const COLORREF text = ::GetSysColor(COLOR_WINDOWTEXT);
    const int from = short(LOWORD(at(5))), to = short(LOWORD(at(6))) + 3;
    EXPECT_EQ(RowCounts(m_edit, CRect(from, y, to, y + 1), text), std::vector<int> {to - from});
    EXPECT_TRUE(RowCounts(m_edit, CRect(0, y, from - 1, y + 1), text).empty());
    m_edit.EnableWindow(FALSE);
    SaveScreenshot(m_edit, "NumEdit-pips-disabled");
}

namespace {

class CPriceDialog : public CDialog {
public:
    CPriceDialog() : CDialog(IDD_TEST_DIALOG) {}
    CNimNumEdit m_price {CNimSpinnableEdit::kNoSpin, NumberPrice, nullptr, 2};
    double m_value = 12.345;
    long m_whole = 0;

protected:
    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Control(dx, IDC_TEST_PRICE, m_price);
        DDX_nimNumEdit(dx, IDC_TEST_PRICE, m_value);
        DDX_nimNumEdit(dx->m_bSaveAndValidate, m_price, m_whole);
        DDX_nimNumEdit(dx, IDC_TEST_NAME, m_value); // not a numeric edit
    }
};

} // namespace

TEST_F(NumEdit, DialogDataExchangeLoadsAndSavesTheValue)
{
    CPriceDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_TEST_DIALOG));
    EXPECT_EQ(dialog.m_price.GetWindowText(), "0.00"); // the long form loaded 0 after the double
    dialog.m_price.SetValue(99.5);
    EXPECT_FALSE(dialog.UpdateData(TRUE)); // the symbol edit is no numeric edit
    EXPECT_DOUBLE_EQ(dialog.m_value, 99.5);
    EXPECT_EQ(dialog.m_whole, 100);
    EXPECT_FALSE(dialog.m_price.HasOffsetLabel()); // its label reads "Limit"
    dialog.DestroyWindow();
}

TEST_F(NumEdit, NoHandlesGrowOverAThousandEdits)
{
    ExpectNoHandleLeak([&] {
        CNimNumEdit edit(kSpinId + 1, NumberPrice);
        edit.CreateEx(WS_EX_CLIENTEDGE, WS_VISIBLE, CRect(20, 140, 120, 163), &m_frame, kEditId + 20);
        edit.SetForexPipsMode(TRUE);
        edit.SetNumDecimalPlaces(4, -1);
        edit.SetValue(1.2345);
        edit.UpdateWindow();
        edit.SendMessage(WM_CHAR, '7', 1);
    }, 8);
}
