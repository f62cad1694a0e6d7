// The network seam: IPv4 address texts and host name look-ups.
#pragma once

#include "OrvApi.h"
#include "framework/String.h"

namespace platform {

// True when inet_addr reads the text as an address other than
// 255.255.255.255 (which is also its failure value).
ORV_API bool IsDottedIPv4(const char* text);

// Reads exactly four decimal fields of one to three digits, each 0 to 255,
// joined by dots ("192.168.0.1"); nothing else (no blanks, signs, hex or
// shortened forms). The fields go to parts when it answers true.
ORV_API bool ParseDottedQuad(const char* text, unsigned char (&parts)[4]);

// The first IPv4 address of host in dotted form; false when the look-up
// fails.
ORV_API bool LookupIPv4(const char* host, CString& dotted);

} // namespace platform
