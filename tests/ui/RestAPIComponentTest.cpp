// The REST API component created, initialised and terminated through COM,
// with the in-process stand-in registered in the class registry: it listens
// where the settings say, and the manager's log lines tell each outcome.
// Winsock comes before the headers that include windows.h.
#include <winsock2.h>

#include "controls/win/RestAPIComponent.h"
#include "controls/win/RestAPIMgr.h"
#include "platform/win32/WindowText.h"
#include "services/Registry.h"

#include "support/UpdateServer.h"
#include "RestAPITestSupport.h"
#include "UiHarness.h"
#include "resources/resource.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <utility>
#include <string>
#include <vector>

namespace {

constexpr int kPort = 18431;

// A manager with the settings a test gives, in memory only.
class ComponentMgr : public CRestAPIMgr {
public:
    ComponentMgr(int enabled, int port, const char* service)
    {
        m_enabled = enabled;
        m_port = port;
        m_serviceName = service;
        m_networkInterface = "127.0.0.1";
    }
};

// What the service at the port answers, or "" when nothing listens.
std::string Fetch(int port)
{
    std::string answer;
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in where {};
    where.sin_family = AF_INET;
    where.sin_port = htons(static_cast<u_short>(port));
    where.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(s, reinterpret_cast<sockaddr*>(&where), sizeof where) == 0) {
        const char request[] = "GET / HTTP/1.0\r\n\r\n";
        send(s, request, sizeof request - 1, 0);
        char buffer[512];
        for (int got; (got = recv(s, buffer, sizeof buffer, 0)) > 0;)
            answer.append(buffer, static_cast<std::size_t>(got));
    }
    closesocket(s);
    return answer;
}

class RestAPIComponentTest : public RestAPITest {
protected:
    RestAPIComponentTest() : RestAPITest("restapicom")
    {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
    }
    ~RestAPIComponentTest() override
    {
        WSACleanup();
        CoUninitialize();
    }

    static void Register()
    {
        const std::string server = (orv_test::TestProgramFolder() / "RestAPIStandin.dll").string();
        const std::string key = std::string(kRestAPIClassKey) + "\\InprocServer32";
        ASSERT_EQ(RegSetKeyValueA(HKEY_CLASSES_ROOT, key.c_str(), nullptr, REG_SZ, server.c_str(), DWORD(server.size() + 1)),
            ERROR_SUCCESS);
        RegSetKeyValueA(HKEY_CLASSES_ROOT, key.c_str(), "ThreadingModel", REG_SZ, "Both", 5);
    }
};

TEST_F(RestAPIComponentTest, CreatedComponentListensUntilTermAndCopiesShareIt)
{
    Register();
    ComponentMgr mgr(1, kPort, "DeskSvc");
    mgr.Init();
    ASSERT_TRUE(mgr.HasComponent()) << ::testing::PrintToString(Log());
    EXPECT_NE(Fetch(kPort).find("{\"service\":\"DeskSvc\"}"), std::string::npos);
    {
        const CRestAPIMgr copy(mgr); // released on its own, the service goes on
        EXPECT_TRUE(copy.HasComponent());
    }
    EXPECT_NE(Fetch(kPort).find("DeskSvc"), std::string::npos);
    mgr.CreateComponentIfEnabled(); // one component at most
    mgr.Term();
    EXPECT_FALSE(mgr.HasComponent());
    EXPECT_EQ(Fetch(kPort), "");
    EXPECT_EQ(Log(), (std::vector<std::string> {"L3 Successfully created RestAPI component.",
        "L2 Initializing RestAPI component: interface=[127.0.0.1] port=[18431] serviceName=[DeskSvc] allowedIPList=[]",
        "L3 RestAPI successfully initialized", "L3 Terminating RestAPI component."}));
}

