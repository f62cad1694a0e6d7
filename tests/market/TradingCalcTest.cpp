#include "market/TradingCalc.h"

#include "MarketTestSupport.h"
#include "QuoteTestSupport.h"
#include "market/ByteUtils.h"
#include "market/OrderRules.h"
#include "market/SecurityType.h"
#include "market/SymbolData.h"
#include "market/TradingHours.h"
#include "base/Types.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <thread>
#include <vector>

using market_test::Quote;

namespace {

// Seconds since 1970 of a local wall time on a day without a daylight change.
std::int64_t LocalTime(int hour, int minute)
{
    std::tm fields {};
    fields.tm_year = 2026 - 1900;
    fields.tm_mon = 11;
    fields.tm_mday = 7;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_isdst = -1;
    return std::int64_t(std::mktime(&fields));
}

std::atomic<std::int64_t> g_now { 0 };
std::atomic<std::int32_t> g_offset { 0 };

std::int64_t TestNow()
{
    return g_now;
}

std::int32_t TestOffset()
{
    return g_offset;
}

// Puts the exchange clock at a local wall time, plus an offset.
void SetClock(int hour, int minute, std::int32_t offset = 0)
{
    g_now = LocalTime(hour, minute);
    g_offset = offset;
    orv::market::SetTradingClockForTesting(TestNow, TestOffset);
}

const char* const kFutures = R"(<SymbolData>
  <Futures>
    <Root Symbol="/ES" exch="CME" overnightMargin="5000.25" contractSize="50"/>
  </Futures>
</SymbolData>
)";

class TradingCalc : public market_test::HostRootTest {
protected:
    void SetUp() override
    {
        HostRootTest::SetUp();
        SetClock(11, 0);
    }

    void TearDown() override
    {
        orv::market::SetTradingClockForTesting(nullptr, nullptr);
        CSymbolData::GetStaticInstance().Clear();
        HostRootTest::TearDown();
    }

    void LoadFutures()
    {
        CSymbolData& data = CSymbolData::GetStaticInstance();
        data.SetUserName("calc");
        WriteFile(DataFolder() / "calc-OrvSymbolData.xml", kFutures);
        ASSERT_EQ(data.LoadXML(), 1);
    }
};

struct Pnl {
    double pnl;
    double value;
};

Pnl Calc(const char* symbol, LONG qty, double average, const QUOTERECORD* quote, LONG multiplier = 0)
{
    Pnl result { -1, -1 };
    CalcPNL(symbol, qty, average, quote, multiplier, result.pnl, result.value);
    return result;
}

void SetQuote(Quote& quote, double last, double bid, double ask, double previousClose)
{
    quote.dLast = last;
    quote.dBid = bid;
    quote.dAsk = ask;
    quote.dPrevClose = previousClose;
}

struct ForexPnl {
    double pnl = -1, value = -1, perUnit = -1, difference = -1;
};

struct ForexCase {
    LONG qty;
    double average;
    int invert = 0, addPnl = 0, divideValue = 0;
    const QUOTERECORD* conversion = nullptr;
    const QUOTERECORD* valuation = nullptr;
};

ForexPnl CalcForex(const ForexCase& position, const QUOTERECORD* quote)
{
    ForexPnl result;
    double unused = 0;
    CalcForexPNL(position.qty, position.average, unused, position.invert, position.addPnl, position.divideValue, quote,
                 position.conversion, position.valuation, result.pnl, result.value, result.perUnit, result.difference);
    return result;
}

} // namespace

TEST_F(TradingCalc, LongAndShortInsideRegularHoursUseTheClosingSide)
{
    Quote quote("IBM");
    SetQuote(quote, 10.40, 10.50, 10.60, 9.90);
    Pnl lng = Calc("IBM", 100, 10.00, &quote);
    EXPECT_EQ(lng.pnl, 50.0);
    EXPECT_EQ(lng.value, 1050.0);

    Pnl shrt = Calc("IBM", -100, 10.00, &quote);
    EXPECT_EQ(shrt.pnl, -60.0);
    EXPECT_EQ(shrt.value, 1060.0);

    // A multiplier scales both.
    Pnl scaled = Calc("IBM", 100, 10.00, &quote, 10);
    EXPECT_EQ(scaled.pnl, 500.0);
    EXPECT_EQ(scaled.value, 10500.0);

    // Cents stay cents: 0.1 + 0.2 style noise does not reach the results.
    SetQuote(quote, 0, 10.13, 10.14, 0);
    Pnl cents = Calc("IBM", 3, 10.10, &quote);
    EXPECT_EQ(cents.pnl, 0.09);
    EXPECT_EQ(cents.value, 30.39);
}

