#include "framework/Time.h"

#include "framework/Calendar.h"

#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

namespace {

constexpr std::int64_t kInt64Max = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kInt64Min = std::numeric_limits<std::int64_t>::min();

std::int64_t SaturatingAdd(std::int64_t a, std::int64_t b) noexcept
{
    if (b > 0 && a > kInt64Max - b)
        return kInt64Max;
    if (b < 0 && a < kInt64Min - b)
        return kInt64Min;
    return a + b;
}

std::int64_t SaturatingSubtract(std::int64_t a, std::int64_t b) noexcept
{
    if (b < 0 && a > kInt64Max + b)
        return kInt64Max;
    if (b > 0 && a < kInt64Min + b)
        return kInt64Min;
    return a - b;
}

using orv::calendar::DaysInMonth;

// The thread-safe breakdowns of each C library; both reject values outside
// the range the Windows runtime converts, so that the two builds agree.
bool LocalBreakdown(std::int64_t value, std::tm& out) noexcept
{
    if (value < 0 || value > CTime::MaxConvertible)
        return false;
    const std::time_t t = static_cast<std::time_t>(value);
#if defined(_WIN32)
    return localtime_s(&out, &t) == 0;
#else
    return localtime_r(&t, &out) != nullptr;
#endif
}

bool GmtBreakdown(std::int64_t value, std::tm& out) noexcept
{
    if (value < 0 || value > CTime::MaxConvertible)
        return false;
    const std::time_t t = static_cast<std::time_t>(value);
#if defined(_WIN32)
    return gmtime_s(&out, &t) == 0;
#else
    return gmtime_r(&t, &out) != nullptr;
#endif
}

const char* const kDayNames[7] = { "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday" };
const char* const kMonthNames[12] = { "January", "February", "March",     "April",   "May",      "June",
                                      "July",    "August",   "September", "October", "November", "December" };

void AppendNumber(std::string& out, long long value, int width, char pad)
{
    char buffer[32];
    int length = std::snprintf(buffer, sizeof buffer, "%lld", value);
    if (length < 0)
        return;
    const bool negative = value < 0;
    const int digits = negative ? length - 1 : length;
    if (negative)
        out += '-';
    for (int i = digits; i < width; ++i)
        out += pad;
    out.append(buffer + (negative ? 1 : 0), static_cast<std::size_t>(digits));
}

void AppendName(std::string& out, const char* const* table, int count, int index, bool abbreviated)
{
    if (index < 0 || index >= count) {
        out += '?';
        return;
    }
    out.append(table[index], abbreviated ? 3 : std::strlen(table[index]));
}

void FormatInto(std::string& out, const std::tm& t, const char* format);

// One conversion; returns false for a character that is not a conversion.
bool Convert(std::string& out, const std::tm& t, char conversion, bool trim)
{
    // Numeric fields pad to width with zeros unless the '#' flag asks for none.
    auto number = [&](long long value, int width) { AppendNumber(out, value, trim ? 0 : width, '0'); };
    const long long hour = t.tm_hour;
    switch (conversion) {
    case 'a': AppendName(out, kDayNames, 7, t.tm_wday, true); break;
    case 'A': AppendName(out, kDayNames, 7, t.tm_wday, false); break;
    case 'b':
    case 'h': AppendName(out, kMonthNames, 12, t.tm_mon, true); break;
    case 'B': AppendName(out, kMonthNames, 12, t.tm_mon, false); break;
    case 'c': FormatInto(out, t, trim ? "%A, %B %d, %Y %H:%M:%S" : "%m/%d/%y %H:%M:%S"); break;
    case 'x': FormatInto(out, t, trim ? "%A, %B %d, %Y" : "%m/%d/%y"); break;
    case 'X': FormatInto(out, t, "%H:%M:%S"); break;
    case 'd': number(t.tm_mday, 2); break;
    case 'e': AppendNumber(out, t.tm_mday, trim ? 0 : 2, ' '); break;
    case 'H': number(hour, 2); break;
    case 'I': number(hour % 12 == 0 ? 12 : hour % 12, 2); break;
    case 'j': number(static_cast<long long>(t.tm_yday) + 1, 3); break;
    case 'm': number(static_cast<long long>(t.tm_mon) + 1, 2); break;
    case 'M': number(t.tm_min, 2); break;
    case 'p': out += hour < 12 ? "AM" : "PM"; break;
    case 'S': number(t.tm_sec, 2); break;
    case 'U': number((static_cast<long long>(t.tm_yday) + 7 - t.tm_wday) / 7, 2); break;
    case 'W': number((static_cast<long long>(t.tm_yday) + 7 - (static_cast<long long>(t.tm_wday) + 6) % 7) / 7, 2); break;
    case 'w': number(t.tm_wday, 1); break;
    case 'y': number(((static_cast<long long>(t.tm_year) + 1900) % 100 + 100) % 100, 2); break;
    case 'Y': number(static_cast<long long>(t.tm_year) + 1900, 0); break;
    case 'n': out += '\n'; break;
    case 't': out += '\t'; break;
    case '%': out += '%'; break;
    default: return false;
    }
    return true;
}

void FormatInto(std::string& out, const std::tm& t, const char* format)
{
    for (const char* p = format; *p != '\0'; ++p) {
        if (*p != '%') {
            out += *p;
            continue;
        }
        const char* start = p;
        bool trim = false;
        if (p[1] == '#') {
            trim = true;
            ++p;
        }
        if (p[1] == '\0' || !Convert(out, t, p[1], trim)) {
            // Not a conversion: copy it as written and go on after it.
            out.append(start, static_cast<std::size_t>(p - start) + (p[1] == '\0' ? 1 : 2));
            if (p[1] == '\0')
                break;
        }
        ++p;
    }
}

// Shared by both span types: the magnitudes of a span's parts and its sign.
void FormatSpanField(std::string& out, bool& signShown, bool negative, unsigned long long magnitude, int width)
{
    if (negative && !signShown) {
        out += '-';
        signShown = true;
    }
    char buffer[32];
    const int length = std::snprintf(buffer, sizeof buffer, "%0*llu", width, magnitude);
    if (length > 0)
        out.append(buffer, static_cast<std::size_t>(length));
}

} // namespace

