// The kernel's waitable-timer services, looked up in KERNEL32.DLL once, on
// first use, and reached through this table. A test may put its own
// table in place for a while, to see what the library hands the system or to
// stand in for a system without the services.
#pragma once

#include "OrvApi.h"
#include "base/Types.h"

namespace platform::win32 {

struct TimerServices {
    HANDLE(WINAPI* createWaitableTimer)(LPSECURITY_ATTRIBUTES, BOOL, LPCSTR) = nullptr;
    HANDLE(WINAPI* openWaitableTimer)(DWORD, BOOL, LPCSTR) = nullptr;
    BOOL(WINAPI* setWaitableTimer)(HANDLE, const LARGE_INTEGER*, LONG, PTIMERAPCROUTINE, LPVOID, BOOL) = nullptr;
    BOOL(WINAPI* cancelWaitableTimer)(HANDLE) = nullptr;
};

// The table in use; a service the system lacks is null.
ORV_API const TimerServices& GetTimerServices() noexcept;
// Puts services in place of the table in use and returns the one replaced,
// for the caller to put back. Not for production code.
ORV_API TimerServices ReplaceTimerServices(const TimerServices& services) noexcept;

} // namespace platform::win32
