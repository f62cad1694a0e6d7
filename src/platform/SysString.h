// System strings: length-prefixed UTF-16 texts that the quote feed's records
// and OLE interfaces carry. On Windows these are the system's own BSTR
// functions from oleaut32. Elsewhere posix/SysString.cpp provides them with
// the same layout: a 4-byte byte count in front of the characters, which end
// in a NUL that the count does not include; the BSTR points at the first
// character. OLECHAR is a 16-bit character in both builds.
#pragma once

#include "OrvApi.h"
#include "base/Types.h"

#include <cstddef>
#include <string>

#if defined(_WIN32)
#  include <oleauto.h>
#else
using OLECHAR = char16_t;
using BSTR = OLECHAR*;

extern "C" {
// A new system string holding a copy of text; null for a null text or when
// memory runs out. An empty text gives an empty, non-null string.
ORV_API BSTR SysAllocString(const OLECHAR* text);
// A new string of length characters, copied from text when it is not null,
// else zero-filled.
ORV_API BSTR SysAllocStringLen(const OLECHAR* text, UINT length);
// Replaces *target with a copy of text and frees the old string; the copy is
// made first, so text may point into *target. A null text makes a non-null
// *target empty and leaves a null one null. FALSE (and *target untouched)
// for a null target or when memory runs out.
ORV_API int SysReAllocString(BSTR* target, const OLECHAR* text);
// Frees a system string; null is ignored.
ORV_API void SysFreeString(BSTR text);
// The length in characters; 0 for null.
ORV_API UINT SysStringLen(BSTR text);
}
#endif

static_assert(sizeof(OLECHAR) == 2);

namespace platform {

// Length of a NUL-terminated 16-bit text; 0 for null.
inline std::size_t OleLength(const OLECHAR* text)
{
    std::size_t n = 0;
    if (text != nullptr) {
        while (text[n] != 0)
            ++n;
    }
    return n;
}

// The text in the process code page (Windows: the ANSI code page, natively
// UTF-8). Characters that the code page cannot hold become '?'.
std::string OleToCodePage(const OLECHAR* text);
// A new system string holding a byte text of the process code page; null
// when memory runs out.
BSTR CodePageToOle(const char* text, std::size_t length);
// Makes *target a copy of a byte text of the process code page, reusing the
// target (SysReAllocString) when it is not null. Returns false when memory
// runs out, leaving *target as it was.
bool AssignCodePage(BSTR* target, const char* text, std::size_t length);

} // namespace platform
