// Calendar and file-time conversions with the Windows rules: file times count
// 100-ns intervals since 1 January 1601 UTC, valid system times run from 1601
// to 30827, and any field out of range fails with ERROR_INVALID_PARAMETER.
#include "platform/LastError.h"
#include "platform/SystemTime.h"

#include <cstdint>
#include <ctime>

namespace {

constexpr std::int64_t kTicksPerSecond = 10000000;
constexpr std::int64_t kTicksPerDay = kTicksPerSecond * 86400;
constexpr std::int64_t kDaysFrom1601To1970 = 134774;

bool IsLeap(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month)
{
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

// Days since 1 January 1970 of a proleptic Gregorian date.
std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day)
{
    year -= month <= 2;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const unsigned yearOfEra = unsigned(year - era * 400);
    const unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + std::int64_t(dayOfEra) - 719468;
}

void CivilFromDays(std::int64_t days, int& year, unsigned& month, unsigned& day)
{
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const unsigned dayOfEra = unsigned(days - era * 146097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned monthIndex = (5 * dayOfYear + 2) / 153;
    day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    year = int(std::int64_t(yearOfEra) + era * 400 + (month <= 2));
}

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
    CivilFromDays(days - kDaysFrom1601To1970, year, month, day);
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