TEST_F(TradingCalc, OutsideRegularHoursEquitiesUseLastThenPreviousClose)
{
    Quote quote("IBM");
    SetQuote(quote, 10.40, 10.50, 10.60, 9.90);
    SetClock(17, 0);
    Pnl lng = Calc("IBM", 100, 10.00, &quote);
    EXPECT_EQ(lng.pnl, 40.0);
    EXPECT_EQ(lng.value, 1040.0);

    quote.dLast = 0;
    Pnl previous = Calc("IBM", 100, 10.00, &quote);
    EXPECT_EQ(previous.pnl, -10.0);
    EXPECT_EQ(previous.value, 990.0);

    // Inside hours a missing closing side falls back the same way.
    SetClock(11, 0);
    quote.dBid = 0;
    quote.dLast = 10.25;
    EXPECT_EQ(Calc("IBM", 100, 10.00, &quote).pnl, 25.0);
}

TEST_F(TradingCalc, RegularHoursAreNineThirtyToFifteenFiftyNineOnTheExchangeClock)
{
    Quote quote("IBM");
    SetQuote(quote, 10.40, 10.50, 10.60, 0);
    const auto pnlAt = [&](int hour, int minute, std::int32_t offset = 0) {
        SetClock(hour, minute, offset);
        return Calc("IBM", 100, 10.00, &quote).pnl;
    };
    const double inside = 50.0, outside = 40.0;
    EXPECT_EQ(pnlAt(8, 59), outside);
    EXPECT_EQ(pnlAt(9, 29), outside);
    EXPECT_EQ(pnlAt(9, 30), inside);
    EXPECT_EQ(pnlAt(15, 59), inside);
    EXPECT_EQ(pnlAt(16, 0), outside);
    EXPECT_EQ(pnlAt(0, 0), outside);
    // The host's offset moves the workstation clock onto the exchange's.
    EXPECT_EQ(pnlAt(15, 30, 3600), outside);
    EXPECT_EQ(pnlAt(9, 0, 1800), inside);
    EXPECT_EQ(pnlAt(10, 0, -3600), outside);
}

TEST_F(TradingCalc, ClockOffsetComesFromTheHost)
{
    Quote quote("IBM");
    SetQuote(quote, 10.40, 10.50, 10.60, 0);
    g_now = LocalTime(15, 30);
#if defined(_WIN32)
    // The host's clock-offset class is not registered here: no offset.
    orv::market::SetTradingClockForTesting(TestNow, nullptr);
    EXPECT_EQ(Calc("IBM", 100, 10.00, &quote).pnl, 50.0);
#else
    // The host stand-in gives the offset as a global setting.
    WriteFile(m_root / "Kestrel.ini", "[GlobalSettings]\nClockOffset=3600\n");
    orv::market::SetTradingClockForTesting(TestNow, nullptr);
    EXPECT_EQ(Calc("IBM", 100, 10.00, &quote).pnl, 40.0);
    // Asked once: a changed setting is not seen until the next reset.
    WriteFile(m_root / "Kestrel.ini", "[GlobalSettings]\nClockOffset=0\n");
    EXPECT_EQ(Calc("IBM", 100, 10.00, &quote).pnl, 40.0);
    orv::market::SetTradingClockForTesting(TestNow, nullptr);
    EXPECT_EQ(Calc("IBM", 100, 10.00, &quote).pnl, 50.0);
    // Text that is not a whole number of seconds is no offset.
    WriteFile(m_root / "Kestrel.ini", "[GlobalSettings]\nClockOffset=1h\n");
    orv::market::SetTradingClockForTesting(TestNow, nullptr);
    EXPECT_EQ(Calc("IBM", 100, 10.00, &quote).pnl, 50.0);
#endif
}

