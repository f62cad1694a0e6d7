// CMonitors, the display monitors and which of them holds a point, rectangle
// or window; CMonitor, one monitor.
#pragma once

#include "OrvApi.h"
#include "base/Types.h"
#include "framework/Array.h"
#include "framework/Geometry.h"

// One display monitor, by its handle. A default monitor holds no handle.
class ORV_API CMonitor {
public:
    CMonitor() = default;
    explicit CMonitor(HMONITOR monitor) noexcept : m_hMonitor(monitor) {}

    HMONITOR GetHandle() const noexcept { return m_hMonitor; }
    friend bool operator==(const CMonitor& left, const CMonitor& right) noexcept
    {
        return left.m_hMonitor == right.m_hMonitor;
    }

    // The monitor's bounds and its work area in virtual-screen coordinates,
    // and whether it is the primary; false (and the rectangle untouched)
    // when the handle is no current monitor.
    BOOL GetMonitorRect(CRect& rect) const;
    BOOL GetWorkAreaRect(CRect& rect) const;
    BOOL IsPrimaryMonitor() const;

private:
    HMONITOR m_hMonitor = nullptr;
};

// The system calls come from the table of platform/win32/MonitorServices.h.
class ORV_API CMonitors {
public:
    // The monitors in the system's enumeration order. The array is sized by
    // the monitor count (system metric 80) and filled by enumeration up to
    // that size; when fewer monitors are enumerated (one went away
    // meanwhile) the array holds only those.
    CMonitors();
    virtual ~CMonitors();

    // A copy of the monitor at index; an index outside the array throws
    // CInvalidArgException.
    CMonitor GetMonitor(int index) const;
    // The number of monitors the array holds.
    int GetCount() const noexcept { return m_MonitorArray.GetSize(); }

    // System metric 80, asked now.
    static int GetMonitorCount();
    // The monitor holding (0, 0), else the primary one.
    static CMonitor GetPrimaryMonitor();
    // The monitor holding the point, the largest part of the rectangle or of
    // the window, or else the nearest one.
    static CMonitor GetNearestMonitor(const POINT& point);
    static CMonitor GetNearestMonitor(const RECT& rect);
    static CMonitor GetNearestMonitor(HWND wnd = nullptr);
    // True when some monitor holds the point, or part of the rectangle or
    // window.
    static BOOL IsOnScreen(const POINT& point);
    static BOOL IsOnScreen(const RECT& rect);
    static BOOL IsOnScreen(HWND wnd);
    // True when the handle is one of the monitors enumerated now; a null
    // handle is false.
    static BOOL IsMonitor(HMONITOR monitor);
    // The bounds of all monitors: origin from metrics 76 and 77, size from
    // metrics 78 and 79.
    static void GetVirtualDesktopRect(LPRECT rect);
    // System metric 81.
    static BOOL AllMonitorsShareDisplayFormat();

private:
    CArray<CMonitor> m_MonitorArray;
};
