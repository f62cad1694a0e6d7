#include "market/OrderRules.h"

#include "market/SymbolShape.h"

#include <cstring>
#include <initializer_list>

namespace {

bool Is(const char* text, const char* expected)
{
    return std::strcmp(text, expected) == 0;
}

bool IsOneOf(LONG value, std::initializer_list<LONG> set)
{
    for (LONG member : set) {
        if (value == member)
            return true;
    }
    return false;
}

} // namespace

int IsAllowableTif(LONG tif, LONG orderType, const char* market, const char* symbol)
{
    if (market == nullptr)
        market = "";
    if (orv::symbol::IsForex(symbol))
        return tif == TIF_GTC;
    if (orv::symbol::IsOption(symbol) && tif != TIF_DAY && tif != TIF_GTC)
        return 0;

    switch (tif) {
    case TIF_GTC:
    case TIF_GTX:
        return !IsOneOf(orderType, { ORDERTYPE_MARKET, ORDERTYPE_MOO, ORDERTYPE_MOC, ORDERTYPE_LOO, ORDERTYPE_LOC,
                                     ORDERTYPE_VWAP })
            && !Is(market, "OTC");
    case TIF_DAYPLUS:
        return IsOneOf(orderType, { ORDERTYPE_LIMIT, ORDERTYPE_RESERVE });
    case TIF_IOC:
        return IsOneOf(orderType, { ORDERTYPE_LIMIT, ORDERTYPE_LOO }) && !Is(market, "CDN") && !Is(market, "CDNX");
    default:
        return 1;
    }
}

int TierMarketToMainMarket(CString& market)
{
    if (market == "CDNX") {
        market = "CDN";
        return 1;
    }
    for (const char* tier : { "NNM", "SCM", "NGSM", "NGM", "NCM" }) {
        if (market == tier) {
            market = "NAS";
            return 1;
        }
    }
    const int length = market.GetLength();
    if (length > 2 && market[length - 2] == '.')
        market = market.Left(length - 2);
    if (market.IsEmpty() || market[market.GetLength() - 1] != 'm')
        return 0;
    market.TrimRight('m');
    return 1;
}
