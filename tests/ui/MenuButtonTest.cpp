#include "HoverTestWindows.h"

#include "controls/win/MenuButton.h"
#include "controls/win/SysColors.h"
#include "framework/win/Gdi.h"
#include "framework/win/ImageList.h"
#include "framework/win/ThreadTimer.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

using namespace orv::ui;

namespace {

const UINT kButtonId = 401;
const COLORREF kBlue = RGB(0, 96, 224);
using Choices = std::vector<std::pair<int, CString>>;

// A 16 x 16 opaque icon of one colour.
HICON MakeIcon(COLORREF color)
{
    const std::vector<DWORD> pixels(256, 0xFF000000 | GetRValue(color) << 16 | GetGValue(color) << 8 | GetBValue(color));
    const std::vector<BYTE> opaque(32, 0);
    return ::CreateIcon(nullptr, 16, 16, 1, 32, opaque.data(), reinterpret_cast<const BYTE*>(pixels.data()));
}

// Works the popup menus that a menu loop shows, from a thread timer that the
// loop dispatches: the action runs on the first menu, and any later one is
// closed with Escape, so that a menu opened by mistake fails a test instead
// of waiting for input.
struct MenuDriver {
    int menus = 0;
    HMENU worked = nullptr;
    CThreadTimer timer;

    explicit MenuDriver(std::function<void(HMENU)> action)
    {
        timer.Start(15, [this, action = std::move(action)] {
            HWND menuWnd = ::FindWindowA("#32768", nullptr);
            if (menuWnd == nullptr || !::IsWindowVisible(menuWnd))
                return;
            const auto menu = reinterpret_cast<HMENU>(::SendMessageA(menuWnd, MN_GETHMENU, 0, 0));
            if (menu == worked)
                return;
            worked = menu;
            if (menus++ == 0)
                action(menu);
            else
                PressKey(VK_ESCAPE);
        });
    }
};

// Counts the menus it shows.
class CCountingMenuButton : public CNimMenuButton {
public:
    using CNimMenuButton::ShowMenu;
    int m_menus = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        m_menus += message == WM_ENTERMENULOOP ? 1 : 0;
        return CNimMenuButton::WindowProc(message, wParam, lParam);
    }
};

// Records each choice, and paints its statics with its own brush when it has one.
class CChoiceFrame : public CNoticeFrame {
public:
    Choices m_choices;
    CBrush m_staticBrush;

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override
    {
        const auto* notify = reinterpret_cast<const NMMENUBUTTON*>(lParam);
        if (notify->hdr.code == MBN_SELCHANGE && notify->hdr.idFrom == kButtonId && wParam == kButtonId)
            m_choices.emplace_back(notify->iItem, notify->pszText);
        return CNoticeFrame::OnNotify(wParam, lParam, result);
    }
    HBRUSH OnCtlColor(CDC* dc, HWND wnd, UINT type) override
    {
        return type == CTLCOLOR_STATIC && !m_staticBrush.IsNull() ? m_staticBrush : CNoticeFrame::OnCtlColor(dc, wnd, type);
    }
};

class MenuButton : public FrameTest<CChoiceFrame> {
protected:
    void MakeControls() override
    {
        ASSERT_TRUE(m_button.Create("", WS_VISIBLE | BS_PUSHBUTTON, CRect(20, 20, 140, 44), &m_frame, kButtonId));
        EXPECT_EQ(m_button.AddItem("Market", m_blue), 0);
        EXPECT_EQ(m_button.AddItem("Limit", m_blue), 1);
        EXPECT_EQ(m_button.AddItem("Stop"), 2);
    }

    // Clicks the button for real and lets the driver work the menu.
    void ClickWithMenu(std::function<void(HMENU)> action)
    {
        MenuDriver driver(std::move(action));
        ClickAt(m_button, CPoint(40, 12));
        ASSERT_TRUE(PumpUntil([&] { return driver.menus > 0 && !m_button.IsMenuOpen(); }));
        PumpFor(300); // a menu opened again would show now
    }
    COLORREF ArrowEdge() { return WindowPixel(m_button, 120 - 1 - m_button.GetArrowWidth(), 12); }

    CIcon m_blue {MakeIcon(kBlue)};
    CCountingMenuButton m_button;
};

} // namespace

TEST_F(MenuButton, SetSelRefusesIndexesOutOfRangeAndReportsEveryItemMadeCurrent)
{
    EXPECT_EQ(m_button.GetArrowWidth(), 18); // Wine's 17-pixel scroll arrows
    EXPECT_TRUE(m_button.GetIgnoreDoubleClicks()); // fast clicks each open the menu
    EXPECT_EQ(m_button.AddItem("Broken", reinterpret_cast<HICON>(0x4321)), -1);
    EXPECT_EQ(m_button.GetItemCount(), 3);

    const struct {
        int index;         // or -9 to select by text
        const char* text;
        BOOL result;
        int current;
        Choices reported;
    } cases[] = {
        {5, nullptr, FALSE, -1, {}},  {3, nullptr, FALSE, -1, {}},       {-2, nullptr, FALSE, -1, {}},
        {1, nullptr, TRUE, 1, {{1, "Limit"}}},                            {5, nullptr, FALSE, 1, {}},
        {1, nullptr, TRUE, 1, {{1, "Limit"}}}, // the current item again is reported again
        {-1, nullptr, TRUE, -1, {}},  {-9, "Stop", TRUE, 2, {{2, "Stop"}}}, {-9, "stop", FALSE, 2, {}},
        {-9, "", FALSE, 2, {}},
    };
    for (const auto& test : cases) {
        m_frame.m_choices.clear();
        EXPECT_EQ(test.index == -9 ? m_button.SetSel(test.text) : m_button.SetSel(test.index), test.result)
            << test.index << " " << (test.text ? test.text : "");
        EXPECT_EQ(m_button.GetCurSel(), test.current);
        EXPECT_EQ(m_frame.m_choices, test.reported);
    }
}

