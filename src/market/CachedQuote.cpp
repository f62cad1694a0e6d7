#include "market/CachedQuote.h"

#include "Kestrel.h"
#include "market/OrvDateTime.h"
#include "market/SymbolData.h"
#include "market/SymbolShape.h"
#include "text/Locale.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

// Room and capacity of the host's texts.
constexpr int kTextRoom = 64;
constexpr int kTextCapacity = 63;

const OLECHAR kEmpty[1] = {0};

// Half up to n decimals: floor(value * 10^n + 0.5) / 10^n.
double RoundHalfUp(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    return std::floor(value * scale + 0.5) / scale;
}

// Makes *text a copy of value, reusing a string that is already there.
void AssignOle(BSTR* text, const OLECHAR* value)
{
    if (*text != nullptr)
        SysReAllocString(text, value);
    else
        *text = SysAllocString(value);
}

void AssignBytes(BSTR* text, const char* value)
{
    const std::size_t length = std::strlen(value);
    if (*text != nullptr)
        platform::AssignCodePage(text, value, length);
    else
        *text = platform::CodePageToOle(value, length);
}

} // namespace

CCachedQuote::CCachedQuote()
{
    Clear();
}

CCachedQuote::CCachedQuote(QUOTERECORD* record)
{
    Clear();
    if (record == nullptr)
        return;
    SetQuoteRecord(record);
    m_dPrevLast = record->dLast;
    m_dPrevBid = record->dBid;
    m_dPrevAsk = record->dAsk;
    m_lLastVolume = record->lVolume;
    m_nTickCopy = record->lTick;
}

CCachedQuote::CCachedQuote(const CCachedQuote& other)
{
    orv::detail::CopyQuoteRecord(m_quote, other.m_quote);
    CopyMovement(other);
}

CCachedQuote& CCachedQuote::operator=(const CCachedQuote& other)
{
    if (this != &other && orv::detail::CopyQuoteRecord(m_quote, other.m_quote))
        CopyMovement(other);
    return *this;
}

CCachedQuote::~CCachedQuote()
{
    orv::detail::FreeQuoteRecordStrings(m_quote);
}

void CCachedQuote::CopyMovement(const CCachedQuote& other)
{
    std::memcpy(m_aTicks, other.m_aTicks, sizeof m_aTicks);
    m_nTickCopy = other.m_nTickCopy;
    m_bidDirection = other.m_bidDirection;
    m_askDirection = other.m_askDirection;
    m_nRingIndex = other.m_nRingIndex;
    m_lLastVolume = other.m_lLastVolume;
    m_dPrevLast = other.m_dPrevLast;
    m_dPrevBid = other.m_dPrevBid;
    m_dPrevAsk = other.m_dPrevAsk;
    m_nDecimals = other.m_nDecimals;
    m_bDecimalsFromPrices = other.m_bDecimalsFromPrices;
}

void CCachedQuote::Clear()
{
    m_dPrevLast = m_dPrevBid = m_dPrevAsk = 0.0;
    m_nDecimals = 0;
    m_bDecimalsFromPrices = false;
    m_nRingIndex = 0;
    m_lLastVolume = 0;
    m_nTickCopy = -1;
    m_bidDirection = m_askDirection = enumTickNone;
    for (TRENDTICK& tick : m_aTicks)
        tick = TRENDTICK_NONE;
    SetQuoteRecord(nullptr);
}

void CCachedQuote::SetQuoteRecord(const QUOTERECORD* record)
{
    if (record == nullptr) {
        for (BSTR* s : {&m_quote.bstrSymbol, &m_quote.bstrExtra, &m_quote.bstrDescription, &m_quote.bstrUnderlier})
            AssignOle(s, kEmpty);
        const std::size_t offset = offsetof(QUOTERECORD, dLast);
        std::memset(reinterpret_cast<unsigned char*>(&m_quote) + offset, 0, sizeof(QUOTERECORD) - offset);
        return;
    }
    if (!orv::detail::CopyQuoteRecord(m_quote, *record))
        return;
    if (m_nDecimals != 0 && !m_bDecimalsFromPrices)
        return;
    if (m_quote.bstrSymbol == nullptr) {
        m_nDecimals = 2;
        m_bDecimalsFromPrices = false;
        return;
    }
    CSymbolData& symbols = CSymbolData::GetStaticInstance();
    const std::string symbol = platform::OleToCodePage(m_quote.bstrSymbol);
    m_nDecimals = symbols.GetMinNumDecimalPlaces(symbol.c_str());
    m_bDecimalsFromPrices = m_nDecimals == 0 && orv::symbol::IsForex(symbol.c_str());
    if (m_bDecimalsFromPrices)
        m_nDecimals = symbols.GetForexPipPlaces(&m_quote);
}

