#include "platform/win32/MonitorServices.h"

#include <utility>

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
    return std::exchange(g_monitorServices, services);
}

} // namespace platform::win32
