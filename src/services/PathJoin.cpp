#include "services/PathJoin.h"

#include "platform/FileSystem.h"

namespace orv {

namespace {

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

} // namespace

CString JoinPath(const CString& folder, const char* part)
{
    if (part == nullptr) {
        part = "";
    }
    while (IsSeparator(*part)) {
        ++part;
    }
    if (*part == '\0') {
        return folder;
    }
    if (folder.IsEmpty()) {
        return CString(part);
    }
    if (IsSeparator(folder[folder.GetLength() - 1])) {
        return folder + part;
    }
    return folder + platform::kPathSeparator + part;
}

} // namespace orv
