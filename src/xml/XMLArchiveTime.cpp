// CXMLArchive: the time types, written and read as ISO 8601 text.
#include "xml/XMLArchive.h"

#include "framework/Calendar.h"

using Element = CExtensibleMarkupLanguageElement;

namespace {

constexpr long long kSecondsPerDay = 86400;

using orv::calendar::DaysFromCivil;
using orv::calendar::DaysInMonth;

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Two decimal digits at text, which then moves past them.
bool TwoDigits(const char*& text, int& value)
{
    if (!IsDigit(text[0]) || !IsDigit(text[1])) {
        return false;
    }
    value = (text[0] - '0') * 10 + (text[1] - '0');
    text += 2;
    return true;
}

struct Fields {
    int year = 0;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// The date and time parts after the year; each may only follow the one
// before it, and the text may stop after any of them.
bool ReadDateAndTime(const char*& text, Fields& fields)
{
    if (*text != '-') {
        return true;
    }
    ++text;
    if (!TwoDigits(text, fields.month)) {
        return false;
    }
    if (*text != '-') {
        return true;
    }
    ++text;
    if (!TwoDigits(text, fields.day)) {
        return false;
    }
    if (*text != 'T') {
        return true;
    }
    ++text;
    if (!TwoDigits(text, fields.hour)) {
        return false;
    }
    if (*text != ':') {
        return true;
    }
    ++text;
    if (!TwoDigits(text, fields.minute)) {
        return false;
    }
    if (*text != ':') {
        return true;
    }
    ++text;
    if (!TwoDigits(text, fields.second)) {
        return false;
    }
    if (*text == '.') {
        ++text;
        if (!IsDigit(*text)) {
            return false;
        }
        while (IsDigit(*text)) {
            ++text;
        }
    }
    return true;
}

// "Z", "+hh:mm", "-hh:mm" or nothing: the seconds to add to reach UTC.
bool ReadZone(const char*& text, long long& toUtc)
{
    toUtc = 0;
    if (*text == 'Z') {
        ++text;
        return true;
    }
    if (*text != '+' && *text != '-') {
        return true;
    }
    const bool ahead = *text == '+';
    ++text;
    int hours = 0;
    int minutes = 0;
    if (!TwoDigits(text, hours) || *text != ':') {
        return false;
    }
    ++text;
    if (!TwoDigits(text, minutes) || hours > 23 || minutes > 59) {
        return false;
    }
    const long long offset = hours * 3600LL + minutes * 60LL;
    toUtc = ahead ? -offset : offset;
    return true;
}

bool FieldsInRange(const Fields& fields)
{
    return fields.month >= 1 && fields.month <= 12 && fields.day >= 1
        && fields.day <= DaysInMonth(fields.year, unsigned(fields.month)) && fields.hour <= 23
        && fields.minute <= 59 && fields.second <= 59;
}

long long SecondsOf(long long year, unsigned month, unsigned day, int hour, int minute, int second)
{
    return DaysFromCivil(year, month, day) * kSecondsPerDay + hour * 3600LL + minute * 60LL + second;
}

long long FloorDiv(long long value, long long by)
{
    return value / by - (value % by != 0 && (value < 0) != (by < 0) ? 1 : 0);
}

// The UTC breakdown of seconds since 1970; false outside years 0-9999.
bool ToSystemTime(long long seconds, SYSTEMTIME& time)
{
    const long long days = FloorDiv(seconds, kSecondsPerDay);
    const long long inDay = seconds - days * kSecondsPerDay;
    const orv::calendar::Date civil = orv::calendar::CivilFromDays(days);
    if (civil.year < 0 || civil.year > 9999) {
        return false;
    }
    time.wYear = WORD(civil.year);
    time.wMonth = WORD(civil.month);
    time.wDay = WORD(civil.day);
    time.wHour = WORD(inDay / 3600);
    time.wMinute = WORD(inDay / 60 % 60);
    time.wSecond = WORD(inDay % 60);
    time.wMilliseconds = 0;
    // 1 January 1970 was a Thursday (4).
    time.wDayOfWeek = WORD((days % 7 + 7 + 4) % 7);
    return true;
}

CString ClockText(long long year, int month, int day, int hour, int minute, int second)
{
    CString text;
    text.Format("%04lld-%02d-%02dT%02d:%02d:%02d", year, month, day, hour, minute, second);
    return text;
}

CString ClockText(const SYSTEMTIME& time)
{
    return ClockText(time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond);
}

} // namespace

bool CXMLArchive::ParseISO8601(const char* text, SYSTEMTIME& utc)
{
    if (text == nullptr) {
        return false;
    }
    Fields fields;
    for (int i = 0; i < 4; ++i) {
        if (!IsDigit(text[i])) {
            return false;
        }
        fields.year = fields.year * 10 + (text[i] - '0');
    }
    text += 4;
    long long toUtc = 0;
    if (!ReadDateAndTime(text, fields) || !ReadZone(text, toUtc) || *text != '\0' || !FieldsInRange(fields)) {
        return false;
    }
    const long long seconds = SecondsOf(fields.year, unsigned(fields.month), unsigned(fields.day), fields.hour,
        fields.minute, fields.second) + toUtc;
    SYSTEMTIME result {};
    if (!ToSystemTime(seconds, result)) {
        return false;
    }
    utc = result;
    return true;
}

// The offset of the zone suffix in seconds (local = UTC + offset); 0 for
// "Z" or an empty suffix.
long long CXMLArchive::SuffixOffsetSeconds() const
{
    SYSTEMTIME at {};
    CString probe = "1970-01-02T00:00:00";
    probe += m_TimeZoneSuffix;
    if (!ParseISO8601(probe, at)) {
        return 0;
    }
    return kSecondsPerDay - SecondsOf(at.wYear, at.wMonth, at.wDay, at.wHour, at.wMinute, at.wSecond);
}

Element* CXMLArchive::WriteClockTime(const char* name, long long utcSeconds, bool utc)
{
    SYSTEMTIME fields {};
    if (!ToSystemTime(utc ? utcSeconds : utcSeconds + SuffixOffsetSeconds(), fields)) {
        return Write(name, CString());
    }
    return Write(name, ClockText(fields) + (utc ? CString("Z") : m_TimeZoneSuffix));
}

Element* CXMLArchive::ReadTime(const char* name, SYSTEMTIME& utc, bool& parsed) const
{
    CString text;
    Element* child = ReadText(name, text);
    parsed = child != nullptr && ParseISO8601(text, utc);
    return child;
}

Element* CXMLArchive::Write(const char* name, const CTime& value, BOOL utc)
{
    if (!value.IsValid()) {
        return Write(name, CString());
    }
    return WriteClockTime(name, value.GetTime(), utc != FALSE);
}

Element* CXMLArchive::Write(const char* name, const SYSTEMTIME& value)
{
    return Write(name, ClockText(value) + "Z");
}

Element* CXMLArchive::Write(const char* name, const COleDateTime& value, BOOL utc)
{
    if (value.GetStatus() != COleDateTime::valid) {
        return Write(name, CString());
    }
    const CString text = ClockText(value.GetYear(), value.GetMonth(), value.GetDay(), value.GetHour(),
        value.GetMinute(), value.GetSecond());
    return Write(name, text + (utc != FALSE ? CString("Z") : m_TimeZoneSuffix));
}

Element* CXMLArchive::Write(const char* name, const FILETIME& value)
{
    SYSTEMTIME fields {};
    if (!FileTimeToSystemTime(&value, &fields)) {
        return Write(name, CString());
    }
    return WriteClockTime(name,
        SecondsOf(fields.wYear, fields.wMonth, fields.wDay, fields.wHour, fields.wMinute, fields.wSecond), false);
}

Element* CXMLArchive::Read(const char* name, CTime& value)
{
    SYSTEMTIME utc {};
    bool parsed = false;
    Element* child = ReadTime(name, utc, parsed);
    if (child == nullptr) {
        return nullptr;
    }
    const CTime time(parsed ? SecondsOf(utc.wYear, utc.wMonth, utc.wDay, utc.wHour, utc.wMinute, utc.wSecond) : 0);
    value = time.IsValid() ? time : CTime(0);
    return child;
}

Element* CXMLArchive::Read(const char* name, SYSTEMTIME& value)
{
    SYSTEMTIME utc {};
    bool parsed = false;
    Element* child = ReadTime(name, utc, parsed);
    if (child == nullptr) {
        return nullptr;
    }
    FILETIME check {};
    value = parsed && SystemTimeToFileTime(&utc, &check) ? utc : SYSTEMTIME {};
    return child;
}

Element* CXMLArchive::Read(const char* name, COleDateTime& value)
{
    SYSTEMTIME utc {};
    bool parsed = false;
    Element* child = ReadTime(name, utc, parsed);
    if (child == nullptr) {
        return nullptr;
    }
    if (!parsed || value.SetDateTime(utc.wYear, utc.wMonth, utc.wDay, utc.wHour, utc.wMinute, utc.wSecond) != 0) {
        value.m_dt = 0.0;
        value.SetStatus(COleDateTime::invalid);
    }
    return child;
}

Element* CXMLArchive::Read(const char* name, FILETIME& value)
{
    SYSTEMTIME utc {};
    bool parsed = false;
    Element* child = ReadTime(name, utc, parsed);
    if (child == nullptr) {
        return nullptr;
    }
    FILETIME result {};
    value = parsed && SystemTimeToFileTime(&utc, &result) ? result : FILETIME {};
    return child;
}
