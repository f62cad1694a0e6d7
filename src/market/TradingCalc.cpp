#include "market/TradingCalc.h"

#include "market/DecimalPrice.h"
#include "market/SymbolData.h"
#include "market/SymbolShape.h"
#include "market/TradingHours.h"

#include <cmath>

using orv::market::DecimalPrice;
using orv::market::Difference;
using orv::market::Times;
using orv::market::ToDecimal;

namespace {

struct Prices {
    double last = 0;
    double bid = 0;
    double ask = 0;
    double previousClose = 0;
};

double Finite(double price)
{
    return std::isfinite(price) ? price : 0;
}

Prices PricesOf(const QUOTERECORD* quote)
{
    Prices prices;
    if (quote != nullptr) {
        prices.last = Finite(quote->dLast);
        prices.bid = Finite(quote->dBid);
        prices.ask = Finite(quote->dAsk);
        prices.previousClose = Finite(quote->dPrevClose);
    }
    return prices;
}

// The price a position is marked at; 0 when there is none.
double MarkPrice(const Prices& prices, bool isLong, bool derivative, bool outsideHours)
{
    const double closing = isLong ? prices.bid : prices.ask;
    if (!outsideHours && closing != 0)
        return closing;
    if (derivative) {
        for (double price : { closing, prices.last, prices.previousClose }) {
            if (price != 0)
                return price;
        }
        return 0;
    }
    return prices.last != 0 ? prices.last : prices.previousClose;
}

bool HasSymbol(const QUOTERECORD* quote)
{
    return quote->bstrSymbol != nullptr && quote->bstrSymbol[0] != 0;
}

} // namespace

void CalcPNL(const char* symbol, LONG qty, const double& avgPrice, const QUOTERECORD* quote, LONG multiplier,
             double& pnl, double& value)
{
    const bool outsideHours = orv::market::IsOutsideRegularHours();
    pnl = 0;
    value = 0;
    if (qty == 0 || !(avgPrice > 0))
        return;
    const double count = std::fabs(double(qty));
    const bool futures = orv::symbol::IsFutures(symbol);
    const bool option = !futures && orv::symbol::IsOption(symbol);
    if (option && multiplier == 0)
        multiplier = 100;
    const double scale = multiplier != 0 ? double(multiplier) : 1.0;

    const DecimalPrice mark = ToDecimal(MarkPrice(PricesOf(quote), qty > 0, futures || option, outsideHours));
    const DecimalPrice average = ToDecimal(avgPrice);
    if (mark.value > 0) {
        pnl = qty > 0 ? Times(Difference(mark, average), double(qty) * scale)
                      : Times(Difference(average, mark), count * scale);
    }

    if (futures) {
        const double margin = CSymbolData::GetStaticInstance().GetOvernightMarginForFutureRoot(symbol);
        value = Times(ToDecimal(margin), count);
    } else if (mark.value != 0) {
        value = Times(mark, count * scale);
    }
}

void CalcForexPNL(LONG qty, const double& avgPrice, double& /*unused*/, int invert, int addPnlToValue,
                  int divideValue, const QUOTERECORD* quote, const QUOTERECORD* convQuote,
                  const QUOTERECORD* valueQuote, double& pnl, double& value, double& pnlPerUnit, double& priceDiff)
{
    pnl = 0;
    value = 0;
    pnlPerUnit = 0;
    priceDiff = 0;
    if (qty == 0 || !(avgPrice > 0))
        return;
    const bool isLong = qty > 0;
    const double count = std::fabs(double(qty));

    // A position without its closing price has no price difference.
    const Prices prices = PricesOf(quote);
    const double closing = isLong ? prices.bid : prices.ask;
    DecimalPrice difference;
    if (closing != 0) {
        const DecimalPrice average = ToDecimal(avgPrice), close = ToDecimal(closing);
        difference = isLong ? Difference(close, average) : Difference(average, close);
    }
    priceDiff = difference.value;

    // Into the account currency. The whole-unit product first: it is exact,
    // and the conversion then rounds once.
    pnl = Times(difference, count);
    if (convQuote != nullptr) {
        const Prices conversion = PricesOf(convQuote);
        const double rate = isLong ? conversion.bid : conversion.ask;
        if (rate != 0)
            pnl = invert ? pnl / rate : Times(ToDecimal(pnl), rate);
    } else if (invert && closing != 0) {
        pnl /= closing;
    }

    if (valueQuote == nullptr) {
        value = count + (addPnlToValue ? pnl : 0);
    } else if (!HasSymbol(valueQuote)) {
        value = count;
    } else {
        const Prices valuation = PricesOf(valueQuote);
        const double rate = isLong ? valuation.bid : valuation.ask;
        if (divideValue)
            value = rate != 0 ? count / rate : 0;
        else
            value = Times(ToDecimal(rate), count);
        if (addPnlToValue)
            value += pnl;
    }
    pnlPerUnit = pnl / count;
}
