// The calling thread's last-error value. On Windows this is the system's own
// SetLastError/GetLastError; elsewhere a thread-local integer that carries the
// same numbers, so that callers read identical codes on both systems.
#pragma once

#include "OrvApi.h"
#include "base/Types.h"

#if !defined(_WIN32)
ORV_API void SetLastError(DWORD error);
ORV_API DWORD GetLastError();
#endif
