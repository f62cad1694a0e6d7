#include "market/CachedQuote.h"

#include "Kestrel.h"
#include "MarketTestSupport.h"
#include "QuoteTestSupport.h"
#include "market/OrvDateTime.h"
#include "support/SavedNumberSettings.h"
#include "text/Locale.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <utility>

using market_test::Ole;
using market_test::Quote;
using market_test::Text;

namespace {

// Opens the protected record setter to the tests.
class TestQuote : public CCachedQuote {
public:
    using CCachedQuote::CCachedQuote;
    using CCachedQuote::SetQuoteRecord;
};

std::string Field(CCachedQuote& quote, long id)
{
    BSTR text = nullptr;
    const int result = quote.GetField(id, &text);
    std::string rendered = result ? Text(text) : "<refused>";
    SysFreeString(text);
    return rendered;
}

std::string Trend(const CCachedQuote& quote)
{
    CString text;
    quote.GetTradeTrendString(text);
    return text.GetString();
}

std::string HostPrice(double value, int format)
{
    char buffer[64];
    HostFormatPriceEx(value, buffer, 63, format);
    return buffer;
}

// Copies a record, copies another over the copy (which reuses it and frees
// the string the other lacks), then frees the copy: the symbol, the string
// given and the plain bytes arrive.
template <class Record, std::size_t N, class Set>
void ExpectRecordCopies(BSTR Record::*text, BYTE (Record::*plain)[N], Set set)
{
    Record record {};
    record.bstrSymbol = Ole("IBM");
    record.*text = Ole("NSDQ");
    (record.*plain)[0] = 1;
    (record.*plain)[N - 1] = 9;
    Record* copy = nullptr;
    EXPECT_TRUE(set(copy, nullptr));
    EXPECT_EQ(copy, nullptr);
    ASSERT_TRUE(set(copy, &record));
    EXPECT_EQ(Text(copy->*text), "NSDQ");
    EXPECT_NE(copy->*text, record.*text);
    EXPECT_EQ(Text(copy->bstrSymbol), "IBM");
    EXPECT_EQ(std::memcmp(copy->*plain, record.*plain, N), 0);

    Record* const first = copy;
    Record other {};
    other.bstrSymbol = Ole("AAPL");
    ASSERT_TRUE(set(copy, &other));
    EXPECT_EQ(copy, first);
    EXPECT_EQ(Text(copy->bstrSymbol), "AAPL");
    EXPECT_EQ(copy->*text, nullptr);
    EXPECT_EQ((copy->*plain)[N - 1], 0);
    EXPECT_TRUE(set(copy, nullptr));
    EXPECT_EQ(copy, nullptr);
    SysFreeString(record.bstrSymbol);
    SysFreeString(record.*text);
    SysFreeString(other.bstrSymbol);
}

// Restores the process-wide lot settings a test changes.
class CachedQuote : public market_test::HostRootTest {
    orv_test::SavedNumberSettings m_saved;
};

} // namespace

