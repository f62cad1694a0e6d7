#include "HoverTestWindows.h"

#include "controls/win/MenuButton.h"
#include "controls/win/SysColors.h"
#include "framework/win/Gdi.h"
#include "framework/win/ImageList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

using namespace orv::ui;

namespace {

const UINT kButtonId = 401;
const COLORREF kMarketBlue = RGB(0, 96, 224);

// A 16 x 16 icon of one colour.
HICON MakeIcon(COLORREF color)
{
    CClientDC screen(nullptr);
    CBitmap image;
    CBitmap mask;
    image.CreateCompatibleBitmap(screen, 16, 16);
    mask.CreateBitmap(16, 16, 1, 1, nullptr);
    CDC dc;
    dc.CreateCompatibleDC(screen);
    {
        const CSelectScope selection(dc, image);
        dc.FillSolidRect(CRect(0, 0, 16, 16), color);
    }
    {
        const CSelectScope selection(dc, mask);
        dc.FillSolidRect(CRect(0, 0, 16, 16), RGB(0, 0, 0)); // opaque everywhere
    }
    ICONINFO info {TRUE, 0, 0, mask, image};
    return ::CreateIconIndirect(&info);
}

// Works the popup menus that menu loops show: a thread timer, dispatched by
// the loop, finds the menu window. The action runs on the first menu; any
// later one is closed with Escape, so that a menu opened by mistake fails
// the test instead of waiting for input.
class CMenuDriver {
public:
    using Action = std::function<void(HWND menuWnd, HMENU menu)>;
    explicit CMenuDriver(Action action) : m_action(std::move(action))
    {
        sm_current = this;
        m_timer = ::SetTimer(nullptr, 0, 15, &CMenuDriver::Tick);
    }
    ~CMenuDriver()
    {
        ::KillTimer(nullptr, m_timer);
        sm_current = nullptr;
    }
    bool Ran() const { return m_menus > 0; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        CMenuDriver* driver = sm_current;
        HWND menuWnd = ::FindWindowA("#32768", nullptr);
        if (driver == nullptr || menuWnd == nullptr || !::IsWindowVisible(menuWnd))
            return;
        // Each menu the button shows is a new one.
        const auto menu = reinterpret_cast<HMENU>(::SendMessageA(menuWnd, MN_GETHMENU, 0, 0));
        if (menu == driver->m_worked)
            return;
        driver->m_worked = menu;
        if (driver->m_menus++ > 0)
            PressKey(VK_ESCAPE);
        else
            driver->m_action(menuWnd, menu);
    }

    static inline CMenuDriver* sm_current = nullptr;
    Action m_action;
    UINT_PTR m_timer = 0;
    int m_menus = 0;
    HMENU m_worked = nullptr;
};

// A menu button that counts how often its menu was shown.
class CCountingMenuButton : public CNimMenuButton {
public:
    using CNimMenuButton::ShowMenu;
    int m_menusShown = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_ENTERMENULOOP)
            ++m_menusShown;
        return CNimMenuButton::WindowProc(message, wParam, lParam);
    }
};

// A parent that records each choice and can paint its statics with a brush
// of its own.
class CChoiceFrame : public CNoticeFrame {
public:
    std::vector<std::pair<int, CString>> m_choices;
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
        if (type == CTLCOLOR_STATIC && !m_staticBrush.IsNull())
            return m_staticBrush;
        return CNoticeFrame::OnCtlColor(dc, wnd, type);
    }
};

class MenuButton : public ::testing::Test {
protected:
    void SetUp() override
    {
        MouseAway();
        CSysColors::Update();
        m_market.Attach(MakeIcon(kMarketBlue));
        m_limit.Attach(MakeIcon(RGB(0, 160, 0)));
        ASSERT_TRUE(m_frame.Create("Menu button"));
        ASSERT_TRUE(m_button.Create("", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, CRect(20, 20, 140, 44), &m_frame,
                                    kButtonId));
        EXPECT_EQ(m_button.AddItem("Market", m_market), 0);
        EXPECT_EQ(m_button.AddItem("Limit", m_limit), 1);
        EXPECT_EQ(m_button.AddItem("Stop"), 2);
        PumpPending();
    }
    void TearDown() override { MouseAway(); }

