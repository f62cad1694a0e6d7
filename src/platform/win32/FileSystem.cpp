// The file-system seam on Windows.
#include "platform/FileSystem.h"

#include "base/Types.h"
#include "platform/win32/ScopedHandle.h"

#include <string>

namespace platform {

bool ListDirectory(const char* folder, const char* pattern, CArray<DirectoryEntry>& entries)
{
    std::string search = folder;
    if (!search.empty() && search.back() != '\\' && search.back() != '/') {
        search += '\\';
    }
    search += pattern;
    WIN32_FIND_DATAA data {};
    const platform::win32::CFindHandle find(FindFirstFileA(search.c_str(), &data));
    if (!find.IsValid()) {
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

namespace {

// The attributes of the path itself, without a trailing separator.
DWORD OwnAttributes(const char* path, std::string& name)
{
    name = path != nullptr ? path : "";
    while (name.size() > 1 && (name.back() == '\\' || name.back() == '/') && name[name.size() - 2] != ':') {
        name.pop_back();
    }
    return name.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(name.c_str());
}

} // namespace

bool IsLink(const char* path)
{
    std::string name;
    const DWORD attributes = OwnAttributes(path, name);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

bool RemoveLink(const char* path)
{
    std::string name;
    const DWORD attributes = OwnAttributes(path, name);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        return false;
    }
    // A folder link goes with RemoveDirectory, which leaves its target alone.
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? RemoveDirectoryA(name.c_str()) != FALSE
                                                        : DeleteFileA(name.c_str()) != FALSE;
}

bool IsFolder(const char* path)
{
    if (path == nullptr) {
        return false;
    }
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool TempFolder(CString& folder)
{
    char buffer[MAX_PATH] {};
    const DWORD length = GetTempPathA(MAX_PATH - 1, buffer);
    if (length == 0 || length >= MAX_PATH - 1) {
        if (length != 0) {
            SetLastError(ERROR_INSUFFICIENT_BUFFER);
        }
        return false;
    }
    folder = buffer;
    return true;
}

} // namespace platform
