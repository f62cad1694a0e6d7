// CLocale: display texts for numbers, and the process-wide separators and
// foreign-exchange size settings. Also the free function CalcNumDecimalPlaces.
#pragma once

#include "OrvApi.h"
#include "framework/String.h"
#include "base/Types.h"

// Units in one foreign-exchange lot (10000 until the application changes it).
extern ORV_API LONG g_lForexLotSize;
// Non-zero: foreign-exchange sizes are shown in lots.
extern ORV_API BOOL g_bForexUseLots;
// The application's preference for showing calculated pips; kept for it here.
extern ORV_API BOOL g_bForexShowCalcPips;

// Every operation writes into the caller's string and returns its text.
class ORV_API CLocale {
public:
    // The user's separators, read from the system when the library loads.
    static char DecimalSeparator;
    static char ThousandsSeparator;

    // Texts from the host: plain price, money, grouped integer, and a price
    // in a display format (a count of decimals or a fraction code).
    static const char* FormatPrice(double value, CString& out);
    static const char* FormatMoney(double value, CString& out);
    static const char* FormatLong(LONG value, CString& out);
    static const char* FormatPriceEx(double value, CString& out, int format);

    // "%.*f" with `precision`, then the user's decimal separator.
    static const char* FormatFloat(double value, CString& out, int precision);
    // The caller's format, which must hold exactly one floating-point
    // conversion (flags, width and precision allowed, no "*") besides any
    // "%%"; any other format gives the empty text, since the value could not
    // be printed safely with it. Then the user's decimal separator.
    static const char* FormatFloatFmt(double value, CString& out, const char* format);
    static const char* FormatPctFmt(double value, CString& out, const char* format);
    // "%*f": a minimum field width, six decimals; then the decimal separator.
    static const char* FormatPct(double value, CString& out, int width);

    // Replaces the last "." by the user's decimal separator when that is not ".".
    static const char* ReformatDotDecimal(CString& text);

    // A foreign-exchange bid or ask size: whole lots, a fraction of a lot
    // with one decimal, or the plain size (see g_bForexUseLots).
    static const char* FormatFXBidAskSize(LONG size, CString& out);

    // Reads the separators from the system; done once when the library loads.
    static void LoadSeparators();
};

// The number of decimals needed to show `value` (at most 7): 1.25 gives 2,
// 0.0001 gives 4, a whole number gives 0 or less (100 gives -2), zero gives 0.
ORV_API int CalcNumDecimalPlaces(double value);
