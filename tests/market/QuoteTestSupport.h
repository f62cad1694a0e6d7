// Building quote records in tests: ASCII texts to and from system strings.
#pragma once

#include "market/QuoteRecord.h"

#include <string>

namespace market_test {

inline BSTR Ole(const char* text)
{
    std::basic_string<OLECHAR> wide;
    for (const char* p = text; *p != '\0'; ++p)
        wide += static_cast<OLECHAR>(static_cast<unsigned char>(*p));
    return SysAllocString(wide.c_str());
}

// The ASCII text of a system string; "<null>" for null.
inline std::string Text(BSTR text)
{
    if (text == nullptr)
        return "<null>";
    std::string narrow;
    for (UINT i = 0; i < SysStringLen(text); ++i)
        narrow += static_cast<char>(text[i]);
    return narrow;
}

// A record on the stack that frees its strings.
struct Quote : QUOTERECORD {
    Quote() : QUOTERECORD{} {}
    explicit Quote(const char* symbol) : QUOTERECORD{} { bstrSymbol = Ole(symbol); }
    Quote(const Quote&) = delete;
    Quote& operator=(const Quote&) = delete;
    ~Quote()
    {
        SysFreeString(bstrSymbol);
        SysFreeString(bstrExtra);
        SysFreeString(bstrDescription);
        SysFreeString(bstrUnderlier);
    }
    void SetPrices(double last, double bid, double ask, LONG volume, LONG tick = 0)
    {
        dLast = last;
        dBid = bid;
        dAsk = ask;
        lVolume = volume;
        lTick = tick;
    }
};

} // namespace market_test
