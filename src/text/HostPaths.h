// Where the product keeps the current user's data files and logs: the host
// utility library's user folder joined with "data" or "logs".
#pragma once

#include "OrvApi.h"
#include "framework/String.h"

// The user folder joined with "data" (or "logs") and the file name. The
// host's answer is not checked: without a user folder the result starts
// with "data".
ORV_API CString GetDataPath(const char* fileName);
ORV_API CString GetLogsPath(const char* fileName);
