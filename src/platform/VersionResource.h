// A module's version resource. On Windows these forward to the system (the
// version library's GetFileVersionInfoSizeA, GetFileVersionInfoA and
// VerQueryValueA).
// Native modules carry no version resource: there ReadVersionResource always
// fails, with the last error Windows gives for a file without one
// (ERROR_RESOURCE_TYPE_NOT_FOUND, or ERROR_FILE_NOT_FOUND for a missing file).
#pragma once

#include "framework/Array.h"
#include "framework/String.h"
#include "base/Types.h"

namespace platform {

// The fixed block's version numbers, each as two 32-bit words: the most
// significant word holds major (upper half) and minor, the least
// significant word build (upper half) and revision.
struct FixedVersionWords {
    DWORD fileMS = 0;
    DWORD fileLS = 0;
    DWORD productMS = 0;
    DWORD productLS = 0;
};

// Reads the whole version resource of the module at `path` into `block`.
// False, with `block` empty, when the module cannot be read or has none.
bool ReadVersionResource(const char* path, CByteArray& block);

// The fixed version block (sub-block "\"); false when the resource has none.
bool QueryFixedVersion(const CByteArray& block, FixedVersionWords& words);

// The first language and code page of "\VarFileInfo\Translation"; false when
// the table is missing or empty.
bool QueryFirstTranslation(const CByteArray& block, WORD& language, WORD& codePage);

// The string value at `subBlock` (for example
// "\StringFileInfo\040904b0\CompanyName"); false, with `value` empty, when
// the resource has no such value.
bool QueryVersionString(const CByteArray& block, const char* subBlock, CString& value);

} // namespace platform
