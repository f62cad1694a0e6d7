#include "HoverTestWindows.h"

#include "controls/win/DateTimeEdit.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

using namespace orv::ui;

namespace {

const UINT kEditId = 401;
const UINT kSpinId = 402;
// The notice frame, counting the date-time notifications it is posted.
class CFrame : public CNoticeFrame {
public:
    std::vector<std::pair<WPARAM, LPARAM>> m_dateTimeNotices;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_DATETIME_EDIT && message != 0)
            m_dateTimeNotices.emplace_back(wParam, lParam);
        return CNoticeFrame::WindowProc(message, wParam, lParam);
    }
};

class DateTimeEdit : public FrameTest<CFrame> {
protected:
    DateTimeEdit() : FrameTest("Date-time edit") {}
    void MakeControls() override
    {
        ASSERT_TRUE(m_edit.CreateEx(WS_EX_CLIENTEDGE, WS_VISIBLE | WS_TABSTOP, CRect(20, 20, 160, 43), &m_frame,
                                    kEditId));
        m_edit.SetFont(HFONT(::GetStockObject(DEFAULT_GUI_FONT)));
    }

    // Shows the value in the mask and sets the selection (-1: the end).
    void Start(const char* mask, const COleDateTime& value, int selStart, int selEnd)
    {
        m_edit.SetMask(mask);
        ASSERT_TRUE(m_edit.SetDateTime(value));
        const int length = m_edit.GetWindowTextLength();
        m_edit.SetSel(selStart < 0 ? length : selStart, selEnd < 0 ? length : selEnd);
        PumpPending();
        m_frame.m_dateTimeNotices.clear();
    }
    std::string Selection() const
    {
        int start = 0, end = 0;
        m_edit.GetSel(start, end);
        return std::to_string(start) + "-" + std::to_string(end);
    }

    CNimDateTimeEdit m_edit {kSpinId};
};

const COleDateTime k0815(2026, 12, 7, 8, 15, 0);
const COleDateTime k1234(2026, 12, 7, 12, 34, 0);
const COleDateTime k1000(2026, 12, 7, 10, 0, 0);

} // namespace

// Each row starts from the value in the mask with the selection given and
// presses the keys; every key that changes the text tells the parent once.
TEST_F(DateTimeEdit, KeysOvertypeStepAndMoveOverTheFields)
{
    const struct {
        const char* mask;
        COleDateTime start;
        int selStart, selEnd;
        const char* keys;
        const char* text;
        const char* selection;
        size_t notices;
    } rows[] = {
        {"hh:mm", k0815, 0, 0, "1230", "12:30", "5-5", 4},      // the colon is skipped, never typed over
        {"hh:mm", k1234, -1, -1, "\b", "12:30", "4-5", 1},      // backspace types 0 before the caret
        {"hh:mm", k1234, 1, 1, "\x7f", "10:34", "1-2", 1},      // Delete clears the digit, caret kept
        {"hh:mm", k1234, -1, -1, "\x7f\x05", "12:34", "5-5", 0}, // past the end, and Insert, change nothing
        {"hh:mm", k1000, 3, 3, "\x02", "10:00", "3-5", 0},      // a minute of -1 does not compose
        {"hh:mm", k1000, 0, 0, "\x01\x01", "12:00", "0-0", 2},  // the caret stays where it was
        {"hh:mm", k1234, 1, 1, "\x04", "12:34", "3-4", 0},      // right skips the colon (the model wraps at the ends)
        {"hh:mm", k1234, 0, 0, "\x03", "12:34", "4-5", 0},      // left wraps around at the start
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.mask << " at " << row.selStart << " keys "
                                        << ::testing::PrintToString(row.keys));
        Start(row.mask, row.start, row.selStart, row.selEnd);
        PostKeys(m_edit, row.keys);
        EXPECT_EQ(m_edit.GetWindowText(), row.text);
        EXPECT_EQ(Selection(), row.selection);
        ASSERT_EQ(m_frame.m_dateTimeNotices.size(), row.notices);
        for (const auto& [first, second] : m_frame.m_dateTimeNotices)
            EXPECT_TRUE(first == 1 && HWND(second) == m_edit.GetSafeHwnd());
    }
}

