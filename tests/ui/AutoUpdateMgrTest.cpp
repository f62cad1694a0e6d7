// The update manager against the update web server: the check on its
// worker, the offer and the progress dialogs answered from a helper thread,
// and the downloaded installer stand-in started by the shell.
#include "controls/win/AutoUpdateMgr.h"
#include "controls/win/WindowWrappers.h"
#include "framework/WinApp.h"
#include "framework/win/RegisteredMessages.h"
#include "framework/win/Wnd.h"

#include "support/ScopedEnvironment.h"
#include "support/ScratchFolder.h"
#include "support/UpdateServer.h"
#include "UiHarness.h"

#include <gtest/gtest.h>

#include <tlhelp32.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

using namespace orv::ui;

namespace {

constexpr const char* kOfferTitle = "Auto Update: Update Available for Download";
constexpr const char* kProgressTitle = "Auto Update Progress...";

// The visible dialog of another thread with the title, or null.
HWND FindDialog(const char* title)
{
    HWND dialog = ::FindWindowA("#32770", title);
    return dialog != nullptr && ::IsWindowVisible(dialog) ? dialog : nullptr;
}

std::string ItemText(HWND dialog, int id)
{
    return std::string(CWindowText(::GetDlgItem(dialog, id)));
}

// Polls from a helper thread (the test thread may be blocked in the check)
// until found() gives a window; null after 20 s.
HWND Await(const std::function<HWND()>& found)
{
    for (int i = 0; i < 2000; ++i) {
        if (HWND wnd = found())
            return wnd;
        ::Sleep(10);
    }
    return nullptr;
}

// Whether the thread runs; with 0, the number of this process's threads.
int CountThreads(DWORD threadId = 0)
{
    int count = 0;
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry {};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Thread32First(snapshot, &entry); more; more = ::Thread32Next(snapshot, &entry))
        count += threadId != 0 ? entry.th32ThreadID == threadId : entry.th32OwnerProcessID == ::GetCurrentProcessId();
    ::CloseHandle(snapshot);
    return count;
}


// A window that keeps the update statuses posted to it.
class NotifyWindow : public CWnd {
public:
    NotifyWindow() { CreateEx(0, "STATIC", "notify", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0); }
    ~NotifyWindow() override { DestroyWindow(); }
    // The statuses received so far, taken.
    std::vector<int> Take()
    {
        PumpPending();
        return std::exchange(m_statuses, {});
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == RWM_ORV_AUTOUPDATE_NOTIFY && message != 0) {
            m_statuses.push_back(static_cast<int>(wParam));
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }

private:
    std::vector<int> m_statuses;
};

class AutoUpdateMgrTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_environment.Set("ORV_INSTALLER_RECORD", Record().string());
        m_savedBehavior = CAutoUpdateMgr::GetAutoUpdateBehavior();
        CAutoUpdateMgr::SetAutoUpdateBehavior(0);
        const std::string package = orv_test::ReadFile(orv_test::TestProgramFolder() / "InstallerStandin.exe");
        ASSERT_TRUE(m_server.Start());
        m_server.Put("pkg/OrvSetup.exe", package);
        m_server.Put("orv/release/update.manifest",
            "<?xml version=\"1.0\"?><CAutoUpdateManifest UrlOfUpdate=\"" + m_server.Url("/pkg/OrvSetup.exe")
                + "\" SizeOfUpdate=\"" + std::to_string(package.size())
                + "\" ReleaseType=\"release\" UpdateType=\"optional\"><Product Name=\"OrvUiTests\" "
                  "Version=\"9.1.0.0\"/><MoreInfo Text=\"What is new in 9.1\" Href=\"http://127.0.0.1/news.htm\"/>"
                  "</CAutoUpdateManifest>");
        m_manager->AddRef();
        m_manager->SetUpdateManifestBaseURL(m_server.Url("/orv").c_str());
    }
    void TearDown() override
    {
        m_manager->Release();
        CAutoUpdateMgr::SetAutoUpdateBehavior(m_savedBehavior);
    }

    // Answers the offer: the choice (IDC 12006 yes, 12008 no), then OK.
    static HWND AnswerOffer(int choice, const char* screenshot = nullptr, const char* title = kOfferTitle)
    {
        HWND offer = Await([title] { return FindDialog(title); });
        if (offer == nullptr)
            return nullptr;
        if (screenshot != nullptr)
            SaveScreenshot(offer, screenshot);
        ::SendMessageA(::GetDlgItem(offer, choice), BM_CLICK, 0, 0);
        ::SendMessageA(::GetDlgItem(offer, IDOK), BM_CLICK, 0, 0);
        return offer;
    }

    // Runs a waited check while `user` answers its dialogs from a thread of
    // its own; the window is told the status the check returns.
    int CheckAnswering(const std::function<void()>& user)
    {
        std::thread answering(user);
        const int status = m_manager->CheckForUpdates(true, true, m_notify.GetSafeHwnd());
        answering.join();
        EXPECT_EQ(m_notify.Take(), std::vector<int> {status});
        return status;
    }

    // What the installer stand-in was started with.
    std::filesystem::path Record() const { return m_root / "installer.txt"; }

    orv_test::ScratchFolder m_root {"updatemgr"};
    orv_test::ScopedEnvironment m_environment {"KESTREL_ROOT", m_root.Path().string()};
    orv_test::UpdateServer m_server {m_root / "server"};
    CWinApp m_app {"OrvUiTests"};
    CAutoUpdateMgr* m_manager = new CAutoUpdateMgr;
    NotifyWindow m_notify;
    int m_savedBehavior = 0;
};