int CCachedQuote::CheckHistoryInit()
{
    if (m_lLastVolume != 0 || m_dPrevLast != 0.0)
        return 1;
    const QUOTERECORD& q = m_quote;
    if (q.dLast == 0.0 && q.dBid == 0.0 && q.dAsk == 0.0)
        return 1;
    const double mid = q.dBid + (q.dAsk - q.dBid) * 0.5;
    m_aTicks[m_nRingIndex] = mid > q.dLast ? TRENDTICK_DOWN : TRENDTICK_UP;
    return 0;
}

void CCachedQuote::RecordTradeTick()
{
    const TRENDTICK previous = m_aTicks[m_nRingIndex];
    m_nRingIndex = (m_nRingIndex + 1) % TickHistorySize;
    TRENDTICK tick;
    if (m_quote.dLast > m_dPrevLast)
        tick = TRENDTICK_UP;
    else if (m_quote.dLast < m_dPrevLast)
        tick = TRENDTICK_DOWN;
    else if (previous == TRENDTICK_UP || previous == TRENDTICK_UNCHANGED_UP)
        tick = TRENDTICK_UNCHANGED_UP;
    else
        tick = TRENDTICK_UNCHANGED_DOWN;
    m_aTicks[m_nRingIndex] = tick;
    m_lLastVolume = m_quote.lVolume;
}

int CCachedQuote::Update(QUOTERECORD* record)
{
    if (record == nullptr)
        return 0;
    SetQuoteRecord(record);
    const int running = CheckHistoryInit();
    const QUOTERECORD& q = m_quote;
    int mask = 0;
    const bool trade = running != 0 && q.lVolume > m_lLastVolume;
    const bool lastOnly = q.dLast != 0.0 && q.dBid == 0.0 && q.dAsk == 0.0;
    if (trade || lastOnly) {
        RecordTradeTick();
        mask = QUOTECHANGE_TRADETICK;
    }
    if (q.dLast != m_dPrevLast) {
        mask |= QUOTECHANGE_LAST;
        m_dPrevLast = q.dLast;
    }
    if (q.lTick != m_nTickCopy) {
        m_nTickCopy = q.lTick;
        mask |= QUOTECHANGE_TICKINDICATOR;
    }
    if (q.dBid != m_dPrevBid) {
        mask |= QUOTECHANGE_BID;
        m_bidDirection = q.dBid > m_dPrevBid ? enumTickUp : enumTickDown;
        m_dPrevBid = q.dBid;
    }
    if (q.dAsk != m_dPrevAsk) {
        mask |= QUOTECHANGE_ASK;
        m_askDirection = q.dAsk > m_dPrevAsk ? enumTickUp : enumTickDown;
        m_dPrevAsk = q.dAsk;
    }
    return mask;
}

bool CCachedQuote::HaveBidAsk() const
{
    return m_quote.dBid > 0.0 && m_quote.dAsk > 0.0;
}

TRENDTICK CCachedQuote::GetLastDirection() const
{
    return m_aTicks[m_nRingIndex];
}

enumTick CCachedQuote::GetBidDirection() const
{
    return m_bidDirection;
}

enumTick CCachedQuote::GetAskDirection() const
{
    return m_askDirection;
}

void CCachedQuote::GetTradeTrendString(CString& text) const
{
    text.Empty();
    for (int step = 0; step < TickHistorySize; ++step) {
        const int slot = (m_nRingIndex - step + TickHistorySize) % TickHistorySize;
        switch (m_aTicks[slot]) {
        case TRENDTICK_UP:
            text.Insert(0, '+');
            break;
        case TRENDTICK_DOWN:
            text.Insert(0, '-');
            break;
        case TRENDTICK_UNCHANGED_UP:
        case TRENDTICK_UNCHANGED_DOWN:
            text.Insert(0, '=');
            break;
        default:
            break;
        }
    }
}

