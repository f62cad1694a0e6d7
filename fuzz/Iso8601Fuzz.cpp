// The ISO 8601 reading of the XML archive on arbitrary text, directly and
// through the archive into every time type. A reading that succeeds must
// give fields in range and a consistent day of the week, and its UTC form
// written out again must read back to the same fields; a value read through
// the archive must be either the parsed instant or the documented reset.
#include "xml/ExtensibleMarkupLanguageDocument.h"
#include "xml/XMLArchive.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void Check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

bool Same(const SYSTEMTIME& a, const SYSTEMTIME& b)
{
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay && a.wHour == b.wHour
        && a.wMinute == b.wMinute && a.wSecond == b.wSecond && a.wDayOfWeek == b.wDayOfWeek
        && a.wMilliseconds == b.wMilliseconds;
}

void CheckFields(const SYSTEMTIME& time)
{
    static const int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    Check(time.wYear <= 9999);
    Check(time.wMonth >= 1 && time.wMonth <= 12);
    Check(time.wDay >= 1 && time.wDay <= kDays[time.wMonth - 1]);
    Check(time.wHour <= 23 && time.wMinute <= 59 && time.wSecond <= 59 && time.wMilliseconds == 0);
    Check(time.wDayOfWeek <= 6);
}

void ThroughTheArchive(const std::string& text, bool parsed, const SYSTEMTIME& utc)
{
    CExtensibleMarkupLanguageDocument document;
    CExtensibleMarkupLanguageElement* values = CExtensibleMarkupLanguageElement::NewElement(document.GetRootElement());
    values->SetTag("Values");
    CExtensibleMarkupLanguageElement* child = CExtensibleMarkupLanguageElement::NewElement(values);
    child->SetTag("t");
    // Escaped, so that the text read back (references resolved) is the text.
    child->AddText(CString(text.data(), int(text.size())));
    CXMLArchive archive;
    archive.ReadFrom(values);

    COleDateTime when(2000, 1, 1, 0, 0, 0);
    Check(archive.Read("t", when) == child);
    if (when.GetStatus() == COleDateTime::valid) {
        Check(parsed && when.GetYear() == utc.wYear && when.GetMonth() == utc.wMonth && when.GetDay() == utc.wDay
            && when.GetHour() == utc.wHour && when.GetMinute() == utc.wMinute && when.GetSecond() == utc.wSecond);
    } else {
        Check(when.GetStatus() == COleDateTime::invalid && when.m_dt == 0.0);
    }

    SYSTEMTIME system {};
    system.wYear = 1;
    Check(archive.Read("t", system) == child);
    const SYSTEMTIME empty {};
    Check(Same(system, parsed && utc.wYear >= 1601 ? utc : empty));

    FILETIME file {};
    file.dwLowDateTime = 7;
    Check(archive.Read("t", file) == child);
    if (parsed && utc.wYear >= 1601) {
        SYSTEMTIME back {};
        Check(FileTimeToSystemTime(&file, &back));
        Check(Same(back, utc));
    } else {
        Check(file.dwLowDateTime == 0 && file.dwHighDateTime == 0);
    }

    CTime time(5);
    Check(archive.Read("t", time) == child);
    long long expected = 0;
    FILETIME instant {};
    if (parsed && SystemTimeToFileTime(&utc, &instant)) {
        const long long seconds = static_cast<long long>(
            ((std::uint64_t(instant.dwHighDateTime) << 32 | instant.dwLowDateTime) / 10000000u)) - 11644473600LL;
        expected = CTime(seconds).IsValid() ? seconds : 0;
    }
    Check(time.GetTime() == expected);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 256) {
        return 0;
    }
    const std::string text(reinterpret_cast<const char*>(data), size);
    SYSTEMTIME utc {};
    utc.wYear = 4242;
    const bool parsed = CXMLArchive::ParseISO8601(text.c_str(), utc);
    if (parsed) {
        CheckFields(utc);
        char again[64];
        std::snprintf(again, sizeof again, "%04u-%02u-%02uT%02u:%02u:%02uZ", utc.wYear, utc.wMonth, utc.wDay,
            utc.wHour, utc.wMinute, utc.wSecond);
        SYSTEMTIME second {};
        Check(CXMLArchive::ParseISO8601(again, second));
        Check(Same(second, utc));
    } else {
        Check(utc.wYear == 4242);
    }
    // A text with a NUL inside reads only up to it; the archive holds text
    // without NULs.
    if (std::memchr(data, 0, size) == nullptr) {
        ThroughTheArchive(text, parsed, utc);
    }
    return 0;
}
