#include "UiHarness.h"

#include "controls/win/WindowUtils.h"
#include "framework/win/Controls.h"
#include "framework/win/Menu.h"
#include "framework/win/Wnd.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using namespace orv::ui;

namespace {

// Builds a popup from a pattern: "-" a separator, ">" a popup item named by
// the rest, anything else a command with ids 1, 2, ...
void Fill(CMenu& menu, const std::vector<std::string>& items)
{
    menu.CreatePopupMenu();
    UINT id = 1;
    for (const std::string& item : items) {
        if (item == "-") {
            menu.AppendMenu(MF_SEPARATOR);
        } else if (item[0] == '>') {
            HMENU popup = ::CreatePopupMenu();
            ::AppendMenuA(popup, MF_STRING, 100, "Inner");
            menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(popup), item.c_str() + 1);
        } else {
            menu.AppendMenu(MF_STRING, id++, item.c_str());
        }
    }
}

std::string Pattern(const CMenu& menu)
{
    std::string pattern;
    for (int i = 0; i < menu.GetMenuItemCount(); ++i) {
        CString text;
        if (menu.GetMenuState(i, MF_BYPOSITION) & MF_SEPARATOR)
            pattern += "-";
        else if (menu.GetMenuString(i, text, MF_BYPOSITION) > 0)
            pattern += text.GetString();
        pattern += " ";
    }
    return pattern;
}

std::string Cleaned(const std::vector<std::string>& items)
{
    CMenu menu;
    Fill(menu, items);
    RemoveFunkyMenuSeparators(&menu);
    return Pattern(menu);
}

} // namespace

TEST(WindowUtils, MenuHelpersDropStraySeparatorsFindItemsByIdOrExactTextAndSetOnlyTheRadioBit)
{
    EXPECT_EQ(Cleaned({"-", "-", "-"}), "");
    EXPECT_EQ(Cleaned({"-", "A", "-", "-", "B", "-"}), "A - B ");
    EXPECT_EQ(Cleaned({"-", "-", "A", "-", "-", "-", "B", "C", "-", "-"}), "A - B C ");
    EXPECT_EQ(Cleaned({"A", "-", "B"}), "A - B ");
    EXPECT_EQ(Cleaned({"A", ">Sub", "-", "B"}), "A Sub - B ");
    EXPECT_EQ(Cleaned({}), "");
    // Invalid handles are left alone.
    RemoveFunkyMenuSeparators(static_cast<HMENU>(nullptr));
    RemoveFunkyMenuSeparators(static_cast<CMenu*>(nullptr));

    // Items are found by identifier and by their exact text.
    CMenu menu;
    Fill(menu, {"&Buy", "-", "&Sell", ">&Options", "&Sell"});
    for (auto [id, position] : {std::pair {1u, 0}, {2u, 2}, {3u, 4}, {99u, -1}})
        EXPECT_EQ(GetMenuItemPosition(menu, id), position) << id;
    for (auto [text, position] : {std::pair {"&Sell", 2}, {"Sell", -1}, {"&sell", -1}})
        EXPECT_EQ(GetMenuItemPosition(&menu, text), position) << text;
    EXPECT_EQ(GetMenuItemPosition(static_cast<CMenu*>(nullptr), "&Sell"), -1);
    EXPECT_EQ(GetSubMenu(&menu, "&Options"), ::GetSubMenu(menu, 3));
    EXPECT_EQ(GetSubMenu(&menu, "&Buy"), nullptr);
    EXPECT_EQ(GetSubMenu(&menu, "Nothing"), nullptr);

    CMenu empty;
    empty.CreatePopupMenu();
    EXPECT_EQ(GetMenuItemPosition(empty, 1u), -1);

    // SetMenuItemRadio toggles only the radio bit.
    CMenu radio;
    Fill(radio, {"Day", "-", "Week"});
    radio.ModifyMenu(0, MF_BYPOSITION | MF_STRING | MF_MENUBARBREAK, 1, "Day");
    // The item's type and state flags.
    auto type = [&](UINT position) { return ::GetMenuState(radio, position, MF_BYPOSITION); };
    EXPECT_EQ(SetMenuItemRadio(radio, 0, TRUE, TRUE), 1);
    EXPECT_EQ(type(0), static_cast<UINT>(MFT_RADIOCHECK | MFT_MENUBARBREAK));
    CString text;
    radio.GetMenuString(0, text, MF_BYPOSITION);
    EXPECT_EQ(text, "Day");
    EXPECT_EQ(SetMenuItemRadio(radio, 0, TRUE, FALSE), 1);
    EXPECT_EQ(type(0), static_cast<UINT>(MFT_MENUBARBREAK));
    // By command identifier.
    EXPECT_EQ(SetMenuItemRadio(radio, 2, FALSE, TRUE), 1);
    EXPECT_TRUE(type(2) & MFT_RADIOCHECK);
    // A separator has no text room; a missing item cannot be read.
    EXPECT_EQ(SetMenuItemRadio(radio, 1, TRUE, TRUE), 0);
    EXPECT_EQ(SetMenuItemRadio(radio, 9, TRUE, TRUE), 0);
}

