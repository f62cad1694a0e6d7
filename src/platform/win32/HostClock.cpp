#include "platform/HostClock.h"
#include "platform/win32/ComPtr.h"

#include "base/Types.h"

#include <objbase.h>

#include <atomic>

namespace {

// The host application's clock-offset class and its one interface. The host
// registers the class; when it is not registered (or COM is not initialised
// on the calling thread) there is no offset.
// {0F80C0CD-2790-40D5-A8C9-1CB5B13CF922}
const CLSID CLSID_OrvClockOffset = { 0x0f80c0cd, 0x2790, 0x40d5, { 0xa8, 0xc9, 0x1c, 0xb5, 0xb1, 0x3c, 0xf9, 0x22 } };
// {3353ACF7-4A27-4A6F-8E3E-1CA8460B4FD5}
const IID IID_IOrvClockOffset = { 0x3353acf7, 0x4a27, 0x4a6f, { 0x8e, 0x3e, 0x1c, 0xa8, 0x46, 0x0b, 0x4f, 0xd5 } };

struct IOrvClockOffset : public IUnknown {
    // Seconds to add to the workstation clock to read the exchange clock.
    virtual HRESULT STDMETHODCALLTYPE GetClockOffset(LONG* seconds) = 0;
};

std::atomic<void (*)()> g_tick { nullptr };

void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (void (*tick)() = g_tick.load())
        tick();
}

} // namespace

namespace platform {

bool StartThreadTimer(unsigned int id, unsigned int periodMs, void (*tick)())
{
    g_tick.store(tick);
    return SetTimer(nullptr, id, periodMs, OnTimer) != 0;
}

std::int32_t QueryHostClockOffset()
{
    win32::CComPtr<IOrvClockOffset> source;
    if (FAILED(source.Create(CLSID_OrvClockOffset, IID_IOrvClockOffset)))
        return 0;
    LONG seconds = 0;
    if (FAILED(source->GetClockOffset(&seconds)))
        seconds = 0;
    return std::int32_t(seconds);
}

} // namespace platform
