// Reads arbitrary text as a FIX timestamp (UTC and Eastern) and as a date
// and time (UTC and Eastern, with the flags and locale taken from the first
// byte), then formats every result in every view. A successful parse must
// give a valid value; a FIX parse must survive a round trip through its own
// text; formatting must never fail, whatever the value.
#include "market/OrvDateTime.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void FormatEverything(const COrvDateTime& value)
{
    (void)value.FormatFIXUtcTimestamp();
    (void)value.FormatFIXETTimestamp();
    (void)value.FormatDisplayDate();
    (void)value.FormatETDate();
    (void)value.FormatLocalDate();
    for (unsigned long flags = 0; flags < 8; ++flags) {
        (void)value.FormatDisplayTime(flags);
        (void)value.FormatETTime(flags);
        (void)value.FormatLocalTime(flags);
        (void)value.FormatDisplayDateTime(flags);
        (void)value.FormatETDateTime(flags);
    }
    (void)value.GetTime();
}

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0 || size > 4096)
        return 0;
    const std::uint8_t control = data[0];
    const DWORD flags = control & 0x3u;
    const DWORD locale = (control & 0x4u) ? 2057u : 0x0400u;
    const CString text(reinterpret_cast<const char*>(data + 1), static_cast<int>(size - 1));

    COrvDateTime fix(40979.5);
    if (fix.ParseFIXUtcTimestamp(text)) {
        Check(fix.GetStatus() == COleDateTime::valid);
        const CString written = fix.FormatFIXUtcTimestamp();
        Check(written.GetLength() == 17);
        COrvDateTime again;
        Check(again.ParseFIXUtcTimestamp(written) != 0);
        // Milliseconds are dropped, and the value is read back to the second.
        Check(again.FormatFIXUtcTimestamp() == written);
    }
    FormatEverything(fix);

    COrvDateTime eastern;
    if (eastern.ParseFIXETTimestamp(text))
        Check(eastern.GetStatus() == COleDateTime::valid);
    FormatEverything(eastern);

    // ParseDateTime stops at a NUL, as C text does.
    COrvDateTime utc;
    if (utc.ParseDateTime(text.GetString(), flags, locale))
        Check(utc.GetStatus() == COleDateTime::valid);
    FormatEverything(utc);

    COrvDateTime easternText;
    if (easternText.ParseETDateTime(text.GetString(), flags, locale))
        Check(easternText.GetStatus() == COleDateTime::valid);
    FormatEverything(easternText);

    COrvDateTime local;
    if (local.ParseLocalDateTime(text.GetString(), flags, locale))
        Check(local.GetStatus() == COleDateTime::valid);
    FormatEverything(local);
    return 0;
}
