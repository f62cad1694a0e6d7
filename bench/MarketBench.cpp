// The market data paths that run per quote: CCachedQuote::Update, the text
// of each quote field, and the symbol data lookups against a generated file
// of 10,000 forex pairs and 10,000 futures roots (loading it is measured too).
#include "market/CachedQuote.h"
#include "market/SymbolData.h"

#include "BenchQuoteRecord.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

constexpr int kEntries = 10000;

std::string Letters(int n, int count)
{
    std::string text;
    for (int i = 0; i < count; ++i) {
        text.insert(text.begin(), char('A' + n % 26));
        n /= 26;
    }
    return text;
}

// Pair i is base i over quote i + 7919, both read as three letters, so all
// 10,000 pairs and their reversed forms differ.
std::string PairName(int i)
{
    return Letters(i, 3) + "/" + Letters(i + 7919, 3);
}

std::string RootName(int i)
{
    return "/" + Letters(i, 3);
}

struct Fixture {
    std::filesystem::path root;
    std::vector<std::string> pairs;
    std::vector<std::string> futures;
    CSymbolData data;

    Fixture()
    {
        root = std::filesystem::temp_directory_path() / ("orv-market-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(root / "User" / "data");
        setenv("KESTREL_ROOT", root.string().c_str(), 1);
        std::ofstream out(root / "User" / "data" / "bench-OrvSymbolData.xml");
        out << "<?xml version=\"1.0\"?>\n<SymbolData>\n<Forex>\n";
        for (int i = 0; i < kEntries; ++i) {
            pairs.push_back(PairName(i));
            out << "<Pair Symbol=\"" << pairs.back() << "\" Bank=\"BK" << i % 10
                << "\" premiumBuy=\"0.5\" premiumSell=\"0.25\" pipDecimal=\"0.0001\" marginRate=\"0.02\"/>\n";
        }
        out << "</Forex>\n<Futures>\n";
        for (int i = 0; i < kEntries; ++i) {
            futures.push_back(RootName(i) + "Z2");
            out << "<Root Symbol=\"" << RootName(i) << "\" exch=\"CME\" Increment=\"0.25\" contractSize=\"50\""
                << " displayFormat=\"" << i % 8 << "\" eSignalRoot=\"" << Letters(i, 3) << "\"/>\n";
        }
        out << "</Futures>\n<ExchRates><Rate Name=\"USD/JPY\" Rate=\"80\"/></ExchRates>\n</SymbolData>\n";
        out.close();
        data.SetUserName("bench");
        if (data.LoadXML() != 1)
            std::abort();
    }

    ~Fixture()
    {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
};

Fixture& TheFixture()
{
    static Fixture fixture;
    return fixture;
}


struct BenchQuote : bench::OwnedQuoteRecord {
    explicit BenchQuote(const char* symbol) : OwnedQuoteRecord(symbol, "N", "International Business Machines")
    {
        dLast = 10.5;
        dBid = 10.25;
        dAsk = 10.75;
        dPrevClose = 10.0;
        dHigh = 11.0;
        dLow = 9.0;
        dOpen = 9.5;
        dStrike = 12.5;
        lBidSize = 250000;
        lAskSize = 300;
        lLastSize = 100;
        lVolume = 1234567;
        byFlags = 3;
        lContractSize = 100;
        lExpirationMonth = 3;
        lExpirationYear = 2024;
        dTimeLastQuote = 45000.75;
    }
};

// Two records that alternate, so that every update changes bid, ask, last
// and volume and records a trade tick.
void CachedQuoteUpdate(benchmark::State& state)
{
    BenchQuote a("IBM"), b("IBM");
    b.dLast = 10.6;
    b.dBid = 10.3;
    b.dAsk = 10.8;
    CCachedQuote quote;
    quote.Update(&a);
    LONG volume = a.lVolume;
    bool flip = false;
    for (auto _ : state) {
        BenchQuote& next = flip ? a : b;
        next.lVolume = ++volume;
        benchmark::DoNotOptimize(quote.Update(&next));
        flip = !flip;
    }
}
BENCHMARK(CachedQuoteUpdate);

void CachedQuoteGetField(benchmark::State& state)
{
    BenchQuote record("IBM");
    CCachedQuote quote;
    quote.Update(&record);
    BSTR text = nullptr;
    const long id = static_cast<long>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(quote.GetField(id, &text));
    SysFreeString(text);
}
BENCHMARK(CachedQuoteGetField)
    ->ArgName("id")
    ->Arg(2002)->Arg(2003)->Arg(2004)->Arg(2005)->Arg(2006)->Arg(2007)->Arg(2008)->Arg(2009)->Arg(2010)
    ->Arg(2011)->Arg(2012)->Arg(2013)->Arg(2014)->Arg(2015)->Arg(2021)->Arg(2032)->Arg(2034)->Arg(2035)
    ->Arg(2041)->Arg(9946)->Arg(9965)->Arg(9974)->Arg(9982)->Arg(9983)->Arg(9997);

void SymbolDataLoad10000(benchmark::State& state)
{
    Fixture& fixture = TheFixture();
    for (auto _ : state)
        benchmark::DoNotOptimize(fixture.data.LoadXML());
}
BENCHMARK(SymbolDataLoad10000)->Unit(benchmark::kMillisecond);

void ForexBuyPremium(benchmark::State& state)
{
    Fixture& fixture = TheFixture();
    std::size_t i = 0;
    for (auto _ : state) {
        const std::string& pair = fixture.pairs[i++ % fixture.pairs.size()];
        benchmark::DoNotOptimize(fixture.data.GetForexBuyPremium(pair.c_str(), "BK3;desk"));
    }
}
BENCHMARK(ForexBuyPremium);

void ForexPipPlaces(benchmark::State& state)
{
    Fixture& fixture = TheFixture();
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(fixture.data.GetForexPipPlaces(fixture.pairs[i++ % fixture.pairs.size()].c_str()));
}
BENCHMARK(ForexPipPlaces);

void ProperForexSymbol(benchmark::State& state)
{
    Fixture& fixture = TheFixture();
    std::vector<std::string> reversed;
    for (const std::string& pair : fixture.pairs)
        reversed.push_back(pair.substr(4) + pair.substr(0, 3));
    CString proper;
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(fixture.data.GetProperForexSymbol(reversed[i++ % reversed.size()].c_str(), proper));
}
BENCHMARK(ProperForexSymbol);

void FuturesIncrement(benchmark::State& state)
{
    Fixture& fixture = TheFixture();
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            fixture.data.GetIncrementForFutureRoot(fixture.futures[i++ % fixture.futures.size()].c_str()));
}
BENCHMARK(FuturesIncrement);

void FuturesExchange(benchmark::State& state)
{
    Fixture& fixture = TheFixture();
    CString exchange;
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            fixture.data.GetExchangeForFutureRoot(fixture.futures[i++ % fixture.futures.size()].c_str(), exchange));
}
BENCHMARK(FuturesExchange);

void MinNumDecimalPlaces(benchmark::State& state)
{
    Fixture& fixture = TheFixture();
    std::size_t i = 0;
    for (auto _ : state) {
        const std::size_t n = i++;
        const std::string& symbol = n % 2 ? fixture.pairs[n % fixture.pairs.size()] : fixture.futures[n % fixture.futures.size()];
        benchmark::DoNotOptimize(fixture.data.GetMinNumDecimalPlaces(symbol.c_str()));
    }
}
BENCHMARK(MinNumDecimalPlaces);

} // namespace

BENCHMARK_MAIN();
