// Framework pieces under the message box: a native dialog adopted into a
// CDialog, the application's modeless windows disabled around a modal
// window, and thread timers.
#include "UiHarness.h"

#include "framework/WinApp.h"
#include "framework/win/Dialog.h"
#include "framework/win/ThreadTimer.h"

#include <gtest/gtest.h>


using namespace orv::ui;

namespace {

class CAdopted : public CDialog {
public:
    int m_creates = 0;
    int m_inits = 0;
    int m_commands = 0;

protected:
    int OnCreate(CREATESTRUCTA* cs) override
    {
        ++m_creates;
        StopAdopting();
        return CDialog::OnCreate(cs);
    }
    BOOL OnInitDialog() override
    {
        ++m_inits;
        return CDialog::OnInitDialog();
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        ++m_commands;
        return CDialog::OnCommand(wParam, lParam);
    }
};

} // namespace

TEST(DialogAdoption, NativeMessageBoxKeepsItsOwnCommands)
{
    CAdopted dialog;
    HWND seen = nullptr;
    CThreadTimer timer;
    ASSERT_TRUE(timer.Start(30, [&] {
        if (seen != nullptr || dialog.GetSafeHwnd() == nullptr || !dialog.IsWindowVisible())
            return;
        seen = dialog.GetSafeHwnd();
        ClickAt(dialog.GetDlgItem(IDCANCEL), CPoint(5, 5));
    }));
    EXPECT_FALSE(timer.Start(30, [] {}));
    const INT_PTR result = dialog.RunAdopted([] { return static_cast<INT_PTR>(::MessageBoxA(nullptr, "Adopted", "Box", MB_OKCANCEL)); });
    timer.Stop();
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_NE(seen, nullptr);
    EXPECT_EQ(dialog.m_creates, 1);
    EXPECT_EQ(dialog.m_inits, 1);
    EXPECT_GE(dialog.m_commands, 1);
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
    EXPECT_FALSE(dialog.IsAdopted());
}

TEST(DialogAdoption, ModelessWindowsAreDisabledUntilTheLastEnable)
{
    CWinApp app("ModelessTest");
    CWnd tool, disabledBefore;
    ASSERT_TRUE(tool.CreateEx(0, nullptr, "Tool", WS_POPUP, CRect(0, 0, 20, 20), nullptr, 0));
    ASSERT_TRUE(disabledBefore.CreateEx(0, nullptr, "Off", WS_POPUP | WS_DISABLED, CRect(0, 0, 20, 20), nullptr, 0));
    app.AddModeless(&tool);
    app.AddModeless(&disabledBefore);
    // Each call and whether the tool window is enabled after it; an
    // unmatched enable changes nothing. The window that was disabled before
    // stays so throughout.
    const struct { BOOL enable; bool enabled; } steps[] = {
        {FALSE, false}, {FALSE, false}, {TRUE, false}, {TRUE, true}, {TRUE, true}, {FALSE, false}, {TRUE, true},
    };
    for (const auto& step : steps) {
        app.EnableModeless(step.enable);
        EXPECT_EQ(tool.IsWindowEnabled() != FALSE, step.enabled) << &step - steps;
        EXPECT_FALSE(disabledBefore.IsWindowEnabled()) << &step - steps;
    }
}

TEST(DialogAdoption, ThreadTimerTicksUntilStoppedEvenFromItsOwnTick)
{
    CThreadTimer timer;
    int ticks = 0;
    ASSERT_TRUE(timer.Start(20, [&] {
        if (++ticks == 3)
            timer.Stop();
    }));
    EXPECT_NE(timer.GetId(), 0u);
    EXPECT_TRUE(PumpUntil([&] { return !timer.IsRunning(); }, 3000));
    PumpFor(100);
    EXPECT_EQ(ticks, 3);
    // It starts again after a stop.
    EXPECT_TRUE(timer.Start(20, [] {}));
}
