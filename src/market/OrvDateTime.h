// The market clock: COrvDateTime, a date-time value that always holds UTC,
// and the class-wide zone state that turns it into local, Eastern and
// display time.
#pragma once

#include "OrvApi.h"
#include "framework/OleDateTime.h"
#include "framework/Section.h"
#include "framework/String.h"
#include "platform/SystemTime.h"
#include "base/Types.h"

#include <ctime>

// A COleDateTime whose value is always read as UTC.
//
// Three views derive from it: local (the workstation's Windows zone),
// Eastern (the US equity market, on the US daylight-saving calendar) and
// display (local or Eastern, as the user chooses). Each view is the UTC
// value minus the zone's span, where UTC = zone wall time + span; parsing
// in a zone adds the span. The spans, zone abbreviations and the trading
// day's bounds are computed once when the library loads and are not
// re-evaluated afterwards (a daylight change while the library stays loaded
// is not picked up).
//
// Class-wide state is guarded by sm_sect; per-object values are not locked.
class ORV_API COrvDateTime : public COleDateTime {
public:
    // Value 0 (30 December 1899 00:00 UTC), status valid.
    COrvDateTime() noexcept = default;
    // The value as given. Valid when it is a date in years 100-9999, else
    // invalid (NaN and infinities included), as COleDateTime decides: a
    // number outside the calendar is never taken for a valid instant.
    COrvDateTime(const double& value) noexcept;
    // A C time value: its local wall time (as COleDateTime reads a time
    // value) plus the local span, so UTC. Invalid with value 0 for a
    // negative time or one the C library cannot convert.
    COrvDateTime(long time);
    COrvDateTime(const COrvDateTime& other) noexcept = default;

    COrvDateTime& operator=(const double& value) noexcept;
    COrvDateTime& operator=(const long& time);
    COrvDateTime& operator=(const COrvDateTime& other) noexcept = default;
    // Copies value and status.
    COrvDateTime& operator=(const COleDateTime& other) noexcept;

    // Arithmetic with COleDateTime's rules, so that a value that is not valid
    // never turns valid by a shift: a valid value plus a valid span is valid
    // unless the result leaves years 100-9999; a null value with a null span
    // stays null; every other mix (an invalid operand, or null with valid)
    // gives invalid.
    COrvDateTime operator+(const COleDateTimeSpan& span) const noexcept;
    COrvDateTime operator-(const COleDateTimeSpan& span) const noexcept;
    COrvDateTime& operator+=(const COleDateTimeSpan& span) noexcept;
    COrvDateTime& operator-=(const COleDateTimeSpan& span) noexcept;
    // The distance between two instants.
    using COleDateTime::operator-;

    // Equal when status and stored value are both equal.
    bool operator==(const COleDateTime& other) const noexcept;
    bool operator!=(const COleDateTime& other) const noexcept { return !(*this == other); }

    // The value minus its whole days (truncated toward zero), leaving the
    // time of day; the status is kept.
    void ClearDate() noexcept;
    // The value truncated toward zero to whole days; the status is kept.
    void ClearTime() noexcept;

    // The C time value of the instant (seconds since 1970, 32 bits): the
    // value minus the local span, read as local wall time. 0 when the value
    // is not valid or the instant lies outside 1970 to January 2038.
    LONG GetTime() const;

    // COleDateTime's parse, taken as UTC. Non-zero on success. On failure
    // the value is as the parse left it (invalid) and no shift is applied.
    int ParseDateTime(const char* text, DWORD flags = 0, DWORD locale = DefaultLocale) noexcept;
    // Parses Eastern wall time and adds the Eastern span. With
    // VAR_TIMEVALUEONLY, a result that is not exactly 0 keeps only its time
    // of day, so "22:00" becomes an early-morning UTC time on day 0.
    int ParseETDateTime(const char* text, DWORD flags = 0, DWORD locale = DefaultLocale);
    // Parses local wall time and adds the local span.
    int ParseLocalDateTime(const char* text, DWORD flags = 0, DWORD locale = DefaultLocale);

