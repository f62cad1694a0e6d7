// The process seam: the executable names of the running processes and (on
// Windows) starting a program.
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

#if defined(_WIN32)
// Starts the program named by the command line with the show command
// (WinExec), without waiting for it. Returns WinExec's result: above 31 on
// success, else an error code such as 2 (file not found) or 3 (path not
// found). Windows only, for the library's windows.
ORV_API UINT RunCommandLine(const char* commandLine, int showCommand);
#endif

// The identifier of the calling process.
ORV_API DWORD CurrentProcessId() noexcept;

} // namespace platform