// The keyboard itself, through SendInput: the click gives the focus, the
// digits overtype, the arrows move and the up arrow reaches the edit as the
// spin's step (the spin watches its buddy's arrow keys).
TEST_F(DateTimeEdit, RealKeysTypeMoveAndStep)
{
    Start("MM/DD/YYYY hh:mm", k0815, 0, 0);
    ClickAt(m_edit, CPoint(4, 8));
    ASSERT_TRUE(PumpUntil([&] { return ::GetFocus() == m_edit.GetSafeHwnd(); }));
    // 0120 over the date, four rights to the hours, 1 over the 0 of 08, back
    // to the 1 and two steps up.
    for (WORD key : {WORD(VK_HOME), WORD('0'), WORD('1'), WORD('2'), WORD('0'), WORD(VK_RIGHT), WORD(VK_RIGHT),
                     WORD(VK_RIGHT), WORD(VK_RIGHT), WORD('1'), WORD(VK_LEFT), WORD(VK_UP), WORD(VK_UP)})
        PressKey(key);
    ASSERT_TRUE(PumpUntil([&] { return m_edit.GetWindowText() == "01/20/2026 20:15"; }, 3000))
        << m_edit.GetWindowText();
    PumpPending();
    EXPECT_EQ(Selection(), "11-12"); // the steps kept the selection
    // With Shift held, the arrows select as in any edit.
    PressKey(VK_RIGHT, {VK_SHIFT});
    EXPECT_TRUE(PumpUntil([&] { return Selection() == "11-13"; }, 2000)) << Selection();
    SaveScreenshot(m_frame, "DateTimeEdit-typed");
}

// A spin click steps the field under the caret as an arrow key would; the
// focus it gives the edit does not select the whole text; at a limit the
// arrow cannot be pressed.
TEST_F(DateTimeEdit, SpinClicksStepTheCaretsFieldAndLeaveNoSelection)
{
    ASSERT_NE(m_edit.GetSpin(), nullptr);
    CNimHoverSpin& spin = *m_edit.GetSpin();
    EXPECT_EQ(spin.GetBuddy(), static_cast<INimSpinBuddy*>(&m_edit));
    m_edit.SetSelectAllOnFocus(TRUE);
    Start("hh:mm", COleDateTime(2026, 12, 7, 22, 59, 0), 0, 0);
    ::SetFocus(m_frame);
    PumpPending();

    const CRect arrows = spin.GetClientRect();
    const CPoint up(arrows.Width() / 2, 4), down(arrows.Width() / 2, arrows.Height() - 5);
    ClickAt(spin, up);
    ASSERT_TRUE(PumpUntil([&] { return m_edit.GetWindowText() == "23:59"; })) << m_edit.GetWindowText();
    PumpPending();
    EXPECT_EQ(::GetFocus(), m_edit.GetSafeHwnd());
    EXPECT_EQ(Selection(), "0-0"); // the select-all that came with the focus was swallowed
    EXPECT_FALSE(m_edit.CanIncrement());
    EXPECT_TRUE(m_edit.CanDecrement());
    ClickAt(spin, up); // the hour is at its end: the up arrow is nowhere
    PumpPending();
    EXPECT_EQ(m_edit.GetWindowText(), "23:59");
    SaveScreenshot(m_frame, "DateTimeEdit-spin-at-limit");

    m_edit.SetSel(3, 3);
    EXPECT_FALSE(m_edit.CanIncrement()); // a minute of 60 does not compose either
    ClickAt(spin, down);
    ASSERT_TRUE(PumpUntil([&] { return m_edit.GetWindowText() == "23:58"; })) << m_edit.GetWindowText();
    EXPECT_EQ(Selection(), "3-5");

    // The focus goes and comes back with a click: the whole text is
    // selected, as the edit is asked to, for no step is on its way.
    ::SetFocus(m_frame);
    ClickAt(m_edit, CPoint(4, 8));
    ASSERT_TRUE(PumpUntil([&] { return Selection() == "0-5"; })) << Selection();

    // Read-only: neither the spin nor the keys change the text.
    m_edit.SetReadOnly(TRUE);
    EXPECT_FALSE(m_edit.CanDecrement());
    m_edit.ChangeAmount(-1);
    m_edit.SetSel(0, 0);
    PostKeys(m_edit, "1\x02");
    EXPECT_EQ(m_edit.GetWindowText(), "23:58");
}

