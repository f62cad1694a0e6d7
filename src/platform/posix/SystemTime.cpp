// Calendar and file-time conversions with the Windows rules: file times count
// 100-ns intervals since 1 January 1601 UTC, valid system times run from 1601
// to 30827, and any field out of range fails with ERROR_INVALID_PARAMETER.
#include "framework/Calendar.h"
#include "platform/LastError.h"
#include "platform/SystemTime.h"

#include <cstdint>
#include <ctime>

namespace {

constexpr std::int64_t kTicksPerSecond = 10000000;
constexpr std::int64_t kTicksPerDay = kTicksPerSecond * 86400;
constexpr std::int64_t kDaysFrom1601To1970 = 134774;

using orv::calendar::DaysFromCivil;
using orv::calendar::DaysInMonth;

bool IsValid(const SYSTEMTIME& time)
{
    return time.wYear >= 1601 && time.wYear <= 30827 && time.wMonth >= 1 && time.wMonth <= 12 && time.wDay >= 1
        && time.wDay <= DaysInMonth(time.wYear, time.wMonth) && time.wHour < 24 && time.wMinute < 60
        && time.wSecond < 60 && time.wMilliseconds < 1000;
}

std::uint64_t Ticks(const FILETIME& time)
{
    return std::uint64_t(time.dwHighDateTime) << 32 | time.dwLowDateTime;
}

BOOL Fail()
{
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
}

} // namespace

BOOL SystemTimeToFileTime(const SYSTEMTIME* systemTime, FILETIME* fileTime)
{
    if (systemTime == nullptr || fileTime == nullptr || !IsValid(*systemTime))
        return Fail();
    const std::int64_t days = DaysFromCivil(systemTime->wYear, systemTime->wMonth, systemTime->wDay) + kDaysFrom1601To1970;
    const std::int64_t seconds = systemTime->wHour * 3600 + systemTime->wMinute * 60 + systemTime->wSecond;
    const std::uint64_t ticks = std::uint64_t(days * kTicksPerDay + seconds * kTicksPerSecond
                                              + std::int64_t(systemTime->wMilliseconds) * 10000);
    fileTime->dwLowDateTime = DWORD(ticks);
    fileTime->dwHighDateTime = DWORD(ticks >> 32);
    return TRUE;
}

BOOL FileTimeToSystemTime(const FILETIME* fileTime, SYSTEMTIME* systemTime)
{
    if (fileTime == nullptr || systemTime == nullptr)
        return Fail();
    const std::uint64_t ticks = Ticks(*fileTime);
    if (ticks >= 0x8000000000000000ull)
        return Fail();
    const std::int64_t days = std::int64_t(ticks / kTicksPerDay);
    const std::uint64_t ofDay = ticks % kTicksPerDay;
    int year = 0;
    unsigned month = 0, day = 0;
    const orv::calendar::Date date = orv::calendar::CivilFromDays(days - kDaysFrom1601To1970);
    year = int(date.year);
    month = date.month;
    day = date.day;
    if (year > 30827)
        return Fail();
    systemTime->wYear = WORD(year);
    systemTime->wMonth = WORD(month);
    systemTime->wDay = WORD(day);
    systemTime->wDayOfWeek = WORD((days + 1) % 7);   // 1 January 1601 was a Monday
    systemTime->wHour = WORD(ofDay / (kTicksPerSecond * 3600));
    systemTime->wMinute = WORD(ofDay / (kTicksPerSecond * 60) % 60);
    systemTime->wSecond = WORD(ofDay / kTicksPerSecond % 60);
    systemTime->wMilliseconds = WORD(ofDay / 10000 % 1000);
    return TRUE;
}

BOOL DosDateTimeToFileTime(WORD dosDate, WORD dosTime, FILETIME* fileTime)
{
    SYSTEMTIME time {};
    time.wYear = WORD(1980 + (dosDate >> 9));
    time.wMonth = WORD((dosDate >> 5) & 15);
    time.wDay = WORD(dosDate & 31);
    time.wHour = WORD(dosTime >> 11);
    time.wMinute = WORD((dosTime >> 5) & 63);
    time.wSecond = WORD((dosTime & 31) * 2);
    return SystemTimeToFileTime(&time, fileTime);
}

LONG CompareFileTime(const FILETIME* first, const FILETIME* second)
{
    const std::uint64_t a = first != nullptr ? Ticks(*first) : 0;
    const std::uint64_t b = second != nullptr ? Ticks(*second) : 0;
    return a < b ? -1 : (a > b ? 1 : 0);
}

void GetSystemTime(SYSTEMTIME* time)
{
    if (time == nullptr)
        return;
    timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    const std::uint64_t ticks = std::uint64_t((kDaysFrom1601To1970 * 86400 + std::int64_t(now.tv_sec)) * kTicksPerSecond
                                              + now.tv_nsec / 100);
    const FILETIME fileTime {DWORD(ticks), DWORD(ticks >> 32)};
    FileTimeToSystemTime(&fileTime, time);
}

BOOL SetSystemTime(const SYSTEMTIME*)
{
    SetLastError(ERROR_PRIVILEGE_NOT_HELD);
    return FALSE;
}
