// The process seam on Windows: EnumProcesses and each process's first
// module, and starting a program from a command line.
#include "platform/Process.h"

#include "base/Types.h"
#include "platform/win32/ScopedHandle.h"

#include <psapi.h>

#include <vector>

namespace {

// Every process identifier: the buffer grows until the list fits.
bool AllProcessIds(std::vector<DWORD>& ids)
{
    ids.resize(256);
    for (;;) {
        DWORD bytes = 0;
        if (!EnumProcesses(ids.data(), DWORD(ids.size() * sizeof(DWORD)), &bytes)) {
            return false;
        }
        if (bytes < ids.size() * sizeof(DWORD)) {
            ids.resize(bytes / sizeof(DWORD));
            return true;
        }
        if (ids.size() >= (1u << 20)) {
            return true;
        }
        ids.resize(ids.size() * 2);
    }
}

} // namespace

namespace platform {

bool ListProcessNames(CStringArray& names)
{
    std::vector<DWORD> ids;
    if (!AllProcessIds(ids)) {
        return false;
    }
    for (DWORD id : ids) {
        const platform::win32::CProcessHandle process(
            OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, id));
        if (!process.IsValid()) {
            continue;
        }
        HMODULE module = nullptr;
        DWORD needed = 0;
        if (!EnumProcessModules(process.Get(), &module, sizeof module, &needed)) {
            continue;
        }
        char name[MAX_PATH] {};
        if (GetModuleBaseNameA(process.Get(), module, name, sizeof name) > 0) {
            names.Add(name);
        }
    }
    return true;
}

UINT RunCommandLine(const char* commandLine, int showCommand)
{
    return WinExec(commandLine != nullptr ? commandLine : "", static_cast<UINT>(showCommand));
}

DWORD CurrentProcessId() noexcept
{
    return GetCurrentProcessId();
}

} // namespace platform