TEST_F(DateTimeEdit, ValuesAreWrittenReadStrictlyPastedByTheMaskAndShownInTheDisplayZone)
{
    m_edit.SetMask("MM/DD/YYYY hh:mm:ss");
    EXPECT_EQ(m_edit.GetMask(), "MM/DD/YYYY hh:mm:ss");
    ASSERT_TRUE(m_edit.SetDateTime(COleDateTime(2026, 3, 9, 7, 5, 3)));
    EXPECT_EQ(m_edit.GetWindowText(), "03/09/2026 07:05:03");
    COleDateTime value;
    ASSERT_TRUE(m_edit.GetDateTime(value));
    EXPECT_EQ(value, COleDateTime(2026, 3, 9, 7, 5, 3));

    // Nothing is written for a value that is not one; the text stays.
    COleDateTime invalid;
    invalid.SetStatus(COleDateTime::invalid);
    PumpPending();
    m_frame.m_dateTimeNotices.clear();
    EXPECT_FALSE(m_edit.SetDateTime(invalid));
    EXPECT_EQ(m_edit.GetWindowText(), "03/09/2026 07:05:03");
    PumpPending();
    EXPECT_TRUE(m_frame.m_dateTimeNotices.empty());

    m_edit.SetMask("hh:mm");
    EXPECT_EQ(m_edit.GetWindowText(), "07:05"); // the value, in the new layout
    EXPECT_EQ(m_edit.GetDateTime("9:30").GetStatus(), COleDateTime::invalid); // shorter than the mask
    m_edit.SetWindowText("12.30"); // a literal differs
    EXPECT_FALSE(m_edit.GetDateTime(value));
    EXPECT_EQ(value.GetStatus(), COleDateTime::invalid);
    m_edit.SetMask("hh:mm:ss"); // the text gave no value: the current time is shown
    EXPECT_TRUE(m_edit.GetDateTime(value)) << m_edit.GetWindowText();

    // The first run of a letter is selected; a letter the mask lacks puts
    // the caret at the start.
    m_edit.SetMask("MM/DD/YYYY hh:mm");
    const struct { char letter; const char* selection; } fields[] = {{'m', "14-16"}, {'Y', "6-10"}, {'s', "0-0"}};
    for (const auto& field : fields) {
        m_edit.SetSel(3, 4);
        m_edit.SelectField(field.letter);
        EXPECT_EQ(Selection(), field.selection) << field.letter;
    }

    // A date-time comes from the clipboard only when it reads by the mask;
    // cut, clear and undo would break the layout and do nothing.
    Start("hh:mm", k1234, 0, 5);
    auto clip = [&](const char* text) { ASSERT_TRUE(SetClipboardText(m_frame, text)); };
    clip(" 09:45\r\n");
    PostKeys(m_edit, "\x16"); // Ctrl+V
    EXPECT_EQ(m_edit.GetWindowText(), "09:45");
    clip("9.45");
    m_edit.SendMessage(WM_PASTE);
    EXPECT_EQ(m_edit.GetWindowText(), "09:45");
    m_edit.SetSel(0, 5);
    for (UINT message : {UINT(WM_CUT), UINT(WM_CLEAR), UINT(WM_UNDO)})
        m_edit.SendMessage(message);
    EXPECT_EQ(m_edit.GetWindowText(), "09:45");

    // Market values show in the display zone, Eastern when the library
    // loads.
    COrvDateTime::SetLocalDisplayFormat(0);
    const int span = COrvDateTime::GetDisplayToUTCMinutes();
    ASSERT_TRUE(span == 300 || span == 240) << span;
    m_edit.SetMask("MM/DD/YYYY hh:mm");
    m_edit.SetTimeZoneSuffix(COrvDateTime::GetDisplayTimeZone());
    m_edit.SetWindowText("12/07/2026 09:30");
    COrvDateTime utc;
    ASSERT_TRUE(m_edit.GetDateTime(utc));
    EXPECT_EQ(utc.GetDay() * 10000 + utc.GetHour() * 100 + utc.GetMinute(), span == 300 ? 71430 : 71330);
    COrvDateTime later;
    later = COleDateTime(2026, 12, 7, 21, 5, 0);
    ASSERT_TRUE(m_edit.SetDateTime(later));
    EXPECT_EQ(m_edit.GetWindowText(), span == 300 ? "12/07/2026 16:05" : "12/07/2026 17:05");
    m_edit.SetWindowText("12.07.2026 09:30");
    EXPECT_FALSE(m_edit.GetDateTime(utc));
    EXPECT_EQ(utc.GetStatus(), COleDateTime::invalid);
    m_edit.SetTimeZoneSuffix(nullptr);
}

