// The shell seam without a shell: the XDG folders and no shortcuts.
#include "platform/Shell.h"

#include "platform/FileSystem.h"

#include <cstdlib>
#include <unistd.h>

namespace {

// An environment variable that holds an absolute path, else empty.
CString AbsoluteFromEnvironment(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr && value[0] == '/' ? CString(value) : CString();
}

CString DataHome()
{
    CString folder = AbsoluteFromEnvironment("XDG_DATA_HOME");
    if (folder.IsEmpty()) {
        const CString home = AbsoluteFromEnvironment("HOME");
        if (!home.IsEmpty()) {
            folder = home + "/.local/share";
        }
    }
    return folder;
}

CString WithoutTrailingSeparators(CString path)
{
    while (path.GetLength() > 1 && path[path.GetLength() - 1] == '/') {
        path = path.Left(path.GetLength() - 1);
    }
    return path;
}

} // namespace

namespace platform {

bool GetSpecialFolderPath(SpecialFolder folder, CString& path)
{
    CString found;
    switch (folder) {
    case SpecialFolder::AppData:
        found = DataHome();
        break;
    case SpecialFolder::Desktop: {
        found = AbsoluteFromEnvironment("XDG_DESKTOP_DIR");
        const CString home = AbsoluteFromEnvironment("HOME");
        if (found.IsEmpty() && !home.IsEmpty()) {
            found = home + "/Desktop";
        }
        break;
    }
    case SpecialFolder::Programs:
        found = DataHome();
        if (!found.IsEmpty()) {
            found += "/applications";
        }
        break;
    }
    found = WithoutTrailingSeparators(found);
    if (found.IsEmpty() || !IsFolder(found)) {
        return false;
    }
    path = found;
    return true;
}

CString GetExecutablePath()
{
    CString path;
    for (int size = 256; size <= 65536; size *= 2) {
        char* buffer = path.GetBuffer(size);
        const ssize_t length = ::readlink("/proc/self/exe", buffer, std::size_t(size));
        if (length < 0) {
            path.ReleaseBuffer(0);
            return path;
        }
        if (length < size) {
            path.ReleaseBuffer(int(length));
            return path;
        }
        path.ReleaseBuffer(0);
    }
    return path;
}

HRESULT CreateShellLink(const char*, const char*, const char*)
{
    return E_NOTIMPL;
}

CComScope::CComScope() = default;

CComScope::~CComScope() = default;

} // namespace platform
