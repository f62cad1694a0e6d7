// Crash-safe replacement of a whole file: the new content goes to a
// temporary file in the same folder, which is then renamed over the target
// (Windows: MoveFileEx with replace and write-through). A failed write never
// leaves a truncated target: the old file, if any, stays as it was and the
// temporary file is removed.
#pragma once

#include "OrvApi.h"

#include <cstddef>
#include <string>

namespace platform {

// Missing folders on the way are created. Returns 0, or the system's error code (errno natively, the last error on
// Windows). Paths may use '\' or '/'.
int ReplaceFileContents(const char* path, const void* data, std::size_t size);

// The system's text for an error code returned above, without a trailing
// line break.
std::string FileErrorText(int error);

// Test hook: the next replacement writes only the first failAfterBytes bytes
// to its temporary file and then fails, as a full disk would. The hook then
// disarms itself; a negative value disarms it at once.
ORV_API void SetFileReplaceFaultForTesting(int failAfterBytes);

} // namespace platform
