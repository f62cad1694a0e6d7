// The file-system seam: listing, copying, deleting and creating files and
// folders with byte-string paths in the process code page. On Windows the
// kernel's A functions; elsewhere POSIX calls with the same results.
#pragma once

#include "OrvApi.h"
#include "framework/Array.h"
#include "framework/String.h"

namespace platform {

// The separator of path parts: '\\' on Windows, '/' elsewhere.
#if defined(_WIN32)
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

struct DirectoryEntry {
    CString name; // the entry's name alone
    bool isDirectory = false;
    // A symbolic link or junction: natively never a directory here (the
    // link itself is listed); on Windows a directory link has both flags.
    // Walks never descend into links.
    bool isLink = false;
};

// The entries of folder whose names match pattern, in the system's order.
// Patterns use '*' and '?' and compare without case; "*.*" matches every
// name. As on Windows, "." and ".." are listed when they match. False when
// the folder cannot be read or nothing matches.
ORV_API bool ListDirectory(const char* folder, const char* pattern, CArray<DirectoryEntry>& entries);

// Creates one folder; true when it was made or already exists as a folder.
ORV_API bool CreateFolder(const char* path);
// Copies a file; with failIfExists an existing target is kept and the call
// fails. The copy is made beside the target and then renamed over it, so a
// failed copy never leaves a partial target.
ORV_API bool CopyFileTo(const char* source, const char* target, bool failIfExists);
ORV_API bool DeleteFileAt(const char* path);
// Removes an empty folder.
ORV_API bool RemoveFolder(const char* path);
ORV_API bool IsFolder(const char* path);
// True when the path itself is a symbolic link or junction (a trailing
// separator is ignored, so "link/" names the link, not its target).
ORV_API bool IsLink(const char* path);
// Removes a link itself, to a file or a folder; never what it points to.
ORV_API bool RemoveLink(const char* path);

// The folder for temporary files, ending in a separator: GetTempPathA on
// Windows (at most 259 characters), else TMPDIR or "/tmp/". False, with the
// last error set, when the system cannot give one.
ORV_API bool TempFolder(CString& folder);

} // namespace platform