TEST_F(TradingCalc, TheFlagIsRefreshedEveryTwoSeconds)
{
    Quote quote("IBM");
    SetQuote(quote, 10.40, 10.50, 10.60, 0);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Calc("IBM", 100, 10.00, &quote).pnl, 50.0);
    // The clock moves past the close; the flag follows at the next refresh,
    // not before.
    g_now = LocalTime(16, 5);
    EXPECT_EQ(Calc("IBM", 100, 10.00, &quote).pnl, 50.0);
    double pnl = 50.0;
    while (pnl == 50.0 && std::chrono::steady_clock::now() - start < std::chrono::seconds(6)) {
#if defined(_WIN32)
        // The Windows refresh is a thread timer, served by this thread's
        // message loop.
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
#endif
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        pnl = Calc("IBM", 100, 10.00, &quote).pnl;
    }
    EXPECT_EQ(pnl, 40.0);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500));
}

TEST_F(TradingCalc, ConcurrentCallsSeeEitherFlag)
{
    Quote quote("IBM");
    SetQuote(quote, 10.40, 10.50, 10.60, 0);
    // The first call starts the refresh on this thread, whatever ran before.
    EXPECT_EQ(Calc("IBM", 100, 10.00, &quote).pnl, 50.0);
    std::atomic<bool> wrong { false };
    std::vector<std::thread> threads;
    for (int t = 0; t < 3; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 2000; ++i) {
                const double pnl = Calc("IBM", 100, 10.00, &quote).pnl;
                if (pnl != 50.0 && pnl != 40.0)
                    wrong = true;
            }
        });
    }
    for (int i = 0; i < 200; ++i)
        SetClock(i % 2 == 0 ? 17 : 11, 0);
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_FALSE(wrong);
}

TEST_F(TradingCalc, OptionsDefaultToAHundredAndFallBackThroughLastAndPreviousClose)
{
    Quote quote("+AAPL 120121C500");
    SetQuote(quote, 1.10, 1.15, 1.20, 1.05);
    Pnl shrt = Calc("+AAPL 120121C500", -2, 1.00, &quote);
    EXPECT_EQ(shrt.pnl, -40.0);
    EXPECT_EQ(shrt.value, 240.0);

    // Outside hours derivatives keep the closing side when there is one...
    SetClock(20, 0);
    EXPECT_EQ(Calc("+AAPL 120121C500", 3, 1.00, &quote).pnl, 45.0);
    // ...then last, then the previous close.
    quote.dBid = 0;
    EXPECT_EQ(Calc("+AAPL 120121C500", 3, 1.00, &quote).pnl, 30.0);
    quote.dLast = 0;
    Pnl previous = Calc("+AAPL 120121C500", 3, 1.00, &quote);
    EXPECT_EQ(previous.pnl, 15.0);
    EXPECT_EQ(previous.value, 315.0);
    // An explicit multiplier wins over the default.
    EXPECT_EQ(Calc("+AAPL 120121C500", 3, 1.00, &quote, 10).pnl, 1.5);
}

TEST_F(TradingCalc, ZeroAndMissingPricesGiveNothing)
{
    Quote quote("IBM");
    SetQuote(quote, 10.40, 10.50, 10.60, 9.90);
    for (const Pnl& nothing : { Calc("IBM", 0, 10.00, &quote), Calc("IBM", 100, 0.0, &quote),
                                Calc("IBM", 100, -1.0, &quote), Calc("IBM", 100, 10.0, nullptr) }) {
        EXPECT_EQ(nothing.pnl, 0.0);
        EXPECT_EQ(nothing.value, 0.0);
    }
    SetQuote(quote, 0, 0, 0, 0);
    Pnl none = Calc("IBM", 100, 10.0, &quote);
    EXPECT_EQ(none.pnl, 0.0);
    EXPECT_EQ(none.value, 0.0);
    // Prices that are not numbers count as missing.
    SetQuote(quote, 10.40, std::nan(""), 10.60, 0);
    EXPECT_EQ(Calc("IBM", 100, 10.0, &quote).pnl, 40.0);
    EXPECT_EQ(Calc(nullptr, 100, 10.0, &quote).pnl, 40.0);
}

