// Calendar time in whole seconds since 1970 UTC: CTime, and the distance
// between two such times: CTimeSpan.
#pragma once

#include "OrvApi.h"
#include "framework/String.h"
#include "base/Types.h"

#include <compare>
#include <cstdint>
#include <ctime>

// <windows.h> defines GetCurrentTime() as a macro for GetTickCount(); it
// would rewrite the static members of the same name below.
#ifdef GetCurrentTime
#  undef GetCurrentTime
#endif

// A signed number of seconds.
//
// Arithmetic and negation never overflow: a result beyond the 64-bit range
// is held at the nearest limit (INT64_MIN or INT64_MAX).
class ORV_API CTimeSpan {
public:
    CTimeSpan() noexcept = default;
    CTimeSpan(std::int64_t seconds) noexcept : m_span(seconds) {}
    // days * 24 hours + hours + minutes + seconds; the parts may be negative
    // or beyond their usual ranges (90 minutes is an hour and a half).
    CTimeSpan(LONG days, int hours, int minutes, int seconds) noexcept;

    void SetTimeSpan(LONG days, int hours, int minutes, int seconds) noexcept;

    // Whole days, truncated towards zero.
    std::int64_t GetDays() const noexcept { return m_span / 86400; }
    // The parts left over after whole days, hours and minutes: hours in
    // -23..23, minutes and seconds in -59..59, negative for negative spans.
    int GetHours() const noexcept { return static_cast<int>(m_span / 3600 % 24); }
    int GetMinutes() const noexcept { return static_cast<int>(m_span / 60 % 60); }
    int GetSeconds() const noexcept { return static_cast<int>(m_span % 60); }
    // The whole span in each unit, truncated towards zero.
    std::int64_t GetTotalHours() const noexcept { return m_span / 3600; }
    std::int64_t GetTotalMinutes() const noexcept { return m_span / 60; }
    std::int64_t GetTotalSeconds() const noexcept { return m_span; }
    std::int64_t GetTimeSpan() const noexcept { return m_span; }

    CTimeSpan operator+(CTimeSpan other) const noexcept;
    CTimeSpan operator-(CTimeSpan other) const noexcept;
    CTimeSpan operator-() const noexcept;
    CTimeSpan& operator+=(CTimeSpan other) noexcept;
    CTimeSpan& operator-=(CTimeSpan other) noexcept;

    friend bool operator==(CTimeSpan left, CTimeSpan right) noexcept { return left.m_span == right.m_span; }
    friend std::strong_ordering operator<=>(CTimeSpan left, CTimeSpan right) noexcept
    {
        return left.m_span <=> right.m_span;
    }

    // Conversions: %D whole days, %H hours part (00-23), %M minutes part
    // (00-59), %S seconds part (00-59), %% a percent sign. The fields show
    // magnitudes; a negative span shows one '-' in front of its first field
    // ("%D %H:%M" of minus 36 hours is "-1 12:00"). Any other character after
    // '%' is copied with the '%'. A null format gives an empty string.
    CString Format(const char* format) const;

private:
    std::int64_t m_span = 0;
};

// A point in time, as seconds since 1 January 1970 00:00:00 UTC.
//
// Conversions to calendar fields work for the range every supported C
// library handles, 1 January 1970 00:00:00 UTC to 31 December 3000 23:59:59
// UTC; IsValid() tells whether a value is inside it. Outside it, the field
// getters return -1, GetLocalTm/GetGmtTm return nullptr and Format returns
// an empty string. Arithmetic is done on the stored value whatever it is,
// saturating at the 64-bit limits.
class ORV_API CTime {
public:
    // The last second the calendar conversions handle.
    enum : std::int64_t { MaxConvertible = 32535215999LL };

    CTime() noexcept = default;
    CTime(std::int64_t time) noexcept : m_time(time) {}
    // Local time, through mktime. Fields out of range (year outside
    // 1900-3000, month outside 1-12, day past the end of its month, hour
    // outside 0-23, minute or second outside 0-59), or a result before 1970
    // UTC or after 3000, give the value -1, which IsValid() reports as not
    // valid. dst is the tm_isdst hint: positive for summer time, zero for
    // standard time, negative to let the C library decide. A local time that
    // does not exist (skipped by a summer time change) is moved as mktime
    // moves it.
    CTime(int year, int month, int day, int hour, int minute, int second, int dst = -1) noexcept;

    CTime& operator=(std::int64_t time) noexcept
    {
        m_time = time;
        return *this;
    }

    // The current time, to the second.
    static CTime GetCurrentTime() noexcept;

    bool IsValid() const noexcept { return m_time >= 0 && m_time <= MaxConvertible; }
    std::int64_t GetTime() const noexcept { return m_time; }

    // Local calendar fields: month 1-12, day 1-31, day of week 1 (Sunday) to
    // 7 (Saturday). -1 for a value that IsValid() rejects.
    int GetYear() const noexcept;
    int GetMonth() const noexcept;
    int GetDay() const noexcept;
    int GetHour() const noexcept;
    int GetMinute() const noexcept;
    int GetSecond() const noexcept;
    int GetDayOfWeek() const noexcept;

    // Fill *result with the UTC or local breakdown and return result; return
    // nullptr (result untouched) for a null pointer or a value IsValid()
    // rejects.
    struct tm* GetGmtTm(struct tm* result) const noexcept;
    struct tm* GetLocalTm(struct tm* result) const noexcept;

    // Local or UTC time through FormatTm; empty for a value IsValid() rejects.
    CString Format(const char* format) const;
    CString FormatGmt(const char* format) const;

    // The formatter behind Format here and in COleDateTime: strftime
    // conversions in the "C" locale, identical on every system.
    //   %a %A   weekday name, abbreviated / full (English)
    //   %b %B   month name, abbreviated / full (English); %h is %b
    //   %c      date and time, "%m/%d/%y %H:%M:%S"
    //   %d %e   day of month 01-31 / space-padded " 1"-"31"
    //   %H %I   hour 00-23 / 01-12
    //   %j      day of year 001-366
    //   %m %M   month 01-12 / minute 00-59
    //   %p      AM or PM
    //   %S      second 00-59
    //   %U %W   week of year 00-53, weeks starting Sunday / Monday
    //   %w      weekday 0-6, 0 = Sunday
    //   %x %X   date "%m/%d/%y" / time "%H:%M:%S"
    //   %y %Y   year 00-99 / full year
    //   %n %t   newline / tab;  %%  a percent sign
    // A '#' after the '%' removes leading zeros and padding from the numeric
    // conversions (%#d is "6"), and makes %#c and %#x the long forms
    // "%A, %B %d, %Y %H:%M:%S" and "%A, %B %d, %Y"; elsewhere it is ignored.
    // Any other conversion, and a lone '%' at the end, is copied as written.
    // Fields out of their ranges print as numbers (names as "?"): nothing
    // reads outside a table whatever the struct holds. A null format gives an
    // empty string.
    static CString FormatTm(const struct tm& time, const char* format);

    CTime operator+(CTimeSpan span) const noexcept;
    CTime operator-(CTimeSpan span) const noexcept;
    CTimeSpan operator-(CTime other) const noexcept;
    CTime& operator+=(CTimeSpan span) noexcept;
    CTime& operator-=(CTimeSpan span) noexcept;

    friend bool operator==(CTime left, CTime right) noexcept { return left.m_time == right.m_time; }
    friend std::strong_ordering operator<=>(CTime left, CTime right) noexcept { return left.m_time <=> right.m_time; }

private:
    std::int64_t m_time = 0;
};
