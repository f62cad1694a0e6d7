#include "market/SymbolNotation.h"

#include "market/DecimalPrice.h"
#include "market/SymbolData.h"
#include "market/SymbolShape.h"

#include <climits>
#include <cmath>
#include <cstring>
#include <ctime>

namespace {

bool IsDigit(char ch)
{
    return ch >= '0' && ch <= '9';
}

// Plain decimal text: an optional sign, digits, an optional "." and digits.
// Reading stops at the first other character; no digits at all gives 0, as
// does a value too large for a double. Independent of the C locale.
double ReadDecimal(const char* text)
{
    bool negative = false;
    if (*text == '+' || *text == '-')
        negative = *text++ == '-';
    double whole = 0, fraction = 0, scale = 1;
    for (; IsDigit(*text); ++text)
        whole = whole * 10 + (*text - '0');
    if (*text == '.') {
        for (++text; IsDigit(*text) && scale < 1e22; ++text) {
            fraction = fraction * 10 + (*text - '0');
            scale *= 10;
        }
    }
    // One division rounds the whole value once, so "1.001" reads as the
    // double nearest to 1.001, as long as all its digits fit in 53 bits.
    const double units = whole * scale + fraction;
    const double value = units < 9007199254740992.0 ? units / scale : whole + fraction / scale;
    if (!std::isfinite(value))
        return 0;
    return negative ? -value : value;
}

// Position of the call-or-put letter, or -1.
int CallPutPosition(const char* symbol, std::size_t length)
{
    for (std::size_t i = 8; i < length; ++i) {
        if (symbol[i] == '.')
            return -1;
        if (symbol[i] == 'C' || symbol[i] == 'P')
            return i >= 9 && i <= 15 ? int(i) : -1;
    }
    return -1;
}

template <class Char>
int IsPut(const Char* symbol)
{
    const std::size_t length = orv::symbol::Length(symbol);
    if (length < 9)
        return 0;
    const std::size_t end = length < 16 ? length : 16;
    for (std::size_t i = 9; i < end; ++i) {
        if (symbol[i] == Char('P'))
            return 1;
        if (symbol[i] == Char('C'))
            return 0;
    }
    return 0;
}

int LocalYear()
{
    const std::time_t now = std::time(nullptr);
    std::tm fields {};
#if defined(_WIN32)
    if (localtime_s(&fields, &now) != 0)
        return 0;
#else
    if (localtime_r(&now, &fields) == nullptr)
        return 0;
#endif
    return fields.tm_year + 1900;
}

// The Yahoo Finance suffix of a futures symbol's exchange; null when it has
// none.
const char* YahooFuturesSuffix(const CString& symbol)
{
    if (std::strncmp(symbol, "/PL", 3) == 0)
        return ".NYM";
    CString exchange;
    if (!CSymbolData::GetStaticInstance().GetExchangeForFutureRoot(symbol, exchange))
        return nullptr;
    exchange.Remove('m');
    static const struct {
        const char* exchange;
        const char* suffix;
    } suffixes[] = {
        { "CME", ".CME" }, { "CBT", ".CBT" }, { "NYLIF", ".CBT" },
        { "NYMEX", ".NYM" }, { "ICE", ".NYB" }, { "COMEX", ".CMX" },
    };
    for (const auto& entry : suffixes) {
        if (exchange == entry.exchange)
            return entry.suffix;
    }
    return nullptr;
}

int ConvertFutures(CString& symbol, int currentYear)
{
    const int length = symbol.GetLength();
    // The last character is the year digit; without one there is no
    // contract year to write.
    if (length < 2 || !IsDigit(symbol[length - 1]))
        return 0;
    const char* suffix = YahooFuturesSuffix(symbol);
    if (suffix == nullptr)
        return 0;
    const int yearDigit = symbol[length - 1] - '0';
    const int currentDigit = currentYear % 10;
    // A digit more than one year behind this year's belongs to the next decade.
    int year = currentYear - currentDigit - 2000 + yearDigit;
    if (currentDigit - yearDigit > 1)
        year += 10;
    CString converted;
    converted.Format("%s%02d%s", symbol.Mid(1, length - 2).GetString(), year, suffix);
    symbol = converted;
    return 1;
}

// The strike's whole part and its thousandths, both truncated. A strike
// read from a decimal with up to three places is split exactly (1.001 has
// one thousandth, although 0.001 x 1000 is just below 1 in binary).
void SplitStrike(double strike, int& whole, int& thousandths)
{
    whole = int(strike);
    const orv::market::DecimalPrice decimal = orv::market::ToDecimal(strike);
    if (decimal.exact && decimal.scale <= 3) {
        double units = decimal.units;
        for (int scale = decimal.scale; scale < 3; ++scale)
            units *= 10;
        thousandths = int(std::fmod(units, 1000.0));
    } else {
        thousandths = int((strike - whole) * 1000);
    }
    if (thousandths > 999)
        thousandths = 0;
}

void ConvertOption(CString& symbol)
{
    char root[8];
    int year = 0, month = 0, day = 0;
    char callPut = 0;
    double strike = 0;
    if (!ParseOptionSymbol(symbol, root, year, month, day, callPut, strike))
        return;
    // A strike that does not fit the five-digit field's integer has no
    // Yahoo Finance form; the symbol stays as it is.
    if (!(strike >= 0 && strike < double(INT_MAX)))
        return;
    int whole = 0, thousandths = 0;
    SplitStrike(strike, whole, thousandths);
    CString converted;
    converted.Format("%s%02d%02d%02d%c%05d%03d", root, year, month, day, callPut, whole, thousandths);
    symbol = converted;
}

} // namespace

