// The companion library OrvInject2.dll, found at run time: it may be
// absent, and then everything it would do is skipped.
#pragma once

#include "base/Types.h"

#include <windows.h>

namespace orv::companion {

// An export of OrvInject2.dll (the library is loaded on first use and
// stays); null when the library or the export is missing.
FARPROC Export(const char* name);

// SetExternalDropSymbol: tells the library the symbol of the drag about to
// start. Nothing without the library.
void SetExternalDropSymbol(const char* symbol);
// HandleExternalDropTarget: 1 at the drop, 0 at each feedback. Its answer;
// 0 without the library.
BOOL HandleExternalDropTarget(int drop);

} // namespace orv::companion
