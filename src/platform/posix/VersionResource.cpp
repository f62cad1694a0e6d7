#include "platform/VersionResource.h"

#include "platform/LastError.h"

#include <unistd.h>

#include <vector>

namespace {

constexpr DWORD kErrorFileNotFound = 2;
constexpr DWORD kErrorResourceTypeNotFound = 1813;

} // namespace

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

bool ReadVersionResource(const char* path, CByteArray& block)
{
    block.RemoveAll();
    const bool exists = path != nullptr && *path != '\0' && ::access(path, F_OK) == 0;
    SetLastError(exists ? kErrorResourceTypeNotFound : kErrorFileNotFound);
    return false;
}

bool QueryFixedVersion(const CByteArray&, FixedVersionWords&)
{
    return false;
}

bool QueryFirstTranslation(const CByteArray&, WORD&, WORD&)
{
    return false;
}

bool QueryVersionString(const CByteArray&, const char*, CString& value)
{
    value.Empty();
    return false;
}

} // namespace platform
