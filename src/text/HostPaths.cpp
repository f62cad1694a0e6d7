#include "text/HostPaths.h"

#include "Kestrel.h"
#include "platform/PathJoin.h"

namespace {

// The host writes at most this many characters, terminator included.
constexpr int kFolderCapacity = 260;

CString UserFolderJoined(const char* part, const char* fileName)
{
    char user[kFolderCapacity + 1] {};
    if (!HostGetUserDirectory(user, kFolderCapacity))
        user[0] = '\0';
    return platform::JoinPath(platform::JoinPath(CString(user), part), fileName);
}

} // namespace

CString GetDataPath(const char* fileName)
{
    return UserFolderJoined("data", fileName);
}

CString GetLogsPath(const char* fileName)
{
    return UserFolderJoined("logs", fileName);
}