TEST_F(CachedQuote, TicksFromTheFirstUpdateOnAndALastWithoutBidAndAskIsATradeEveryTime)
{
    CCachedQuote quote;
    EXPECT_EQ(quote.GetLastDirection(), TRENDTICK_NONE);
    EXPECT_EQ(Trend(quote), "");
    EXPECT_EQ(Text(quote.GetQuoteRecord().bstrSymbol), ""); // empty, not null

    Quote record("IBM");
    record.SetPrices(10.00, 9.99, 10.01, 100, 0);
    EXPECT_EQ(quote.Update(&record), 23);
    EXPECT_EQ(quote.GetBidDirection(), enumTickUp);
    EXPECT_EQ(quote.GetAskDirection(), enumTickUp);
    EXPECT_TRUE(quote.HaveBidAsk());

    // The history runs from now on, so the volume seen with the first record
    // makes the next update a trade; after that an unchanged record reports
    // nothing, and a null record changes nothing.
    EXPECT_EQ(quote.Update(&record), QUOTECHANGE_TRADETICK);
    EXPECT_EQ(quote.Update(&record), 0);
    EXPECT_EQ(quote.Update(nullptr), 0);

    // Trades and unchanged ticks after them.
    record.SetPrices(10.50, 9.99, 10.01, 200, 0);
    EXPECT_EQ(quote.Update(&record), QUOTECHANGE_TRADETICK | QUOTECHANGE_LAST);
    record.lVolume = 300;
    EXPECT_EQ(quote.Update(&record), QUOTECHANGE_TRADETICK);
    EXPECT_EQ(quote.GetLastDirection(), TRENDTICK_UNCHANGED_UP);
    record.lVolume = 350;
    quote.Update(&record);
    EXPECT_EQ(quote.GetLastDirection(), TRENDTICK_UNCHANGED_UP); // still after an up tick
    record.SetPrices(10.40, 9.98, 10.00, 400, 1);
    EXPECT_EQ(quote.Update(&record), 8 | 4 | 16 | 1 | 2);
    EXPECT_EQ(quote.GetBidDirection(), enumTickDown);
    EXPECT_EQ(quote.GetAskDirection(), enumTickDown);
    record.lVolume = 500;
    quote.Update(&record);
    EXPECT_EQ(quote.GetLastDirection(), TRENDTICK_UNCHANGED_DOWN);
    // The first tick is up: the mid 10.00 is not above the last 10.00.
    EXPECT_EQ(Trend(quote), "+=+==-=");

    // The ring holds the last eight ticks, oldest first.
    for (int i = 0; i < 10; ++i) {
        record.dLast += (i % 2 == 0) ? 0.1 : -0.2;
        record.lVolume += 10;
        quote.Update(&record);
    }
    EXPECT_EQ(Trend(quote), "+-+-+-+-");

    quote.Clear();
    EXPECT_EQ(Trend(quote), "");
    EXPECT_EQ(quote.GetBidDirection(), enumTickNone);
    EXPECT_EQ(quote.GetQuoteRecord().dLast, 0.0);

    // Mid above the last seeds a down tick.
    CCachedQuote other;
    record.SetPrices(10.00, 10.01, 10.03, 100, 0);
    other.Update(&record);
    EXPECT_EQ(other.GetLastDirection(), TRENDTICK_DOWN);

    // A last without bid and ask counts as a trade, volume or not: the
    // seeded tick, then the two trades.
    CCachedQuote index;
    Quote indexRecord("$INDU");
    indexRecord.SetPrices(100.0, 0, 0, 0, 0);
    EXPECT_EQ(index.Update(&indexRecord), QUOTECHANGE_TRADETICK | QUOTECHANGE_LAST | QUOTECHANGE_TICKINDICATOR);
    EXPECT_FALSE(index.HaveBidAsk());
    indexRecord.dLast = 99.0;
    EXPECT_EQ(index.Update(&indexRecord), QUOTECHANGE_TRADETICK | QUOTECHANGE_LAST);
    EXPECT_EQ(Trend(index), "++-");
}

TEST_F(CachedQuote, ConstructionFromARecordCopiesAndTheCopyFunctionsForEachRecordType)
{
    Quote record("IBM");
    record.bstrDescription = Ole("International Business Machines");
    record.SetPrices(10.00, 9.99, 10.01, 100, 3);
    TestQuote seen(&record);
    // The record's values count as already seen.
    EXPECT_EQ(seen.Update(&record), 0);
    EXPECT_NE(seen.GetQuoteRecord().bstrSymbol, record.bstrSymbol);

    record.SetPrices(10.50, 9.99, 10.01, 200, 3);
    seen.Update(&record);
    CCachedQuote copy(seen);
    EXPECT_EQ(Trend(copy), Trend(seen));
    EXPECT_NE(copy.GetQuoteRecord().bstrDescription, seen.GetQuoteRecord().bstrDescription);
    EXPECT_EQ(Text(copy.GetQuoteRecord().bstrDescription), "International Business Machines");

    CCachedQuote assigned;
    assigned = seen;
    assigned = assigned;
    EXPECT_EQ(Text(assigned.GetQuoteRecord().bstrSymbol), "IBM");
    EXPECT_EQ(assigned.Update(&record), 0);

    // A null record gives empty strings and a zero plain block.
    seen.SetQuoteRecord(nullptr);
    EXPECT_EQ(Text(seen.GetQuoteRecord().bstrDescription), "");
    EXPECT_EQ(seen.GetQuoteRecord().dLast, 0.0);
    EXPECT_EQ(seen.GetQuoteRecord().lTick, 0);

    ExpectRecordCopies(&QUOTERECORD::bstrUnderlier, &QUOTERECORD::abReserved3, SetQuoteRecord);
    ExpectRecordCopies(&OPTIONSRECORD::bstrUnderlier, &OPTIONSRECORD::abData, SetOptionsRecord);
    ExpectRecordCopies(&LEVEL2RECORD::bstrExchange, &LEVEL2RECORD::abData, SetLevel2Record);
    ExpectRecordCopies(&TSRECORD::bstrExchange, &TSRECORD::abData, SetTSRecord);
}