TEST_F(RestAPIComponentTest, FailuresLeaveNoComponentAndAreLogged)
{
    ComponentMgr disabled(0, kPort, "DeskSvc");
    disabled.Init();
    EXPECT_TRUE(Log().empty());

    ComponentMgr unregistered(1, kPort, "DeskSvc");
    unregistered.Init();
    EXPECT_FALSE(unregistered.HasComponent());
    EXPECT_EQ(LastLine(), "L4 Unable to create RestAPI component: CreateInstance failed with hr=0x80040154");

    Register();
    ComponentMgr first(1, kPort, "DeskSvc");
    first.Init();
    ASSERT_TRUE(first.HasComponent());
    ComponentMgr second(1, kPort, "Other"); // the port is taken
    second.Init();
    EXPECT_FALSE(second.HasComponent());
    EXPECT_EQ(LastLine().rfind("L4 RestAPI failed to initialize: unable to listen on [127.0.0.1]:18431", 0), 0u)
        << LastLine();
    first.Term();

    orv_test::ScopedEnvironment forced("ORV_RESTAPI_INIT_HR", std::string("80004005"));
    ComponentMgr failing(1, kPort, "DeskSvc");
    failing.Init();
    EXPECT_FALSE(failing.HasComponent());
    EXPECT_EQ(LastLine(), "L4 RestAPI::Init failed with COM error hr=0x80004005");
}

// Presses OK, from a thread timer, in the first enabled dialog of this
// thread for which `accept` holds.
class OkPresser : public orv::ui::WhenShown {
public:
    explicit OkPresser(const std::function<bool(HWND)>& accept)
        : WhenShown([accept] { return orv::ui::FindThreadWindow("#32770", [&](HWND box) {
                        return ::IsWindowEnabled(box) && accept(box); }); },
                    [](HWND box) { orv::ui::PostClick(::GetDlgItem(box, IDOK), POINT {10, 5}); }, 100)
    {
    }
};

bool Titled(HWND box, const char* title) { return ::ReadWindowText(box) == title; }

// Whether a child of the window shows the text.
bool ShowsText(HWND wnd, const char* text)
{
    std::pair<const char*, bool> search {text, false};
    ::EnumChildWindows(wnd, [](HWND child, LPARAM param) {
        auto* s = reinterpret_cast<std::pair<const char*, bool>*>(param);
        s->second = s->second || ::ReadWindowText(child).Find(s->first) >= 0;
        return TRUE;
    }, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

// OK in the dialog, with the API enabled, runs the set-up, whose helper
// registers the component found in the working folder, and then creates
// it; OK again while it runs saves and shows the restart notice without
// touching it.
TEST_F(RestAPIComponentTest, ConfigureCreatesTheComponentOnceThenOnlyNotesTheRestart)
{
    std::filesystem::create_directories(m_root / "Working");
    std::filesystem::copy_file(orv_test::TestProgramFolder() / "RestAPIStandin.dll", m_root / "Working" / "RestAPI.dll");
    orv_test::ScopedEnvironment helper("ORV_CHECKNET_EXIT", std::string("0"));
    ComponentMgr mgr(1, kPort, "DeskSvc");

    {
        const OkPresser configure([](HWND box) { return Titled(box, "Configure API"); });
        EXPECT_TRUE(mgr.Configure());
    }
    ASSERT_TRUE(mgr.HasComponent()) << ::testing::PrintToString(Log());
    EXPECT_NE(Fetch(kPort).find("DeskSvc"), std::string::npos);

    // The dialog's OK first, then the notice's.
    const OkPresser configure([](HWND box) { return Titled(box, "Configure API"); });
    const OkPresser notice([](HWND box) { return ShowsText(box, "Changes will take effect after the next restart."); });
    EXPECT_TRUE(mgr.Configure());
    EXPECT_TRUE(configure.Done());
    EXPECT_TRUE(notice.Done());
    EXPECT_NE(Fetch(kPort).find("DeskSvc"), std::string::npos);
    mgr.Term();
}

} // namespace
