// The process seam: the executable names of the running processes.
#pragma once

#include "OrvApi.h"
#include "framework/Array.h"

namespace platform {

// The base names of the executables of the running processes that can be
// opened for query and read access (others are skipped). On Windows the
// name of each process's first module (EnumProcesses, GetModuleBaseNameA),
// elsewhere the name of /proc/<pid>/exe. False when the list of processes
// cannot be taken.
ORV_API bool ListProcessNames(CStringArray& names);

} // namespace platform
