// The URL seam: UrlCanonicalizeA. On Windows it is the shell's own
// (shlwapi). Natively it is a stand-in for the texts the library passes it,
// which are URL parts rather than whole URLs: it drops tabs, trims trailing
// spaces and escapes, as %XX with capital hexadecimal digits, every byte
// outside printable ASCII (control characters, DEL and bytes of 128 and
// above), the space, and "%" when URL_ESCAPE_PERCENT is given; every other
// byte is kept. It does not parse schemes or resolve "." and ".." segments.
// Those are the system's answers for such texts (checked under Wine).
#pragma once

#include "OrvApi.h"
#include "base/Types.h"

#if defined(_WIN32)
#  include <shlwapi.h>
#else
constexpr DWORD URL_ESCAPE_PERCENT = 0x00001000;

// Writes the canonical form of url into canonical, whose size in characters
// is *length on entry. On success S_OK and *length is the length written
// (without the NUL). When the buffer is too small, E_POINTER, nothing is
// written and *length is the size needed (with the NUL). Null arguments
// give E_INVALIDARG.
ORV_API HRESULT UrlCanonicalizeA(const char* url, char* canonical, DWORD* length, DWORD flags);
#endif
