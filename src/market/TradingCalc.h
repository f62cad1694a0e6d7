// Profit and loss of a position from the current quote: CalcPNL for
// equities, options and futures, CalcForexPNL for foreign-exchange positions
// with conversion into the account currency.
//
// Money is computed from the prices as decimals (see DecimalPrice.h): a
// pnl that is a whole number of cents comes out as exactly that number.
#pragma once

#include "OrvApi.h"
#include "market/QuoteRecord.h"
#include "base/Types.h"

// Open profit and loss and market value of `qty` (negative: short) bought or
// sold at `avgPrice`, valued from `quote` (null: no prices). Both results are
// 0 when qty is 0 or avgPrice is not above 0.
//
// The mark price is the closing side (bid for a long, ask for a short)
// during regular hours (09:30 to 15:59 on the exchange clock). Outside them,
// or when that side is 0, futures and options take the first non-zero of the
// closing side, last and previous close, and equities last, else previous
// close. pnl needs a mark above 0. Prices that are not finite count as 0.
//
// Options ("+...") without a multiplier use 100; a multiplier scales pnl and
// value. Futures ("/...") are valued at the root's overnight margin from the
// symbol data times the contract count; other positions at count x mark.
ORV_API void CalcPNL(const char* symbol, LONG qty, const double& avgPrice, const QUOTERECORD* quote, LONG multiplier,
                     double& pnl, double& value);

// Forex profit and loss. All four results are set, to 0 when nothing can be
// computed (qty 0, avgPrice not above 0, or no closing price: bid for a
// long, ask for a short).
//
// priceDiff is the closing price minus avgPrice (reversed for a short); pnl
// is priceDiff converted into the account currency and times |qty|: with a
// conversion quote, times its bid (long) or ask (short), or divided by it
// when `invert` is set; without one, divided by the closing price when
// `invert` is set. A conversion rate of 0 leaves pnl unconverted.
//
// value is |qty| without a value quote and with one whose symbol is empty;
// otherwise |qty| times the value quote's bid (long) or ask (short), or
// divided by it when `divideValue` is set (0 when that rate is 0). pnl is
// added to value when `addPnlToValue` is set, except for a value quote
// without a symbol. pnlPerUnit is pnl / |qty|. `unused` is not read.
ORV_API void CalcForexPNL(LONG qty, const double& avgPrice, double& unused, int invert, int addPnlToValue,
                          int divideValue, const QUOTERECORD* quote, const QUOTERECORD* convQuote,
                          const QUOTERECORD* valueQuote, double& pnl, double& value, double& pnlPerUnit,
                          double& priceDiff);
