#include "HoverTestWindows.h"

#include "controls/win/HotKeyCtrl.h"
#include "controls/win/SysColors.h"

#include <gtest/gtest.h>

using namespace orv::ui;

namespace {

const UINT kHotKeyId = 501;

// A hot-key control that takes the visual-style look whatever the test says.
class CThemedHotKeyCtrl : public CNimHotKeyCtrl {
public:
    BOOL UpdateTheme() override
    {
        m_hover.SetThemed(true);
        return TRUE;
    }
};

// Presses the modifiers, then the key, and lets all go, through SendInput.
void PressChord(std::initializer_list<WORD> modifiers, WORD key)
{
    std::vector<INPUT> inputs;
    auto add = [&](WORD vk, DWORD flags) {
        INPUT input {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.wScan = static_cast<WORD>(::MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
        input.ki.dwFlags = flags;
        inputs.push_back(input);
    };
    for (WORD vk : modifiers)
        add(vk, 0);
    add(key, 0);
    add(key, KEYEVENTF_KEYUP);
    for (WORD vk : modifiers)
        add(vk, KEYEVENTF_KEYUP);
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

template <class TControl>
class HotKeyFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        MouseAway();
        CSysColors::Update();
        ASSERT_TRUE(m_frame.Create("Hot key"));
        ASSERT_TRUE(m_hotKey.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP, CRect(20, 20, 160, 42), &m_frame, kHotKeyId));
        // The system's own control, for the sunken border it draws.
        m_plain = ::CreateWindowExA(0, HOTKEY_CLASSA, "", WS_CHILD | WS_VISIBLE, 20, 60, 140, 22, m_frame, nullptr,
                                    nullptr, nullptr);
        ::SetFocus(m_frame);
        PumpPending();
        ASSERT_NE(SunkenRing(), CSysColors::sm_crBtnFace);
    }
    void TearDown() override { MouseAway(); }

    // The inner ring of the border, on its left side.
    COLORREF Ring() { return PumpPending(), WindowPixel(m_hotKey, 1, 8); }
    COLORREF SunkenRing() { return PumpPending(), WindowPixel(m_plain, 1, 8); }
    // Moves the mouse onto the control or away, and waits until the
    // control tracks it (or the time is up).
    void MouseOver(bool over, DWORD timeoutMs = 1000)
    {
        if (over)
            MoveMouseTo(m_hotKey, CPoint(30, 8));
        else
            MouseAway();
        PumpUntil([&] { return (m_hotKey.IsTracking() != FALSE) == over; }, timeoutMs);
    }

    CNoticeFrame m_frame;
    TControl m_hotKey;
    HWND m_plain = nullptr;
};

using HotKeyCtrl = HotKeyFixture<CNimHotKeyCtrl>;
using ThemedHotKeyCtrl = HotKeyFixture<CThemedHotKeyCtrl>;

} // namespace

TEST_F(HotKeyCtrl, ClassicBorderIsFlatUntilTheMouseComesOver)
{
    ASSERT_FALSE(m_hotKey.IsThemed()); // the test program asks for no visual styles
    EXPECT_EQ(Ring(), CSysColors::sm_crBtnFace);
    EXPECT_EQ(WindowPixel(m_hotKey, 0, 8), WindowPixel(m_plain, 0, 8)); // the outer ring stays
    SaveScreenshot(m_hotKey, "HotKeyCtrl-normal");

    MouseOver(true);
    EXPECT_TRUE(m_hotKey.IsTracking());
    EXPECT_EQ(Ring(), SunkenRing());
    SaveScreenshot(m_hotKey, "HotKeyCtrl-hover");

    MouseOver(false);
    EXPECT_FALSE(m_hotKey.IsTracking());
    EXPECT_EQ(Ring(), CSysColors::sm_crBtnFace);
}

TEST_F(HotKeyCtrl, FocusedControlKeepsTheSunkenBorderWhileTheMouseComesAndGoes)
{
    m_hotKey.SetFocus();
    EXPECT_EQ(Ring(), SunkenRing());
    SaveScreenshot(m_hotKey, "HotKeyCtrl-focused");
    MouseOver(true);
    EXPECT_TRUE(m_hotKey.IsTracking());
    EXPECT_EQ(Ring(), SunkenRing());
    MouseOver(false);
    EXPECT_FALSE(m_hotKey.IsTracking());
    EXPECT_EQ(Ring(), SunkenRing());
    ::SetFocus(m_frame);
    EXPECT_EQ(Ring(), CSysColors::sm_crBtnFace);
}

TEST_F(HotKeyCtrl, TypedCombinationBecomesTheHotKey)
{
    ClickAt(m_hotKey, CPoint(30, 8));
    ASSERT_TRUE(PumpUntil([&] { return ::GetFocus() == m_hotKey.GetSafeHwnd(); }));
    PressChord({VK_CONTROL, VK_SHIFT}, 'K');
    ASSERT_TRUE(PumpUntil([&] { return LOBYTE(m_hotKey.GetHotKey()) == 'K'; }));
    WORD key = 0;
    WORD modifiers = 0;
    m_hotKey.GetHotKey(key, modifiers);
    EXPECT_EQ(key, 'K');
    EXPECT_EQ(modifiers, HOTKEYF_CONTROL | HOTKEYF_SHIFT);
    MouseAway();
    SaveScreenshot(m_hotKey, "HotKeyCtrl-hot-key-set");

    // A key alone is refused by the rule and given Alt instead.
    m_hotKey.SetRules(HKCOMB_NONE, HOTKEYF_ALT);
    PressKey(VK_F7);
    ASSERT_TRUE(PumpUntil([&] { return LOBYTE(m_hotKey.GetHotKey()) == VK_F7; }));
    EXPECT_EQ(HIBYTE(LOWORD(m_hotKey.GetHotKey())), HOTKEYF_ALT);
    m_hotKey.SetHotKey(VK_F2, HOTKEYF_CONTROL);
    EXPECT_EQ(m_hotKey.GetHotKey(), static_cast<DWORD>(MAKEWORD(VK_F2, HOTKEYF_CONTROL)));
}

TEST_F(ThemedHotKeyCtrl, VisualStylesLeaveTheSystemBorderAndTrackNoHover)
{
    ASSERT_TRUE(m_hotKey.IsThemed());
    EXPECT_EQ(Ring(), SunkenRing());
    MouseOver(true, 200);
    EXPECT_FALSE(m_hotKey.IsTracking());
    SaveScreenshot(m_hotKey, "HotKeyCtrl-themed");
}

TEST(HotKeyCtrlLeaks, ControlsCreatedFocusedAndDestroyedLeaveNoHandles)
{
    CNoticeFrame frame;
    ASSERT_TRUE(frame.Create("Leaks"));
    ExpectNoHandleLeak([&] {
        CNimHotKeyCtrl hotKey;
        hotKey.Create(WS_CHILD | WS_VISIBLE, CRect(10, 10, 150, 32), &frame, kHotKeyId);
        hotKey.SetHotKey('P', HOTKEYF_CONTROL);
        hotKey.SetFocus();
        hotKey.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        ::SetFocus(frame);
        hotKey.UpdateWindow();
    });
}
