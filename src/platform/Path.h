// Joining file-system paths. On Windows this is shlwapi's PathAppendA;
// natively posix/Path.cpp joins with '/' under the same 260-character limit.
#pragma once

#include "OrvApi.h"
#include "platform/Types.h"

#if defined(_WIN32)
#  include <shlwapi.h>
#else
// Appends more to path (a buffer of 260 characters) with one separator
// between them; separators at the start of more are dropped. FALSE, with
// path unchanged, when the result would not fit.
ORV_API BOOL PathAppendA(char* path, const char* more);
#endif
