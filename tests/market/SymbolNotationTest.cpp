#include "market/SymbolNotation.h"

#include "MarketTestSupport.h"

#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <utility>

namespace {

struct ParsedOption {
    int result = -1;
    std::string root = "untouched";
    int year = -1, month = -1, day = -1;
    char callPut = '?';
    double strike = -1;
    bool operator==(const ParsedOption&) const = default;
};

std::ostream& operator<<(std::ostream& out, const ParsedOption& p)
{
    return out << p.result << " " << p.root << " " << p.year << "-" << p.month << "-" << p.day << " " << p.callPut
               << " " << p.strike;
}

ParsedOption Parse(const char* symbol)
{
    ParsedOption parsed;
    char root[8] = "<none>";
    parsed.result = ParseOptionSymbol(symbol, root, parsed.year, parsed.month, parsed.day, parsed.callPut, parsed.strike);
    parsed.root = root;
    return parsed;
}

struct Converted {
    int result;
    std::string symbol;
    bool operator==(const Converted&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Converted& converted)
{
    return out << converted.result << " " << converted.symbol;
}

template <class Convert>
Converted Apply(Convert convert, const char* symbol)
{
    CString text(symbol);
    const int result = convert(text);
    return { result, text.GetString() };
}

Converted Yahoo(const char* symbol, int year)
{
    return Apply([year](CString& text) { return orv::market::ConvertToYahooFinanceSymbol(text, year); }, symbol);
}

const char* const kExchanges = R"(<SymbolData>
  <Futures>
    <Root Symbol="/ES" exch="CME"/>
    <Root Symbol="/ZB" exch="CBT"/>
    <Root Symbol="/YG" exch="NYLIF"/>
    <Root Symbol="/CL" exch="NYMEX"/>
    <Root Symbol="/CC" exch="ICE"/>
    <Root Symbol="/GC" exch="COMEX"/>
    <Root Symbol="/MES" exch="CMEm"/>
    <Root Symbol="/FD" exch="EUREX"/>
    <Root Symbol="/NQ" Increment="0.25"/>
  </Futures>
</SymbolData>
)";

// The futures conversions read the roots from the library-wide symbol data.
class YahooFutures : public market_test::HostRootTest {};

} // namespace

TEST(SymbolNotation, OptionSymbolsParseOrFailWritingNothingAndPutsAreSoughtAtPositionsNineToFifteen)
{
    const std::pair<const char*, ParsedOption> cases[] = {
        { "+AAPL 120121C500", { 1, "AAPL", 12, 1, 21, 'C', 500.0 } },
        // One character before the date is always skipped; the "P" in the
        // root lies before position 8 and is not the put letter.
        { "+AAPL120121C500", { 1, "AAP", 12, 1, 21, 'C', 500.0 } },
        { "+X 991231P42.5", { 1, "X", 99, 12, 31, 'P', 42.5 } },
        // The longest root: the letter at position 15.
        { "+ABCDEFG 120121C1.001", { 1, "ABCDEFG", 12, 1, 21, 'C', 1.001 } },
    };
    for (const auto& [symbol, expected] : cases)
        EXPECT_EQ(Parse(symbol), expected) << symbol;

    // An unreadable strike is 0; reading stops at the first other character.
    EXPECT_EQ(Parse("+AAPL 120121Cxyz").strike, 0.0);
    EXPECT_EQ(Parse("+AAPL 120121C").strike, 0.0);
    EXPECT_EQ(Parse("+AAPL 120121C17.25abc").strike, 17.25);
    for (const char* symbol : {
             "+A120121C",           // 9 characters, letter at position 8
             "+AAPL12",             // too short
             "+AAPL 1201.1C500",    // "." before the letter
             "+ABCDEFGH 120121C1",  // letter at position 16
             "+AAPL 120121",        // no letter
             "+AAPL 12x121C500",    // date not all digits
             "+AAPL  20121C500",    // blank in the date
         }) {
        EXPECT_EQ(Parse(symbol), (ParsedOption { 0, "<none>" })) << symbol;
    }
    EXPECT_EQ(Parse(nullptr).result, 0);

    EXPECT_EQ(IsPutOption("+AAPL 120121P500"), 1);
    EXPECT_EQ(IsPutOption("+AAPL 120121C500"), 0);
    // The first letter decides: a "P" after the "C" is part of nothing.
    EXPECT_EQ(IsPutOption("+AAPL 120121CP00"), 0);
    // Nine characters leave nothing to scan; eight are too short.
    EXPECT_EQ(IsPutOption("+ABCDEFP"), 0);
    EXPECT_EQ(IsPutOption("+ABCDEFGP"), 0);
    EXPECT_EQ(IsPutOption("+ABCDEFGHP"), 1);
    // Position 16 is past the scan.
    EXPECT_EQ(IsPutOption("+ABCDEFGH 123456P1"), 0);
    EXPECT_EQ(IsPutOption("+ABCDEFG 123456P1"), 1);
    EXPECT_EQ(IsPutOption(static_cast<const char*>(nullptr)), 0);
    EXPECT_EQ(IsPutOption(static_cast<const OLECHAR*>(nullptr)), 0);
}