int ParseOptionSymbol(const char* symbol, char* root, int& year, int& month, int& day, char& callPut, double& strike)
{
    const std::size_t length = orv::symbol::Length(symbol);
    if (length < 9 || root == nullptr)
        return 0;
    const int p = CallPutPosition(symbol, length);
    if (p < 0)
        return 0;
    for (int i = p - 6; i < p; ++i) {
        if (!IsDigit(symbol[i]))
            return 0;
    }
    const auto twoDigits = [symbol](int at) { return (symbol[at] - '0') * 10 + (symbol[at + 1] - '0'); };
    std::memcpy(root, symbol + 1, std::size_t(p - 8));
    root[p - 8] = '\0';
    year = twoDigits(p - 6);
    month = twoDigits(p - 4);
    day = twoDigits(p - 2);
    callPut = symbol[p];
    strike = ReadDecimal(symbol + p + 1);
    return 1;
}

int IsPutOption(const char* symbol)
{
    return IsPut(symbol);
}

int IsPutOption(const OLECHAR* symbol)
{
    return IsPut(symbol);
}

namespace orv::market {

int ConvertToYahooFinanceSymbol(CString& symbol, int currentYear)
{
    if (symbol.IsEmpty() || orv::symbol::IsIndex(symbol.GetString()))
        return 0;
    if (orv::symbol::IsForex(symbol.GetString())) {
        symbol.Remove('/');
        return 1;
    }
    if (orv::symbol::IsFutures(symbol.GetString()))
        return ConvertFutures(symbol, currentYear);
    if (orv::symbol::IsOption(symbol.GetString())) {
        ConvertOption(symbol);
        return 1;
    }
    if (orv::symbol::IsCanadian(symbol.GetString()))
        symbol = symbol.Mid(4) + ".TO";
    return 1;
}

} // namespace orv::market

int ConvertToYahooFinanceSymbol(CString& symbol)
{
    return orv::market::ConvertToYahooFinanceSymbol(symbol, LocalYear());
}

int ConvertToTradingCentralSymbol(CString& symbol)
{
    if (orv::symbol::IsOption(symbol.GetString()) || orv::symbol::IsFutures(symbol.GetString()))
        return 0;
    if (orv::symbol::IsForex(symbol.GetString())) {
        symbol.Remove('/');
        symbol.Replace("USD", "");
    }
    return 1;
}

int ConvertToORVWebServiceSymbol(CString& symbol)
{
    if (orv::symbol::IsFutures(symbol.GetString()))
        symbol.Replace('/', '-');
    return 1;
}

void SymbolRemoveFXColonSuffix(CString& symbol)
{
    if (!orv::symbol::IsForex(symbol.GetString()) || symbol.GetLength() < 8 || symbol[7] != ':')
        return;
    if (symbol.GetLength() == 9)
        symbol = symbol.Left(7);
    else if (symbol.GetLength() == 11)
        symbol = symbol.Left(7) + symbol.Mid(9, 2);
}
