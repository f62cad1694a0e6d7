// Joining path parts with the platform's separator.
#pragma once

#include "OrvApi.h"
#include "framework/String.h"

namespace orv {

// folder and part with exactly one separator between them, as PathAppendA
// joins them: separators at the start of part are dropped, an empty part
// adds nothing and an empty folder gives part alone.
ORV_API CString JoinPath(const CString& folder, const char* part);

} // namespace orv
