// The message box driven through its native modal loop: a thread timer
// finds the box once it is up and acts on it with real input.
#include "UiHarness.h"
#include "UiTestResources.h"

#include "controls/win/HookedMsgBox.h"
#include "controls/win/HookedMsgBoxIdle.h"
#include "controls/win/MarketStatics.h"
#include "controls/win/WindowWrappers.h"
#include "framework/WinApp.h"
#include "framework/win/DC.h"
#include "framework/win/RegisteredMessages.h"
#include "framework/win/ThreadTimer.h"
#include "services/Registry.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <atomic>
#include <thread>

using namespace orv::ui;

namespace {

const char* const kAppName = "OrvMsgBoxTest";

// The visible dialog of this thread; an adopted one has an object.
HWND FindBox(bool adopted = true)
{
    return FindThreadWindow("#32770",
                            [adopted](HWND wnd) { return (CWnd::FromHandlePermanent(wnd) != nullptr) == adopted; });
}

void ClickCentre(HWND wnd)
{
    ClickAt(wnd, CClientRect(wnd).CenterPoint());
}

// Shows boxes for an application with a main window and runs a step on
// each box from inside its modal loop once it is visible.
class HookedMsgBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        MouseAway();
        ASSERT_TRUE(m_frame.CreateEx(0, nullptr, "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, TestFrameRect(), nullptr, 0));
        m_app.SetMainWnd(&m_frame);
    }
    void TearDown() override { m_app.SetMainWnd(nullptr); }

    // The box of `app` (the test's application when null).
    int Show(const CString& text, UINT type, const std::function<void(HWND)>& step, int doNotAgainId = 0,
             CWnd* child = nullptr, CWinApp* app = nullptr)
    {
        app = app != nullptr ? app : &m_app;
        const bool adopted = app->m_pszAppName != nullptr;
        WhenShown driver([adopted] { return FindBox(adopted); }, step ? step : [](HWND) {});
        const int result = CHookedMsgBox::DoMessageBox(app, text, type, m_helpId, doNotAgainId, nullptr, child);
        EXPECT_TRUE(driver.Done() || step == nullptr) << "the box never came up";
        return result;
    }

    CWinApp m_app {kAppName};
    CWnd m_frame;
    UINT m_helpId = 0;
};

// Only ids up to 105 close the box: a click on 106 leaves it open.
TEST_F(HookedMsgBoxTest, ExtraButtonClickGivesItsIdAndTheMarkupIsApplied)
{
    const CString text = CHookedMsgBox::CreateExtraButtonTag(101, "Later")
        + CHookedMsgBox::CreateExtraButtonTag(106, "Seventh")
        + "<Colors BorderClr=\"255\" OrdBkgndClr=\"14745599\"/>Order <b>rejected</b>: price outside the band.\nTry again?";
    bool stayed = false;
    const int result = Show(text, MB_YESNO, [&](HWND box) {
        EXPECT_STREQ(CWindowText(box), kAppName);
        HWND later = ::FindWindowExA(box, nullptr, "Button", "Later");
        HWND seventh = ::FindWindowExA(box, nullptr, "Button", "Seventh");
        ASSERT_TRUE(later != nullptr && seventh != nullptr);
        // Each extra button stands left of the one before, all inside the box.
        const CClientRect client(box);
        EXPECT_LT(CWindowRect(later, box).right, CWindowRect(::GetDlgItem(box, IDYES), box).left);
        EXPECT_LT(CWindowRect(seventh, box).right, CWindowRect(later, box).left);
        EXPECT_GE(CWindowRect(seventh, box).left, 0);
        EXPECT_LE(CWindowRect(::GetDlgItem(box, IDNO), box).right, client.right);
        // The order background fills the box inside the red border.
        CClientDC dc(box);
        EXPECT_EQ(dc.GetPixel(4, client.bottom / 2), 0x0000FFu);
        EXPECT_EQ(dc.GetPixel(20, client.bottom - 2), 14745599u);
        SaveScreenshot(box, "HookedMsgBox_ExtraButtons");
        ClickCentre(seventh);
        PumpFor(200);
        stayed = ::IsWindowVisible(box) != FALSE;
        ClickCentre(later);
    });
    EXPECT_TRUE(stayed);
    EXPECT_EQ(result, 101);
    EXPECT_TRUE(m_frame.IsWindowEnabled());
}

TEST_F(HookedMsgBoxTest, ListBlockShowsTenRowsOverTenPlaceholderLines)
{
    CString text = "Orders to cancel:\n<lb>";
    for (int i = 1; i <= 25; ++i) {
        CString line;
        line.Format("ORD-%04d  BUY 100 IBM @ %d.50%s\n", i, 100 + i, i == 25 ? "</lb>" : "");
        text += line;
    }
    text += "Cancel them all?";
    const int result = Show(text, MB_OKCANCEL, [](HWND box) {
        HWND list = ::FindWindowExA(box, nullptr, "ListBox", nullptr);
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(::SendMessageA(list, LB_GETCOUNT, 0, 0), 25);
        EXPECT_EQ(CClientRect(list).Height() / ::SendMessageA(list, LB_GETITEMHEIGHT, 0, 0), 10);
        EXPECT_NE(::GetWindowLongA(list, GWL_STYLE) & WS_VSCROLL, 0);
        // The text keeps 10 empty lines where the list stands.
        HWND ok = ::GetDlgItem(box, IDOK);
        EXPECT_GT(CWindowRect(ok, box).top, CWindowRect(list, box).bottom);
        SaveScreenshot(box, "HookedMsgBox_ListBlock");
        ClickCentre(ok);
    });
    EXPECT_EQ(result, IDOK);
}

TEST_F(HookedMsgBoxTest, RememberedAnswerSuppressesTheBoxUntilItIsCleared)
{
    const int id = 91001;
    CHookedMsgBox::SetDoNotAgainMessageStatus(id, TRUE);
    EXPECT_EQ(Show("The market is closed.", MB_OK, [](HWND box) {
        HWND check = ::GetDlgItem(box, 555);
        ASSERT_NE(check, nullptr);
        EXPECT_NE(::GetDlgItem(box, 444), nullptr);
        SaveScreenshot(box, "HookedMsgBox_DoNotAgain");
        ClickCentre(check);
        EXPECT_TRUE(PumpUntil([&] { return ::SendMessageA(check, BM_GETCHECK, 0, 0) == BST_CHECKED; }));
        ClickCentre(::GetDlgItem(box, IDOK));
    }, id), IDOK);
    EXPECT_TRUE(CHookedMsgBox::IsIgnoredDoNotAgainMessage(id));
    // Saved at once.
    CDoNotAgainMap stored;
    ASSERT_TRUE(stored.LoadFromRegistry());
    int status = 0;
    EXPECT_TRUE(stored.Lookup(id, status) && status == 1);

    EXPECT_EQ(Show("The market is closed.", MB_OK, nullptr, id), CHookedMsgBox::SuppressedByAnswer);
    EXPECT_TRUE(m_frame.IsWindowEnabled());
    CHookedMsgBox::SetDoNotAgainMessageStatus(id, TRUE);
    EXPECT_EQ(Show("The market is closed.", MB_OK, [](HWND) { PressKey(VK_RETURN); }, id), IDOK);
    // No id: no check box, and the map is not asked.
    EXPECT_EQ(Show("Plain", MB_OK, [](HWND box) {
        EXPECT_EQ(::GetDlgItem(box, 555), nullptr);
        PressKey(VK_RETURN);
    }, 0), IDOK);
}

TEST_F(HookedMsgBoxTest, SecondBoxOnTheThreadIsRefusedAndTheHelpContextRestored)
{
    int second = 0;
    m_helpId = 5;
    m_app.m_dwPromptContext = 7;
    EXPECT_EQ(Show("First", MB_OK, [&](HWND) {
        EXPECT_EQ(m_app.m_dwPromptContext, 0x30005u);
        second = CHookedMsgBox::DoMessageBox(&m_app, "Second", MB_OK, 0, 0, nullptr, nullptr);
        // The refusal shows a balloon at the cursor; the key press closes it.
        HWND balloon = ::FindWindowA("BalloonHelpClassDS", nullptr);
        EXPECT_TRUE(balloon != nullptr && ::IsWindowVisible(balloon));
        PressKey(VK_RETURN);
    }), IDOK);
    EXPECT_EQ(second, CHookedMsgBox::RefusedSecondBox);
    EXPECT_EQ(m_app.m_dwPromptContext, 7u);
}

TEST_F(HookedMsgBoxTest, IconIsAddedOnlyToPlainButtonSetsEscapeOnYesNoAnswersNoAndANamelessAppGetsTheNativeBox)
{
    const struct {
        UINT type;
        bool icon;
    } cases[] = {{MB_OK, true}, {MB_YESNO, true}, {MB_RETRYCANCEL, false}, {MB_ABORTRETRYIGNORE, false},
                 {MB_RETRYCANCEL | MB_ICONINFORMATION, true}};
    for (const auto& c : cases) {
        bool icon = !c.icon;
        Show("Icon?", c.type, [&](HWND box) {
            icon = false;
            for (HWND child = ::GetWindow(box, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT))
                icon = icon
                    || ((::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && ::IsWindowVisible(child)
                        && ::SendMessageA(child, STM_GETICON, 0, 0) != 0);
            for (int id : {IDCANCEL, IDOK, IDABORT})
                ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
        });
        EXPECT_EQ(icon, c.icon) << c.type;
    }

    // Escape on Yes and No answers No, and Enter the default.
    EXPECT_EQ(Show("Close the position?", MB_YESNO, [](HWND) { PressKey(VK_ESCAPE); }), IDNO);
    EXPECT_EQ(Show("Close the position?", MB_YESNOCANCEL, [](HWND) { PressKey(VK_ESCAPE); }), IDCANCEL);
    EXPECT_EQ(Show("Close the position?", MB_YESNO, [](HWND) { PressKey(VK_RETURN); }), IDYES);

    // An application without a name gets the plain native box.
    CWinApp nameless;
    EXPECT_EQ(Show(CHookedMsgBox::CreateExtraButtonTag(101, "Extra") + "Plain", MB_OK, [](HWND box) {
        EXPECT_EQ(::FindWindowExA(box, nullptr, "Button", "Extra"), nullptr);
        PressKey(VK_RETURN);
    }, 0, nullptr, &nameless), IDOK);
}

TEST_F(HookedMsgBoxTest, ChildDialogIsEmbeddedUnderTheText)
{
    CDialog child(IDD_TEST_DIALOG);
    ASSERT_TRUE(child.Create(IDD_TEST_DIALOG, nullptr));
    const CRect size = child.GetWindowRect();
    HWND check = child.GetDlgItem(IDC_TEST_CHECK);
    // A control that colours itself keeps its colours in the box.
    CColorStatic label;
    ASSERT_TRUE(label.SubclassDlgItem(IDC_TEST_LABEL, &child));
    label.SetTextColor(RGB(0, 0, 255));
    EXPECT_EQ(Show("<Colors BorderClr=\"32768\" OrdBkgndClr=\"8421376\"/>Confirm the order below.", MB_OKCANCEL, [&](HWND box) {
        // Its check box paints its label on the order background.
        EXPECT_NE(dynamic_cast<CHookedMsgBoxCheckbox*>(CWnd::FromHandlePermanent(check)), nullptr);
        EXPECT_EQ(CClientDC(check).GetPixel(CClientRect(check).right - 2, 1), 8421376u);
        EXPECT_GT(CountPixels(label, CRect(0, 0, 40, 14), RGB(0, 0, 255)), 0);
        EXPECT_EQ(::GetParent(child), box);
        EXPECT_TRUE(child.IsWindowVisible());
        const CRect placed = CWindowRect(child, box);
        EXPECT_EQ(placed.Width(), size.Width());
        // Below the buttons and the separator, 3 + 7 from the left with a border.
        EXPECT_EQ(placed.left, 10);
        EXPECT_GT(placed.top, CWindowRect(::GetDlgItem(box, IDOK), box).bottom);
        SaveScreenshot(box, "HookedMsgBox_ChildDialog");
        ClickCentre(::GetDlgItem(box, IDCANCEL));
    }, 0, &child), IDCANCEL);
    // The check box object went with its window.
    EXPECT_FALSE(::IsWindow(check));
}

// A target window three levels deep, as the application's main frame holds
// its view; the pulse goes to the innermost.
class CPulseTarget : public CWnd {
public:
    int m_pulses = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == RWM_ORV_FORWARDIDLE && message != 0)
            ++m_pulses;
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

TEST_F(HookedMsgBoxTest, IdlePulseReachesTheWindowThatAnotherProcessNamed)
{
    HMODULE companion = ::LoadLibraryA("OrvInject2.dll");
    ASSERT_NE(companion, nullptr);
    auto* record = reinterpret_cast<HWND*>(::GetProcAddress(companion, "gs_sharedInfo"));
    ASSERT_NE(record, nullptr);
    CWnd outer, middle;
    CPulseTarget inner;
    ASSERT_TRUE(outer.CreateEx(0, nullptr, "Pulse", WS_OVERLAPPED, CRect(0, 0, 50, 50), nullptr, 0));
    ASSERT_TRUE(middle.CreateEx(0, nullptr, "", WS_CHILD, CRect(0, 0, 40, 40), outer, 1));
    ASSERT_TRUE(inner.CreateEx(0, nullptr, "", WS_CHILD, CRect(0, 0, 30, 30), middle, 2));

    // Another process writes the record.
    char command[128];
    std::snprintf(command, sizeof command, "OrvInjectSet.exe %llx",
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(outer.GetSafeHwnd())));
    STARTUPINFOA startup {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process {};
    ASSERT_TRUE(::CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                                 &startup, &process));
    ::WaitForSingleObject(process.hProcess, 10000);
    DWORD exitCode = 1;
    ::GetExitCodeProcess(process.hProcess, &exitCode);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(*record, outer.GetSafeHwnd());

    hooked_msgbox::ResetIdleTarget();
    EXPECT_EQ(Show("Waiting", MB_OK, [&](HWND) {
        EXPECT_TRUE(PumpUntil([&] { return inner.m_pulses >= 3; }, 3000));
        PressKey(VK_RETURN);
    }), IDOK);
    EXPECT_EQ(hooked_msgbox::IdleTarget(), inner.GetSafeHwnd());
    // The pulse stops with the box.
    const int pulses = inner.m_pulses;
    PumpFor(400);
    EXPECT_EQ(inner.m_pulses, pulses);

    // A box on another thread leaves the pulse alone.
    std::atomic<int> otherResult {-1};
    std::thread other([&] {
        CThreadTimer close;
        close.Start(300, [] {
            if (HWND box = FindBox())
                ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        });
        otherResult = CHookedMsgBox::DoMessageBox(nullptr, "Elsewhere", MB_OK, 0, 0, nullptr, nullptr);
    });
    PumpUntil([&] { return otherResult != -1; }, 5000);
    other.join();
    EXPECT_EQ(otherResult, IDOK);
    EXPECT_EQ(inner.m_pulses, pulses);
    *record = nullptr;
    hooked_msgbox::ResetIdleTarget();
    ::FreeLibrary(companion);
}

TEST_F(HookedMsgBoxTest, TwoHundredBoxesLeaveNoHandlesOrHooksBehind)
{
    ExpectNoHandleLeak([&] {
        EXPECT_EQ(Show(CHookedMsgBox::CreateExtraButtonTag(100, "Extra") + "<b>Bold</b> text", MB_OKCANCEL,
                       [](HWND box) { ::PostMessageA(box, WM_COMMAND, IDOK, 0); }), IDOK);
        // No window made afterwards is taken over.
        HWND made = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        EXPECT_EQ(CWnd::FromHandlePermanent(made), nullptr);
        ::DestroyWindow(made);
    }, 4, 200);
}

TEST_F(HookedMsgBoxTest, StringResourceTextIsItsOwnHelpId)
{
    ASSERT_EQ(AfxGetApp(), &m_app);
    WhenShown driver([] { return FindBox(); }, [&](HWND box) {
        // IDS_COMPANY, 509, of the library's strings.
        EXPECT_NE(::FindWindowExA(box, nullptr, "Static", "Velkor, Inc.\n"), nullptr);
        EXPECT_EQ(m_app.m_dwPromptContext, 0x30000u + 509);
        PressKey(VK_RETURN);
    });
    EXPECT_EQ(CHookedMsgBox::AfxMessageBox(509u, MB_OK), IDOK);
    EXPECT_TRUE(driver.Done());
}

} // namespace
