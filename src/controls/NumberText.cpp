#include "controls/NumberText.h"

#include "Kestrel.h"
#include "controls/ApostrophePrice.h"
#include "text/Locale.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

namespace orv::controls {

namespace {

constexpr double kLowest = -2147483648.0;
constexpr double kHighest = 2147483647.0;
constexpr int kMaxDecimals = 15;   // the most the host writes
constexpr int kPriceRoom = 64;

int ClampDecimals(int decimals)
{
    return std::clamp(decimals, 0, kMaxDecimals);
}

// Half up, as every displayed number is rounded.
double RoundHalfUp(double value, int decimals)
{
    const double scale = std::pow(10.0, ClampDecimals(decimals));
    return std::floor(value * scale + 0.5) / scale;
}

// "-", digits, ".", digits, each optional.
bool ParseDecimal(const CString& text, double& value)
{
    const std::string digits = "0123456789";
    const std::string plain = text.GetString();
    std::size_t at = plain.empty() || plain[0] != '-' ? 0 : 1;
    at = std::min(plain.find_first_not_of(digits, at), plain.size());
    if (at < plain.size() && plain[at] == '.')
        at = std::min(plain.find_first_not_of(digits, at + 1), plain.size());
    if (at != plain.size())
        return false;
    value = std::strtod(plain.c_str(), nullptr);
    return true;
}

bool IsDigit(unsigned ch)
{
    return ch >= '0' && ch <= '9';
}

} // namespace

CString HostPriceText(double value, int code)
{
    CString text;
    HostFormatPriceEx(value, text.GetBuffer(kPriceRoom), kPriceRoom, code);
    text.ReleaseBuffer();
    return text;
}

NumberEditModel::NumberEditModel(int kind, int decimals)
    : m_kind(kind), m_decimals(decimals), m_delta(kind == NumberWhole ? 100 : kind == NumberPercent ? 1 : 0.01)
{
}

bool NumberEditModel::Set(double value, bool force)
{
    if (std::isnan(value))
        return false;
    if (value == m_value && !force)
        return false;
    const double bounded = Bound(value);
    if (bounded == m_value && !force)
        return false;
    m_value = bounded;
    return true;
}

LONG NumberEditModel::GetLong() const
{
    return LONG(std::clamp(std::floor(m_value + 0.5), kLowest, kHighest));
}

void NumberEditModel::SetMinMax(double minimum, double maximum)
{
    m_min = minimum >= kLowest ? minimum : kLowest;
    m_max = maximum <= kHighest ? maximum : kHighest;
    Reset();
}

void NumberEditModel::SetKind(int kind)
{
    m_kind = kind;
    Reset();
}

bool NumberEditModel::SetNumDecimalPlaces(int decimals, int rounding)
{
    if (decimals == m_decimals && rounding == m_rounding)
        return false;
    m_decimals = decimals;
    m_rounding = rounding;
    // One unit of the last decimal, as a quotient: some C libraries give a
    // negative power of ten one bit away from the decimal it names.
    if (m_kind == NumberPercent)
        m_delta = std::max(m_delta, 1.0 / std::pow(10.0, ClampDecimals(decimals)));
    Reset();
    return true;
}

bool NumberEditModel::IsApostropheDecimalFormat() const
{
    return orv::controls::IsApostropheDecimalFormat(m_decimals);
}

bool NumberEditModel::UsesApostrophe() const
{
    return m_kind == NumberPrice && IsApostropheDecimalFormat();
}

double NumberEditModel::Bound(double value) const
{
    if (const double tick = ApostropheTick(m_decimals); tick > 0 && m_kind == NumberPrice)
        value = std::floor(value / tick + 0.5) * tick;
    else if (m_kind == NumberPercent)
        value = RoundHalfUp(value, m_decimals);
    else if (m_kind == NumberPrice && m_rounding >= 0)
        value = RoundHalfUp(value, m_rounding);
    else if (m_kind == NumberWhole || m_kind == NumberForexLots)
        value = RoundHalfUp(value, 0);
    if (value > m_max)
        value = m_max;
    if (value < m_min)
        value = m_min;
    return value;
}

double NumberEditModel::LotSize() const
{
    return g_lForexLotSize > 0 ? double(g_lForexLotSize) : 1.0;
}

CString NumberEditModel::Format(double value) const
{
    CString text;
    switch (m_kind) {
    case NumberWhole:
        text.Format("%d", int(std::clamp(std::trunc(value), kLowest, kHighest)));
        return text;
    case NumberPercent:
        text.Format("%.*f%%", ClampDecimals(m_decimals), value);
        break;
    case NumberForexLots: {
        // As many decimals as the lots need, so that the text reads back as
        // the same number of units.
        const double lots = value / LotSize();
        text = HostPriceText(lots, std::clamp(CalcNumDecimalPlaces(lots), 0, 7));
        break;
    }
    default:
        text = HostPriceText(value, m_decimals);
        break;
    }
    if (CLocale::DecimalSeparator != '.')
        text.Replace('.', CLocale::DecimalSeparator);
    return text;
}

bool NumberEditModel::Parse(const char* text, double& value) const
{
    CString plain = text != nullptr ? text : "";
    plain.Trim();
    plain.Remove('%');
    if (CLocale::DecimalSeparator != '.')
        plain.Replace(CLocale::DecimalSeparator, '.');
    if (UsesApostrophe() && plain.Find('\'') >= 0)
        return ParseApostrophePrice(plain, m_decimals, value);
    double read = 0;
    if (!ParseDecimal(plain, read))
        return false;
    value = m_kind == NumberForexLots ? read * LotSize() : read;
    return true;
}

char NumberEditModel::AllowedChar(unsigned ch) const
{
    if (ch == '.' && CLocale::DecimalSeparator == ',')
        ch = ',';
    if (IsDigit(ch) || (ch == '-' && m_min < 0) || (ch == '%' && m_kind == NumberPercent)
        || (ch == '\'' && UsesApostrophe())
        || (ch == unsigned(CLocale::DecimalSeparator) && m_kind != NumberWhole))
        return char(ch);
    return 0;
}

NumberEditChange NumberEditModel::Try(CString text, int caret)
{
    double value = 0;
    if (!Parse(text, value))
        return {};
    m_value = Bound(value);
    return {true, text, caret};
}

NumberEditChange NumberEditModel::Type(const CString& text, int selStart, int selEnd, unsigned ch, KeySource source)
{
    const int length = text.GetLength();
    int start = std::clamp(std::min(selStart, selEnd), 0, length);
    int end = std::clamp(std::max(selStart, selEnd), 0, length);
    CString edited = text;
    if (source == KeySource::DeleteKey || ch == '\b') {
        if (start == end) {
            if (source == KeySource::DeleteKey)
                end = std::min(end + 1, length);
            else
                start = std::max(start - 1, 0);
        }
        edited.Delete(start, end - start);
        return start == end ? NumberEditChange{} : Try(edited, start);
    }
    const char allowed = AllowedChar(ch);
    if (allowed == 0)
        return {};
    edited.Delete(start, end - start);
    edited.Insert(start, allowed);
    return Try(edited, start + 1);
}

NumberEditChange NumberEditModel::Paste(const CString& text, int selStart, int selEnd, const char* clip)
{
    CString pasted = clip != nullptr ? clip : "";
    pasted.Trim(" \t\r\n");
    const int length = text.GetLength();
    const int start = std::clamp(std::min(selStart, selEnd), 0, length);
    const int end = std::clamp(std::max(selStart, selEnd), 0, length);
    CString edited = text;
    edited.Delete(start, end - start);
    edited.Insert(start, pasted);
    return Try(edited, start + pasted.GetLength());
}

bool NumberEditModel::TakeText(const char* text)
{
    return Try(text, 0).accepted;
}

} // namespace orv::controls