    // A FIX UTC timestamp: YYYYMMDD-HH:MM:SS or YYYYMMDD-HH:MM:SS.sss, read
    // by position; any other length of at least 17 characters is split: the
    // date (YYYYMMDD) before the first '-', then the time up to any second
    // '-', at ':', ':' and '.'; missing parts read 0. Each field is read as
    // atoi reads a number (blanks, a sign, then digits up to the first other
    // character; no digits reads 0; far too many digits read as a number no
    // field accepts). Milliseconds are ignored.
    // Returns non-zero when the fields make a valid date and time. A text
    // shorter than 17 characters fails and leaves the value untouched; a
    // text whose fields are out of range fails and sets the status invalid.
    int ParseFIXUtcTimestamp(const CString& text) noexcept;
    // The same text read as Eastern time: parsed, then the Eastern span added.
    int ParseFIXETTimestamp(const CString& text);

    // "YYYYMMDD-HH:MM:SS" (no milliseconds) of the UTC value; empty when
    // null, "Invalid DateTime" when invalid or not a calendar date.
    CString FormatFIXUtcTimestamp() const;
    // The same for the value minus GetETToUTCMinutes() minutes; empty when
    // null, like the UTC form (the shift alone would make it invalid).
    CString FormatFIXETTimestamp() const;

    // The date of the value shifted into the zone, as the framework writes a
    // date alone for the user's default locale (COleDateTime::Format:
    // "11/3/2012" in the US, the locale's order and separator elsewhere).
    // Empty for a value of exactly 0.
    CString FormatDisplayDate() const;
    CString FormatETDate() const;
    CString FormatLocalDate() const;

    // Time-of-day flags of the Format*Time operations.
    enum : unsigned long {
        // Append the display zone's abbreviation ("09:30:05 EST").
        FormatWithZone = 0x1,
        // Hours and minutes only.
        FormatNoSeconds = 0x2,
        // Seconds only when they are not zero.
        FormatSecondsIfAny = 0x4,
    };

    // The time of day of the value shifted into the zone, as "%H:%M:%S" or
    // "%H:%M" chosen by the flags above. The zone-bearing forms always carry
    // the display zone's abbreviation, whichever view is formatted. Empty
    // for a value of exactly 0.
    CString FormatDisplayTime(unsigned long flags = 0) const;
    CString FormatETTime(unsigned long flags = 0) const;
    CString FormatLocalTime(unsigned long flags = 0) const;
    // The date text, a blank and the time text of the zone; empty for a
    // value of exactly 0.
    CString FormatDisplayDateTime(unsigned long flags = 0) const;
    CString FormatETDateTime(unsigned long flags = 0) const;

    // Class-wide operations.

    // Non-zero: display in the local zone; zero: display in the Eastern
    // zone (the state at load). Re-derives the display span, zone and
    // formats when the value changes.
    static void SetLocalDisplayFormat(int localFormat);
    // The current UTC instant, corrected by the delta.
    static COrvDateTime GetTickCount();
    // GetTickCount without its date / without its time of day.
    static COrvDateTime GetCurrentTimeOnly();
    static COrvDateTime GetCurrentDateOnly();
    // The correction GetTickCount adds to the workstation clock (zero at
    // load).
    static void SetDelta(const COleDateTimeSpan& delta);
    // The stored correction itself, read without the lock: only safe where
    // no other thread can call SetDelta at the same time (in practice, the
    // thread that sets it). Other threads see a consistent value through
    // GetTickCount.
    static const COleDateTimeSpan& GetDelta() noexcept;

    // Copies of the display, Eastern and local spans.
    static COleDateTimeSpan GetSpan();
    static COleDateTimeSpan GetSpanET();
    static COleDateTimeSpan GetSpanLocal();
    // The spans in whole minutes, rounded as the clock has always rounded
    // them: half a second away from zero, then truncated.
    static int GetETToUTCMinutes();
    static int GetLocalToUTCMinutes();
    static int GetDisplayToUTCMinutes();

