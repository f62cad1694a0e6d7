#include "market/DataPath.h"

#include "Kestrel.h"
#include "platform/Path.h"

namespace {
constexpr int kPathRoom = 261;
constexpr int kPathCapacity = 260;
} // namespace

CString GetDataPath(const char* fileName)
{
    char path[kPathRoom] = {};
    HostGetUserDirectory(path, kPathCapacity);
    PathAppendA(path, "data");
    PathAppendA(path, fileName != nullptr ? fileName : "");
    return CString(path);
}