    // Clicks the button and lets the driver work the menu it opens.
    void ClickWithMenu(const CMenuDriver::Action& action)
    {
        CMenuDriver driver(action);
        ClickAt(m_button, CPoint(40, 12));
        ASSERT_TRUE(PumpUntil([&] { return driver.Ran() && !m_button.IsMenuOpen(); }));
        PumpUntil([] { return false; }, 300); // a menu opened again would show now
    }
    // Left column of the arrow area.
    int ArrowLeft() const { return m_button.GetClientRect().right - 1 - m_button.GetArrowWidth(); }

    CIcon m_market;
    CIcon m_limit;
    CChoiceFrame m_frame;
    CCountingMenuButton m_button;
};

} // namespace

TEST_F(MenuButton, SetSelRefusesIndexesOutOfRangeAndReportsEveryItemMadeCurrent)
{
    // The larger of the scroll arrow's width and five edge widths, plus 1.
    EXPECT_EQ(m_button.GetArrowWidth(), std::max(::GetSystemMetrics(10), 5 * ::GetSystemMetrics(45)) + 1);
    EXPECT_EQ(m_button.GetArrowWidth(), 18); // Wine's 17-pixel scroll arrows
    EXPECT_EQ(m_button.GetCurSel(), -1);
    EXPECT_EQ(m_button.GetBackColor(), 1u);
    EXPECT_TRUE(m_button.GetIgnoreDoubleClicks()); // fast clicks each open the menu
    EXPECT_EQ(m_button.AddItem("Broken", reinterpret_cast<HICON>(0x4321)), -1);
    EXPECT_EQ(m_button.GetItemCount(), 3);

    struct Case {
        std::function<BOOL()> call;
        BOOL result;
        int current;
        std::vector<std::pair<int, CString>> reported;
    };
    const Case cases[] = {
        {[&] { return m_button.SetSel(5); }, FALSE, -1, {}},
        {[&] { return m_button.SetSel(3); }, FALSE, -1, {}},
        {[&] { return m_button.SetSel(-2); }, FALSE, -1, {}},
        {[&] { return m_button.SetSel(1); }, TRUE, 1, {{1, "Limit"}}},
        {[&] { return m_button.SetSel(5); }, FALSE, 1, {}},
        {[&] { return m_button.SetSel(1); }, TRUE, 1, {{1, "Limit"}}},
        {[&] { return m_button.SetSel(-1); }, TRUE, -1, {}},
        {[&] { return m_button.SetSel("Stop"); }, TRUE, 2, {{2, "Stop"}}},
        {[&] { return m_button.SetSel("stop"); }, FALSE, 2, {}},
        {[&] { return m_button.SetSel(""); }, FALSE, 2, {}},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        m_frame.m_choices.clear();
        EXPECT_EQ(cases[i].call(), cases[i].result) << "case " << i;
        EXPECT_EQ(m_button.GetCurSel(), cases[i].current) << "case " << i;
        EXPECT_EQ(m_frame.m_choices, cases[i].reported) << "case " << i;
    }
}

TEST_F(MenuButton, ClickShowsTheItemsWithTheCurrentInBoldAndTheChoiceBecomesCurrent)
{
    m_button.SetSel(0);
    m_frame.m_choices.clear();
    const int chosen = 2;
    for (int round = 0; round < 2; ++round) { // the current item chosen again is reported again
        std::vector<CString> texts;
        int bold = -2;
        int withIcon = 0;
        ClickWithMenu([&](HWND menuWnd, HMENU menu) {
            EXPECT_TRUE(m_button.IsMenuOpen());
            for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
                char text[32] = "";
                MENUITEMINFOA info {};
                info.cbSize = sizeof info;
                info.fMask = MIIM_ID | MIIM_STRING | MIIM_BITMAP | MIIM_DATA;
                info.dwTypeData = text;
                info.cch = sizeof text;
                ::GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
                texts.push_back(text);
                EXPECT_EQ(info.wID, 30000u + i);
                if (info.hbmpItem == HBMMENU_CALLBACK && info.dwItemData != 0)
                    ++withIcon;
            }
            bold = static_cast<int>(::GetMenuDefaultItem(menu, TRUE, 0));
            if (round == 0) {
                SaveScreenshot(menuWnd, "MenuButton-menu-open");
                SaveScreenshot(m_button, "MenuButton-pressed-while-open");
                EXPECT_EQ(WindowPixel(m_button, ArrowLeft(), 12), CSysColors::sm_cr3DShadow); // sunken
            }
            RECT item {};
            ::GetMenuItemRect(nullptr, menu, static_cast<UINT>(chosen), &item);
            ClickAt(nullptr, CPoint((item.left + item.right) / 2, (item.top + item.bottom) / 2));
        });
        EXPECT_EQ(texts, (std::vector<CString> {"Market", "Limit", "Stop"}));
        EXPECT_EQ(withIcon, 2);
        EXPECT_EQ(bold, round == 0 ? 0 : chosen);
        EXPECT_EQ(m_button.GetCurSel(), chosen);
        EXPECT_EQ(m_frame.m_choices, (std::vector<std::pair<int, CString>> {{chosen, "Stop"}}));
        m_frame.m_choices.clear();
    }
    EXPECT_EQ(m_button.m_menusShown, 2);
}