// ------------------------------------------------------------- texts

void CCachedQuote::SetBSTR(const double& value, BSTR* text, bool plus)
{
    char buffer[kTextRoom + 1] = {'+'};
    char* digits = plus && value > 0.0 ? buffer + 1 : buffer;
    HostFormatPriceEx(value, digits, kTextCapacity, m_nDecimals);
    AssignBytes(text, buffer);
}

void CCachedQuote::SetBSTRMoney(const double& value, BSTR* text)
{
    char buffer[kTextRoom] = {};
    HostFormatMoney(value, buffer, kTextCapacity);
    AssignBytes(text, buffer);
}

void CCachedQuote::SetBSTR(long value, BSTR* text)
{
    char buffer[kTextRoom] = {};
    HostFormatLong(static_cast<int32_t>(value), buffer, kTextCapacity);
    AssignBytes(text, buffer);
}

void CCachedQuote::SetBSTR(CString& value, BSTR* text)
{
    AssignBytes(text, value.GetString());
}

void CCachedQuote::SetBSTR(OLECHAR* value, BSTR* text)
{
    AssignOle(text, value != nullptr ? value : kEmpty);
}

long CCachedQuote::SizeForDisplay(long size) const
{
    if (g_bForexUseLots && g_lForexLotSize != 0 && orv::symbol::IsForex(m_quote.bstrSymbol))
        return size / g_lForexLotSize;
    return size;
}

void CCachedQuote::SetPercent(double value, bool signed_, BSTR* text)
{
    const double rounded = RoundHalfUp(value, 2);
    CString formatted;
    formatted.Format(signed_ && rounded > 0.0 ? "+%.02lf%%" : "%.02lf%%", rounded);
    SetBSTR(formatted, text);
}

// One switch picks the family, and each family renders its own fields.
int CCachedQuote::GetField(long id, BSTR* text)
{
    if (id == 0 || text == nullptr)
        return 0;
    switch (id) {
    case QUOTEFIELD_LAST:
    case QUOTEFIELD_BID:
    case QUOTEFIELD_ASK:
    case QUOTEFIELD_PREVCLOSE:
    case QUOTEFIELD_HIGH:
    case QUOTEFIELD_LOW:
    case QUOTEFIELD_OPEN:
    case QUOTEFIELD_STRIKE:
        SetPriceField(id, text);
        return 1;
    case QUOTEFIELD_BIDSIZE:
    case QUOTEFIELD_ASKSIZE:
    case QUOTEFIELD_LASTSIZE:
    case QUOTEFIELD_VOLUME:
    case QUOTEFIELD_TICK:
    case QUOTEFIELD_CONTRACTSIZE:
        SetCountField(id, text);
        return 1;
    case QUOTEFIELD_TIMELASTQUOTE:
    case QUOTEFIELD_DATE:
        SetTimeField(id, text);
        return 1;
    case QUOTEFIELD_DESCRIPTION:
    case QUOTEFIELD_SM:
    case QUOTEFIELD_UNDERLIER:
    case QUOTEFIELD_EXPIRATION:
        SetTextField(id, text);
        return 1;
    case QUOTEFIELD_SPREAD:
    case QUOTEFIELD_RANGE:
    case QUOTEFIELD_CHANGE:
    case QUOTEFIELD_PCTRANGE:
    case QUOTEFIELD_PCTCHANGE:
        SetDifferenceField(id, text);
        return 1;
    default:
        return 0;
    }
}

// Prices as they stand; the strike only when there is one.
void CCachedQuote::SetPriceField(long id, BSTR* text)
{
    const QUOTERECORD& q = m_quote;
    switch (id) {
    case QUOTEFIELD_LAST:
        SetBSTR(q.dLast, text);
        break;
    case QUOTEFIELD_BID:
        SetBSTR(q.dBid, text);
        break;
    case QUOTEFIELD_ASK:
        SetBSTR(q.dAsk, text);
        break;
    case QUOTEFIELD_PREVCLOSE:
        SetBSTR(q.dPrevClose, text);
        break;
    case QUOTEFIELD_HIGH:
        SetBSTR(q.dHigh, text);
        break;
    case QUOTEFIELD_LOW:
        SetBSTR(q.dLow, text);
        break;
    case QUOTEFIELD_OPEN:
        SetBSTR(q.dOpen, text);
        break;
    case QUOTEFIELD_STRIKE:
        if (q.dStrike != 0.0)
            SetBSTR(q.dStrike, text);
        break;
    default:
        break;
    }
}

