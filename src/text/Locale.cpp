#include "text/Locale.h"

#include "Kestrel.h"
#include "platform/Locale.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

LONG g_lForexLotSize = 10000;
BOOL g_bForexUseLots = 1;
BOOL g_bForexShowCalcPips = 1;

char CLocale::DecimalSeparator = '.';
char CLocale::ThousandsSeparator = ',';

namespace {

// Room and capacity of the host's texts.
constexpr int kWideRoom = 256, kWideCapacity = 255;
constexpr int kLongRoom = 64, kLongCapacity = 63;
constexpr int kPriceExRoom = 25, kPriceExCapacity = 24;

template <class Writer>
const char* FromHost(CString& out, int room, Writer write)
{
    write(out.GetBuffer(room));
    out.ReleaseBuffer();
    return out;
}

// True when `format` holds exactly one conversion and it takes a double:
// flags, a width and a precision given as digits, then one of f F e E g G a A.
bool IsSingleFloatFormat(const char* format)
{
    if (format == nullptr)
        return false;
    int conversions = 0;
    for (const char* p = format; *p != '\0'; ++p) {
        if (*p != '%')
            continue;
        if (p[1] == '%') {
            ++p;
            continue;
        }
        ++p;
        p += std::strspn(p, "-+ #0");
        p += std::strspn(p, "0123456789");
        if (*p == '.') {
            ++p;
            p += std::strspn(p, "0123456789");
        }
        if (*p == 'l' || *p == 'L')
            ++p;
        if (*p == '\0' || std::strchr("fFeEgGaA", *p) == nullptr)
            return false;
        ++conversions;
    }
    return conversions == 1;
}

} // namespace

void CLocale::LoadSeparators()
{
    platform::QueryDecimalSeparator(DecimalSeparator);
    platform::QueryThousandsSeparator(ThousandsSeparator);
}

const char* CLocale::FormatPrice(double value, CString& out)
{
    return FromHost(out, kWideRoom, [&](char* buffer) { HostFormatPrice(value, buffer, kWideCapacity); });
}

const char* CLocale::FormatMoney(double value, CString& out)
{
    return FromHost(out, kWideRoom, [&](char* buffer) { HostFormatMoney(value, buffer, kWideCapacity); });
}

const char* CLocale::FormatLong(LONG value, CString& out)
{
    return FromHost(out, kLongRoom, [&](char* buffer) { HostFormatLong(value, buffer, kLongCapacity); });
}

const char* CLocale::FormatPriceEx(double value, CString& out, int format)
{
    return FromHost(out, kPriceExRoom,
                    [&](char* buffer) { HostFormatPriceEx(value, buffer, kPriceExCapacity, format); });
}

const char* CLocale::FormatFloat(double value, CString& out, int precision)
{
    out.Format("%.*f", precision, value);
    return ReformatDotDecimal(out);
}

const char* CLocale::FormatFloatFmt(double value, CString& out, const char* format)
{
    if (IsSingleFloatFormat(format))
        out.Format(format, value);
    else
        out.Empty();
    return ReformatDotDecimal(out);
}

const char* CLocale::FormatPctFmt(double value, CString& out, const char* format)
{
    return FormatFloatFmt(value, out, format);
}

const char* CLocale::FormatPct(double value, CString& out, int width)
{
    out.Format("%*f", width, value);
    return ReformatDotDecimal(out);
}

const char* CLocale::ReformatDotDecimal(CString& text)
{
    if (DecimalSeparator != '.') {
        const int point = text.ReverseFind('.');
        if (point >= 0)
            text.SetAt(point, DecimalSeparator);
    }
    return text;
}

const char* CLocale::FormatFXBidAskSize(LONG size, CString& out)
{
    if (g_bForexUseLots && size > 0 && g_lForexLotSize > 0) {
        if (size >= g_lForexLotSize)
            return FormatLong(size / g_lForexLotSize, out);
        return FormatPriceEx(double(size) / g_lForexLotSize, out, 1);
    }
    return FormatLong(size, out);
}

// Renders |value| with 7 decimals, keeps the significant digits as the C
// library's fixed-point conversion does (no leading zeros, the point's
// position counted apart), drops trailing zeros and counts what is left
// after the point.
int CalcNumDecimalPlaces(double value)
{
    if (!std::isfinite(value))
        return 0;
    char text[400];
    std::snprintf(text, sizeof text, "%.7f", std::fabs(value));
    const char* point = std::strchr(text, '.');
    const int wholeDigits = int(point - text);
    std::string significant;
    int pointPosition = wholeDigits;
    if (wholeDigits == 1 && text[0] == '0') {
        const char* fraction = point + 1;
        const int zeros = int(std::strspn(fraction, "0"));
        pointPosition = -zeros;
        significant = fraction + zeros;
    } else {
        significant = std::string(text, std::size_t(wholeDigits)) + (point + 1);
    }
    while (!significant.empty() && significant.back() == '0')
        significant.pop_back();
    if (significant.empty())
        return 0;
    return int(significant.size()) - pointPosition;
}
