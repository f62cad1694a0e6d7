#include "controls/MarketValueText.h"

#include "controls/ApostrophePrice.h"

#include "text/Locale.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace orv::controls {

namespace {

constexpr double kLargestShown = 9999999999.0;
constexpr int kMaxDecimals = 15;   // the most the host writes

double RoundHalfUp(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    return std::floor(value * scale + 0.5) / scale;
}

int PercentDecimals(int decimals)
{
    return decimals >= 0 && decimals <= 9 ? decimals : 0;
}

CString BaseMoneyText(double value, const MoneyTextOptions& options, int decimals)
{
    CString text;
    switch (options.format) {
    case MoneyPips:
        CLocale::FormatFloatFmt(value * std::pow(10.0, decimals), text, "%.1f");
        break;
    case MoneyAmount:
        CLocale::FormatMoney(value, text);
        if (!options.moneySymbol)
            RemoveMoneySymbol(text);
        break;
    case MoneySubPips:
        CLocale::FormatPriceEx(value, text, std::min(decimals + 1, kMaxDecimals));
        break;
    default:
        CLocale::FormatPriceEx(value, text, decimals);
        break;
    }
    return text;
}

} // namespace

bool IsSystemColorCode(DWORD color)
{
    return (color & 0x80000000u) != 0;
}

DWORD ResolveColor(DWORD color, DWORD (*systemColor)(int index))
{
    if (!IsSystemColorCode(color) || systemColor == nullptr)
        return color;
    return systemColor(int(color & 0xFFu));
}

DWORD SignColor(double value, DWORD up, DWORD down, DWORD zero)
{
    return value > 0 ? up : value < 0 ? down : zero;
}

DWORD ThresholdColor(double value, double threshold, DWORD up, DWORD down)
{
    return value >= threshold ? up : down;
}

MoneyText FormatMoneyText(double value, const MoneyTextOptions& options)
{
    MoneyText result;
    if ((value == 0 && options.blankIfZero) || !(std::fabs(value) <= kLargestShown))
        return result;
    // A fraction code names the price's notation rather than a count of
    // decimals: the host's price text takes it as it is.
    const bool fraction = options.format == MoneyPrice && IsApostropheDecimalFormat(options.decimals);
    const int decimals = fraction ? options.decimals : std::clamp(options.decimals, 0, kMaxDecimals);
    result.text = BaseMoneyText(value, options, decimals);
    if (options.format == MoneySubPips) {
        SplitSubPips(result.text, decimals, result.main, result.subPips);
        result.text = result.main + result.subPips;
    }
    if (options.altCurrencyTitle != nullptr)
        result.text = options.altCurrencyTitle + result.text;
    return result;
}

void SplitSubPips(const CString& text, int decimals, CString& main, CString& subPips)
{
    int separator = text.Find(CLocale::DecimalSeparator);
    if (separator < 0)
        separator = text.Find('.');
    main = text;
    subPips.Empty();
    if (separator < 0)
        return;
    int digits = 0;
    while (separator + 1 + digits < text.GetLength() && std::isdigit((unsigned char)text[separator + 1 + digits]))
        ++digits;
    decimals = std::max(decimals, 0);
    if (digits <= decimals) {
        subPips = "00";
        return;
    }
    main = text.Left(separator + 1 + decimals);
    subPips = text.Mid(separator + 1 + decimals, digits - decimals);
    if (subPips.GetLength() == 1)
        subPips += '0';
}

void RemoveMoneySymbol(CString& text)
{
    if (text.Remove('$') > 0)
        text.TrimRight();
}

CString AppendChangePercent(const CString& text, double percent)
{
    if (text.IsEmpty() || !std::isfinite(percent))
        return text;
    CString suffix;
    suffix.Format(" (%.02lf%%)", RoundHalfUp(percent, 2));
    CLocale::ReformatDotDecimal(suffix);
    return text + suffix;
}

bool TickState::Set(bool up)
{
    if (!m_clearPending && up == m_up)
        return false;
    m_up = up;
    m_clearPending = false;
    return true;
}

CString VolumeText(LONG value, bool forexLots)
{
    CString text;
    if (forexLots)
        CLocale::FormatFXBidAskSize(value, text);
    else
        CLocale::FormatLong(value, text);
    return text;
}

CString PercentFormat(int decimals)
{
    decimals = PercentDecimals(decimals);
    CString format;
    if (decimals == 0)
        format = "%.0f%%";
    else
        format.Format("%%.0%dlf%%%%", decimals);
    return format;
}

CString PercentText(double value, int decimals)
{
    CString text;
    if (!std::isfinite(value))
        return text;
    CLocale::FormatPctFmt(RoundHalfUp(value * 100, PercentDecimals(decimals)), text, PercentFormat(decimals));
    return text;
}

} // namespace orv::controls