TEST(SymbolNotation, YahooFinanceForexOptionsCanadianAndOthers)
{
    // Thousandths of a strike are truncated, not rounded. A symbol that does
    // not parse stays; so does one whose strike does not fit the field.
    const std::pair<const char*, Converted> cases[] = {
        { "$INDU", { 0, "$INDU" } },     { "", { 0, "" } },                  { "IBM", { 1, "IBM" } },
        { "EUR/USD", { 1, "EURUSD" } },  { "EUR/USD.X", { 1, "EURUSD.X" } }, { "CAT.ABC", { 1, "ABC.TO" } },
        { "CAV.ABC", { 1, "ABC.TO" } },  { "+AAPL 120121C42.5", { 1, "AAPL120121C00042500" } },
        { "+SPY 130322P1.001", { 1, "SPY130322P00001001" } }, { "+BRK 130322P99999.999", { 1, "BRK130322P99999999" } },
        { "+SPY 130322C7.1239", { 1, "SPY130322C00007123" } }, { "+AAPL", { 1, "+AAPL" } },
        { "+AAPL 120121C99999999999", { 1, "+AAPL 120121C99999999999" } }, { "+AAPL 120121C-5", { 1, "+AAPL 120121C-5" } },
    };
    for (const auto& [symbol, converted] : cases)
        EXPECT_EQ(Yahoo(symbol, 2012), converted) << symbol;
}

TEST_F(YahooFutures, ExchangeSuffixesAndTheContractYear)
{
    LoadSymbolData(kExchanges);
    // The year digit picks the nearest year from two years back; platinum
    // needs no symbol data. No form: another exchange, a root without an
    // exchange, an unknown root, no year digit.
    const struct { const char* symbol; int year; Converted converted; } cases[] = {
        { "/ESZ2", 2012, { 1, "ESZ12.CME" } }, { "/ESZ0", 2012, { 1, "ESZ20.CME" } }, { "/ESZ1", 2012, { 1, "ESZ11.CME" } },
        { "/ESZ9", 2012, { 1, "ESZ19.CME" } }, { "/ESH0", 2019, { 1, "ESH20.CME" } }, { "/ESH8", 2019, { 1, "ESH18.CME" } },
        { "/ESH7", 2019, { 1, "ESH27.CME" } }, { "/ZBH3", 2012, { 1, "ZBH13.CBT" } }, { "/YGM3", 2012, { 1, "YGM13.CBT" } },
        { "/CLF3", 2012, { 1, "CLF13.NYM" } }, { "/CCK3", 2012, { 1, "CCK13.NYB" } }, { "/GCG3", 2012, { 1, "GCG13.CMX" } },
        { "/MESZ2", 2012, { 1, "MESZ12.CME" } }, { "/PLN3", 2012, { 1, "PLN13.NYM" } }, { "/FDZ2", 2012, { 0, "/FDZ2" } },
        { "/NQZ2", 2012, { 0, "/NQZ2" } }, { "/XXZ2", 2012, { 0, "/XXZ2" } },  { "/ESZ", 2012, { 0, "/ESZ" } },
    };
    for (const auto& c : cases)
        EXPECT_EQ(Yahoo(c.symbol, c.year), c.converted) << c.symbol << " in " << c.year;

    // The public form uses this year.
    std::time_t now = std::time(nullptr);
    const int year = std::localtime(&now)->tm_year + 1900;
    CString text("/ESZ5");
    EXPECT_EQ(ConvertToYahooFinanceSymbol(text), 1);
    EXPECT_EQ(std::string(text), Yahoo("/ESZ5", year).symbol);
}

TEST(SymbolNotation, TradingCentralWebServiceAndColonSuffix)
{
    const struct { const char* symbol; Converted central, web; } cases[] = {
        { "/ESZ2", { 0, "/ESZ2" }, { 1, "-ESZ2" } },
        { "+AAPL 120121C500", { 0, "+AAPL 120121C500" }, { 1, "+AAPL 120121C500" } },
        { "EUR/USD", { 1, "EUR" }, { 1, "EUR/USD" } }, { "USD/JPY", { 1, "JPY" }, { 1, "USD/JPY" } },
        { "EUR/GBP", { 1, "EURGBP" }, { 1, "EUR/GBP" } }, { "USDX", { 1, "USDX" }, { 1, "USDX" } },
        { "IBM", { 1, "IBM" }, { 1, "IBM" } },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Apply(ConvertToTradingCentralSymbol, c.symbol), c.central);
        EXPECT_EQ(Apply(ConvertToORVWebServiceSymbol, c.symbol), c.web);
    }

    const auto colon = [](const char* symbol) {
        return Apply([](CString& text) { SymbolRemoveFXColonSuffix(text); return 1; }, symbol).symbol;
    };
    const std::pair<const char*, const char*> suffixes[] = { { "EUR/USD:X", "EUR/USD" }, { "EUR/USD:X.Y", "EUR/USD.Y" },
        { "EUR/USD.X", "EUR/USD.X" }, { "EUR/USD", "EUR/USD" }, { "IBMXXXX:X", "IBMXXXX:X" }, { "", "" } };
    for (const auto& [symbol, removed] : suffixes)
        EXPECT_EQ(colon(symbol), removed) << symbol;
}
