// The operating system's time structures and the calls that fill them. On
// Windows these are the system's own; elsewhere the same layouts and
// functions are defined here, with the same results and last-error values.
#pragma once

#include "OrvApi.h"
#include "base/Types.h"

#if !defined(_WIN32)
using WCHAR = char16_t;

struct SYSTEMTIME {
    WORD wYear;
    WORD wMonth;
    WORD wDayOfWeek;
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
};

struct FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
};

struct TIME_ZONE_INFORMATION {
    LONG Bias;
    WCHAR StandardName[32];
    SYSTEMTIME StandardDate;
    LONG StandardBias;
    WCHAR DaylightName[32];
    SYSTEMTIME DaylightDate;
    LONG DaylightBias;
};

constexpr DWORD TIME_ZONE_ID_UNKNOWN = 0;
constexpr DWORD TIME_ZONE_ID_STANDARD = 1;
constexpr DWORD TIME_ZONE_ID_DAYLIGHT = 2;
constexpr DWORD TIME_ZONE_ID_INVALID = 0xFFFFFFFF;
constexpr DWORD ERROR_INVALID_PARAMETER = 87;
constexpr DWORD ERROR_PRIVILEGE_NOT_HELD = 1314;

// The current UTC time.
ORV_API void GetSystemTime(SYSTEMTIME* time);
// Conversions between the calendar breakdown and 100-ns intervals since
// 1 January 1601 (years 1601 to 30827). False with ERROR_INVALID_PARAMETER
// for a field out of range.
ORV_API BOOL SystemTimeToFileTime(const SYSTEMTIME* systemTime, FILETIME* fileTime);
ORV_API BOOL FileTimeToSystemTime(const FILETIME* fileTime, SYSTEMTIME* systemTime);
// A packed MS-DOS date (bits 9-15 years since 1980, 5-8 month, 0-4 day) and
// time (11-15 hours, 5-10 minutes, 0-4 seconds / 2) as a file time.
ORV_API BOOL DosDateTimeToFileTime(WORD dosDate, WORD dosTime, FILETIME* fileTime);
// -1, 0 or 1 as the first file time is earlier, equal or later.
ORV_API LONG CompareFileTime(const FILETIME* first, const FILETIME* second);
// Setting the machine's clock is never done by this stand-in: it always
// fails with ERROR_PRIVILEGE_NOT_HELD, so that nothing here can move the
// clock of the machine it runs on.
ORV_API BOOL SetSystemTime(const SYSTEMTIME* time);
// The workstation's zone in Windows form, from the C library's zone (TZ,
// else /etc/localtime): bias in minutes (UTC = local + bias), the Windows
// names of the zone for the common zones, and which of the two is in force.
ORV_API DWORD GetTimeZoneInformation(TIME_ZONE_INFORMATION* information);
#endif
