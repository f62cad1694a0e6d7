#include "UiHarness.h"
#include "UiTestResources.h"

#include "controls/win/DlgToolBar.h"
#include "framework/WinApp.h"
#include "framework/win/ThreadTimer.h"
#include "framework/win/Dialog.h"

#include <gtest/gtest.h>


using namespace orv::ui;

namespace {

constexpr UINT ID_NO_HANDLER = 2003;

// The order dialog with an update handler (checks its button) for the
// first command and a command handler for the second.
class CToolDialog : public CDialog {
public:
    CToolDialog() : CDialog(IDD_TEST_DIALOG) {}
    int m_asks = 0;
    int m_runs = 0;

protected:
    BOOL OnInitDialog() override
    {
        SetCommandUpdateHandler(ID_TEST_FIRST, [this](CCmdUI* item) {
            ++m_asks;
            item->SetCheck(1);
        });
        SetCommandHandler(ID_TEST_SECOND, [this] { ++m_runs; });
        return CDialog::OnInitDialog();
    }
};

// A dialog with a dialog toolbar along its bottom left, directly or in a
// rebar whose own handlers would disable the first button.
struct ToolDialog {
    explicit ToolDialog(bool inRebar)
    {
        EXPECT_TRUE(dialog.Create(IDD_TEST_DIALOG));
        const UINT ids[] = {ID_TEST_FIRST, ID_TEST_SECOND, ID_SEPARATOR, ID_NO_HANDLER};
        EXPECT_TRUE(bar.Create(dialog) && bar.LoadBitmap(214) && bar.SetButtons(ids, 4));
        if (inRebar) {
            EXPECT_TRUE(rebar.Create(dialog));
            rebar.SetCommandUpdateHandler(ID_TEST_FIRST, [this](CCmdUI* item) {
                ++rebarAsks;
                item->Enable(FALSE);
            });
            EXPECT_TRUE(rebar.AddBar(&bar));
        }
        // The outer bar, at its own height.
        CControlBar& strip = inRebar ? static_cast<CControlBar&>(rebar) : bar;
        const CRect client = dialog.GetClientRect();
        strip.MoveWindow(CRect(0, client.bottom - strip.CalcFixedLayout(0).cy, 125, client.bottom));
        bar.SendMessage(TB_ENABLEBUTTON, ID_TEST_SECOND, FALSE);
        dialog.ShowWindow(SW_SHOW);
        ::SetForegroundWindow(dialog);
        PumpPending();
    }
    CToolDialog dialog;
    CReBar rebar;
    CDlgToolBar bar;
    int rebarAsks = 0;
};

class DlgToolBar : public ::testing::Test {
protected:
    void SetUp() override { MouseAway(); }
};

} // namespace

TEST_F(DlgToolBar, IdleUpdateTakesButtonStatesFromTheDialogsHandlersAndTheBarsServeNoAccessibility)
{
    // Dialog toolbars serve no accessibility themselves.
    EXPECT_TRUE(CToolBar().m_bEnableActiveAccessibility);
    EXPECT_FALSE(CDlgToolBar().m_bEnableActiveAccessibility);
    EXPECT_FALSE(CNoActiveAccessibilityToolbar().m_bEnableActiveAccessibility);

    struct Case {
        const char* name;
        bool inRebar, hidden;
        WPARAM disable;
        int asks;               // the dialog's update handler
        BOOL secondEnabled;     // command handler only
        BOOL noHandlerEnabled;  // no handler at all
        const char* shot;
    } cases[] = {
        {"in dialog, disabling", false, false, 1, 1, TRUE, FALSE, "DlgToolBar-in-dialog"},
        {"in dialog, leaving alone", false, false, 0, 1, TRUE, TRUE, nullptr},
        {"in rebar, disabling", true, false, 1, 1, TRUE, FALSE, "DlgToolBar-in-rebar"},
        {"in rebar, leaving alone", true, false, 0, 1, TRUE, TRUE, nullptr},
        {"hidden", false, true, 1, 0, FALSE, TRUE, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ToolDialog window(c.inRebar);
        if (c.hidden)
            window.bar.ShowWindow(SW_HIDE);
        EXPECT_EQ(window.bar.SendMessage(WM_IDLEUPDATECMDUI, c.disable), 0);
        EXPECT_EQ(window.dialog.m_asks, c.asks);
        EXPECT_EQ(window.rebarAsks, 0);
        EXPECT_EQ(window.bar.IsButtonChecked(ID_TEST_FIRST), c.asks > 0 ? TRUE : FALSE);
        EXPECT_TRUE(window.bar.IsButtonEnabled(ID_TEST_FIRST));
        EXPECT_EQ(window.bar.IsButtonEnabled(ID_TEST_SECOND), c.secondEnabled);
        EXPECT_EQ(window.bar.IsButtonEnabled(ID_NO_HANDLER), c.noHandlerEnabled);
        if (c.shot != nullptr)
            SaveScreenshot(window.dialog, c.shot);
        if (c.secondEnabled) {
            // A click on the button runs the dialog's command handler.
            CRect button;
            window.bar.SendMessage(TB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&button));
            ClickAt(window.bar, button.CenterPoint());
            EXPECT_TRUE(PumpUntil([&] { return window.dialog.m_runs == 1; }, 1000));
        }
        window.dialog.DestroyWindow();
    }
}

TEST_F(DlgToolBar, ApplicationLoopUpdatesAModelessDialogsToolbarWhenIdle)
{
    CWinApp app("DialogIdle");
    ToolDialog window(true);
    ASSERT_EQ(app.GetModelessCount(), 1);
    // The first idle pass asks the dialog, which ends the loop.
    window.dialog.SetCommandUpdateHandler(ID_TEST_FIRST, [&](CCmdUI* item) {
        ++window.dialog.m_asks;
        item->SetCheck(1);
        ::PostQuitMessage(0);
    });
    CThreadTimer guard;
    guard.Start(5000, [] { ::PostQuitMessage(1); });
    EXPECT_EQ(app.Run(), 0);
    guard.Stop();
    EXPECT_TRUE(window.bar.IsButtonChecked(ID_TEST_FIRST));
    EXPECT_TRUE(window.bar.IsButtonEnabled(ID_TEST_SECOND));
    EXPECT_FALSE(window.bar.IsButtonEnabled(ID_NO_HANDLER));
    window.dialog.DestroyWindow();
}

