// The shell seam: the user's special folders, shell shortcuts and (on Windows)
// opening documents. On Windows these are the shell's own
// (SHGetSpecialFolderPathA, the ShellLink object, ShellExecuteA); elsewhere
// the folder roles map to the XDG folders and there are no shortcuts.
#pragma once

#include "OrvApi.h"
#include "framework/String.h"
#include "base/Types.h"

namespace platform {

// The folder roles the library uses. Natively:
//   AppData   $XDG_DATA_HOME, else $HOME/.local/share
//   Desktop   $XDG_DESKTOP_DIR, else $HOME/Desktop
//   Programs  the AppData folder + "/applications"
enum class SpecialFolder { AppData, Desktop, Programs };

// The folder without a trailing separator; false when the system has none
// or (natively) it does not exist.
ORV_API bool GetSpecialFolderPath(SpecialFolder folder, CString& path);

// Saves a shortcut to target at link (through the ShellLink object; COM
// must be initialised on the thread). The result of the save or of the
// first step that failed; natively always E_NOTIMPL.
ORV_API HRESULT CreateShellLink(const char* target, const char* link, const char* description);

#if defined(_WIN32)
// Opens the file or address in the handler the shell associates with it
// (ShellExecuteA with the "open" verb and the show command). Returns the
// shell's result: above 32 on success, else an error code such as 2 (file
// not found) or 31 (no associated application). Windows only: natively there
// is no shell to hand documents to.
ORV_API INT_PTR ShellOpen(const char* file, int showCommand);
#endif

// Initialises COM for the current thread for its lifetime (apartment
// threaded) and uninitialises it after, when the initialisation succeeded.
// Natively it does nothing.
class ORV_API CComScope {
public:
    CComScope();
    ~CComScope();
    CComScope(const CComScope&) = delete;
    CComScope& operator=(const CComScope&) = delete;

private:
    bool m_initialised = false;
};

} // namespace platform
