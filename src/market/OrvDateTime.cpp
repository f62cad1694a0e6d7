#include "market/OrvDateTime.h"

#include "market/TimeZoneAbbreviations.h"

#include "Kestrel.h"

#include <climits>
#include <cmath>
#include <cstdint>

namespace {

// Half a second, in days: added to a span before it is cut to whole minutes,
// so that a span a rounding error short of a minute still counts it.
constexpr double kHalfSecondInDays = 1.0 / 172800.0;

// The locale of US English, in which the trading day's bounds are written.
constexpr DWORD kLocaleUsEnglish = 1033;

// ------------------------------------------------------------ C time calls

bool BreakDownUtc(std::time_t time, std::tm& fields) noexcept
{
#if defined(_WIN32)
    return gmtime_s(&fields, &time) == 0;
#else
    return gmtime_r(&time, &fields) != nullptr;
#endif
}

// Calendar fields read as local wall time; false when the C library cannot
// place them. The fields are normalised as mktime normalises them.
bool FromLocalWallTime(std::tm& fields, std::time_t& time) noexcept
{
    time = std::mktime(&fields);
    return time != static_cast<std::time_t>(-1);
}

// 07:00:00 local standard wall time on the first Sunday on or after `day`
// of the month (1-12) of `year` (years since 1900).
bool SwitchInstant(int year, int month, int day, std::time_t& instant) noexcept
{
    for (int candidate = day; candidate < day + 7; ++candidate) {
        std::tm fields {};
        fields.tm_year = year;
        fields.tm_mon = month - 1;
        fields.tm_mday = candidate;
        fields.tm_hour = 7;
        fields.tm_isdst = 0;
        if (!FromLocalWallTime(fields, instant))
            return false;
        if (fields.tm_wday == 0)
            return true;
    }
    return false;
}

// ------------------------------------------------------------ spans

// Whole minutes of a value in minutes, never outside the int range.
int TruncatedMinutes(double minutes) noexcept
{
    if (!(minutes > static_cast<double>(INT_MIN) && minutes < static_cast<double>(INT_MAX)))
        return minutes > 0.0 ? INT_MAX : (minutes < 0.0 ? INT_MIN : 0);
    return static_cast<int>(std::trunc(minutes));
}

double AwayFromZero(double value, double amount) noexcept
{
    return value >= 0.0 ? value + amount : value - amount;
}

COleDateTimeSpan MinutesSpan(LONG minutes) noexcept
{
    return COleDateTimeSpan(0, 0, static_cast<int>(minutes), 0);
}

// ------------------------------------------------------------ FIX text

bool IsBlank(char ch) noexcept
{
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\v' || ch == '\f' || ch == '\r';
}

// A field read as atoi reads it, over [begin, end) only: blanks, a sign,
// digits up to the first other character. The magnitude stops growing at
// kFieldLimit, a number no calendar field accepts, so a long run of digits
// cannot overflow.
constexpr int kFieldLimit = 1000000;

int ReadField(const char* begin, const char* end) noexcept
{
    while (begin < end && IsBlank(*begin))
        ++begin;
    bool negative = false;
    if (begin < end && (*begin == '+' || *begin == '-')) {
        negative = *begin == '-';
        ++begin;
    }
    int value = 0;
    for (; begin < end && *begin >= '0' && *begin <= '9'; ++begin) {
        if (value < kFieldLimit)
            value = value * 10 + (*begin - '0');
    }
    return negative ? -value : value;
}

// A part of the text: [begin, end).
struct Piece {
    const char* begin;
    const char* end;

    // The part before the first `separator` (all of it when there is none);
    // the rest, after the separator, is left in `rest` (empty when none).
    Piece Before(char separator, Piece& rest) const noexcept
    {
        for (const char* p = begin; p < end; ++p) {
            if (*p == separator) {
                rest = Piece { p + 1, end };
                return Piece { begin, p };
            }
        }
        rest = Piece { end, end };
        return *this;
    }

    // count characters from offset, clipped to the piece.
    Piece Sub(long offset, long count) const noexcept
    {
        const long length = static_cast<long>(end - begin);
        const long first = offset < length ? offset : length;
        const long last = first + count < length ? first + count : length;
        return Piece { begin + first, begin + last };
    }