// ---------------------------------------------------------------- CTimeSpan

CTimeSpan::CTimeSpan(LONG days, int hours, int minutes, int seconds) noexcept
{
    SetTimeSpan(days, hours, minutes, seconds);
}

void CTimeSpan::SetTimeSpan(LONG days, int hours, int minutes, int seconds) noexcept
{
    // |days| * 86400 and the rest stay far inside 64 bits.
    m_span = static_cast<std::int64_t>(days) * 86400 + static_cast<std::int64_t>(hours) * 3600
        + static_cast<std::int64_t>(minutes) * 60 + seconds;
}

CTimeSpan CTimeSpan::operator+(CTimeSpan other) const noexcept
{
    return CTimeSpan(SaturatingAdd(m_span, other.m_span));
}

CTimeSpan CTimeSpan::operator-(CTimeSpan other) const noexcept
{
    return CTimeSpan(SaturatingSubtract(m_span, other.m_span));
}

CTimeSpan CTimeSpan::operator-() const noexcept
{
    return CTimeSpan(SaturatingSubtract(0, m_span));
}

CTimeSpan& CTimeSpan::operator+=(CTimeSpan other) noexcept
{
    return *this = *this + other;
}

CTimeSpan& CTimeSpan::operator-=(CTimeSpan other) noexcept
{
    return *this = *this - other;
}

CString CTimeSpan::Format(const char* format) const
{
    if (format == nullptr)
        return CString();
    const bool negative = m_span < 0;
    // The magnitude in unsigned arithmetic, so that INT64_MIN has one.
    const unsigned long long total
        = negative ? 0ULL - static_cast<unsigned long long>(m_span) : static_cast<unsigned long long>(m_span);
    std::string out;
    bool signShown = false;
    for (const char* p = format; *p != '\0'; ++p) {
        if (*p != '%') {
            out += *p;
            continue;
        }
        switch (p[1]) {
        case 'D': FormatSpanField(out, signShown, negative, total / 86400, 1); break;
        case 'H': FormatSpanField(out, signShown, negative, total / 3600 % 24, 2); break;
        case 'M': FormatSpanField(out, signShown, negative, total / 60 % 60, 2); break;
        case 'S': FormatSpanField(out, signShown, negative, total % 60, 2); break;
        case '%': out += '%'; break;
        case '\0': out += '%'; continue;
        default: out += '%'; out += p[1]; break;
        }
        ++p;
    }
    return CString(out.c_str(), static_cast<int>(out.size()));
}

