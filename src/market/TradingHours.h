// The outside-regular-hours flag that the profit-and-loss calculation reads:
// set when the exchange clock is before 09:30 or after 15:59, cleared from
// 09:30 to 15:59.
#pragma once

#include "OrvApi.h"

#include <cstdint>

namespace orv::market {

// The flag, read without locking. The first call in the process evaluates
// it and starts its refresh every 2000 ms: on Windows a window-less system
// timer (identifier 5100) on the calling thread, served by that thread's
// message loop; elsewhere a later call re-evaluates it once 2000 ms have
// passed since the last evaluation. An evaluation already running on
// another thread is not waited for; the flag as last set is used.
bool IsOutsideRegularHours();

// Test hook: evaluates the flag from `now` (seconds since 1970, the
// workstation clock) and `offset` (the host's clock offset in seconds)
// instead of the real clock and the host, and re-evaluates it at once.
// A null function restores the real source; a null offset source also
// makes the next evaluation ask the host again.
ORV_API void SetTradingClockForTesting(std::int64_t (*now)(), std::int32_t (*offset)());

} // namespace orv::market