    int Read() const noexcept { return ReadField(begin, end); }
};

struct FixFields {
    int year, month, day, hour, minute, second;
};

// YYYYMMDD-HH:MM:SS with or without ".sss": every field at its place.
FixFields ReadByPosition(const Piece& text) noexcept
{
    return FixFields { text.Sub(0, 4).Read(), text.Sub(4, 2).Read(), text.Sub(6, 2).Read(),
                       text.Sub(9, 2).Read(), text.Sub(12, 2).Read(), text.Sub(15, 2).Read() };
}

// Any other length: the date before the first '-', the time after it up to
// the next '-', split at ':', ':' and '.'; what is missing reads 0.
FixFields ReadBySplitting(const Piece& text) noexcept
{
    Piece afterDate {};
    const Piece date = text.Before('-', afterDate);
    Piece ignored {};
    const Piece time = afterDate.Before('-', ignored);
    Piece afterHour {}, afterMinute {}, fraction {};
    const Piece hour = time.Before(':', afterHour);
    const Piece minute = afterHour.Before(':', afterMinute);
    const Piece second = afterMinute.Before('.', fraction);
    return FixFields { date.Sub(0, 4).Read(), date.Sub(4, 2).Read(), date.Sub(6, 2).Read(),
                       hour.Read(), minute.Read(), second.Read() };
}

// ------------------------------------------------------------ formatting

const char* TimePattern(unsigned long flags, bool secondsNonZero, const CString& withZone,
                        const CString& withZoneNoSeconds) noexcept
{
    const bool zone = (flags & COrvDateTime::FormatWithZone) != 0;
    bool seconds = (flags & COrvDateTime::FormatNoSeconds) == 0;
    if (seconds && (flags & COrvDateTime::FormatSecondsIfAny) != 0)
        seconds = secondsNonZero;
    if (zone)
        return seconds ? withZone.GetString() : withZoneNoSeconds.GetString();
    return seconds ? "%H:%M:%S" : "%H:%M";
}

} // namespace

// ------------------------------------------------------- class-wide state
//
// The lock, the zone strings and spans, the trading day's bounds and
// sm_init are defined with the library's other static objects, in
// LibraryStartup.cpp, in that order: the lock and the strings exist before
// sm_init runs Init when the library loads.

COrvDateTime::_init::_init()
{
    COrvDateTime::Init();
}

void COrvDateTime::Init()
{
    CSectionLock lock(sm_sect);

    TIME_ZONE_INFORMATION zone {};
    const DWORD zoneId = GetTimeZoneInformation(&zone);
    // The names are fixed arrays; make sure they end inside them.
    zone.StandardName[31] = 0;
    zone.DaylightName[31] = 0;
    LONG localBias = zone.Bias;
    const WCHAR* zoneName = zone.StandardName;
    if (zoneId == TIME_ZONE_ID_STANDARD) {
        localBias = zone.Bias + zone.StandardBias;
    } else if (zoneId == TIME_ZONE_ID_DAYLIGHT) {
        localBias = zone.Bias + zone.DaylightBias;
        zoneName = zone.DaylightName;
    } else if (zoneId == TIME_ZONE_ID_INVALID) {
        // Nothing was reported: take UTC and say the zone is not known.
        localBias = 0;
        zoneName = nullptr;
    }
    sm_sLocalZone = LookUpZoneAbbreviation(zoneName);

    LONG easternBias = 300;
    DecideEasternDaylight(std::time(nullptr), easternBias, sm_sETZone);
    if (sm_sETZone.IsEmpty())
        sm_sETZone = "???";

    sm_spanLocal = MinutesSpan(localBias);
    sm_spanET = MinutesSpan(easternBias);
    UpdateDisplayZoneAndSpan();

    sm_timeMktOpen.ParseETDateTime("09:30:00", 0, kLocaleUsEnglish);
    sm_timeMktClose.ParseETDateTime("16:00:00", 0, kLocaleUsEnglish);

    HostLogFormat(2, "COrvDateTime::Init: local=%d/%s eastern=%d/%s", static_cast<int>(localBias),
                  sm_sLocalZone.GetString(), static_cast<int>(easternBias), sm_sETZone.GetString());
}

