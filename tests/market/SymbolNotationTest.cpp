#include "market/SymbolNotation.h"

#include "MarketTestSupport.h"
#include "market/SymbolData.h"

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

std::u16string Wide(const char* text)
{
    std::u16string wide;
    for (const char* p = text; *p != '\0'; ++p)
        wide += char16_t(*p);
    return wide;
}

int IsPutWide(const char* text)
{
    const std::u16string wide = Wide(text);
    return IsPutOption(reinterpret_cast<const OLECHAR*>(wide.c_str()));
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

// Loads futures roots into the library-wide symbol data for the futures
// conversions, and empties it again afterwards.
class YahooFutures : public market_test::HostRootTest {
protected:
    void SetUp() override
    {
        HostRootTest::SetUp();
        CSymbolData& data = CSymbolData::GetStaticInstance();
        data.SetUserName("notation");
        WriteFile(DataFolder() / "notation-OrvSymbolData.xml", kExchanges);
        ASSERT_EQ(data.LoadXML(), 1);
    }

    void TearDown() override
    {
        CSymbolData::GetStaticInstance().Clear();
        HostRootTest::TearDown();
    }
};

} // namespace

TEST(SymbolNotation, ParseOptionSymbolReadsRootDateSideAndStrike)
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
}

TEST(SymbolNotation, ParseOptionSymbolFailuresWriteNothing)
{
    for (const char* symbol : {
             "+A120121C",           // 9 characters, letter at position 8
             "+AAPL12",             // too short
             "+AAPL 1201.1C500",    // "." before the letter
             "+ABCDEFGH 120121C1",  // letter at position 16
             "+AAPL 120121",        // no letter
             "+AAPL 12x121C500",    // date not all digits
             "+AAPL  20121C500",    // blank in the date
         }) {
        ParsedOption nothing;
        nothing.result = 0;
        nothing.root = "<none>";
        EXPECT_EQ(Parse(symbol), nothing) << symbol;
    }
    EXPECT_EQ(Parse(nullptr).result, 0);
}

TEST(SymbolNotation, IsPutOptionLooksAtPositionsNineToFifteen)
{
    for (auto isPut : { +[](const char* text) { return IsPutOption(text); }, &IsPutWide }) {
        EXPECT_EQ(isPut("+AAPL 120121P500"), 1);
        EXPECT_EQ(isPut("+AAPL 120121C500"), 0);
        // The first letter decides: a "P" after the "C" is part of nothing.
        EXPECT_EQ(isPut("+AAPL 120121CP00"), 0);
        // Nine characters leave nothing to scan; eight are too short.
        EXPECT_EQ(isPut("+ABCDEFP"), 0);
        EXPECT_EQ(isPut("+ABCDEFGP"), 0);
        EXPECT_EQ(isPut("+ABCDEFGHP"), 1);
        // Position 16 is past the scan.
        EXPECT_EQ(isPut("+ABCDEFGH 123456P1"), 0);
        EXPECT_EQ(isPut("+ABCDEFG 123456P1"), 1);
    }
    EXPECT_EQ(IsPutOption(static_cast<const char*>(nullptr)), 0);
    EXPECT_EQ(IsPutOption(static_cast<const OLECHAR*>(nullptr)), 0);
}

TEST(SymbolNotation, YahooFinanceForexOptionsCanadianAndOthers)
{
    EXPECT_EQ(Yahoo("$INDU", 2012), (Converted { 0, "$INDU" }));
    EXPECT_EQ(Yahoo("", 2012), (Converted { 0, "" }));
    EXPECT_EQ(Yahoo("IBM", 2012), (Converted { 1, "IBM" }));
    EXPECT_EQ(Yahoo("EUR/USD", 2012), (Converted { 1, "EURUSD" }));
    EXPECT_EQ(Yahoo("EUR/USD.X", 2012), (Converted { 1, "EURUSD.X" }));
    EXPECT_EQ(Yahoo("CAT.ABC", 2012), (Converted { 1, "ABC.TO" }));
    EXPECT_EQ(Yahoo("CAV.ABC", 2012), (Converted { 1, "ABC.TO" }));

    EXPECT_EQ(Yahoo("+AAPL 120121C42.5", 2012), (Converted { 1, "AAPL120121C00042500" }));
    EXPECT_EQ(Yahoo("+SPY 130322P1.001", 2012), (Converted { 1, "SPY130322P00001001" }));
    EXPECT_EQ(Yahoo("+BRK 130322P99999.999", 2012), (Converted { 1, "BRK130322P99999999" }));
    // Thousandths are truncated, not rounded.
    EXPECT_EQ(Yahoo("+SPY 130322C7.1239", 2012), (Converted { 1, "SPY130322C00007123" }));
    // A symbol that does not parse stays; so does one whose strike does not
    // fit the field's integer.
    EXPECT_EQ(Yahoo("+AAPL", 2012), (Converted { 1, "+AAPL" }));
    EXPECT_EQ(Yahoo("+AAPL 120121C99999999999", 2012), (Converted { 1, "+AAPL 120121C99999999999" }));
    EXPECT_EQ(Yahoo("+AAPL 120121C-5", 2012), (Converted { 1, "+AAPL 120121C-5" }));
}

