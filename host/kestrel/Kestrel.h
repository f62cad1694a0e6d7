// KESTREL: the host application's utility library, as OrvCommon sees it.
// Logging, price/money/integer texts, the product folders and the global
// settings. On Windows the DLL exports these by ordinal only; the ordinals
// are listed in Kestrel.def. Every text is terminated within `capacity`
// characters (terminator included); a capacity below 1 writes nothing.
#pragma once

#include <stdint.h>

#if defined(_WIN32)
#  if defined(KESTREL_BUILDING)
#    define KESTREL_API   /* exported by ordinal through Kestrel.def */
#  else
#    define KESTREL_API __declspec(dllimport)
#  endif
#else
#  define KESTREL_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Log levels: 2 detail, 3 progress, 4 failure, 5 wrong system clock.
// One line per call in <user folder>/logs/kestrel.log; safe from any thread.
KESTREL_API void HostLog(int level, const char* message);
KESTREL_API void HostLogFormat(int level, const char* format, ...);

// Number texts use "." for the decimal point, "," for thousands and a
// leading "-". A value too large for plain digits (magnitude 1e15 or more)
// is written in exponent form; NaN as "NaN", infinities as "Inf"/"-Inf".
// Each returns the length written.
KESTREL_API int HostFormatPrice(double value, char* buffer, int capacity);
KESTREL_API int HostFormatLong(int32_t value, char* buffer, int capacity);
KESTREL_API int HostFormatMoney(double value, char* buffer, int capacity);
// `format` is a count of decimals (0 to 15; other plain values are clamped)
// or a fraction code: 17 halves, 18 quarters, 19 eighths (one digit after
// an apostrophe), 20 sixteenths, 21 32nds, 22 64ths (two digits), 23 128ths,
// 24 256ths (three digits), 32 32nds plus "5" for a half 32nd, 33 and 34
// 32nds plus "2", "5" or "7" for a quarter, half or three quarters of a 32nd.
KESTREL_API int HostFormatPriceEx(double value, char* buffer, int capacity, int format);

// Folders under the host root: the environment variable KESTREL_ROOT when
// set, else the platform's application-data folder plus "Velkor/ORV Desktop".
// Each is created on demand; false (and an empty buffer) when the path does
// not fit or cannot be created.
KESTREL_API int HostGetUserDirectory(char* buffer, int capacity);
KESTREL_API int HostGetAllUsersDirectory(char* buffer, int capacity);
KESTREL_API int HostGetWorkingDirectory(char* buffer, int capacity);

// Reads `key` of `section` from Kestrel.ini in the host root, or copies
// `defaultText` when it is not stored. Returns the length written.
KESTREL_API int HostGetGlobalSetting(const char* section, const char* key, char* buffer, int capacity,
                                     const char* defaultText);

#ifdef __cplusplus
}
#endif