TEST_F(MenuButton, ClickShowsTheItemsWithTheCurrentInBoldAndTheChoiceBecomesCurrent)
{
    m_button.SetSel(0);
    for (const int bold : {0, 2}) { // choosing the current item again is reported again
        m_frame.m_choices.clear();
        std::vector<CString> texts;
        ClickWithMenu([&](HMENU menu) {
            for (UINT i = 0; i < 3; ++i) {
                char text[16] = "";
                MENUITEMINFOA info {};
                info.cbSize = sizeof info;
                info.fMask = MIIM_ID | MIIM_STRING | MIIM_BITMAP | MIIM_DATA;
                info.dwTypeData = text;
                info.cch = sizeof text;
                ::GetMenuItemInfoA(menu, i, TRUE, &info);
                texts.push_back(text);
                EXPECT_EQ(info.wID, 30000 + i);
                EXPECT_EQ(info.hbmpItem == HBMMENU_CALLBACK && info.dwItemData != 0, i < 2); // its icon
            }
            EXPECT_EQ(::GetMenuDefaultItem(menu, TRUE, 0), static_cast<UINT>(bold));
            if (bold == 0) {
                SaveScreenshot(::FindWindowA("#32768", nullptr), "MenuButton-menu-open");
                SaveScreenshot(m_button, "MenuButton-pressed-while-open");
                EXPECT_EQ(ArrowEdge(), CSysColors::sm_cr3DShadow); // sunken
            }
            RECT item {};
            ::GetMenuItemRect(nullptr, menu, 2, &item);
            ClickAt(nullptr, CPoint((item.left + item.right) / 2, (item.top + item.bottom) / 2));
        });
        EXPECT_EQ(texts, (std::vector<CString> {"Market", "Limit", "Stop"}));
        EXPECT_EQ(m_button.GetCurSel(), 2);
        EXPECT_EQ(m_frame.m_choices, (Choices {{2, "Stop"}}));
    }
    EXPECT_EQ(m_button.m_menus, 2);
}

TEST_F(MenuButton, ClickOnTheButtonWhileItsMenuIsOpenClosesItWithoutReopening)
{
    ClickWithMenu([&](HMENU) { ClickAt(m_button, CPoint(60, 12)); });
    EXPECT_EQ(m_button.m_menus, 1);
    // That click was used up; the next one opens the menu.
    ClickWithMenu([&](HMENU) { PressKey(VK_ESCAPE); });
    EXPECT_EQ(m_button.m_menus, 2);
    EXPECT_TRUE(m_frame.m_choices.empty());

    CCountingMenuButton empty; // has no menu to show
    ASSERT_TRUE(empty.Create("", WS_VISIBLE | BS_PUSHBUTTON, CRect(20, 60, 140, 84), &m_frame, 402));
    MenuDriver closer([](HMENU) { PressKey(VK_ESCAPE); });
    empty.ShowMenu();
    EXPECT_EQ(empty.m_menus, 0);
}

TEST_F(MenuButton, PaintsTheFaceTheCurrentItemAndTheArrowInEachState)
{
    m_button.SetSel(0);
    PumpPending();
    EXPECT_EQ(WindowPixel(m_button, 4, 3), CSysColors::sm_crBtnFace); // the parent's default static brush
    EXPECT_EQ(WindowPixel(m_button, 4 + 8, 12), kBlue);               // the current item's icon
    EXPECT_EQ(ArrowEdge(), CSysColors::sm_cr3DDkShadow);              // the separator
    SaveScreenshot(m_button, "MenuButton-normal");

    MoveMouseTo(m_button, CPoint(40, 12));
    ASSERT_TRUE(PumpUntil([&] { return m_button.IsTracking() != FALSE; }));
    EXPECT_EQ(ArrowEdge(), ::GetSysColor(COLOR_3DLIGHT)); // raised
    SaveScreenshot(m_button, "MenuButton-hover");
    MouseAway();
    ASSERT_TRUE(PumpUntil([&] { return m_button.IsTracking() == FALSE; }));
    EXPECT_EQ(ArrowEdge(), CSysColors::sm_cr3DDkShadow);

    m_frame.m_staticBrush.CreateSolidBrush(RGB(255, 240, 200));
    m_button.Invalidate(FALSE);
    PumpPending();
    EXPECT_EQ(WindowPixel(m_button, 4, 3), RGB(255, 240, 200));
    m_button.SetBackColor(RGB(224, 255, 224));
    m_button.SetSel("Limit");
    PumpPending();
    EXPECT_EQ(WindowPixel(m_button, 4, 3), RGB(224, 255, 224));
    SaveScreenshot(m_button, "MenuButton-back-colour");
    m_button.EnableWindow(FALSE);
    SaveScreenshot(m_button, "MenuButton-disabled");
}

TEST_F(MenuButton, ButtonsWithIconsAndTheirMenusLeaveNoHandles)
{
    ExpectNoHandleLeak([&] {
        CCountingMenuButton button;
        button.Create("", WS_VISIBLE | BS_PUSHBUTTON, CRect(10, 60, 130, 84), &m_frame, kButtonId + 1);
        button.AddItem("Market", m_blue);
        button.AddItem("Stop");
        button.SetSel(0);
        button.UpdateWindow();
        // The menu and its icon copies are made, then closed by the key
        // already waiting for the menu's loop.
        button.PostMessage(WM_KEYDOWN, VK_ESCAPE, 1);
        button.ShowMenu();
    });
}
