// What the trading-hours flag needs from the operating system and the host
// application: a periodic tick on the calling thread, and the offset between
// the workstation clock and the exchange clock.
#pragma once

#include <cstdint>

namespace platform {

// Calls `tick` every `periodMs` milliseconds on the calling thread, from its
// message loop: on Windows a window-less system timer (SetTimer without a
// window; `id` is the identifier asked for). Returns false when no such
// timer can be started, which is always the case outside Windows; callers
// then refresh on demand instead.
bool StartThreadTimer(unsigned int id, unsigned int periodMs, void (*tick)());

// Seconds to add to the workstation clock to read the exchange clock, as the
// host application reports them. On Windows the host registers a COM class
// (CLSID_OrvClockOffset) whose IOrvClockOffset::GetClockOffset gives the
// value; natively the host stand-in's global setting "ClockOffset" of
// section "GlobalSettings" does. 0 when the host gives none.
std::int32_t QueryHostClockOffset();

} // namespace platform