// Sizes (in lots for forex while lots are shown), the tick indicator and
// the contract size when it is 2 or more.
void CCachedQuote::SetCountField(long id, BSTR* text)
{
    const QUOTERECORD& q = m_quote;
    switch (id) {
    case QUOTEFIELD_BIDSIZE:
        SetBSTR(SizeForDisplay(q.lBidSize), text);
        break;
    case QUOTEFIELD_ASKSIZE:
        SetBSTR(SizeForDisplay(q.lAskSize), text);
        break;
    case QUOTEFIELD_LASTSIZE:
        SetBSTR(SizeForDisplay(q.lLastSize), text);
        break;
    case QUOTEFIELD_VOLUME:
        SetBSTR(SizeForDisplay(q.lVolume), text);
        break;
    case QUOTEFIELD_TICK:
        SetBSTR(static_cast<long>(q.lTick), text);
        break;
    case QUOTEFIELD_CONTRACTSIZE:
        if (q.lContractSize >= 2)
            SetBSTR(static_cast<long>(q.lContractSize), text);
        break;
    default:
        break;
    }
}

// The quote time in the display zone: time of day or date.
void CCachedQuote::SetTimeField(long id, BSTR* text)
{
    const COrvDateTime when(m_quote.dTimeLastQuote);
    CString rendered = id == QUOTEFIELD_DATE ? when.FormatDisplayDate() : when.FormatDisplayTime(0);
    SetBSTR(rendered, text);
}

// The record's strings, the S/M flags and the expiration month; nothing
// when there is nothing to show.
void CCachedQuote::SetTextField(long id, BSTR* text)
{
    const QUOTERECORD& q = m_quote;
    switch (id) {
    case QUOTEFIELD_DESCRIPTION:
        if (q.bstrDescription != nullptr)
            SetBSTR(q.bstrDescription, text);
        break;
    case QUOTEFIELD_UNDERLIER:
        if (q.bstrUnderlier != nullptr)
            SetBSTR(q.bstrUnderlier, text);
        break;
    case QUOTEFIELD_SM: {
        CString flags;
        if (q.byFlags & QUOTEFLAG_S)
            flags += 'S';
        if (q.byFlags & QUOTEFLAG_M)
            flags += 'M';
        if (!flags.IsEmpty())
            SetBSTR(flags, text);
        break;
    }
    case QUOTEFIELD_EXPIRATION:
        if (q.lExpirationMonth != 0 && q.lExpirationYear != 0) {
            CString expiration;
            expiration.Format("%02ld/%ld", static_cast<long>(q.lExpirationMonth), static_cast<long>(q.lExpirationYear));
            SetBSTR(expiration, text);
        }
        break;
    default:
        break;
    }
}

// Differences between two prices, as prices or percentages; those that
// need both prices show nothing while either is 0.
void CCachedQuote::SetDifferenceField(long id, BSTR* text)
{
    const QUOTERECORD& q = m_quote;
    switch (id) {
    case QUOTEFIELD_SPREAD:
        if (q.dAsk != 0.0 && q.dBid != 0.0)
            SetBSTR(q.dAsk - q.dBid, text);
        break;
    case QUOTEFIELD_RANGE:
        SetBSTR(q.dHigh - q.dLow, text);
        break;
    case QUOTEFIELD_CHANGE:
        if (q.dLast != 0.0 && q.dPrevClose != 0.0)
            SetBSTR(q.dLast - q.dPrevClose, text, true);
        break;
    case QUOTEFIELD_PCTRANGE:
        SetPercent(q.dHigh == q.dLow ? 0.0 : (q.dLast - q.dLow) / (q.dHigh - q.dLow) * 100.0, false, text);
        break;
    case QUOTEFIELD_PCTCHANGE:
        if (q.dLast != 0.0 && q.dPrevClose != 0.0)
            SetPercent((q.dLast - q.dPrevClose) / q.dPrevClose * 100.0, true, text);
        break;
    default:
        break;
    }
}
