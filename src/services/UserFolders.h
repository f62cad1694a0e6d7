// The product's folders, the per-user copy of shared files, the first-run
// check, shortcut clean-up and creation, and file-system and network
// helpers: exported free functions. Paths are byte strings in the process
// code page, with the platform's separator ('\\' on Windows, '/' natively).
#pragma once

#include "OrvApi.h"
#include "framework/Array.h"
#include "framework/String.h"
#include "platform/Shell.h"
#include "base/Types.h"
#include "text/HostPaths.h"

// The folder of the running executable, with a trailing separator.
ORV_API CString GetAppPath();

// The host's working, per-user and all-users folders. FALSE (and the
// folder untouched) when the host fails or gives an empty text.
ORV_API BOOL GetWorkingDirectory(CString& folder);
ORV_API BOOL GetUserDirectory(CString& folder);
ORV_API BOOL GetAllUsersDirectory(CString& folder);

// The step behind those three, for any host folder function of that shape
// (it writes at most capacity characters, terminator included, and reports
// success as nonzero): TRUE and the folder only when the host reports
// success and gives a non-empty text.
using HostFolderFunction = int (*)(char* buffer, int capacity);
ORV_API BOOL GetHostFolder(HostFolderFunction host, CString& folder);

// Creates user folder + subfolder (joined as they are, so the subfolder
// starts with a separator). With copyFromAllUsers, copies every file of
// all-users folder + subfolder into it; an existing file is replaced only
// with overwrite. Failures are not reported.
ORV_API void CreateUserDirectory(const char* subfolder, BOOL copyFromAllUsers, BOOL overwrite);

// 1 the first time the installed build runs for this Windows user, else
// 0: compares the host's "InstallTime" global setting with the value
// "InstallTime<user>" under the global settings key and writes it when they
// differ (or when the install time is empty). 0 when the key cannot be
// opened.
ORV_API int CheckFirstRunForWinUser(const char* windowsUserName);

// Deletes the shortcuts and Start menu folders left by earlier product
// names and, when the "QuickLaunch" global setting starts with 'A', creates
// a Quick Launch shortcut to the executable. A step whose special folder is
// missing is skipped. Natively no shortcut is created (CreateLink fails).
ORV_API void CleanupAndCreateShellLinks();

// A shortcut file at link pointing at target; the shell's result code,
// negative on failure (natively E_NOTIMPL). COM must be initialised.
ORV_API HRESULT CreateLink(const char* target, const char* link, const char* description);

// Deletes folder with all its files and subfolders; nonzero when the folder
// itself was removed.
ORV_API BOOL RemoveDirectoryAndFiles(const char* folder);

// Appends the full paths of the files matching pattern in folder and in all
// its subfolders; a subfolder's files come before the folder's own.
ORV_API void RecursiveFind(const char* folder, const char* pattern, CStringArray& found);

ORV_API BOOL IsDirectory(const char* path);

// The name of the file without its folder and extension. The extension is
// the text after the last point that follows the last separator ('\\' or
// '/').
ORV_API void ParseFilename(const char* path, CString& name);

// TRUE when a running process's executable has this base name (case
// ignored).
ORV_API BOOL IsProcessRunning(const char* moduleName);

// A dotted IPv4 address as it is; otherwise the host's first IPv4 address,
// or the text unchanged when the look-up fails.
ORV_API CString ResolveIP(const char* host);
