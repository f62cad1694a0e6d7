// File-system, process and network helpers of the user-folder functions.
#include "services/UserFolders.h"

#include "platform/FileSystem.h"
#include "platform/Network.h"
#include "platform/Process.h"

namespace {

bool IsDotEntry(const CString& name)
{
    return name == "." || name == "..";
}

int LastSeparator(const CString& path)
{
    const int backslash = path.ReverseFind('\\');
    const int slash = path.ReverseFind('/');
    return backslash > slash ? backslash : slash;
}

} // namespace

BOOL RemoveDirectoryAndFiles(const char* folder)
{
    if (folder == nullptr || *folder == '\0') {
        return FALSE;
    }
    // A link given as the folder goes as a link; what it points to stays.
    if (platform::IsLink(folder)) {
        return platform::RemoveLink(folder) ? TRUE : FALSE;
    }
    const CString base = CString(folder) + platform::kPathSeparator;
    CArray<platform::DirectoryEntry> entries;
    platform::ListDirectory(folder, "*.*", entries);
    for (int i = 0; i < entries.GetSize(); ++i) {
        const platform::DirectoryEntry& entry = entries[i];
        if (entry.isLink) {
            platform::RemoveLink(base + entry.name);
        } else if (!entry.isDirectory) {
            platform::DeleteFileAt(base + entry.name);
        } else if (!IsDotEntry(entry.name)) {
            RemoveDirectoryAndFiles(base + entry.name);
        }
    }
    return platform::RemoveFolder(folder) ? TRUE : FALSE;
}

void RecursiveFind(const char* folder, const char* pattern, CStringArray& found)
{
    if (folder == nullptr || pattern == nullptr) {
        return;
    }
    CString base = folder;
    if (base.IsEmpty() || base[base.GetLength() - 1] != platform::kPathSeparator) {
        base += platform::kPathSeparator;
    }
    CArray<platform::DirectoryEntry> entries;
    platform::ListDirectory(base, "*.*", entries);
    for (int i = 0; i < entries.GetSize(); ++i) {
        if (entries[i].isDirectory && !entries[i].isLink && !IsDotEntry(entries[i].name)) {
            RecursiveFind(base + entries[i].name, pattern, found);
        }
    }
    entries.RemoveAll();
    platform::ListDirectory(base, pattern, entries);
    for (int i = 0; i < entries.GetSize(); ++i) {
        if (!entries[i].isDirectory) {
            found.Add(base + entries[i].name);
        }
    }
}

BOOL IsDirectory(const char* path)
{
    return platform::IsFolder(path) ? TRUE : FALSE;
}

void ParseFilename(const char* path, CString& name)
{
    const CString full = path != nullptr ? path : "";
    const int separator = LastSeparator(full);
    const int point = full.ReverseFind('.');
    const int end = point > separator ? point : full.GetLength();
    name = full.Mid(separator + 1, end - separator - 1);
}

BOOL IsProcessRunning(const char* moduleName)
{
    if (moduleName == nullptr) {
        return FALSE;
    }
    CStringArray names;
    if (!platform::ListProcessNames(names)) {
        return FALSE;
    }
    for (int i = 0; i < names.GetSize(); ++i) {
        if (!names[i].IsEmpty() && names[i].CompareNoCase(moduleName) == 0) {
            return TRUE;
        }
    }
    return FALSE;
}

CString ResolveIP(const char* host)
{
    const CString text = host != nullptr ? host : "";
    if (platform::IsDottedIPv4(text)) {
        return text;
    }
    CString dotted;
    return platform::LookupIPv4(text, dotted) ? dotted : text;
}