TEST_F(YahooFutures, ExchangeSuffixesAndTheContractYear)
{
    EXPECT_EQ(Yahoo("/ESZ2", 2012), (Converted { 1, "ESZ12.CME" }));
    EXPECT_EQ(Yahoo("/ESZ0", 2012), (Converted { 1, "ESZ20.CME" }));
    EXPECT_EQ(Yahoo("/ESZ1", 2012), (Converted { 1, "ESZ11.CME" }));
    EXPECT_EQ(Yahoo("/ESZ9", 2012), (Converted { 1, "ESZ19.CME" }));
    EXPECT_EQ(Yahoo("/ESH0", 2019), (Converted { 1, "ESH20.CME" }));
    EXPECT_EQ(Yahoo("/ESH8", 2019), (Converted { 1, "ESH18.CME" }));
    // Two years back is already the next decade.
    EXPECT_EQ(Yahoo("/ESH7", 2019), (Converted { 1, "ESH27.CME" }));

    EXPECT_EQ(Yahoo("/ZBH3", 2012), (Converted { 1, "ZBH13.CBT" }));
    EXPECT_EQ(Yahoo("/YGM3", 2012), (Converted { 1, "YGM13.CBT" }));
    EXPECT_EQ(Yahoo("/CLF3", 2012), (Converted { 1, "CLF13.NYM" }));
    EXPECT_EQ(Yahoo("/CCK3", 2012), (Converted { 1, "CCK13.NYB" }));
    EXPECT_EQ(Yahoo("/GCG3", 2012), (Converted { 1, "GCG13.CMX" }));
    EXPECT_EQ(Yahoo("/MESZ2", 2012), (Converted { 1, "MESZ12.CME" }));
    // Platinum needs no symbol data.
    EXPECT_EQ(Yahoo("/PLN3", 2012), (Converted { 1, "PLN13.NYM" }));

    // No Yahoo Finance form: another exchange, a root without an exchange,
    // an unknown root, no year digit.
    for (const char* symbol : { "/FDZ2", "/NQZ2", "/XXZ2", "/ESZ" }) {
        SCOPED_TRACE(symbol);
        EXPECT_EQ(Yahoo(symbol, 2012), (Converted { 0, symbol }));
    }

    // The public form uses this year.
    std::time_t now = std::time(nullptr);
    const int year = std::localtime(&now)->tm_year + 1900;
    CString text("/ESZ5");
    EXPECT_EQ(ConvertToYahooFinanceSymbol(text), 1);
    EXPECT_EQ(std::string(text), Yahoo("/ESZ5", year).symbol);
}

TEST(SymbolNotation, TradingCentralWebServiceAndColonSuffix)
{
    const struct {
        const char* symbol;
        Converted central, web;
    } cases[] = {
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
    EXPECT_EQ(colon("EUR/USD:X"), "EUR/USD");
    EXPECT_EQ(colon("EUR/USD:X.Y"), "EUR/USD.Y");
    EXPECT_EQ(colon("EUR/USD.X"), "EUR/USD.X");
    EXPECT_EQ(colon("EUR/USD"), "EUR/USD");
    EXPECT_EQ(colon("IBMXXXX:X"), "IBMXXXX:X");
    EXPECT_EQ(colon(""), "");
}