TEST_F(CachedQuote, FieldTexts)
{
    CCachedQuote quote;
    Quote record("IBM");
    record.bstrDescription = Ole("Big Blue");
    record.bstrUnderlier = Ole("IBM.U");
    record.SetPrices(10.5, 10.25, 10.75, 1234567, -1);
    record.dPrevClose = 10.0;
    record.dHigh = 11.0;
    record.dLow = 9.0;
    record.dOpen = 9.5;
    record.lBidSize = 250000;
    record.lAskSize = 300;
    record.lLastSize = 100;
    record.byFlags = QUOTEFLAG_S | QUOTEFLAG_M;
    record.lContractSize = 100;
    record.lExpirationMonth = 3;
    record.lExpirationYear = 2024;
    record.dStrike = 12.5;
    quote.Update(&record);

    const std::pair<long, const char*> texts[] = {
        { QUOTEFIELD_LAST, "10.50" },          { QUOTEFIELD_BID, "10.25" },
        { QUOTEFIELD_ASK, "10.75" },           { QUOTEFIELD_BIDSIZE, "250,000" }, // not forex: no lots
        { QUOTEFIELD_ASKSIZE, "300" },         { QUOTEFIELD_LASTSIZE, "100" },
        { QUOTEFIELD_PREVCLOSE, "10.00" },     { QUOTEFIELD_HIGH, "11.00" },
        { QUOTEFIELD_LOW, "9.00" },            { QUOTEFIELD_OPEN, "9.50" },
        { QUOTEFIELD_VOLUME, "1,234,567" },    { QUOTEFIELD_TICK, "-1" },
        { QUOTEFIELD_DESCRIPTION, "Big Blue" }, { QUOTEFIELD_SM, "SM" },
        { QUOTEFIELD_UNDERLIER, "IBM.U" },     { QUOTEFIELD_STRIKE, "12.50" },
        { QUOTEFIELD_CONTRACTSIZE, "100" },    { QUOTEFIELD_SPREAD, "0.50" },
        { QUOTEFIELD_PCTRANGE, "75.00%" },     { QUOTEFIELD_RANGE, "2.00" },
        { QUOTEFIELD_EXPIRATION, "03/2024" },  { QUOTEFIELD_PCTCHANGE, "+5.00%" },
        { QUOTEFIELD_CHANGE, "+0.50" },
        // A zero quote time renders as empty texts.
        { QUOTEFIELD_TIMELASTQUOTE, "" },      { QUOTEFIELD_DATE, "" },
        // Not quote fields.
        { 0, "<refused>" }, { 12345, "<refused>" }, { 1003, "<refused>" },
    };
    for (const auto& [id, expected] : texts)
        EXPECT_EQ(Field(quote, id), expected) << id;
    EXPECT_EQ(quote.GetField(QUOTEFIELD_LAST, nullptr), 0);

    // The other side of each condition.
    record.dLast = 9.5;
    record.lTick = 0;
    record.byFlags = QUOTEFLAG_M;
    record.dStrike = 0;
    record.lContractSize = 1;
    record.lExpirationMonth = 0;
    record.dBid = 0;
    record.dHigh = record.dLow = 9.0;
    quote.Update(&record);
    EXPECT_EQ(Field(quote, QUOTEFIELD_PCTCHANGE) + "|" + Field(quote, QUOTEFIELD_CHANGE) + "|"
                  + Field(quote, QUOTEFIELD_SM) + "|" + Field(quote, QUOTEFIELD_PCTRANGE),
              "-5.00%|-0.50|M|0.00%");
    // Fields with nothing to show succeed and leave the target alone.
    BSTR text = Ole("before");
    const auto expectUntouched = [&](std::initializer_list<long> ids) {
        for (long id : ids)
            EXPECT_TRUE(quote.GetField(id, &text) == 1 && Text(text) == "before") << id;
    };
    expectUntouched({ QUOTEFIELD_STRIKE, QUOTEFIELD_CONTRACTSIZE, QUOTEFIELD_EXPIRATION, QUOTEFIELD_SPREAD });
    record.byFlags = 0;
    record.dPrevClose = 0;
    quote.Update(&record);
    expectUntouched({ QUOTEFIELD_SM, QUOTEFIELD_PCTCHANGE, QUOTEFIELD_CHANGE });
    // An existing target is reused and rewritten.
    EXPECT_EQ(quote.GetField(QUOTEFIELD_LAST, &text), 1);
    EXPECT_EQ(Text(text), "9.50");
    SysFreeString(text);

    // The quote time in display form.
    record.dTimeLastQuote = 45000.75;
    quote.Update(&record);
    EXPECT_EQ(Field(quote, QUOTEFIELD_TIMELASTQUOTE), COrvDateTime(45000.75).FormatDisplayTime(0).GetString());
}

