// Shared by the benchmarks: a quote record that owns its four system
// strings, so each benchmark sets only the prices it needs.
#pragma once

#include "market/QuoteRecord.h"

#include <string>

namespace bench {

inline BSTR Ole(const char* text)
{
    std::basic_string<OLECHAR> wide(text, text + std::char_traits<char>::length(text));
    return SysAllocString(wide.c_str());
}

struct OwnedQuoteRecord : QUOTERECORD {
    OwnedQuoteRecord(const char* symbol, const char* extra, const char* description) : QUOTERECORD{}
    {
        bstrSymbol = Ole(symbol);
        bstrExtra = Ole(extra);
        bstrDescription = Ole(description);
        bstrUnderlier = Ole("");
    }
    ~OwnedQuoteRecord()
    {
        for (BSTR s : {bstrSymbol, bstrExtra, bstrDescription, bstrUnderlier})
            SysFreeString(s);
    }
    OwnedQuoteRecord(const OwnedQuoteRecord&) = delete;
    OwnedQuoteRecord& operator=(const OwnedQuoteRecord&) = delete;
};

} // namespace bench