bool COrvDateTime::DecideEasternDaylight(std::time_t now, LONG& easternBias, CString& easternZone)
{
    easternBias = 300;
    if (now <= 0) {
        HostLog(5, "Warning: Windows time error: please check your system clock setting (particularly the year).");
        return false;
    }
    std::tm fields {};
    if (!BreakDownUtc(now, fields))
        return false;
    // The UTC fields read as local wall time: exact where the workstation's
    // zone has no daylight time, as are the switch instants read the same way.
    fields.tm_isdst = -1;
    std::time_t instant = 0;
    if (!FromLocalWallTime(fields, instant))
        return false;

    bool daylight = false;
    const int month = fields.tm_mon + 1;
    if (month >= 4 && month <= 10) {
        daylight = true;
    } else if (month == 3 || month == 11) {
        // The second Sunday of March, the first Sunday of November.
        std::time_t change = 0;
        if (!SwitchInstant(fields.tm_year, month, month == 3 ? 8 : 1, change))
            return false;
        daylight = month == 3 ? instant > change : instant < change;
    }
    easternBias = daylight ? 240 : 300;
    easternZone = daylight ? "EDT" : "EST";
    return true;
}

CString COrvDateTime::LookUpZoneAbbreviation(const WCHAR* zoneName)
{
    const WCHAR* found = nullptr;
    for (int row = 0; zoneName != nullptr && row < kZoneAbbreviationCount; ++row) {
        const WCHAR* name = kZoneAbbreviations[row].name;
        int i = 0;
        // Both names end within 32 characters: the table's by construction,
        // the caller's at its terminator.
        while (i < 32 && name[i] != 0 && name[i] == zoneName[i])
            ++i;
        if (i < 32 && name[i] == 0 && zoneName[i] == 0)
            found = kZoneAbbreviations[row].abbreviation;
    }
    if (found == nullptr)
        return CString("???");
    CString abbreviation;
    for (; *found != 0; ++found)
        abbreviation += static_cast<char>(*found);
    return abbreviation;
}

void COrvDateTime::UpdateDisplayZoneAndSpan()
{
    CSectionLock lock(sm_sect);
    sm_span = sm_bLocalFormat ? sm_spanLocal : sm_spanET;
    sm_sDisplayZone = sm_bLocalFormat ? sm_sLocalZone : sm_sETZone;
    sm_sFmtTimeWithZone.Format("%%H:%%M:%%S %s", sm_sDisplayZone.GetString());
    sm_sFmtTimeWithZoneNoSec.Format("%%H:%%M %s", sm_sDisplayZone.GetString());
}

void COrvDateTime::SetLocalDisplayFormat(int localFormat)
{
    CSectionLock lock(sm_sect);
    if (localFormat == sm_bLocalFormat)
        return;
    sm_bLocalFormat = localFormat;
    UpdateDisplayZoneAndSpan();
}

COrvDateTime COrvDateTime::GetTickCount()
{
    CSectionLock lock(sm_sect);
    return FromTimeValue(std::time(nullptr)) + sm_spanDelta;
}

COrvDateTime COrvDateTime::GetCurrentTimeOnly()
{
    COrvDateTime now = GetTickCount();
    now.ClearDate();
    return now;
}

COrvDateTime COrvDateTime::GetCurrentDateOnly()
{
    COrvDateTime now = GetTickCount();
    now.ClearTime();
    return now;
}

void COrvDateTime::SetDelta(const COleDateTimeSpan& delta)
{
    CSectionLock lock(sm_sect);
    sm_spanDelta = delta;
}

const COleDateTimeSpan& COrvDateTime::GetDelta() noexcept
{
    return sm_spanDelta;
}

COleDateTimeSpan COrvDateTime::ReadSpan(const COleDateTimeSpan& span)
{
    CSectionLock lock(sm_sect);
    return span;
}

COleDateTimeSpan COrvDateTime::GetSpan()
{
    return ReadSpan(sm_span);
}

COleDateTimeSpan COrvDateTime::GetSpanET()
{
    return ReadSpan(sm_spanET);
}

COleDateTimeSpan COrvDateTime::GetSpanLocal()
{
    return ReadSpan(sm_spanLocal);
}

int COrvDateTime::GetETToUTCMinutes()
{
    return TruncatedMinutes(AwayFromZero(GetSpanET().GetTotalDays() * 1440.0, kHalfSecondInDays));
}

int COrvDateTime::GetLocalToUTCMinutes()
{
    return TruncatedMinutes(AwayFromZero(GetSpanLocal().GetTotalDays() * 1440.0, kHalfSecondInDays));
}

