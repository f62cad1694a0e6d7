// The REST API settings in the global settings key and the component set-up
// against the checknet stand-in, started as a real process: the command
// lines it received, the exit codes' outcomes and the log lines.
#include "controls/win/RestAPIMgr.h"
#include "controls/win/BalloonHelp.h"
#include "framework/win/ThreadTimer.h"
#include "resources/resource.h"
#include "services/Registry.h"

#include "RestAPITestSupport.h"
#include "UiHarness.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

// A manager whose fields a test sets and saves.
class SavingMgr : public CRestAPIMgr {
public:
    BOOL Save(const char* interfaceText, int port, const char* service, const char* allowed, int enabled)
    {
        m_networkInterface = interfaceText;
        m_port = port;
        m_serviceName = service;
        m_allowedIpList = allowed;
        m_enabled = enabled;
        return SaveSettings();
    }
};

// The five settings as one line: interface|port|service|allowed list|enabled.
std::string Settings(const CRestAPIMgr& mgr)
{
    return std::string(mgr.GetNetworkInterface().GetString()) + "|" + std::to_string(mgr.GetPort()) + "|"
        + mgr.GetServiceName().GetString() + "|" + mgr.GetAllowedIpList().GetString() + "|"
        + std::to_string(mgr.GetEnabled());
}

// Each test starts without the five values and removes what it wrote (and
// the class the helper registered for the placed file); the helper's runs
// are recorded.
class RestAPIMgrTest : public RestAPITest {
protected:
    RestAPIMgrTest() : RestAPITest("restapi")
    {
        RemoveRestAPISettings();
        m_environment.Set("ORV_CHECKNET_RECORD", Record().string());
        m_environment.Set("ORV_CHECKNET_EXIT", std::nullopt);
        m_environment.Set("ORV_CHECKNET_DELAY_MS", std::nullopt);
    }

    std::filesystem::path Record() const { return m_root / "record.txt"; }
    std::filesystem::path Component() const { return m_root / "Working" / "RestAPI.dll"; }
    void PlaceComponent() const
    {
        std::filesystem::create_directories(Component().parent_path());
        std::ofstream(Component()) << "component";
    }

    // The raw command line of each recorded run.
    std::vector<std::string> CommandLines() const
    {
        std::vector<std::string> lines;
        for (const std::vector<std::string>& fields : orv_test::ReadRecords(Record()))
            lines.push_back(fields.size() > 2 ? fields[2] : std::string());
        return lines;
    }
};

TEST_F(RestAPIMgrTest, SettingsDefaultThenRoundTripThroughTheGlobalKey)
{
    EXPECT_EQ(Settings(CRestAPIMgr()), "|8000|DesktopService||0");
    SavingMgr saver;
    ASSERT_TRUE(saver.Save("10.0.0.5", 9001, "Svc", "1.2.3.4,host.example", 1));
    EXPECT_EQ(Settings(CRestAPIMgr()), "10.0.0.5|9001|Svc|1.2.3.4,host.example|1");

    // The integers are 4-byte binary values; a short one keeps the default.
    COrvRegistry registry;
    ASSERT_TRUE(registry.Open());
    const BYTE shortPort[2] = {0x10, 0x00};
    ASSERT_EQ(RegSetValueExA(registry.GetKey(), "RestAPIPort", 0, REG_BINARY, shortPort, 2), ERROR_SUCCESS);
    EXPECT_EQ(CRestAPIMgr().GetPort(), 8000);
}

TEST_F(RestAPIMgrTest, SetupRunsTheHelperTwiceWithTheExactCommandLinesAndEndsAtAFailureWithItsLogLine)
{
    PlaceComponent();
    ASSERT_TRUE(RunRestAPIComponentSetup(nullptr, "192.168.1.20", 8123, "DesktopService"));
    const std::string path = Component().string();
    EXPECT_EQ(CommandLines(), (std::vector<std::string> {"checknet.exe -DOTNETVERSION=4",
        "checknet.exe -REGASM=\"" + path + "\" -LISTEN=192.168.1.20:8123 -SVCNAME=DesktopService"}));
    EXPECT_EQ(Log(), (std::vector<std::string> {"L3 Searching for / installing .NET 4.0...",
        "L2 Waiting on checknet completion", "L3 Required .NET 4.0 successfully located or installed.",
        "L3 Registering checknet.exe -REGASM=\"" + path + "\" -LISTEN=192.168.1.20:8123 -SVCNAME=DesktopService...",
        "L2 Waiting on checknet completion", "L3 RestAPI.dll successfully registered."}));

    // A failing helper ends the set-up with its log line.
    struct Row { const char* exitCodes; bool component; std::size_t runs; const char* lastLine; };
    const Row rows[] = {
        {"1", true, 1, "L5 Required .NET 4.0 NOT installed - User aborted."},
        {"7", true, 1, "L5 Required .NET 4.0 NOT installed - CHECKNET INTERNAL ERROR."},
        {"0,3", true, 2, "L5 RestAPI.dll NOT registered."},
        {"0", false, 1, "L5 Unable to locate RestAPI.dll, registration failed."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.exitCodes);
        std::filesystem::remove(Record());
        std::filesystem::remove(Component());
        if (row.component)
            PlaceComponent();
        m_environment.Set("ORV_CHECKNET_EXIT", std::string(row.exitCodes));
        EXPECT_FALSE(RunRestAPIComponentSetup(nullptr, "", 8000, "DesktopService"));
        EXPECT_EQ(CommandLines().size(), row.runs);
        EXPECT_EQ(LastLine(), row.lastLine);
    }
}