TEST(WindowUtils, StripMnemonicAmpAndContrastingColours)
{
    for (auto [before, after] : {std::pair {"&File && Edit", "File & Edit"}, {"&&&", "&"}, {"Trailing&", "Trailing"}}) {
        CString text = before;
        StripMnemonicAmp(text);
        EXPECT_EQ(text, after);
    }
    // Black above 2 * red + 5 * green + blue = 1024, white up to it.
    for (auto [color, contrast] : {std::pair {RGB(0, 255, 0), RGB(0, 0, 0)}, {RGB(255, 0, 0), RGB(255, 255, 255)},
                                   {RGB(255, 255, 255), RGB(0, 0, 0)}, {RGB(128, 128, 128), RGB(255, 255, 255)}})
        EXPECT_EQ(GetContrastingColor(color), contrast) << color;

    EXPECT_EQ(TranslateColor(0x80000000 | COLOR_WINDOW), ::GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(TranslateColor(RGB(10, 20, 30)), RGB(10, 20, 30));
    EXPECT_EQ(TranslateColor(0x800000FF), 0u); // no such system colour
}

TEST(WindowUtils, ComboGetLbTextReadsTheSelectionOrLeavesTheTextAlone)
{
    CWnd frame;
    ASSERT_TRUE(frame.CreateEx(0, nullptr, "Combo", WS_POPUP | WS_VISIBLE, TestFrameRect(), nullptr, 0));
    CComboBox combo;
    ASSERT_TRUE(combo.Create(WS_VISIBLE | CBS_DROPDOWNLIST, CRect(10, 10, 200, 200), &frame, 5));
    const std::string longItem(400, 'x');
    for (const char* item : {"NYSE", longItem.c_str(), ""})
        combo.AddString(item);

    // No selection and an empty item leave the text as it was.
    const struct { int selection; int read; std::string text; } rows[] = {
        {-1, 0, "kept"}, {0, 1, "NYSE"}, {1, 1, longItem}, {2, 0, "kept"}};
    CString text;
    for (const auto& row : rows) {
        combo.SetCurSel(row.selection);
        text = "kept";
        EXPECT_EQ(ComboGetLbText(combo, text), row.read) << row.selection;
        EXPECT_EQ(text, row.text.c_str());
    }
    EXPECT_EQ(ComboGetLbText(nullptr, text), 0);

    CString item;
    EXPECT_EQ(combo.GetLBText(0, item), 4);
    EXPECT_EQ(item, "NYSE");
    EXPECT_EQ(combo.GetLBText(7, item), CB_ERR);
    EXPECT_TRUE(item.IsEmpty());
}

TEST(WindowUtils, WindowFromPointExDescendsOneQualifyingChildAtATime)
{
    CWnd frame;
    ASSERT_TRUE(frame.CreateEx(WS_EX_TOPMOST, nullptr, "Point", WS_POPUP | WS_VISIBLE, CRect(100, 100, 400, 300),
                               nullptr, 0));
    CWnd panel;
    ASSERT_TRUE(panel.CreateEx(0, nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(10, 10, 210, 160),
                               frame, 1));
    CButton button;
    ASSERT_TRUE(button.Create("Go", WS_VISIBLE | BS_PUSHBUTTON, CRect(20, 20, 120, 60), &panel, 2));
    PumpPending();

    const POINT onButton {100 + 10 + 1 + 30, 100 + 10 + 1 + 30};
    EXPECT_EQ(WindowFromPointEx(onButton, nullptr, 0, 0), button.GetSafeHwnd());
    // A style bit the button lacks filters nothing; one it has stops the
    // descent at the panel.
    EXPECT_EQ(WindowFromPointEx(onButton, nullptr, BS_DEFPUSHBUTTON, 0), button.GetSafeHwnd());
    button.ModifyStyle(0, WS_TABSTOP);
    EXPECT_EQ(WindowFromPointEx(onButton, nullptr, WS_TABSTOP, 0), panel.GetSafeHwnd());
    // The descent goes one level at a time: a child that does not qualify
    // hides its qualifying children.
    panel.EnableWindow(FALSE);
    EXPECT_EQ(WindowFromPointEx(onButton, nullptr, 0, 0), frame.GetSafeHwnd());
    panel.EnableWindow(TRUE);
    // Disabled and hidden windows do not qualify.
    button.EnableWindow(FALSE);
    EXPECT_EQ(WindowFromPointEx(onButton, nullptr, 0, 0), panel.GetSafeHwnd());
    panel.ShowWindow(SW_HIDE);
    EXPECT_EQ(WindowFromPointEx(onButton, nullptr, 0, 0), frame.GetSafeHwnd());
    // Excluding the frame by handle or by extended style leaves no window of
    // ours at the point.
    EXPECT_NE(WindowFromPointEx(onButton, frame, 0, 0), frame.GetSafeHwnd());
    EXPECT_NE(WindowFromPointEx(onButton, nullptr, 0, WS_EX_TOPMOST), frame.GetSafeHwnd());
    // Right and bottom edges are outside.
    EXPECT_NE(WindowFromPointEx(POINT {400, 150}, nullptr, 0, 0), frame.GetSafeHwnd());
    EXPECT_EQ(WindowFromPointEx(POINT {399, 299}, nullptr, 0, 0), frame.GetSafeHwnd());
}

TEST(WindowUtils, AlwaysOnTopAddsTheSystemMenuItemAndTogglesTopmost)
{
    CWnd frame;
    ASSERT_TRUE(frame.CreateEx(0, nullptr, "Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, TestFrameRect(), nullptr, 0));
    HMENU systemMenu = frame.GetSystemMenu(FALSE);
    ASSERT_NE(systemMenu, nullptr);
    const int countBefore = ::GetMenuItemCount(systemMenu);
    ProcessAlwaysOnTop(frame, TRUE);
    ASSERT_EQ(::GetMenuItemCount(systemMenu), countBefore + 2);
    EXPECT_TRUE(::GetMenuState(systemMenu, countBefore, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(::GetMenuItemID(systemMenu, countBefore + 1), 57360u);
    char text[64] = "";
    ::GetMenuStringA(systemMenu, countBefore + 1, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "Always on Top");

    const CRect place = frame.GetWindowRect();
    ProcessAlwaysOnTop(frame, FALSE);
    EXPECT_TRUE(frame.GetExStyle() & WS_EX_TOPMOST);
    ProcessAlwaysOnTop(frame, FALSE);
    EXPECT_FALSE(frame.GetExStyle() & WS_EX_TOPMOST);
    EXPECT_EQ(frame.GetWindowRect(), place);
}

TEST(WindowUtils, ForegroundMouseButtonsAndOsClass)
{
    CWnd first;
    CWnd second;
    ASSERT_TRUE(first.CreateEx(0, nullptr, "First", WS_POPUP | WS_VISIBLE, CRect(0, 0, 100, 100), nullptr, 0));
    ASSERT_TRUE(second.CreateEx(0, nullptr, "Second", WS_POPUP | WS_VISIBLE, CRect(200, 0, 300, 100), nullptr, 0));
    ::SetForegroundWindow(second);
    PumpPending();
    first.ShowWindow(SW_MINIMIZE);
    EXPECT_EQ(ForceForegroundWindow(first), 1);
    EXPECT_EQ(::GetForegroundWindow(), first.GetSafeHwnd());
    EXPECT_FALSE(::IsIconic(first)); // restored
    EXPECT_EQ(ForceForegroundWindow(first), 1); // already in front

    EXPECT_EQ(IsMouseButtonDown(), 0);

    OSVERSIONINFOA info {};
    info.dwOSVersionInfoSize = sizeof info;
    ASSERT_TRUE(::GetVersionExA(&info));
    if (info.dwPlatformId == VER_PLATFORM_WIN32_NT && info.dwMajorVersion >= 6) {
        EXPECT_EQ(GetOSVersion(), 0); // later NT versions have no class of their own
    }
}

TEST(WindowUtils, ContextMenuIsTrackedAtThePointWithOrWithoutARectangleToKeepClear)
{
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "Owner", WS_POPUP | WS_VISIBLE, TestFrameRect(), nullptr, 0));
    CMenu menu;
    Fill(menu, {"One", "Two", "Three"});
    ::SetForegroundWindow(owner);

    // The tracking loop is ended from a timer once the menu's window shows.
    CRect shown;
    auto track = [&](const RECT* keepClear) {
        shown.SetRectEmpty();
        const WhenShown closer([] { return FindThreadWindow("#32768"); }, [&](HWND popup) {
            ::GetWindowRect(popup, &shown);
            ::EndMenu();
        }, 50);
        ShowContextMenu(&menu, POINT {200, 200}, owner, keepClear);
    };
    // Both forms track the menu at the point. Where the menu lands beside
    // the rectangle is the system's business; Wine does not move it.
    const CRect keepClear(150, 150, 300, 400);
    track(&keepClear);
    EXPECT_FALSE(shown.IsRectEmpty());
    track(nullptr);
    EXPECT_EQ(shown.TopLeft(), CPoint(200, 200));
}