TEST_F(TradingCalc, FuturesAreValuedByTheRootsOvernightMargin)
{
    LoadFutures();
    Quote quote("/ESZ6");
    SetQuote(quote, 4005.00, 4010.25, 4010.50, 3990.00);
    Pnl lng = Calc("/ESZ6", 2, 4000.00, &quote, 50);
    EXPECT_EQ(lng.pnl, 1025.0);
    EXPECT_EQ(lng.value, 10000.5);

    Pnl shrt = Calc("/ESZ6", -3, 4000.00, &quote, 50);
    EXPECT_EQ(shrt.pnl, -1575.0);
    EXPECT_EQ(shrt.value, 15000.75);

    // Futures get no default multiplier, and an unknown root has no margin.
    Pnl unknown = Calc("/NQZ6", 1, 4000.00, &quote);
    EXPECT_EQ(unknown.pnl, 10.25);
    EXPECT_EQ(unknown.value, 0.0);
}

TEST_F(TradingCalc, ForexWithoutConversionOrValueQuote)
{
    Quote quote("EUR/USD");
    SetQuote(quote, 0, 1.3050, 1.3052, 0);
    ForexPnl lng = CalcForex({ 10000, 1.3000 }, &quote);
    EXPECT_EQ(lng.pnl, 50.0);
    EXPECT_EQ(lng.value, 10000.0);
    EXPECT_EQ(lng.perUnit, 0.005);
    EXPECT_EQ(lng.difference, 0.005);

    ForexCase withPnl { 10000, 1.3000 };
    withPnl.addPnl = 1;
    EXPECT_EQ(CalcForex(withPnl, &quote).value, 10050.0);

    ForexPnl shrt = CalcForex({ -20000, 1.3100 }, &quote);
    EXPECT_EQ(shrt.difference, 0.0048);
    EXPECT_EQ(shrt.pnl, 96.0);
    EXPECT_EQ(shrt.perUnit, 0.0048);
    EXPECT_EQ(shrt.value, 20000.0);

    // Without a closing price there is no difference; the value stays.
    quote.dAsk = 0;
    ForexPnl noAsk = CalcForex({ -20000, 1.3100 }, &quote);
    EXPECT_EQ(noAsk.pnl, 0.0);
    EXPECT_EQ(noAsk.difference, 0.0);
    EXPECT_EQ(noAsk.perUnit, 0.0);
    EXPECT_EQ(noAsk.value, 20000.0);
    quote.dBid = 0;
    quote.dAsk = 1.3052;
    ForexPnl noBid = CalcForex({ 10000, 1.3000 }, &quote);
    EXPECT_EQ(noBid.pnl, 0.0);
    EXPECT_EQ(noBid.difference, 0.0);
    EXPECT_EQ(noBid.value, 10000.0);

    for (const ForexPnl& nothing : { CalcForex({ 0, 1.3 }, &quote), CalcForex({ 100, 0.0 }, &quote) }) {
        EXPECT_EQ(nothing.pnl, 0.0);
        EXPECT_EQ(nothing.value, 0.0);
        EXPECT_EQ(nothing.perUnit, 0.0);
        EXPECT_EQ(nothing.difference, 0.0);
    }
}

TEST_F(TradingCalc, ForexConversionAndInvertedRates)
{
    // USD/JPY: the difference is in yen.
    Quote quote("USD/JPY");
    SetQuote(quote, 0, 80.50, 80.52, 0);
    Quote conversion("JPY/USD");
    SetQuote(conversion, 0, 0.0125, 0.0124, 0);

    ForexCase times { 10000, 80.00 };
    times.conversion = &conversion;
    ForexPnl converted = CalcForex(times, &quote);
    EXPECT_EQ(converted.difference, 0.5);
    EXPECT_EQ(converted.pnl, 62.5);
    EXPECT_EQ(converted.perUnit, 0.00625);

    // An inverted conversion quote divides; a short uses its ask.
    Quote usdJpy("USD/JPY");
    SetQuote(usdJpy, 0, 80.00, 78.125, 0);
    ForexCase inverted { -10000, 81.00 };
    inverted.invert = 1;
    inverted.conversion = &usdJpy;
    ForexPnl divided = CalcForex(inverted, &quote);
    EXPECT_EQ(divided.difference, 0.48);
    EXPECT_EQ(divided.pnl, 4800.0 / 78.125);

    // Without a conversion quote, an inverted pair divides by the closing price.
    ForexCase byClose { 10000, 80.00 };
    byClose.invert = 1;
    EXPECT_DOUBLE_EQ(CalcForex(byClose, &quote).pnl, 5000.0 / 80.50);

    // A conversion rate of 0 leaves the pnl in the pair's currency.
    SetQuote(conversion, 0, 0, 0, 0);
    EXPECT_EQ(CalcForex(times, &quote).pnl, 5000.0);
}