TEST_F(RestAPIMgrTest, UnusableValuesAreRefusedBeforeAnythingStarts)
{
    PlaceComponent();
    struct Row { const char* interfaceText; int port; const char* service; };
    const Row rows[] = {
        {"", 8000, "Svc\" -REGASM=\"x"},
        {"", 8000, "Svc\t1"},
        {"", 8000, ""},
        {"1.2.3", 8000, "Svc"},
        {"1.2.3.256", 8000, "Svc"},
        {"", 70000, "Svc"},
    };
    for (const Row& row : rows)
        EXPECT_FALSE(RunRestAPIComponentSetup(nullptr, row.interfaceText, row.port, row.service))
            << row.interfaceText << " " << row.port << " " << row.service;
    EXPECT_TRUE(CommandLines().empty());
    EXPECT_EQ(Log().size(), std::size(rows));
    EXPECT_STREQ(FormatRestAPIRegisterCommand("C:\\a\"b\\RestAPI.dll", "", 8000, "Svc").GetString(), "");
}

// While the helper runs the dialog is disabled and the thread's messages
// (here a thread timer) keep being dispatched; afterwards it is enabled.
TEST_F(RestAPIMgrTest, TheWaitKeepsMessagesFlowingWithTheDialogDisabled)
{
    PlaceComponent();
    m_environment.Set("ORV_CHECKNET_DELAY_MS", std::string("600"));
    HWND dialog = ::CreateWindowExA(0, "STATIC", "dialog", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(dialog, nullptr);
    int ticks = 0, ticksWhileDisabled = 0;
    CThreadTimer timer;
    timer.Start(50, [&] { ++ticks, ticksWhileDisabled += ::IsWindowEnabled(dialog) ? 0 : 1; });
    EXPECT_TRUE(RunRestAPIComponentSetup(dialog, "", 8000, "DesktopService"));
    timer.Stop();
    EXPECT_GE(ticksWhileDisabled, 5);
    EXPECT_EQ(ticks, ticksWhileDisabled);
    EXPECT_TRUE(::IsWindowEnabled(dialog));
    ::DestroyWindow(dialog);
}

void Click(HWND dialog, int id)
{
    RECT rect {};
    ::GetClientRect(::GetDlgItem(dialog, id), &rect);
    orv::ui::PostClick(::GetDlgItem(dialog, id), POINT {rect.right / 2, rect.bottom / 2});
}

// A step that clicks the control.
std::function<bool(HWND)> ClickStep(int id)
{
    return [id](HWND dialog) { return Click(dialog, id), true; };
}

// The balloon now shown (with or without its drop shadow), or null.
HWND FindBalloon()
{
    HWND wnd = ::FindWindowA("BalloonHelpClassDS", nullptr);
    return wnd != nullptr ? wnd : ::FindWindowA("BalloonHelpClass", nullptr);
}

// The content of the balloon now shown (closing it), or "".
std::string TakeBalloon()
{
    HWND wnd = FindBalloon();
    auto* balloon = wnd != nullptr ? dynamic_cast<CBalloonHelp*>(CWnd::FromHandlePermanent(wnd)) : nullptr;
    if (balloon == nullptr)
        return "";
    std::string content = balloon->GetContent().GetString();
    ::DestroyWindow(wnd);
    return content;
}

// Runs the "Configure API" dialog of a fresh manager while the steps act on
// it from a thread timer, one a tick, so that each sees what the one before
// did; a step returns false while it waits. Configure's answer.
BOOL ConfigureDriven(const std::vector<std::function<bool(HWND)>>& steps)
{
    size_t next = 0;
    bool busy = false;
    CThreadTimer timer;
    timer.Start(100, [&] {
        HWND dialog = ::FindWindowA("#32770", "Configure API");
        if (busy || next == steps.size() || dialog == nullptr || !::IsWindowVisible(dialog) || !::IsWindowEnabled(dialog))
            return;
        busy = true;
        next += steps[next](dialog) ? 1 : 0;
        busy = false;
    });
    return CRestAPIMgr().Configure();
}

std::vector<std::string> ListEntries(HWND dialog)
{
    std::vector<std::string> entries;
    const int count = static_cast<int>(::SendDlgItemMessageA(dialog, IDC_CONFIGAPI_CLIENTS, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[256] = "";
        ::SendDlgItemMessageA(dialog, IDC_CONFIGAPI_CLIENTS, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        entries.push_back(text);
    }
    return entries;
}

TEST_F(RestAPIMgrTest, DialogShowsBalloonsForBadEntriesAndSavesWhatIsChosen)
{
    SavingMgr saver;
    ASSERT_TRUE(saver.Save("10.0.0.7", 8000, "DesktopService", "b.example", 0));
    std::vector<std::string> balloons, listed;
    EXPECT_TRUE(ConfigureDriven({
        ClickStep(IDC_CONFIGAPI_ADD_IP), // a blank address
        [&](HWND dialog) {
            balloons.push_back(TakeBalloon());
            ::SendDlgItemMessageA(dialog, IDC_CONFIGAPI_CLIENT_IP, IPM_SETADDRESS, 0, MAKEIPADDRESS(10, 1, 2, 3));
            return Click(dialog, IDC_CONFIGAPI_ADD_IP), true;
        },
        ClickStep(IDC_CONFIGAPI_ADD_IP),
        [&](HWND dialog) {
            balloons.push_back(TakeBalloon());
            ::SetDlgItemTextA(dialog, IDC_CONFIGAPI_CLIENT_DNS, "Host.Example");
            return Click(dialog, IDC_CONFIGAPI_ADD_DNS), true;
        },
        [&](HWND dialog) {
            ::SetDlgItemTextA(dialog, IDC_CONFIGAPI_CLIENT_DNS, "host.EXAMPLE");
            return Click(dialog, IDC_CONFIGAPI_ADD_DNS), true;
        },
        [&](HWND dialog) {
            orv::ui::SaveScreenshot(FindBalloon(), "ConfigAPI-duplicate-balloon");
            balloons.push_back(TakeBalloon());
            orv::ui::SaveScreenshot(dialog, "ConfigAPI-dialog");
            listed = ListEntries(dialog);
            ::SetDlgItemTextA(dialog, IDC_CONFIGAPI_SERVICE, "Desktop Service");
            return Click(dialog, IDOK), true;
        },
        [&](HWND dialog) {
            balloons.push_back(TakeBalloon());
            // Two of the three entries selected and removed.
            ::SendDlgItemMessageA(dialog, IDC_CONFIGAPI_CLIENTS, LB_SETSEL, TRUE, 0);
            ::SendDlgItemMessageA(dialog, IDC_CONFIGAPI_CLIENTS, LB_SETSEL, TRUE, 2);
            Click(dialog, IDC_CONFIGAPI_REMOVE);
            ::SetDlgItemTextA(dialog, IDC_CONFIGAPI_SERVICE, "Svc2");
            ::SetDlgItemTextA(dialog, IDC_CONFIGAPI_PORT, "9100");
            ::SendDlgItemMessageA(dialog, IDC_CONFIGAPI_INTERFACE, IPM_SETADDRESS, 0, 0);
            return Click(dialog, IDOK), true;
        },
    }));
    EXPECT_EQ(balloons, (std::vector<std::string> {"Please enter a valid IP", "Duplicate IP", "Duplicate DNS name",
        "Please enter a valid service name (no blanks or quotes)"}));
    EXPECT_EQ(listed, (std::vector<std::string> {"10.1.2.3", "b.example", "Host.Example"}));
    EXPECT_EQ(Settings(CRestAPIMgr()), "|9100|Svc2|b.example|0");
    EXPECT_TRUE(CommandLines().empty());
}

TEST_F(RestAPIMgrTest, ACancelledRuntimeInstallKeepsTheDialogOpenWithTheAPIDisabled)
{
    PlaceComponent();
    m_environment.Set("ORV_CHECKNET_EXIT", std::string("1"));
    bool unticked = false;
    EXPECT_FALSE(ConfigureDriven({
        [](HWND dialog) {
            ::CheckDlgButton(dialog, IDC_CONFIGAPI_ENABLE, BST_CHECKED);
            return Click(dialog, IDOK), true;
        },
        [&](HWND dialog) {
            if (CommandLines().empty())
                return false;
            unticked = ::IsDlgButtonChecked(dialog, IDC_CONFIGAPI_ENABLE) == BST_UNCHECKED;
            return Click(dialog, IDCANCEL), true;
        },
    }));
    EXPECT_TRUE(unticked);
    EXPECT_EQ(CommandLines(), (std::vector<std::string> {"checknet.exe -DOTNETVERSION=4"}));
    EXPECT_EQ(LastLine(), "L5 Required .NET 4.0 NOT installed - User aborted.");
    EXPECT_EQ(CRestAPIMgr().GetEnabled(), 0);
}

} // namespace
