#include "controls/win/Monitors.h"

#include "platform/win32/MonitorServices.h"

#include <algorithm>

using platform::win32::GetMonitorServices;

namespace {

// SM_CMONITORS, SM_SAMEDISPLAYFORMAT and the virtual screen's bounds.
constexpr int kMonitorCount = 80;
constexpr int kSameDisplayFormat = 81;
constexpr int kVirtualLeft = 76;
constexpr int kVirtualTop = 77;
constexpr int kVirtualWidth = 78;
constexpr int kVirtualHeight = 79;

struct Fill {
    CArray<CMonitor>* monitors;
    int filled;
};

BOOL CALLBACK FillOne(HMONITOR monitor, HDC, LPRECT, LPARAM context)
{
    auto* fill = reinterpret_cast<Fill*>(context);
    if (fill->filled >= fill->monitors->GetSize()) {
        return FALSE;
    }
    (*fill->monitors)[fill->filled++] = CMonitor(monitor);
    return fill->filled < fill->monitors->GetSize();
}

struct Search {
    HMONITOR wanted;
    bool found;
};

BOOL CALLBACK FindOne(HMONITOR monitor, HDC, LPRECT, LPARAM context)
{
    auto* search = reinterpret_cast<Search*>(context);
    search->found = monitor == search->wanted;
    return !search->found;
}

bool MonitorInfo(HMONITOR monitor, MONITORINFO& info)
{
    info = {};
    info.cbSize = sizeof(info);
    return monitor != nullptr && GetMonitorServices().getMonitorInfo(monitor, &info);
}

} // namespace

BOOL CMonitor::GetMonitorRect(CRect& rect) const
{
    MONITORINFO info;
    if (!MonitorInfo(m_hMonitor, info)) {
        return FALSE;
    }
    rect = info.rcMonitor;
    return TRUE;
}

BOOL CMonitor::GetWorkAreaRect(CRect& rect) const
{
    MONITORINFO info;
    if (!MonitorInfo(m_hMonitor, info)) {
        return FALSE;
    }
    rect = info.rcWork;
    return TRUE;
}

BOOL CMonitor::IsPrimaryMonitor() const
{
    MONITORINFO info;
    return MonitorInfo(m_hMonitor, info) && (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
}

CMonitors::CMonitors()
{
    m_MonitorArray.SetSize(std::max(GetMonitorCount(), 0));
    Fill fill {&m_MonitorArray, 0};
    if (fill.monitors->GetSize() > 0) {
        GetMonitorServices().enumDisplayMonitors(nullptr, nullptr, &FillOne, reinterpret_cast<LPARAM>(&fill));
    }
    m_MonitorArray.SetSize(fill.filled);
}

CMonitors::~CMonitors() = default;

CMonitor CMonitors::GetMonitor(int index) const
{
    return m_MonitorArray[index];
}

int CMonitors::GetMonitorCount()
{
    return GetMonitorServices().getSystemMetrics(kMonitorCount);
}

CMonitor CMonitors::GetPrimaryMonitor()
{
    return CMonitor(GetMonitorServices().monitorFromPoint(POINT {0, 0}, MONITOR_DEFAULTTOPRIMARY));
}

CMonitor CMonitors::GetNearestMonitor(const POINT& point)
{
    return CMonitor(GetMonitorServices().monitorFromPoint(point, MONITOR_DEFAULTTONEAREST));
}

CMonitor CMonitors::GetNearestMonitor(const RECT& rect)
{
    return CMonitor(GetMonitorServices().monitorFromRect(&rect, MONITOR_DEFAULTTONEAREST));
}

CMonitor CMonitors::GetNearestMonitor(HWND wnd)
{
    return CMonitor(GetMonitorServices().monitorFromWindow(wnd, MONITOR_DEFAULTTONEAREST));
}

BOOL CMonitors::IsOnScreen(const POINT& point)
{
    return GetMonitorServices().monitorFromPoint(point, MONITOR_DEFAULTTONULL) != nullptr;
}

BOOL CMonitors::IsOnScreen(const RECT& rect)
{
    return GetMonitorServices().monitorFromRect(&rect, MONITOR_DEFAULTTONULL) != nullptr;
}

BOOL CMonitors::IsOnScreen(HWND wnd)
{
    return GetMonitorServices().monitorFromWindow(wnd, MONITOR_DEFAULTTONULL) != nullptr;
}

BOOL CMonitors::IsMonitor(HMONITOR monitor)
{
    if (monitor == nullptr) {
        return FALSE;
    }
    Search search {monitor, false};
    GetMonitorServices().enumDisplayMonitors(nullptr, nullptr, &FindOne, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void CMonitors::GetVirtualDesktopRect(LPRECT rect)
{
    const auto metric = GetMonitorServices().getSystemMetrics;
    rect->left = metric(kVirtualLeft);
    rect->top = metric(kVirtualTop);
    rect->right = rect->left + metric(kVirtualWidth);
    rect->bottom = rect->top + metric(kVirtualHeight);
}

BOOL CMonitors::AllMonitorsShareDisplayFormat()
{
    return GetMonitorServices().getSystemMetrics(kSameDisplayFormat);
}
