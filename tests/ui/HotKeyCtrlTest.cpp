#include "HoverTestWindows.h"

#include "controls/win/HotKeyCtrl.h"
#include "controls/win/SysColors.h"

#include <gtest/gtest.h>

using namespace orv::ui;

namespace {

// Takes the visual-style look whatever the test says.
class CThemedHotKeyCtrl : public CNimHotKeyCtrl {
public:
    BOOL UpdateTheme() override { return m_hover.SetThemed(true), TRUE; }
};

class HotKeyCtrl : public FrameTest<> {
protected:
    HotKeyCtrl() : FrameTest("Hot key") {}
    void MakeControls() override
    {
        // The system's own control shows the sunken border it draws.
        m_plain = ::CreateWindowExA(0, HOTKEY_CLASSA, "", WS_CHILD | WS_VISIBLE, 20, 60, 140, 22, m_frame, nullptr,
                                    nullptr, nullptr);
        Create(m_hotKey);
        ASSERT_NE(Sunken(), CSysColors::sm_crBtnFace);
    }

    void Create(CNimHotKeyCtrl& hotKey)
    {
        ASSERT_TRUE(hotKey.Create(WS_CHILD | WS_VISIBLE, CRect(20, 20, 160, 42), &m_frame, 501));
        ::SetFocus(m_frame);
        m_ctrl = &hotKey;
    }
    // The inner ring of the border, at the left, of the control and of the
    // system's own.
    COLORREF Ring() { return PumpPending(), WindowPixel(*m_ctrl, 1, 8); }
    COLORREF Sunken() { return PumpPending(), WindowPixel(m_plain, 1, 8); }
    void MouseOver(bool over, DWORD timeoutMs = 1000)
    {
        over ? MoveMouseTo(*m_ctrl, CPoint(30, 8)) : MouseAway();
        PumpUntil([&] { return (m_ctrl->IsTracking() != FALSE) == over; }, timeoutMs);
    }

    CNimHotKeyCtrl m_hotKey;
    CNimHotKeyCtrl* m_ctrl = nullptr;
    HWND m_plain = nullptr;
};

} // namespace

// Flat until the mouse comes over; focused, sunken while the mouse comes and goes.
TEST_F(HotKeyCtrl, ClassicBorderIsFlatUntilTheMouseComesOverOrTheFocusAndTheThemedOneIsTheSystems)
{
    ASSERT_FALSE(m_hotKey.IsThemed()); // the test program asks for no visual styles
    EXPECT_EQ(Ring(), CSysColors::sm_crBtnFace);
    EXPECT_EQ(WindowPixel(m_hotKey, 0, 8), WindowPixel(m_plain, 0, 8)); // the outer ring stays
    SaveScreenshot(m_hotKey, "HotKeyCtrl-normal");
    for (const bool focused : {false, true}) {
        if (focused)
            m_hotKey.SetFocus();
        for (const bool over : {true, false}) {
            MouseOver(over);
            EXPECT_EQ(m_hotKey.IsTracking() != FALSE, over) << focused;
            EXPECT_EQ(Ring(), over || focused ? Sunken() : CSysColors::sm_crBtnFace) << focused << over;
            if (over && !focused)
                SaveScreenshot(m_hotKey, "HotKeyCtrl-hover");
        }
    }
    SaveScreenshot(m_hotKey, "HotKeyCtrl-focused");
    ::SetFocus(m_frame);
    EXPECT_EQ(Ring(), CSysColors::sm_crBtnFace);

    // Visual styles leave the system's border and track no hover.
    m_hotKey.DestroyWindow();
    CThemedHotKeyCtrl themed;
    Create(themed);
    ASSERT_TRUE(themed.IsThemed());
    EXPECT_EQ(Ring(), Sunken());
    MouseOver(true, 200);
    EXPECT_FALSE(themed.IsTracking());
    SaveScreenshot(themed, "HotKeyCtrl-themed");
}

TEST_F(HotKeyCtrl, TypedCombinationBecomesTheHotKey)
{
    ClickAt(m_hotKey, CPoint(30, 8));
    ASSERT_TRUE(PumpUntil([&] { return ::GetFocus() == m_hotKey.GetSafeHwnd(); }));
    PressKey('K', {VK_CONTROL, VK_SHIFT});
    ASSERT_TRUE(PumpUntil([&] { return m_hotKey.GetHotKey() != 0; }));
    WORD key = 0, modifiers = 0;
    m_hotKey.GetHotKey(key, modifiers);
    EXPECT_EQ(key, 'K');
    EXPECT_EQ(modifiers, HOTKEYF_CONTROL | HOTKEYF_SHIFT);
    MouseAway();
    SaveScreenshot(m_hotKey, "HotKeyCtrl-hot-key-set");

    // A key alone is refused by the rule and given Alt instead.
    m_hotKey.SetRules(HKCOMB_NONE, HOTKEYF_ALT);
    PressKey(VK_F7);
    ASSERT_TRUE(PumpUntil([&] { return LOBYTE(m_hotKey.GetHotKey()) == VK_F7; }));
    EXPECT_EQ(m_hotKey.GetHotKey(), static_cast<DWORD>(MAKEWORD(VK_F7, HOTKEYF_ALT)));
    m_hotKey.SetHotKey(VK_F2, HOTKEYF_CONTROL);
    EXPECT_EQ(m_hotKey.GetHotKey(), static_cast<DWORD>(MAKEWORD(VK_F2, HOTKEYF_CONTROL)));
}