// Offer, download, confirmation and install, with the calling thread
// waiting and owning the application's main window: the worker's dialogs
// must not be owned by it, or the wait would never end.
TEST_F(AutoUpdateMgrTest, AWaitedCheckDownloadsAndStartsTheInstaller)
{
    CWnd mainWindow;
    ASSERT_TRUE(mainWindow.CreateEx(0, "STATIC", "main", WS_POPUP | WS_VISIBLE, TestFrameRect(), nullptr, 0));
    m_app.SetMainWnd(&mainWindow);

    std::atomic<bool> completed {false}, ownerless {false}, mainEnabled {false};
    std::string offerHeading, completeText;
    const int status = CheckAnswering([&] {
        HWND offer = Await([] { return FindDialog(kOfferTitle); });
        ownerless = offer != nullptr && ::GetWindow(offer, GW_OWNER) == nullptr;
        mainEnabled = ::IsWindowEnabled(mainWindow.GetSafeHwnd()) != FALSE;
        AnswerOffer(12006, "AutoUpdateOffer");
        HWND progress = Await([] {
            HWND dialog = FindDialog(kProgressTitle);
            return dialog != nullptr && ::IsWindowVisible(::GetDlgItem(dialog, IDOK)) ? dialog : nullptr;
        });
        if (progress == nullptr)
            return;
        completed = true;
        completeText = ItemText(progress, 12014);
        offerHeading = ItemText(progress, 12010);
        SaveScreenshot(progress, "AutoUpdateProgressComplete");
        ::SendMessageA(::GetDlgItem(progress, IDOK), BM_CLICK, 0, 0);
    });
    m_app.SetMainWnd(nullptr);

    EXPECT_TRUE(ownerless);
    EXPECT_TRUE(mainEnabled);
    ASSERT_TRUE(completed);
    EXPECT_EQ(status, 8);
    EXPECT_EQ(completeText, "Download complete, press OK to install.");
    EXPECT_EQ(offerHeading, "Downloading OrvUiTests Version 9.1.0.0");
    EXPECT_EQ(CAutoUpdateMgr::GetCurrentInstance(), nullptr);

    std::string line;
    ASSERT_TRUE(PumpUntil([&] { return !(line = orv_test::ReadFile(Record())).empty(); }, 10000));
    line = line.substr(0, line.find('\n'));
    EXPECT_NE(line.find("/update /pid " + std::to_string(::GetCurrentProcessId())), std::string::npos) << line;
    EXPECT_NE(line.find("OrvSetup.exe"), std::string::npos) << line;
    // Started in the temporary folder, named without its trailing separator.
    char temp[MAX_PATH] = "";
    const DWORD length = ::GetTempPathA(MAX_PATH, temp);
    EXPECT_NE(line.find("\t" + std::string(temp, length - 1)), std::string::npos) << line;
}

// Checked twice: the second check leaves as many threads and handles as
// there were before it (the first may set up what WinInet keeps).
TEST_F(AutoUpdateMgrTest, ACutPackageIsAnErrorAndStartsNothing)
{
    m_server.Script("/pkg/OrvSetup.exe cut=1000\n");
    int threads = 0;
    long handles = 0;
    for (int run = 0; run < 2; ++run) {
        threads = CountThreads();
        handles = CountKernelHandles();
        EXPECT_EQ(CheckAnswering([] { AnswerOffer(12006); }), 6);
        EXPECT_FALSE(FindDialog(kProgressTitle));
    }
    ASSERT_GT(handles, 0);
    EXPECT_TRUE(PumpUntil([&] { return CountThreads() <= threads && CountKernelHandles() <= handles; }, 5000))
        << CountThreads() << " threads (" << threads << " before), " << CountKernelHandles() << " handles (" << handles
        << " before)";
    EXPECT_FALSE(std::filesystem::exists(Record()));
}

