// Parses arbitrary text as a date and time, with the flags and locale taken
// from the first byte, and formats values with arbitrary format text. A
// successful parse must give calendar fields in range and survive a round
// trip through the default text form.
#include "framework/OleDateTime.h"
#include "framework/Time.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::uint8_t control = data[0];
    const DWORD flags = control & 0x3u;
    const DWORD locale = (control & 0x4u) ? 2057u : 0x0400u;
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

    COleDateTime value;
    const bool parsed = value.ParseDateTime(text.c_str(), flags, locale);
    if (parsed != (value.GetStatus() == COleDateTime::valid))
        std::abort();
    if (parsed) {
        const int year = value.GetYear();
        if (year < 100 || year > 9999 || value.GetMonth() < 1 || value.GetMonth() > 12 || value.GetDay() < 1
            || value.GetDay() > 31 || value.GetHour() < 0 || value.GetHour() > 23 || value.GetMinute() < 0
            || value.GetMinute() > 59 || value.GetSecond() < 0 || value.GetSecond() > 59)
            std::abort();
        COleDateTime again;
        if (!again.ParseDateTime(value.Format(), 0, 0x0400) || !(again == value))
            std::abort();
    }

    // The text as a format: for the parsed value, a value with every field
    // at two digits, the extremes of the range and the non-valid statuses.
    const DATE samples[] = { 0.0, -1.25, -657434.0, 2958465.99998, 45678.5 };
    for (DATE sample : samples) {
        const CString out = COleDateTime(sample).Format(text.c_str());
        if (out.GetLength() < 0)
            std::abort();
    }
    (void)value.Format(text.c_str());
    (void)value.Format(flags, locale);
    COleDateTime invalid(std::nan(""));
    if (invalid.Format(text.c_str()) != "Invalid DateTime")
        std::abort();
    COleDateTime null;
    null.SetStatus(COleDateTime::null);
    if (!null.Format(text.c_str()).IsEmpty())
        std::abort();

    (void)COleDateTimeSpan(-1.5).Format(text.c_str());
    (void)CTimeSpan(INT64_MIN).Format(text.c_str());
    (void)CTime(0).FormatGmt(text.c_str());
    return 0;
}
