// The quote feed's records: QUOTERECORD, OPTIONSRECORD, LEVEL2RECORD and
// TSRECORD, and the four functions that copy them into caller-owned heap
// records. Each record begins with its system strings (UTF-16, allocated
// with SysAllocString) and continues with a block of plain data that is
// copied byte for byte. The byte offsets asserted below are those of a
// 32-bit build; a 64-bit build has wider string pointers and shifts the
// plain block accordingly.
#pragma once

#include "OrvApi.h"
#include "platform/SysString.h"
#include "base/Types.h"

#include <cstddef>

// Trade-tick direction.
enum TRENDTICK : int {
    TRENDTICK_NONE = -1,
    TRENDTICK_UP = 0,
    TRENDTICK_DOWN = 1,
    // An unchanged trade after an up tick, and after a down tick.
    TRENDTICK_UNCHANGED_UP = 2,
    TRENDTICK_UNCHANGED_DOWN = 3,
};

// Direction of the last bid or ask change.
enum enumTick : int {
    enumTickNone = -1,
    enumTickUp = 0,
    enumTickDown = 1,
};

// Bits of QUOTERECORD::byFlags.
enum : BYTE {
    QUOTEFLAG_S = 0x01,
    QUOTEFLAG_M = 0x02,
};

struct QUOTERECORD {
    BSTR bstrSymbol;
    // Carried with the record; not interpreted by this library.
    BSTR bstrExtra;
    BSTR bstrDescription;
    BSTR bstrUnderlier;
    // Plain block.
    double dLast;
    double dBid;
    double dAsk;
    double dPrevClose;
    double dHigh;
    double dLow;
    double dOpen;
    // Carried with the record; not interpreted by this library.
    BYTE abReserved1[8];
    double dStrike;
    LONG lBidSize;
    LONG lAskSize;
    LONG lLastSize;
    LONG lVolume;
    // QUOTEFLAG_S and QUOTEFLAG_M.
    BYTE byFlags;
    BYTE abReserved2[3];
    LONG lContractSize;
    // 1 to 12, and four digits.
    LONG lExpirationMonth;
    LONG lExpirationYear;
    // Time of the last quote: a COrvDateTime value (UTC).
    double dTimeLastQuote;
    LONG lTick;
    BYTE abReserved3[12];
};

// The option chain record. Its plain block is carried, not read, here.
struct OPTIONSRECORD {
    BSTR bstrSymbol;
    BSTR bstrUnderlier;
    BYTE abData[112];
};

// The market-depth record. Its plain block is carried, not read, here.
struct LEVEL2RECORD {
    BSTR bstrSymbol;
    BSTR bstrMarketMaker;
    BSTR bstrExchange;
    BYTE abData[28];
};

// The time-and-sales record. Its plain block is carried, not read, here.
struct TSRECORD {
    BSTR bstrSymbol;
    BSTR bstrExchange;
    BYTE abData[40];
};

static_assert(offsetof(QUOTERECORD, dLast) == 4 * sizeof(BSTR));
static_assert(sizeof(QUOTERECORD) - offsetof(QUOTERECORD, dLast) == 128);
static_assert(offsetof(QUOTERECORD, lTick) - offsetof(QUOTERECORD, dLast) == 112);

#if defined(__SIZEOF_POINTER__) && __SIZEOF_POINTER__ == 4
static_assert(sizeof(QUOTERECORD) == 144);
static_assert(offsetof(QUOTERECORD, bstrSymbol) == 0);
static_assert(offsetof(QUOTERECORD, bstrExtra) == 4);
static_assert(offsetof(QUOTERECORD, bstrDescription) == 8);
static_assert(offsetof(QUOTERECORD, bstrUnderlier) == 12);
static_assert(offsetof(QUOTERECORD, dLast) == 16);
static_assert(offsetof(QUOTERECORD, dBid) == 24);
static_assert(offsetof(QUOTERECORD, dAsk) == 32);
static_assert(offsetof(QUOTERECORD, dPrevClose) == 40);
static_assert(offsetof(QUOTERECORD, dHigh) == 48);
static_assert(offsetof(QUOTERECORD, dLow) == 56);
static_assert(offsetof(QUOTERECORD, dOpen) == 64);
static_assert(offsetof(QUOTERECORD, abReserved1) == 72);
static_assert(offsetof(QUOTERECORD, dStrike) == 80);
static_assert(offsetof(QUOTERECORD, lBidSize) == 88);
static_assert(offsetof(QUOTERECORD, lAskSize) == 92);
static_assert(offsetof(QUOTERECORD, lLastSize) == 96);
static_assert(offsetof(QUOTERECORD, lVolume) == 100);
static_assert(offsetof(QUOTERECORD, byFlags) == 104);
static_assert(offsetof(QUOTERECORD, lContractSize) == 108);
static_assert(offsetof(QUOTERECORD, lExpirationMonth) == 112);
static_assert(offsetof(QUOTERECORD, lExpirationYear) == 116);
static_assert(offsetof(QUOTERECORD, dTimeLastQuote) == 120);
static_assert(offsetof(QUOTERECORD, lTick) == 128);
static_assert(sizeof(OPTIONSRECORD) == 120);
static_assert(sizeof(LEVEL2RECORD) == 40);
static_assert(sizeof(TSRECORD) == 48);
#endif

// Copy a feed record into a caller-owned heap record (allocated with new):
//   target null, source null:  nothing;
//   target null, source given: a new record with copies of the source's
//                              strings and its plain block;
//   target set,  source given: each string reallocated from the source's,
//                              the plain block copied;
//   target set,  source null:  the strings and the record freed, target null.
// Returns false when memory for a string runs out; the target then keeps
// its previous strings and a newly made record is not kept.
ORV_API bool SetQuoteRecord(QUOTERECORD*& target, const QUOTERECORD* source);
ORV_API bool SetOptionsRecord(OPTIONSRECORD*& target, const OPTIONSRECORD* source);
ORV_API bool SetLevel2Record(LEVEL2RECORD*& target, const LEVEL2RECORD* source);
ORV_API bool SetTSRecord(TSRECORD*& target, const TSRECORD* source);

namespace orv::detail {
// Inside the library: copies the source's strings and plain block into an
// existing record (false, target unchanged, when memory runs out), and frees
// a record's strings, leaving them null.
bool CopyQuoteRecord(QUOTERECORD& target, const QUOTERECORD& source);
void FreeQuoteRecordStrings(QUOTERECORD& record);
} // namespace orv::detail