TEST_F(MenuButton, ClickOnTheButtonWhileItsMenuIsOpenClosesItWithoutReopening)
{
    ClickWithMenu([&](HWND, HMENU) { ClickAt(m_button, CPoint(60, 12)); });
    EXPECT_EQ(m_button.m_menusShown, 1);
    EXPECT_FALSE(m_button.IsMenuOpen());
    EXPECT_TRUE(m_frame.m_choices.empty());

    // The click that closed the menu was used up; the next one opens it.
    ClickWithMenu([&](HWND, HMENU) { PressKey(VK_ESCAPE); });
    EXPECT_EQ(m_button.m_menusShown, 2);
    EXPECT_TRUE(m_frame.m_choices.empty());
}

TEST_F(MenuButton, PaintsTheFaceTheCurrentItemAndTheArrowInEachState)
{
    m_button.SetSel(0);
    PumpPending();
    const int arrowLeft = ArrowLeft();
    EXPECT_EQ(WindowPixel(m_button, 4, 3), CSysColors::sm_crBtnFace); // the parent's default static brush
    EXPECT_EQ(WindowPixel(m_button, 4 + 8, 12), kMarketBlue);        // the current item's icon
    EXPECT_EQ(WindowPixel(m_button, arrowLeft, 12), CSysColors::sm_cr3DDkShadow); // separator
    EXPECT_EQ(WindowPixel(m_button, arrowLeft + 8, 1), CSysColors::sm_cr3DDkShadow);
    SaveScreenshot(m_button, "MenuButton-normal");

    MoveMouseTo(m_button, CPoint(40, 12));
    ASSERT_TRUE(PumpUntil([&] { return m_button.IsTracking() != FALSE; }));
    PumpPending();
    EXPECT_EQ(WindowPixel(m_button, arrowLeft, 12), ::GetSysColor(COLOR_3DLIGHT)); // raised
    EXPECT_EQ(WindowPixel(m_button, arrowLeft + 3, 4), CSysColors::sm_crBtnFace);
    SaveScreenshot(m_button, "MenuButton-hover");
    MouseAway();
    ASSERT_TRUE(PumpUntil([&] { return m_button.IsTracking() == FALSE; }));
    PumpPending();
    EXPECT_EQ(WindowPixel(m_button, arrowLeft, 12), CSysColors::sm_cr3DDkShadow);

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

TEST(MenuButtonLeaks, ButtonsWithIconsAndTheirMenusLeaveNoHandles)
{
    CChoiceFrame frame;
    ASSERT_TRUE(frame.Create("Leaks"));
    CIcon icon(MakeIcon(kMarketBlue));
    ExpectNoHandleLeak([&] {
        CCountingMenuButton button;
        button.Create("", WS_VISIBLE | BS_PUSHBUTTON, CRect(10, 10, 130, 34), &frame, kButtonId);
        button.AddItem("Market", icon);
        button.AddItem("Limit", icon);
        button.AddItem("Stop");
        button.SetSel(0);
        button.UpdateWindow();
        // The menu, with its icon copies, is built and closed by the key
        // already waiting for it.
        button.PostMessage(WM_KEYDOWN, VK_ESCAPE, 1);
        button.ShowMenu();
    });
}
