// Test hooks of the native settings stores (posix/Registry.cpp and
// posix/Profile.cpp). Not for production code; there is no Windows form.
#pragma once

#include "OrvApi.h"

#if !defined(_WIN32)
namespace platform {

// The next write of the registry store writes only the first failAfterBytes
// bytes of the new store to its temporary file and then fails, as a full
// disk or a crash would. The hook then disarms itself. A negative value
// disarms it at once.
ORV_API void SetRegistryWriteFaultForTesting(int failAfterBytes);

// The same for the next INI file write.
ORV_API void SetProfileWriteFaultForTesting(int failAfterBytes);

// Forgets the registry tree held in memory, so that the next call reads
// the store file afresh, as a new process would. Open handles stay valid.
ORV_API void ResetRegistryCacheForTesting();

} // namespace platform
#endif
