// Date and time as a day count: COleDateTime, and the distance between two
// of them: COleDateTimeSpan.
#pragma once

#include "OrvApi.h"
#include "framework/String.h"
#include "base/Types.h"

#include <compare>
#include <ctime>

// <windows.h> defines GetCurrentTime() as a macro for GetTickCount(); it
// would rewrite the static member of the same name below.
#ifdef GetCurrentTime
#  undef GetCurrentTime
#endif

// Days since midnight 30 December 1899; the same type as the Windows DATE.
typedef double DATE;

// What the calendar field getters of COleDateTime return when there is no
// field to give (a value that is not valid).
inline constexpr int AFX_OLE_DATETIME_ERROR = -1;

// Flags of COleDateTime::ParseDateTime and COleDateTime::Format, with the
// values the Windows variant functions give them (and the same spelling, so
// that a later Windows header defining them again does not conflict).
#ifndef VAR_TIMEVALUEONLY
#  define VAR_TIMEVALUEONLY ((DWORD)0x00000001)
#endif
#ifndef VAR_DATEVALUEONLY
#  define VAR_DATEVALUEONLY ((DWORD)0x00000002)
#endif


// A signed length of time in days, fractions included, with a status.
//
// Valid spans are finite and at most 2147483647 days either way, so that the
// day count always fits a LONG; anything else (NaN, infinity, a sum that
// grows past the limit) is stored as 0 with the status invalid.
//
// Status rules: an operation on two valid spans gives a valid span (or
// invalid when the result leaves the range); two null spans give null;
// every other mix gives invalid. Negation keeps the status.
class ORV_API COleDateTimeSpan {
public:
    enum DateTimeSpanStatus { valid = 0, invalid = 1, null = 2 };

    // The largest number of days a valid span holds, either way.
    enum : long { MaxDays = 2147483647L };

    COleDateTimeSpan() noexcept = default;
    COleDateTimeSpan(double days) noexcept;
    // days + hours + minutes + seconds; any part may be negative or beyond
    // its usual range (90 minutes is an hour and a half).
    COleDateTimeSpan(long days, int hours, int minutes, int seconds) noexcept;

    COleDateTimeSpan& operator=(double days) noexcept;

    DateTimeSpanStatus GetStatus() const noexcept { return m_status; }
    // Only the status changes; the value stays as it was.
    void SetStatus(DateTimeSpanStatus status) noexcept { m_status = status; }
    void SetDateTimeSpan(long days, int hours, int minutes, int seconds) noexcept;

    // The span in each unit, fractions included; 0 when not valid.
    double GetTotalDays() const noexcept;
    double GetTotalHours() const noexcept;
    double GetTotalMinutes() const noexcept;
    double GetTotalSeconds() const noexcept;

    // The parts of the span rounded to the nearest second (half a second
    // away from zero): whole days, then hours 0-23, minutes and seconds
    // 0-59, all negative for a negative span. 0 when not valid.
    LONG GetDays() const noexcept;
    LONG GetHours() const noexcept;
    LONG GetMinutes() const noexcept;
    LONG GetSeconds() const noexcept;

    COleDateTimeSpan operator+(const COleDateTimeSpan& other) const noexcept;
    COleDateTimeSpan operator-(const COleDateTimeSpan& other) const noexcept;
    COleDateTimeSpan operator-() const noexcept;
    COleDateTimeSpan& operator+=(const COleDateTimeSpan& other) noexcept;
    COleDateTimeSpan& operator-=(const COleDateTimeSpan& other) noexcept;

    // Two valid spans compare by value. == also holds for two spans with the
    // same non-valid status. The ordering operators are false whenever
    // either span is not valid, as they are for NaN.
    bool operator==(const COleDateTimeSpan& other) const noexcept;
    bool operator<(const COleDateTimeSpan& other) const noexcept;
    bool operator>(const COleDateTimeSpan& other) const noexcept { return other < *this; }
    bool operator<=(const COleDateTimeSpan& other) const noexcept;
    bool operator>=(const COleDateTimeSpan& other) const noexcept { return other <= *this; }