// An edit made or attached starts with the current time; the width covers
// the mask's text, the suffix and the spin; the edit keeps its left edge and
// the spin stays at its side.
TEST_F(DateTimeEdit, ResizeToFitCoversTextSuffixAndSpinAndEditsStartWithTheCurrentTime)
{
    // Attached to an existing window (a dialog's edit), the edit writes the
    // current time and fits, as one it creates does.
    const COleDateTime before = COleDateTime::GetCurrentTime();
    CNimDateTimeEdit attached;
    ASSERT_TRUE(
        attached.SubclassWindow(::CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE, 20, 60, 300,
                                                  23, m_frame, HMENU(UINT_PTR(kEditId + 10)), nullptr, nullptr)));
    for (const CNimDateTimeEdit* edit : {&m_edit, &attached}) {
        COleDateTime value;
        ASSERT_TRUE(edit->GetDateTime(value)) << edit->GetWindowText();
        const double minutes = (value - before).GetTotalMinutes();
        EXPECT_TRUE(minutes > -1.5 && minutes < 1.5) << edit->GetWindowText();
    }
    EXPECT_LT(attached.GetWindowRect().Width(), 300);
    attached.EnableWindow(FALSE);
    attached.SetTimeZoneSuffix("EST");
    SaveScreenshot(m_frame, "DateTimeEdit-attached-disabled");

    // The edit keeps its text left of its format rectangle's right side.
    auto formatRight = [&] {
        CRect format;
        m_edit.SendMessage(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
        return format.right;
    };
    auto lastCharRight = [&] {
        CClientDC dc(m_edit);
        CSelectScope font(dc, m_edit.GetFont());
        const int last = m_edit.GetWindowTextLength() - 1;
        return short(LOWORD(m_edit.SendMessage(EM_POSFROMCHAR, last))) + dc.GetTextExtent("8", 1).cx;
    };
    const int left = m_edit.GetWindowRect().left;
    const struct {
        const char* mask;
        const char* suffix;
    } rows[] = {{"hh:mm", ""}, {"MM/DD/YYYY hh:mm:ss", ""}, {"MM/DD/YYYY hh:mm", "EST"}, {"hh:mm", "EDT"}};
    std::vector<int> widths;
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.mask << " " << row.suffix);
        m_edit.SetTimeZoneSuffix(row.suffix);
        m_edit.SetMask(row.mask);
        ASSERT_TRUE(m_edit.SetDateTime(COleDateTime(2026, 12, 8, 23, 58, 58)));
        m_edit.SetSel(0, 0);
        PumpPending();
        const CRect edit = m_edit.GetWindowRect(), arrows = m_edit.GetSpin()->GetWindowRect();
        EXPECT_EQ(edit.left, left);
        EXPECT_LE(lastCharRight(), formatRight());
        EXPECT_LE(formatRight() + (*row.suffix != '\0' ? 16 : 0), int(m_edit.GetClientRect().right));
        EXPECT_LE(std::abs(arrows.left - edit.right), 2) << arrows.left << " " << edit.right;
        EXPECT_EQ(arrows.top, edit.top);
        widths.push_back(edit.Width());
    }
    EXPECT_LT(widths[0], widths[1]);
    EXPECT_LT(widths[0], widths[3]); // the suffix adds its width
    // The suffix is drawn, in grey, right of the text.
    const CRect client = m_edit.GetClientRect();
    EXPECT_FALSE(RowCounts(m_edit, CRect(formatRight(), 0, client.right, client.bottom), ::GetSysColor(COLOR_GRAYTEXT))
                     .empty());
    EXPECT_TRUE(RowCounts(m_edit, CRect(0, 0, 4, client.bottom), ::GetSysColor(COLOR_GRAYTEXT)).empty());
    SaveScreenshot(m_frame, "DateTimeEdit-suffix");

    // Without auto-size the width stays; the suffix still has its room.
    m_edit.SetAutoSize(FALSE);
    m_edit.SetTimeZoneSuffix("");
    EXPECT_EQ(m_edit.GetWindowRect().Width(), widths[3]);
    m_edit.SetAutoSize(TRUE);
    EXPECT_EQ(m_edit.GetWindowRect().Width(), widths[0]);
}
