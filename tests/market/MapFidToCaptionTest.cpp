#include "market/MapFidToCaption.h"

#include "market/CachedQuote.h"

#include <gtest/gtest.h>

TEST(MapFidToCaption, HoldsEveryCaptionInItsRangesAndTheQuoteFieldsCaptions)
{
    const CMapFidToCaption& map = CMapFidToCaption::GetStaticMap();
    EXPECT_EQ(map.GetCount(), 216);
    EXPECT_EQ(map.GetHashTableSize(), 180u);

    // How many identifiers each range holds; together they are all 216.
    struct Range { int first, last, count; };
    const Range ranges[] = {{114, 120, 5},     {1000, 1131, 28},   {2002, 2041, 26},   {5010, 5031, 8},
                            {9906, 9999, 67},  {10000, 10004, 5},  {10008, 10014, 6},  {10020, 10021, 2},
                            {10030, 10080, 43}, {20030, 20035, 6}, {30000, 30015, 8},  {50000, 50012, 12}};
    for (const Range& range : ranges) {
        int count = 0;
        CString caption;
        for (int id = range.first; id <= range.last; ++id)
            count += map.Lookup(id, caption) ? 1 : 0;
        EXPECT_EQ(count, range.count) << range.first << "-" << range.last;
    }

    // Captions repeat across identifiers.
    for (int id : { 117, 1021, 2020 })
        EXPECT_EQ(map[id], "Time") << id;

    // Two identifiers are present with an empty caption; unknown ones read
    // empty too and are not added by the reading, so that readers on any
    // thread leave the library-wide map alone.
    CString caption = "x";
    EXPECT_TRUE(map.Lookup(9938, caption));
    EXPECT_EQ(caption, "");
    EXPECT_EQ(map[9938], "");
    EXPECT_EQ(map[12345], "");
    EXPECT_EQ(map[0], "");
    EXPECT_EQ(map[-1], "");
    EXPECT_EQ(map.GetCount(), 216);
    // Captions from each range; the quote fields that a cached quote renders
    // carry the captions their names say.
    const std::pair<long, const char*> fields[] = {
        {114, "Message"},                   {1015, "Avg. Exec. Prc."},
        {1131, "Trigger By ID"},            {5016, "Today Close P&L"},
        {9928, "Quantity @ %"},             {9947, "P&L/pips (Open)"},
        {9951, "%"},                        {10003, "Sell Short Exempt"},
        {10074, "Stop Lmt+Stop Lmt"},       {20032, "Cancel Orders (Symbol/Account)"},
        {30015, "Quote Server"},            {50012, "Total Basis"},
        {QUOTEFIELD_LAST, "Last"},          {QUOTEFIELD_BID, "Bid"},
        {QUOTEFIELD_ASK, "Ask"},            {QUOTEFIELD_BIDSIZE, "Bid Size"},
        {QUOTEFIELD_ASKSIZE, "Ask Size"},   {QUOTEFIELD_LASTSIZE, "Last Size"},
        {QUOTEFIELD_PREVCLOSE, "Prev Close"}, {QUOTEFIELD_HIGH, "High"},
        {QUOTEFIELD_LOW, "Low"},            {QUOTEFIELD_OPEN, "Open"},
        {QUOTEFIELD_VOLUME, "Volume"},      {QUOTEFIELD_TICK, "Tick"},
        {QUOTEFIELD_TIMELASTQUOTE, "Time Last Quote"}, {QUOTEFIELD_DATE, "Date"},
        {QUOTEFIELD_DESCRIPTION, "Description"}, {QUOTEFIELD_SM, "S/M"},
        {QUOTEFIELD_UNDERLIER, "Underlier"}, {QUOTEFIELD_STRIKE, "Strike"},
        {QUOTEFIELD_CONTRACTSIZE, "Contract Size"}, {QUOTEFIELD_SPREAD, "Spread"},
        {QUOTEFIELD_PCTRANGE, "%Rng."},     {QUOTEFIELD_RANGE, "Range"},
        {QUOTEFIELD_EXPIRATION, "Expiration"}, {QUOTEFIELD_PCTCHANGE, "%Chg."},
        {QUOTEFIELD_CHANGE, "Change"},
    };
    for (const auto& [id, caption] : fields)
        EXPECT_EQ(map[static_cast<int>(id)], caption) << id;
}
