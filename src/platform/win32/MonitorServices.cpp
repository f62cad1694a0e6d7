#include "platform/win32/MonitorServices.h"

namespace platform::win32 {
namespace {

MonitorServices g_monitorServices {
    &::GetSystemMetrics,  &::EnumDisplayMonitors, &::MonitorFromPoint,
    &::MonitorFromRect,   &::MonitorFromWindow,   &::GetMonitorInfoA,
};

} // namespace

const MonitorServices& GetMonitorServices() noexcept
{
    return g_monitorServices;
}

MonitorServices ReplaceMonitorServices(const MonitorServices& services) noexcept
{
    const MonitorServices replaced = g_monitorServices;
    g_monitorServices = services;
    return replaced;
}

} // namespace platform::win32
