// The message box's idle pulse: while a box is open on the thread of the
// window that the companion library OrvInject2.dll names in its shared
// record, that window gets RWM_ORV_FORWARDIDLE every 120 ms.
#pragma once

#include "OrvApi.h"
#include "base/Types.h"

namespace hooked_msgbox {

// Looks the target up on first use in the process; counts one more box and
// starts the pulse when the target lives on this thread. Returns whether it
// counted the box.
bool StartIdlePulse();
// Counts one box less; the pulse stops with the last.
void StopIdlePulse();
// Forgets the target so that the next box looks it up again.
ORV_API void ResetIdleTarget();
// The window the pulse goes to, null when there is none.
ORV_API HWND IdleTarget();

} // namespace hooked_msgbox
