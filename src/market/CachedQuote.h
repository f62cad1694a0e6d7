// CCachedQuote: the latest quote record of one symbol, with the movement the
// windows show (bid and ask direction, the last eight trade ticks, a mask of
// what each update changed) and the text of any quote field.
#pragma once

#include "OrvApi.h"
#include "framework/String.h"
#include "market/QuoteRecord.h"

// Bits of the mask that Update returns.
enum : int {
    QUOTECHANGE_BID = 1,
    QUOTECHANGE_ASK = 2,
    QUOTECHANGE_LAST = 4,
    QUOTECHANGE_TRADETICK = 8,
    QUOTECHANGE_TICKINDICATOR = 16,
};

// Quote fields that GetField renders.
enum : long {
    QUOTEFIELD_LAST = 2002,
    QUOTEFIELD_BID = 2003,
    QUOTEFIELD_ASK = 2004,
    QUOTEFIELD_BIDSIZE = 2005,
    QUOTEFIELD_ASKSIZE = 2006,
    QUOTEFIELD_LASTSIZE = 2007,
    QUOTEFIELD_PREVCLOSE = 2008,
    QUOTEFIELD_HIGH = 2009,
    QUOTEFIELD_LOW = 2010,
    QUOTEFIELD_OPEN = 2011,
    QUOTEFIELD_VOLUME = 2012,
    QUOTEFIELD_TICK = 2013,
    QUOTEFIELD_TIMELASTQUOTE = 2014,
    QUOTEFIELD_DATE = 2015,
    QUOTEFIELD_DESCRIPTION = 2021,
    QUOTEFIELD_SM = 2032,
    QUOTEFIELD_UNDERLIER = 2034,
    QUOTEFIELD_STRIKE = 2035,
    QUOTEFIELD_CONTRACTSIZE = 2041,
    QUOTEFIELD_SPREAD = 9946,
    QUOTEFIELD_PCTRANGE = 9965,
    QUOTEFIELD_RANGE = 9974,
    QUOTEFIELD_EXPIRATION = 9982,
    QUOTEFIELD_PCTCHANGE = 9983,
    QUOTEFIELD_CHANGE = 9997,
};

// Not thread-safe: one object belongs to the thread that updates it.
class ORV_API CCachedQuote {
public:
    enum { TickHistorySize = 8 };

    // An empty record and no movement (Clear).
    CCachedQuote();
    // As above, then a copy of the record whose last, bid, ask, volume and
    // tick indicator are taken as already seen. A null record is allowed.
    explicit CCachedQuote(QUOTERECORD* record);
    CCachedQuote(const CCachedQuote& other);
    CCachedQuote& operator=(const CCachedQuote& other);
    virtual ~CCachedQuote();

    // Takes a new record and returns what changed (QUOTECHANGE_* bits). A
    // null record returns 0 and changes nothing.
    virtual int Update(QUOTERECORD* record);

    // Back to the state of a new object.
    void Clear();
    // Non-zero when the tick history already runs; otherwise seeds the
    // newest tick from where the last trade stands against the mid price.
    int CheckHistoryInit();
    bool HaveBidAsk() const;
    TRENDTICK GetLastDirection() const;
    enumTick GetBidDirection() const;
    enumTick GetAskDirection() const;
    // "+" up, "-" down, "=" unchanged per recorded tick, oldest first.
    void GetTradeTrendString(CString& text) const;

    // Renders field id (QUOTEFIELD_*) into *text (reallocated, or allocated
    // when null). 0 for id 0, a null target or an id that is not a quote
    // field; 1 for a quote field, also when its condition leaves nothing
    // to write.
    int GetField(long id, BSTR* text);

    // Price text in the quote's display format; with plus, a positive value
    // gets a leading "+".
    void SetBSTR(const double& value, BSTR* text, bool plus = false);
    void SetBSTRMoney(const double& value, BSTR* text);
    void SetBSTR(long value, BSTR* text);
    void SetBSTR(CString& value, BSTR* text);
    void SetBSTR(OLECHAR* value, BSTR* text);

    // The latest record (owned by this object) and its display format code.
    const QUOTERECORD& GetQuoteRecord() const { return m_quote; }
    int GetDecimals() const { return m_nDecimals; }

protected:
    // Copies the record (null: empty strings, zeroed plain block), then
    // fixes the display format from the symbol when it is not yet known.
    // A forex pair that the symbol data gives no pip places takes those of
    // its prices (1.3051 gives 4), so that prices never show as whole
    // numbers; that stand-in is replaced as soon as the symbol data knows
    // the pair.
    void SetQuoteRecord(const QUOTERECORD* record);

private:
    void CopyMovement(const CCachedQuote& other);
    void RecordTradeTick();
    // Sizes of forex symbols in lots while lots are shown.
    long SizeForDisplay(long size) const;
    void SetPercent(double value, bool signed_, BSTR* text);
    // GetField by family of fields.
    void SetPriceField(long id, BSTR* text);
    void SetCountField(long id, BSTR* text);
    void SetTimeField(long id, BSTR* text);
    void SetTextField(long id, BSTR* text);
    void SetDifferenceField(long id, BSTR* text);

    QUOTERECORD m_quote{};
    TRENDTICK m_aTicks[TickHistorySize] = {};
    int m_nTickCopy = -1;
    enumTick m_bidDirection = enumTickNone;
    enumTick m_askDirection = enumTickNone;
    int m_nRingIndex = 0;
    LONG m_lLastVolume = 0;
    double m_dPrevLast = 0.0;
    double m_dPrevBid = 0.0;
    double m_dPrevAsk = 0.0;
    int m_nDecimals = 0;
    // m_nDecimals came from the prices, not from the symbol data.
    bool m_bDecimalsFromPrices = false;
};
