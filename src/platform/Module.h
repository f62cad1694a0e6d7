// The running program as the operating system knows it.
#pragma once

#include "framework/String.h"

namespace platform {

// Sets `path` to the full path of the process's executable and returns true
// when it is known and shorter than `capacity` characters (the capacity
// counts the terminator, as a Win32 path buffer does). Otherwise returns
// false and leaves `path` empty. Windows: GetModuleFileNameA; elsewhere the
// link /proc/self/exe.
bool QueryExecutablePath(CString& path, int capacity);

} // namespace platform
