// The module seam: loading modules, their file names and their string
// resources. On Windows these are the system's own calls. Natively there are
// no resource modules: the library's own module stands for the string table
// generated from its resource script, LoadLibraryA finds nothing, and
// GetModuleFileNameA knows the executable alone (and holds no strings).
#pragma once

#include "OrvApi.h"
#include "base/Types.h"

#include <string>

#if !defined(_WIN32)
struct HINSTANCE__;
using HINSTANCE = HINSTANCE__*;
using HMODULE = HINSTANCE;

constexpr DWORD ERROR_MOD_NOT_FOUND = 126;
constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
constexpr DWORD ERROR_RESOURCE_NAME_NOT_FOUND = 1814;

// Always null with ERROR_MOD_NOT_FOUND: no module can be loaded natively.
ORV_API HMODULE LoadLibraryA(const char* fileName);
// True for a module LoadLibraryA returned; as none exists, always false
// with ERROR_INVALID_HANDLE, except that the library's own module and the
// executable's are never unloaded and answer true.
ORV_API BOOL FreeLibrary(HMODULE module);
// The full path of the executable for a null module or the executable's
// module (from /proc/self/exe), copied as Windows does: at most size - 1
// characters and a NUL; a path that does not fit is cut, the result is size
// and the last error ERROR_INSUFFICIENT_BUFFER. 0 for any other module.
ORV_API DWORD GetModuleFileNameA(HMODULE module, char* fileName, DWORD size);
// String id of the module into buffer, cut to bufferMax - 1 characters and
// NUL-terminated; the result is the count copied, 0 when the module has no
// such string (last error ERROR_RESOURCE_NAME_NOT_FOUND) or bufferMax < 1.
// Only the library's own module holds strings.
ORV_API int LoadStringA(HINSTANCE instance, UINT id, char* buffer, int bufferMax);
#endif

namespace platform {

// The module of this library; its string resources are the library's own.
ORV_API HMODULE LibraryModule() noexcept;
// The module of the process's executable.
ORV_API HMODULE ExecutableModule() noexcept;

// The module's full file name (the executable's for null), whatever its
// length; empty on failure. This is the one way the library asks for the
// executable's path.
ORV_API std::string ModuleFileName(HMODULE module);

// String id of the module, whatever its length. False when the module has
// no such string or it is empty (the system does not tell those apart).
ORV_API bool LoadModuleString(HMODULE module, UINT id, std::string& text);

} // namespace platform