// -------------------------------------------------------------------- CTime

CTime::CTime(int year, int month, int day, int hour, int minute, int second, int dst) noexcept : m_time(-1)
{
    if (year < 1900 || year > 3000 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)
        || hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
        return;
    std::tm fields {};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    fields.tm_isdst = dst < 0 ? -1 : (dst > 0 ? 1 : 0);
#if defined(_WIN32)
    const std::int64_t result = _mktime64(&fields);
#else
    const std::int64_t result = std::mktime(&fields);
#endif
    if (result >= 0 && result <= MaxConvertible)
        m_time = result;
}

CTime CTime::GetCurrentTime() noexcept
{
    return CTime(static_cast<std::int64_t>(std::time(nullptr)));
}

int CTime::GetYear() const noexcept
{
    std::tm t;
    return LocalBreakdown(m_time, t) ? t.tm_year + 1900 : -1;
}

int CTime::GetMonth() const noexcept
{
    std::tm t;
    return LocalBreakdown(m_time, t) ? t.tm_mon + 1 : -1;
}

int CTime::GetDay() const noexcept
{
    std::tm t;
    return LocalBreakdown(m_time, t) ? t.tm_mday : -1;
}

int CTime::GetHour() const noexcept
{
    std::tm t;
    return LocalBreakdown(m_time, t) ? t.tm_hour : -1;
}

int CTime::GetMinute() const noexcept
{
    std::tm t;
    return LocalBreakdown(m_time, t) ? t.tm_min : -1;
}

int CTime::GetSecond() const noexcept
{
    std::tm t;
    return LocalBreakdown(m_time, t) ? t.tm_sec : -1;
}

int CTime::GetDayOfWeek() const noexcept
{
    std::tm t;
    return LocalBreakdown(m_time, t) ? t.tm_wday + 1 : -1;
}

struct tm* CTime::GetGmtTm(struct tm* result) const noexcept
{
    std::tm t;
    if (result == nullptr || !GmtBreakdown(m_time, t))
        return nullptr;
    *result = t;
    return result;
}

struct tm* CTime::GetLocalTm(struct tm* result) const noexcept
{
    std::tm t;
    if (result == nullptr || !LocalBreakdown(m_time, t))
        return nullptr;
    *result = t;
    return result;
}

CString CTime::Format(const char* format) const
{
    std::tm t;
    if (format == nullptr || !LocalBreakdown(m_time, t))
        return CString();
    return FormatTm(t, format);
}

CString CTime::FormatGmt(const char* format) const
{
    std::tm t;
    if (format == nullptr || !GmtBreakdown(m_time, t))
        return CString();
    return FormatTm(t, format);
}

CString CTime::FormatTm(const struct tm& time, const char* format)
{
    if (format == nullptr)
        return CString();
    std::string out;
    FormatInto(out, time, format);
    return CString(out.c_str(), static_cast<int>(out.size()));
}

CTime CTime::operator+(CTimeSpan span) const noexcept
{
    return CTime(SaturatingAdd(m_time, span.GetTimeSpan()));
}

CTime CTime::operator-(CTimeSpan span) const noexcept
{
    return CTime(SaturatingSubtract(m_time, span.GetTimeSpan()));
}

CTimeSpan CTime::operator-(CTime other) const noexcept
{
    return CTimeSpan(SaturatingSubtract(m_time, other.m_time));
}

CTime& CTime::operator+=(CTimeSpan span) noexcept
{
    return *this = *this + span;
}

CTime& CTime::operator-=(CTimeSpan span) noexcept
{
    return *this = *this - span;
}
