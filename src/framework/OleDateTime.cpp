#include "framework/OleDateTime.h"

#include "framework/Time.h"

#include "framework/Calendar.h"
#include "platform/Locale.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace {

constexpr double kSecondsPerDay = 86400.0;
// Day numbers of 1 January 100 and 31 December 9999.
constexpr std::int64_t kFirstDay = -657434;
constexpr std::int64_t kLastDay = 2958465;
// 30 December 1899 counted from 1 January 1970.
constexpr std::int64_t kDayZeroFromUnixEpoch = -25569;

// ------------------------------------------------------------ the calendar

using orv::calendar::DaysInMonth;

bool IsValidDate(int year, int month, int day) noexcept
{
    return year >= 100 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 && day <= DaysInMonth(year, month);
}

bool IsValidTime(int hour, int minute, int second) noexcept
{
    return hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59 && second >= 0 && second <= 59;
}

// Proleptic Gregorian calendar in 400-year eras of 146097 days, with years
// starting on 1 March so that the leap day falls at the end of the year.
// Day 0 is 30 December 1899. Valid for the years 100-9999 checked by callers.
std::int64_t DayFromDate(int year, int month, int day) noexcept
{
    const std::int64_t y = year - (month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468 - kDayZeroFromUnixEpoch;
}

void DateFromDay(std::int64_t dayNumber, int& year, int& month, int& day) noexcept
{
    const std::int64_t z = dayNumber + kDayZeroFromUnixEpoch + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t dayOfEra = z - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

// A DATE from a day number and seconds into that day (0-86399).
double DateValue(std::int64_t dayNumber, int secondOfDay) noexcept
{
    const double fraction = secondOfDay / kSecondsPerDay;
    const double whole = static_cast<double>(dayNumber);
    return dayNumber < 0 ? whole - fraction : whole + fraction;
}

struct Fields {
    std::int64_t dayNumber;
    int secondOfDay;
    int year, month, day, hour, minute, second;
    int dayOfWeek; // 1 = Sunday
    int dayOfYear; // 1 = 1 January
};

// Splits a DATE into calendar fields after rounding it to the nearest second
// (half up on the time line). False for NaN, infinities and anything outside
// years 100-9999 after the rounding.
bool Breakdown(double value, Fields& out) noexcept
{
    // Rejects NaN too; a value this far out cannot round into range.
    if (!(value > static_cast<double>(kFirstDay) - 1.0 && value < static_cast<double>(kLastDay) + 1.0))
        return false;
    const double whole = std::trunc(value);
    // Exact: subtracting the integer part of a double loses nothing.
    const double fraction = std::fabs(value - whole);
    std::int64_t dayNumber = static_cast<std::int64_t>(whole);
    std::int64_t seconds = static_cast<std::int64_t>(std::floor(fraction * kSecondsPerDay + 0.5));
    if (seconds >= 86400) {
        seconds -= 86400;
        ++dayNumber;
    }
    if (dayNumber < kFirstDay || dayNumber > kLastDay)
        return false;
    out.dayNumber = dayNumber;
    out.secondOfDay = static_cast<int>(seconds);
    DateFromDay(dayNumber, out.year, out.month, out.day);
    out.hour = out.secondOfDay / 3600;
    out.minute = out.secondOfDay / 60 % 60;
    out.second = out.secondOfDay % 60;
    // Day 0 was a Saturday (7).
    out.dayOfWeek = static_cast<int>(((dayNumber % 7 + 7) % 7 + 6) % 7) + 1;
    out.dayOfYear = static_cast<int>(dayNumber - DayFromDate(out.year, 1, 1)) + 1;
    return true;
}

bool IsConvertible(double value) noexcept
{
    Fields fields;
    return Breakdown(value, fields);
}

// The linear time scale: days since day 0 with the fraction always counting
// forward, so that time differences are plain subtraction. Only for values
// that are in range.
double ToLinear(double value) noexcept
{
    if (value >= 0.0)
        return value;
    const double whole = std::trunc(value);
    return whole + (whole - value);
}

double FromLinear(double linear) noexcept
{
    if (linear >= 0.0)
        return linear + 0.0; // no negative zero
    double whole = std::floor(linear);
    double fraction = linear - whole;
    if (fraction >= 1.0) {
        whole += 1.0;
        fraction = 0.0;
    }
    if (whole >= 0.0)
        return fraction;
    const double value = whole - fraction;
    // A fraction within rounding of a whole day can make whole - fraction
    // land on the day before; the time meant is the next midnight.
    if (value <= whole - 1.0)
        return whole + 1.0 >= 0.0 ? 0.0 : whole + 1.0;
    return value;
}

// ------------------------------------------------------------ text reading

bool IsBlank(char ch) noexcept
{
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\v' || ch == '\f' || ch == '\r';
}

bool IsDigit(char ch) noexcept
{
    return ch >= '0' && ch <= '9';
}

char Lower(char ch) noexcept
{
    return (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch;
}

// Reads text in [p, end); every read checks end first.
struct Reader {
    const char* p;
    const char* end;

    bool AtEnd() const noexcept { return p == end; }
    char Peek() const noexcept { return p < end ? *p : '\0'; }

    bool Take(char ch) noexcept
    {
        if (p < end && *p == ch) {
            ++p;
            return true;
        }
        return false;
    }

    // Between minDigits and maxDigits (at most 4) decimal digits, and no
    // digit after them. Returns the digit count, or 0 when that fails.
    int Number(int minDigits, int maxDigits, int& value) noexcept
    {
        int count = 0;
        value = 0;
        while (p < end && IsDigit(*p)) {
            if (count == maxDigits)
                return 0;
            value = value * 10 + (*p - '0');
            ++p;
            ++count;
        }
        return count >= minDigits ? count : 0;
    }

    bool SkipBlanks() noexcept
    {
        const char* start = p;
        while (p < end && IsBlank(*p))
            ++p;
        return p != start;
    }
};

// H:MM or H:MM:SS, optionally followed by AM or PM, up to the end of the text.
bool ReadTime(Reader& in, int& secondOfDay) noexcept
{
    int hour = 0, minute = 0, second = 0;
    if (!in.Number(1, 2, hour) || !in.Take(':') || !in.Number(2, 2, minute))
        return false;
    if (in.Take(':') && !in.Number(2, 2, second))
        return false;
    in.SkipBlanks();
    if (!in.AtEnd()) {
        const char first = Lower(in.Peek());
        if (first != 'a' && first != 'p')
            return false;
        ++in.p;
        if (Lower(in.Peek()) != 'm')
            return false;
        ++in.p;
        if (!in.AtEnd() || hour < 1 || hour > 12)
            return false;
        hour = hour % 12 + (first == 'p' ? 12 : 0);
    }
    if (!IsValidTime(hour, minute, second))
        return false;
    secondOfDay = hour * 3600 + minute * 60 + second;
    return true;
}

bool IsUsEnglish(DWORD locale) noexcept
{
    return locale == 0x007F || locale == 0x0409;
}

bool IsUserLocale(DWORD locale) noexcept
{
    return locale == 0 || locale == 0x0400 || locale == 0x0800;
}

// The layout a numeric date has in the locale: US English and the invariant
// locale write M/D/YYYY; the user's locale as the system says, M/D/YYYY when
// it cannot say. Other locales have none: their order is not guessed.
bool DateLayoutOf(DWORD locale, platform::DateLayout& layout) noexcept
{
    layout = platform::DateLayout();
    if (IsUsEnglish(locale))
        return true;
    if (!IsUserLocale(locale))
        return false;
    platform::QueryDateLayout(locale, layout);
    return true;
}

// The whole text: a date, a time, or a date and a time. What is missing
// stays 0 (day 0, midnight).
bool ReadDateTime(Reader& in, DWORD locale, std::int64_t& dayNumber, int& secondOfDay) noexcept
{
    dayNumber = 0;
    secondOfDay = 0;
    Reader lookahead = in;
    int first = 0;
    const int firstDigits = lookahead.Number(1, 4, first);
    if (firstDigits == 0)
        return false;
    if (lookahead.Peek() == ':')
        return ReadTime(in, secondOfDay);

    int year = 0, month = 0, day = 0;
    bool iso = false;
    platform::DateLayout layout;
    if (firstDigits == 4 && lookahead.Take('-')) {
        iso = true;
        year = first;
        if (!lookahead.Number(2, 2, month) || !lookahead.Take('-') || !lookahead.Number(2, 2, day))
            return false;
    } else if (DateLayoutOf(locale, layout)) {
        // The locale's order; its separator or "/" between the fields, the
        // same one twice.
        const char separator = lookahead.Peek();
        if (separator != layout.separator && separator != '/')
            return false;
        ++lookahead.p;
        const bool yearFirst = layout.order == platform::DateLayout::YearMonthDay;
        int second = 0, third = 0;
        if (!(yearFirst ? firstDigits >= 2 : firstDigits <= 2) || !lookahead.Number(1, 2, second)
            || !lookahead.Take(separator))
            return false;
        const int lastDigits = yearFirst ? lookahead.Number(1, 2, third) : lookahead.Number(2, 4, third);
        const int yearDigits = yearFirst ? firstDigits : lastDigits;
        if (lastDigits == 0)
            return false;
        if (layout.order == platform::DateLayout::MonthDayYear) {
            month = first;
            day = second;
            year = third;
        } else if (layout.order == platform::DateLayout::DayMonthYear) {
            day = first;
            month = second;
            year = third;
        } else {
            year = first;
            month = second;
            day = third;
        }
        // Two digits pick a century; three or four are the year itself, as
        // Format writes the years 100-999.
        if (yearDigits == 2)
            year += year < 30 ? 2000 : 1900;
    } else {
        return false;
    }
    if (!IsValidDate(year, month, day))
        return false;
    dayNumber = DayFromDate(year, month, day);
    in = lookahead;
    if (in.AtEnd())
        return true;
    // A time must follow, after blanks or (ISO only) a 'T'.
    if (!in.SkipBlanks() && !(iso && in.Take('T')))
        return false;
    return ReadTime(in, secondOfDay);
}

// Combines the statuses of two operands: both valid gives valid (the caller
// then checks the result's range), both null gives null, any other mix
// gives invalid.
template <typename Status>
Status CombinedStatus(Status left, Status right) noexcept
{
    if (left == Status::valid && right == Status::valid)
        return Status::valid;
    if (left == Status::null && right == Status::null)
        return Status::null;
    return Status::invalid;
}

bool IsSpanValue(double days) noexcept
{
    // Also false for NaN.
    return days >= -static_cast<double>(COleDateTimeSpan::MaxDays)
        && days <= static_cast<double>(COleDateTimeSpan::MaxDays);
}

// A valid span's length in whole seconds, rounded half away from zero.
// |days| <= 2^31 days keeps this inside 2^48 seconds.
std::int64_t RoundedSeconds(double days) noexcept
{
    const double seconds = std::floor(std::fabs(days) * kSecondsPerDay + 0.5);
    const auto magnitude = static_cast<std::int64_t>(seconds);
    return days < 0.0 ? -magnitude : magnitude;
}

} // namespace

// --------------------------------------------------------- COleDateTimeSpan

COleDateTimeSpan::COleDateTimeSpan(double days) noexcept
{
    *this = days;
}

COleDateTimeSpan::COleDateTimeSpan(long days, int hours, int minutes, int seconds) noexcept
{
    SetDateTimeSpan(days, hours, minutes, seconds);
}

COleDateTimeSpan& COleDateTimeSpan::operator=(double days) noexcept
{
    if (IsSpanValue(days)) {
        m_span = days + 0.0;
        m_status = valid;
    } else {
        m_span = 0.0;
        m_status = invalid;
    }
    return *this;
}

void COleDateTimeSpan::SetDateTimeSpan(long days, int hours, int minutes, int seconds) noexcept
{
    // Summed in seconds, where every part is exact in a double.
    const double total = static_cast<double>(days) * kSecondsPerDay + hours * 3600.0 + minutes * 60.0 + seconds;
    *this = total / kSecondsPerDay;
}

double COleDateTimeSpan::GetTotalDays() const noexcept
{
    return m_status == valid && IsSpanValue(m_span) ? m_span : 0.0;
}

double COleDateTimeSpan::GetTotalHours() const noexcept
{
    return GetTotalDays() * 24.0;
}

double COleDateTimeSpan::GetTotalMinutes() const noexcept
{
    return GetTotalDays() * 1440.0;
}

double COleDateTimeSpan::GetTotalSeconds() const noexcept
{
    return GetTotalDays() * kSecondsPerDay;
}

LONG COleDateTimeSpan::GetDays() const noexcept
{
    return static_cast<LONG>(RoundedSeconds(GetTotalDays()) / 86400);
}

LONG COleDateTimeSpan::GetHours() const noexcept
{
    return static_cast<LONG>(RoundedSeconds(GetTotalDays()) / 3600 % 24);
}

LONG COleDateTimeSpan::GetMinutes() const noexcept
{
    return static_cast<LONG>(RoundedSeconds(GetTotalDays()) / 60 % 60);
}

LONG COleDateTimeSpan::GetSeconds() const noexcept
{
    return static_cast<LONG>(RoundedSeconds(GetTotalDays()) % 60);
}

COleDateTimeSpan COleDateTimeSpan::operator+(const COleDateTimeSpan& other) const noexcept
{
    COleDateTimeSpan result;
    result.m_status = CombinedStatus(m_status, other.m_status);
    if (result.m_status == valid)
        result = m_span + other.m_span;
    return result;
}

COleDateTimeSpan COleDateTimeSpan::operator-(const COleDateTimeSpan& other) const noexcept
{
    return *this + (-other);
}

COleDateTimeSpan COleDateTimeSpan::operator-() const noexcept
{
    COleDateTimeSpan result = *this;
    result.m_span = 0.0 - m_span;
    return result;
}

COleDateTimeSpan& COleDateTimeSpan::operator+=(const COleDateTimeSpan& other) noexcept
{
    return *this = *this + other;
}

COleDateTimeSpan& COleDateTimeSpan::operator-=(const COleDateTimeSpan& other) noexcept
{
    return *this = *this - other;
}

bool COleDateTimeSpan::operator==(const COleDateTimeSpan& other) const noexcept
{
    if (m_status != valid || other.m_status != valid)
        return m_status == other.m_status;
    return m_span == other.m_span;
}

bool COleDateTimeSpan::operator<(const COleDateTimeSpan& other) const noexcept
{
    return m_status == valid && other.m_status == valid && m_span < other.m_span;
}

bool COleDateTimeSpan::operator<=(const COleDateTimeSpan& other) const noexcept
{
    return m_status == valid && other.m_status == valid && m_span <= other.m_span;
}

CString COleDateTimeSpan::Format(const char* format) const
{
    if (m_status == invalid)
        return CString("Invalid DateTimeSpan");
    if (m_status != valid || format == nullptr)
        return CString();
    return CTimeSpan(RoundedSeconds(GetTotalDays())).Format(format);
}

// ------------------------------------------------------------- COleDateTime

COleDateTime::COleDateTime(DATE value) noexcept
{
    *this = value;
}

COleDateTime::COleDateTime(std::time_t time) noexcept
{
    *this = time;
}

COleDateTime::COleDateTime(int year, int month, int day, int hour, int minute, int second) noexcept
{
    SetDateTime(year, month, day, hour, minute, second);
}

COleDateTime& COleDateTime::operator=(DATE value) noexcept
{
    m_dt = value;
    m_status = IsConvertible(value) ? valid : invalid;
    return *this;
}

COleDateTime& COleDateTime::operator=(std::time_t time) noexcept
{
    std::tm local {};
    bool converted = time >= 0;
#if defined(_WIN32)
    converted = converted && localtime_s(&local, &time) == 0;
#else
    converted = converted && localtime_r(&time, &local) != nullptr;
#endif
    // tm_year + 1900 cannot overflow once the year is known to be small.
    if (converted && local.tm_year >= 100 - 1900 && local.tm_year <= 9999 - 1900)
        SetDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                    // A leap second reads as the second before it.
                    local.tm_sec > 59 ? 59 : local.tm_sec);
    else {
        m_dt = 0.0;
        m_status = invalid;
    }
    return *this;
}

COleDateTime COleDateTime::GetCurrentTime() noexcept
{
    return COleDateTime(std::time(nullptr));
}

int COleDateTime::GetYear() const noexcept
{
    Fields f;
    return m_status == valid && Breakdown(m_dt, f) ? f.year : AFX_OLE_DATETIME_ERROR;
}

int COleDateTime::GetMonth() const noexcept
{
    Fields f;
    return m_status == valid && Breakdown(m_dt, f) ? f.month : AFX_OLE_DATETIME_ERROR;
}

int COleDateTime::GetDay() const noexcept
{
    Fields f;
    return m_status == valid && Breakdown(m_dt, f) ? f.day : AFX_OLE_DATETIME_ERROR;
}

int COleDateTime::GetHour() const noexcept
{
    Fields f;
    return m_status == valid && Breakdown(m_dt, f) ? f.hour : AFX_OLE_DATETIME_ERROR;
}

int COleDateTime::GetMinute() const noexcept
{
    Fields f;
    return m_status == valid && Breakdown(m_dt, f) ? f.minute : AFX_OLE_DATETIME_ERROR;
}

int COleDateTime::GetSecond() const noexcept
{
    Fields f;
    return m_status == valid && Breakdown(m_dt, f) ? f.second : AFX_OLE_DATETIME_ERROR;
}

int COleDateTime::GetDayOfWeek() const noexcept
{
    Fields f;
    return m_status == valid && Breakdown(m_dt, f) ? f.dayOfWeek : AFX_OLE_DATETIME_ERROR;
}

int COleDateTime::GetDayOfYear() const noexcept
{
    Fields f;
    return m_status == valid && Breakdown(m_dt, f) ? f.dayOfYear : AFX_OLE_DATETIME_ERROR;
}

bool COleDateTime::GetAsTm(struct tm& result) const noexcept
{
    Fields f;
    if (m_status != valid || !Breakdown(m_dt, f))
        return false;
    result = std::tm {};
    result.tm_year = f.year - 1900;
    result.tm_mon = f.month - 1;
    result.tm_mday = f.day;
    result.tm_hour = f.hour;
    result.tm_min = f.minute;
    result.tm_sec = f.second;
    result.tm_wday = f.dayOfWeek - 1;
    result.tm_yday = f.dayOfYear - 1;
    result.tm_isdst = -1;
    return true;
}

int COleDateTime::SetDateTime(int year, int month, int day, int hour, int minute, int second) noexcept
{
    if (!IsValidDate(year, month, day) || !IsValidTime(hour, minute, second)) {
        m_status = invalid;
        return 1;
    }
    m_dt = DateValue(DayFromDate(year, month, day), hour * 3600 + minute * 60 + second);
    m_status = valid;
    return 0;
}

int COleDateTime::SetDate(int year, int month, int day) noexcept
{
    return SetDateTime(year, month, day, 0, 0, 0);
}

int COleDateTime::SetTime(int hour, int minute, int second) noexcept
{
    if (!IsValidTime(hour, minute, second)) {
        m_status = invalid;
        return 1;
    }
    m_dt = DateValue(0, hour * 3600 + minute * 60 + second);
    m_status = valid;
    return 0;
}

bool COleDateTime::ParseDateTime(const char* text, DWORD flags, DWORD locale) noexcept
{
    m_dt = 0.0;
    m_status = invalid;
    const DWORD parts = flags & (VAR_TIMEVALUEONLY | VAR_DATEVALUEONLY);
    if (text == nullptr || parts == (VAR_TIMEVALUEONLY | VAR_DATEVALUEONLY))
        return false;
    Reader in { text, text };
    while (*in.end != '\0')
        ++in.end;
    while (in.end != in.p && IsBlank(in.end[-1]))
        --in.end;
    in.SkipBlanks();

    std::int64_t dayNumber = 0;
    int secondOfDay = 0;
    if (!ReadDateTime(in, locale, dayNumber, secondOfDay))
        return false;
    if (parts == VAR_TIMEVALUEONLY)
        dayNumber = 0;
    else if (parts == VAR_DATEVALUEONLY)
        secondOfDay = 0;
    m_dt = DateValue(dayNumber, secondOfDay);
    m_status = valid;
    return true;
}

CString COleDateTime::Format(const char* format) const
{
    if (m_status == invalid)
        return CString("Invalid DateTime");
    std::tm fields;
    if (m_status != valid || format == nullptr)
        return CString();
    if (!GetAsTm(fields))
        return CString("Invalid DateTime");
    return CTime::FormatTm(fields, format);
}

CString COleDateTime::Format(DWORD flags, DWORD locale) const
{
    if (m_status == invalid)
        return CString("Invalid DateTime");
    Fields f;
    if (m_status != valid)
        return CString();
    if (!Breakdown(m_dt, f))
        return CString("Invalid DateTime");
    bool showDate = f.dayNumber != 0;
    bool showTime = f.secondOfDay != 0 || f.dayNumber == 0;
    if (flags & VAR_TIMEVALUEONLY) {
        showDate = false;
        showTime = true;
    } else if (flags & VAR_DATEVALUEONLY) {
        showDate = true;
        showTime = false;
    }
    CString text;
    if (showDate) {
        char date[64];
        if (IsUserLocale(locale) && platform::FormatShortDate(locale, f.year, f.month, f.day, date, sizeof date) > 0)
            text = date;
        else
            text.Format("%d/%d/%d", f.month, f.day, f.year);
    }
    if (showTime) {
        const int hour12 = f.hour % 12 == 0 ? 12 : f.hour % 12;
        CString time;
        time.Format("%d:%02d:%02d %s", hour12, f.minute, f.second, f.hour < 12 ? "AM" : "PM");
        text += showDate ? " " + time : time;
    }
    return text;
}

COleDateTime COleDateTime::operator+(const COleDateTimeSpan& span) const noexcept
{
    COleDateTime result;
    result.m_status = CombinedStatus(m_status, static_cast<DateTimeStatus>(span.m_status));
    if (result.m_status != valid)
        return result;
    if (!IsConvertible(m_dt) || !IsSpanValue(span.m_span)) {
        result.m_status = invalid;
        return result;
    }
    const double linear = ToLinear(m_dt) + span.m_span;
    // Far outside the calendar: no need to convert, and no huge floor.
    if (!(linear > static_cast<double>(kFirstDay) - 2.0 && linear < static_cast<double>(kLastDay) + 2.0)) {
        result.m_status = invalid;
        return result;
    }
    result = FromLinear(linear);
    return result;
}

COleDateTime COleDateTime::operator-(const COleDateTimeSpan& span) const noexcept
{
    return *this + (-span);
}

COleDateTime& COleDateTime::operator+=(const COleDateTimeSpan& span) noexcept
{
    return *this = *this + span;
}

COleDateTime& COleDateTime::operator-=(const COleDateTimeSpan& span) noexcept
{
    return *this = *this - span;
}

COleDateTimeSpan COleDateTime::operator-(const COleDateTime& other) const noexcept
{
    COleDateTimeSpan result;
    const DateTimeStatus status = CombinedStatus(m_status, other.m_status);
    if (status == valid && IsConvertible(m_dt) && IsConvertible(other.m_dt))
        result = ToLinear(m_dt) - ToLinear(other.m_dt);
    else
        result.SetStatus(status == null ? COleDateTimeSpan::null : COleDateTimeSpan::invalid);
    return result;
}

bool COleDateTime::operator==(const COleDateTime& other) const noexcept
{
    if (m_status != valid || other.m_status != valid)
        return m_status == other.m_status;
    return ToLinear(m_dt) == ToLinear(other.m_dt);
}

bool COleDateTime::operator<(const COleDateTime& other) const noexcept
{
    return m_status == valid && other.m_status == valid && ToLinear(m_dt) < ToLinear(other.m_dt);
}

bool COleDateTime::operator<=(const COleDateTime& other) const noexcept
{
    return m_status == valid && other.m_status == valid && ToLinear(m_dt) <= ToLinear(other.m_dt);
}