TEST_F(TradingCalc, ForexValueQuotes)
{
    Quote quote("EUR/GBP");
    SetQuote(quote, 0, 0.8550, 0.8552, 0);
    Quote valuation("EUR/USD");
    SetQuote(valuation, 0, 1.3050, 1.25, 0);

    ForexCase times { 10000, 0.8500 };
    times.valuation = &valuation;
    EXPECT_EQ(CalcForex(times, &quote).value, 13050.0);
    times.addPnl = 1;
    EXPECT_EQ(CalcForex(times, &quote).value, 13100.0);

    ForexCase divided { -10000, 0.8600 };
    divided.valuation = &valuation;
    divided.divideValue = 1;
    EXPECT_EQ(CalcForex(divided, &quote).value, 8000.0);
    // A missing rate gives no value rather than an infinite one.
    valuation.dAsk = 0;
    EXPECT_EQ(CalcForex(divided, &quote).value, 0.0);
    divided.divideValue = 0;
    EXPECT_EQ(CalcForex(divided, &quote).value, 0.0);

    // A value quote without a symbol means the position's own units, pnl
    // never added.
    Quote anonymous;
    SetQuote(anonymous, 0, 2.0, 2.0, 0);
    ForexCase unnamed { 10000, 0.8500 };
    unnamed.valuation = &anonymous;
    unnamed.addPnl = 1;
    EXPECT_EQ(CalcForex(unnamed, &quote).value, 10000.0);
}

TEST(SecurityType, FromEveryTextForm)
{
    struct {
        const char* symbol;
        enumSecurityType type;
    } cases[] = {
        { "", SECURITY_TYPE_EQUITY },          { "/", SECURITY_TYPE_EQUITY },
        { "/E", SECURITY_TYPE_FUTURES },       { "+A", SECURITY_TYPE_OPTION },
        { "EUR/USD", SECURITY_TYPE_FOREX },    { "EUR/USD:X.Y", SECURITY_TYPE_FOREX },
        { "EUR/USD.X", SECURITY_TYPE_FOREX },  { "EUR/USDX", SECURITY_TYPE_EQUITY },
        { "IBM", SECURITY_TYPE_EQUITY },       { "$INDU", SECURITY_TYPE_EQUITY },
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.symbol);
        EXPECT_EQ(GetSecurityType(entry.symbol), entry.type);
        EXPECT_EQ(GetSecurityType(CString(entry.symbol)), entry.type);
        BSTR wide = market_test::Ole(entry.symbol);
        EXPECT_EQ(GetSecurityType(static_cast<const OLECHAR*>(wide)), entry.type);
        SysFreeString(wide);
    }
    EXPECT_EQ(GetSecurityType(static_cast<const char*>(nullptr)), SECURITY_TYPE_EQUITY);
    EXPECT_EQ(GetSecurityType(static_cast<const OLECHAR*>(nullptr)), SECURITY_TYPE_EQUITY);
#if defined(ORV_HAVE_BSTR_T)
    EXPECT_EQ(GetSecurityType(_bstr_t(L"EUR/JPY")), SECURITY_TYPE_FOREX);
    EXPECT_EQ(GetSecurityType(_bstr_t(L"/CLF3")), SECURITY_TYPE_FUTURES);
#endif
}

