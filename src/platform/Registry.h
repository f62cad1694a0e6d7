// The registry seam. On Windows these are the system's own registry calls
// (advapi32) and SHDeleteKeyA (shlwapi). Elsewhere the same names, types,
// constants and results are provided by a file-backed store
// (posix/Registry.cpp), described below.
//
// The native store keeps one tree per predefined root. Key and value names
// compare without regard to ASCII case, as on Windows; subkeys enumerate in
// name order without case, values in the order they were first set. Values
// keep their type and bytes exactly.
//
// It lives in the file named by $ORV_REGISTRY_FILE, else in
// $XDG_CONFIG_HOME (or ~/.config) under "Velkor/ORV Desktop/registry.txt".
// Every change is written to a temporary file beside it, flushed to disk and
// renamed over it, under an exclusive lock on "<store>.lock", so that a
// crash or a failed write leaves the previous store whole and a concurrent
// process never sees half a change. When a write fails, the call returns
// ERROR_REGISTRY_IO_FAILED and the store in memory is put back as it was.
// The process keeps the tree in memory and rereads the file whenever its
// identity, size or modification time has changed since it was last read,
// which every call checks: one stat per call, and changes made by other
// processes are seen at once. A store file that cannot be parsed is never
// overwritten: every call then fails with ERROR_REGISTRY_CORRUPT until the
// file is repaired or removed.
//
// Differences from Windows, all outside what callers here rely on: security
// descriptors, classes and last-write times are not kept (classes read back
// empty, times as zero); a handle names its key by path, so a key deleted
// and created again under the same path is reached again by old handles
// (Windows answers ERROR_KEY_DELETED, as the store does while the key is
// missing); REG_OPTION_VOLATILE keys are written to the file with the boot
// identifier and dropped when the file is read after a restart (on systems
// without /proc/sys/kernel/random/boot_id they persist); HKEY_CLASSES_ROOT
// is a tree of its own, not a merged view.
#pragma once

#include "OrvApi.h"
#include "base/Types.h"

#if defined(_WIN32)
#  include <winreg.h>
#  include <shlwapi.h>
#else
#  include "platform/SystemTime.h"

#  include <cstdint>

struct HKEY__;
using HKEY = HKEY__*;
using PHKEY = HKEY*;
using REGSAM = DWORD;
struct SECURITY_ATTRIBUTES;

#  define HKEY_CLASSES_ROOT (reinterpret_cast<HKEY>(std::uintptr_t{0x80000000}))
#  define HKEY_CURRENT_USER (reinterpret_cast<HKEY>(std::uintptr_t{0x80000001}))
#  define HKEY_LOCAL_MACHINE (reinterpret_cast<HKEY>(std::uintptr_t{0x80000002}))
#  define HKEY_USERS (reinterpret_cast<HKEY>(std::uintptr_t{0x80000003}))
#  define HKEY_CURRENT_CONFIG (reinterpret_cast<HKEY>(std::uintptr_t{0x80000005}))

constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_EXPAND_SZ = 2;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;
constexpr DWORD REG_MULTI_SZ = 7;
constexpr DWORD REG_QWORD = 11;

constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_SET_VALUE = 0x0002;
constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr REGSAM KEY_NOTIFY = 0x0010;
constexpr REGSAM KEY_CREATE_LINK = 0x0020;
constexpr REGSAM KEY_WOW64_64KEY = 0x0100;
constexpr REGSAM KEY_WOW64_32KEY = 0x0200;
constexpr REGSAM KEY_READ = 0x20019;
constexpr REGSAM KEY_WRITE = 0x20006;
constexpr REGSAM KEY_EXECUTE = KEY_READ;
constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
constexpr DWORD REG_OPTION_VOLATILE = 1;

constexpr DWORD REG_CREATED_NEW_KEY = 1;
constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

constexpr LONG ERROR_SUCCESS = 0;
constexpr LONG ERROR_FILE_NOT_FOUND = 2;
constexpr LONG ERROR_ACCESS_DENIED = 5;
constexpr LONG ERROR_INVALID_HANDLE = 6;
constexpr LONG ERROR_OUTOFMEMORY = 14;
constexpr LONG ERROR_BAD_PATHNAME = 161;
constexpr LONG ERROR_MORE_DATA = 234;
constexpr LONG ERROR_NO_MORE_ITEMS = 259;
constexpr LONG ERROR_REGISTRY_CORRUPT = 1015;
constexpr LONG ERROR_REGISTRY_IO_FAILED = 1016;
constexpr LONG ERROR_KEY_DELETED = 1018;
constexpr LONG ERROR_KEY_HAS_CHILDREN = 1020;
constexpr LONG ERROR_CHILD_MUST_BE_VOLATILE = 1021;

// The Win32 calls with their parameters and results. Names of 256
// characters or more per key level, and value names of 16384 or more, fail
// with ERROR_INVALID_PARAMETER. A path may end in a backslash; one that
// begins with a backslash or holds an empty level fails with
// ERROR_BAD_PATHNAME. RegDeleteKeyA of a key that has subkeys fails with
// ERROR_ACCESS_DENIED, as on Windows.
ORV_API LONG RegOpenKeyExA(HKEY key, const char* subKey, DWORD options, REGSAM desired, PHKEY result);
ORV_API LONG RegCreateKeyExA(HKEY key, const char* subKey, DWORD reserved, char* keyClass, DWORD options,
                             REGSAM desired, const SECURITY_ATTRIBUTES* security, PHKEY result,
                             DWORD* disposition);
ORV_API LONG RegCloseKey(HKEY key);
ORV_API LONG RegQueryValueExA(HKEY key, const char* valueName, DWORD* reserved, DWORD* type, BYTE* data,
                              DWORD* dataSize);
ORV_API LONG RegSetValueExA(HKEY key, const char* valueName, DWORD reserved, DWORD type, const BYTE* data,
                            DWORD dataSize);
ORV_API LONG RegDeleteValueA(HKEY key, const char* valueName);
ORV_API LONG RegDeleteKeyA(HKEY key, const char* subKey);
ORV_API LONG SHDeleteKeyA(HKEY key, const char* subKey);
ORV_API LONG RegQueryInfoKeyA(HKEY key, char* keyClass, DWORD* classLength, DWORD* reserved, DWORD* subKeys,
                              DWORD* maxSubKeyLength, DWORD* maxClassLength, DWORD* values,
                              DWORD* maxValueNameLength, DWORD* maxValueLength, DWORD* securityDescriptor,
                              FILETIME* lastWriteTime);
ORV_API LONG RegEnumKeyExA(HKEY key, DWORD index, char* name, DWORD* nameLength, DWORD* reserved,
                           char* keyClass, DWORD* classLength, FILETIME* lastWriteTime);
ORV_API LONG RegEnumValueA(HKEY key, DWORD index, char* name, DWORD* nameLength, DWORD* reserved, DWORD* type,
                           BYTE* data, DWORD* dataSize);

namespace platform {

// The system's English text for a registry error code, as FormatMessage
// gives it on Windows (without the line break); null for codes it does not
// know. Windows callers use FormatMessageA itself.
ORV_API const char* RegistryErrorText(LONG code);

} // namespace platform
#endif
