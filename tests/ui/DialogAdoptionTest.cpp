// Framework pieces under the message box: a native dialog adopted into a
// CDialog, the application's modeless windows disabled around a modal
// window, and thread timers.
#include "UiHarness.h"

#include "framework/WinApp.h"
#include "framework/win/Dialog.h"
#include "framework/win/ThreadTimer.h"

#include <gtest/gtest.h>

#include <cstdio>

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
