// Option symbols read into their parts, and symbols rewritten in place into
// the notations of outside services: Yahoo Finance (charts and news),
// Trading Central (research) and the product's own web service.
#pragma once

#include "OrvApi.h"
#include "framework/String.h"
#include "platform/SysString.h"

// Reads an option symbol "+RRRRRRR?YYMMDDCsss": "+", a root of 1 to 7
// characters, one skipped character, six digits (year, month, day), "C" or
// "P" at position 9 to 15 (the first one from position 8 on, with no "."
// before it) and the strike as plain decimal text (an optional sign, digits,
// an optional fraction; anything unreadable gives 0). `root` must hold 8
// characters. Returns 1 when parsed; 0 otherwise, with nothing written.
ORV_API int ParseOptionSymbol(const char* symbol, char* root, int& year, int& month, int& day, char& callPut,
                              double& strike);

// 1 when the first "P" or "C" at positions 9 to 15 is a "P"; 0 otherwise,
// and for texts shorter than 9 characters or null.
ORV_API int IsPutOption(const char* symbol);
// The same on a UTF-16 system string (or any NUL-terminated UTF-16 text).
ORV_API int IsPutOption(const OLECHAR* symbol);

// Rewrites the symbol as Yahoo Finance writes it. 0, unchanged, for an empty
// symbol, an index ("$...") and futures without a Yahoo Finance exchange;
// 1 otherwise (also when an option symbol does not parse and is left as it
// is):
//   EUR/USD    -> EURUSD
//   /ESZ2      -> ESZ12.CME (in 2012; the year digit is placed in the
//                 decade that makes it this year or at most one year back,
//                 else the next decade)
//   +AAPL 120121C42.5 -> AAPL120121C00042500 (strike: five digits of whole
//                 part, three of thousandths)
//   CAT.ABC    -> ABC.TO
// Futures take their exchange from the symbol data (CSymbolData).
ORV_API int ConvertToYahooFinanceSymbol(CString& symbol);

// Rewrites the symbol as Trading Central writes it: a forex pair without "/"
// and without "USD" (EUR/USD -> EUR, EUR/GBP -> EURGBP); others unchanged.
// 0, unchanged, for options and futures; 1 otherwise.
ORV_API int ConvertToTradingCentralSymbol(CString& symbol);

// Rewrites futures symbols for the product's web service ("/" becomes "-":
// /ESZ2 -> -ESZ2). Always 1.
ORV_API int ConvertToORVWebServiceSymbol(CString& symbol);

// Removes the ":X" part of a forex pair: EUR/USD:X -> EUR/USD and
// EUR/USD:X.Y -> EUR/USD.Y. Other texts are unchanged.
ORV_API void SymbolRemoveFXColonSuffix(CString& symbol);

namespace orv::market {
// ConvertToYahooFinanceSymbol with the current local year given, for tests.
ORV_API int ConvertToYahooFinanceSymbol(CString& symbol, int currentYear);
} // namespace orv::market
