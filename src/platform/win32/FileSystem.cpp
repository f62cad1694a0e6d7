// The file-system seam on Windows.
#include "platform/FileSystem.h"

#include "base/Types.h"

#include <string>

namespace {

// Closes a find handle when the scope ends.
class CFindHandle {
public:
    explicit CFindHandle(HANDLE handle) : m_handle(handle) {}
    ~CFindHandle()
    {
        if (m_handle != INVALID_HANDLE_VALUE) {
            FindClose(m_handle);
        }
    }
    CFindHandle(const CFindHandle&) = delete;
    CFindHandle& operator=(const CFindHandle&) = delete;
    HANDLE Get() const { return m_handle; }

private:
    HANDLE m_handle;
};

} // namespace

namespace platform {

bool ListDirectory(const char* folder, const char* pattern, CArray<DirectoryEntry>& entries)
{
    std::string search = folder;
    if (!search.empty() && search.back() != '\\' && search.back() != '/') {
        search += '\\';
    }
    search += pattern;
    WIN32_FIND_DATAA data {};
    CFindHandle find(FindFirstFileA(search.c_str(), &data));
    if (find.Get() == INVALID_HANDLE_VALUE) {
        return false;
    }
    do {
        DirectoryEntry entry;
        entry.name = data.cFileName;
        entry.isDirectory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entry.isLink = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        entries.Add(entry);
    } while (FindNextFileA(find.Get(), &data));
    return true;
}

bool CreateFolder(const char* path)
{
    return CreateDirectoryA(path, nullptr) || (GetLastError() == ERROR_ALREADY_EXISTS && IsFolder(path));
}

bool CopyFileTo(const char* source, const char* target, bool failIfExists)
{
    if (failIfExists && GetFileAttributesA(target) != INVALID_FILE_ATTRIBUTES) {
        return false;
    }
    const std::string temporary = std::string(target) + ".orvcopy-" + std::to_string(GetCurrentProcessId());
    if (!CopyFileA(source, temporary.c_str(), FALSE)) {
        DeleteFileA(temporary.c_str());
        return false;
    }
    if (MoveFileExA(temporary.c_str(), target, failIfExists ? 0 : MOVEFILE_REPLACE_EXISTING)) {
        return true;
    }
    DeleteFileA(temporary.c_str());
    return false;
}

bool DeleteFileAt(const char* path)
{
    return DeleteFileA(path) != FALSE;
}

bool RemoveFolder(const char* path)
{
    return RemoveDirectoryA(path) != FALSE;
}

bool IsFolder(const char* path)
{
    if (path == nullptr) {
        return false;
    }
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

} // namespace platform
