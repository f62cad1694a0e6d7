// The network seam: IPv4 address texts and host name look-ups.
#pragma once

#include "OrvApi.h"
#include "framework/String.h"

namespace platform {

// True when inet_addr reads the text as an address other than
// 255.255.255.255 (which is also its failure value).
ORV_API bool IsDottedIPv4(const char* text);

// The first IPv4 address of host in dotted form; false when the look-up
// fails.
ORV_API bool LookupIPv4(const char* host, CString& dotted);

} // namespace platform