int COrvDateTime::GetDisplayToUTCMinutes()
{
    return TruncatedMinutes(AwayFromZero(GetSpan().GetTotalDays(), kHalfSecondInDays) * 1440.0);
}

const CString& COrvDateTime::GetLocalTimeZone() noexcept
{
    return sm_sLocalZone;
}

CString COrvDateTime::GetEasternTimeZone()
{
    CSectionLock lock(sm_sect);
    return sm_sETZone;
}

CString COrvDateTime::GetDisplayTimeZone()
{
    CSectionLock lock(sm_sect);
    return sm_sDisplayZone;
}

const COrvDateTime& COrvDateTime::GetMarketOpen() noexcept
{
    return sm_timeMktOpen;
}

const COrvDateTime& COrvDateTime::GetMarketClose() noexcept
{
    return sm_timeMktClose;
}

// --------------------------------------------------------- per-object

COrvDateTime::COrvDateTime(const double& value) noexcept
{
    COleDateTime::operator=(value);
}

COrvDateTime::COrvDateTime(long time)
{
    *this = FromTimeValue(static_cast<std::time_t>(time));
}

COrvDateTime& COrvDateTime::operator=(const double& value) noexcept
{
    COleDateTime::operator=(value);
    return *this;
}

COrvDateTime& COrvDateTime::operator=(const long& time)
{
    return *this = FromTimeValue(static_cast<std::time_t>(time));
}

COrvDateTime& COrvDateTime::operator=(const COleDateTime& other) noexcept
{
    m_dt = other.m_dt;
    m_status = other.m_status;
    return *this;
}

COrvDateTime COrvDateTime::FromTimeValue(std::time_t time)
{
    COrvDateTime result;
    result = COleDateTime(time) + ReadSpan(sm_spanLocal);
    return result;
}

COrvDateTime COrvDateTime::operator+(const COleDateTimeSpan& span) const noexcept
{
    COrvDateTime result;
    result = static_cast<const COleDateTime&>(*this) + span;
    return result;
}

COrvDateTime COrvDateTime::operator-(const COleDateTimeSpan& span) const noexcept
{
    COrvDateTime result;
    result = static_cast<const COleDateTime&>(*this) - span;
    return result;
}

COrvDateTime& COrvDateTime::operator+=(const COleDateTimeSpan& span) noexcept
{
    return *this = *this + span;
}

COrvDateTime& COrvDateTime::operator-=(const COleDateTimeSpan& span) noexcept
{
    return *this = *this - span;
}

bool COrvDateTime::operator==(const COleDateTime& other) const noexcept
{
    return m_status == other.m_status && m_dt == other.m_dt;
}

void COrvDateTime::ClearDate() noexcept
{
    m_dt -= std::trunc(m_dt);
    m_dt += 0.0; // no negative zero
}

void COrvDateTime::ClearTime() noexcept
{
    m_dt = std::trunc(m_dt) + 0.0;
}

LONG COrvDateTime::GetTime() const
{
    if (m_status != valid)
        return 0;
    const COleDateTime wall = static_cast<const COleDateTime&>(*this) - ReadSpan(sm_spanLocal);
    std::tm fields {};
    if (!wall.GetAsTm(fields))
        return 0;
    fields.tm_isdst = -1;
    std::time_t time = 0;
    if (!FromLocalWallTime(fields, time) || time < 0 || time > static_cast<std::time_t>(INT32_MAX))
        return 0;
    return static_cast<LONG>(time);
}

int COrvDateTime::ParseDateTime(const char* text, DWORD flags, DWORD locale) noexcept
{
    return COleDateTime::ParseDateTime(text, flags, locale) ? 1 : 0;
}

int COrvDateTime::ShiftAfterParse(bool parsed, const COleDateTimeSpan& span)
{
    if (!parsed)
        return 0;
    *this += ReadSpan(span);
    return m_status == valid ? 1 : 0;
}

int COrvDateTime::ParseETDateTime(const char* text, DWORD flags, DWORD locale)
{
    if (!ShiftAfterParse(COleDateTime::ParseDateTime(text, flags, locale), sm_spanET))
        return 0;
    if ((flags & VAR_TIMEVALUEONLY) != 0 && m_dt != 0.0)
        ClearDate();
    return 1;
}

int COrvDateTime::ParseLocalDateTime(const char* text, DWORD flags, DWORD locale)
{
    return ShiftAfterParse(COleDateTime::ParseDateTime(text, flags, locale), sm_spanLocal);
}

