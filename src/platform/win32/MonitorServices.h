// The display-monitor services of USER32.DLL, bound when the library loads
// and reached through this table. A test may put its own table in place for
// a while, to stand in for monitors the machine does not have (a second
// monitor left of the primary, one that goes away).
#pragma once

#include "OrvApi.h"
#include "base/Types.h"

namespace platform::win32 {

struct MonitorServices {
    int(WINAPI* getSystemMetrics)(int);
    BOOL(WINAPI* enumDisplayMonitors)(HDC, LPCRECT, MONITORENUMPROC, LPARAM);
    HMONITOR(WINAPI* monitorFromPoint)(POINT, DWORD);
    HMONITOR(WINAPI* monitorFromRect)(LPCRECT, DWORD);
    HMONITOR(WINAPI* monitorFromWindow)(HWND, DWORD);
    BOOL(WINAPI* getMonitorInfo)(HMONITOR, LPMONITORINFO);
};

// The table in use. Every entry must be set.
ORV_API const MonitorServices& GetMonitorServices() noexcept;
// Puts services in place of the table in use and returns the one replaced,
// for the caller to put back. Not for production code.
ORV_API MonitorServices ReplaceMonitorServices(const MonitorServices& services) noexcept;

} // namespace platform::win32