// The stored behaviour decides without the offer: "do not prompt" ends an
// automatic check at once; "download all" goes straight to the download,
// which the user cancels here: the status says so and nothing is started.
TEST_F(AutoUpdateMgrTest, BehavioursSkipTheOfferAndACancelledDownloadStartsNothing)
{
    CAutoUpdateMgr::SetAutoUpdateBehavior(3);
    EXPECT_EQ(m_manager->CheckForUpdates(true, false, m_notify.GetSafeHwnd()), 14);
    EXPECT_EQ(m_notify.Take(), std::vector<int> {14});

    CAutoUpdateMgr::SetAutoUpdateBehavior(2);
    m_server.Script("/pkg/OrvSetup.exe rate=4096\n");
    std::atomic<bool> offerSeen {false};
    const int status = CheckAnswering([&] {
        HWND progress = Await([&] {
            offerSeen = offerSeen || FindDialog(kOfferTitle) != nullptr;
            HWND dialog = FindDialog(kProgressTitle);
            // Cancel once some of the package has arrived.
            return dialog != nullptr && ItemText(dialog, 12014).find("KB of") != std::string::npos ? dialog : nullptr;
        });
        if (progress == nullptr)
            return;
        SaveScreenshot(progress, "AutoUpdateProgressRunning");
        ::SendMessageA(::GetDlgItem(progress, IDCANCEL), BM_CLICK, 0, 0);
    });
    EXPECT_FALSE(offerSeen);
    EXPECT_EQ(status, 7);
    EXPECT_FALSE(FindDialog(kProgressTitle));
    PumpFor(300);
    EXPECT_FALSE(std::filesystem::exists(Record()));
}

// Declining a required update is its own status.
TEST_F(AutoUpdateMgrTest, DecliningARequiredUpdateIsReported)
{
    std::string manifest = orv_test::ReadFile(m_server.Root() / "orv" / "release" / "update.manifest");
    manifest.replace(manifest.find("optional"), 8, "forced");
    m_server.Put("orv/release/update.manifest", manifest);
    const char* title = "Auto Update: REQUIRED Update Available for Download";
    EXPECT_EQ(CheckAnswering([title] { AnswerOffer(12008, nullptr, title); }), 9);
}

// A second request while a check runs is refused and told so; the running
// check ends as its own user decides, and leaves no thread behind.
TEST_F(AutoUpdateMgrTest, ARequestWhileACheckRunsIsRefusedAndTheWorkerGoes)
{
    NotifyWindow other;
    CAutoUpdateMgr* second = new CAutoUpdateMgr;
    second->AddRef();

    EXPECT_EQ(m_manager->CheckForUpdates(false, true, m_notify.GetSafeHwnd()), 10);
    HWND offer = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (offer = FindDialog(kOfferTitle)) != nullptr; }, 20000));
    const DWORD worker = ::GetWindowThreadProcessId(offer, nullptr);
    EXPECT_NE(worker, ::GetCurrentThreadId());
    EXPECT_EQ(CAutoUpdateMgr::GetCurrentInstance(), m_manager);
    EXPECT_EQ(second->CheckForUpdates(false, true, other.GetSafeHwnd()), 13);
    EXPECT_EQ(m_manager->CheckForUpdates(true, true, other.GetSafeHwnd()), 13);
    EXPECT_EQ(other.Take(), std::vector<int> {13});
    EXPECT_EQ(m_notify.Take(), std::vector<int> {});
    // A manager that goes does not end another's check.
    second->Release();
    EXPECT_EQ(CAutoUpdateMgr::GetCurrentInstance(), m_manager);

    std::thread user([] { AnswerOffer(12008); });
    std::vector<int> posted;
    EXPECT_TRUE(PumpUntil([&] {
        posted = m_notify.Take();
        return !posted.empty();
    }, 20000));
    user.join();
    EXPECT_EQ(posted, std::vector<int> {7}); // an optional update declined
    EXPECT_EQ(CAutoUpdateMgr::GetCurrentInstance(), nullptr);
    // The worker has ended and given its reference back.
    EXPECT_TRUE(PumpUntil([&] { return CountThreads(worker) == 0; }, 5000));
    EXPECT_EQ(m_manager->AddRef(), 2);
    m_manager->Release();
}

} // namespace
