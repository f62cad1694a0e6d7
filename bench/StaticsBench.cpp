// The path of a quote to the text a market value static shows, per field:
// CCachedQuote::Update with a record that moves, GetField of the field, and
// the static's own formatting of the value (MarketValueText). And the
// numeric edit's parser, per kind of text.
#include "controls/MarketValueText.h"
#include "controls/NumberText.h"
#include "market/CachedQuote.h"

#include "BenchQuoteRecord.h"

#include <benchmark/benchmark.h>

#include <string>

using namespace orv::controls;

namespace {


struct Record : bench::OwnedQuoteRecord {
    Record() : OwnedQuoteRecord("MSFT", "", "Microsoft")
    {
        dLast = 415.25;
        dBid = 415.24;
        dAsk = 415.26;
        dPrevClose = 412.80;
        dHigh = 416.0;
        dLow = 411.5;
        lVolume = 1250000;
    }
};

enum Shown : int { ShownLast, ShownBid, ShownAsk, ShownChange, ShownVolume, ShownPercentChange, ShownSubPips };

// One update, then the field's text and what its static makes of the value.
void QuoteToStaticText(benchmark::State& state)
{
    const int shown = static_cast<int>(state.range(0));
    Record record;
    CCachedQuote quote;
    quote.Update(&record);
    BSTR text = nullptr;
    MoneyTextOptions price;
    price.decimals = 2;
    MoneyTextOptions subPips;
    subPips.format = MoneySubPips;
    subPips.decimals = 4;
    int i = 0;
    for (auto _ : state) {
        const double move = (i++ % 7 - 3) * 0.01;
        record.dLast = 415.25 + move;
        record.dBid = record.dLast - 0.01;
        record.dAsk = record.dLast + 0.01;
        record.lVolume += 100;
        benchmark::DoNotOptimize(quote.Update(&record));
        const QUOTERECORD& q = quote.GetQuoteRecord();
        switch (shown) {
        case ShownLast:
            quote.GetField(QUOTEFIELD_LAST, &text);
            benchmark::DoNotOptimize(FormatMoneyText(q.dLast, price));
            break;
        case ShownBid:
            quote.GetField(QUOTEFIELD_BID, &text);
            benchmark::DoNotOptimize(FormatMoneyText(q.dBid, price));
            break;
        case ShownAsk:
            quote.GetField(QUOTEFIELD_ASK, &text);
            benchmark::DoNotOptimize(FormatMoneyText(q.dAsk, price));
            break;
        case ShownChange: {
            quote.GetField(QUOTEFIELD_CHANGE, &text);
            const double change = q.dLast - q.dPrevClose;
            benchmark::DoNotOptimize(
                AppendChangePercent(FormatMoneyText(change, price).text, change / q.dPrevClose * 100));
            break;
        }
        case ShownVolume:
            quote.GetField(QUOTEFIELD_VOLUME, &text);
            benchmark::DoNotOptimize(VolumeText(q.lVolume, false));
            break;
        case ShownPercentChange:
            quote.GetField(QUOTEFIELD_PCTCHANGE, &text);
            benchmark::DoNotOptimize(PercentText((q.dLast - q.dPrevClose) / q.dPrevClose, 2));
            break;
        case ShownSubPips:
            quote.GetField(QUOTEFIELD_BID, &text);
            benchmark::DoNotOptimize(FormatMoneyText(1.08425 + move / 1000, subPips));
            break;
        }
        benchmark::ClobberMemory();
    }
    SysFreeString(text);
}
BENCHMARK(QuoteToStaticText)
    ->ArgName("field") // 0 last, 1 bid, 2 ask, 3 change (pct), 4 volume, 5 %chg, 6 sub-pips
    ->DenseRange(ShownLast, ShownSubPips);

// The numeric edit's parser on one text of each kind.
void NumberParse(benchmark::State& state)
{
    struct Case {
        int kind, decimals;
        const char* text;
    };
    static const Case cases[] = {
        {NumberPrice, 2, "415.25"},    {NumberPrice, 5, "1.08425"},  {NumberPrice, 32, "117'165"},
        {NumberPrice, 32, "-101'16"},  {NumberWhole, 0, "1250000"},  {NumberPercent, 2, "12.34%"},
        {NumberForexLots, 1, "2.5"},   {NumberPrice, 2, "12a.5"},
    };
    const Case& c = cases[state.range(0)];
    NumberEditModel model(c.kind, c.decimals);
    double value = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(model.Parse(c.text, value));
    state.SetLabel(c.text);
}
BENCHMARK(NumberParse)->ArgName("text")->DenseRange(0, 7);

} // namespace

BENCHMARK_MAIN();
