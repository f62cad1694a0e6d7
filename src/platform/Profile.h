// The INI-file ("private profile") seam, with the file-system calls the
// settings stores need. On Windows these are the system's own functions
// (kernel32, and PathFileExistsA from shlwapi). Elsewhere posix/Profile.cpp
// provides them with the same results:
//
// - Section and key names compare without regard to ASCII case; the first
//   section and the first key of a name count. Names and values are read
//   with surrounding blanks removed, and a value enclosed in matching single
//   or double quotes loses them. Lines beginning with ';' are comments.
// - Writes keep every other line as it was and the order of keys; a new key
//   goes after the last key of its section, a new section at the end. The
//   file is written with CRLF line ends, atomically (a temporary file, then
//   a rename) under a lock on "<file>.lock", like the registry store.
// - Texts that would break the file's lines (a line break in any name or
//   value, '=' in a key name, ']' in a section name) are refused: FALSE,
//   with ERROR_INVALID_PARAMETER as the last error, and nothing is written.
// - Paths may use '\' or '/'. A bare file name, without any folder, names a
//   file in the Windows directory, as on Windows.
// - GetWindowsDirectoryA answers "$KESTREL_ROOT/Windows" when that variable
//   is set, else "Velkor/ORV Desktop/Windows" under $XDG_DATA_HOME (or
//   ~/.local/share), beside the host's own folders; it is created on demand.
#pragma once

#include "OrvApi.h"
#include "base/Types.h"

#if defined(_WIN32)
#  include <shlwapi.h>
#else
#  include "platform/LastError.h"

// A null section lists the section names, a null key the key names of the
// section, each followed by a NUL and the list by another; a list that does
// not fit is cut and ends in two NULs, and the result is then size - 2.
// Otherwise the value, or defaultText (null: ""), cut to size - 1
// characters. Returns the number of characters copied, without the NUL.
ORV_API DWORD GetPrivateProfileStringA(const char* section, const char* key, const char* defaultText,
                                       char* buffer, DWORD size, const char* file);
// A null value deletes the key, a null key the whole section; the file is
// made when a value is written to a file that does not exist.
ORV_API BOOL WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                        const char* file);
// Replaces the section's lines with the double-NUL-terminated list of
// "key=value" strings in text; a null text deletes the section.
ORV_API BOOL WritePrivateProfileSectionA(const char* section, const char* text, const char* file);
ORV_API BOOL PathFileExistsA(const char* path);
// Returns the length copied without the NUL, or the size needed with the
// NUL when size is too small; 0 when the folder cannot be made.
ORV_API UINT GetWindowsDirectoryA(char* buffer, UINT size);
#endif