    // The local zone's abbreviation ("EST", "CET"; "???" when the Windows
    // zone is not in the table). Set once at load and never written again,
    // so the reference may be read from any thread without the lock.
    static const CString& GetLocalTimeZone() noexcept;
    // Copies of the Eastern ("EST"/"EDT") and display abbreviations.
    static CString GetEasternTimeZone();
    static CString GetDisplayTimeZone();

    // 09:30 and 16:00 Eastern as UTC times of day on day 0. Set once at load.
    static const COrvDateTime& GetMarketOpen() noexcept;
    static const COrvDateTime& GetMarketClose() noexcept;

protected:
    // The FIX text of the stored value, as FormatFIXUtcTimestamp describes.
    CString FormatFIXTimestamp() const;

    // Computes all class-wide state from the workstation's zone and clock;
    // run once when the library loads.
    static void Init();
    // Re-derives the display span, zone and zone-bearing time formats from
    // sm_bLocalFormat.
    static void UpdateDisplayZoneAndSpan();

    // The Eastern daylight decision for the instant `now` (C time, 64 bits).
    // Sets easternBias to 300 and, when it decides, easternZone to "EST" or
    // (with bias 240) "EDT" and returns true. A clock not after 1970 is
    // logged at level 5 and, like a time the C library cannot break down,
    // leaves the zone untouched and returns false.
    //
    // The rule re-reads the UTC fields of `now` as local wall time and
    // compares with 07:00 on the second Sunday of March and the first
    // Sunday of November, read the same way; so it is exact on a
    // workstation without daylight time. Daylight time ends at 07:00 UTC,
    // an hour after the real change at 06:00 UTC.
    static bool DecideEasternDaylight(std::time_t now, LONG& easternBias, CString& easternZone);
    // The abbreviation of a Windows zone name: the last table row whose name
    // equals it exactly (case-sensitive), else "???". A null name gives "???".
    static CString LookUpZoneAbbreviation(const WCHAR* zoneName);

    static CSection sm_sect;
    static CString sm_sLocalZone;
    static CString sm_sETZone;
    static CString sm_sDisplayZone;
    static CString sm_sFmtTimeWithZone;
    static CString sm_sFmtTimeWithZoneNoSec;
    static int sm_bLocalFormat;
    static COleDateTimeSpan sm_spanLocal;
    static COleDateTimeSpan sm_spanET;
    static COleDateTimeSpan sm_span;
    static COleDateTimeSpan sm_spanDelta;
    static COrvDateTime sm_timeMktOpen;
    static COrvDateTime sm_timeMktClose;

    // Its construction, when the library loads, runs Init.
    struct _init {
        _init();
    };
    static _init sm_init;

private:
    // The three views of an instant.
    enum class View { Display, Eastern, Local };

    // A C time value as local wall time plus the local span.
    static COrvDateTime FromTimeValue(std::time_t time);
    // A class-wide span read under the lock.
    static COleDateTimeSpan ReadSpan(const COleDateTimeSpan& span);
    // The value shifted into a view, with the zone-bearing time formats,
    // read together under the lock so that a concurrent
    // SetLocalDisplayFormat cannot pair one zone's span with the other
    // zone's abbreviation. False (nothing to format) for a value of exactly
    // 0 or a null value.
    bool ShiftInto(View view, COleDateTime& shifted, CString& formatWithZone,
                   CString& formatWithZoneNoSeconds) const;
    CString FormatDateIn(View view) const;
    CString FormatTimeIn(View view, unsigned long flags) const;
    CString FormatDateTimeIn(View view, unsigned long flags) const;
    // After a parse: adds a class-wide span (read under the lock) when the
    // parse succeeded; non-zero when the result is a valid value.
    int ShiftAfterParse(bool parsed, const COleDateTimeSpan& span);
};
