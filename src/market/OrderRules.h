// Order-entry rules: which times in force an order may use, and the folding
// of market tiers into their main market.
#pragma once

#include "OrvApi.h"
#include "framework/String.h"
#include "base/Types.h"

// Times in force and order types, by the identifiers the field captions use.
enum : LONG {
    TIF_GTC = 10008,
    TIF_DAYPLUS = 10009,
    TIF_IOC = 10010,
    TIF_DAY = 10011,
    TIF_SESSION = 10012,
    TIF_GTX = 10014,
};

enum : LONG {
    ORDERTYPE_LIMIT = 10030,
    ORDERTYPE_MARKET = 10031,
    ORDERTYPE_MOO = 10038,
    ORDERTYPE_MOC = 10039,
    ORDERTYPE_RESERVE = 10040,
    ORDERTYPE_LOO = 10056,
    ORDERTYPE_LOC = 10057,
    ORDERTYPE_VWAP = 10063,
};

// Non-zero when an order of `orderType` on `market` for `symbol` may use the
// time in force `tif`. Forex pairs take only GTC; options only Day or GTC;
// GTC and GTX never for market-priced, opening, closing or VWAP orders nor
// on "OTC"; Day+ only for Limit and Reserve; IOC only for Limit and LOO and
// never on "CDN" or "CDNX". A null market or symbol is read as empty.
ORV_API int IsAllowableTif(LONG tif, LONG orderType, const char* market, const char* symbol);

// Rewrites a market tier in place as its main market: "CDNX" gives "CDN";
// "NNM", "SCM", "NGSM", "NGM" and "NCM" give "NAS"; otherwise a trailing
// two-character ".X" part is removed and then trailing "m" characters
// ("ARCAm" gives "ARCA"). Non-zero when the text was folded into a main
// market; 0 when no tier was recognised (a ".X" part is removed even then).
ORV_API int TierMarketToMainMarket(CString& market);
