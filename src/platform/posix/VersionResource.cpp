#include "platform/VersionResource.h"

#include "platform/LastError.h"

#include <unistd.h>

#include <vector>

namespace {

constexpr DWORD kErrorFileNotFound = 2;
constexpr DWORD kErrorResourceTypeNotFound = 1813;

} // namespace

namespace platform {

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