TEST(SecurityType, FlagsAndCompatibility)
{
    EXPECT_EQ(SymTypeFlag2enumSecurityType(1), SECURITY_TYPE_EQUITY);
    EXPECT_EQ(SymTypeFlag2enumSecurityType(2), SECURITY_TYPE_OPTION);
    EXPECT_EQ(SymTypeFlag2enumSecurityType(4), SECURITY_TYPE_FUTURES);
    EXPECT_EQ(SymTypeFlag2enumSecurityType(16), SECURITY_TYPE_FOREX);
    for (ULONG other : { 0u, 3u, 8u, 32u, 0xFFFFFFFFu })
        EXPECT_EQ(SymTypeFlag2enumSecurityType(other), SECURITY_TYPE_UNKNOWN) << other;
    for (ULONG flag : { 1u, 2u, 4u, 16u })
        EXPECT_EQ(enumSecurityType2SymTypeFlag(SymTypeFlag2enumSecurityType(flag)), flag);
    EXPECT_EQ(enumSecurityType2SymTypeFlag(SECURITY_TYPE_UNKNOWN), 0xFFFFFFFFu);
    EXPECT_EQ(enumSecurityType2SymTypeFlag(enumSecurityType(4)), 0xFFFFFFFFu);

    EXPECT_EQ(IsCompatibleSymbol("", 0), 1);
    EXPECT_EQ(IsCompatibleSymbol(static_cast<const char*>(nullptr), 0), 1);
    EXPECT_EQ(IsCompatibleSymbol("/ESZ2", SYMTYPE_EQUITY | SYMTYPE_OPTION), 0);
    EXPECT_EQ(IsCompatibleSymbol("/ESZ2", SYMTYPE_FUTURES), 1);
    EXPECT_EQ(IsCompatibleSymbol("+AAPL 120121C500", SYMTYPE_EQUITY), 0);
    EXPECT_EQ(IsCompatibleSymbol("+AAPL 120121C500", SYMTYPE_OPTION), 1);
    EXPECT_EQ(IsCompatibleSymbol(CString("EUR/USD"), SYMTYPE_EQUITY | SYMTYPE_INDEX), 0);
    EXPECT_EQ(IsCompatibleSymbol(CString("EUR/USD"), SYMTYPE_FOREX), 1);
    EXPECT_EQ(IsCompatibleSymbol("$INDU", SYMTYPE_INDEX), 0);
    EXPECT_EQ(IsCompatibleSymbol("$INDU", SYMTYPE_EQUITY), 0);
    EXPECT_EQ(IsCompatibleSymbol("$INDU", SYMTYPE_INDEX | SYMTYPE_EQUITY), 1);
    EXPECT_EQ(IsCompatibleSymbol("IBM", SYMTYPE_FOREX), 1);
}

TEST(OrderRules, TierMarketsFoldIntoMainMarkets)
{
    const auto fold = [](const char* market) {
        CString text(market);
        const int result = TierMarketToMainMarket(text);
        return std::to_string(result) + " " + text.GetString();
    };
    EXPECT_EQ(fold("CDNX"), "1 CDN");
    for (const char* nasdaq : { "NNM", "SCM", "NGSM", "NGM", "NCM" })
        EXPECT_EQ(fold(nasdaq), "1 NAS") << nasdaq;
    EXPECT_EQ(fold("ARCAm"), "1 ARCA");
    EXPECT_EQ(fold("ARCAmm.B"), "1 ARCA");
    EXPECT_EQ(fold("NYSE"), "0 NYSE");
    EXPECT_EQ(fold("NYSE.A"), "0 NYSE");
    EXPECT_EQ(fold(".A"), "0 .A");
    EXPECT_EQ(fold("mm"), "1 ");
    EXPECT_EQ(fold(""), "0 ");
    EXPECT_EQ(fold("NGSMm"), "1 NGSM");
}

