// GetDataPath: where the product keeps the current user's data files.
#pragma once

#include "OrvApi.h"
#include "framework/String.h"

// The host's user folder, then "data", then fileName, joined with path
// separators. The host's answer is not tested: when it fails, the result is
// "data" joined with the file name.
ORV_API CString GetDataPath(const char* fileName);
