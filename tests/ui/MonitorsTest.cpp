// CMonitors on this display (one monitor under the test display) and, through
// the monitor-services table, on stand-in monitors the machine does not
// have: a second one left of the primary, one that goes away, and counts
// that disagree with the enumeration.
#include "controls/win/Monitors.h"

#include "HoverTestWindows.h"
#include "platform/win32/MonitorServices.h"

#include <gtest/gtest.h>

#include <vector>

using namespace orv::ui;
using platform::win32::MonitorServices;

TEST(Monitors, TheTestDisplayIsOnePrimaryMonitorHoldingTheVirtualDesktop)
{
    CMonitors monitors;
    ASSERT_EQ(monitors.GetCount(), 1);
    EXPECT_EQ(CMonitors::GetMonitorCount(), 1);
    EXPECT_EQ(RaisedBy([&] { monitors.GetMonitor(1); }), "invalid argument");
    EXPECT_EQ(RaisedBy([&] { monitors.GetMonitor(-1); }), "invalid argument");

    const CMonitor primary = monitors.GetMonitor(0);
    EXPECT_TRUE(primary.IsPrimaryMonitor());
    EXPECT_EQ(CMonitors::GetPrimaryMonitor(), primary);
    EXPECT_TRUE(CMonitors::IsMonitor(primary.GetHandle()));
    EXPECT_FALSE(CMonitors::IsMonitor(nullptr));
    CRect bounds;
    ASSERT_TRUE(primary.GetMonitorRect(bounds));
    CRect desktop;
    CMonitors::GetVirtualDesktopRect(&desktop);
    EXPECT_EQ(desktop, bounds);
    EXPECT_EQ(desktop, CRect(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)));
    EXPECT_TRUE(CMonitors::AllMonitorsShareDisplayFormat());

    const POINT away {-5000, -5000};
    EXPECT_TRUE(CMonitors::IsOnScreen(POINT {10, 10}));
    EXPECT_FALSE(CMonitors::IsOnScreen(away));
    EXPECT_TRUE(CMonitors::IsOnScreen(RECT {-100, -100, 1, 1}));
    EXPECT_FALSE(CMonitors::IsOnScreen(RECT {-300, -300, -100, -100}));
    EXPECT_EQ(CMonitors::GetNearestMonitor(away), primary);
    EXPECT_EQ(CMonitors::GetNearestMonitor(RECT {-300, -300, -100, -100}), primary);

    CNoticeFrame frame;
    ASSERT_TRUE(frame.Create("Monitors"));
    EXPECT_TRUE(CMonitors::IsOnScreen(frame.GetSafeHwnd()));
    frame.SetWindowPos(nullptr, -5000, -5000, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_FALSE(CMonitors::IsOnScreen(frame.GetSafeHwnd()));
    EXPECT_EQ(CMonitors::GetNearestMonitor(frame.GetSafeHwnd()), primary);
}

