#include "platform/Module.h"

#include <unistd.h>

#include <vector>

namespace platform {

bool QueryExecutablePath(CString& path, int capacity)
{
    path.Empty();
    if (capacity <= 1) {
        return false;
    }
    // readlink does not terminate; one byte more than the capacity tells a
    // path that fits from one that was cut short.
    std::vector<char> buffer(std::size_t(capacity) + 1);
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length <= 0 || length >= capacity) {
        return false;
    }
    path = CString(buffer.data(), int(length));
    return true;
}

} // namespace platform