    // The span rounded to the second, with the conversions of
    // CTimeSpan::Format: %D whole days, %H hours part (00-23), %M minutes
    // part, %S seconds part, %% a percent sign; a negative span shows one
    // '-' in front of its first field. "Invalid DateTimeSpan" when invalid,
    // empty when null or for a null format.
    CString Format(const char* format) const;

    // Public, as in the framework these types stand in for: the archive and
    // derived classes read and write them directly. A value written here is
    // checked by every getter again, so a bad one gives 0, never UB.
    double m_span = 0.0;
    DateTimeSpanStatus m_status = valid;
};

// A date and time of day, as a DATE with a status.
//
// The value counts days from midnight 30 December 1899 (day 0). The integer
// part is the day and the fraction the time of day; for negative values the
// fraction still counts forward from midnight of the day the integer part
// names, so -1.25 is 29 December 1899 06:00, and -0.5 and 0.5 are both
// 30 December 1899 12:00.
//
// Valid values lie in years 100 to 9999 once rounded to the nearest second.
// Every way of setting a value checks this (NaN, infinity and huge numbers
// included) and sets the status invalid when it fails. A DATE assigned out of
// range is kept in m_dt as given; the other setters say what they leave.
//
// Arithmetic and comparison use a linear time scale on which -1.25 is
// -0.75 (six hours into day -1), so adding half a day to 29 December 06:00
// gives 29 December 18:00 (-1.75).
//
// Status rules: an operation on two valid operands gives a valid result (or
// invalid when the result leaves years 100-9999); two null operands give
// null; every other mix gives invalid.
class ORV_API COleDateTime {
public:
    enum DateTimeStatus { valid = 0, invalid = 1, null = 2 };

    // The locale ParseDateTime and Format assume when given none.
    enum : DWORD { DefaultLocale = 0x0400 };

    COleDateTime() noexcept = default;
    COleDateTime(DATE value) noexcept;
    // Local time as localtime gives it; a negative time, or one the C
    // library cannot convert or that falls outside years 100-9999, gives
    // invalid with the value 0.
    COleDateTime(std::time_t time) noexcept;
    // Invalid unless SetDateTime accepts the fields.
    COleDateTime(int year, int month, int day, int hour, int minute, int second) noexcept;

    COleDateTime& operator=(DATE value) noexcept;
    COleDateTime& operator=(std::time_t time) noexcept;

    // The current local time, to the second.
    static COleDateTime GetCurrentTime() noexcept;

    DateTimeStatus GetStatus() const noexcept { return m_status; }
    // Only the status changes; the value stays as it was.
    void SetStatus(DateTimeStatus status) noexcept { m_status = status; }

    // The raw value, whatever the status. Explicit, so that a COleDateTime
    // never turns into a plain double in arithmetic or comparison by
    // accident; write static_cast<DATE>(value) or read m_dt.
    explicit operator DATE() const noexcept { return m_dt; }

    // Calendar fields of the value rounded to the nearest second (half a
    // second up, so 0.99999999 is 31 December 1899 00:00:00). Month 1-12,
    // day 1-31, hour 0-23, day of week 1 (Sunday) to 7 (Saturday), day of
    // year 1 (1 January) to 366. AFX_OLE_DATETIME_ERROR when not valid.
    int GetYear() const noexcept;
    int GetMonth() const noexcept;
    int GetDay() const noexcept;
    int GetHour() const noexcept;
    int GetMinute() const noexcept;
    int GetSecond() const noexcept;
    int GetDayOfWeek() const noexcept;
    int GetDayOfYear() const noexcept;

    // All fields at once, as strftime takes them (tm_isdst is -1). False,
    // with result untouched, when not valid.
    bool GetAsTm(struct tm& result) const noexcept;

    // Year 100-9999, month 1-12, day 1 to the end of its month, hour 0-23,
    // minute and second 0-59. Return 0 and set the value and status valid;
    // otherwise set the status invalid, leave the value as it was and return
    // non-zero. SetDate sets
    // midnight of the date; SetTime sets the time on day 0.
    int SetDateTime(int year, int month, int day, int hour, int minute, int second) noexcept;
    int SetDate(int year, int month, int day) noexcept;
    int SetTime(int hour, int minute, int second) noexcept;

