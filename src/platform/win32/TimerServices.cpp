#include "platform/win32/TimerServices.h"

#include <utility>

namespace platform::win32 {
namespace {

template <class Function>
void LookUp(HMODULE module, const char* name, Function& function)
{
    function = module != nullptr
        ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)))
        : nullptr;
}

TimerServices LookUpTimerServices()
{
    const HMODULE kernel = ::GetModuleHandleA("KERNEL32.DLL");
    TimerServices services;
    LookUp(kernel, "CreateWaitableTimerA", services.createWaitableTimer);
    LookUp(kernel, "OpenWaitableTimerA", services.openWaitableTimer);
    LookUp(kernel, "SetWaitableTimer", services.setWaitableTimer);
    LookUp(kernel, "CancelWaitableTimer", services.cancelWaitableTimer);
    return services;
}

// Looked up on first use: the library's load-time objects are all built in
// one place, in a fixed order.
TimerServices& Table() noexcept
{
    static TimerServices services = LookUpTimerServices();
    return services;
}

} // namespace

const TimerServices& GetTimerServices() noexcept
{
    return Table();
}

TimerServices ReplaceTimerServices(const TimerServices& services) noexcept
{
    return std::exchange(Table(), services);
}

} // namespace platform::win32