// The quote's date as the user's locale writes it (see the locale runs'
// ORV_EXPECTED_DATE: "<3 November 2012 as written>|...").
TEST(CachedQuoteLocale, DateFieldFollowsTheUserLocale)
{
    const char* const setting = std::getenv("ORV_EXPECTED_DATE");
    const std::string expected = setting != nullptr ? setting : "11/3/2012|11";
    const std::string written = expected.substr(0, expected.find('|'));
    const COrvDateTime noon = COrvDateTime(COleDateTime(2012, 11, 3, 12, 0, 0).m_dt);
    EXPECT_EQ(std::string(noon.FormatETDate()), written);
    Quote record("MSFT");
    record.dTimeLastQuote = noon.m_dt;
    CCachedQuote quote(&record);
    EXPECT_EQ(Field(quote, QUOTEFIELD_DATE), written);
}

TEST_F(CachedQuote, ForexSizesInLotsAndDisplayFormats)
{
    CCachedQuote quote;
    Quote record("EUR/USD");
    record.SetPrices(1.3051, 1.305, 1.3052, 2500000, 0);
    record.lBidSize = 250000;
    record.lAskSize = 5000;
    g_bForexUseLots = 1;
    g_lForexLotSize = 10000;
    quote.Update(&record);
    EXPECT_EQ(Field(quote, QUOTEFIELD_BIDSIZE) + "|" + Field(quote, QUOTEFIELD_ASKSIZE) + "|"
                  + Field(quote, QUOTEFIELD_VOLUME),
              "25|0|250");
    g_bForexUseLots = 0;
    EXPECT_EQ(Field(quote, QUOTEFIELD_BIDSIZE), "250,000");
    // A lot size of zero leaves sizes as they are rather than dividing by it.
    g_bForexUseLots = 1;
    g_lForexLotSize = 0;
    EXPECT_EQ(Field(quote, QUOTEFIELD_BIDSIZE), "250,000");

    // Without symbol data a pair takes the pip places of its prices, and
    // the symbol data replaces them once it knows the pair.
    EXPECT_EQ(quote.GetDecimals(), 4);
    EXPECT_EQ(Field(quote, QUOTEFIELD_LAST), "1.3051");
    EXPECT_EQ(Field(quote, QUOTEFIELD_SPREAD), "0.0002");
    LoadSymbolData(R"(<SymbolData>
  <Forex><P Symbol="EUR/USD" pipDecimal="0.00001"/></Forex>
  <Futures><R Symbol="/ZB" displayFormat="33"/></Futures>
</SymbolData>)");
    CSymbolData& data = CSymbolData::GetStaticInstance();
    quote.Update(&record);
    EXPECT_EQ(quote.GetDecimals(), 5);
    EXPECT_EQ(Field(quote, QUOTEFIELD_LAST), HostPrice(1.3051, 5));
    EXPECT_EQ(data.GetForexPipPlaces(&record), 5);

    CCachedQuote bond;
    Quote future("/ZBM4");
    future.SetPrices(108.515625, 108.5, 108.53125, 10, 0);
    bond.Update(&future);
    EXPECT_EQ(bond.GetDecimals(), 33);
    EXPECT_EQ(Field(bond, QUOTEFIELD_LAST), HostPrice(108.515625, 33));

    // Pip places from the prices when the file has none; none without a symbol.
    Quote unknown("AUD/NZD");
    unknown.SetPrices(1.1, 1.123, 1.12, 0, 0);
    EXPECT_EQ(data.GetForexPipPlaces(&unknown), 3);
    unknown.SetPrices(100, 200, 300, 0, 0);
    EXPECT_EQ(data.GetForexPipPlaces(&unknown), 0);
    Quote nameless;
    EXPECT_EQ(data.GetForexPipPlaces(&nameless), 0);
    // A quote without a symbol shows two places.
    CCachedQuote anonymous;
    nameless.SetPrices(1.12345, 1.1234, 1.1235, 0, 0);
    anonymous.Update(&nameless);
    EXPECT_EQ(anonymous.GetDecimals(), 2);
    EXPECT_EQ(data.GetForexPipPlaces(static_cast<const QUOTERECORD*>(nullptr)), 0);
}