    // Reads a date, a time, or a date followed by a time. Accepted forms,
    // with blanks allowed before and after the whole text:
    //   time:      H:MM or H:MM:SS, 24-hour (hour 0-23, one or two digits);
    //              either may be followed by AM or PM (any case, blanks
    //              before it optional), and the hour is then 1-12, with
    //              12 AM midnight and 12 PM noon.
    //   numeric date: three numbers in the locale's order, separated twice
    //              by the same character, the locale's date separator or
    //              "/": M/D/YYYY for 1033 (US English) and 0x007F
    //              (invariant); for 0, 0x0400 (user default) and 0x0800
    //              (system default) the order and separator of the user's
    //              locale (platform::QueryDateLayout; M/D/YYYY when the
    //              system has no answer), so "11/03/2012" is 11 March under
    //              a German user locale. Day and month have one or two
    //              digits, the year two to four; two-digit years 00-29 are
    //              2000-2029, 30-99 are 1930-1999; three digits are read as
    //              they stand (1/1/100). Under any other locale this form
    //              fails rather than guess the field order.
    //   ISO date:  YYYY-MM-DD (four, two and two digits), in every locale.
    //   date and time: a date, one or more blanks, a time; after an ISO
    //              date a 'T' may take the place of the blanks.
    // A time alone gives that time on day 0 (30 December 1899); a date alone
    // gives its midnight. flags VAR_TIMEVALUEONLY keeps only the time (on
    // day 0), VAR_DATEVALUEONLY only the date; both together fail. Other flag
    // bits are ignored. Fields out of range (31 February, hour 24, minute
    // 60, 13 PM, year outside 100-9999) and any other text fail.
    // Returns true and sets the value and status valid, or returns false and
    // sets the status invalid (the value is then 0). A null text fails.
    bool ParseDateTime(const char* text, DWORD flags = 0, DWORD locale = DefaultLocale) noexcept;

    // strftime-style text through CTime::FormatTm (which lists the
    // conversions, "C" locale, '#' flag for no leading zeros).
    // "Invalid DateTime" when invalid, empty when null or for a null format.
    CString Format(const char* format) const;
    // The default text: the date, then the time US style, "h:mm:ss AM"
    // ("1/2/2024 3:04:05 PM"). The date is the short date of the user's
    // locale for 0, 0x0400 and 0x0800 (platform::FormatShortDate:
    // "2.1.2024" natively under a German locale, the system's "02.01.2024"
    // on Windows), M/D/YYYY for any other locale or when the system has no
    // answer. A value whose time of day is midnight shows only the date and
    // a value on day 0 only the time (so 0 is "12:00:00 AM").
    // VAR_TIMEVALUEONLY shows only the time, VAR_DATEVALUEONLY only the date;
    // with both, the time. "Invalid DateTime" when invalid, empty when null.
    CString Format(DWORD flags = 0, DWORD locale = DefaultLocale) const;

    COleDateTime operator+(const COleDateTimeSpan& span) const noexcept;
    COleDateTime operator-(const COleDateTimeSpan& span) const noexcept;
    COleDateTime& operator+=(const COleDateTimeSpan& span) noexcept;
    COleDateTime& operator-=(const COleDateTimeSpan& span) noexcept;
    COleDateTimeSpan operator-(const COleDateTime& other) const noexcept;

    // Two valid values compare on the linear scale, so -0.5 == 0.5. == also
    // holds for two values with the same non-valid status. The ordering
    // operators are false whenever either value is not valid, as they are
    // for NaN.
    bool operator==(const COleDateTime& other) const noexcept;
    bool operator<(const COleDateTime& other) const noexcept;
    bool operator>(const COleDateTime& other) const noexcept { return other < *this; }
    bool operator<=(const COleDateTime& other) const noexcept;
    bool operator>=(const COleDateTime& other) const noexcept { return other <= *this; }

    // Public, as in the framework this type stands in for: the archive and
    // derived classes read and write them directly. A value written here is
    // checked by every getter again, so a bad one gives
    // AFX_OLE_DATETIME_ERROR, never UB.
    DATE m_dt = 0.0;
    DateTimeStatus m_status = valid;
};
