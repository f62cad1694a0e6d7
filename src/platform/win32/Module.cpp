#include "platform/Module.h"

#include "platform/Types.h"

namespace platform {

bool QueryExecutablePath(CString& path, int capacity)
{
    path.Empty();
    if (capacity <= 1) {
        return false;
    }
    char* buffer = path.GetBuffer(capacity);
    const DWORD length = GetModuleFileNameA(nullptr, buffer, DWORD(capacity));
    // A full buffer means the path was cut short.
    const bool fits = length > 0 && length < DWORD(capacity);
    path.ReleaseBuffer(fits ? int(length) : 0);
    return fits;
}

} // namespace platform
