// CMonitors on the test display (one monitor) and, through the
// monitor-services table, on stand-in monitors this machine does not have.
#include "controls/win/Monitors.h"

#include "HoverTestWindows.h"
#include "platform/win32/MonitorServices.h"

#include <gtest/gtest.h>

#include <vector>

using namespace orv::ui;

TEST(Monitors, TheTestDisplayIsOnePrimaryMonitorHoldingTheVirtualDesktop)
{
    CMonitors monitors;
    ASSERT_EQ(monitors.GetCount(), 1);
    EXPECT_EQ(RaisedBy([&] { monitors.GetMonitor(1); }), "invalid argument");
    const CMonitor primary = monitors.GetMonitor(0);
    EXPECT_EQ(CMonitors::GetPrimaryMonitor(), primary);
    CRect bounds;
    CRect desktop;
    ASSERT_TRUE(primary.IsPrimaryMonitor() && primary.GetMonitorRect(bounds));
    CMonitors::GetVirtualDesktopRect(&desktop);
    EXPECT_EQ(desktop, bounds);
    EXPECT_FALSE(CMonitors::IsMonitor(nullptr));

    CNoticeFrame frame;
    ASSERT_TRUE(frame.Create("Monitors"));
    EXPECT_TRUE(CMonitors::IsOnScreen(frame.GetSafeHwnd()));
    frame.SetWindowPos(nullptr, -5000, -5000, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_FALSE(CMonitors::IsOnScreen(frame.GetSafeHwnd()));
    EXPECT_EQ(CMonitors::GetNearestMonitor(frame.GetSafeHwnd()), primary);
    EXPECT_TRUE(CMonitors::IsOnScreen(RECT {-100, -100, 1, 1}));
}

namespace {

// Stand-in monitors in enumeration order, and the count the metric reports.
std::vector<HMONITOR> g_monitors;
int g_reportedCount = 0;
const HMONITOR kPrimary = reinterpret_cast<HMONITOR>(0x1001);
const HMONITOR kLeft = reinterpret_cast<HMONITOR>(0x1002);

int WINAPI FakeMetric(int index)
{
    // A 1280-wide monitor left of a 1920 x 1080 primary.
    switch (index) {
    case SM_CMONITORS: return g_reportedCount;
    case SM_XVIRTUALSCREEN: return -1280;
    case SM_CXVIRTUALSCREEN: return 3200;
    case SM_CYVIRTUALSCREEN: return 1080;
    default: return 0;
    }
}

BOOL WINAPI FakeEnum(HDC, LPCRECT, MONITORENUMPROC proc, LPARAM context)
{
    for (size_t i = 0; i < g_monitors.size() && proc(g_monitors[i], nullptr, nullptr, context); ++i) {
    }
    return TRUE;
}

class MonitorsStandIn : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto fake = m_real;
        fake.getSystemMetrics = &FakeMetric;
        fake.enumDisplayMonitors = &FakeEnum;
        platform::win32::ReplaceMonitorServices(fake);
        g_monitors = {kPrimary, kLeft};
        g_reportedCount = 2;
    }
    void TearDown() override { platform::win32::ReplaceMonitorServices(m_real); }

    const platform::win32::MonitorServices m_real = platform::win32::GetMonitorServices();
};

} // namespace

TEST_F(MonitorsStandIn, SecondMonitorLeftOfThePrimaryThatGoesAwayAndCountsThatDisagree)
{
    CRect desktop;
    CMonitors::GetVirtualDesktopRect(&desktop);
    EXPECT_EQ(desktop, CRect(-1280, 0, 1920, 1080));
    CMonitors monitors;
    ASSERT_EQ(monitors.GetCount(), 2);
    EXPECT_TRUE(CMonitors::IsMonitor(kLeft));
    g_monitors.pop_back();
    EXPECT_FALSE(CMonitors::IsMonitor(monitors.GetMonitor(1).GetHandle()));
    EXPECT_TRUE(CMonitors::IsMonitor(kPrimary));

    // The count and the enumeration are asked apart, so a monitor may come
    // or go between them: the array holds at most the count, no empty slots.
    g_monitors = {kPrimary, kLeft};
    const std::pair<int, std::vector<HMONITOR>> cases[] = {
        {1, {kPrimary}}, {3, {kPrimary, kLeft}}, {0, {}}, {-1, {}}};
    for (const auto& [reported, expected] : cases) {
        g_reportedCount = reported;
        CMonitors monitors;
        std::vector<HMONITOR> held;
        for (int i = 0; i < monitors.GetCount(); ++i)
            held.push_back(monitors.GetMonitor(i).GetHandle());
        EXPECT_EQ(held, expected) << reported;
    }
}