namespace {

// Stand-in monitors: handles and bounds in enumeration order, and the
// monitor count the system metric reports.
struct FakeDisplay {
    std::vector<std::pair<HMONITOR, RECT>> monitors;
    int reportedCount = 0;
    RECT virtualScreen {};
};
FakeDisplay g_display;

int WINAPI FakeMetric(int index)
{
    const RECT& v = g_display.virtualScreen;
    switch (index) {
    case SM_CMONITORS: return g_display.reportedCount;
    case SM_XVIRTUALSCREEN: return v.left;
    case SM_YVIRTUALSCREEN: return v.top;
    case SM_CXVIRTUALSCREEN: return v.right - v.left;
    case SM_CYVIRTUALSCREEN: return v.bottom - v.top;
    default: return ::GetSystemMetrics(index);
    }
}

BOOL WINAPI FakeEnum(HDC, LPCRECT, MONITORENUMPROC proc, LPARAM context)
{
    for (auto& [monitor, rect] : g_display.monitors) {
        if (!proc(monitor, nullptr, &rect, context)) {
            return TRUE;
        }
    }
    return TRUE;
}

BOOL WINAPI FakeInfo(HMONITOR monitor, LPMONITORINFO info)
{
    for (const auto& [handle, rect] : g_display.monitors) {
        if (handle == monitor) {
            info->rcMonitor = info->rcWork = rect;
            info->dwFlags = rect.left == 0 && rect.top == 0 ? MONITORINFOF_PRIMARY : 0;
            return TRUE;
        }
    }
    return FALSE;
}

const HMONITOR kPrimary = reinterpret_cast<HMONITOR>(0x1001);
const HMONITOR kLeft = reinterpret_cast<HMONITOR>(0x1002);
const RECT kPrimaryRect {0, 0, 1920, 1080};
const RECT kLeftRect {-1280, 56, 0, 1080};

class MonitorsStandIn : public ::testing::Test {
protected:
    void SetUp() override
    {
        MonitorServices fake = m_real;
        fake.getSystemMetrics = &FakeMetric;
        fake.enumDisplayMonitors = &FakeEnum;
        fake.getMonitorInfo = &FakeInfo;
        platform::win32::ReplaceMonitorServices(fake);
        g_display = {{{kPrimary, kPrimaryRect}, {kLeft, kLeftRect}}, 2, {-1280, 0, 1920, 1080}};
    }
    void TearDown() override { platform::win32::ReplaceMonitorServices(m_real); }

    MonitorServices m_real = platform::win32::GetMonitorServices();
};

} // namespace

TEST_F(MonitorsStandIn, SecondMonitorLeftOfThePrimaryWidensTheDesktopToTheLeft)
{
    CRect desktop;
    CMonitors::GetVirtualDesktopRect(&desktop);
    EXPECT_EQ(desktop, CRect(-1280, 0, 1920, 1080));

    CMonitors monitors;
    ASSERT_EQ(monitors.GetCount(), 2);
    CRect left;
    ASSERT_TRUE(monitors.GetMonitor(1).GetMonitorRect(left));
    EXPECT_EQ(left, CRect(-1280, 56, 0, 1080));
    EXPECT_FALSE(monitors.GetMonitor(1).IsPrimaryMonitor());
}

TEST_F(MonitorsStandIn, DisconnectedMonitorIsNoLongerAMonitor)
{
    CMonitors monitors;
    const CMonitor left = monitors.GetMonitor(1);
    EXPECT_TRUE(CMonitors::IsMonitor(left.GetHandle()));
    g_display.monitors.pop_back();
    g_display.reportedCount = 1;
    EXPECT_FALSE(CMonitors::IsMonitor(left.GetHandle()));
    EXPECT_TRUE(CMonitors::IsMonitor(kPrimary));
    CRect rect(1, 2, 3, 4);
    EXPECT_FALSE(left.GetMonitorRect(rect));
    EXPECT_EQ(rect, CRect(1, 2, 3, 4));
}

// The count and the enumeration are asked apart, so a monitor may come or go
// between them: the array holds at most the count, and only real monitors.
TEST_F(MonitorsStandIn, ArrayHoldsNoMoreThanTheCountAndNoEmptySlots)
{
    const struct {
        int reported;
        std::vector<HMONITOR> expected;
    } cases[] = {
        {1, {kPrimary}},
        {3, {kPrimary, kLeft}},
        {0, {}},
        {-1, {}},
    };
    for (const auto& c : cases) {
        g_display.reportedCount = c.reported;
        CMonitors monitors;
        std::vector<HMONITOR> held;
        for (int i = 0; i < monitors.GetCount(); ++i) {
            held.push_back(monitors.GetMonitor(i).GetHandle());
        }
        EXPECT_EQ(held, c.expected) << c.reported;
        EXPECT_EQ(RaisedBy([&] { monitors.GetMonitor(static_cast<int>(c.expected.size())); }), "invalid argument");
    }
}
