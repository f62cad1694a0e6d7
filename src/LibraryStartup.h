// The record of the library's load: which of its static objects have been
// built, step by step, in order (see LibraryStartup.cpp). For checks and
// diagnostics; the library itself never reads it.
#pragma once

#include "OrvApi.h"
#include "framework/StartupLog.h"

// Filled while the library loads; its steps are removed again, last first,
// as the library unloads.
ORV_API const CStartupLog& GetLibraryStartupLog();