int COrvDateTime::ParseFIXUtcTimestamp(const CString& text) noexcept
{
    const int length = text.GetLength();
    if (length < 17)
        return 0;
    const Piece all { text.GetString(), text.GetString() + length };
    const FixFields f = length == 17 || length == 21 ? ReadByPosition(all) : ReadBySplitting(all);
    return SetDateTime(f.year, f.month, f.day, f.hour, f.minute, f.second) == 0 ? 1 : 0;
}

int COrvDateTime::ParseFIXETTimestamp(const CString& text)
{
    return ShiftAfterParse(ParseFIXUtcTimestamp(text) != 0, sm_spanET);
}

CString COrvDateTime::FormatFIXTimestamp() const
{
    if (m_status == null)
        return CString();
    std::tm f {};
    if (m_status != valid || !GetAsTm(f))
        return CString("Invalid DateTime");
    CString text;
    text.Format("%04d%02d%02d-%02d:%02d:%02d", f.tm_year + 1900, f.tm_mon + 1, f.tm_mday, f.tm_hour, f.tm_min,
                f.tm_sec);
    return text;
}

CString COrvDateTime::FormatFIXUtcTimestamp() const
{
    return FormatFIXTimestamp();
}

CString COrvDateTime::FormatFIXETTimestamp() const
{
    if (m_status == null)
        return CString();
    return (*this - MinutesSpan(GetETToUTCMinutes())).FormatFIXTimestamp();
}

// ------------------------------------------------------------ zone views

bool COrvDateTime::ShiftInto(View view, COleDateTime& shifted, CString& formatWithZone,
                             CString& formatWithZoneNoSeconds) const
{
    if (m_dt == 0.0 || m_status == null)
        return false;
    COleDateTimeSpan span;
    {
        CSectionLock lock(sm_sect);
        span = view == View::Display ? sm_span : (view == View::Eastern ? sm_spanET : sm_spanLocal);
        formatWithZone = sm_sFmtTimeWithZone;
        formatWithZoneNoSeconds = sm_sFmtTimeWithZoneNoSec;
    }
    shifted = static_cast<const COleDateTime&>(*this) - span;
    return true;
}

CString COrvDateTime::FormatDateIn(View view) const
{
    COleDateTime shifted;
    CString withZone, withZoneNoSeconds;
    if (!ShiftInto(view, shifted, withZone, withZoneNoSeconds))
        return CString();
    return shifted.Format(VAR_DATEVALUEONLY, DefaultLocale);
}

CString COrvDateTime::FormatTimeIn(View view, unsigned long flags) const
{
    COleDateTime shifted;
    CString withZone, withZoneNoSeconds;
    if (!ShiftInto(view, shifted, withZone, withZoneNoSeconds))
        return CString();
    return shifted.Format(TimePattern(flags, shifted.GetSecond() != 0, withZone, withZoneNoSeconds));
}

CString COrvDateTime::FormatDateTimeIn(View view, unsigned long flags) const
{
    COleDateTime shifted;
    CString withZone, withZoneNoSeconds;
    if (!ShiftInto(view, shifted, withZone, withZoneNoSeconds))
        return CString();
    return shifted.Format(VAR_DATEVALUEONLY, DefaultLocale) + " "
        + shifted.Format(TimePattern(flags, shifted.GetSecond() != 0, withZone, withZoneNoSeconds));
}

CString COrvDateTime::FormatDisplayDate() const
{
    return FormatDateIn(View::Display);
}

CString COrvDateTime::FormatETDate() const
{
    return FormatDateIn(View::Eastern);
}

CString COrvDateTime::FormatLocalDate() const
{
    return FormatDateIn(View::Local);
}

CString COrvDateTime::FormatDisplayTime(unsigned long flags) const
{
    return FormatTimeIn(View::Display, flags);
}

CString COrvDateTime::FormatETTime(unsigned long flags) const
{
    return FormatTimeIn(View::Eastern, flags);
}

CString COrvDateTime::FormatLocalTime(unsigned long flags) const
{
    return FormatTimeIn(View::Local, flags);
}

CString COrvDateTime::FormatDisplayDateTime(unsigned long flags) const
{
    return FormatDateTimeIn(View::Display, flags);
}

CString COrvDateTime::FormatETDateTime(unsigned long flags) const
{
    return FormatDateTimeIn(View::Eastern, flags);
}
