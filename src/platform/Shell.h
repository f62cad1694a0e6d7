// The shell seam: the user's special folders, the running executable's
// path and shell shortcuts. On Windows these are the shell's own
// (SHGetSpecialFolderPathA, GetModuleFileNameA, the ShellLink object);
// elsewhere the folder roles map to the XDG folders and there are no
// shortcuts.
#pragma once

#include "OrvApi.h"
#include "framework/String.h"
#include "platform/Types.h"

#if !defined(_WIN32)
using HRESULT = LONG;
// What CreateShellLink answers where there is no shell.
inline constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
#endif

namespace platform {

// The folder roles the library uses. Natively:
//   AppData   $XDG_DATA_HOME, else $HOME/.local/share
//   Desktop   $XDG_DESKTOP_DIR, else $HOME/Desktop
//   Programs  the AppData folder + "/applications"
enum class SpecialFolder { AppData, Desktop, Programs };

// The folder without a trailing separator; false when the system has none
// or (natively) it does not exist.
ORV_API bool GetSpecialFolderPath(SpecialFolder folder, CString& path);

// The full path of the running program; empty when it cannot be found.
ORV_API CString GetExecutablePath();

// Saves a shortcut to target at link (through the ShellLink object; COM
// must be initialised on the thread). The result of the save or of the
// first step that failed; natively always E_NOTIMPL.
ORV_API HRESULT CreateShellLink(const char* target, const char* link, const char* description);

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