TEST(OrderRules, AllowableTimesInForce)
{
    EXPECT_EQ(IsAllowableTif(TIF_DAYPLUS, ORDERTYPE_MARKET, "NYSE", "IBM"), 0);
    EXPECT_EQ(IsAllowableTif(TIF_DAYPLUS, ORDERTYPE_LIMIT, "NYSE", "IBM"), 1);
    EXPECT_EQ(IsAllowableTif(TIF_DAYPLUS, ORDERTYPE_RESERVE, "NYSE", "IBM"), 1);
    EXPECT_EQ(IsAllowableTif(TIF_IOC, ORDERTYPE_LIMIT, "CDNX", "ABC"), 0);
    EXPECT_EQ(IsAllowableTif(TIF_IOC, ORDERTYPE_LIMIT, "CDN", "ABC"), 0);
    EXPECT_EQ(IsAllowableTif(TIF_IOC, ORDERTYPE_LOO, "NAS", "ABC"), 1);
    EXPECT_EQ(IsAllowableTif(TIF_IOC, ORDERTYPE_MARKET, "NAS", "ABC"), 0);
    EXPECT_EQ(IsAllowableTif(TIF_GTC, ORDERTYPE_MARKET, "EUR", "EUR/USD"), 1);
    EXPECT_EQ(IsAllowableTif(TIF_DAY, ORDERTYPE_LIMIT, "", "EUR/USD"), 0);
    for (LONG type : { ORDERTYPE_MARKET, ORDERTYPE_MOO, ORDERTYPE_MOC, ORDERTYPE_LOO, ORDERTYPE_LOC, ORDERTYPE_VWAP }) {
        EXPECT_EQ(IsAllowableTif(TIF_GTC, type, "NYSE", "IBM"), 0) << type;
        EXPECT_EQ(IsAllowableTif(TIF_GTX, type, "NYSE", "IBM"), 0) << type;
    }
    EXPECT_EQ(IsAllowableTif(TIF_GTC, ORDERTYPE_LIMIT, "OTC", "IBM"), 0);
    EXPECT_EQ(IsAllowableTif(TIF_GTX, ORDERTYPE_LIMIT, "NYSE", "IBM"), 1);
    // Options take Day and GTC only, and then the rules above.
    EXPECT_EQ(IsAllowableTif(TIF_IOC, ORDERTYPE_LIMIT, "NAS", "+AAPL 120121C500"), 0);
    EXPECT_EQ(IsAllowableTif(TIF_DAY, ORDERTYPE_MARKET, "NAS", "+AAPL 120121C500"), 1);
    EXPECT_EQ(IsAllowableTif(TIF_GTC, ORDERTYPE_MARKET, "NAS", "+AAPL 120121C500"), 0);
    EXPECT_EQ(IsAllowableTif(TIF_SESSION, ORDERTYPE_VWAP, "OTC", "IBM"), 1);
    EXPECT_EQ(IsAllowableTif(TIF_IOC, ORDERTYPE_LIMIT, nullptr, nullptr), 1);
    EXPECT_EQ(IsAllowableTif(TIF_GTC, ORDERTYPE_LIMIT, nullptr, nullptr), 1);
}

TEST(ByteUtils, ChecksumAndHashSizes)
{
    EXPECT_EQ(CalcChecksum("abc", 3), 0xB5CF4A26u);
    EXPECT_EQ(CalcChecksum("\x01", 1), 0x01010101u);
    EXPECT_EQ(CalcChecksum("abc", 0), 0u);
    EXPECT_EQ(CalcChecksum("abc", -3), 0u);
    EXPECT_EQ(CalcChecksum(nullptr, 3), 0u);
    // The sums wrap at 8 bits.
    const std::string ones(300, '\xFF');
    EXPECT_EQ(CalcChecksum(ones.data(), 1) & 0xFF, 0xFFu);
    EXPECT_EQ(CalcChecksum(ones.data(), 256) & 0xFF, 0x00u);

    EXPECT_EQ(CalcOptimalHashSize(10), 17);
    EXPECT_EQ(CalcOptimalHashSize(14), 17);
    EXPECT_EQ(CalcOptimalHashSize(15), 101);
    EXPECT_EQ(CalcOptimalHashSize(100), 503);
    EXPECT_EQ(CalcOptimalHashSize(1000), 1777);
    EXPECT_EQ(CalcOptimalHashSize(90000), 250007);
    EXPECT_EQ(CalcOptimalHashSize(100000), 250007);
    EXPECT_EQ(CalcOptimalHashSize(INT_MAX), 250007);
    EXPECT_EQ(CalcOptimalHashSize(-5), 17);
}

TEST(ByteUtils, MemmemFindsTheFirstOccurrence)
{
    const char hay[] = "aaab\0abcab";
    const unsigned int length = sizeof hay - 1;
    const auto at = [&](const char* needle, unsigned int needleLength) -> long {
        const void* found = orv::memmem(hay, length, needle, needleLength);
        return found == nullptr ? -1 : static_cast<const char*>(found) - hay;
    };
    EXPECT_EQ(at("aab", 3), 1);  // after a false start
    EXPECT_EQ(at("ab", 2), 2);
    EXPECT_EQ(at("b\0a", 3), 3);
    EXPECT_EQ(at("cab", 3), 7);  // at the very end
    EXPECT_EQ(at("abd", 3), -1);
    EXPECT_EQ(at("aaab\0abcab!", 11), -1);
    EXPECT_EQ(at(hay, length), 0);
    EXPECT_EQ(at("x", 0), 0);
    EXPECT_EQ(orv::memmem(nullptr, 3, "a", 1), nullptr);
    EXPECT_EQ(orv::memmem(hay, length, nullptr, 1), nullptr);
    EXPECT_EQ(orv::memmem(hay, 0, "a", 1), nullptr);
}
